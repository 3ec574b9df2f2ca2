#include "persist/load_setting.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

#include "base/engine_state.h"
#include "base/report.h"
#include "persist/carry_over.h"
#include "persist/compressed_container.h"
#include "persist/documents_folder.h"
#include "persist/engine_settings.h"
#include "persist/persist_messages.h"
#include "persist/persist_state.h"
#include "persist/read_flags_file.h"
#include "persist/replace_file.h"
#include "persist/settings_file.h"
#include "persist/subsystem_hooks.h"
#include "platform/question_box.h"
#include "base/text_encoding.h"

namespace vellum {

namespace {

constexpr const char* kQuestionTitle = "Confirm";

bool isFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

std::string gbkText(std::string_view bytes) { return toUtf8(bytes, CodePage::Gbk); }

// The marker's place: "save.dat" wins over "save/save.dat"; nothing when neither is a file.
std::optional<std::string> findMarker() {
  const std::string& game = engine().exeDirectory;
  if (isFile(game + "save.dat")) return game + "save.dat";
  if (isFile(game + "save/save.dat")) return game + "save/save.dat";
  return std::nullopt;
}

// Whether the marker says "Documents" (non-empty); nothing when it cannot be opened.
std::optional<bool> readMarker(const std::string& path) {
  std::ifstream marker(path, std::ios::binary);
  if (!marker) return std::nullopt;
  char byte = 0;
  return static_cast<bool>(marker.get(byte));
}

void writeMarker(bool inDocuments) {
  const std::string path = engine().exeDirectory + "save.dat";
  int errorNumber = 0;
  if (!replaceFileContents(path, inDocuments ? "1" : "", errorNumber))
    showErrorBox(ReportText().ascii("loadSetting\n").add(pathReport(path)).ascii(" ").ascii(std::strerror(errorNumber)));
}

// Asks until the player settles on a place; false after Cancel (QuitFlag is set then).
bool askForSaveLocation(const std::string& documentsPath) {
  for (;;) {
    const Answer first = askQuestion(kQuestionTitle, gbkText(persist_messages::kSaveInDocuments), QuestionButtons::YesNoCancel);
    if (first == Answer::Yes) {
      engine().userDataDirectory = documentsPath;
      const std::string question = gbkText(persist_messages::kCreateInDocuments) + documentsPath;
      if (askQuestion(kQuestionTitle, question, QuestionButtons::YesNo) == Answer::Yes) {
        writeMarker(true);
        return true;
      }
      engine().userDataDirectory.clear();
    } else if (first == Answer::No) {
      if (askQuestion(kQuestionTitle, gbkText(persist_messages::kCreateInGameFolder), QuestionButtons::YesNo) == Answer::Yes) {
        writeMarker(false);
        return true;
      }
    } else {
      engine().quitFlag = 1;
      return false;
    }
  }
}

// Offers another game's settings when this game has none yet. False when the player gave up.
bool offerCarryOver(const std::string& root, bool& carried) {
  carried = false;
  const std::optional<std::string> chosen = chooseCarryOverGame(findCarryOverGames(root));
  if (chosen) {
    const std::string otherFile = root + *chosen + "/save/setting.dat";
    readSettings(&otherFile);
    settings().totalTime = 0;
    writeSettings();
    carried = true;
  }
  return engine().quitFlag == 0;
}

// A folder name from the script (file-system text) without the separators at its ends:
// "/Studio/" and "Studio" name the same folder.
std::string bareFolderName(std::string_view name) {
  while (!name.empty() && name.front() == '/') name.remove_prefix(1);
  while (!name.empty() && name.back() == '/') name.remove_suffix(1);
  return std::string(name);
}

// The Documents folder and the two names, one '/' where two pieces meet and one at the end
// ("~/Documents/Studio/Game/"): the names may bring their own separators (Windows scripts write
// "\\Studio\\") or none at all, and the saves must land inside the Documents folder either way.
std::string documentsSaveFolder(const std::string& first, const std::string& second) {
  std::string path = documentsFolder();
  if (path.empty() || path.back() != '/') path += '/';
  for (const std::string& name : {first, second})
    if (!name.empty()) path += name + '/';
  return path;
}

// Where other games of the same studio keep their saves: the user-data folder without the
// game's own name. Without names the saves sit straight in the Documents folder and there is no
// studio folder to search (nothing is searched then).
std::string studioFolder(const std::string& userData, const std::string& first, const std::string& second) {
  if (first.empty() && second.empty()) return {};
  return carryOverRoot(userData, second.empty() ? 0 : second.size() + 1);
}

}  // namespace

void loadSetting(std::string_view s1, std::string_view s2) {
  EngineState& e = engine();
  const std::string first = bareFolderName(gamePathToFileSystem(s1));
  const std::string second = bareFolderName(gamePathToFileSystem(s2));
  const std::string documentsPath = documentsSaveFolder(first, second);

  std::optional<bool> inDocuments;
  if (const std::optional<std::string> marker = findMarker()) inDocuments = readMarker(*marker);
  if (inDocuments) {
    e.userDataDirectory = *inDocuments ? documentsPath : std::string();
  } else if (!askForSaveLocation(documentsPath)) {
    return;
  }

  PersistState& p = persistState();
  p.saveDirectory = saveDataRoot() + "save/";
  p.settingsPath = p.saveDirectory + "setting.dat";

  bool carried = false;
  if (!e.userDataDirectory.empty() && !isFile(p.settingsPath)) {
    if (!offerCarryOver(studioFolder(e.userDataDirectory, first, second), carried)) return;
  }
  if (!carried) readSettings();
  readAlreadyFile();
  applySettingsReadToSound();
}

}  // namespace vellum
