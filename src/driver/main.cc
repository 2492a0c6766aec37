// KorvanRef: builds an HTML class reference from a tree of class scripts.
#include "driver/command_line.h"
#include "model/class_list.h"
#include "platform/console.h"
#include "platform/memory_block.h"
#include "platform/thread_scratch.h"

int main(int argc, char** argv) {
  platform::KeepSomeHeapMemory();
  // The one record list of the run exists before the command line is read
  // and lives until the process ends.
  CClassList list;
  console::OutliveClosedOutput();
  int status = RunCommandLine(ReadCommandLine(argc, argv), list);
  // A run whose messages could not be printed did not report its problems.
  if (!console::Flush() && status == 0) status = 1;
  platform::FreeThisThreadsScratch();
  return status;
}
