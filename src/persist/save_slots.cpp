#include "persist/save_slots.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/report.h"
#include "persist/compressed_container.h"
#include "persist/engine_settings.h"
#include "persist/persist_state.h"
#include "persist/save_messages.h"

namespace vellum {

SaveStore& saveStore() {
  static SaveStore store;
  return store;
}

void resetSaveStore() { saveStore() = SaveStore(); }

namespace {

// Before loadSetting chose a folder, saves go to the "save" folder of the game.
std::string saveFolder() {
  const std::string& folder = persistState().saveDirectory;
  return folder.empty() ? saveDataRoot() + "save/" : folder;
}

}  // namespace

std::string saveSlotPath(int64_t slot, bool compressed) {
  char name[48];
  std::snprintf(name, sizeof name, "save%03lld.%s", static_cast<long long>(slot), compressed ? "dat" : "txt");
  return saveFolder() + name;
}

bool checkSaveNumber(int64_t number, int64_t last) {
  if (number >= 0 && (last < 0 || number <= last)) return true;
  errorc(ReportText().number(number).sjis(save_messages::kOutOfRange), true);
  return false;
}

bool ensureSaveDirectory() {
  const std::string folder = saveFolder();
  std::error_code error;
  if (std::filesystem::is_directory(folder, error)) return true;
  std::filesystem::create_directories(folder, error);
  if (!error && std::filesystem::is_directory(folder, error)) return true;
  errorc(ReportText().add(pathReport(folder)).sjis(save_messages::kFolderNotCreated), true);
  return false;
}

namespace {

bool slotStat(int64_t slot, bool compressed, struct stat& info) {
  if (slot < 0) return false;
  return ::stat(saveSlotPath(slot, compressed).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

int64_t saveSlotTime(int64_t slot, bool compressed) {
  struct stat info {};
  if (!slotStat(slot, compressed, info)) return 0;
  return static_cast<int64_t>(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
}

std::string saveSlotLocalTime(int64_t slot, bool compressed) {
  const time_t seconds = static_cast<time_t>(saveSlotTime(slot, compressed) / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

namespace {

// The slots first..last that have a file: probed one by one for a short range, read from the folder
// for a long one (a script may ask for 0 to 2^31 - 1).
std::vector<int64_t> existingSlots(int64_t first, int64_t last, bool compressed) {
  std::vector<int64_t> slots;
  first = std::max<int64_t>(first, 0);
  if (last - first < 4096) {
    struct stat info {};
    for (int64_t slot = first; slot <= last; ++slot)
      if (slotStat(slot, compressed, info)) slots.push_back(slot);
    return slots;
  }
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(saveFolder(), error)) {
    const std::string name = entry.path().filename().string();
    long long slot = -1;
    char extension[8] = {};
    if (std::sscanf(name.c_str(), "save%lld.%7s", &slot, extension) != 2 || slot < first || slot > last) continue;
    if (saveSlotPath(slot, compressed) == saveFolder() + name) slots.push_back(slot);
  }
  std::sort(slots.begin(), slots.end());
  return slots;
}

}  // namespace

int64_t newestSaveSlot(int64_t first, int64_t last, bool compressed) {
  int64_t newest = -1, newestTime = 0;
  for (int64_t slot : existingSlots(first, last, compressed)) {
    const int64_t time = saveSlotTime(slot, compressed);
    if (newest < 0 || time > newestTime) {  // strictly newer: a tie keeps the lower slot
      newest = slot;
      newestTime = time;
    }
  }
  return newest;
}

bool setSaveProtect(int64_t slot, int64_t mode) {
  if (!checkSaveNumber(slot, kProtectFlags - 1)) return false;
  int8_t& flag = settings().saveProtect[static_cast<size_t>(slot)];
  flag = mode == 0 ? 0 : mode == 1 ? 1 : static_cast<int8_t>(flag == 0);
  return true;
}

int getSaveProtect(int64_t slot) {
  if (!checkSaveNumber(slot, kProtectFlags - 1)) return 0;
  return settings().saveProtect[static_cast<size_t>(slot)];
}

}  // namespace vellum
