// The start-up settings dialog as data: the first-start resolution, the list rebuild, the controls
// and what clicks do.
#include <gtest/gtest.h>

#include <algorithm>

#include "shell/menu_texts.h"
#include "shell/settings_dialog_model.h"

namespace vellum {
namespace {

SettingsDialogInputs wideGame() {
  SettingsDialogInputs in;
  in.gameW = 1280;
  in.gameH = 720;
  in.refW = 1920;
  in.aspectSwitchable = 1;
  in.screenW = 1920;
  in.screenH = 1080;
  in.freeMiB = 4000;
  in.videoMiB = 512;
  return in;
}

size_t indexOf(const SettingsDialog& d, DialogBinding binding, int32_t value = 0) {
  for (size_t i = 0; i < d.controls.size(); ++i)
    if (d.controls[i].binding == binding && (d.controls[i].kind != DialogControlKind::Radio || d.controls[i].value == value))
      return i;
  ADD_FAILURE() << "no control";
  return 0;
}

TEST(SettingsDialogFirstStart, AQualifyingWideGameKeeps1280) {
  SettingsDialogInputs in = wideGame();
  in.firstStart = true;
  EngineSettings s;
  s.resolution = 1280;
  const WindowPresets presets = buildWindowPresets(1280, 720, 0, 1280);
  chooseFirstStartResolution(in, 1900, presets, s);
  EXPECT_EQ(s.resolution, 1280);
  EXPECT_EQ(s.windowWidth, 1280);
}

struct FirstStartCase {
  const char* name;
  int32_t refW, freeMiB, videoMiB;
  bool firstStart;
  int32_t resolution, windowWidth;
};

class SettingsDialogFirstStartRule : public ::testing::TestWithParam<FirstStartCase> {};

TEST_P(SettingsDialogFirstStartRule, SetsTheWindowWidth) {
  SettingsDialogInputs in = wideGame();
  in.refW = GetParam().refW;
  in.freeMiB = GetParam().freeMiB;
  in.videoMiB = GetParam().videoMiB;
  in.firstStart = GetParam().firstStart;
  EngineSettings s;
  s.resolution = 1280;
  s.windowWidth = 777;
  chooseFirstStartResolution(in, 1900, buildWindowPresets(1280, 720, 0, 1280), s);
  EXPECT_EQ(s.resolution, GetParam().resolution);
  EXPECT_EQ(s.windowWidth, GetParam().windowWidth);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingsDialogFirstStartRule,
    ::testing::Values(FirstStartCase{"same_reference", 1280, 4000, 512, true, 1280, 1280},
                      FirstStartCase{"little_memory", 1920, 1999, 512, true, 1280, 1280},
                      FirstStartCase{"little_video", 1920, 4000, 255, true, 1280, 1280},
                      FirstStartCase{"not_first", 1920, 4000, 512, false, 1280, 777}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsDialogFirstStart, AnUnknownResolutionBecomesTheGameWidth) {
  SettingsDialogInputs in = wideGame();
  EngineSettings s;
  s.resolution = 1111;
  chooseFirstStartResolution(in, 1900, buildWindowPresets(1280, 720, 0, 1280), s);
  EXPECT_EQ(s.resolution, 1280);
}

TEST(SettingsDialogRebuild, FourThreeWith1366AndNarrowMonitorGives1280) {
  EXPECT_EQ(remapResolution(1366, true, 1300), 1280);
  EXPECT_EQ(remapResolution(1366, true, 1200), 1024);
  EXPECT_EQ(remapResolution(1920, true, 1599), 1440);
  EXPECT_EQ(remapResolution(1200, false, 1900), 1280);
  EXPECT_EQ(remapResolution(777, false, 1900), 777);
}

TEST(SettingsDialog, ControlsSitWhereTheLayoutSays) {
  EngineSettings s;
  s.resolution = 1280;
  const SettingsDialog d = openSettingsDialog(wideGame(), s);
  const DialogControl& windowed = d.controls[indexOf(d, DialogBinding::FullScreen, 0)];
  EXPECT_EQ(windowed.x, 20);
  EXPECT_EQ(windowed.y, 30);
  EXPECT_EQ(windowed.width, 6 * 4 + 18);
  EXPECT_EQ(windowed.height, 12);
  const DialogControl& start = d.controls[indexOf(d, DialogBinding::Start)];
  EXPECT_EQ(start.label, menu_texts::kStart);
  EXPECT_EQ(start.x, 350);
  EXPECT_EQ(start.y, 175);
  EXPECT_FALSE(d.controls[indexOf(d, DialogBinding::Detailed)].enabled);
  // Ten preset radios, in two rows of five; the 1920 one (the reference width) says DBD only
  // with flag 1, the game width's one without it.
  std::vector<const DialogControl*> radios;
  for (const DialogControl& c : d.controls)
    if (c.binding == DialogBinding::Resolution) radios.push_back(&c);
  ASSERT_EQ(radios.size(), 10u);
  EXPECT_EQ(radios[6]->x, 10 + 10 + 100);
  EXPECT_EQ(radios[6]->y, 60 + 20 + 20);
  const auto& r1280 = *std::find_if(radios.begin(), radios.end(), [](auto* c) { return c->value == 1280; });
  EXPECT_NE(r1280->label.find(":DBD"), std::string::npos);
}

TEST(SettingsDialog, ClicksStoreValuesAndButtonsEndTheLoop) {
  EngineSettings s;
  s.resolution = 1280;
  SettingsDialog d = openSettingsDialog(wideGame(), s);
  int quit = 0;
  clickDialogControl(d, indexOf(d, DialogBinding::FullScreen, 1), s, quit);
  EXPECT_EQ(s.fullScreen, 1);
  clickDialogControl(d, indexOf(d, DialogBinding::ResolutionWindow), s, quit);
  EXPECT_EQ(s.resolutionWindow, 1);
  clickDialogControl(d, indexOf(d, DialogBinding::ResolutionWindow), s, quit);
  EXPECT_EQ(s.resolutionWindow, 0);
  clickDialogControl(d, indexOf(d, DialogBinding::ScreenAspect, 1), s, quit);
  EXPECT_EQ(s.screenAspect, 1);
  EXPECT_EQ(d.flagWord, kDialogRebuild);
  rebuildResolutionList(d, s);
  EXPECT_EQ(s.resolution, 1280);
  EXPECT_TRUE(controlChecked(d.controls[indexOf(d, DialogBinding::Resolution, 1280)], s));
  clickDialogControl(d, indexOf(d, DialogBinding::Detailed), s, quit);
  EXPECT_EQ(d.flagWord, kDialogRebuild);  // greyed
  clickDialogControl(d, indexOf(d, DialogBinding::Start), s, quit);
  EXPECT_EQ(d.flagWord, kDialogClose);
  EXPECT_EQ(quit, 0);
  clickDialogControl(d, indexOf(d, DialogBinding::End), s, quit);
  EXPECT_EQ(quit, 1);
  int closedQuit = 0;
  closeSettingsDialog(d, closedQuit);
  EXPECT_EQ(closedQuit, 1);
}

TEST(SettingsDialog, PresetsTooLargeForTheScreenAreGreyed) {
  SettingsDialogInputs in = wideGame();
  in.screenW = 1366;
  in.screenH = 768;
  EngineSettings s;
  s.resolution = 1280;
  const SettingsDialog d = openSettingsDialog(in, s);
  // 1366 x 768 with 16:9 presets from 640 x 360: the largest client is 1365 x 768.
  EXPECT_EQ(d.maxClientW, 1365);
  for (const DialogControl& c : d.controls)
    if (c.binding == DialogBinding::Resolution) {
      EXPECT_EQ(c.enabled, c.value <= d.maxClientW) << c.value;
    }
}

}  // namespace
}  // namespace vellum
