// A quit request ends the game whatever the script is waiting on: SIGTERM, SIGINT, SIGHUP and a
// replayed `quit` line each end the engine within a second, in the usual shutdown order (the
// settings written) and with exit status 0. One row per kind of waiting loop; new waiting
// commands add their loop to the table.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <ostream>

#include "engine_process.h"
#include "support/game_builder.h"

namespace vellum {
namespace {

using Clock = std::chrono::steady_clock;

struct WaitingLoop {
  const char* name;
  const char* script;  // runs after the screen is up and the ready file is written
};

const WaitingLoop kWaitingLoops[] = {
    {"Draw2Loop", "*wait\ndraw2\ngoto *wait\n"},
    {"DrawLoop", "*wait\ndraw\ngoto *wait\n"},
    {"LongSleep", "sleep 600000\n"},
    {"SleepLoop", "*wait\nsleep 5\ngoto *wait\n"},
    {"JumpOnlyLoop", "*wait\ngoto *wait\n"},
    {"SubroutineLoop", "*wait\ngosub *frame\ngoto *wait\n*frame\ndraw2\nreturn\n"},
    // Script functions that never return: Lua that draws or only counts, Squirrel that draws.
    {"LuaDrawLoop", "loadLua \"lua/loops.lua\"\nfuncLua drawForever, 0\ndrawForever\n"},
    {"LuaSpin", "loadLua \"lua/loops.lua\"\nfuncLua spinForever, 0\nspinForever\n"},
    {"SquirrelDrawLoop", "loadSqu \"squ/loops.nut\"\nfuncSqu drawForever, 0\ndrawForever\n"},
};

void PrintTo(const WaitingLoop& loop, std::ostream* out) { *out << loop.name; }

// How the quit is asked for.
enum class Request { Sigterm, Sigint, Sighup, ReplayedQuit };

const char* requestName(Request r) {
  switch (r) {
    case Request::Sigterm: return "Sigterm";
    case Request::Sigint: return "Sigint";
    case Request::Sighup: return "Sighup";
    case Request::ReplayedQuit: return "ReplayedQuit";
  }
  return "";
}

void PrintTo(Request r, std::ostream* out) { *out << requestName(r); }

// The replayed quit comes this long after start, well after the game reaches its loop (setting up
// the screen alone takes about two seconds on a loaded machine).
constexpr int kReplayedQuitMs = 5000;
// The engine must be gone this long after the request.
constexpr int kQuitWithinMs = 1000;
// Bounds that only keep a broken engine from hanging the suite.
constexpr int kStartUpLimitMs = 10000, kExitLimitMs = 10000;

class QuitWhileWaiting : public ::testing::TestWithParam<std::tuple<WaitingLoop, Request>> {
 protected:
  void SetUp() override {
    // An empty save.dat keeps the saves in the game folder without asking.
    std::ofstream(game / "save.dat");
    game.write("lua/loops.lua",
               "function drawForever() while true do draw2() end end\n"
               "function spinForever() local n = 0 while true do n = n + 1 end end\n");
    game.write("squ/loops.nut", "function drawForever() { while (true) draw2(); }\n");
  }
  std::string script(const WaitingLoop& loop) {
    return std::string("loadSetting \"/Co/\", \"Game/\"\n"
                       "screen 640, 480, 640, 2\n"
                       "saveFile \"ready.txt\", \"1\"\n") +
           loop.script;
  }
  std::vector<std::string> environment() { return {"XDG_RUNTIME_DIR=" + runtime.path().string()}; }

  test::TempFolder game, runtime, output;
};

TEST_P(QuitWhileWaiting, EndsWithinASecondWithTheSettingsWritten) {
  const auto& [loop, request] = GetParam();
  test::writeScriptContainer(game, {{"script/0.txt", script(loop)}});
  std::vector<std::string> arguments = {"--headless", "--game", game.path().string()};
  if (request == Request::ReplayedQuit) {
    std::ofstream(output / "input.txt") << kReplayedQuitMs << " quit\n";
    arguments.insert(arguments.end(), {"--input", (output / "input.txt").string()});
  }
  const auto started = Clock::now();
  test::EngineProcess engine(arguments, environment(), output.path());
  ASSERT_TRUE(engine.started());
  ASSERT_TRUE(test::waitForText(game / "ready.txt", "1", kStartUpLimitMs)) << test::readFileBytes(output / "err");
  // Let the loop run a while, so the request finds the engine inside it. Nothing below depends
  // on this being long enough: a request that comes sooner must end the engine all the same.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));

  Clock::time_point asked;
  if (request == Request::ReplayedQuit) {
    asked = started + std::chrono::milliseconds(kReplayedQuitMs);
    ASSERT_LT(Clock::now(), asked) << "the game started too slowly to reach its loop before the quit";
  } else {
    asked = Clock::now();
    engine.signal(request == Request::Sigterm ? SIGTERM : request == Request::Sigint ? SIGINT : SIGHUP);
  }
  const int exitCode = engine.waitForExit(kExitLimitMs);
  const auto tookMs = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - asked).count();

  EXPECT_EQ(exitCode, 0) << test::readFileBytes(output / "err");
  EXPECT_LT(tookMs, kQuitWithinMs);
  EXPECT_TRUE(std::filesystem::exists(game / "save/setting.dat"));
  EXPECT_EQ(test::readFileBytes(output / "err"), "");
}

// A quit that comes while the engine is still starting stops it there, and that is an orderly
// end too: exit status 0.
TEST(QuitDuringStartUp, EndsWithStatusZero) {
  test::TempFolder game, runtime, output;
  test::writeScriptContainer(game, {{"script/0.txt", "*wait\ndraw2\ngoto *wait\n"}});
  std::ofstream(output / "input.txt") << "0 quit\n";
  test::EngineProcess engine({"--headless", "--game", game.path().string(), "--input", (output / "input.txt").string()},
                             {"XDG_RUNTIME_DIR=" + runtime.path().string()}, output.path());
  EXPECT_EQ(engine.waitForExit(kExitLimitMs), 0) << test::readFileBytes(output / "err");
}

std::string caseName(const ::testing::TestParamInfo<QuitWhileWaiting::ParamType>& info) {
  return std::string(std::get<0>(info.param).name) + "_" + requestName(std::get<1>(info.param));
}

// Every loop with SIGTERM and the replayed quit (which no message pump has to see first).
INSTANTIATE_TEST_SUITE_P(EveryLoop, QuitWhileWaiting,
                         ::testing::Combine(::testing::ValuesIn(kWaitingLoops),
                                            ::testing::Values(Request::Sigterm, Request::ReplayedQuit)),
                         caseName);
// The other signals take the same path; one loop that never pumps messages is enough for them.
INSTANTIATE_TEST_SUITE_P(OtherSignals, QuitWhileWaiting,
                         ::testing::Combine(::testing::Values(kWaitingLoops[0]),
                                            ::testing::Values(Request::Sigint, Request::Sighup)),
                         caseName);

}  // namespace
}  // namespace vellum
