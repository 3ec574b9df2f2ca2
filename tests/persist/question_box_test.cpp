// Headless question boxes take their answers from the --answers list.
#include <gtest/gtest.h>

#include "base/engine_state.h"
#include "platform/question_box.h"

namespace vellum {
namespace {

class HeadlessQuestions : public ::testing::Test {
 protected:
  void SetUp() override { engine().headless = true; }
  void TearDown() override {
    setHeadlessAnswers({});
    resetEngineState();
  }
};

TEST_F(HeadlessQuestions, AnswersComeInOrderThenTheFirstButton) {
  setHeadlessAnswers({"No", "CANCEL", "yes"});
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(askQuestion("T", "one", QuestionButtons::YesNoCancel), Answer::No);
  EXPECT_EQ(askQuestion("T", "two", QuestionButtons::YesNoCancel), Answer::Cancel);
  EXPECT_EQ(askQuestion("T", "three", QuestionButtons::YesNo), Answer::Yes);
  EXPECT_EQ(askQuestion("T", "four", QuestionButtons::YesNo), Answer::Yes);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(err,
            "T: one [yes/no/cancel]\nT: answer no\nT: two [yes/no/cancel]\nT: answer cancel\n"
            "T: three [yes/no]\nT: answer yes\nT: four [yes/no]\nT: answer yes\n");
}

TEST_F(HeadlessQuestions, AWordForAMissingButtonTakesTheFirst) {
  setHeadlessAnswers({"cancel", "maybe", "no"});
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(askQuestion("T", "q", QuestionButtons::YesNo), Answer::Yes);
  EXPECT_EQ(askQuestion("T", "q", QuestionButtons::YesNoCancel), Answer::Yes);
  EXPECT_EQ(askQuestion("T", "q", QuestionButtons::YesNo), Answer::No);
  ::testing::internal::GetCapturedStderr();
}

TEST_F(HeadlessQuestions, LabelsNameTheYesAndNoButtons) {
  setHeadlessAnswers({"no"});
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(askQuestion("Confirm", "q", QuestionButtons::YesNoCancel, {"Keep", "Discard"}), Answer::No);
  // Without a main window there is nothing to centre the box over; it is asked all the same.
  EXPECT_EQ(askQuestion("Confirm", "q", QuestionButtons::YesNoCancel, {"Keep", ""}), Answer::Yes);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Confirm: q [yes=Keep/no=Discard/cancel]\nConfirm: answer no\n"
            "Confirm: q [yes/no/cancel]\nConfirm: answer yes\n");
}

}  // namespace
}  // namespace vellum
