#include <gtest/gtest.h>

#include "engine/command_line.h"
#include "support/engine_fixture.h"

namespace vellum {
namespace {

TEST(CommandLine, EngineOptionsAreTakenOutOfTheGameArguments) {
  const CommandLine line = parseCommandLine({"one", "--game", "/g", "--headless", "two", "--game=/h"});
  EXPECT_EQ(line.gameFolder, "/h");
  EXPECT_TRUE(line.headless);
  EXPECT_EQ(line.gameArguments, (std::vector<std::string>{"one", "two"}));
  EXPECT_TRUE(line.error.empty());
}

TEST(CommandLine, GameWithoutFolderIsAnError) {
  EXPECT_FALSE(parseCommandLine({"--game"}).error.empty());
  EXPECT_TRUE(parseCommandLine({"--help"}).help);
}

TEST(CommandLine, AnswersAreTakenInOrder) {
  EXPECT_EQ(parseCommandLine({"--answers", "yes,no,,cancel", "x"}).answers,
            (std::vector<std::string>{"yes", "no", "cancel"}));
  const CommandLine joined = parseCommandLine({"--answers=no"});
  EXPECT_EQ(joined.answers, std::vector<std::string>{"no"});
  EXPECT_TRUE(joined.gameArguments.empty());
  EXPECT_FALSE(parseCommandLine({"--answers"}).error.empty());
}

TEST(CommandLine, AudioOutTakesAFile) {
  EXPECT_EQ(parseCommandLine({"--audio-out", "mix.wav", "x"}).audioOutFile, "mix.wav");
  EXPECT_EQ(parseCommandLine({"--audio-out=a.wav"}).audioOutFile, "a.wav");
  EXPECT_FALSE(parseCommandLine({"--audio-out"}).error.empty());
}

TEST(CommandLine, SpeechOutTakesAFile) {
  EXPECT_EQ(parseCommandLine({"--speech-out", "said.txt", "x"}).speechOutFile, "said.txt");
  EXPECT_EQ(parseCommandLine({"--speech-out=s.txt"}).speechOutFile, "s.txt");
  EXPECT_FALSE(parseCommandLine({"--speech-out"}).error.empty());
}

TEST(CommandLine, ShotsTakeAFolderAndNeedAnInputFile) {
  const CommandLine line = parseCommandLine({"--input", "p.txt", "--shots", "out"});
  EXPECT_EQ(line.shotsFolder, "out");
  EXPECT_TRUE(line.error.empty());
  EXPECT_EQ(parseCommandLine({"--input=p.txt", "--shots=o"}).shotsFolder, "o");
  EXPECT_FALSE(parseCommandLine({"--shots"}).error.empty());
  EXPECT_EQ(parseCommandLine({"--shots", "out"}).error, "--shots needs --input (the shot lines are in it)");
}

TEST(CommandLine, WatchTakesTheSourceFolder) {
  EXPECT_EQ(parseCommandLine({"--watch", "src", "x"}).watchFolder, "src");
  EXPECT_EQ(parseCommandLine({"--watch=examples/demo"}).watchFolder, "examples/demo");
  EXPECT_FALSE(parseCommandLine({"--watch"}).error.empty());
}

TEST(CommandLine, GameFolderResolution) {
  test::TempFolder withScript;
  withScript.write("script.dat", "x");
  test::TempFolder without;
  // The given folder wins; it comes back with a trailing slash.
  EXPECT_EQ(resolveGameFolder(without.path().string(), (withScript.path() / "vellum").string()),
            without.withSlash());
  // Else the executable's folder when it holds script.dat.
  EXPECT_EQ(resolveGameFolder("", (withScript.path() / "vellum").string()), withScript.withSlash());
  // Else the current folder.
  const std::string current = resolveGameFolder("", (without.path() / "vellum").string());
  EXPECT_EQ(current, std::filesystem::current_path().generic_string() + "/");
}

}  // namespace
}  // namespace vellum
