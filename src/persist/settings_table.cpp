#include "persist/settings_table.h"

#include <vector>

#include "base/engine_state.h"
#include "persist/engine_settings.h"
#include "base/clock.h"
#include "script/read_mode.h"

namespace vellum {

namespace {

using F = SettingFormat;

// "ＭＳ ゴシック" (Shift-JIS), the default message font.
constexpr std::string_view kDefaultFont = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";

EngineSettings& storage() {
  static EngineSettings values;
  return values;
}

std::vector<SettingKey> buildTable() {
  EngineSettings& s = storage();
  ReadModeState& modes = readMode();  // the skip and select flags live with the read modes
  const auto vol = [&](VolumeCategory c) { return &s.volume(c).volume; };
  const auto mute = [&](VolumeCategory c) { return &s.volume(c).mute; };
  using V = VolumeCategory;
  return {
      {"TotalTime", F::PlayTime, 0, &s.totalTime},
      {"StartingSetUp", F::Decimal, 1, &s.startingSetUp},
      {"ResolutionWindow", F::Decimal, 1, &s.resolutionWindow},
      {"Resolution", F::Decimal, 0, &s.resolution},
      {"FullScreen", F::Decimal, 0, &s.fullScreen},
      {"ScreenAspect", F::Decimal, 0, &s.screenAspect},
      {"FullMode", F::Decimal, 3, &s.fullMode},
      {"WindowWidth", F::Decimal, 0, &s.windowWidth},
      {"WindowHeight", F::Decimal, 0, &s.windowHeight},
      {"WindowChange", F::Decimal, 0, &s.windowChange},
      {"WindowMenu", F::Decimal, 1, &s.windowMenu},
      {"MenuLock1", F::Decimal, 1, &s.menuLock1},
      {"WindowPos", F::Decimal, 0, &s.windowPos},
      {"WindowMost", F::Decimal, 0, &s.windowMost},
      {"ClientLeft", F::Decimal, 0, &s.clientLeft},
      {"ClientTop", F::Decimal, 0, &s.clientTop},
      {"CacheAutoSize", F::Decimal, 1, &s.cacheAutoSize},
      {"CacheMaxSize", F::Megabytes, 0, &s.cacheMaxSize},
      {"LookaHead", F::Decimal, 1, &s.lookAhead},
      {"HardwareVertex", F::Decimal, 1, &s.hardwareVertex},
      {"VertexShader", F::Decimal, 1, &s.vertexShader},
      {"PixelShader", F::Decimal, 1, &s.pixelShader},
      {"Interpolation", F::Decimal, 0, &s.interpolation},
      {"TextureMax", F::Decimal, -1, &s.textureMax},
      {"TexturePow2", F::Decimal, 0, &s.texturePow2},
      {"TextureSquare", F::Decimal, 0, &s.textureSquare},
      {"MipMap", F::Decimal, 1, &s.mipMap},
      {"ColorMode", F::Decimal, 0, &s.colorMode},
      {"ColorBlend", F::Decimal, 1, &s.colorBlend},
      {"VSyncWait", F::Decimal, 2, &s.vSyncWait},
      {"LimitFPS", F::Decimal, 0, &s.limitFps},
      {"MMX", F::Decimal, 1, &s.mmx},
      {"SSE", F::Decimal, 1, &s.sse},
      {"SSE2", F::Decimal, 1, &s.sse2},
      {"Thread", F::Decimal, 1, &s.thread},
      {"PowerSaver", F::Decimal, 1, &s.powerSaver},
      {"TaskTray", F::Decimal, 0, &s.taskTray},
      {"SystemActive", F::OrBits, 0, &s.systemActive},
      {"CursorClear", F::Decimal, 5000, &s.cursorClear},
      {"CursorMove", F::Decimal, 1, &s.cursorMove},
      {"EffectSkip", F::Decimal, 0, &s.effectSkip},
      {"EffectCancel", F::Decimal, 1, &s.effectCancel},
      {"ConfirmSave", F::Decimal, 1, &s.confirm[0]},
      {"ConfirmLoad", F::Decimal, 1, &s.confirm[1]},
      {"ConfirmQSave", F::Decimal, 1, &s.confirm[2]},
      {"ConfirmQLoad", F::Decimal, 1, &s.confirm[3]},
      {"ConfirmMove", F::Decimal, 0, &s.confirm[4]},
      {"ConfirmDelete", F::Decimal, 1, &s.confirm[5]},
      {"ConfirmBack", F::Decimal, 1, &s.confirm[6]},
      {"ConfirmNext", F::Decimal, 1, &s.confirm[7]},
      {"ConfirmFormat", F::Decimal, 1, &s.confirm[8]},
      {"ConfirmReplay", F::Decimal, 1, &s.confirm[9]},
      {"ConfirmTitle", F::Decimal, 1, &s.confirm[10]},
      {"ConfirmExit", F::Decimal, 1, &s.confirm[11]},
      {"TextSpeed", F::Decimal, 20, &s.textSpeed, &s.liveTextSpeed},
      {"MessageClick", F::Decimal, 1, &s.messageClick},
      {"AutoWait", F::Decimal, 500, &s.autoWait, &s.liveAutoWait},
      {"AutoChar", F::Decimal, 50, &s.autoChar},
      {"PointWait", F::Decimal, 4, &s.pointWait},
      {"MessageFade", F::Decimal, 1, &s.messageFade},
      {"AlreadyReadSkip", F::Decimal, 0, &modes.alreadyReadSkip},
      {"AlreadyReadAutoSkip", F::Decimal, 0, &modes.alreadyReadAutoSkip},
      {"AlreadyReadMoment", F::Decimal, 0, &s.alreadyReadMoment},
      {"SelectSkipMode", F::Decimal, 0, &modes.selectSkipMode},
      {"SelectAutoMode", F::Decimal, 0, &modes.selectAutoMode},
      {"FontFile", F::Text, 0, &s.fontFile, {}, kDefaultFont},
      {"FontStyle", F::Decimal, 30, &s.fontStyle, &s.liveFontStyle},
      {"FontColor1", F::Colour, 0xFFFFFF, &s.fontColor1, &s.liveFontColor1},
      {"FontColor2", F::Colour, 0xFFFFFF, &s.fontColor2, &s.liveFontColor2},
      {"FontColor3", F::Colour, 0x0, &s.fontColor3, &s.liveFontColor3},
      {"WindowAlpha", F::Decimal, 80, &s.windowAlpha},
      {"HardwareSound", F::Decimal, 0, &s.hardwareSound},
      {"StreamBufferSize", F::Decimal, 64, &s.streamBufferSize},
      {"GlobalFocus", F::Decimal, 1, &s.globalFocus},
      {"MasterVolume", F::Decimal, 80, vol(V::Master)},
      {"MasterMute", F::Decimal, 1, mute(V::Master)},
      {"MovieVolume", F::Decimal, 80, vol(V::Movie)},
      {"MovieMute", F::Decimal, 1, mute(V::Movie)},
      {"BgmVolume", F::Decimal, 80, vol(V::Bgm)},
      {"BgmMute", F::Decimal, 1, mute(V::Bgm)},
      {"SeVolume", F::Decimal, 80, vol(V::Se)},
      {"SeMute", F::Decimal, 1, mute(V::Se)},
      {"SysSeVolume", F::Decimal, 80, vol(V::SysSe)},
      {"SysSeMute", F::Decimal, 1, mute(V::SysSe)},
      {"VoVolume", F::Decimal, 80, vol(V::Vo)},
      {"VoMute", F::Decimal, 1, mute(V::Vo)},
      {"SysVoVolume", F::Decimal, 80, vol(V::SysVo)},
      {"SysVoMute", F::Decimal, 1, mute(V::SysVo)},
      {"VoiceCancel", F::Decimal, 0, &s.voiceCancel},
      {"VoiceWait", F::Decimal, 1, &s.voiceWait},
      {"BgmVolDown", F::Decimal, 1, &s.bgmVolDown},
      {"BgmMax", F::Decimal, 30, &s.bgmMax},
      {"BgmMin", F::Decimal, 15, &s.bgmMin},
      {"SeVolDown", F::Decimal, 1, &s.seVolDown},
      {"SeMax", F::Decimal, 100, &s.seMax},
      {"SeMin", F::Decimal, 50, &s.seMin},
      {"FadeVolDown", F::Decimal, 250, &s.fadeVolDown},
      {"ReadAloud", F::Decimal, 0, &s.readAloud},
      {"ReadAloudOverVoice", F::Decimal, 0, &s.readAloudOverVoice},
      {"PadEnable", F::Decimal, 1, &s.padEnable},
      {"PadLayout", F::Decimal, 0, &s.padLayout},
      {"PadButtons", F::Text, 0, &s.padButtons},
      {"PadDeadZone", F::Decimal, 40, &s.padDeadZone},
      {"PadRepeatDelay", F::Decimal, 400, &s.padRepeatDelay},
      {"PadRepeatInterval", F::Decimal, 150, &s.padRepeatInterval},
      {"CursorFile", F::Path, 0, &s.cursorFile},
      {"WallPaper", F::Path, 0, &s.wallPaper},
  };
}

const std::vector<SettingKey>& table() {
  static const std::vector<SettingKey> keys = buildTable();
  return keys;
}

// Defaults are applied on first use of the settings or the table (through either), when every
// other subsystem's state exists.
bool defaultsApplied = false;

void ensureDefaults() {
  if (!defaultsApplied) resetSettings();
}

}  // namespace

std::span<const SettingKey> settingsTable() {
  ensureDefaults();
  return table();
}

const SettingKey* findSetting(std::string_view name) {
  for (const SettingKey& key : settingsTable())
    if (key.name == name) return &key;
  return nullptr;
}

int64_t slotValue(const SettingSlot& slot) {
  if (auto p = std::get_if<int32_t*>(&slot)) return **p;
  if (auto p = std::get_if<uint32_t*>(&slot)) return **p;
  if (auto p = std::get_if<int64_t*>(&slot)) return **p;
  return 0;
}

void setSlotValue(const SettingSlot& slot, int64_t value) {
  if (auto p = std::get_if<int32_t*>(&slot)) **p = static_cast<int32_t>(value);
  if (auto p = std::get_if<uint32_t*>(&slot)) **p = static_cast<uint32_t>(value);
  if (auto p = std::get_if<int64_t*>(&slot)) **p = value;
}

EngineSettings& settings() {
  ensureDefaults();
  return storage();
}

void resetSettings() {
  defaultsApplied = true;
  EngineSettings& s = storage();
  s = EngineSettings{};
  for (const SettingKey& key : table()) {
    if (auto text = std::get_if<std::string*>(&key.stored)) {
      **text = std::string(key.defaultText);
    } else {
      setSlotValue(key.stored, key.format == F::Megabytes ? key.defaultValue << 20 : key.defaultValue);
      setSlotValue(key.live, key.defaultValue);
    }
  }
  // Confirmation entries past the stored ones are on.
  for (int i = kStoredConfirmEntries; i < kConfirmEntries; ++i) s.confirm[static_cast<size_t>(i)] = 1;
  s.currentFontName = s.fontFile;
}

uint32_t currentTotalTime() {
  return settings().totalTime + (tickMilliseconds() - engine().startTime) / 1000;
}

}  // namespace vellum
