// The replay file: what each line becomes, and the reasons a line is refused.
#include <gtest/gtest.h>

#include <ostream>

#include "platform/message_queue.h"
#include "shell/input/input_replay.h"
#include "support/param_names.h"

namespace vellum {
namespace {

TEST(InputReplayFile, EveryEventKind) {
  std::vector<ReplayedEvent> events;
  std::string error;
  ASSERT_TRUE(parseInputReplay("# a comment\n"
                               "\n"
                               "0 move 10 20\r\n"
                               "5 press left\n"
                               "5 release right 3 4\n"
                               "10 wheel -2\n"
                               "20 keydown 0x0D\n"
                               "20 keyup 13\n"
                               "30 close\n"
                               "40 quit\n",
                               events, error))
      << error;
  ASSERT_EQ(events.size(), 8u);
  EXPECT_EQ(events[0].message.kind, MessageKind::MouseMove);
  EXPECT_EQ(events[0].message.x, 10);
  EXPECT_EQ(events[0].message.y, 20);
  EXPECT_TRUE(events[0].gamePosition);
  EXPECT_EQ(events[1].message.kind, MessageKind::ButtonDown);
  EXPECT_FALSE(events[1].gamePosition);
  EXPECT_EQ(events[2].message.button, MouseButton::Right);
  EXPECT_TRUE(events[2].gamePosition);
  EXPECT_EQ(events[3].message.wheelDelta, -240);
  EXPECT_EQ(events[4].message.vk, 13);
  EXPECT_EQ(events[5].message.kind, MessageKind::KeyUp);
  EXPECT_EQ(events[6].message.kind, MessageKind::CloseRequest);
  EXPECT_TRUE(events[7].quit);
  EXPECT_EQ(events[7].atMs, 40u);
}

struct BadLine {
  const char* text;
  const char* error;
};

void PrintTo(const BadLine& line, std::ostream* out) {
  for (const char* c = line.text; *c; ++c) *out << (*c == '\n' ? '|' : *c == '"' ? '\'' : *c);
}

class InputReplayRefuses : public ::testing::TestWithParam<BadLine> {};

TEST_P(InputReplayRefuses, WithTheLineAndTheReason) {
  std::vector<ReplayedEvent> events;
  std::string error;
  EXPECT_FALSE(parseInputReplay(GetParam().text, events, error));
  EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Table, InputReplayRefuses,
    ::testing::Values(BadLine{"x move 1 2\n", "line 1: the time must be milliseconds"},
                      BadLine{"-5 close\n", "line 1: the time must be milliseconds"},
                      BadLine{"5\n", "line 1: an event name must follow the time"},
                      BadLine{"0 move 1\n", "line 1: move needs X Y"},
                      BadLine{"0 press thumb\n", "line 1: press needs left, right or middle"},
                      BadLine{"0 wheel 0\n", "line 1: wheel needs a notch count"},
                      BadLine{"0 keydown 256\n", "line 1: keydown needs a virtual-key number 1-255"},
                      BadLine{"0 close now\n", "line 1: close takes no arguments"},
                      BadLine{"0 jump\n", "line 1: unknown event \"jump\""},
                      BadLine{"10 close\n5 close\n", "line 2: times must not go backwards"},
                      BadLine{"0 shot\n", "line 1: shot needs one name (no spaces)"},
                      BadLine{"0 shot a b\n", "line 1: shot needs one name (no spaces)"},
                      BadLine{"0 shot ../title\n",
                              "line 1: shot name \"../title\" must not contain a slash (pictures stay in the shots folder)"},
                      BadLine{"0 shot a\\b\n",
                              "line 1: shot name \"a\\b\" must not contain a slash (pictures stay in the shots folder)"},
                      BadLine{"0 padpress thumb\n",
                              "line 1: padpress needs a pad button (a, b, x, y, dpup, start, leftshoulder ...)"},
                      BadLine{"0 padstick middle 0 0\n", "line 1: padstick needs left or right and X Y, each -100 to 100"},
                      BadLine{"0 padstick left 101 0\n", "line 1: padstick needs left or right and X Y, each -100 to 100"},
                      BadLine{"0 padconnect arcade\n", "line 1: padconnect takes standard, nintendo or handheld"},
                      BadLine{"0 paddisconnect now\n", "line 1: paddisconnect takes no arguments"},
                      BadLine{"0 shot ..\n",
                              "line 1: shot name \"..\" must not contain \"..\" (pictures stay in the shots folder)"}),
    test::namedBy([](const BadLine& c) { return c.text; }));

// Shot lines post nothing: they go to the taker in their turn, or are skipped without one.
std::vector<std::string> shotsSeen;
void recordShot(const std::string& name) { shotsSeen.push_back(name); }

TEST(InputReplayShots, GoToTheTakerInTimeOrderAndThoseLeftAreKnown) {
  resetMessageQueue();  // what another test left must not hold the replay back
  std::vector<ReplayedEvent> events;
  std::string error;
  ASSERT_TRUE(parseInputReplay("10 shot title\n10 keydown 65\n20 shot text-1\n30 shot end\n", events, error)) << error;
  EXPECT_EQ(events[0].shotName, "title");
  shotsSeen.clear();
  setReplayShotTaker(&recordShot);
  startInputReplay(std::move(events), 0);
  feedReplayedInputAt(25);
  // A shot waits until the engine has taken the input before it.
  EXPECT_EQ(shotsSeen, std::vector<std::string>{"title"});
  WindowMessage taken;
  ASSERT_TRUE(takeWindowMessage(taken));
  feedReplayedInputAt(25);
  EXPECT_EQ(shotsSeen, (std::vector<std::string>{"title", "text-1"}));
  EXPECT_EQ(shotsNotTaken(), std::vector<std::string>{"end"});
  resetInputReplay();

  ASSERT_TRUE(parseInputReplay("0 shot skipped\n", events, error));
  startInputReplay(std::move(events), 0);
  feedReplayedInputAt(5);
  EXPECT_EQ(shotsSeen.size(), 2u);
  EXPECT_EQ(replayedEventsLeft(), 0u);
  resetInputReplay();
}

TEST(InputReplayFeed, PostsOnlyWhatHasComeDue) {
  resetMessageQueue();
  std::vector<ReplayedEvent> events;
  std::string error;
  ASSERT_TRUE(parseInputReplay("10 keydown 65\n20 keyup 65\n", events, error));
  startInputReplay(std::move(events), 1000);
  feedReplayedInputAt(1005);
  EXPECT_EQ(replayedEventsLeft(), 2u);
  feedReplayedInputAt(1010);
  EXPECT_EQ(replayedEventsLeft(), 1u);
  WindowMessage taken;
  ASSERT_TRUE(takeWindowMessage(taken));
  feedReplayedInputAt(2000);
  EXPECT_EQ(replayedEventsLeft(), 0u);
  resetInputReplay();
  resetMessageQueue();
}

// Events due together are handed over as the engine takes them, so it sees each before the next.
TEST(InputReplayFeed, PostsTheNextEventOnlyOnceTheLastHasBeenTaken) {
  resetMessageQueue();
  std::vector<ReplayedEvent> events;
  std::string error;
  ASSERT_TRUE(parseInputReplay("10 keydown 65\n20 keyup 65\n", events, error));
  startInputReplay(std::move(events), 1000);
  feedReplayedInputAt(2000);
  EXPECT_EQ(replayedEventsLeft(), 1u);
  feedReplayedInputAt(2000);
  EXPECT_EQ(replayedEventsLeft(), 1u) << "the key-down has not been taken yet";
  WindowMessage taken;
  ASSERT_TRUE(takeWindowMessage(taken));
  EXPECT_EQ(taken.kind, MessageKind::KeyDown);
  feedReplayedInputAt(2000);
  EXPECT_EQ(replayedEventsLeft(), 0u);
  resetInputReplay();
  resetMessageQueue();
}

// Time held off the replay's clock (a shot being taken) moves every later event by as much.
TEST(InputReplayFeed, HeldTimeMovesTheEventsAfterIt) {
  resetMessageQueue();
  std::vector<ReplayedEvent> events;
  std::string error;
  ASSERT_TRUE(parseInputReplay("10 keydown 65\n20 keyup 65\n", events, error));
  startInputReplay(std::move(events), 1000);
  holdReplayClock(500);
  uint32_t due = 0;
  ASSERT_TRUE(nextReplayedEventAt(due));
  EXPECT_EQ(due, 1510u);
  feedReplayedInputAt(1505);
  EXPECT_EQ(replayedEventsLeft(), 2u);
  feedReplayedInputAt(1510);
  EXPECT_EQ(replayedEventsLeft(), 1u);
  resetInputReplay();
  resetMessageQueue();
}

// The idle wait of draw2 ends when the next event falls due, on the engine's clock.
TEST(InputReplayFeed, TellsWhenTheNextEventFallsDue) {
  resetMessageQueue();
  std::vector<ReplayedEvent> events;
  std::string error;
  ASSERT_TRUE(parseInputReplay("10 keydown 65\n20 keyup 65\n", events, error));
  uint32_t due = 0;
  EXPECT_FALSE(nextReplayedEventAt(due)) << "nothing replayed, nothing due";
  startInputReplay(std::move(events), 1000);
  ASSERT_TRUE(nextReplayedEventAt(due));
  EXPECT_EQ(due, 1010u);
  feedReplayedInputAt(1010);
  ASSERT_TRUE(nextReplayedEventAt(due));
  EXPECT_EQ(due, 1020u);
  WindowMessage taken;
  ASSERT_TRUE(takeWindowMessage(taken));
  feedReplayedInputAt(1020);
  EXPECT_FALSE(nextReplayedEventAt(due)) << "every event posted";
  resetInputReplay();
  resetMessageQueue();
}

}  // namespace
}  // namespace vellum
