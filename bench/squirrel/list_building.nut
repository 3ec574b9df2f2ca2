// Builds lists and derived lists over and over; only the last round's lists stay reachable.
function makeList(n) {
  local list = [];
  for (local i = 0; i < n; i++) list.append(i);
  return list;
}

local total = 0;
for (local round = 0; round < 300; round++) {
  local list = makeList(20000);
  local doubled = list.map(@(x) x * 2);
  doubled.reverse();
  local evens = doubled.filter(@(i, x) x % 4 == 0);
  total += evens.len() + list.top();
}
print(total + "\n");
