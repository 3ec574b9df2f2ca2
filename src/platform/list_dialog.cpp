#include "platform/list_dialog.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "core/engine_state.h"

namespace vellum {

namespace {

bool haveDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

// With a display the list is a box with one button per item (pressing one selects it and
// confirms), then the confirm button (no selection) and the quit button. False when no box can be
// shown.
bool chooseWithBox(const ListDialog& dialog, ListChoice& choice) {
  const int count = static_cast<int>(dialog.items.size());
  std::vector<SDL_MessageBoxButtonData> buttons;
  for (int i = 0; i < count; ++i) buttons.push_back({0, i, dialog.items[static_cast<size_t>(i)].c_str()});
  buttons.push_back({SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, count, dialog.chooseLabel.c_str()});
  buttons.push_back({SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, count + 1, dialog.quitLabel.c_str()});
  SDL_MessageBoxData box{};
  box.flags = SDL_MESSAGEBOX_INFORMATION;
  box.title = dialog.title.c_str();
  box.message = dialog.heading.c_str();
  box.numbuttons = static_cast<int>(buttons.size());
  box.buttons = buttons.data();
  int pressed = -1;
  if (SDL_ShowMessageBox(&box, &pressed) != 0) return false;
  if (pressed < 0 || pressed == count + 1) {
    choice = {ListAction::Quit, -1};
  } else {
    choice = {ListAction::Choose, pressed < count ? pressed : -1};
  }
  return true;
}

}  // namespace

ListChoice runListDialog(const ListDialog& dialog) {
  std::string offered;
  for (const std::string& item : dialog.items) offered += (offered.empty() ? "" : " | ") + item;
  std::fprintf(stderr, "%s: %s: %s\n", dialog.title.c_str(), dialog.heading.c_str(), offered.c_str());
  ListChoice choice;
  if (engine().headless || !haveDisplay() || !chooseWithBox(dialog, choice)) choice = {ListAction::Choose, -1};
  if (choice.action == ListAction::Quit) {
    std::fprintf(stderr, "%s: %s\n", dialog.title.c_str(), dialog.quitLabel.c_str());
  } else if (choice.selected < 0) {
    std::fprintf(stderr, "%s: %s, nothing chosen\n", dialog.title.c_str(), dialog.chooseLabel.c_str());
  } else {
    std::fprintf(stderr, "%s: %s %s\n", dialog.title.c_str(), dialog.chooseLabel.c_str(),
                 dialog.items[static_cast<size_t>(choice.selected)].c_str());
  }
  std::fflush(stderr);
  return choice;
}

}  // namespace vellum
