// What the Squirrel binding reports, byte for byte, and its VM's life: scripts run in-process with a
// recorder for the error boxes.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <vellum/exports.h>

#include <filesystem>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "commands/squirrel/squirrel_binding.h"
#include "base/engine_state.h"
#include "script/builtins/plugin_libraries.h"
#include "script/variables.h"
#include "storage/archive_writer.h"
#include "storage/file_loader.h"
#include "support/engine_fixture.h"
#include "test_paths.h"

namespace vellum {
namespace {

class SquirrelReports : public test::EngineTest {
 protected:
  void SetUp() override {
    test::EngineTest::SetUp();
    registerAllCommands();
  }
  void TearDown() override {
    // The VM holds the plug-in's functions and release hooks: it goes before the plug-in does.
    resetSquirrel();
    freeAllPluginLibraries();
    test::EngineTest::TearDown();
  }
  void runScript(const std::string& utf8) {
    ASSERT_TRUE(addScript("script/0.txt", test::gbk(utf8), 0));
    run();
  }
  std::string onlyBox() const {
    EXPECT_EQ(reports.shownBoxes.size(), 1u);
    return reports.shownBoxes.empty() ? std::string() : reports.shownBoxes[0];
  }
};

TEST_F(SquirrelReports, ACompileErrorNamesThePathAndTheCompilerText) {
  game.write("squ/a.nut", "local x = ;\n");
  runScript("loadSqu \"squ/a.nut\"\n");
  const std::string box = onlyBox();
  EXPECT_EQ(box.rfind("squ/a.nut を読み込めませんでした\nsqu/a.nut line = (1)", 0), 0u) << box;
  EXPECT_NE(box.find(" : error "), std::string::npos) << box;
  EXPECT_TRUE(box.ends_with("\r\nscript/0.txt[1] loadSqu")) << box;
  EXPECT_EQ(squirrelVM(), nullptr);
}

TEST_F(SquirrelReports, ARunErrorListsTheStackLevels) {
  game.write("squ/a.nut", "function inner() {\n  print(\"\"); throw \"boom\";\n}\nfunction outer() { inner(); }\nouter();\n");
  runScript("loadSqu \"squ/a.nut\"\n");
  const std::string box = onlyBox();
  EXPECT_EQ(box.rfind("squ/a.nut を実行出来ませんでした\n\nAN ERROR HAS OCCURRED [boom]\n\nCALLSTACK\n", 0), 0u) << box;
  const size_t inner = box.find("*FUNCTION [inner()] squ/a.nut line [2]\n");
  const size_t outer = box.find("*FUNCTION [outer()] squ/a.nut line [4]\n");
  ASSERT_NE(inner, std::string::npos) << box;
  ASSERT_NE(outer, std::string::npos) << box;
  EXPECT_LT(inner, outer);
  EXPECT_NE(box.find("squ/a.nut line [5]\n"), std::string::npos) << box;
  EXPECT_NE(box.find("\nLOCALS\n"), std::string::npos) << box;
  EXPECT_TRUE(box.ends_with("\r\nscript/0.txt[1] loadSqu")) << box;
  EXPECT_EQ(squirrelVM(), nullptr);
}

TEST_F(SquirrelReports, ErrorcFromSquirrelShowsEachLevelWithoutTheGameFolder) {
  game.write("squ/a.nut", "function inner() {\n  error(\"bad\", 1);\n}\ninner();\n");
  runScript("loadSqu \"" + game.withSlash() + "squ/a.nut\"\n");
  EXPECT_EQ(onlyBox(), "error bad\n\tsqu/a.nut:2: inner\n\tsqu/a.nut:4: main");
  EXPECT_NE(squirrelVM(), nullptr);  // a report is no error of the VM
}

TEST_F(SquirrelReports, MessagesOfScriptFunctionCalls) {
  game.write("squ/a.nut", "function thrower(x) { print(\"\"); throw \"no \" + x; }\n");
  runScript("loadSqu \"squ/a.nut\"\nfuncSqu missing, 0\nmissing 1\nfuncSqu thrower, 0\nthrower 7\n");
  ASSERT_EQ(reports.shownBoxes.size(), 2u);
  EXPECT_EQ(reports.shownBoxes[0].rfind("sq_get\n", 0), 0u) << reports.shownBoxes[0];
  EXPECT_NE(reports.shownBoxes[0].find("missing"), std::string::npos) << reports.shownBoxes[0];
  EXPECT_TRUE(reports.shownBoxes[0].ends_with("\r\nscript/0.txt[3] missing")) << reports.shownBoxes[0];
  EXPECT_EQ(reports.shownBoxes[1].rfind("sq_call\n\nAN ERROR HAS OCCURRED [no 7]\n", 0), 0u) << reports.shownBoxes[1];
  EXPECT_NE(reports.shownBoxes[1].find("*FUNCTION [thrower()] squ/a.nut line [1]"), std::string::npos);
  // The report names the script function, not the last command it ran.
  EXPECT_TRUE(reports.shownBoxes[1].ends_with("\r\nscript/0.txt[5] thrower")) << reports.shownBoxes[1];
  // A failed call leaves the VM open, with what it defined.
  EXPECT_NE(squirrelVM(), nullptr);
}

TEST_F(SquirrelReports, ResultKindsStoreIntoTheOutputVariable) {
  game.write("squ/a.nut",
             "function number(a, b) { return a * 10 + b; }\nfunction text(s) { return s + \"?\"; }\n"
             "function nothing() { ::called <- true; }\n");
  runScript("loadSqu \"squ/a.nut\"\nfuncSqu number, 1\nfuncSqu text, 2\nfuncSqu nothing, 0\n"
            "number 4, 2, %7\ntext \"who\", $7\nnothing\n");
  EXPECT_TRUE(reports.shownBoxes.empty()) << reports.shownBoxes[0];
  EXPECT_EQ(variables().ints[7], 42);
  EXPECT_EQ(variables().strings[7], "who?");
}

TEST_F(SquirrelReports, EndInsideSquirrelEndsTheVmAfterTheCall) {
  game.write("squ/a.nut", "::end();\n::after <- 1;\n");
  runScript("loadSqu \"squ/a.nut\"\n");
  EXPECT_EQ(engine().quitFlag, 1);
  EXPECT_EQ(squirrelVM(), nullptr);
  EXPECT_TRUE(reports.shownBoxes.empty());
}

TEST_F(SquirrelReports, AFailingNestedLoadClosesTheVmOnlyAfterTheOuterScript) {
  game.write("squ/a.nut", "loadSqu(\"squ/bad.nut\");\nsetScriptInteger(1, 7);\n");
  game.write("squ/bad.nut", "throw \"inner\";\n");
  runScript("loadSqu \"squ/a.nut\"\n");
  ASSERT_EQ(reports.shownBoxes.size(), 1u);
  // Reported while the outer script runs: with the Squirrel context.
  EXPECT_EQ(reports.shownBoxes[0].rfind("loadSqu squ/bad.nut を実行出来ませんでした\n", 0), 0u) << reports.shownBoxes[0];
  EXPECT_TRUE(reports.shownBoxes[0].ends_with("\n\tsqu/a.nut:1: main")) << reports.shownBoxes[0];
  EXPECT_EQ(variables().ints[1], 7);
  EXPECT_EQ(squirrelVM(), nullptr);
}

TEST_F(SquirrelReports, IoOpensFilesUnderTheGameFolder) {
  game.write("squ/a.nut",
             "local f = file(\"out/../note.txt\", \"w\");\nf.writen('h', 'b');\nf.close();\n"
             "::got <- file(\"note.txt\", \"rb\").readn('b');\n");
  std::filesystem::create_directories(game / "out");
  runScript("loadSqu \"squ/a.nut\"\n");
  EXPECT_TRUE(reports.shownBoxes.empty()) << reports.shownBoxes[0];
  EXPECT_EQ(test::readFileBytes(game / "note.txt"), "h");
}

TEST_F(SquirrelReports, DofileAndLoadfileReadScriptsFromTheArchives) {
  const std::string library = "return \"from the archive\";\n";
  std::vector<uint8_t> archive;
  std::string error;
  ASSERT_TRUE(buildArchive({{"squ/lib.nut", std::vector<uint8_t>(library.begin(), library.end())}},
                           ArchiveMode::Scramble, ArchiveLayout::Acv1, archive, error))
      << error;
  game.write("arc0.dat", std::string(archive.begin(), archive.end()));
  readArchives();
  game.write("squ/a.nut",
             "setScriptString(1, dofile(\"squ/lib.nut\"));\nsetScriptString(2, loadfile(\"squ/lib.nut\")());\n"
             "try { dofile(\"squ/none.nut\"); } catch (e) { setScriptString(3, e); }\n");
  runScript("loadSqu \"squ/a.nut\"\n");
  EXPECT_TRUE(reports.shownBoxes.empty()) << reports.shownBoxes[0];
  EXPECT_EQ(variables().strings[1], "from the archive");
  EXPECT_EQ(variables().strings[2], "from the archive");
  EXPECT_EQ(variables().strings[3], "cannot open the file");
}

TEST_F(SquirrelReports, AMissingFileIsASquirrelErrorNotACrash) {
  game.write("squ/a.nut", "try { file(\"absent.txt\", \"r\"); } catch (e) { ::caught <- e; }\n"
                          "try { file(\"x.txt\", \"rw+q\"); } catch (e) { ::mode <- e; }\n"
                          "try { dofile(\"absent.nut\"); } catch (e) { ::loading <- e; }\n");
  runScript("loadSqu \"squ/a.nut\"\n");
  EXPECT_TRUE(reports.shownBoxes.empty()) << reports.shownBoxes[0];
  EXPECT_NE(squirrelVM(), nullptr);
}

TEST_F(SquirrelReports, APluginRegistersAClassAFunctionAndAConstant) {
  std::filesystem::create_directories(game / "plugin");
  std::filesystem::copy_file(VELLUM_SQUIRREL_PLUGIN_PATH, game / "plugin/squirrel_plugin.so");
  game.write("squ/init.nut", "::ready <- true;\n");
  game.write("squ/use.nut",
             "local c = Counter(40);\nc.add(1);\nsetScriptInteger(1, c.add(1));\n"
             "setScriptInteger(2, plugin_twice(21));\nsetScriptInteger(3, PLUGIN_ANSWER);\n"
             "plugin_define();\nsetScriptInteger(4, ::FROM_CALL);\n"
             "local b = plugin_blob();\nsetScriptInteger(5, b.len() * 100 + b[0] * 10 + b[2]);\n");
  runScript("loadSqu \"squ/init.nut\"\nloadLibrary \"squirrel_plugin.dll\"\nloadSqu \"squ/use.nut\"\n");
  EXPECT_TRUE(reports.shownBoxes.empty()) << reports.shownBoxes[0];
  EXPECT_EQ(variables().ints[1], 42);
  EXPECT_EQ(variables().ints[2], 42);
  EXPECT_EQ(variables().ints[3], 42);
  EXPECT_EQ(variables().ints[4], 5);
  EXPECT_EQ(variables().ints[5], 313);
}

TEST_F(SquirrelReports, ThePrintFunctionAppendsToSquirrelMessages) {
  game.write("squ/a.nut", "printf(\"%s-%d|\", \"a\", 1);\nlocal long = \"\";\nfor (local i = 0; i < 300; ++i) long += \"x\";\n"
                          "printf(\"%s\", long);\n");
  runScript("loadSqu \"squ/a.nut\"\n");
  EXPECT_TRUE(reports.shownBoxes.empty());
  // Each call keeps at most 255 bytes.
  EXPECT_EQ(squirrelMessages(), "a-1|" + std::string(255, 'x'));
}

TEST_F(SquirrelReports, ExportsHandOutTheVm) {
  HSQUIRRELVM vm = reinterpret_cast<HSQUIRRELVM>(this);
  getVMSquirrel(&vm);
  EXPECT_EQ(vm, nullptr);
  game.write("squ/a.nut", "::x <- 1;\n");
  runScript("loadSqu \"squ/a.nut\"\n");
  getVMSquirrel(&vm);
  EXPECT_EQ(vm, squirrelVM());
  ASSERT_NE(vm, nullptr);
  // Outside any call the constant goes into the const table, where later scripts see it.
  sq_const_int(vm, "SEVEN", 7);
  sq_pushconsttable(vm);
  sq_pushstring(vm, "SEVEN", -1);
  ASSERT_TRUE(SQ_SUCCEEDED(sq_rawget(vm, -2)));
  SQInteger seven = 0;
  sq_getinteger(vm, -1, &seven);
  EXPECT_EQ(seven, 7);
  sq_pop(vm, 2);
}

}  // namespace
}  // namespace vellum
