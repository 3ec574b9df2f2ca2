// The find dialog's request: one dialog at a time, its notifications as the find event with the
// search text, and closing.
#include <gtest/gtest.h>

#include "shell/services/find_request.h"
#include "shell/display/shell_window_state.h"
#include "shell_test_support.h"

namespace vellum {
namespace {

using test::triple;

class FindRequestEvents : public test::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    setUpScreen(640, 480);
    drain();
  }
};

TEST_F(FindRequestEvents, ASecondFindTextRaisesTheOpenDialog) {
  openFindDialog();
  EXPECT_TRUE(findRequest().open);
  EXPECT_EQ(findRequest().raiseCount, 0u);
  openFindDialog();
  EXPECT_TRUE(findRequest().open);
  EXPECT_EQ(findRequest().raiseCount, 1u);
}

TEST_F(FindRequestEvents, ASearchIsTheFindEventWithItsText) {
  openFindDialog();
  findRequest().text = "needle";
  notifyFind(kFindNext | kFindDown | kFindHideWholeWord);
  const InputEvent withText = nextInputEvent(false, true);
  EXPECT_EQ(withText, triple(kFindEvent, kFindNext | kFindDown | kFindHideWholeWord, 0));
  EXPECT_EQ(withText.text, "needle");
  notifyFind(kFindNext);
  EXPECT_EQ(nextInputEvent(false, false).text, "");
  EXPECT_TRUE(findRequest().open);
}

TEST_F(FindRequestEvents, ClosingForgetsTheDialogAndStillReports) {
  openFindDialog();
  notifyFind(kFindClosing | kFindDown);
  EXPECT_FALSE(findRequest().open);
  EXPECT_EQ(nextInputEvent(false, false), triple(kFindEvent, kFindClosing | kFindDown, 0));
  // The next findText opens a fresh dialog.
  openFindDialog();
  EXPECT_EQ(findRequest().raiseCount, 0u);
}

TEST_F(FindRequestEvents, TheSearchTextIsCutToTheBuffer) {
  openFindDialog();
  findRequest().text = std::string(200, 'x');
  notifyFind(kFindNext);
  EXPECT_EQ(nextInputEvent(false, true).text.size(), kFindTextCapacity - 1);
}

}  // namespace
}  // namespace vellum
