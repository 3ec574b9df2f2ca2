// vellum-image end to end: info and convert on files the engine writes, and its errors.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "image_test_util.h"
#include "support/engine_fixture.h"
#include "test_paths.h"

namespace vellum::image_test {
namespace {

const std::string kTool = std::string(VELLUM_BINARY_DIR) + "/vellum-image";

struct ToolRun {
  int status;
  std::string out;
};

ToolRun run(const std::string& arguments) {
  std::string command = "'";
  command.append(kTool).append("' ").append(arguments).append(" 2>/dev/null");
  ToolRun r{-1, {}};
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return r;
  char buffer[512];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
  const int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

std::string quoted(const std::filesystem::path& p) {
  std::string text = "'";
  text.append(p.string()).push_back('\'');
  return text;
}

void writeBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

ImagePtr load(const std::filesystem::path& path) {
  const std::string s = test::readFileBytes(path);
  return ImagePtr(loadImage(reinterpret_cast<const uint8_t*>(s.data()), s.size()));
}

TEST(ImageTool, InfoDescribesTheLayer) {
  test::TempFolder folder;
  ImagePtr source = randomImage(12, 7, 32, 1);
  setLayer(*source, "eyes.png", -3, 8, 2);
  writeBytes(folder.path() / "eyes.tlg", encode(*source, SaveFormat::Tlg, 32, 1));
  const ToolRun r = run("info " + quoted(folder.path() / "eyes.tlg"));
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("format:   TLG6 in a TLG0 container"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("size:     12 x 7"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("bits:     32"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("position: -3, 8"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("mode:     2"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("name:     eyes.tlg"), std::string::npos) << r.out;
}

TEST(ImageTool, ConvertsThroughEveryFormat) {
  test::TempFolder folder;
  ImagePtr source = randomImage(33, 21, 32, 2);
  setLayer(*source, "pose.bmp", 5, 6, 1);
  writeBytes(folder.path() / "in.png", encode(*source, SaveFormat::Png, 32, 6));
  struct Target {
    const char* file;
    const char* extra;
    bool exact;
  };
  const Target targets[] = {{"a.tlg", "", true},          {"b.out", "--format tlg5", true},
                            {"c.png", "", true},          {"d.bmp", "", true},
                            {"e.jpg", "--quality 95", false}, {"f.tlg", "--bits 24", false}};
  for (const Target& t : targets) {
    const ToolRun r = run("convert " + quoted(folder.path() / "in.png") + " " + quoted(folder.path() / t.file) + " " + t.extra);
    ASSERT_EQ(r.status, 0) << t.file;
    ImagePtr back = load(folder.path() / t.file);
    ASSERT_NE(back, nullptr) << t.file;
    EXPECT_EQ(back->width, 33);
    if (t.exact) {
      EXPECT_EQ(firstDifference(*source, *back), -1) << t.file;
    }
  }
  ImagePtr jpeg = load(folder.path() / "e.jpg");
  EXPECT_EQ(jpeg->bitsPerPixel, 32);  // the alpha went along
  EXPECT_EQ(jpeg->left, 5);
  ImagePtr opaque = load(folder.path() / "f.tlg");
  EXPECT_EQ(opaque->bitsPerPixel, 24);
  EXPECT_STREQ(load(folder.path() / "a.tlg")->name, "pose.tlg");
}

TEST(ImageTool, ErrorsExitNonZero) {
  test::TempFolder folder;
  writeBytes(folder.path() / "junk.png", Bytes(100, 7));
  EXPECT_EQ(run("").status, 2);
  EXPECT_EQ(run("frobnicate x").status, 2);
  EXPECT_EQ(run("info").status, 2);
  EXPECT_EQ(run("convert a.png").status, 2);
  EXPECT_EQ(run("convert a.png b.unknown").status, 2);
  EXPECT_EQ(run("convert a.png b.png --bits 16").status, 2);
  EXPECT_EQ(run("convert a.png b.png --quality 50").status, 2);
  EXPECT_EQ(run("convert a.png b.jpg --quality 500").status, 2);
  EXPECT_EQ(run("info " + quoted(folder.path() / "missing.png")).status, 1);
  EXPECT_EQ(run("info " + quoted(folder.path() / "junk.png")).status, 1);
  EXPECT_EQ(run("convert " + quoted(folder.path() / "junk.png") + " out.png").status, 1);
  EXPECT_EQ(run("--help").status, 0);
}

}  // namespace
}  // namespace vellum::image_test
