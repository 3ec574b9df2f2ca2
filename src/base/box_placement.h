// Where an engine message box goes: centred over the main window when the window is larger than
// 320x240, else where the system put it.
#pragma once

namespace vellum {

struct BoxRect {
  int left = 0, top = 0, width = 0, height = 0;
};

inline BoxRect placeBox(const BoxRect& mainWindow, const BoxRect& box) {
  if (mainWindow.width <= 320 || mainWindow.height <= 240) return box;
  BoxRect placed = box;
  placed.left = mainWindow.left + (mainWindow.width - box.width) / 2;
  placed.top = mainWindow.top + (mainWindow.height - box.height) / 2;
  return placed;
}

}  // namespace vellum
