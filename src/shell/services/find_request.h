// The find dialog of findText: one per process, drawn over the game's window while it is open.
// The player's search reaches the script as the find event of the event source.
#pragma once

#include <cstdint>
#include <string>

namespace vellum {

// Flags the dialog reports with its event.
constexpr int32_t kFindDown = 0x1, kFindNext = 0x8, kFindClosing = 0x40, kFindHideWholeWord = 0x10000;
constexpr size_t kFindTextCapacity = 80;  // bytes, the terminating NUL included

struct FindRequest {
  bool open = false;
  // Bumped when findText runs while the dialog is already open: it comes to the front and takes
  // the keyboard again instead of a second dialog being made.
  uint32_t raiseCount = 0;
  int32_t flags = kFindDown | kFindHideWholeWord;
  std::string text;  // GBK bytes, at most kFindTextCapacity - 1
  // The flags of the last notification, for the event; the search string goes with it.
  int32_t reportedFlags = 0;
};

FindRequest& findRequest();
void resetFindRequest();

// findText: opens the dialog, or raises the open one.
void openFindDialog();

// The dialog's buttons: a search (flags kFindNext with the direction) or closing (kFindClosing).
// Raises the window's find signal for the event source.
void notifyFind(int32_t flags);

}  // namespace vellum
