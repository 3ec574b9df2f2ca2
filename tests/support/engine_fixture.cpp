#include "support/engine_fixture.h"

#include <fstream>
#include <iterator>

#include "base/clock.h"
#include "base/engine_state.h"
#include "engine/interpreter.h"
#include "engine/startup.h"
#include "base/text_encoding.h"
#include "script/label_pass.h"
#include "script/script_state.h"
#include "script/tokenizer.h"
#include "storage/hashes.h"

namespace vellum::test {

namespace {

}  // namespace

std::string readFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string gbk(const std::string& utf8) { return fromUtf8(utf8, CodePage::Gbk); }

void EngineTest::SetUp() {
  // A test that stopped early may have left its own clock in place.
  setTickSource(nullptr);
  resetAllState();
  resetEngineState();
  engine().exeDirectory = game.withSlash();
  engine().headless = true;
}

void EngineTest::TearDown() {
  resetAllState();
  resetEngineState();
  setTickSource(nullptr);
}

bool EngineTest::addScript(const std::string& path, const std::string& text, int slot) {
  const uint64_t key = crc64Of(path);
  ScriptFile file;
  parseScript(text, file);
  const bool ok = collectLabels(key, file);
  if (slot >= 0) {
    FileSlot& target = scriptState().slots[slot];
    target.lines = std::move(file);
    target.key = key;
    target.displayName = path;
    target.loaded = true;
  }
  return ok;
}

void EngineTest::run() {
  // Headless runs print each story line the message window lays out; that is what was shown.
  ::testing::internal::CaptureStdout();
  runInterpreter();
  const std::string out = ::testing::internal::GetCapturedStdout();
  size_t start = 0;
  for (size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
    shown.push_back(out.substr(start, end - start));
  }
}

}  // namespace vellum::test
