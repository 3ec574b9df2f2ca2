#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "test_paths.h"

namespace {

using SelfTest = int (*)(char*, size_t);

// The plug-in resolves its calls against this test binary's exported symbols; its first sine
// builds the table (nothing builds it before).
TEST(Plugin, CallsBackIntoTheExports) {
  void* library = dlopen(VELLUM_TEST_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  auto selfTest = reinterpret_cast<SelfTest>(dlsym(library, "vellum_plugin_selftest"));
  ASSERT_NE(selfTest, nullptr) << dlerror();

  char report[256] = {};
  EXPECT_EQ(selfTest(report, sizeof report), 1);
  EXPECT_EQ(std::string(report), "crc64=62EC59E3F1A4F00A itoa10=-1234567 utf8=E38090 sin=1.0000");
  EXPECT_EQ(dlclose(library), 0);
}

}  // namespace
