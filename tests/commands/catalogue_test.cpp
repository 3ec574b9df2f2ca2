#include <gtest/gtest.h>

#include <set>
#include <string>

#include "script/command_catalogue.h"
#include "script/command_registry.h"
#include "engine/startup.h"
#include "storage/hashes.h"

namespace vellum {
namespace {

std::set<std::string> catalogued() {
  std::set<std::string> names;
  for (std::string_view n : nativeBuiltinNames()) names.emplace(n);
  for (const CommandFamily& f : engineCommandFamilies())
    for (std::string_view n : f.names) names.emplace(n);
  return names;
}

std::set<std::string> withVmBuiltins() {
  std::set<std::string> names = catalogued();
  for (std::string_view n : vmBuiltinNames()) names.emplace(n);
  return names;
}

TEST(Catalogue, NamesAreUniqueAndEveryVmBuiltinIsKnown) {
  size_t count = nativeBuiltinNames().size();
  for (const CommandFamily& f : engineCommandFamilies()) count += f.names.size();
  EXPECT_EQ(catalogued().size(), count) << "a name appears twice";
  EXPECT_EQ(count, 67u + 314u);
  std::set<std::string> vmOnly = {"newScriptInteger", "newScriptString", "setScriptInteger", "setScriptString",
                                  "getScriptInteger", "getScriptString", "SetRenderTarget2"};
  for (std::string_view n : vmBuiltinNames()) {
    EXPECT_TRUE(catalogued().count(std::string(n)) || vmOnly.count(std::string(n))) << n;
  }
}

TEST(Catalogue, EveryProvidedBodyIsCataloguedAndRegistered) {
  resetAllState();
  registerAllCommands();
  const auto names = catalogued();
  const auto known = withVmBuiltins();
  for (const std::string& name : providedCommandNames()) {
    EXPECT_TRUE(known.count(name)) << name << " has a body but is not in the catalogue";
    if (names.count(name)) {
      EXPECT_TRUE(commandTables().registry.count(crc32Of(name))) << name;
    }
  }
  // Informational: how much of the catalogue has a body so far.
  std::string missing;
  int without = 0;
  for (const std::string& name : names) {
    if (providedCommand(name).empty()) {
      ++without;
      if (without <= 12) missing += name + " ";
    }
  }
  std::printf("catalogue: %zu names, %d without a body yet (e.g. %s...)\n", names.size(), without, missing.c_str());
  resetAllState();
}

TEST(Catalogue, NativeOnlyCommands) {
  EXPECT_TRUE(isNativeOnly("getTag"));
  EXPECT_TRUE(isNativeOnly("systemMessage"));
  EXPECT_FALSE(isNativeOnly("sp"));
}

}  // namespace
}  // namespace vellum
