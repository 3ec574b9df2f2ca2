#include <gtest/gtest.h>
#include "core/report.h"
TEST(Report, Placeholder) { EXPECT_EQ(vellum::ReportText("a", vellum::CodePage::Gbk).utf8(), "a"); }
