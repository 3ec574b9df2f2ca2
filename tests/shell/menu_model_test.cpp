// The menu bar built from the settings: which items exist, which are checked and which greyed.
#include <gtest/gtest.h>

#include "shell/ui/menu_model.h"
#include "shell/ui/menu_texts.h"
#include "shell/display/screen_geometry.h"
#include "support/param_names.h"

namespace vellum {
namespace {

MenuInputs windowed1280x720() {
  MenuInputs in;
  in.windowWidth = 1280;
  in.windowHeight = 720;
  in.pixelShaderMajor = 3;
  in.presets = buildWindowPresets(1280, 720, 0, 1280);
  in.frameW = 2;
  in.frameH = 30;
  in.monW = 1920;
  in.monH = 1080;
  return in;
}

std::vector<int32_t> idsOf(const Submenu& m) {
  std::vector<int32_t> ids;
  for (const MenuItem& i : m.items) ids.push_back(i.id);
  return ids;
}

std::vector<size_t> checkedPositions(const Submenu& m) {
  std::vector<size_t> at;
  for (size_t i = 0; i < m.items.size(); ++i)
    if (m.items[i].checked) at.push_back(i);
  return at;
}

TEST(MenuModel, SevenSubmenusUnderTheScreenDropDown) {
  const MenuModel m = buildMenuModel(windowed1280x720());
  EXPECT_EQ(m.dropDownLabel, menu_texts::kScreen);
  ASSERT_EQ(m.submenus.size(), 7u);
  EXPECT_EQ(m.submenus[0].label, menu_texts::kScreenMode);
  EXPECT_EQ(m.submenus[5].label, menu_texts::kVSyncWait);
  EXPECT_EQ(idsOf(m.submenus[0]), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(idsOf(m.submenus[2]), (std::vector<int32_t>{30, 31, 0, 32}));
  EXPECT_FALSE(m.submenus[2].items[3].radio);
  EXPECT_EQ(idsOf(m.submenus[3]), (std::vector<int32_t>{40, 41, 42, 43, 44}));
  EXPECT_EQ(m.submenus[1].items[0].label, std::string(menu_texts::kFixedSizeOpen) + "1280x720)");
  EXPECT_EQ(m.submenus[6].label, menu_texts::kReadAloud);
}

TEST(MenuModel, ReadingAloudIsACheckMarkThatFollowsTheSwitch) {
  MenuInputs in = windowed1280x720();
  for (const bool on : {false, true}) {
    in.readAloud = on;
    const Submenu menu = buildMenuModel(in).submenus[6];
    ASSERT_EQ(idsOf(menu), (std::vector<int32_t>{kMenuReadAloud}));
    EXPECT_EQ(menu.items[0].label, menu_texts::kReadStoryAloud);
    EXPECT_FALSE(menu.items[0].radio);
    EXPECT_EQ(menu.items[0].checked, on);
  }
}

struct FilterCase {
  int32_t shaderMajor;
  size_t filters;
};

class MenuModelFilters : public ::testing::TestWithParam<FilterCase> {};

TEST_P(MenuModelFilters, ListedByShaderVersionAndCheckedByPosition) {
  MenuInputs in = windowed1280x720();
  in.pixelShaderMajor = GetParam().shaderMajor;
  for (int32_t interpolation = 0; interpolation < 8; ++interpolation) {
    in.interpolation = interpolation;
    const Submenu filters = buildMenuModel(in).submenus[4];
    ASSERT_EQ(filters.items.size(), GetParam().filters);
    const std::vector<size_t> expected =
        static_cast<size_t>(interpolation) < GetParam().filters ? std::vector<size_t>{static_cast<size_t>(interpolation)}
                                                                : std::vector<size_t>{};
    EXPECT_EQ(checkedPositions(filters), expected) << interpolation;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, MenuModelFilters,
                         ::testing::Values(FilterCase{0, 3}, FilterCase{1, 3}, FilterCase{2, 7}, FilterCase{3, 8}),
                         test::namedBy([](const FilterCase& c) {
                           return test::testNameOf("shader model", c.shaderMajor);
                         }));

TEST(MenuModel, FullScreenHasNoPinItemAndUsesThePopup) {
  MenuInputs in = windowed1280x720();
  in.menuLock1 = 1;
  MenuModel m = buildMenuModel(in);
  EXPECT_TRUE(m.hasPinItem);
  EXPECT_EQ(m.pinLabel, menu_texts::kUnpin);
  EXPECT_TRUE(m.attachedToFrame);
  in.menuLock1 = 0;
  EXPECT_EQ(buildMenuModel(in).pinLabel, menu_texts::kPin);
  EXPECT_FALSE(buildMenuModel(in).attachedToFrame);
  in.fullScreen = 1;
  in.menuLock1 = 1;
  m = buildMenuModel(in);
  EXPECT_FALSE(m.hasPinItem);
  EXPECT_FALSE(m.attachedToFrame);
  EXPECT_EQ(checkedPositions(m.submenus[0]), (std::vector<size_t>{1}));
}

TEST(MenuModel, ClientSize1280x720ChecksPosition7) {
  const MenuModel m = buildMenuModel(windowed1280x720());
  const Submenu& sizes = m.submenus[1];
  EXPECT_EQ(m.presetCheck, 7);
  EXPECT_EQ(checkedPositions(sizes), (std::vector<size_t>{7}));
  EXPECT_EQ(sizes.items[7].id, kMenuPreset0 + 5);
}

TEST(MenuModel, PresetsThatDoNotFitTheMonitorAreLeftOut) {
  MenuInputs in = windowed1280x720();
  in.monW = 1366;
  in.monH = 768;
  const Submenu sizes = buildMenuModel(in).submenus[1];
  for (size_t pos = 2; pos < sizes.items.size(); ++pos) {
    const WindowPreset& p = in.presets[sizes.items[pos].id - kMenuPreset0];
    EXPECT_LT(p.width + in.frameW, in.monW);
    EXPECT_LT(p.height + in.frameH, in.monH);
  }
  EXPECT_LT(sizes.items.size(), 12u);
}

TEST(MenuModel, FixedSizeAspectsPositionsAndScanLine) {
  MenuInputs in = windowed1280x720();
  in.windowChange = 1;
  in.aspectSwitchable = 1;
  in.screenAspect = 1;
  in.windowPos = 1;
  in.windowMost = 1;
  in.fullMode = 4;
  in.vSyncWait = 2;
  in.canReadScanLine = false;
  const MenuModel m = buildMenuModel(in);
  EXPECT_EQ(idsOf(m.submenus[0]), (std::vector<int32_t>{1, 2, 0, 3, 4}));
  EXPECT_EQ(checkedPositions(m.submenus[0]), (std::vector<size_t>{0, 4}));
  EXPECT_TRUE(m.submenus[1].items[0].checked);
  EXPECT_EQ(checkedPositions(m.submenus[2]), (std::vector<size_t>{1, 3}));
  EXPECT_EQ(checkedPositions(m.submenus[3]), (std::vector<size_t>{4}));
  EXPECT_EQ(checkedPositions(m.submenus[5]), (std::vector<size_t>{2}));
  EXPECT_FALSE(m.submenus[5].items[2].enabled);
  EXPECT_TRUE(m.submenus[5].items[1].enabled);
}

}  // namespace
}  // namespace vellum
