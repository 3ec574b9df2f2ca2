// The sound functions plug-ins call: the volume settings by pointer, and sd, sd_stop, sd_status.
#include <vellum/exports.h>

#include "persist/engine_settings.h"
#include "sound/sound_system.h"

namespace {

// Kind 0 is the stream buffer size and the global-focus flag; 1..7 the categories in settings order.
bool settingsPair(int kind, int** volume, int** flag) {
  vellum::EngineSettings& s = vellum::settings();
  if (kind == 0) {
    *volume = &s.streamBufferSize;
    *flag = &s.globalFocus;
    return true;
  }
  if (kind < 1 || kind > vellum::kVolumeCategories) return false;
  vellum::VolumeSetting& pair = s.volumes[static_cast<size_t>(kind - 1)];
  *volume = &pair.volume;
  *flag = &pair.mute;
  return true;
}

}  // namespace

extern "C" void getDirectSound(void** out) {
  if (out) *out = nullptr;
}

extern "C" void getVolumeMute(int kind, int** volume, int** flag) {
  if (volume && flag) settingsPair(kind, volume, flag);
}

extern "C" void getSoundFlag(int** volume, int** flag) { getVolumeMute(0, volume, flag); }
extern "C" void getSoundMaster(int** volume, int** flag) { getVolumeMute(1, volume, flag); }
extern "C" void getSoundMovie(int** volume, int** flag) { getVolumeMute(2, volume, flag); }
extern "C" void getSoundBgm(int** volume, int** flag) { getVolumeMute(3, volume, flag); }
extern "C" void getSoundSe(int** volume, int** flag) { getVolumeMute(4, volume, flag); }
extern "C" void getSoundSysSe(int** volume, int** flag) { getVolumeMute(5, volume, flag); }
extern "C" void getSoundVo(int** volume, int** flag) { getVolumeMute(6, volume, flag); }
extern "C" void getSoundSysVo(int** volume, int** flag) { getVolumeMute(7, volume, flag); }

extern "C" int sd(int channel, const char* file, int fadeIn, int delay, int volume, int pan, int loops, int start) {
  return vellum::startSound(channel, file ? file : "", fadeIn, delay, volume, pan, loops, start);
}

extern "C" int sd_stop(int channel, int fadeOut, int delay) {
  vellum::stopSound(channel, fadeOut, delay);
  return 0;
}

extern "C" int sd_status(int channel) { return vellum::soundStatus(channel); }
