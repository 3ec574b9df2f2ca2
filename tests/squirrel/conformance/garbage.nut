// Cycles are reclaimed: a loop creating cyclic tables does not grow without bound.
for (local i = 0; i < 50000; i++) {
  local a = {}, b = { other = a };
  a.other <- b;
  a.self <- a;
}
print("freed " + (collectgarbage() >= 0) + "\n");
class Node { next = null; }
for (local i = 0; i < 20000; i++) {
  local n = Node();
  n.next = n;
}
collectgarbage();
print("done\n");
