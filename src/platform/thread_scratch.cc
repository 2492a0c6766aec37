#include "platform/thread_scratch.h"

namespace platform {

namespace {

thread_local ScratchNode* newest = nullptr;

}  // namespace

void KeepForThisThread(ScratchNode* node) {
  node->next = newest;
  newest = node;
}

void FreeThisThreadsScratch() {
  while (newest) {
    ScratchNode* const node = newest;
    newest = node->next;
    node->destroy(node);
  }
}

}  // namespace platform
