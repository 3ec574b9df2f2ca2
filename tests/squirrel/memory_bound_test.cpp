// The collector counts container storage, not only objects: loops that keep re-creating large
// arrays, tables, instances, closures or blobs stay within a small multiple of their live data.
// Measured with the VM's own accounting (live bytes after a collection, and the peak of live
// bytes plus bytes allocated since, seen at the collector's safe points).
#include <gtest/gtest.h>

#include "squirrel/sq_memory.h"
#include "squirrel/squirrel_test_support.h"
#include "squirrel/standard_libraries.h"

namespace vellum {
namespace {

constexpr size_t kMiB = size_t{1} << 20;

struct ChurnCase {
  const char* label;
  const char* script;
  size_t allocatedAtLeast;  // what the loop allocates in all, so the bound below means something
};

const ChurnCase kChurnCases[] = {
    {"ArrayRebuild", "for (local i = 0; i < 300; i++) { local items = array(100000, i); }", 300 * 100000 * 16},
    {"ListBuilding",
     "function makeList(n) { local list = []; for (local i = 0; i < n; i++) list.append(i); return list; }"
     "for (local r = 0; r < 100; r++) { local l = makeList(20000); local d = l.map(@(x) x * 2); d.reverse(); }",
     100 * 2 * 20000 * 16},
    {"TableGrowth", "for (local i = 0; i < 100; i++) { local t = {}; for (local k = 0; k < 20000; k++) t[k] <- k; }",
     100 * 20000 * 32},
    {"InstanceFields",
     "class Wide { constructor() { for (local i = 0; i < 64; i++) this[\"f\" + i] = i; } "
     "f0=0;f1=0;f2=0;f3=0;f4=0;f5=0;f6=0;f7=0;f8=0;f9=0;f10=0;f11=0;f12=0;f13=0;f14=0;f15=0;"
     "f16=0;f17=0;f18=0;f19=0;f20=0;f21=0;f22=0;f23=0;f24=0;f25=0;f26=0;f27=0;f28=0;f29=0;f30=0;f31=0;"
     "f32=0;f33=0;f34=0;f35=0;f36=0;f37=0;f38=0;f39=0;f40=0;f41=0;f42=0;f43=0;f44=0;f45=0;f46=0;f47=0;"
     "f48=0;f49=0;f50=0;f51=0;f52=0;f53=0;f54=0;f55=0;f56=0;f57=0;f58=0;f59=0;f60=0;f61=0;f62=0;f63=0; }"
     "for (local i = 0; i < 20000; i++) { local w = Wide(); }",
     20000 * 64 * 16},
    {"ClosureDefaults",
     "for (local i = 0; i < 200000; i++) { local a = i, b = i, c = i; local f = function(x = [a, b, c]) { return a + b + c; }; }",
     200000 * 3 * 16},
    {"Blobs", "for (local i = 0; i < 300; i++) { local b = blob(1 << 20); b.writen(i, 'i'); }", 300 * kMiB},
};

class SquirrelMemoryBound : public ::testing::TestWithParam<ChurnCase> {};

TEST_P(SquirrelMemoryBound, PeakStaysNearTheLiveData) {
  const ChurnCase& c = GetParam();
  test::SquirrelRun run;
  registerSquirrelStandardLibraries(run.vm());
  sq_collectgarbage(run.vm());
  const uint64_t allocatedBefore = sqvm::storageAllocated.load();
  const size_t baseline = sqvm::memoryUse(run.vm()).heapBytes;
  ASSERT_TRUE(run.run(c.script)) << run.output();
  EXPECT_GE(sqvm::storageAllocated.load() - allocatedBefore, c.allocatedAtLeast) << "the loop should allocate this much";
  const sqvm::MemoryUse use = sqvm::memoryUse(run.vm());
  // Nothing survives the loop; the heap never held much more than one collection interval.
  EXPECT_LT(use.peakBytes, baseline + 16 * kMiB);
  sq_collectgarbage(run.vm());
  EXPECT_LT(sqvm::memoryUse(run.vm()).liveBytes, baseline + kMiB);
}

INSTANTIATE_TEST_SUITE_P(Loops, SquirrelMemoryBound, ::testing::ValuesIn(kChurnCases),
                         [](const auto& info) { return std::string(info.param.label); });

// Live data is counted, and the collection interval grows with it: with 32 MiB kept, churning
// through ten times as much keeps the heap within about twice the live data.
TEST(SquirrelMemory, IntervalGrowsWithTheLiveData) {
  test::SquirrelRun run;
  HSQUIRRELVM v = run.vm();
  sq_collectgarbage(v);
  const size_t baseline = sqvm::memoryUse(v).liveBytes;  // the VM's own stack and call frames
  ASSERT_TRUE(run.run("keep <- []; for (local i = 0; i < 20; i++) keep.append(array(100000, i));"));
  sq_collectgarbage(v);
  const size_t live = sqvm::memoryUse(v).liveBytes;
  EXPECT_GE(live, baseline + 20 * 100000 * 16u);
  ASSERT_TRUE(run.run("for (local i = 0; i < 300; i++) { local items = array(100000, i); }"));
  const sqvm::MemoryUse use = sqvm::memoryUse(v);
  EXPECT_LT(use.peakBytes, 2 * live + 8 * kMiB);
  ASSERT_TRUE(run.run("local s = 0; foreach (a in keep) s += a[0]; print(s);"));
  EXPECT_EQ(run.output(), "190");
  ASSERT_TRUE(run.run("keep = null;"));
  sq_collectgarbage(v);
  EXPECT_LT(sqvm::memoryUse(v).liveBytes, baseline + kMiB);
}

// A string's characters count toward its footprint, so big strings are collected too.
TEST(SquirrelMemory, LargeStringsAreCollected) {
  test::SquirrelRun run;
  HSQUIRRELVM v = run.vm();
  ASSERT_TRUE(run.run("local s = \"x\"; for (local i = 0; i < 20; i++) s += s; big <- s;"));
  sq_collectgarbage(v);
  const size_t live = sqvm::memoryUse(v).liveBytes;
  EXPECT_GE(live, size_t{1} << 20);
  const uint64_t allocatedBefore = sqvm::storageAllocated.load();
  ASSERT_TRUE(run.run("for (local i = 0; i < 200; i++) { local t = big + i; }"));
  EXPECT_GE(sqvm::storageAllocated.load() - allocatedBefore, 200u << 20);
  EXPECT_LT(sqvm::memoryUse(v).peakBytes, 2 * live + 16 * kMiB);
}

}  // namespace
}  // namespace vellum
