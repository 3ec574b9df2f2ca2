// Every runnable script in the authors' guide (docs/*.md) is packed the way the guide says and run
// headless; it must end without an error report, and print what the guide shows when it shows it.
//
// Marking in the Markdown: a fenced block tagged `vellum-file PATH` is a file of the next game
// (under script/ it is packed into script.dat, anything else lies loose in the game folder), one
// tagged `vellum-input` is the input the run replays (--input), one tagged `vellum-script` is its
// script/0.txt and completes the game, and a `vellum-output` block
// right after it is what the run prints on standard output (line ends at its end not counted).
// A `vellum-error` block after the script instead shows the one report the run must make on
// standard error (the examples of reports in the troubleshooting page).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "support/game_builder.h"
#include "test_paths.h"

namespace vellum::test {
namespace {

struct Snippet {
  std::string where;  // page:line, for the test's name and messages
  std::map<std::string, std::string> files;
  std::string input;  // replayed events, before the safety quit
  bool hasOutput = false;
  std::string output;
  bool hasError = false;
  std::string error;
};

void PrintTo(const Snippet& s, std::ostream* out) { *out << s.where; }

std::vector<std::filesystem::path> guidePages() {
  std::vector<std::filesystem::path> pages;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(VELLUM_SOURCE_DIR) + "/docs")) {
    if (entry.path().extension() == ".md") pages.push_back(entry.path());
  }
  std::sort(pages.begin(), pages.end());
  return pages;
}

std::vector<Snippet> snippetsOf(const std::filesystem::path& page) {
  std::vector<Snippet> found;
  std::ifstream in(page);
  std::string line, tag, body;
  std::map<std::string, std::string> pending;
  std::string pendingInput;
  int number = 0, blockStart = 0;
  bool inBlock = false;
  while (std::getline(in, line)) {
    ++number;
    if (line.rfind("```", 0) != 0) {
      if (inBlock) body += line + "\n";
      continue;
    }
    if (!inBlock) {
      inBlock = true;
      tag = line.substr(3);
      body.clear();
      blockStart = number;
      continue;
    }
    inBlock = false;
    if (tag.rfind("vellum-file ", 0) == 0) {
      pending[tag.substr(12)] = body;
    } else if (tag == "vellum-input") {
      pendingInput = body;
    } else if (tag == "vellum-script") {
      Snippet s;
      s.where = page.filename().string() + ":" + std::to_string(blockStart);
      s.files = std::move(pending);
      s.files["script/0.txt"] = body;
      s.input = std::move(pendingInput);
      pending.clear();
      pendingInput.clear();
      found.push_back(std::move(s));
    } else if (tag == "vellum-output") {
      if (found.empty() || found.back().hasOutput) {
        ADD_FAILURE() << page << ":" << blockStart << ": a vellum-output block must follow a vellum-script block";
        continue;
      }
      found.back().hasOutput = true;
      found.back().output = body;
    } else if (tag == "vellum-error") {
      if (found.empty() || found.back().hasError) {
        ADD_FAILURE() << page << ":" << blockStart << ": a vellum-error block must follow a vellum-script block";
        continue;
      }
      found.back().hasError = true;
      found.back().error = body;
    }
  }
  if (!pending.empty() || !pendingInput.empty()) {
    ADD_FAILURE() << page << ": vellum-file or vellum-input blocks without a vellum-script after them";
  }
  return found;
}

std::vector<Snippet> allSnippets() {
  std::vector<Snippet> all;
  for (const auto& page : guidePages()) {
    std::vector<Snippet> some = snippetsOf(page);
    all.insert(all.end(), some.begin(), some.end());
  }
  return all;
}

// A block cannot show whether the output ends with a line end; print writes none of its own.
std::string withoutTrailingLineEnds(std::string text) {
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

class GuideSnippet : public ::testing::TestWithParam<Snippet> {};

TEST_P(GuideSnippet, PacksAndRunsWithoutAnErrorReport) {
  const Snippet& snippet = GetParam();
  TempFolder source, game, scratch;
  for (const auto& [path, bytes] : snippet.files) {
    (path.rfind("script/", 0) == 0 ? source : game).write(path, bytes);
  }
  const ProcessResult pack = runTool(
      "vellum-pack", "script " + source.path().string() + " -o " + (game / "script.dat").string() + " --from-utf8");
  ASSERT_EQ(pack.exitCode, 0) << snippet.where << ": " << pack.err;
  // A snippet that waits for input must not hang the suite; the lock of a game's window lives in
  // this test's own folder so games other tests run at the same time do not stop this one.
  scratch.write("input.txt", snippet.input + "20000 quit\n");
  const char* previous = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = previous ? previous : "";
  setenv("XDG_RUNTIME_DIR", scratch.path().c_str(), 1);
  const ProcessResult result =
      runTool("vellum", "--headless --game " + game.path().string() + " --input " + (scratch / "input.txt").string());
  if (previous) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
  else unsetenv("XDG_RUNTIME_DIR");
  if (snippet.hasError) {
    EXPECT_NE(result.err.find(withoutTrailingLineEnds(snippet.error)), std::string::npos)
        << snippet.where << ": the guide shows\n" << snippet.error << "standard error was\n" << result.err;
  } else {
    EXPECT_EQ(result.exitCode, 0) << snippet.where;
    EXPECT_EQ(result.err.find("Error"), std::string::npos) << snippet.where << ":\n" << result.err;
  }
  if (snippet.hasOutput) {
    EXPECT_EQ(withoutTrailingLineEnds(result.out), withoutTrailingLineEnds(snippet.output)) << snippet.where;
  }
}

std::string nameOf(const ::testing::TestParamInfo<Snippet>& info) {
  std::string name;
  for (const char c : info.param.where) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Docs, GuideSnippet, ::testing::ValuesIn(allSnippets()), nameOf);

TEST(Guide, HasRunnableSnippets) {
  size_t total = 0;
  for (const auto& page : guidePages()) total += snippetsOf(page).size();
  EXPECT_GE(total, 10u);
}

}  // namespace
}  // namespace vellum::test
