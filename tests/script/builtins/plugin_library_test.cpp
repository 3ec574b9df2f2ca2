// loadLibrary and freeLibrary with a plug-in that has the two device hooks.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/plugin_loader.h"
#include "script/command_registry.h"
#include "script/builtins/packed_game.h"
#include "script/builtins/plugin_libraries.h"
#include "support/engine_fixture.h"
#include "test_paths.h"

namespace vellum {
namespace {

using Counts = void (*)(int*, int*);

class PluginLibraries : public test::EngineTest {
 protected:
  void SetUp() override {
    test::EngineTest::SetUp();
    registerAllCommands();
  }
  void TearDown() override {
    freeAllPluginLibraries();
    test::EngineTest::TearDown();
  }
  void install(const std::string& relative) const {
    std::filesystem::create_directories((game / relative).parent_path());
    std::filesystem::copy_file(VELLUM_DEVICE_PLUGIN_PATH, game / relative);
  }
  void runScript(const std::string& utf8) {
    ASSERT_TRUE(addScript("script/0.txt", test::gbk(utf8), 0));
    run();
  }
};

TEST_F(PluginLibraries, LoadsFromThePluginFolderAndKeepsTheHooks) {
  install("plugin/device.so");
  runScript("loadLibrary \"device.dll\"\n");
  ASSERT_EQ(pluginLibraries().size(), 1u);
  const PluginLibrary& library = pluginLibraries()[0];
  EXPECT_EQ(library.path, "device.dll");
  ASSERT_NE(library.deviceLost, nullptr);
  ASSERT_NE(library.deviceReset, nullptr);
  notifyDeviceLost();
  notifyDeviceReset();
  notifyDeviceReset();
  int lost = 0, reset = 0;
  reinterpret_cast<Counts>(dlsym(library.handle, "device_plugin_counts"))(&lost, &reset);
  EXPECT_EQ(lost, 1);
  EXPECT_EQ(reset, 2);
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(PluginLibraries, LoadsFromTheGameFolderFirst) {
  install("libs/device.so");
  runScript("loadLibrary \"libs/device.so\"\nfreeLibrary \"libs/device.so\"\n");
  EXPECT_TRUE(pluginLibraries().empty());
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(PluginLibraries, AMissingLibraryReportsAndKeepsNoRecord) {
  runScript("loadLibrary \"missing.dll\"\n");
  EXPECT_TRUE(pluginLibraries().empty());
  ASSERT_EQ(reports.shownBoxes.size(), 1u);
  EXPECT_EQ(reports.shownBoxes[0], "missing.dll 不能读入\r\nscript/0.txt[1] loadLibrary");
}

TEST_F(PluginLibraries, FreeingWhatIsNotLoadedReportsAndChangesNothing) {
  install("plugin/device.so");
  runScript("loadLibrary \"device.dll\"\nfreeLibrary \"device.so\"\n");
  EXPECT_EQ(pluginLibraries().size(), 1u);
  ASSERT_EQ(reports.shownBoxes.size(), 1u);
  EXPECT_EQ(reports.shownBoxes[0], "device.so は読み込まれていないので解放出来ませんでした\r\nscript/0.txt[2] freeLibrary");
}

// The loader of builds without dlopen: plug-ins linked into the program, found by file name.
int linkedLoads = 0, linkedResets = 0;
void linkedPluginLoad() { ++linkedLoads; }
void linkedDeviceReset() { ++linkedResets; }

class LinkedPluginLibraries : public PluginLibraries {
 protected:
  void SetUp() override {
    PluginLibraries::SetUp();
    linkedLoads = linkedResets = 0;
    setPluginOpener(linkedPluginOpener());
  }
  void TearDown() override {
    PluginLibraries::TearDown();
    resetPluginLoader();
  }
};

TEST_F(LinkedPluginLibraries, FindsALinkedInPluginByItsFileNameAndCallsItsHooks) {
  registerLinkedPlugin({"Effects.so", &linkedPluginLoad,
                        {{"DeviceReset", reinterpret_cast<void*>(&linkedDeviceReset)}}});
  runScript("loadLibrary \"effects.dll\"\nloadLibrary \"plugin/effects.so\"\nfreeLibrary \"effects.dll\"\n");
  EXPECT_TRUE(reports.boxes.empty());
  ASSERT_EQ(pluginLibraries().size(), 1u);
  EXPECT_EQ(linkedLoads, 1);  // once, like a library's constructors
  EXPECT_EQ(pluginLibraries()[0].deviceLost, nullptr);
  notifyDeviceReset();
  EXPECT_EQ(linkedResets, 1);
}

TEST_F(LinkedPluginLibraries, APluginThatIsNotLinkedInSaysSo) {
  registerLinkedPlugin({"effects.so", nullptr, {}});
  runScript("loadLibrary \"device.dll\"\n");
  EXPECT_TRUE(pluginLibraries().empty());
  ASSERT_EQ(reports.shownBoxes.size(), 1u);
  EXPECT_EQ(reports.shownBoxes[0],
            "device.dll 不能读入: no plug-in of this name is linked into this build\r\nscript/0.txt[1] loadLibrary");
}

TEST(PluginLibrariesInAGame, LoadAndFree) {
  const test::PackedGame game("loadLibrary \"device.dll\"\nfreeLibrary \"device.dll\"\nfreeLibrary \"device.dll\"\n");
  std::filesystem::create_directories(game.folder() / "plugin");
  std::filesystem::copy_file(VELLUM_DEVICE_PLUGIN_PATH, game.folder() / "plugin/device.so");
  EXPECT_EQ(game.run().err,
            "Error: device.dll は読み込まれていないので解放出来ませんでした | script/0.txt[3] freeLibrary\n");
}

}  // namespace
}  // namespace vellum
