#include "persist/settings_file.h"

#include <filesystem>
#include <system_error>

#include "persist/compressed_container.h"
#include "persist/engine_settings.h"
#include "persist/key_value_text.h"
#include "persist/persist_state.h"
#include "persist/settings_text.h"

namespace vellum {

namespace {

bool isFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

bool ensureSaveDirectory(const std::string& fileInside) {
  std::error_code ec;
  std::filesystem::create_directories(persistState().saveDirectory, ec);
  if (!ec && std::filesystem::is_directory(persistState().saveDirectory, ec)) return true;
  // The write cannot happen: report it as the write itself would have been.
  showErrorBox(ReportText().ascii("saveDataZlib\n").add(pathReport(fileInside)).ascii(" ").ascii(ec ? ec.message() : "Not a directory"));
  return false;
}

bool readSettings(const std::string* explicitPath) {
  const std::string& ownPath = persistState().settingsPath;
  if (!isFile(ownPath)) {
    // A first run picks the smoothing filter modern systems handle well.
    settings().interpolation = 2;
    if (!explicitPath) return true;
  }
  std::string text;
  if (loadDataZlib(explicitPath ? *explicitPath : ownPath, true, text) != 0) return false;
  applySettings(parseKeyValues(text), explicitPath == nullptr);
  return true;
}

bool writeSettings() {
  const std::string& path = persistState().settingsPath;
  if (path.empty()) return false;
  const std::string text = composeSettingsText();
  if (!ensureSaveDirectory(path)) return false;
  return saveDataZlib(path, true, text) == 0;
}

}  // namespace vellum
