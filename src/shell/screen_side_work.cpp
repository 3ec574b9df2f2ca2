#include "shell/screen_side_work.h"

namespace vellum {

namespace {
ScreenSideWork registered;
}  // namespace

void setScreenSideWork(const ScreenSideWork& work) { registered = work; }

void startScreenSideWork() {
  if (registered.start) registered.start();
}

void finishScreenSideWork() {
  if (registered.finish) registered.finish();
}

}  // namespace vellum
