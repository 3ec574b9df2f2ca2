#include "persist/settings_commands.h"
#include "persist/play_time.h"

#include <cstdint>
#include <string>
#include <utility>
#include <variant>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "base/engine_state.h"
#include "persist/engine_settings.h"
#include "persist/load_setting.h"
#include "persist/read_flags_file.h"
#include "persist/settings_file.h"
#include "persist/settings_table.h"
#include "persist/subsystem_hooks.h"

namespace vellum {

namespace {

// How a setter stores its one argument.
enum class Store { Unchanged, Flag, LowByte, Volume, Mute };

struct ValueCommand {
  const char* setName;
  const char* getName;
  const char* key;
  Store store;
};

// In catalogue order.
constexpr ValueCommand kValueCommands[] = {
    {"setEffectSkip", "getEffectSkip", "EffectSkip", Store::Unchanged},
    {"setEffectCancel", "getEffectCancel", "EffectCancel", Store::Flag},
    {"setPointWait", "getPointWait", "PointWait", Store::LowByte},
    {"setWindowAlpha", "getWindowAlpha", "WindowAlpha", Store::Unchanged},
    {"setMessageClick", "getMessageClick", "MessageClick", Store::Flag},
    {"setMessageFade", "getMessageFade", "MessageFade", Store::Flag},
    {"setAlreadyReadSkip", "getAlreadyReadSkip", "AlreadyReadSkip", Store::Flag},
    {"setAlreadyReadAutoSkip", "getAlreadyReadAutoSkip", "AlreadyReadAutoSkip", Store::Flag},
    {"setAlreadyReadMoment", "getAlreadyReadMoment", "AlreadyReadMoment", Store::Flag},
    {"setSelectAutoMode", "getSelectAutoMode", "SelectAutoMode", Store::Flag},
    {"setSelectSkipMode", "getSelectSkipMode", "SelectSkipMode", Store::Flag},
    {"setMasterVolume", "getMasterVolume", "MasterVolume", Store::Volume},
    {"setMasterMute", "getMasterMute", "MasterMute", Store::Mute},
    {"setBgmVolume", "getBgmVolume", "BgmVolume", Store::Volume},
    {"setBgmMute", "getBgmMute", "BgmMute", Store::Mute},
    {"setSeVolume", "getSeVolume", "SeVolume", Store::Volume},
    {"setSeMute", "getSeMute", "SeMute", Store::Mute},
    {"setSysSeVolume", "getSysSeVolume", "SysSeVolume", Store::Volume},
    {"setSysSeMute", "getSysSeMute", "SysSeMute", Store::Mute},
    {"setVoVolume", "getVoVolume", "VoVolume", Store::Volume},
    {"setVoMute", "getVoMute", "VoMute", Store::Mute},
    {"setSysVoVolume", "getSysVoVolume", "SysVoVolume", Store::Volume},
    {"setSysVoMute", "getSysVoMute", "SysVoMute", Store::Mute},
    {"setVoiceCancel", "getVoiceCancel", "VoiceCancel", Store::Flag},
    {"setVoiceWait", "getVoiceWait", "VoiceWait", Store::Flag},
    {"setBgmVolDown", "getBgmVolDown", "BgmVolDown", Store::Flag},
    {"setSeVolDown", "getSeVolDown", "SeVolDown", Store::Flag},
};

// Settings with a stored value and a live copy: "set current, stored" sets the live value (the
// stored one when current < 0) and, when stored >= 0, the stored value.
struct PairCommand {
  const char* setName;
  const char* getName;  // nullptr: no getter
  const char* key;
};

constexpr PairCommand kPairCommands[] = {
    {"setMessSpeed", "getMessSpeed", "TextSpeed"},
    {"setAutoWait", "getAutoWait", "AutoWait"},
    {"setFontStyle", "getFontStyle", "FontStyle"},
    {"setFontColor", nullptr, "FontColor1"},
    {"setFontColor2", nullptr, "FontColor2"},
    {"setFontColor3", nullptr, "FontColor3"},
};

const SettingKey& keyNamed(const char* name) { return *findSetting(name); }

int returnNothing(void* call) {
  args().returnNothing(call);
  return 1;
}

// The result goes to the position after the arguments.
int returnInt(void* call, int64_t value) {
  args().returnInt(call, args().count[1](call), static_cast<int32_t>(value));
  return 1;
}

int returnText(void* call, const std::string& text) {
  args().returnBytes(call, args().count[1](call), text.data(), text.size());
  return 1;
}

template <size_t I>
int valueSetBody(void* call) {
  const ValueCommand& command = kValueCommands[I];
  setCurrentCommandName(command.setName);
  int32_t value = args().getInt(call, 1);
  if (command.store == Store::Flag || command.store == Store::Mute) value = value != 0;
  if (command.store == Store::LowByte) value &= 255;
  setSlotValue(keyNamed(command.key).stored, value);
  if (command.store == Store::Volume || command.store == Store::Mute) applyChannelVolumes();
  return returnNothing(call);
}

template <size_t I>
int valueGetBody(void* call) {
  const ValueCommand& command = kValueCommands[I];
  setCurrentCommandName(command.getName);
  return returnInt(call, slotValue(keyNamed(command.key).stored));
}

template <size_t I>
int pairSetBody(void* call) {
  const PairCommand& command = kPairCommands[I];
  setCurrentCommandName(command.setName);
  const SettingKey& key = keyNamed(command.key);
  const int32_t current = args().getInt(call, 1);
  setSlotValue(key.live, current < 0 ? slotValue(key.stored) : current);
  // A call with one argument leaves the stored value alone.
  if (args().count[0](call) >= 2) {
    const int32_t stored = args().getInt(call, 2);
    if (stored >= 0) setSlotValue(key.stored, stored);
  }
  return returnNothing(call);
}

template <size_t I>
int pairGetBody(void* call) {
  const PairCommand& command = kPairCommands[I];
  setCurrentCommandName(command.getName);
  return returnInt(call, slotValue(keyNamed(command.key).stored));
}

int getGameNameBody(void* call) {
  setCurrentCommandName("getGameName");
  return returnText(call, VELLUM_GAME_TITLE);
}

int saveSettingBody(void* call) {
  setCurrentCommandName("saveSetting");
  writeSettings();
  return returnNothing(call);
}

int loadSettingBody(void* call) {
  setCurrentCommandName("loadSetting");
  loadSetting(stringArgument(call, 1), stringArgument(call, 2));
  return returnNothing(call);
}

int setConfirmDialogBody(void* call) {
  setCurrentCommandName("setConfirmDialog");
  const int32_t flag = args().getInt(call, 1);
  const int32_t index = args().getInt(call, 2);
  settings().confirm[static_cast<size_t>(index & 15)] = flag != 0;
  return returnNothing(call);
}

int getConfirmDialogBody(void* call) {
  setCurrentCommandName("getConfirmDialog");
  return returnInt(call, settings().confirm[static_cast<size_t>(args().getInt(call, 1) & 15)]);
}

int setBgmMinMaxBody(void* call) {
  setCurrentCommandName("setBgmMinMax");
  settings().bgmMin = args().getInt(call, 1);
  settings().bgmMax = args().getInt(call, 2);
  return returnNothing(call);
}

int saveAlreadyBody(void* call) {
  setCurrentCommandName("saveAlready");
  saveAlready();
  return returnNothing(call);
}

int setFontFileBody(void* call) {
  setCurrentCommandName("setFontFile");
  EngineSettings& s = settings();
  const std::string current = stringArgument(call, 1);
  const std::string stored = stringArgument(call, 2);
  s.currentFontName = current.empty() ? s.fontFile : current;
  if (!stored.empty()) s.fontFile = stored;
  return returnNothing(call);
}

int getFontFileBody(void* call) {
  setCurrentCommandName("getFontFile");
  return returnText(call, settings().fontFile);
}

int setCursorBody(void* call) {
  setCurrentCommandName("setCursor");
  settings().cursorFile = stringArgument(call, 1);
  loadSettingsCursor();
  return returnNothing(call);
}

int getCursorBody(void* call) {
  setCurrentCommandName("getCursor");
  return returnText(call, settings().cursorFile);
}

int setWallPaperBody(void* call) {
  setCurrentCommandName("setWallPaper");
  settings().wallPaper = stringArgument(call, 1);
  return returnNothing(call);
}

int getWallPaperBody(void* call) {
  setCurrentCommandName("getWallPaper");
  return returnText(call, settings().wallPaper);
}

template <size_t... I>
void registerValueCommands(std::index_sequence<I...>) {
  ((provideCommand(kValueCommands[I].setName, &valueSetBody<I>),
    provideCommand(kValueCommands[I].getName, &valueGetBody<I>)),
   ...);
}

template <size_t I>
void registerPair() {
  provideCommand(kPairCommands[I].setName, &pairSetBody<I>);
  if constexpr (kPairCommands[I].getName != nullptr) provideCommand(kPairCommands[I].getName, &pairGetBody<I>);
}

template <size_t... I>
void registerPairCommands(std::index_sequence<I...>) {
  (registerPair<I>(), ...);
}

}  // namespace

void provideSettingsCommands() {
  providePlayTimeCommand();
  provideCommand("getGameName", &getGameNameBody);
  provideCommand("saveSetting", &saveSettingBody);
  provideCommand("loadSetting", &loadSettingBody);
  provideCommand("setConfirmDialog", &setConfirmDialogBody);
  provideCommand("getConfirmDialog", &getConfirmDialogBody);
  registerValueCommands(std::make_index_sequence<std::size(kValueCommands)>());
  provideCommand("setBgmMinMax", &setBgmMinMaxBody);
  provideCommand("saveAlready", &saveAlreadyBody);
  // The pairs of the message window and the fonts, and the two paths, keep their values here; the
  // message window, the font objects and the cursor read them when they exist.
  registerPairCommands(std::make_index_sequence<std::size(kPairCommands)>());
  provideCommand("setFontFile", &setFontFileBody);
  provideCommand("getFontFile", &getFontFileBody);
  provideCommand("setCursor", &setCursorBody);
  provideCommand("getCursor", &getCursorBody);
  provideCommand("setWallPaper", &setWallPaperBody);
  provideCommand("getWallPaper", &getWallPaperBody);
}

}  // namespace vellum
