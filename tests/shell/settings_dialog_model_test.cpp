// The start-up settings dialog as data: the first-start resolution, the list rebuild, the controls
// and what clicks do.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "base/text_encoding.h"
#include "platform/ui_overlay.h"
#include "shell/ui/menu_texts.h"
#include "shell/ui/settings_dialog_model.h"
#include "shell/ui/ui_views.h"

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

TEST(SettingsDialog, ControlsKeepTheirDesignedPlacesWhereTheirLabelsFit) {
  EngineSettings s;
  s.resolution = 1280;
  const SettingsDialog d = openSettingsDialog(wideGame(), s);
  const DialogControl& windowed = d.controls[indexOf(d, DialogBinding::FullScreen, 0)];
  EXPECT_EQ(windowed.x, 20);
  EXPECT_EQ(windowed.y, 30);
  EXPECT_EQ(windowed.width, 6 * 4 + 18);
  EXPECT_EQ(windowed.height, 12);
  EXPECT_EQ(d.controls[indexOf(d, DialogBinding::FullScreen, 1)].x, 120);
  EXPECT_EQ(d.controls[indexOf(d, DialogBinding::ScreenAspect, 1)].x, 420);
  const DialogControl& start = d.controls[indexOf(d, DialogBinding::Start)];
  EXPECT_EQ(start.label, menu_texts::kStart);
  EXPECT_EQ(start.y, 175);
  // The buttons keep to the right edge, 10 pixels in, as designed for a 530-pixel dialog.
  EXPECT_EQ(d.controls[indexOf(d, DialogBinding::End)].x, d.clientW - 90);
  EXPECT_EQ(start.x, d.clientW - 180);
  EXPECT_EQ(d.controls[indexOf(d, DialogBinding::Detailed)].x, d.clientW - 290);
  EXPECT_EQ(d.controls[indexOf(d, DialogBinding::StartingSetUp)].y, 180);
  EXPECT_EQ(d.clientH, kDialogClientH);
  EXPECT_FALSE(d.controls[indexOf(d, DialogBinding::Detailed)].enabled);
  // Ten preset radios, in two rows of five columns; the 1920 one (the reference width) says DBD
  // only with flag 1, the game width's one without it.
  std::vector<const DialogControl*> radios;
  for (const DialogControl& c : d.controls)
    if (c.binding == DialogBinding::Resolution) radios.push_back(&c);
  ASSERT_EQ(radios.size(), 10u);
  EXPECT_EQ(radios[5]->x, 20);
  EXPECT_EQ(radios[6]->x, radios[1]->x);
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

// The first pair of controls that overlap, as "A / B"; empty when none do. Group boxes hold the
// controls inside their frame (below their label) and touch nothing else; every other pair is
// apart; everything is inside the dialog.
std::string firstOverlap(const SettingsDialog& d) {
  struct Rect {
    int32_t left, top, right, bottom;
  };
  const auto rect = [](const DialogControl& c) { return Rect{c.x, c.y, c.x + c.width, c.y + c.height}; };
  const auto meet = [](Rect a, Rect b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
  };
  const auto name = [](const DialogControl& c) {
    return toUtf8(c.label, CodePage::Gbk) + " at " + std::to_string(c.x) + "," + std::to_string(c.y) + " " +
           std::to_string(c.width) + "x" + std::to_string(c.height);
  };
  for (size_t i = 0; i < d.controls.size(); ++i) {
    const DialogControl& a = d.controls[i];
    const Rect ra = rect(a);
    if (ra.left < 0 || ra.top < 0 || ra.right > d.clientW || ra.bottom > d.clientH)
      return name(a) + " / the dialog's edge";
    for (size_t j = i + 1; j < d.controls.size(); ++j) {
      const DialogControl& b = d.controls[j];
      const Rect rb = rect(b);
      if (!meet(ra, rb)) continue;
      const bool aGroup = a.kind == DialogControlKind::GroupBox, bGroup = b.kind == DialogControlKind::GroupBox;
      if (aGroup != bGroup) {
        const Rect group = aGroup ? ra : rb, inner = aGroup ? rb : ra;
        // The frame's line, and the label in its top edge (a text line high).
        if (inner.left > group.left && inner.right < group.right && inner.top >= group.top + 14 &&
            inner.bottom < group.bottom)
          continue;
      }
      return name(a) + " / " + name(b);
    }
  }
  return {};
}

struct LayoutCase {
  const char* name;
  int32_t gameW, gameH, refW, flag, aspectSwitchable;
};
enum class LabelFont { Designed, Kit };

// Every game shape, every current resolution (the "(等倍)" mark moves with it), both aspects and
// the list rebuild between them, measured by the designed byte rule and by the font the kit
// draws with.
class SettingsDialogLayout : public ::testing::TestWithParam<std::tuple<LayoutCase, LabelFont>> {
 protected:
  void TearDown() override { ui::shutdown(); }
};

TEST_P(SettingsDialogLayout, NoTwoControlsOverlap) {
  const LayoutCase& c = std::get<0>(GetParam());
  SettingsDialogInputs in = wideGame();
  in.gameW = c.gameW;
  in.gameH = c.gameH;
  in.refW = c.refW;
  in.flag = c.flag;
  in.aspectSwitchable = c.aspectSwitchable;
  if (std::get<1>(GetParam()) == LabelFont::Kit) in.measure = &measureDialogControl;
  for (int32_t aspect : {0, 1}) {
    for (const WindowPreset& p : buildWindowPresets(c.gameW, c.gameH, aspect, 0)) {
      EngineSettings s;
      s.screenAspect = aspect;
      s.resolution = p.width;
      SettingsDialog d = openSettingsDialog(in, s);
      EXPECT_EQ(firstOverlap(d), "") << "aspect " << aspect << ", resolution " << p.width;
      EXPECT_GE(d.clientW, kDialogClientW);
      const int32_t width = d.clientW;
      if (!c.aspectSwitchable) continue;
      int quit = 0;
      clickDialogControl(d, indexOf(d, DialogBinding::ScreenAspect, 1 - aspect), s, quit);
      rebuildResolutionList(d, s);
      EXPECT_EQ(firstOverlap(d), "") << "switched from aspect " << aspect << ", resolution " << p.width;
      EXPECT_EQ(d.clientW, width) << "the dialog keeps its size";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingsDialogLayout,
    ::testing::Combine(::testing::Values(LayoutCase{"wide_1280x720", 1280, 720, 1280, 0, 1},
                                         LayoutCase{"wide_with_reference_dot_by_dot", 1280, 720, 1920, 1, 1},
                                         LayoutCase{"full_hd", 1920, 1080, 1920, 0, 1},
                                         LayoutCase{"four_three_640x480", 640, 480, 640, 0, 0},
                                         LayoutCase{"tall_720x1280", 720, 1280, 720, 0, 1},
                                         LayoutCase{"odd_shape_1000x700", 1000, 700, 1000, 0, 0}),
                       ::testing::Values(LabelFont::Designed, LabelFont::Kit)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) +
             (std::get<1>(info.param) == LabelFont::Kit ? "_kit_font" : "_designed");
    });

}  // namespace
}  // namespace vellum
