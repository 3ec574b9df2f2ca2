// A game folder that the engine runs in its own process (headless, real renderer), for saves made
// in one run and loaded in the next: pictures to show, runs, save lines and screenshots to compare.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "image/image.h"
#include "image/image_io.h"
#include "support/engine_fixture.h"
#include "support/game_builder.h"

namespace vellum::test {

class SaveRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    hadRuntime = runtime != nullptr;
    savedRuntime = runtime ? runtime : "";
    setenv("XDG_RUNTIME_DIR", lockFolder.path().c_str(), 1);
  }
  void TearDown() override {
    if (hadRuntime)
      setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
    else
      unsetenv("XDG_RUNTIME_DIR");
  }

  void writePicture(const std::string& name, int w, int h, uint32_t argb) {
    ASSERT_TRUE(writeSolidPicture(game / name, w, h, argb));
  }

  ProcessResult play() { return runTool("vellum", "--headless --game " + game.path().string()); }

  // The line of a save text with this key, without its line feed; "<none>" when there is none.
  static std::string line(const std::string& text, const std::string& key) {
    const size_t at = text.find("\n" + key + "=");
    if (at == std::string::npos) return "<none>";
    return text.substr(at + 1, text.find('\n', at + 1) - at - 1);
  }

  // A screenshot the game wrote into its folder (nullptr when it is missing or unreadable).
  Image* shot(const std::string& name) {
    const std::string png = readFileBytes(game / name);
    return png.empty() ? nullptr : loadImage(reinterpret_cast<const uint8_t*>(png.data()), png.size());
  }

  TempFolder game, lockFolder;
  std::string savedRuntime;
  bool hadRuntime = false;
};

}  // namespace vellum::test
