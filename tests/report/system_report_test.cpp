// Information.txt as the screen set-up leaves it: the machine description, then the title and the
// full-screen rectangles; the error box appends to the same file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/engine_state.h"
#include "base/report.h"
#include "persist/engine_settings.h"
#include "report/system_report.h"
#include "report/system_report_format.h"
#include "shell/display/screen_geometry.h"
#include "support/engine_fixture.h"

namespace vellum {
namespace {

namespace fs = std::filesystem;

class SystemReport : public test::EngineTest {
 protected:
  static MachineProbe fakeProbe() {
    MachineProbe p;
    p.executable = {"", "/opt/q/", "vellum", true, 2026, 12, 9, 1, 2, 3};
    p.computerName = "host";
    p.systems = {{"Linux", true, "6.1", "", 2048 * 1024, 8192 * 1024}};
    p.processor = {"AuthenticAMD", "Test CPU", 0, 2, 4, 0, 0};
    p.video = {{"GPU A", 256ull << 20, "drv", "1.0", "1920 x 1080 x 16777216 colors", "60"},
               {"GPU B", 1024ull << 20, "drv", "1.0", "", ""}};
    return p;
  }
  static ScreenGeometry wideGeometry() {
    ScreenGeometry g;
    const FullScreenLayout l = computeFullScreenLayout(1280, 720, 1920, 1200);
    g.src = l.src;
    g.dest = l.dest;
    return g;
  }
  std::string report() const { return test::readFileBytes(game / "Information.txt"); }
};

TEST_F(SystemReport, RewritesTheFileThenOthersAppend) {
  game.write("Information.txt", "an old run\n");
  ASSERT_EQ(writeSystemReport(fakeProbe()), 1);
  ASSERT_TRUE(appendGeometryReport("Quillmere", wideGeometry()));
  showErrorBox(ReportText().ascii("later"));
  EXPECT_EQ(report(), formatSystemReport(fakeProbe()) +
                          "Quillmere\n"
                          "Src1    0,    0, 1280,  720\tDest1    0,    0, 1920, 1200\n"
                          "Src2    0,    0, 1280,  720\tDest2  320,  240, 1600,  960\n"
                          "Src3    0,    0, 1280,  720\tDest3    0,   60, 1920, 1140\n"
                          "Src4    0,    0, 1280,  720\tDest3 -107,    0, 2026, 1200\n"
                          "later\n");
}

TEST_F(SystemReport, KeepsTheFreeMemoryAndTheFirstVideoMemory) {
  ASSERT_EQ(writeSystemReport(fakeProbe()), 1);
  EXPECT_EQ(machineMemory().freeMiB, 2048);
  EXPECT_EQ(machineMemory().videoMiB, 256);
  MachineProbe second = fakeProbe();
  second.systems[0].freeKiB = 1024 * 1024;
  second.video[0].adapterRamBytes = 8ull << 30;
  ASSERT_EQ(writeSystemReport(second), 1);
  EXPECT_EQ(machineMemory().freeMiB, 1024);
  EXPECT_EQ(machineMemory().videoMiB, 256);  // measured once
}

TEST_F(SystemReport, GoesToTheUserDataFolderMadeOnDemand) {
  engine().userDataDirectory = (game / "Documents/Co/Game/").string();
  ASSERT_EQ(writeSystemReport(fakeProbe()), 1);
  EXPECT_TRUE(fs::is_regular_file(game / "Documents/Co/Game/Information.txt"));
  EXPECT_FALSE(fs::exists(game / "Information.txt"));
  EXPECT_EQ(informationFilePath(), (game / "Documents/Co/Game/Information.txt").string());
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(SystemReport, AFolderThatCannotBeMadeWritesNothing) {
  game.write("blocked", "a file where the folder should be");
  engine().userDataDirectory = (game / "blocked/sub/").string();
  EXPECT_EQ(writeSystemReport(fakeProbe()), 0);
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(SystemReport, AFileThatCannotBeCreatedIsShownInTheErrorBox) {
  fs::create_directories(game / "Information.txt");  // a folder in the file's place
  EXPECT_EQ(writeSystemReport(fakeProbe()), 0);
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(reports.boxes[0].rfind("PrintVideoController\nInformation.txt ", 0), 0u) << reports.boxes[0];
  EXPECT_GT(reports.boxes[0].size(), std::string("PrintVideoController\nInformation.txt ").size());
}

TEST_F(SystemReport, SettingsLinesWhenTheDialogQuits) {
  ASSERT_EQ(writeSystemReport(fakeProbe()), 1);
  settings().resolution = 1280;
  ASSERT_TRUE(appendSettingsReport());
  const std::string text = report();
  EXPECT_NE(text.find("\nResolution1280 ScreenAspect"), std::string::npos) << text;
}

// This machine, through the real probe: the report is written and its fixed lines are there.
TEST_F(SystemReport, RealProbeWritesPlausibleLines) {
  ASSERT_EQ(writeSystemReport(DisplayProbe{{{1920, 1080, 24, 60}}}, wideGeometry(), "Quillmere"), 1);
  const std::string text = report();
  EXPECT_EQ(text.rfind("Cwd: /", 0), 0u) << text;
  for (const char* piece : {"\nUID : ", "\nOS : ", " (", "\nMemoy : ", "\n\tPC", " LC",
                            "\nMode : 1920 x 1080 24bit 60Hz\n", "\nQuillmere\nSrc1 "}) {
    EXPECT_NE(text.find(piece), std::string::npos) << piece << "\n" << text;
  }
  EXPECT_EQ(text.substr(text.size() - 57), "Src4    0,    0, 1280,  720\tDest3 -107,    0, 2026, 1200\n");
  const MachineProbe probe = probeMachine();
  EXPECT_GT(probe.systems.at(0).totalKiB, 0);
  EXPECT_GE(probe.processor.physicalCores, 1);
  EXPECT_GE(probe.processor.logicalProcessors, probe.processor.physicalCores);
  EXPECT_GT(machineMemory().freeMiB, 0);
}

}  // namespace
}  // namespace vellum
