// A clean engine with a small script in slot 0 and saves going to the test's game folder.
#pragma once

#include <cstring>
#include <string>

#include "engine/save_commands.h"
#include "engine/save_snapshot.h"
#include "persist/persist_state.h"
#include "persist/save_slots.h"
#include "persist/save_text.h"
#include "script/script_state.h"
#include "script/variables.h"
#include "support/engine_fixture.h"
#include "text/backlog.h"

namespace vellum::test {

class SaveTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    persistState().saveDirectory = (game.path() / "save").string() + "/";
    addScript("script/0.txt", "print \"a\"\n*first\nprint \"b\"\n*second\nprint \"c\"\n", 0);
    scriptState().cursor.line = 2;
  }

  static void setEntry(int j, const std::string& text, const std::string& tag = "") {
    BacklogEntry& e = backlog().entries[static_cast<size_t>(j)];
    std::memset(e.text, 0, sizeof e.text);
    std::memset(e.tag, 0, sizeof e.tag);
    std::memcpy(e.text, text.data(), text.size());
    std::memcpy(e.tag, tag.data(), tag.size());
  }
  static std::string entryText(int j) { return backlog().entries[static_cast<size_t>(j)].text; }
  static int32_t& intVariable(const std::string& name) { return variables().namedInts[name]; }
};

}  // namespace vellum::test
