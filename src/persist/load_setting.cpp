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
bool offerCarryOver(size_t secondNameLength, bool& carried) {
  carried = false;
  const std::string root = carryOverRoot(engine().userDataDirectory, secondNameLength);
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

}  // namespace

void loadSetting(std::string_view s1, std::string_view s2) {
  EngineState& e = engine();
  const std::string first = gamePathToFileSystem(s1);
  const std::string second = gamePathToFileSystem(s2);
  const std::string documentsPath = documentsFolder() + first + second;

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
    if (!offerCarryOver(second.size(), carried)) return;
  }
  if (!carried) readSettings();
  readAlreadyFile();
  applySettingsReadToSound();
}

}  // namespace vellum
