// A plug-in with the two device hooks loadLibrary looks for; it counts how often each was called.
namespace {
int lost = 0;
int reset = 0;
}  // namespace

extern "C" __attribute__((visibility("default"))) void DeviceLost() { ++lost; }
extern "C" __attribute__((visibility("default"))) void DeviceReset() { ++reset; }

// Writes the two counts (either pointer may be null).
extern "C" __attribute__((visibility("default"))) void device_plugin_counts(int* lostCount, int* resetCount) {
  if (lostCount) *lostCount = lost;
  if (resetCount) *resetCount = reset;
}
