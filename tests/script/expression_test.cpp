#include <gtest/gtest.h>

#include <cmath>

#include "script/expression.h"
#include "script/variables.h"
#include "support/engine_fixture.h"
#include "support/param_names.h"

namespace vellum {
namespace {

struct ExpressionCase {
  const char* text;
  int type;
  double number;
  const char* string;  // nullptr: not checked
};

class Expressions : public test::EngineTest, public ::testing::WithParamInterface<ExpressionCase> {
 protected:
  void SetUp() override {
    test::EngineTest::SetUp();
    VariableStore& v = variables();
    v.ints[1] = 7;
    v.ints[2] = 1;
    v.ints[3] = 5;
    v.strings[0] = "hello";
    v.strings[4] = "AB";
    v.namedInts["count"] = 12;
    v.namedStrings["s"] = "xyz";
    v.namedStrings["which"] = "count";
  }
};

TEST_P(Expressions, Evaluate) {
  const ExpressionCase& c = GetParam();
  const Value v = evaluate(c.text);
  EXPECT_EQ(v.type, c.type) << c.text;
  if (c.type == kNumberValue) {
    EXPECT_DOUBLE_EQ(v.number, c.number) << c.text;
  }
  if (c.string) {
    EXPECT_EQ(v.text, c.string) << c.text;
  }
  // Compiled once, as a script line keeps it, and run twice: the same value each time.
  const CompiledExpression compiled(c.text);
  for (int run = 0; run < 2; ++run) {
    const Value again = evaluate(compiled);
    EXPECT_EQ(again.type, v.type) << c.text;
    EXPECT_EQ(again.text, v.text) << c.text;
    if (!std::isnan(v.number)) {
      EXPECT_EQ(again.number, v.number) << c.text;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Expressions,
    ::testing::Values(
        // arithmetic and precedence
        ExpressionCase{"1 + 2 * 3", 0, 7, nullptr}, ExpressionCase{"(1 + 2) * 3", 0, 9, nullptr},
        ExpressionCase{"7 / 2", 0, 3.5, nullptr}, ExpressionCase{"7 \\ 2", 0, 3, nullptr},
        ExpressionCase{"7 % 4", 0, 3, nullptr}, ExpressionCase{"10 - 2 - 3", 0, 5, nullptr},
        ExpressionCase{"1 < 2 == 1", 0, 1, nullptr}, ExpressionCase{"3 <= 3", 0, 1, nullptr},
        ExpressionCase{"3 >= 4", 0, 0, nullptr}, ExpressionCase{"1 << 4", 0, 16, nullptr},
        ExpressionCase{"-8 >> 1", 0, -4, nullptr}, ExpressionCase{"1 << 33", 0, 2, nullptr},
        // shift counts of the upper half of the 32 (taken modulo 32, never modulo 16)
        ExpressionCase{"1 << 16", 0, 65536, nullptr}, ExpressionCase{"3 << 20", 0, 3145728, nullptr},
        ExpressionCase{"1 << 31", 0, -2147483648.0, nullptr}, ExpressionCase{"1 << 48", 0, 65536, nullptr},
        ExpressionCase{"65536 >> 16", 0, 1, nullptr}, ExpressionCase{"0x7FFFFFFF >> 30", 0, 1, nullptr},
        ExpressionCase{"-65536 >> 16", 0, -1, nullptr}, ExpressionCase{"0x40000000 >> 62", 0, 1, nullptr},
        ExpressionCase{"6 & 3", 0, 2, nullptr}, ExpressionCase{"6 | 3", 0, 7, nullptr},
        ExpressionCase{"6 ^ 3", 0, 5, nullptr}, ExpressionCase{"2 && 3", 0, 1, nullptr},
        ExpressionCase{"0 || 0", 0, 0, nullptr}, ExpressionCase{"1 != 2", 0, 1, nullptr},
        // numbers
        ExpressionCase{"0x10", 0, 16, nullptr}, ExpressionCase{"0xFFFFFFFF", 0, 4294967295.0, nullptr},
        ExpressionCase{"2.5", 0, 2.5, nullptr},
        // prefix runs
        ExpressionCase{"-!0", 0, 1, nullptr}, ExpressionCase{"--5", 0, 5, nullptr},
        ExpressionCase{"!--5", 0, 0, nullptr}, ExpressionCase{"-5", 0, -5, nullptr},
        ExpressionCase{"!(0)", 0, 1, nullptr}, ExpressionCase{"!(3)", 0, 0, nullptr},
        // strings and comparison
        ExpressionCase{"\"abc\" == \"abc\"", 0, 1, nullptr}, ExpressionCase{"5 == \"5\"", 0, 0, nullptr},
        ExpressionCase{"\"ab\" < \"abc\"", 0, 1, nullptr}, ExpressionCase{"'a' + \"b\"", 1, 0, "ab"},
        ExpressionCase{"$0 + 2", 1, 0, "llo"}, ExpressionCase{"2 + $0", 1, 0, "llo"},
        ExpressionCase{"9 + $0", 1, 0, ""}, ExpressionCase{"$0 + 9", 1, 0, ""},
        ExpressionCase{"word", 1, 0, "word"},
        // variables
        ExpressionCase{"%1", 0, 7, nullptr}, ExpressionCase{"%%2", 0, 7, nullptr},
        ExpressionCase{"%count", 0, 12, nullptr}, ExpressionCase{"%$which", 0, 12, nullptr},
        ExpressionCase{"$s", 1, 0, "xyz"}, ExpressionCase{"$%2", 1, 0, ""},
        // conversions
        ExpressionCase{"$(%1)3", 1, 0, "007"}, ExpressionCase{"$(%1)", 1, 0, "7"},
        ExpressionCase{"$(2.9)", 1, 0, "2"}, ExpressionCase{"%(\"0x1F\")", 0, 31, nullptr},
        ExpressionCase{"%(\"12.5\")", 0, 12.5, nullptr},
        // byte reads and labels
        ExpressionCase{"*$4", 0, 65, nullptr}, ExpressionCase{"*($4)2", 0, 0x4241, nullptr},
        ExpressionCase{"*($4)4", 0, 0x4241, nullptr}, ExpressionCase{"*start", 1, 0, "*start"},
        ExpressionCase{"*my_label2", 1, 0, "*my_label2"},
        // nothing
        ExpressionCase{"", -1, 0, nullptr}, ExpressionCase{"   ", -1, 0, nullptr}),
    test::namedBy([](const ExpressionCase& c) { return c.text; }));

struct BadCase {
  const char* text;
};

class BadExpressions : public test::EngineTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(BadExpressions, ReportAndGiveNoValue) {
  const Value v = evaluate(GetParam().text);
  EXPECT_EQ(v.type, kNoValue) << GetParam().text;
  EXPECT_EQ(reports.boxes.size(), 1u) << GetParam().text;
  // A compiled form reports the same, on every run.
  const CompiledExpression compiled(GetParam().text);
  for (size_t run = 1; run <= 2; ++run) {
    EXPECT_EQ(evaluate(compiled).type, kNoValue) << GetParam().text;
    ASSERT_EQ(reports.boxes.size(), 1u + run) << GetParam().text;
    EXPECT_EQ(reports.boxes.back(), reports.boxes.front()) << GetParam().text;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, BadExpressions,
                         ::testing::Values(BadCase{"%undeclared"}, BadCase{"$nothing + 1"}, BadCase{"%256"},
                                           BadCase{"%-1"}, BadCase{"$300"}, BadCase{"*($0)5"}, BadCase{"%$nothing"}),
                         test::namedBy([](const BadCase& c) { return c.text; }));

TEST_F(Expressions, FindVariableNeedsExactlyOneReference) {
  EXPECT_EQ(findIntVariable("%1"), &variables().ints[1]);
  EXPECT_EQ(findIntVariable(" %count "), &variables().namedInts["count"]);
  EXPECT_EQ(findStringVariable("$%2"), &variables().strings[1]);
  EXPECT_EQ(findIntVariable("%1 + 1"), nullptr);
  EXPECT_EQ(findIntVariable("$0"), nullptr);
  EXPECT_EQ(findIntVariable("%nope"), nullptr);
  EXPECT_TRUE(reports.boxes.empty());
}

}  // namespace
}  // namespace vellum
