// The list dialog in a page: the browser's own prompt, with the items numbered. A number picks
// that item and confirms, an empty answer confirms with no selection, Cancel gives up. (SDL has
// one window in a page, the canvas, so the dialog cannot have a window of its own.)
#include <emscripten.h>

#include <cstdlib>
#include <string>

#include "platform/list_dialog.h"
#include "platform/list_dialog_window.h"

namespace vellum {

namespace {

// The answer typed, or nullptr for Cancel (and under node, where there is no prompt: the caller
// then takes the headless form). The result is freed by the caller.
EM_JS(char*, promptInPage, (const char* text), {
  if (typeof prompt !== 'function') return 0;
  var answer = prompt(UTF8ToString(text), "");
  if (answer === null) return 0;
  var size = lengthBytesUTF8(answer) + 1;
  var bytes = _malloc(size);
  stringToUTF8(answer, bytes, size);
  return bytes;
});

EM_JS(int, pageCanPrompt, (), { return typeof prompt === 'function' ? 1 : 0; });

std::string promptText(const ListDialog& dialog) {
  std::string text = dialog.title + "\n" + dialog.heading + "\n";
  for (size_t i = 0; i < dialog.items.size(); ++i) text += std::to_string(i + 1) + ". " + dialog.items[i] + "\n";
  text += "\n" + dialog.chooseLabel + ": OK (with a number, or none)    " + dialog.quitLabel + ": Cancel";
  return text;
}

ListChoice ask(const ListDialog& dialog) {
  char* answer = promptInPage(promptText(dialog).c_str());
  if (!answer) return {ListAction::Quit, -1};
  const std::string typed = answer;
  std::free(answer);
  char* end = nullptr;
  const long number = std::strtol(typed.c_str(), &end, 10);
  const bool valid = end != typed.c_str() && number >= 1 && number <= static_cast<long>(dialog.items.size());
  return {ListAction::Choose, valid ? static_cast<int>(number - 1) : -1};
}

}  // namespace

std::optional<ListChoice> runListDialogWindow(const ListDialog& dialog,
                                              const std::function<ListReply(const ListChoice&)>& decide) {
  if (!pageCanPrompt()) return std::nullopt;
  // A prompt keeps no selection between presses: each answer names its own.
  for (;;) {
    const ListChoice choice = ask(dialog);
    if (decide(choice) == ListReply::Close) return choice;
  }
}

}  // namespace vellum
