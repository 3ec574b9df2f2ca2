// Modal questions with Yes/No or Yes/No/Cancel buttons. With a display they are SDL message boxes;
// headless (or when no box can be shown) the answer is the next word of the --answers list, or the
// box's first button once the list is used up. Each question and the answer taken are printed to
// standard error, so a headless run shows what it was asked.
#pragma once

#include <string>
#include <vector>

namespace vellum {

enum class QuestionButtons { YesNo, YesNoCancel };
enum class Answer { Yes, No, Cancel };

// Texts for the Yes and No buttons in place of "Yes" and "No" (UTF-8); used when both are set.
struct ButtonLabels {
  std::string yes, no;
};

// Title and text are UTF-8. The box is centred over the main window when that exists and is large
// enough (boxParent); without a main window the system places it.
Answer askQuestion(const std::string& title, const std::string& text, QuestionButtons buttons,
                   const ButtonLabels& labels = {});

// The headless answers, taken in order: "yes", "no" or "cancel" (any letter case). A word naming
// no button of the box, or none left, takes the box's first button.
void setHeadlessAnswers(std::vector<std::string> answers);

// The answer's word as --answers spells it.
const char* answerWord(Answer answer);

}  // namespace vellum
