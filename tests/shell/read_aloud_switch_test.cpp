// Reading aloud from the player's side: switched by the V key and the menu item, the focused
// button's words said once, and a missing speech service reported once and then left alone.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "persist/engine_settings.h"
#include "platform/virtual_keys.h"
#include "platform/window_message.h"
#include "shell/display/window_procedure.h"
#include "shell/services/speech_service.h"
#include "shell/services/speech_texts.h"
#include "shell/ui/menu_model.h"
#include "support/engine_fixture.h"
#include "support/kept_environment.h"
#include "support/wait_until.h"

namespace vellum::test {
namespace {

class ReadAloudSwitch : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    std::string error;
    ASSERT_TRUE(startSpeechOutput(said().string(), error)) << error;
  }
  std::filesystem::path said() const { return game / "said.txt"; }
  std::vector<std::string> saidLines() {
    closeSpeech();
    std::vector<std::string> lines;
    std::ifstream in(said());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
};

struct SwitchCase {
  const char* how;
  void (*press)();
};

void pressV() {
  WindowMessage up;
  up.kind = MessageKind::KeyUp;
  up.vk = 'V';
  windowProcedure(up);
}

void chooseMenuItem() { runMenuCommand(kMenuReadAloud); }

const SwitchCase kSwitches[] = {{"the V key", &pressV}, {"the menu item", &chooseMenuItem}};

TEST_F(ReadAloudSwitch, TheKeyAndTheMenuItemTurnItOffAndOnAgain) {
  for (const SwitchCase& c : kSwitches) {
    SCOPED_TRACE(c.how);
    ASSERT_TRUE(readingAloud());
    c.press();  // off, though --speech-out turned it on
    EXPECT_FALSE(readingAloud());
    EXPECT_FALSE(currentMenuInputs().readAloud);
    speakMessage("", gbk("听不到。"), true);
    c.press();  // on: the setting is kept, and it says so
    EXPECT_EQ(settings().readAloud, 1);
    EXPECT_TRUE(currentMenuInputs().readAloud);
    speakMessage(gbk("艾琳"), gbk("早上好。"), true);
  }
  EXPECT_EQ(saidLines(), (std::vector<std::string>{"朗读已开启", "艾琳: 早上好。", "朗读已开启", "艾琳: 早上好。"}));
}

TEST_F(ReadAloudSwitch, AFocusedButtonIsSaidOnceUntilTheFocusLeavesIt) {
  speakFocus(1, gbk("开始"));
  speakFocus(1, gbk("开始"));  // the click gave the focus back to the same button
  speakFocus(2, "");           // a button without words says nothing
  speakFocus(1, gbk("开始"));
  forgetSpokenFocus();
  speakFocus(1, gbk("开始"));
  EXPECT_EQ(saidLines(), (std::vector<std::string>{"开始", "开始", "开始"}));
}

TEST_F(ReadAloudSwitch, WithoutASpeechServiceOneReportAndThenSilence) {
  closeSpeech();  // the speech service this time, at an address where none answers
  KeptEnvironment address("SPEECHD_ADDRESS");
  setenv("SPEECHD_ADDRESS", ("unix_socket:" + (game / "no-service.sock").string()).c_str(), 1);
  settings().readAloud = 1;
  // The connection is tried on the speech worker; the report comes with a later utterance.
  EXPECT_TRUE(waitUntil([&] {
    speakMessage("", gbk("甲。"), true);
    return !reports.boxes.empty();
  }));
  for (int i = 0; i < 3; ++i) {
    speakMessage(gbk("艾琳"), gbk("乙。"), true);
    interruptSpeech();
  }
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_TRUE(reports.anyBoxContains(speech_texts::kNoSpeechService));
}

}  // namespace
}  // namespace vellum::test
