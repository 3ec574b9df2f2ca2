// Every tests/squirrel/conformance/NAME.nut runs in a fresh VM; what it prints must equal NAME.out.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "squirrel/squirrel_test_support.h"
#include "test_paths.h"

namespace vellum {
namespace {

std::filesystem::path conformanceFolder() {
  return std::filesystem::path(VELLUM_SOURCE_DIR) / "tests" / "squirrel" / "conformance";
}

std::vector<std::string> scriptNames() {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(conformanceFolder(), ec))
    if (entry.path().extension() == ".nut") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class SquirrelConformance : public ::testing::TestWithParam<std::string> {};

TEST_P(SquirrelConformance, PrintsTheExpectedOutput) {
  const std::string name = GetParam();
  const std::string source = readFile(conformanceFolder() / (name + ".nut"));
  const std::string expected = readFile(conformanceFolder() / (name + ".out"));
  test::SquirrelRun run;
  run.run(source, (name + ".nut").c_str());
  EXPECT_EQ(run.output(), expected);
}

INSTANTIATE_TEST_SUITE_P(Scripts, SquirrelConformance, ::testing::ValuesIn(scriptNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(SquirrelConformanceSuite, FindsTheScripts) { EXPECT_GE(scriptNames().size(), 15u); }

}  // namespace
}  // namespace vellum
