// What a message is read aloud as: story lines run through the interpreter and the message window,
// the utterances taken from the --speech-out file.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "message_fixture.h"
#include "shell/services/speech_service.h"

namespace vellum::test {
namespace {

// The utterances written since the output was started, one per line (UTF-8).
std::vector<std::string> utterancesIn(const std::filesystem::path& file) {
  closeSpeech();
  std::vector<std::string> lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A voice line that started with each message.
void noStock() {}
bool voiceJustStarted() { return true; }

struct UtteranceCase {
  const char* rule;
  const char* story;  // script text, UTF-8
  std::vector<std::string> said;
  bool voiceStarted = false;
  bool overVoice = false;  // ReadAloudOverVoice
};

const UtteranceCase kUtteranceCases[] = {
    {"the speaker comes first, then the text", "【艾琳】早上好。\n\n", {"艾琳: 早上好。"}},
    {"ruby is read as its base text", "等{渡船/とせん}吗？\n\n", {"等渡船吗？"}},
    {"inline commands and wait marks are left out", "甲[n]乙@丙\\\n\n", {"甲乙丙"}},
    {"rows of one message are joined, with a space where single-byte letters meet a row",
     "第一行\n第二行 Hello\n乙。\n\n", {"第一行第二行 Hello 乙。"}},
    {"each message is said on its own", "甲。\n\n【Aya】乙。\n\n", {"甲。", "Aya: 乙。"}},
    {"with a voice line only the speaker is said", "【艾琳】早上好。\n\n甲。\n\n", {"艾琳"}, true},
    {"ReadAloudOverVoice says the text over the voice too", "【艾琳】早上好。\n\n", {"艾琳: 早上好。"}, true, true},
};

class ReadAloud : public MessageTest {};

TEST_F(ReadAloud, MessagesAreSaidAsTheyAreShown) {
  for (const UtteranceCase& c : kUtteranceCases) {
    SCOPED_TRACE(c.rule);
    restart();
    const std::filesystem::path file = game / "said.txt";
    std::string error;
    ASSERT_TRUE(startSpeechOutput(file.string(), error)) << error;
    if (c.voiceStarted) setVoiceLineProbe({&noStock, &voiceJustStarted});
    settings().readAloudOverVoice = c.overVoice ? 1 : 0;
    createWindow();
    script(c.story);
    EXPECT_EQ(utterancesIn(file), c.said);
    setVoiceLineProbe({});
  }
}

TEST_F(ReadAloud, WithTheSettingOffNothingIsSaid) {
  const std::filesystem::path file = game / "said.txt";
  std::string error;
  ASSERT_TRUE(startSpeechOutput(file.string(), error)) << error;
  toggleReadingAloud();  // --speech-out turned it on; the V key turns it off
  EXPECT_FALSE(readingAloud());
  createWindow();
  script("甲。\n\n");
  EXPECT_EQ(utterancesIn(file), std::vector<std::string>{});
}

TEST_F(ReadAloud, FastForwardSaysNothing) {
  const std::filesystem::path file = game / "said.txt";
  std::string error;
  ASSERT_TRUE(startSpeechOutput(file.string(), error)) << error;
  createWindow();
  scriptState().fastForwardMode = 1;
  layoutWhole("甲乙", 0, 0);
  scriptState().fastForwardMode = 0;
  EXPECT_EQ(utterancesIn(file), std::vector<std::string>{});
}

}  // namespace
}  // namespace vellum::test
