// vellum-pack dist: a starter game bundled for players is unpacked into a fresh folder and started
// by its own launcher with a bare environment, away from the build tree; its first screen is the
// title. The bundle's libraries are those the engine needs, less the system's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "support/shot_picture.h"
#include "support/temp_folder.h"
#include "test_paths.h"
#include "tool_runner.h"

namespace vellum::test {
namespace {

namespace fs = std::filesystem;

const std::string kPackTool = std::string(VELLUM_BINARY_DIR) + "/vellum-pack";

class DistBundle : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    work = new TempFolder;
    player = new TempFolder;
    bundled = new ProcessResult(runShell(work->path(), kPackTool + " new src && " + kPackTool +
                                                           " dist src -o harbour.tar.gz --from-utf8"));
    unpacked = runShell(player->path(), "tar -xzf " + quotedPath(*work / "harbour.tar.gz")).exitCode == 0;
  }
  static void TearDownTestSuite() {
    delete bundled;
    delete player;
    delete work;
    bundled = nullptr;
    player = nullptr;
    work = nullptr;
  }
  void SetUp() override {
    ASSERT_EQ(bundled->exitCode, 0) << bundled->err;
    ASSERT_TRUE(unpacked);
  }
  static fs::path bundle() { return *player / "harbour"; }

  static TempFolder* work;
  static TempFolder* player;
  static ProcessResult* bundled;
  static bool unpacked;
};

TempFolder* DistBundle::work = nullptr;
TempFolder* DistBundle::player = nullptr;
ProcessResult* DistBundle::bundled = nullptr;
bool DistBundle::unpacked = false;

void holdsTheGameTheEngineALauncherADesktopEntryAndAnIcon(const fs::path& bundle) {
  for (const char* file : {"harbour", "harbour.desktop", "icon.png", "bin/vellum", "game/script.dat", "game/arc0.dat"})
    EXPECT_TRUE(fs::is_regular_file(bundle / file)) << file;
  const auto executable = [](const fs::path& p) { return (fs::status(p).permissions() & fs::perms::owner_exec) != fs::perms::none; };
  EXPECT_TRUE(executable(bundle / "harbour"));
  EXPECT_TRUE(executable(bundle / "bin/vellum"));
  const std::string desktop = fileText(bundle / "harbour.desktop");
  EXPECT_NE(desktop.find("Name=harbour\n"), std::string::npos) << desktop;
  EXPECT_NE(desktop.find("Icon=harbour\n"), std::string::npos) << desktop;
  const ShotPicture icon(bundle / "icon.png");
  ASSERT_TRUE(icon.loaded());
  EXPECT_EQ(icon.width(), 128);
}

void bringsTheLibrariesADesktopMayLackAndLeavesTheSystemsOwn(const fs::path& player, const fs::path& bundle) {
  // Brought: the engine's own needs, the libraries it opens when a game first downloads or plays a
  // movie, and what they need; left to the system: the C library, GL, X11, Wayland, sound.
  for (const char* library : {"libSDL2-2.0.so.0", "libfreetype.so.6", "libpng16.so.16", "liblua5.2.so.0", "libstdc++.so.6",
                              "libcurl.so.4", "libssl.so.3", "libtheoradec.so.1"})
    EXPECT_TRUE(fs::is_regular_file(bundle / "lib" / library)) << library;
  for (const fs::directory_entry& entry : fs::directory_iterator(bundle / "lib")) {
    const std::string name = entry.path().filename().string();
    for (const char* system : {"libc.so", "libm.so", "ld-linux", "libGL", "libEGL", "libX11", "libxcb", "libwayland",
                               "libasound", "libpulse", "libdrm", "libgbm"})
      EXPECT_NE(name.rfind(system, 0), 0u) << name << " belongs to the player's system";
  }
  // With the launcher's library path, every library outside the system's own comes from the bundle.
  const ProcessResult ldd = runShell(player, "LD_LIBRARY_PATH=" + quotedPath(bundle / "lib") + " ldd harbour/bin/vellum");
  ASSERT_EQ(ldd.exitCode, 0);
  std::istringstream lines(ldd.out);
  for (std::string line; std::getline(lines, line);) {
    const size_t arrow = line.find(" => ");
    if (arrow == std::string::npos) continue;
    const std::string name = line.substr(line.find_first_not_of(" \t"), arrow - line.find_first_not_of(" \t"));
    if (fs::is_regular_file(bundle / "lib" / name)) {
      EXPECT_NE(line.find(bundle.string() + "/lib/"), std::string::npos) << line;
    }
    EXPECT_EQ(line.find("not found"), std::string::npos) << line;
  }
}

void itsLauncherStartsTheGameAtTheTitleInABareEnvironment(const fs::path& bundle) {
  // Nothing from the build tree or the test's environment but the lock folder, run from another
  // folder: the launcher finds everything beside itself. The loader's report (LD_DEBUG, into
  // files of its own) tells which libraries the engine really used.
  TempFolder elsewhere;
  elsewhere.write("title.txt", "4500 shot title\n4600 quit\n");
  const ProcessResult run = runShell(elsewhere.path(), "env -i XDG_RUNTIME_DIR=" + quotedPath(elsewhere / "run") +
                                                           " LD_DEBUG=libs LD_DEBUG_OUTPUT=" + quotedPath(elsewhere / "loader") +
                                                           " " + quotedPath(bundle / "harbour") +
                                                           " --headless --input title.txt --shots shots");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const ShotPicture title(elsewhere / "shots/title.png");
  ASSERT_TRUE(title.loaded());
  EXPECT_GT(title.brightPixels(500, 170, 780, 235), 500) << "the game's name";
  for (const int y : {380, 460, 540, 620}) EXPECT_GT(title.brightPixels(560, y - 16, 720, y + 16, 170), 60) << "button at y " << y;
  std::string loader;
  for (const fs::directory_entry& entry : fs::directory_iterator(elsewhere.path()))
    if (entry.path().filename().string().rfind("loader.", 0) == 0) loader += fileText(entry.path());
  EXPECT_NE(loader.find("init: " + (bundle / "lib/libSDL2-2.0.so.0").string()), std::string::npos) << "SDL from the bundle";
  EXPECT_NE(loader.find("init: " + (bundle / "lib/libstdc++.so.6").string()), std::string::npos) << "libstdc++ from the bundle";
  for (const char* later : {"libcurl", "libtheoradec"})
    EXPECT_EQ(loader.find(later), std::string::npos) << later << " waits for the game to need it";
}

TEST_F(DistBundle, UnpackedAnywhereItsLauncherStartsTheGameWithTheLibrariesItBrings) {
  {
    SCOPED_TRACE("HoldsTheGameTheEngineALauncherADesktopEntryAndAnIcon");
    holdsTheGameTheEngineALauncherADesktopEntryAndAnIcon(bundle());
  }
  {
    SCOPED_TRACE("BringsTheLibrariesADesktopMayLackAndLeavesTheSystemsOwn");
    bringsTheLibrariesADesktopMayLackAndLeavesTheSystemsOwn(player->path(), bundle());
  }
  {
    SCOPED_TRACE("ItsLauncherStartsTheGameAtTheTitleInABareEnvironment");
    itsLauncherStartsTheGameAtTheTitleInABareEnvironment(bundle());
  }
}

TEST(DistCommandLine, RefusesWhatItCannotShip) {
  TempFolder work;
  ASSERT_EQ(runShell(work.path(), kPackTool + " new src").exitCode, 0);
  struct Case {
    const char* arguments;
    int status;
    const char* report;
  };
  const Case cases[] = {
      {"dist src -o harbour.zip", 2, "names a .tar.gz file"},
      {"dist src -o 'two words.tar.gz'", 2, "cannot name the game's launcher"},
      {"dist nowhere -o x.tar.gz", 1, "neither a game source folder"},
      {"dist src -o x.tar.gz --engine nowhere/vellum", 1, "no engine there"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const ProcessResult r = runShell(work.path(), kPackTool + " " + c.arguments);
    EXPECT_EQ(r.exitCode, c.status);
    EXPECT_NE(r.err.find(c.report), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace vellum::test
