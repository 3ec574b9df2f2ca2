// The lines of Information.txt from a probe filled by hand.
#include <gtest/gtest.h>

#include <vellum/exports.h>

#include <string>

#include "persist/engine_settings.h"
#include "report/system_report_format.h"
#include "shell/display/screen_geometry.h"
#include "support/param_names.h"

namespace vellum {
namespace {

constexpr uint32_t kMmx = 1u << 23, kSse = 1u << 25, kSse2 = 1u << 26;
constexpr uint32_t kSse3 = 1u << 0, kSsse3 = 1u << 9, kSse41 = 1u << 19, kSse42 = 1u << 20;

MachineProbe amdMachine() {
  MachineProbe p;
  p.executable = {"", "/opt/games/quill/", "vellum", true, 2026, 3, 4, 5, 6, 7};
  p.computerName = "PC";
  p.volumeSerial = 0x1234ABCD;
  p.models = {{"Framework", "Laptop 13"}};
  p.systems = {
      {"Debian GNU/Linux 12 (bookworm)", true, "6.1.0-18-amd64", "", 4 * 1024 * 1024 + 1023, 16 * 1024 * 1024}};
  const uint32_t ecx = kSse3 | kSsse3 | kSse41 | kSse42, edx = kMmx | kSse | kSse2;
  p.processor = {"AuthenticAMD", "AMD Ryzen 7 7840U", 5132, 8, 16, ecx, edx};
  p.memory = {{8ull << 30, "5600"}, {8ull << 30, ""}};
  p.sound = {{"HDA-Intel", "HD-Audio Generic"}};
  p.video = {{"AMD Phoenix1", 512ull << 20, "amdgpu", "", "2256 x 1504 x 4294967296 colors", "60"}};
  return p;
}

TEST(SystemReportFormat, EveryLineInOrder) {
  const MachineProbe p = amdMachine();
  const std::string uid = ulltos32(crc64_hash("PC1234ABCD"));
  EXPECT_EQ(formatSystemReport(p),
            "Cwd: /opt/games/quill/\n"
            "\tvellum: 2026/03/04 05:06:07\n"
            "UID : " + uid + "\n"
            "Model : Framework / Laptop 13\n"
            "OS : Debian GNU/Linux 12 (bookworm) 64bit (6.1.0-18-amd64) \n"
            "CPU : AMD Ryzen 7 7840U ~5132MHz\n"
            "\tPC8 LC16 MMX SSE SSE2 SSE3 SSSE3 SSE4.1 SSE4.2\n"
            "RAM : 8192MB / 5600MHz\n"
            "RAM : 8192MB\n"
            "Memoy : 4096/16384MB\n"
            "Sound : HDA-Intel / HD-Audio Generic\n"
            "GPU : AMD Phoenix1\n"
            "VRAM : 512MB\n"
            "Driver : amdgpu \n"
            "Mode : 2256 x 1504 32bit 60Hz\n");
}

TEST(SystemReportFormat, IntelHasNoClockAndMissingPartsAreEmptyOrZero) {
  MachineProbe p;
  p.executable.folder = "/g/";
  p.processor = {"GenuineIntel", "Intel(R) Core(TM) i5", 3000, 0, 0, 0, 0};
  p.video = {{}};
  const std::string text = formatSystemReport(p);
  EXPECT_EQ(text,
            "Cwd: /g/\n"
            "UID : " + ulltos32(crc64_hash("00000000")) + "\n"
            "CPU : Intel(R) Core(TM) i5\n"
            "\t\n"
            "Memoy : 0/0MB\n"
            "GPU : \n"
            "VRAM : 0MB\n"
            "Driver :  \n"
            "Mode : 0 x 0 0bit Hz\n");
}

TEST(SystemReportFormat, WithoutAProcessorNameTheLineStillEnds) {
  MachineProbe p;
  p.processor.vendor = "CentaurHauls";
  p.processor.mhz = 1200;
  p.processor.physicalCores = 1;
  p.processor.logicalProcessors = 4;
  const std::string text = formatSystemReport(p);
  EXPECT_NE(text.find("\n ~1200MHz\n\tPC1 LC4\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("CPU :"), std::string::npos);
}

TEST(SystemReportFormat, AFailedQueryEndsTheReport) {
  MachineProbe p;
  p.failureCode = 0x80041003;
  p.failureText = "Access denied";
  const std::string text = formatSystemReport(p);
  EXPECT_EQ(text.substr(text.size() - 25), "80041003 : Access denied\n");
}

TEST(MachineIdentifier, CrcOfNameAndSerialInBaseThirtyTwo) {
  EXPECT_EQ(machineIdentifier("PC", 0x1234ABCD), ulltos32(crc64_hash("PC1234ABCD")));
  EXPECT_EQ(machineIdentifier("", 0xabc), ulltos32(crc64_hash("00000ABC")));
}

struct ModeCase {
  const char* text;
  bool ok;
  int32_t width, height, bits;
};

class VideoModes : public ::testing::TestWithParam<ModeCase> {};

TEST_P(VideoModes, GiveWidthHeightAndBits) {
  const ModeCase& c = GetParam();
  VideoMode m;
  EXPECT_EQ(parseVideoModeDescription(c.text, m), c.ok) << c.text;
  EXPECT_EQ(m.width, c.width);
  EXPECT_EQ(m.height, c.height);
  EXPECT_EQ(m.bits, c.bits);
}

INSTANTIATE_TEST_SUITE_P(Table, VideoModes,
                         ::testing::Values(ModeCase{"1920 x 1080 x 4294967296 colors", true, 1920, 1080, 32},
                                           ModeCase{"1024 x 768 x 65536 colors", true, 1024, 768, 16},
                                           ModeCase{"800 x 600 x 16777216 colors", true, 800, 600, 24},
                                           ModeCase{"640 x 480 x 3 colors", true, 640, 480, 1},
                                           ModeCase{"640 x 480 x 1 colors", true, 640, 480, 0},
                                           ModeCase{"640 x 480 x 0 colors", true, 640, 480, 0},
                                           ModeCase{"", false, 0, 0, 0}, ModeCase{"1920x1080", false, 0, 0, 0}),
                         test::namedBy([](const ModeCase& c) { return c.text; }));

TEST(VideoModes, DescriptionOfADisplayModeRoundTrips) {
  EXPECT_EQ(videoModeDescription({1920, 1080, 32, 60}), "1920 x 1080 x 4294967296 colors");
  VideoMode m;
  ASSERT_TRUE(parseVideoModeDescription(videoModeDescription({2560, 1440, 24, 144}), m));
  EXPECT_EQ(m.bits, 24);
  EXPECT_EQ(videoModeDescription({1, 1, 99, 0}), "1 x 1 x 9223372036854775808 colors");
}

TEST(AttachDisplayModes, ControllersTakeTheDisplaysInOrder) {
  MachineProbe p;
  p.video = {{"GPU A"}};
  attachDisplayModes(p, {{{1920, 1080, 24, 60}, {1280, 1024, 32, 0}}});
  ASSERT_EQ(p.video.size(), 2u);
  EXPECT_EQ(p.video[0].description, "GPU A");
  EXPECT_EQ(p.video[0].modeDescription, "1920 x 1080 x 16777216 colors");
  EXPECT_EQ(p.video[0].refreshRate, "60");
  EXPECT_EQ(p.video[1].description, "");
  EXPECT_EQ(p.video[1].refreshRate, "");
}

TEST(GeometryReport, TitleAndFourRectangleLines) {
  ScreenGeometry g;
  const FullScreenLayout l = computeFullScreenLayout(1280, 720, 1920, 1200);
  g.src = l.src;
  g.dest = l.dest;
  EXPECT_EQ(formatGeometryReport("Quillmere", g),
            "Quillmere\n"
            "Src1    0,    0, 1280,  720\tDest1    0,    0, 1920, 1200\n"
            "Src2    0,    0, 1280,  720\tDest2  320,  240, 1600,  960\n"
            "Src3    0,    0, 1280,  720\tDest3    0,   60, 1920, 1140\n"
            "Src4    0,    0, 1280,  720\tDest3 -107,    0, 2026, 1200\n");
}

TEST(SettingsReport, ThreeLinesWithTheCacheInMegabytes) {
  EngineSettings s;
  s.fullScreen = 1;
  s.fullMode = 3;
  s.windowWidth = 1280;
  s.vSyncWait = 1;
  s.resolution = 1920;
  s.screenAspect = 0;
  s.cacheMaxSize = int64_t{256} << 20;
  s.lookAhead = 1;
  s.interpolation = 2;
  s.textureMax = 4096;
  s.colorMode = 0;
  s.colorBlend = 1;
  EXPECT_EQ(formatSettingsReport(s),
            "FullScreen1 FullMode3 WindowWidth1280 VSyncWait1\n"
            "Resolution1920 ScreenAspect0 CacheMaxSize256 LookaHead1\n"
            "Interpolation2 TextureMax4096 ColorMode0 ColorBlend1\n");
}

}  // namespace
}  // namespace vellum
