// Reading the server's length and body: which lengths are usable and how much body is kept.
#include <gtest/gtest.h>

#include "services/http_response.h"
#include "support/param_names.h"

namespace vellum {
namespace {

struct LengthCase {
  const char* text;
  int64_t expected;
};

class ContentLength : public ::testing::TestWithParam<LengthCase> {};

TEST_P(ContentLength, ParsesPlainDigitsUpToTheCap) {
  EXPECT_EQ(parseContentLength(GetParam().text, 1000), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Table, ContentLength,
                         ::testing::Values(LengthCase{" 12\r\n", 12}, LengthCase{"0", 0}, LengthCase{"1000", 1000},
                                           LengthCase{"1001", kUnusableLength}, LengthCase{"-5", kUnusableLength},
                                           LengthCase{"+5", kUnusableLength}, LengthCase{"5x", kUnusableLength},
                                           LengthCase{"", kUnusableLength}, LengthCase{"1 2", kUnusableLength},
                                           LengthCase{"99999999999999999999999", kUnusableLength}),
                         test::namedBy([](const LengthCase& c) { return c.text; }));

TEST(ResponseAssembler, TheLastResponsesLengthCounts) {
  ResponseAssembler r(100);
  r.headerLine("HTTP/1.1 302 Found\r\n");
  r.headerLine("Content-Length: 0\r\n");
  r.headerLine("HTTP/1.1 200 OK\r\n");
  EXPECT_EQ(r.announced(), kNoLength);
  r.headerLine("CONTENT-LENGTH: 4\r\n");
  EXPECT_EQ(r.announced(), 4);
  EXPECT_TRUE(r.bodyBytes("ab"));
  EXPECT_FALSE(r.bodyBytes("cdef"));
  EXPECT_TRUE(r.overflowed());
  EXPECT_EQ(r.body(), "abcd");
}

TEST(ResponseAssembler, DisagreeingLengthsAndMissingOnesKeepNoBody) {
  ResponseAssembler two(100);
  two.headerLine("Content-Length: 3\r\n");
  two.headerLine("Content-Length: 4\r\n");
  EXPECT_EQ(two.announced(), kUnusableLength);
  EXPECT_FALSE(two.bodyBytes("abc"));
  ResponseAssembler none(100);
  EXPECT_FALSE(none.bodyBytes("abc"));
  EXPECT_EQ(none.body(), "");
}

}  // namespace
}  // namespace vellum
