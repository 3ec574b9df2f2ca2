// Work that runs on its own thread beside the screen set-up, whose device and first frame take
// tens of milliseconds on software GL: a later layer fills in the calls at start-up; the set-up
// starts the work once the screen's geometry is known and waits for it before it returns.
#pragma once

namespace vellum {

struct ScreenSideWork {
  void (*start)() = nullptr;
  void (*finish)() = nullptr;
};

void setScreenSideWork(const ScreenSideWork& work);
// Each does nothing while nothing is filled in.
void startScreenSideWork();
void finishScreenSideWork();

}  // namespace vellum
