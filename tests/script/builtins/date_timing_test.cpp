// getWeek, getLocalTime, rand, the timing commands and getArg, run natively in the interpreter.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <random>
#include <string>

#include "script/command_registry.h"
#include "base/engine_state.h"
#include "base/clock.h"
#include "persist/play_time.h"
#include "script/builtins/random_generator.h"
#include "script/variables.h"
#include "support/engine_fixture.h"
#include "support/fake_clock.h"
#include "support/param_names.h"

namespace vellum {
namespace {

class NativeBuiltins : public test::EngineTest {
 protected:
  void SetUp() override {
    test::EngineTest::SetUp();
    registerAllCommands();
  }
  void runScript(const std::string& utf8) {
    ASSERT_TRUE(addScript("script/0.txt", test::gbk(utf8), 0));
    run();
  }
  int32_t integer(int i) const { return variables().ints[static_cast<size_t>(i)]; }
};

struct WeekCase {
  int year, month, day, weekday;
};

class GetWeek : public NativeBuiltins, public ::testing::WithParamInterface<WeekCase> {};

TEST_P(GetWeek, GivesTheDayOfTheWeek) {
  const WeekCase& c = GetParam();
  runScript("getWeek " + std::to_string(c.year) + ", " + std::to_string(c.month) + ", " + std::to_string(c.day) +
            ", %1\n");
  EXPECT_EQ(integer(1), c.weekday);
}

INSTANTIATE_TEST_SUITE_P(Table, GetWeek,
                         ::testing::Values(WeekCase{1970, 1, 1, 4}, WeekCase{2000, 2, 29, 2}, WeekCase{2024, 1, 1, 1},
                                           WeekCase{2024, 12, 31, 2}, WeekCase{1900, 3, 1, 4}, WeekCase{2100, 1, 1, 5},
                                           // Days and months past their end carry over.
                                           WeekCase{2024, 1, 32, 4}, WeekCase{2023, 13, 1, 1},
                                           WeekCase{2024, 0, 1, 5}),
                         test::namedBy([](const WeekCase& c) { return test::testNameOf(c.year, c.month, c.day); }));

TEST_F(NativeBuiltins, LocalTimeFillsSixVariables) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  runScript("getLocalTime %1, %2, %3, %4, %5, %6\n");
  EXPECT_EQ(integer(1), local.tm_year + 1900);
  EXPECT_EQ(integer(2), local.tm_mon + 1);
  EXPECT_GE(integer(3), 1);
  EXPECT_LE(integer(4), 23);
  EXPECT_LE(integer(5), 59);
  EXPECT_LE(integer(6), 60);
}

TEST_F(NativeBuiltins, RandIsMinPlusTheNextValueModuloTheSpan) {
  scriptRandomGenerator().seed(20240601);
  std::mt19937 expected(20240601);
  runScript("rand %1, 10, 19\nrand %2, -5, 5\nrand %3, 0, -1\nrand %4, 7, 7\n");
  EXPECT_EQ(integer(1), static_cast<int32_t>(10 + expected() % 10));
  EXPECT_EQ(integer(2), static_cast<int32_t>(static_cast<uint32_t>(-5) + expected() % 11));
  // 0 .. -1 spans all 2^32 values: the raw value itself.
  EXPECT_EQ(integer(3), static_cast<int32_t>(expected()));
  EXPECT_EQ(integer(4), 7);
}

TEST_F(NativeBuiltins, TimersCountFromTheStart) {
  test::fakeNow = 100000;
  setTickSource(&test::fakeClock);
  engine().startTime = test::fakeNow - 5000;
  carriedPlaySeconds() = 100;
  runScript("getTimer %1\ntimeGetTime %2\ngetStartTime %3\ngetTotalTime %4\n");
  carriedPlaySeconds() = 0;
  setTickSource(nullptr);
  EXPECT_EQ(integer(1), 5000);
  EXPECT_EQ(integer(2), 100000);
  EXPECT_EQ(integer(3), 95000);
  EXPECT_EQ(integer(4), 105);
}

TEST_F(NativeBuiltins, SleepWaitsTheGivenTime) {
  const auto before = std::chrono::steady_clock::now();
  runScript("sleep 30\nsleep 0\nsleep -5\n");
  EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(30));
  EXPECT_EQ(engine().quitFlag, 0);
}

TEST_F(NativeBuiltins, GetArgGivesTheGameArgumentsAsGbk) {
  engine().gameArguments = {"first", "第二"};
  runScript("getArg 0, $1\ngetArg 1, $2\ngetArg 2, $3\ngetArg -1, $4\n");
  const auto& s = variables().strings;
  EXPECT_EQ(s[1], "first");
  EXPECT_EQ(s[2], test::gbk("第二"));
  EXPECT_EQ(s[3], "");
  EXPECT_EQ(s[4], "");
}

}  // namespace
}  // namespace vellum
