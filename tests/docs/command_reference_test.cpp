// The command reference written at build time lists every catalogued command exactly once, with
// the languages that have it.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "script/command_catalogue.h"
#include "script/command_summaries.h"
#include "test_paths.h"

namespace vellum {
namespace {

// Command name -> its row, from the generated Markdown.
std::map<std::string, std::vector<std::string>> referenceRows() {
  std::ifstream in(std::string(VELLUM_BINARY_DIR) + "/docs/commands.md");
  EXPECT_TRUE(in) << "the build writes docs/commands.md";
  std::map<std::string, std::vector<std::string>> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("| `", 0) != 0) continue;
    const size_t end = line.find('`', 3);
    rows[line.substr(3, end - 3)].push_back(line);
  }
  return rows;
}

TEST(CommandReference, ListsEveryCataloguedCommandOnceWithItsLanguages) {
  const auto rows = referenceRows();
  std::map<std::string, std::string> expected;  // name -> languages cell
  for (std::string_view name : nativeBuiltinNames()) expected[std::string(name)] = "native";
  for (std::string_view name : vmBuiltinNames()) {
    std::string& languages = expected[std::string(name)];
    languages = languages.empty() ? "Lua, Squirrel" : "native, Lua, Squirrel";
  }
  for (const CommandFamily& family : engineCommandFamilies()) {
    for (std::string_view name : family.names) {
      expected[std::string(name)] = isNativeOnly(name) ? "native" : "native, Lua, Squirrel";
    }
  }
  EXPECT_GT(expected.size(), 380u);
  for (const auto& [name, languages] : expected) {
    const auto found = rows.find(name);
    ASSERT_NE(found, rows.end()) << name << " is missing from the reference";
    ASSERT_EQ(found->second.size(), 1u) << name << " is listed more than once";
    EXPECT_NE(found->second[0].find("| " + languages + " |"), std::string::npos) << found->second[0];
  }
  EXPECT_EQ(rows.size(), expected.size()) << "the reference lists a command the catalogue does not have";
}

TEST(CommandReference, EveryFamilyIsDescribedAndRowsCarryTheArguments) {
  for (const CommandFamily& family : engineCommandFamilies()) {
    EXPECT_FALSE(familySummary(family.family).empty()) << family.family;
    for (std::string_view name : family.names) {
      if (const CommandSummary* s = commandSummary(name)) {
        EXPECT_EQ(s->name, name);
      }
    }
  }
  EXPECT_FALSE(familySummary("built-ins").empty());
  // The reference's rows are what the tables say.
  const auto rows = referenceRows();
  const auto sp = rows.find("sp");
  ASSERT_NE(sp, rows.end());
  EXPECT_NE(sp->second[0].find("`n, file, flags, division`"), std::string::npos) << sp->second[0];
}

}  // namespace
}  // namespace vellum
