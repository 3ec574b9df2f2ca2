// The player's configuration: every value setting.dat keeps, with the working copies some of them
// have. Defaults, file names and formats come from the settings table (settings_table.h); the
// fields here are only where the values live.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vellum {

// Sound categories, in the order their volume and mute keys are written.
enum class VolumeCategory : int { Master, Movie, Bgm, Se, SysSe, Vo, SysVo };
constexpr int kVolumeCategories = 7;

struct VolumeSetting {
  int32_t volume = 0;  // 0-100
  int32_t mute = 0;    // a multiplier: 1 audible, 0 silent
};

constexpr int kConfirmEntries = 16;  // the first 12 are kept in the file
constexpr int kStoredConfirmEntries = 12;
constexpr int kProtectFlags = 100;

struct EngineSettings {
  // Seconds played before this run (the current run's time is added when it is written).
  uint32_t totalTime = 0;

  // Window and display.
  int32_t startingSetUp = 0, resolutionWindow = 0, resolution = 0, fullScreen = 0, screenAspect = 0, fullMode = 0;
  int32_t windowWidth = 0, windowHeight = 0, windowChange = 0, windowMenu = 0, menuLock1 = 0, windowPos = 0;
  int32_t windowMost = 0, clientLeft = 0, clientTop = 0;
  // Image cache; the limit is held in bytes (the file counts megabytes).
  int32_t cacheAutoSize = 0;
  int64_t cacheMaxSize = 0;
  int32_t lookAhead = 0;
  // Renderer.
  int32_t hardwareVertex = 0, vertexShader = 0, pixelShader = 0, interpolation = 0, textureMax = 0;
  int32_t texturePow2 = 0, textureSquare = 0, mipMap = 0, colorMode = 0, colorBlend = 0, vSyncWait = 0;
  int32_t limitFps = 0;
  int32_t mmx = 0, sse = 0, sse2 = 0, thread = 0, powerSaver = 0, taskTray = 0;
  int32_t systemActive = 0;  // bit set; bit 1 is run-time state
  int32_t cursorClear = 0, cursorMove = 0, effectSkip = 0, effectCancel = 0;
  std::array<int32_t, kConfirmEntries> confirm{};

  // Text. TextSpeed, AutoWait, FontStyle and the colours have a stored value (what the file keeps)
  // and a live one (what the message window uses now).
  int32_t textSpeed = 0, liveTextSpeed = 0;
  int32_t messageClick = 0;
  int32_t autoWait = 0, liveAutoWait = 0;
  int32_t autoChar = 0, pointWait = 0, messageFade = 0, alreadyReadMoment = 0;
  std::string fontFile;         // stored message font name
  std::string currentFontName;  // the font in use
  int32_t fontStyle = 0, liveFontStyle = 0;
  uint32_t fontColor1 = 0, fontColor2 = 0, fontColor3 = 0;
  uint32_t liveFontColor1 = 0, liveFontColor2 = 0, liveFontColor3 = 0;
  int32_t windowAlpha = 0;

  // Sound.
  int32_t hardwareSound = 0, streamBufferSize = 0, globalFocus = 0;
  std::array<VolumeSetting, kVolumeCategories> volumes{};
  int32_t voiceCancel = 0, voiceWait = 0;
  int32_t bgmVolDown = 0, bgmMax = 0, bgmMin = 0, seVolDown = 0, seMax = 0, seMin = 0, fadeVolDown = 0;

  // Reading aloud: the story and the focused button spoken; over a playing voice line too or not.
  int32_t readAloud = 0, readAloudOverVoice = 0;
  // Game controllers: on/off, the layout (0 by the pad), the player's own buttons ("a:click ..."),
  // the sticks' dead zone (percent of the travel) and the repeat of a held direction (ms).
  int32_t padEnable = 0, padLayout = 0, padDeadZone = 0, padRepeatDelay = 0, padRepeatInterval = 0;
  std::string padButtons;

  std::string cursorFile;
  std::string wallPaper;
  // One per save slot 0-99.
  std::array<int8_t, kProtectFlags> saveProtect{};

  // Frame pacing derived from LimitFPS: pacingFrames frames per pacingMilliseconds (0 = none).
  int32_t pacingMilliseconds = 0, pacingFrames = 0;

  VolumeSetting& volume(VolumeCategory c) { return volumes[static_cast<size_t>(c)]; }
};

EngineSettings& settings();
// Every value back to its default (the skip and select flags the read modes keep included).
void resetSettings();

// The play time to report and to write: the stored total plus this run's seconds so far.
uint32_t currentTotalTime();

}  // namespace vellum
