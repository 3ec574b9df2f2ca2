// The pointer exports forward to the shell; null outputs are skipped.
#include "platform/message_queue.h"
#include "shell/display/coordinate_mapping.h"
#include "shell/input/cursor_glide.h"
#include "shell/input/input_replay.h"
#include "vellum/exports.h"

void getCursorPos(int* x, int* y) {
  int32_t gx = 0, gy = 0;
  vellum::pointerInGame(gx, gy);
  if (x) *x = gx;
  if (y) *y = gy;
}

void getDisplayPos(int* x, int* y) {
  int32_t cx = x ? *x : 0, cy = y ? *y : 0;
  vellum::displayPosition(cx, cy);
  if (x) *x = cx;
  if (y) *y = cy;
}

void setCursorPos(int x, int y, int speed, int gameCoords) { vellum::moveCursorTo(x, y, speed, gameCoords != 0); }

int getPushKey(int vk) {
  vellum::feedReplayedInput();
  return vellum::keyHeld(vk & 0xFF) ? -128 : 0;
}
