#include "platform/question_box.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <deque>

#include "base/engine_state.h"
#include "platform/browser_page.h"
#include "platform/message_box.h"

namespace vellum {

namespace {

std::deque<std::string> pendingAnswers;

std::vector<Answer> buttonsOf(QuestionButtons buttons) {
  if (buttons == QuestionButtons::YesNo) return {Answer::Yes, Answer::No};
  return {Answer::Yes, Answer::No, Answer::Cancel};
}

std::string lowercase(std::string word) {
  std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return word;
}

Answer nextHeadlessAnswer(const std::vector<Answer>& offered) {
  if (pendingAnswers.empty()) return offered.front();
  const std::string word = lowercase(pendingAnswers.front());
  pendingAnswers.pop_front();
  for (Answer a : offered)
    if (word == answerWord(a)) return a;
  return offered.front();
}

// The SDL box; false when it cannot be shown.
bool askWithBox(const std::string& title, const std::string& text, const std::vector<Answer>& offered,
                const ButtonLabels& labels, Answer& answer) {
  // The page's own box has OK and Cancel: OK is Yes, Cancel the box's last button (No, or Cancel).
  if (kInBrowserPage) {
    answer = askInBrowser(title, text) ? Answer::Yes : offered.back();
    return true;
  }
  const bool labelled = !labels.yes.empty() && !labels.no.empty();
  const char* const kLabels[] = {labelled ? labels.yes.c_str() : "Yes", labelled ? labels.no.c_str() : "No", "Cancel"};
  std::vector<SDL_MessageBoxButtonData> buttons;
  for (Answer a : offered) {
    SDL_MessageBoxButtonData b{};
    b.buttonid = static_cast<int>(a);
    b.text = kLabels[static_cast<int>(a)];
    if (a == Answer::Yes) b.flags = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    // Escape answers Cancel where the box has it, else No.
    if (a == offered.back()) b.flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    buttons.push_back(b);
  }
  SDL_MessageBoxData box{};
  box.flags = SDL_MESSAGEBOX_INFORMATION;
  box.window = boxParent();
  box.title = title.c_str();
  box.message = text.c_str();
  box.numbuttons = static_cast<int>(buttons.size());
  box.buttons = buttons.data();
  int pressed = -1;
  if (SDL_ShowMessageBox(&box, &pressed) != 0) return false;
  answer = pressed < 0 ? offered.back() : static_cast<Answer>(pressed);
  return true;
}

}  // namespace

const char* answerWord(Answer answer) {
  switch (answer) {
    case Answer::Yes: return "yes";
    case Answer::No: return "no";
    case Answer::Cancel: break;
  }
  return "cancel";
}

void setHeadlessAnswers(std::vector<std::string> answers) { pendingAnswers.assign(answers.begin(), answers.end()); }

Answer askQuestion(const std::string& title, const std::string& text, QuestionButtons buttons,
                   const ButtonLabels& labels) {
  const std::vector<Answer> offered = buttonsOf(buttons);
  std::string choices;
  for (Answer a : offered) choices += (choices.empty() ? "" : "/") + std::string(answerWord(a));
  // Headless, the labels follow the words: "yes=Keep/no=Discard/cancel".
  if (!labels.yes.empty() && !labels.no.empty()) {
    choices.clear();
    for (Answer a : offered) {
      const std::string* label = a == Answer::Yes ? &labels.yes : a == Answer::No ? &labels.no : nullptr;
      choices += (choices.empty() ? "" : "/") + std::string(answerWord(a)) + (label ? "=" + *label : "");
    }
  }
  std::fprintf(stderr, "%s: %s [%s]\n", title.c_str(), asOneLine(text).c_str(), choices.c_str());
  Answer answer = offered.front();
  if (engine().headless || !haveDisplay() || !askWithBox(title, text, offered, labels, answer))
    answer = nextHeadlessAnswer(offered);
  std::fprintf(stderr, "%s: answer %s\n", title.c_str(), answerWord(answer));
  std::fflush(stderr);
  return answer;
}

}  // namespace vellum
