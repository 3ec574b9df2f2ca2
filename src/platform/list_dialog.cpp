#include "platform/list_dialog.h"

#include <cstdio>
#include <optional>
#include <utility>

#include "base/engine_state.h"
#include "platform/list_dialog_window.h"
#include "platform/message_box.h"

namespace vellum {

namespace {

void printChoice(const ListDialog& dialog, const ListChoice& choice) {
  if (choice.action == ListAction::Quit) {
    std::fprintf(stderr, "%s: %s\n", dialog.title.c_str(), dialog.quitLabel.c_str());
  } else if (choice.action == ListAction::Closed) {
    std::fprintf(stderr, "%s: closed\n", dialog.title.c_str());
  } else if (choice.selected < 0) {
    std::fprintf(stderr, "%s: %s, nothing selected\n", dialog.title.c_str(), dialog.chooseLabel.c_str());
  } else {
    std::fprintf(stderr, "%s: %s %s\n", dialog.title.c_str(), dialog.chooseLabel.c_str(),
                 dialog.items[static_cast<size_t>(choice.selected)].c_str());
  }
  std::fflush(stderr);
}

ListDialogPresses headlessPresses;

}  // namespace

void setHeadlessListPresses(ListDialogPresses presses) { headlessPresses = std::move(presses); }

ListChoice runListDialog(const ListDialog& dialog, const std::function<ListReply(const ListChoice&)>& decide) {
  std::string offered;
  for (const std::string& item : dialog.items) offered += (offered.empty() ? "" : " | ") + item;
  std::fprintf(stderr, "%s: %s: %s\n", dialog.title.c_str(), dialog.heading.c_str(), offered.c_str());
  const auto reporting = [&](const ListChoice& choice) {
    printChoice(dialog, choice);
    return decide(choice);
  };
  if (!engine().headless && haveDisplay()) {
    if (const std::optional<ListChoice> shown = runListDialogWindow(dialog, reporting)) return *shown;
  }
  // Headless: nothing is ever selected; the caller's questions decide when this ends.
  for (;;) {
    const ListChoice press = headlessPresses ? headlessPresses(dialog) : ListChoice{ListAction::Choose, -1};
    if (reporting(press) == ListReply::Close) return press;
  }
}

}  // namespace vellum
