// Console output of the run: progress and problem messages on standard output,
// and the record of whether any problem was reported (it decides the exit
// status).
#pragma once

namespace console {

/// Lets the run go on when standard output is closed while it runs (a pipe
/// into a pager that was quit): what cannot be printed then is lost output,
/// which Flush reports, instead of a signal that ends the process.
void OutliveClosedOutput();

/// Prints a printf-style message.
void Print(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// Prints a printf-style message about a problem and marks the run as failed.
void Problem(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// True once any problem message has been printed.
bool ProblemReported();

/// Writes out what is still buffered; false when any console output was
/// lost (standard output closed, or on a full disk).
bool Flush();

}  // namespace console
