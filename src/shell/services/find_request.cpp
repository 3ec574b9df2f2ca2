#include "shell/services/find_request.h"

#include "shell/display/shell_window_state.h"

namespace vellum {

namespace {
FindRequest request;
}

FindRequest& findRequest() { return request; }
void resetFindRequest() { request = FindRequest{}; }

void openFindDialog() {
  if (request.open) {
    ++request.raiseCount;
    return;
  }
  request.open = true;
  request.flags = kFindDown | kFindHideWholeWord;
}

void notifyFind(int32_t flags) {
  request.reportedFlags = flags;
  if (request.text.size() >= kFindTextCapacity) request.text.resize(kFindTextCapacity - 1);
  // The dialog is gone as soon as it says it is closing; the event still carries the flags.
  if (flags & kFindClosing) request.open = false;
  ++shellWindow().findDialogSignal;
}

}  // namespace vellum
