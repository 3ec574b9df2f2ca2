// A game for the built-in function tests: a script written in UTF-8 and packed as GBK with
// vellum-pack, loose files and archives beside it, run headless by the engine executable.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/engine_fixture.h"
#include "support/game_builder.h"
#include "support/temp_folder.h"

namespace vellum::test {

class PackedGame {
 public:
  explicit PackedGame(const std::string& scriptUtf8) { source_.write("script/0.txt", scriptUtf8); }

  // A loose file in the game folder.
  void file(const std::string& path, const std::string& bytes) const { game_.write(path, bytes); }
  // A file packed into arc0.dat (mode compress, scramble or plain).
  void archived(const std::string& path, const std::string& bytes) const { data_.write(path, bytes); }

  ProcessResult run(const std::string& mode = "scramble", const std::string& gameArguments = "") const {
    const auto packed = runTool("vellum-pack", "script " + source_.path().string() + " -o " +
                                                   (game_.path() / "script.dat").string() + " --from-utf8");
    EXPECT_EQ(packed.exitCode, 0) << packed.err;
    if (!std::filesystem::is_empty(data_.path())) {
      const auto archive = runTool("vellum-pack", "archive " + data_.path().string() + " -o " +
                                                      (game_.path() / "arc0.dat").string() + " --mode " + mode);
      EXPECT_EQ(archive.exitCode, 0) << archive.err;
    }
    return runTool("vellum", "--headless --game " + game_.path().string() + " " + gameArguments);
  }

  std::string read(const std::string& path) const { return readFileBytes(game_ / path); }
  bool exists(const std::string& path) const { return std::filesystem::exists(game_ / path); }
  const TempFolder& folder() const { return game_; }

 private:
  TempFolder source_;
  TempFolder data_;
  TempFolder game_;
};

// One script and what it should print; `err` is the headless error boxes, one line each.
struct GameCase {
  const char* name;
  const char* script;
  const char* out;
  const char* err = "";
};

// Packs and runs the case's script; what it prints, its error boxes and a clean exit must match.
inline void expectGameCase(const GameCase& c) {
  const auto result = PackedGame(c.script).run();
  EXPECT_EQ(result.out, c.out);
  EXPECT_EQ(result.err, c.err);
  EXPECT_EQ(result.exitCode, 0);
}

inline std::string caseName(const ::testing::TestParamInfo<GameCase>& info) { return info.param.name; }

}  // namespace vellum::test
