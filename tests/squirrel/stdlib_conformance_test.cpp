// The standard libraries against programs with known output: each tests/squirrel/stdlib/NAME.nut
// runs in a VM with the libraries and must print exactly NAME.out. File names the programs use
// lead into a fresh temporary folder.
#include <gtest/gtest.h>

#include <vellum/squirrel_std.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "squirrel/standard_libraries.h"
#include "squirrel/stdlib/library_support.h"
#include "support/engine_fixture.h"
#include "support/temp_folder.h"
#include "test_paths.h"

namespace vellum {
namespace {

std::string printed;
std::string folder;

void collect(HSQUIRRELVM, const SQChar* format, ...) {
  va_list list;
  va_start(list, format);
  va_list again;
  va_copy(again, list);
  const int n = std::vsnprintf(nullptr, 0, format, list);
  va_end(list);
  if (n > 0) {
    std::vector<char> text(static_cast<size_t>(n) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    printed.append(text.data(), static_cast<size_t>(n));
  }
  va_end(again);
}

std::string underTheFolder(std::string_view path) { return folder + std::string(path); }

std::vector<std::string> programNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(VELLUM_SOURCE_DIR) + "/tests/squirrel/stdlib")) {
    if (entry.path().extension() == ".nut") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class StandardLibrary : public ::testing::TestWithParam<std::string> {};

TEST_P(StandardLibrary, PrintsTheExpectedOutput) {
  const std::string base = std::string(VELLUM_SOURCE_DIR) + "/tests/squirrel/stdlib/" + GetParam();
  const std::string source = test::readFileBytes(base + ".nut");
  const std::string expected = test::readFileBytes(base + ".out");
  test::TempFolder files;
  folder = files.withSlash();
  sqstd::setPathMapper(&underTheFolder);
  setenv("VELLUM_SQ_TEST_VARIABLE", "set", 1);
  printed.clear();

  HSQUIRRELVM v = sq_open(1024);
  ASSERT_NE(v, nullptr);
  sq_setprintfunc(v, &collect, &collect);
  registerSquirrelStandardLibraries(v);
  sqstd_seterrorhandlers(v);
  const std::string name = GetParam() + ".nut";
  if (SQ_SUCCEEDED(sq_compilebuffer(v, source.data(), static_cast<SQInteger>(source.size()), name.c_str(), SQTrue))) {
    sq_pushroottable(v);
    sq_call(v, 1, SQFalse, SQTrue);
  }
  sq_close(v);
  sqstd::setPathMapper(nullptr);
  EXPECT_EQ(printed, expected);
}

INSTANTIATE_TEST_SUITE_P(Programs, StandardLibrary, ::testing::ValuesIn(programNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace vellum
