// The built-ins as the script VMs see them: the same bodies, inputs without the native output
// arguments, results pushed (arrays for several values, nil for none).
#include <gtest/gtest.h>

#include <string>

#include "script/builtins/fake_vm.h"
#include "script/builtins/file_list.h"
#include "script/builtins/script_vm_bodies.h"
#include "support/engine_fixture.h"

namespace vellum {
namespace {

using test::Array;
using test::FakeVm;
using test::Nil;
using test::VmValue;

class VmForms : public test::EngineTest {};

int32_t intOf(const VmValue& v) { return std::get<int32_t>(v); }
const std::string& textOf(const VmValue& v) { return std::get<std::string>(v); }

TEST_F(VmForms, CountAndMatchTakeTheirInputsFirst) {
  auto pushed = FakeVm::call("count", {std::string("abcb"), std::string("b")});
  ASSERT_EQ(pushed.size(), 1u);
  EXPECT_EQ(intOf(pushed[0]), 2);
  pushed = FakeVm::call("match", {std::string("abc"), std::string("c")});
  ASSERT_EQ(pushed.size(), 1u);
  EXPECT_EQ(intOf(pushed[0]), 2);
  pushed = FakeVm::call("match", {std::string("abc"), std::string("bc")});
  ASSERT_EQ(pushed.size(), 1u);
  EXPECT_TRUE(std::holds_alternative<Nil>(pushed[0]));
  EXPECT_EQ(reports.boxes.size(), 1u);
}

TEST_F(VmForms, RegexpMatchGivesAnArrayOrNil) {
  auto pushed = FakeVm::call("regexp_match", {std::string("hello world"), std::string("m/wor/")});
  ASSERT_EQ(pushed.size(), 1u);
  const Array expected{{1, 6}, {2, 3}, {3, std::string("wor")}};
  EXPECT_EQ(std::get<Array>(pushed[0]), expected);
  for (const char* pattern : {"m/z/", "m/x*/"}) {
    pushed = FakeVm::call("regexp_match", {std::string("abc"), std::string(pattern)});
    ASSERT_EQ(pushed.size(), 1u);
    EXPECT_TRUE(std::holds_alternative<Nil>(pushed[0])) << pattern;
  }
}

TEST_F(VmForms, RewritingFunctionsReturnTheirResult) {
  EXPECT_EQ(intOf(FakeVm::call("regexp_count", {std::string("foo"), std::string("s/o/0/g")})[0]), 2);
  EXPECT_EQ(textOf(FakeVm::call("regexp_replace", {std::string("foo"), std::string("s/o/0/g")})[0]), "f00");
  EXPECT_EQ(textOf(FakeVm::call("regexp_trans", {std::string("abc"), std::string("tr/a-c/A-C/")})[0]), "ABC");
  EXPECT_TRUE(std::holds_alternative<Nil>(FakeVm::call("regexp_create", {})[0]));
}

TEST_F(VmForms, SplitsGiveArrays) {
  auto pushed = FakeVm::callBody(&splitVmBody, {std::string("a,,b"), std::string(",")});
  EXPECT_EQ(std::get<Array>(pushed.at(0)), (Array{{1, std::string("a")}, {2, std::string()}, {3, std::string("b")}}));
  pushed = FakeVm::callBody(&regexpSplitVmBody, {std::string("a1b22c"), std::string("/[0-9]+/")});
  EXPECT_EQ(std::get<Array>(pushed.at(0)),
            (Array{{1, std::string("a")}, {2, std::string("b")}, {3, std::string("c")}}));
}

TEST_F(VmForms, PathPartsAndFiles) {
  EXPECT_EQ(textOf(FakeVm::call("getBaseName", {std::string("a/b/c.tar.gz")})[0]), "c.tar");
  EXPECT_EQ(textOf(FakeVm::call("getParentFolderName", {std::string("a/b/c.tar.gz")})[0]), "a/b/");
  game.write("x.txt", "x");
  EXPECT_EQ(intOf(FakeVm::call("existFile", {std::string("x.txt")})[0]), 1);
  EXPECT_EQ(intOf(FakeVm::call("copyFile", {std::string("x.txt"), std::string("y/z.txt")})[0]), 1);
  EXPECT_EQ(intOf(FakeVm::call("moveFile", {std::string("y/z.txt"), std::string("w.txt")})[0]), 1);
  EXPECT_EQ(intOf(FakeVm::call("deleteFile", {std::string("w.txt")})[0]), 1);
  EXPECT_EQ(test::readFileBytes(game / "x.txt"), "x");
}

TEST_F(VmForms, GetFileListTakesTheIndexFirst) {
  fileList().names = {"a.png", "b.png"};
  EXPECT_EQ(textOf(FakeVm::call("getFileList", {1})[0]), "b.png");
  EXPECT_TRUE(std::holds_alternative<Nil>(FakeVm::call("getFileList", {2})[0]));
  resetFileList();
}

TEST_F(VmForms, DatesAndTimes) {
  const auto pushed = FakeVm::call("getLocalTime", {});
  ASSERT_EQ(pushed.size(), 1u);
  const Array& fields = std::get<Array>(pushed[0]);
  ASSERT_EQ(fields.size(), 6u);
  EXPECT_GE(std::get<int32_t>(fields.at(1)), 2024);
  EXPECT_GE(std::get<int32_t>(fields.at(2)), 1);
  EXPECT_LE(std::get<int32_t>(fields.at(2)), 12);
  EXPECT_EQ(intOf(FakeVm::call("getWeek", {2024, 1, 1})[0]), 1);
  EXPECT_GE(intOf(FakeVm::call("getTimer", {})[0]), 0);
}

}  // namespace
}  // namespace vellum
