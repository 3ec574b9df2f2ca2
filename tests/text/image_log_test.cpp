// The backlog's picture log: which sprites a committed page records, and getImgLog drawing the
// page again on the CPU, checked against a picture composed here and against the screen.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "scene/sprite_fixture.h"
#include "scene/sprite_loading.h"
#include "text/backlog.h"
#include "text/image_log.h"
#include "text/movie_first_frame.h"

namespace vellum::test {
namespace {

class ImageLog : public SpriteScreenTest {
 protected:
  // The records of the page committed last.
  static const std::array<ImageLogRecord, kImageLogRecords>& lastPage() { return backlog().back(1).imageLog; }
  static int spriteOf(const ImageLogRecord& r) { return r.spriteAndParent >> 16; }
  static int recordCount(const BacklogEntry& e) {
    int n = 0;
    while (n < kImageLogRecords && e.imageLog[static_cast<size_t>(n)].sourceName[0]) ++n;
    return n;
  }
};

TEST_F(ImageLog, TwentySpritesKeepTheFirstSixteenWithoutTerminator) {
  writePicture("p.png", 4, 4, 0xFFFFFFFF);
  std::string lines;
  for (int n = 1; n <= 20; ++n) lines += "sp " + std::to_string(n) + ", \"p.png\", 0, 0\n";
  script(lines + "draw\nclearMess 0\n");
  const auto& log = lastPage();
  EXPECT_EQ(recordCount(backlog().back(1)), 16);
  // The screen's list runs from the highest key down: sprite 20 first.
  EXPECT_EQ(spriteOf(log[0]), 20);
  EXPECT_EQ(spriteOf(log[15]), 5);
  EXPECT_STREQ(log[15].sourceName, "p.png");
}

TEST_F(ImageLog, CanvasChildrenComeFirstAndKindsGiveTheirSizes) {
  writePicture("p.png", 4, 4, 0xFFFFFFFF);
  writePicture("st.png", 10, 6, 0xFFFFFFFF);
  script("spg 50, 40, 30, 0\nsp 1, \"p.png\", 0, 0\nsp_g 1, 50\nsp_st 2, \"st.png\", 0, 24, 20, 0, 0\n"
         "sp_cxy 2, 0, 2\ndraw\nclearMess 0\n");
  const auto& log = lastPage();
  ASSERT_EQ(recordCount(backlog().back(1)), 3);
  EXPECT_EQ(log[0].spriteAndParent, 1 * 65536 + 50);
  EXPECT_EQ(spriteOf(log[1]), 50);
  EXPECT_STREQ(log[1].sourceName, "a");
  EXPECT_EQ(log[1].sizeCodeX, 40 * 4 + 1);  // canvas: its size and the centre anchor
  EXPECT_EQ(log[1].sizeCodeY, 30 * 4 + 1);
  EXPECT_EQ(log[1].kindAndBlend & 15, 4);
  EXPECT_EQ(spriteOf(log[2]), 2);
  EXPECT_EQ(log[2].sizeCodeX, 24 * 4 + 0);  // standing picture: its cell, anchors 0 and 2
  EXPECT_EQ(log[2].sizeCodeY, 20 * 4 + 2);
  EXPECT_EQ(log[2].kindAndBlend & 15, 1);
}

TEST_F(ImageLog, InvisibleAndDeletedSpritesAreLeftOut) {
  writePicture("p.png", 4, 4, 0xFFFFFFFF);
  script("sp 1, \"p.png\", 0, 0\nsp 2, \"p.png\", 0, 0\nsp 3, \"p.png\", 0, 0\ndraw\nsp_a 2, 0\ndraw\nsp_d 3\n"
         "clearMess 0\n");
  const auto& log = lastPage();
  ASSERT_EQ(recordCount(backlog().back(1)), 1);
  EXPECT_EQ(spriteOf(log[0]), 1);
  EXPECT_EQ(log[1].sourceName[0], '\0');
}

TEST_F(ImageLog, MovingSpritesAreLoggedWhereTheirTracksEnd) {
  writePicture("p.png", 4, 4, 0xFFFFFFFF);
  script("sp 1, \"p.png\", 0, 0\nsp_xy 1, 10, 20\nsp_c 1, 0\nsp_a 1, 200\ndraw\nsp_ax 1, 300, 100000, 0, 0x100\n"
         "sp_aa 1, 50, 100000, 0, 0x100\nclearMess 0\n");
  const ImageLogRecord& r = lastPage()[0];
  EXPECT_EQ(r.x, 300);
  EXPECT_EQ(r.y, 20);
  EXPECT_EQ(r.alpha, 50);
  EXPECT_EQ(r.scaleX, 100);
  EXPECT_EQ(r.kindAndBlend, 16);  // a picture, normal blending
}

TEST_F(ImageLog, AnEntryWithoutRecordsLeavesTheSpriteAlone) {
  writePicture("p.png", 4, 4, 0xFFFF0000);
  script("sp 30, \"p.png\", 0, 0\ndraw\ngetImgLog 30, 1\n");
  EXPECT_EQ(sprite(30).sourceName, "p.png");
  EXPECT_TRUE(reports.boxes.empty());
}

// Straight alpha "over" compositing at an opacity of `opacity` / 256, as a reference.
uint32_t over(uint32_t base, uint32_t layer, int opacity) {
  const uint32_t as = ((layer >> 24) * static_cast<uint32_t>(opacity)) >> 8;
  if (as == 0) return base;
  const uint32_t ab = base >> 24;
  const uint32_t ao = as + ab * (255 - as) / 255;
  uint32_t out = ao << 24;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t s = (layer >> shift) & 0xFF, d = (base >> shift) & 0xFF;
    out |= ((s * as + d * ab * (255 - as) / 255) / ao) << shift;
  }
  return out;
}

TEST_F(ImageLog, RebuildMatchesAReferencePicture) {
  writePicture("r.png", 60, 40, 0xFFFF0000);
  writePicture("g.png", 50, 50, 0xFF00FF00);
  writePicture("b.png", 40, 30, 0xFF0000FF);
  // Orders make the visiting order red, green, blue (bottom to top); blue is half transparent.
  script("sp 1, \"r.png\", 0, 0\nsp 2, \"g.png\", 0, 0\nsp 3, \"b.png\", 0, 0\nsp_o 1, 30\nsp_o 2, 20\nsp_o 3, 10\n"
         "sp_cxy 1, 0, 0\nsp_cxy 2, 0, 0\nsp_cxy 3, 0, 0\nsp_xy 1, 20, 30\nsp_xy 2, 60, 50\nsp_xy 3, 90, 70\nsp_a 3, 127\n"
         "draw\nclearMess 0\nsp_d 1\nsp_d 2\nsp_d 3\ngetImgLog 40, 1\nsp_cxy 40, 0, 0\nsp_xy 40, 0, 0\ndraw\n");
  EXPECT_TRUE(reports.boxes.empty()) << (reports.boxes.empty() ? "" : reports.shownBoxes.front());
  const SpritePicture& got = sprite(40).frontImage().picture;
  ASSERT_NE(got.pixels, nullptr);
  ASSERT_EQ(got.pixels->width, kGameW);
  ASSERT_EQ(got.pixels->height, kGameH);

  std::vector<uint32_t> reference(static_cast<size_t>(kGameW * kGameH), 0);
  const auto paint = [&](int left, int top, int w, int h, uint32_t colour, int opacity) {
    for (int y = top; y < top + h; ++y)
      for (int x = left; x < left + w; ++x) {
        uint32_t& p = reference[static_cast<size_t>(y * kGameW + x)];
        p = over(p, colour, opacity);
      }
  };
  paint(20, 30, 60, 40, 0xFFFF0000, 256);
  paint(60, 50, 50, 50, 0xFF00FF00, 256);
  paint(90, 70, 40, 30, 0xFF0000FF, 128);
  int wrong = 0;
  for (int y = 0; y < kGameH; ++y)
    for (int x = 0; x < kGameW; ++x) {
      const uint32_t a = got.pixels->pixels[y * kGameW + x], b = reference[static_cast<size_t>(y * kGameW + x)];
      for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 2) {
          if (wrong++ == 0) ADD_FAILURE() << "first difference at " << x << "," << y << std::hex << ": " << a << " vs " << b;
          break;
        }
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(sprite(40).sourceName, "");
  EXPECT_EQ(static_cast<int>(sprite(40).sourceKind), 8);

  // On screen: the opaque parts where the reference puts them.
  const Screen shot = capture();
  ASSERT_GT(shot.w, 0);
  EXPECT_EQ(shot.at(25, 35), 0xFF0000u);
  EXPECT_EQ(shot.at(70, 60), 0x00FF00u);
  EXPECT_EQ(shot.at(10, 10), 0x000000u);
  if (const char* dir = std::getenv("VELLUM_IMAGE_LOG_SHOT")) {
    script("setScreenShot 320, 240\nsaveScreenShot \"" + std::string(dir) + "/image_log.png\", 1, 24, 9, 0\n");
  }
}

TEST_F(ImageLog, MovieRecordsDrawTheirFirstFrameOrReportBrokenFiles) {
  // The frame: a small JPEG made by the image library.
  writePicture("f.png", 8, 8, 0xFF00FF00);
  Image* frame = loadSpritePictureFile("f.png");
  ASSERT_NE(frame, nullptr);
  std::vector<uint8_t> jpeg;
  SaveRequest request;
  request.format = SaveFormat::Jpeg;
  request.option1 = 24;
  request.option2 = 90;
  ASSERT_TRUE(encodeImage(frame, request, "f.jpg", jpeg));
  freeImage(frame);
  const auto container = [&](uint32_t claimed) {
    std::string bytes = "MJPG" + std::string(40, '\0') + "00dc";
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((claimed >> (8 * i)) & 0xFF));
    return bytes + std::string(jpeg.begin(), jpeg.end());
  };
  const std::string good = container(static_cast<uint32_t>(jpeg.size()));
  const FirstFrame found = findFirstMovieFrame(reinterpret_cast<const uint8_t*>(good.data()), good.size());
  EXPECT_EQ(found.result, FirstFrameResult::Jpeg);
  EXPECT_EQ(found.offset, 52u);
  const std::string longer = container(static_cast<uint32_t>(jpeg.size() + 1));
  EXPECT_EQ(findFirstMovieFrame(reinterpret_cast<const uint8_t*>(longer.data()), longer.size()).result,
            FirstFrameResult::BadChunk);
  const std::string thor = "THOR" + std::string(60, '\0');
  EXPECT_EQ(findFirstMovieFrame(reinterpret_cast<const uint8_t*>(thor.data()), thor.size()).result,
            FirstFrameResult::NoPicture);
  const std::string other = "OggS" + std::string(60, '\0');
  EXPECT_EQ(findFirstMovieFrame(reinterpret_cast<const uint8_t*>(other.data()), other.size()).result,
            FirstFrameResult::BadHeader);
  std::string png = good;
  png[52] = '\x89';
  EXPECT_EQ(findFirstMovieFrame(reinterpret_cast<const uint8_t*>(png.data()), png.size()).result,
            FirstFrameResult::NotJpeg);
}

}  // namespace
}  // namespace vellum::test

namespace vellum::test {
namespace {

// Pages written by hand: each record kind drawn by getImgLog.
class ImageLogRecords : public ImageLog {
 protected:
  static ImageLogRecord record(const char* name, int n, int parent, int x, int y, int kind) {
    ImageLogRecord r;
    std::snprintf(r.sourceName, sizeof r.sourceName, "%s", name);
    r.x = static_cast<int16_t>(x);
    r.y = static_cast<int16_t>(y);
    r.scaleX = r.scaleY = 100;
    r.alpha = 255;
    r.kindAndBlend = static_cast<uint8_t>(kind + 16);
    r.spriteAndParent = n * 65536 + parent;
    return r;
  }
  static BacklogEntry& page(std::initializer_list<ImageLogRecord> records) {
    BacklogEntry& e = backlog().current();
    e.screenW = e.screenH = 100;
    size_t i = 0;
    for (const ImageLogRecord& r : records) e.imageLog[i++] = r;
    return e;
  }
  uint32_t at(int x, int y) {
    const Image* p = sprite(40).frontImage().picture.pixels;
    return p ? p->pixels[y * p->width + x] : 0xDEADBEEF;
  }
};

TEST_F(ImageLogRecords, MissingPicturesAreReportedAndSkipped) {
  writePicture("g.png", 10, 10, 0xFF00FF00);
  page({record("gone.png", 1, 0, 0, 0, 0), record("g.png", 2, 0, 20, 20, 0)});
  script("getImgLog 40, 0\n");
  // The loader's own reports, as for any sprite picture.
  ASSERT_FALSE(reports.shownBoxes.empty());
  EXPECT_NE(reports.shownBoxes.back().find("gone.png"), std::string::npos);
  EXPECT_EQ(at(25, 25), 0xFF00FF00u);
  EXPECT_EQ(at(5, 5), 0u);
}

TEST_F(ImageLogRecords, StandingPicturesStandOnTheBottomOfTheirCell) {
  writePicture("st.png", 10, 6, 0xFFFF0000);
  ImageLogRecord st = record("st.png", 1, 0, 100, 50, 1);
  st.sizeCodeX = 30 * 4;
  st.sizeCodeY = 20 * 4;
  page({st});
  script("getImgLog 40, 0\n");
  EXPECT_TRUE(reports.boxes.empty());
  // The 10x6 picture centred on the bottom edge of a 30x20 cell whose corner is (100, 50).
  EXPECT_EQ(at(110, 64), 0xFFFF0000u);
  EXPECT_EQ(at(119, 69), 0xFFFF0000u);
  EXPECT_EQ(at(109, 64), 0u);
  EXPECT_EQ(at(110, 63), 0u);
}

TEST_F(ImageLogRecords, CanvasChildrenAreComposedIntoTheirCanvas) {
  writePicture("c.png", 4, 4, 0xFF0000FF);
  ImageLogRecord canvas = record("a", 7, 0, 50, 60, 4);
  canvas.sizeCodeX = 20 * 4;
  canvas.sizeCodeY = 20 * 4;
  page({canvas, record("c.png", 8, 7, 5, 5, 0)});
  script("getImgLog 40, 0\n");
  EXPECT_TRUE(reports.boxes.empty());
  EXPECT_EQ(at(55, 65), 0xFF0000FFu);
  EXPECT_EQ(at(54, 64), 0u);
  EXPECT_EQ(at(59, 69), 0u);
}

TEST_F(ImageLogRecords, ScreenZoomMovesAndScalesAroundTheCentre) {
  writePicture("z.png", 10, 10, 0xFFFFFFFF);
  BacklogEntry& e = page({record("z.png", 1, 0, 160, 120, 0)});
  e.screenW = e.screenH = 200;
  script("getImgLog 40, 0\n");
  // At the centre the position stays; the picture doubles.
  EXPECT_EQ(at(160, 120), 0xFFFFFFFFu);
  EXPECT_EQ(at(179, 139), 0xFFFFFFFFu);
  EXPECT_EQ(at(180, 140), 0u);
}

TEST_F(ImageLogRecords, RotatedRecordsTurnAboutTheirAnchor) {
  writePicture("w.png", 20, 10, 0xFFFFFFFF);
  ImageLogRecord r = record("w.png", 1, 0, 100, 100, 0);
  r.rotation = 90;
  r.sizeCodeX = r.sizeCodeY = 1;  // centre anchors
  page({r});
  script("getImgLog 40, 0\n");
  // Turned a quarter, 10 wide and 20 high, still centred on (100, 100).
  EXPECT_EQ(at(95, 90), 0xFFFFFFFFu);
  EXPECT_EQ(at(104, 109), 0xFFFFFFFFu);
  EXPECT_EQ(at(94, 100), 0u);
  EXPECT_EQ(at(105, 100), 0u);
  EXPECT_EQ(at(100, 89), 0u);
}

TEST_F(ImageLogRecords, MasksHideWhatTheirProgressHasNotReached) {
  writePicture("w.png", 20, 10, 0xFFFFFFFF);
  // Left half of the mask black (shows first), right half white (shows last).
  writePicture("m.png", 20, 10, [](int x, int) { return x < 10 ? 0xFF000000u : 0xFFFFFFFFu; });
  ImageLogRecord r = record("w.png", 1, 0, 0, 0, 0);
  std::snprintf(r.secondSource, sizeof r.secondSource, "%s", "m.png");
  r.maskValues = (0 * 1024 + 128) * 1024 + 0;  // softness 0, progress half way, not inverted
  ImageLogRecord inverted = r;
  inverted.y = 20;
  inverted.spriteAndParent = 2 * 65536;
  inverted.maskValues = (0 * 1024 + 128) * 1024 + 1;
  page({r, inverted});
  script("getImgLog 40, 0\n");
  EXPECT_EQ(at(2, 2), 0xFFFFFFFFu);
  EXPECT_EQ(at(15, 2), 0u);
  EXPECT_EQ(at(2, 22), 0u);
  EXPECT_EQ(at(15, 22), 0xFFFFFFFFu);
}

TEST_F(ImageLogRecords, MovieRecordsDrawTheFirstFrame) {
  writePicture("f.png", 8, 8, 0xFF00FF00);
  Image* frame = loadSpritePictureFile("f.png");
  ASSERT_NE(frame, nullptr);
  std::vector<uint8_t> jpeg;
  SaveRequest request;
  request.format = SaveFormat::Jpeg;
  request.option1 = 24;
  request.option2 = 100;
  ASSERT_TRUE(encodeImage(frame, request, "f.jpg", jpeg));
  freeImage(frame);
  std::string bytes = "MJPG" + std::string(40, '\0') + "00dc";
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((jpeg.size() >> (8 * i)) & 0xFF));
  bytes.append(jpeg.begin(), jpeg.end());
  game.write("m.mjpg", bytes);
  game.write("t.thor", "THOR" + std::string(60, '\0'));
  game.write("bad.mov", "XXXX" + std::string(60, '\0'));
  page({record("t.thor", 1, 0, 0, 0, 2), record("m.mjpg", 2, 0, 30, 30, 2), record("bad.mov", 3, 0, 0, 0, 2)});
  script("getImgLog 40, 0\n");
  ASSERT_EQ(reports.boxes.size(), 1u);  // the unknown header
  const uint32_t green = at(34, 34);
  EXPECT_GT((green >> 8) & 0xFF, 200u);
  EXPECT_LT((green >> 16) & 0xFF, 40u);
  EXPECT_EQ(at(20, 20), 0u);
}

}  // namespace
}  // namespace vellum::test
