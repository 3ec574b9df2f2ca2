// A line keeps what it compiled on its first run; once script text is replaced, the next run must
// follow the new text, even where the new bytes sit in the very same buffers as the old ones.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/command_registry.h"
#include "script/line_cache.h"
#include "script/script_state.h"
#include "script/tokenizer.h"
#include "script/variables.h"
#include "support/engine_fixture.h"

namespace vellum {
namespace {

struct ReplacedLine {
  const char* before;  // line 2, run once
  const char* after;   // same length, written over it in place
  int32_t n;           // %n after the replaced line has run
};

const ReplacedLine kReplacedLines[] = {
    {"cal %n += 1", "cal %n += 7", 7},
    {"cal %n = 2, %n *= 3", "cal %n = 2, %n -= 3", -1},
    {"if (%n == 0) cal %n = 5", "if (%n == 1) cal %n = 5", 0},
    {"for %1, 1, 3 : cal %n += 1 : next", "for %1, 1, 6 : cal %n += 1 : next", 6},
    {"for %1, 1, 3 : cal %n += 1 : next", "for %1, 1, 3 : cal %n += 2 : next", 6},
};

class CompiledLines : public test::EngineTest {
 protected:
  void SetUp() override {
    test::EngineTest::SetUp();
    registerAllCommands();
  }
  int32_t n() { return variables().namedInts["n"]; }
};

TEST_F(CompiledLines, ALineWrittenOverInPlaceRunsItsNewTextOnceScriptTextIsForgotten) {
  for (const ReplacedLine& row : kReplacedLines) {
    SCOPED_TRACE(row.after);
    resetVariables();
    ASSERT_TRUE(addScript("script/0.txt", std::string("int n\n") + row.before + "\n", 0));
    run();

    // Write the new tokens into the old strings, as a live reload that edits lines may.
    ScriptLine& line = scriptState().slots[0].lines[1];
    ScriptLine replacement;
    tokenizeLine(row.after, replacement);
    ASSERT_EQ(replacement.tokens.size(), line.tokens.size());
    for (size_t i = 0; i < line.tokens.size(); ++i) line.tokens[i].assign(replacement.tokens[i]);
    forgetCompiledScript();

    resetVariables();
    run();
    EXPECT_EQ(n(), row.n);
  }
}

TEST_F(CompiledLines, AScriptLoadedAgainRunsItsNewText) {
  ASSERT_TRUE(addScript("script/0.txt", "int n\nfor %1, 1, 2 : cal %n += 1 : next\n", 0));
  run();
  EXPECT_EQ(n(), 2);
  resetVariables();
  ASSERT_TRUE(addScript("script/0.txt", "int n\nfor %1, 1, 2 : cal %n += 4 : next\n", 0));
  run();
  EXPECT_EQ(n(), 8);
}

}  // namespace
}  // namespace vellum
