// vellum-pack web: a starter game made into a page folder holds the page, the engine's web files
// and one package whose listing places every game file under /game and a CJK font under /fonts,
// each at its own offset of game.data with its original bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "support/temp_folder.h"
#include "test_paths.h"
#include "tool_runner.h"

namespace vellum::test {
namespace {

namespace fs = std::filesystem;

const std::string kWebPackTool = std::string(VELLUM_BINARY_DIR) + "/vellum-pack";

std::string fileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A stand-in for the web build's output: the files vellum-pack copies, with recognisable bytes.
void writeWebEngine(const fs::path& folder) {
  fs::create_directories(folder);
  for (const char* name : {"index.html", "vellum.js", "vellum.wasm", "vellum.worker.js"})
    std::ofstream(folder / name, std::ios::binary) << "engine file " << name;
}

TEST(WebPage, HoldsThePageTheEngineAndOnePackageOfTheGameAndAFont) {
  TempFolder work;
  writeWebEngine(work.path() / "engine");
  const std::string font = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
  if (!fs::is_regular_file(font)) GTEST_SKIP() << "fonts-wqy-microhei is not installed";
  const ProcessResult made = runShell(work.path(), kWebPackTool + " new src && " + kWebPackTool + " script src -o g/game/script.dat --from-utf8 && " +
                                                 "cp -r src/data g/game/data && " + kWebPackTool +
                                                 " web g/game -o site --engine engine --font " + font);
  ASSERT_EQ(made.exitCode, 0) << made.err;
  for (const char* name : {"index.html", "vellum.js", "vellum.wasm", "vellum.worker.js"})
    EXPECT_EQ(fileText(work.path() / "site" / name), std::string("engine file ") + name);

  const std::string listing = fileText(work.path() / "site/game.json");
  const std::string data = fileText(work.path() / "site/game.data");
  const std::regex entry(R"re(\{"path": "([^"]+)", "offset": (\d+), "size": (\d+)\})re");
  size_t files = 0, total = 0;
  bool sawScript = false, sawFont = false;
  for (auto it = std::sregex_iterator(listing.begin(), listing.end(), entry); it != std::sregex_iterator(); ++it) {
    const std::string path = (*it)[1];
    const size_t offset = std::stoul((*it)[2]), size = std::stoul((*it)[3]);
    ASSERT_EQ(offset, total) << path;
    ASSERT_LE(offset + size, data.size()) << path;
    const fs::path original = path.rfind("/fonts/", 0) == 0 ? fs::path(font) : work.path() / "g" / path.substr(1);
    EXPECT_EQ(data.substr(offset, size), fileText(original)) << path;
    sawScript = sawScript || path == "/game/script.dat";
    sawFont = sawFont || path == "/fonts/wqy-microhei.ttc";
    total += size;
    ++files;
  }
  EXPECT_TRUE(sawScript) << listing;
  EXPECT_TRUE(sawFont) << listing;
  EXPECT_EQ(total, data.size());
  EXPECT_GE(files, 3u);
}

TEST(WebPage, RefusesAFolderWithoutTheEngineAndAFolderInUse) {
  TempFolder work;
  const ProcessResult missing = runShell(work.path(), kWebPackTool + " new src && " + kWebPackTool + " web src -o site --engine nowhere --from-utf8");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("the web build's files are not there"), std::string::npos) << missing.err;
  writeWebEngine(work.path() / "engine");
  const ProcessResult used = runShell(work.path(), "mkdir used && touch used/x && " + kWebPackTool + " web src -o used --engine engine --from-utf8");
  EXPECT_EQ(used.exitCode, 1);
  EXPECT_NE(used.err.find("the folder is not empty"), std::string::npos) << used.err;
}

}  // namespace
}  // namespace vellum::test
