// The collector reclaims cycles: the number of live objects stays bounded while a script keeps
// creating cyclic structures.
#include <gtest/gtest.h>

#include "squirrel/squirrel_test_support.h"

namespace vellum {
namespace {

TEST(SquirrelGarbageCollector, CyclicGarbageDoesNotAccumulate) {
  test::SquirrelRun run;
  HSQUIRRELVM v = run.vm();
  ASSERT_TRUE(run.run("function churn(n) { for (local i = 0; i < n; i++) { local a = {}, b = [a]; a.b <- b; a.me <- a; } }"));
  const SQInteger before = sq_getlivecount(v);
  ASSERT_TRUE(run.run("churn(100000);"));
  const SQInteger afterRun = sq_getlivecount(v);
  EXPECT_LT(afterRun - before, 100000);  // collected while running, not only at the end
  ASSERT_TRUE(run.run("churn(300000);"));
  EXPECT_LT(sq_getlivecount(v) - before, 100000);
  sq_collectgarbage(v);
  EXPECT_LT(sq_getlivecount(v) - before, 100);
}

TEST(SquirrelGarbageCollector, ReachableObjectsSurvive) {
  test::SquirrelRun run;
  ASSERT_TRUE(run.run("keep <- []; for (local i = 0; i < 50000; i++) { keep.append({ v = i }); local junk = [i]; }"));
  sq_collectgarbage(run.vm());
  ASSERT_TRUE(run.run("local s = 0; foreach (t in keep) s += t.v; print(s);"));
  EXPECT_EQ(run.output(), "1249975000");
}

TEST(SquirrelGarbageCollector, ClassInstancesAndClosuresInCycles) {
  test::SquirrelRun run;
  HSQUIRRELVM v = run.vm();
  ASSERT_TRUE(run.run("class Node { next = null; f = null; }"));
  const SQInteger before = sq_getlivecount(v);
  ASSERT_TRUE(run.run("for (local i = 0; i < 100000; i++) { local n = Node(); n.next = n; n.f = function() { return n; }; }"));
  sq_collectgarbage(v);
  EXPECT_LT(sq_getlivecount(v) - before, 100);
}

}  // namespace
}  // namespace vellum
