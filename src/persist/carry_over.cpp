#include "persist/carry_over.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "base/engine_state.h"
#include "persist/engine_settings.h"
#include "persist/persist_messages.h"
#include "platform/list_dialog.h"
#include "platform/question_box.h"
#include "base/text_encoding.h"

namespace vellum {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSettingsEnding = "/save/setting.dat";
constexpr std::string_view kSettingsPattern = "setting.dat";

bool endsWith(std::string_view text, std::string_view ending) {
  return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}

std::string gbkText(std::string_view bytes) { return toUtf8(bytes, CodePage::Gbk); }

void searchFolder(const fs::path& folder, const std::string& root, std::vector<std::string>& items) {
  std::error_code ec;
  std::vector<fs::directory_entry> entries;
  for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end; !ec && it != end;
       it.increment(ec))
    entries.push_back(*it);
  std::sort(entries.begin(), entries.end(),
            [](const fs::directory_entry& a, const fs::directory_entry& b) { return a.path().filename() < b.path().filename(); });
  for (const fs::directory_entry& entry : entries) {
    const fs::file_status status = entry.symlink_status(ec);
    if (ec || fs::is_symlink(status)) continue;
    if (fs::is_directory(status)) {
      searchFolder(entry.path(), root, items);
    } else if (fs::is_regular_file(status)) {
      const std::string path = entry.path().string();
      if (!endsWith(path, kSettingsPattern) || path.size() < root.size() + kSettingsEnding.size()) continue;
      const std::string_view rest = std::string_view(path).substr(root.size());
      if (endsWith(rest, kSettingsEnding)) items.emplace_back(rest.substr(0, rest.size() - kSettingsEnding.size()));
    }
  }
}

}  // namespace

std::string carryOverRoot(const std::string& userDataDirectory, size_t secondNameLength) {
  const size_t cut = secondNameLength + 1;
  if (cut >= userDataDirectory.size()) return {};
  return userDataDirectory.substr(0, userDataDirectory.size() - cut);
}

std::vector<std::string> findCarryOverGames(const std::string& root) {
  std::vector<std::string> items;
  if (root.empty()) return items;
  std::error_code ec;
  if (!fs::is_directory(fs::symlink_status(root, ec)) || ec) return items;
  searchFolder(root, root, items);
  return items;
}

std::optional<std::string> chooseCarryOverGame(const std::vector<std::string>& items) {
  if (items.empty()) return std::nullopt;
  ListDialog dialog;
  dialog.title = gbkText(persist_messages::kCarryOverTitle);
  dialog.heading = gbkText(persist_messages::kCarryOverHeading);
  dialog.chooseLabel = gbkText(persist_messages::kCarryOverChoose);
  dialog.quitLabel = gbkText(persist_messages::kCarryOverQuit);
  dialog.fontFace = gbkText(persist_messages::kCarryOverFont);
  dialog.items = items;
  dialog.topmost = settings().windowMost != 0;
  std::optional<std::string> chosen;
  runListDialog(dialog, [&](const ListChoice& choice) {
    switch (choice.action) {
      case ListAction::Quit: engine().quitFlag = 1; return ListReply::Close;
      case ListAction::Closed: return ListReply::Close;
      case ListAction::Choose: break;
    }
    if (choice.selected < 0) {
      const Answer sure = askQuestion(dialog.title, gbkText(persist_messages::kCarryNothing), QuestionButtons::YesNo);
      return sure == Answer::No ? ListReply::KeepSelection : ListReply::Close;
    }
    const std::string& item = items[static_cast<size_t>(choice.selected)];
    const std::string question =
        gbkText(persist_messages::kCarryItemBefore) + item + gbkText(persist_messages::kCarryItemAfter);
    if (askQuestion(dialog.title, question, QuestionButtons::YesNo) != Answer::Yes) return ListReply::ClearSelection;
    chosen = item;
    return ListReply::Close;
  });
  return chosen;
}

}  // namespace vellum
