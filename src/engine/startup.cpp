#include "engine/startup.h"

#include <cstdlib>
#include <ctime>
#include <string_view>

#include "script/command_registry.h"
#include "commands/lua/lua_binding.h"
#include "commands/squirrel/squirrel_binding.h"
#include "base/engine_state.h"
#include "engine/frame_hooks.h"
#include "engine/interpreter.h"
#include "engine/live_reload/live_reload.h"
#include "engine/rollback.h"
#include "engine/speech_hooks.h"
#include "base/report.h"
#include "persist/engine_settings.h"
#include "persist/persist_state.h"
#include "persist/read_flags_file.h"
#include "persist/save_slots.h"
#include "persist/settings_file.h"
#include "base/clock.h"
#include "render/renderer.h"
#include "report/system_report.h"
#include "scene/button_table.h"
#include "movie/frame_sequences.h"
#include "movie/theora_library.h"
#include "scene/lookahead.h"
#include "scene/picture_cache.h"
#include "scene/screenshot.h"
#include "scene/sprite_table.h"
#include "scene/transition_scenes.h"
#include "script/script_state.h"
#include "sound/sound_system.h"
#include "script/variables.h"
#include "script/builtins/plugin_libraries.h"
#include "shell/display/screen_geometry.h"
#include "shell/shell_lifecycle.h"
#include "storage/file_loader.h"
#include "script/script_container.h"
#include "text/backlog.h"
#include "text/message_window.h"
#include "script/read_mode.h"

namespace vellum {

namespace {

// "开始脚本没有读入" (GBK)
constexpr std::string_view kNoStartScript = "\xbf\xaa\xca\xbc\xbd\xc5\xb1\xbe\xc3\xbb\xd3\xd0\xb6\xc1\xc8\xeb";

// Characters that may not begin a line of message text: 、 。 ） 」 』 (Shift-JIS codes).
constexpr uint16_t kKinsokuCodes[] = {0x8141, 0x8142, 0x816A, 0x8176, 0x8178};

bool loadIntoSlot(int slotIndex, uint64_t key, const char* displayName) {
  FileSlot& slot = scriptState().slots[slotIndex];
  slot.lines.clear();
  slot.key = key;
  slot.displayName = displayName;
  slot.loaded = loadScript(key, slot.lines);
  return slot.loaded;
}

}  // namespace

void resetAllState() {
  resetLua();
  resetSquirrel();
  useNative();
  resetScriptState();
  resetVariables();
  resetCommandTables();
  resetSound();
  resetBacklog();
  resetReadMode();
  resetScriptContainer();
  resetLiveReload();
  resetStorage();
  resetSettings();
  resetPersistState();
  resetSaveStore();
  resetRollback();
  // Sprite textures go before the device, the device before the window it was made on.
  resetFrameSequences();
  resetTheoraLibrary();
  resetLookahead();
  resetPictureCache();
  resetScreenShot();
  resetSprites();
  resetButtons();
  resetTransitions();
  resetMessageWindow();
  installFrameHooks();
  installSpeechHooks();
  resetRendererState();
  resetScreenGeometry();
  resetMachineMemory();
  resetShell();
  setCurrentCommandName("");
  engine().quitFlag = 0;
}

bool initializeEngine() {
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  readArchives();
  // The fixed tables (sprites, backlog and the rest) start cleared.
  resetSprites();
  resetButtons();
  resetTransitions();
  resetMessageWindow();
  installFrameHooks();  // after the scene has put in its own callbacks
  installSpeechHooks();
  resetBacklog();
  // The image operations' tables and the sine and arctangent tables are built by their first use:
  // many games never use one.
  registerAllCommands();
  for (uint16_t code : kKinsokuCodes) readMode().kinsoku.insert(code);

  startWatchingSources();  // before the label pass, so its reports name files by path
  if (!openScriptContainer() || engine().quitFlag) return false;

  ScriptState& s = scriptState();
  if (!s.readFlags.count(startFileKey())) {
    showErrorBox(ReportText().gbk(kNoStartScript));
    return false;
  }
  if (!loadIntoSlot(0, startFileKey(), "script/0.txt")) return false;
  // script/1.txt is optional; when the container has it, it must load.
  const bool haveSecond = scriptContainer().present ? scriptContainer().index.count(secondFileKey()) > 0
                                                    : s.fileNames.count(secondFileKey()) > 0;
  if (haveSecond && !loadIntoSlot(1, secondFileKey(), "script/1.txt")) return false;

  engine().startTime = tickMilliseconds();
  return true;
}

void shutdownEngine() {
  resetLua();
  resetSquirrel();
  // Settings and read flags are written once loadSetting has chosen where they live (so text read
  // since the last saveAlready is not lost); then every table is emptied and the renderer, the
  // sound channels and the archive indexes are released.
  if (!persistState().settingsPath.empty()) {
    writeSettings();
    saveAlready();
  }
  // Channels go before the device, and the device's close completes an --audio-out recording.
  shutdownSound();
  resetMessageWindow();
  resetScriptState();
  resetVariables();
  readMode().kinsoku.clear();
  resetScriptContainer();
  resetStorage();
  // Plug-ins go last: nothing of theirs may be called once their code is unmapped.
  freeAllPluginLibraries();
}

int runMain() {
  if (!initializeEngine()) {
    shutdownEngine();
    return 0;
  }
  runInterpreter();
  shutdownEngine();
  return 1;
}

}  // namespace vellum
