// The ring of pages kept for rolling back: how many it keeps, the pieces consecutive pages share,
// and the engine's rollback state starting clean after a reset.
#include <gtest/gtest.h>

#include <string>

#include "engine/rollback.h"
#include "engine/rollback_ring.h"
#include "engine/startup.h"

namespace vellum {
namespace {

// A block of `sprites` sprite lines and a page line, as a page's save block would hold them.
std::string pageBlock(int page, int sprites = 50) {
  std::string block = "Escaped=1\n";
  for (int n = 0; n < sprites; ++n)
    block += "Sprite" + std::to_string(n) + "=bg.png,0:0:0:0:0:0:0:0:0:0,0,0,100,100,255,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n";
  return block + "Integer=g_page=" + std::to_string(page) + ",\n";
}

PageContext pageAt(int backlogIndex) {
  PageContext context;
  context.backlogIndex = backlogIndex;
  return context;
}

TEST(RollbackRing, KeepsTheNewestPagesUpToItsCapacity) {
  RollbackRing ring;
  ring.setCapacity(3);
  for (int page = 1; page <= 5; ++page) ring.push(pageBlock(page), pageAt(page));
  ASSERT_EQ(ring.size(), 3u);
  EXPECT_EQ(ring.back(0).context.backlogIndex, 5);
  EXPECT_EQ(ring.back(2).context.backlogIndex, 3);
  EXPECT_EQ(RollbackRing::blockText(ring.back(1)), pageBlock(4));

  ring.setCapacity(2);  // a smaller depth forgets the oldest
  EXPECT_EQ(ring.size(), 2u);
  EXPECT_EQ(ring.back(1).context.backlogIndex, 4);
  ring.dropNewest(1);
  EXPECT_EQ(ring.back(0).context.backlogIndex, 4);

  ring.setCapacity(0);  // off: nothing kept, nothing taken
  EXPECT_TRUE(ring.empty());
  EXPECT_EQ(ring.push(pageBlock(6), pageAt(6)).storedBytes, 0u);
  EXPECT_TRUE(ring.empty());
}

TEST(RollbackRing, APageSharesThePiecesItDidNotChange) {
  RollbackRing ring;
  ring.setCapacity(10);
  const SnapshotCost first = ring.push(pageBlock(1), pageAt(1));
  const SnapshotCost second = ring.push(pageBlock(2), pageAt(2));
  EXPECT_GE(first.storedBytes, first.blockBytes);
  // Only the piece with the changed line is new: the second page costs its list and that piece.
  EXPECT_LT(second.storedBytes * 3, second.blockBytes);
  const PageSnapshot &a = ring.back(1), &b = ring.back(0);
  ASSERT_EQ(a.pieces.size(), b.pieces.size());
  ASSERT_GT(a.pieces.size(), 3u);
  for (size_t i = 0; i + 1 < a.pieces.size(); ++i) EXPECT_EQ(a.pieces[i].get(), b.pieces[i].get()) << i;
  EXPECT_NE(a.pieces.back().get(), b.pieces.back().get());
  EXPECT_EQ(ring.heldBytes(), first.storedBytes + second.storedBytes);  // before the list below
  // A list with a value for every backlog page: a new page changes one value, and one piece.
  std::string list = "msgLine=";
  for (int j = 0; j < 200; ++j) list += "2F,";
  const SnapshotCost listed = ring.push(pageBlock(2) + list + "0\n", pageAt(3));
  list.replace(8, 2, "30");
  const SnapshotCost changed = ring.push(pageBlock(2) + list + "0\n", pageAt(4));
  EXPECT_EQ(RollbackRing::blockText(ring.back(0)), pageBlock(2) + list + "0\n");
  EXPECT_LT(changed.storedBytes * 2, listed.storedBytes);
  // A block whose last line has no line feed comes back exactly.
  ring.push("Escaped=1\nFile=A,3", pageAt(3));
  EXPECT_EQ(RollbackRing::blockText(ring.back(0)), "Escaped=1\nFile=A,3");
}

TEST(RollbackRing, ResetTurnsRollingBackOffAndForgetsThePages) {
  resetAllState();
  ASSERT_TRUE(setRollbackDepth(4));
  EXPECT_EQ(rollbackDepth(), 4);
  resetAllState();
  EXPECT_EQ(rollbackDepth(), 0);
  EXPECT_EQ(rollbackSteps(), 0);
  EXPECT_EQ(rollbackStats().pages, 0u);
  EXPECT_EQ(rollbackStats().heldBytes, 0u);
}

}  // namespace
}  // namespace vellum
