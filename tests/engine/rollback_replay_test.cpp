// A player rolls back three pages with replayed input (the wheel once, Page Up twice) across a
// choice: each page comes back with its g_ variables and looks as it did when first shown, and
// going forward again the other answer to the choice leads down the other branch.
#include <gtest/gtest.h>

#include <filesystem>

#include "image/image.h"
#include "image/image_io.h"
#include "support/game_builder.h"
#include "support/kept_environment.h"

namespace vellum::test {
namespace {

// Every page moves the red marker; the second page adds a green one, the third dims it and the
// first page of branch A removes it. The message subroutine says what the page's variables are.
const char* const kRollbackGame = R"(screen 320, 240, 320, 0
setRollback 10
int g_page
int g_route
int shown
int back
int ev_owner
int ev_code
int ev_state
sp 900, "bg.png", 0, 0
sp_cxy 900, 0, 0
setMessCreate 100, 50
setMessXY 16, 170
setMessWH 10, 2, 24, 0, 0, 28
setMessLine 0, 2
sufMessGosub "*message"
cal %g_page = 1
sp 1, "red.png", 0, 0
sp_cxy 1, 0, 0
sp_xy 1, 20, 20
draw
第一页。

cal %g_page = 2
sp_xy 1, 120, 20
sp 2, "green.png", 0, 0
sp_cxy 2, 0, 0
sp_xy 2, 20, 80
draw
第二页。

cal %g_page = 3
sp_xy 1, 220, 20
sp_a 2, 128
draw
第三页：甲还是乙？

*choice
draw2
eventWait %ev_owner, %ev_code, %ev_state
if (%ev_state != 2) goto *choice
if (%ev_code == 65) goto *route_a
if (%ev_code == 66) goto *route_b
goto *choice

*route_a
cal %g_route = 1, %g_page = 4
sp_d 2
sp_xy 1, 20, 100
draw
甲路第一页。

cal %g_page = 5
sp_xy 1, 120, 100
draw
甲路第二页。

end

*route_b
cal %g_route = 2, %g_page = 4
sp_xy 1, 220, 100
draw
乙路第一页。

end

*message
endMessDraw
draw
cal %shown += 1
getRollback %back
print "[page ", %g_page, " route ", %g_route, " back ", %back, " shown ", %shown, "]"
*message_wait
draw2
eventWait %ev_owner, %ev_code, %ev_state
if (%ev_state == 4) rollback 1
if (%ev_state == 2) if (%ev_code == 33) rollback 1
if (%ev_state != 3) goto *message_wait
if (%ev_code != 1) goto *message_wait
clearMess2 0
return
)";

// A second apart: time for each page to be shown on a busy machine.
const char* const kRollbackInput = R"(3000 press left 300 230
3100 release left 300 230
4500 shot page-two
5000 press left 300 230
5100 release left 300 230
6000 press left 300 230
6100 release left 300 230
7000 keydown 65
7100 keyup 65
8000 press left 300 230
8100 release left 300 230
9000 shot branch-a
9500 wheel -1
10500 keydown 33
10600 keyup 33
11500 keydown 33
11600 keyup 33
12500 shot page-two-again
13000 press left 300 230
13100 release left 300 230
14000 press left 300 230
14100 release left 300 230
15000 keydown 66
15100 keyup 66
16000 shot branch-b
16500 press left 300 230
16600 release left 300 230
25000 quit
)";

class RollbackShot {
 public:
  explicit RollbackShot(const std::filesystem::path& file) {
    const std::string png = readFileBytes(file);
    image_ = png.empty() ? nullptr : loadImage(reinterpret_cast<const uint8_t*>(png.data()), png.size());
  }
  ~RollbackShot() { freeImage(image_); }
  RollbackShot(const RollbackShot&) = delete;
  RollbackShot& operator=(const RollbackShot&) = delete;

  bool loaded() const { return image_ != nullptr; }
  uint32_t at(int x, int y) const { return image_->pixels[y * image_->width + x] & 0xFFFFFF; }
  bool operator==(const RollbackShot& other) const {
    if (image_->width != other.image_->width || image_->height != other.image_->height) return false;
    for (int32_t i = 0; i < image_->pixelCount; ++i)
      if ((image_->pixels[i] & 0xFFFFFF) != (other.image_->pixels[i] & 0xFFFFFF)) return false;
    return true;
  }

 private:
  Image* image_ = nullptr;
};

bool looksRed(uint32_t c) { return (c >> 16) > 200 && ((c >> 8) & 0xFF) < 60 && (c & 0xFF) < 60; }
bool looksGreen(uint32_t c) { return (c >> 16) < 60 && ((c >> 8) & 0xFF) > 200 && (c & 0xFF) < 60; }

TEST(RollbackReplay, ThreePagesBackAndDownTheOtherBranch) {
  TempFolder game, scratch;
  KeptEnvironment runtime("XDG_RUNTIME_DIR");
  setenv("XDG_RUNTIME_DIR", scratch.path().c_str(), 1);
  ASSERT_TRUE(writeSolidPicture(game / "bg.png", 320, 240, 0xFF203060));
  ASSERT_TRUE(writeSolidPicture(game / "red.png", 40, 40, 0xFFFF0000));
  ASSERT_TRUE(writeSolidPicture(game / "green.png", 40, 40, 0xFF00FF00));
  writeScriptContainer(game, {{"script/0.txt", gbk(kRollbackGame)}});
  scratch.write("input.txt", kRollbackInput);
  const ProcessResult result = runTool("vellum", "--headless --game " + game.path().string() + " --input " +
                                                     (scratch / "input.txt").string() + " --shots " +
                                                     (scratch / "shots").string());
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, "");
  // Back from A's second page to its first, over the choice to the third page (its route not yet
  // chosen), to the second; then on to the choice again, and B.
  EXPECT_EQ(result.out, std::string("第一页。\n[page 1 route 0 back 0 shown 1]"
                            "第二页。\n[page 2 route 0 back 1 shown 2]"
                            "第三页：甲还是乙？\n[page 3 route 0 back 2 shown 3]"
                            "甲路第一页。\n[page 4 route 1 back 3 shown 4]"
                            "甲路第二页。\n[page 5 route 1 back 4 shown 5]"
                            "甲路第一页。\n[page 4 route 1 back 3 shown 6]"
                            "第三页：甲还是乙？\n[page 3 route 0 back 2 shown 7]"
                            "第二页。\n[page 2 route 0 back 1 shown 8]"
                            "第三页：甲还是乙？\n[page 3 route 0 back 2 shown 9]"
                            "乙路第一页。\n[page 4 route 2 back 3 shown 10]"));

  const RollbackShot first(scratch / "shots/page-two.png"), again(scratch / "shots/page-two-again.png"),
      branchA(scratch / "shots/branch-a.png"), branchB(scratch / "shots/branch-b.png");
  ASSERT_TRUE(first.loaded() && again.loaded() && branchA.loaded() && branchB.loaded());
  // The second page again is the second page as first shown, to the pixel: markers and text.
  EXPECT_TRUE(first == again);
  EXPECT_TRUE(looksRed(again.at(140, 40)));
  EXPECT_TRUE(looksGreen(again.at(40, 100)));
  EXPECT_FALSE(first == branchA);
  EXPECT_TRUE(looksRed(branchA.at(140, 120)));
  EXPECT_FALSE(looksGreen(branchA.at(40, 100)));
  EXPECT_TRUE(looksRed(branchB.at(240, 120)));
}

}  // namespace
}  // namespace vellum::test
