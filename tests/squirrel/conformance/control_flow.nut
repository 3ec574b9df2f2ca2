// if/else, loops, foreach, switch, break and continue.
function classify(n) {
  if (n < 0) return "negative";
  else if (n == 0) return "zero";
  else return "positive";
}
print(classify(-1) + " " + classify(0) + " " + classify(5) + "\n");
local i = 0, s = "";
while (i < 5) { s += i; i++; }
print(s + "\n");
s = "";
do { s += i; i--; } while (i > 2);
print(s + "\n");
s = "";
for (local j = 0; j < 10; j++) {
  if (j == 2) continue;
  if (j == 6) break;
  s += j;
}
print(s + "\n");
s = "";
for (local a = 0, b = 10; a < b; a += 3, b -= 3) s += a + "-" + b + " ";
print(s + "\n");
local n = 0;
for (;;) { if (++n > 3) break; }
print(n + "\n");
s = "";
foreach (v in [10, 20, 30]) s += v + " ";
foreach (idx, v in [10, 20, 30]) s += idx + " ";
print(s + "\n");
function sw(x) {
  local r = "";
  switch (x) {
    case 1: r += "one ";
    case 2: r += "two "; break;
    case "s": r += "string "; break;
    case 3.5: r += "float "; break;
    default: r += "default ";
  }
  return r;
}
print(sw(1) + "| " + sw(2) + "| " + sw("s") + "| " + sw(3.5) + "| " + sw(null) + "\n");
s = "";
foreach (v in [1, 2, 3, 4, 5, 6]) {
  switch (v % 3) {
    case 0: continue;
    default: s += v;
  }
}
print(s + "\n");
s = "";
for (local x = 0; x < 3; x++)
  for (local y = 0; y < 3; y++) {
    if (y > x) break;
    s += x + "" + y + " ";
  }
print(s + "\n");
local nested = 0;
while (true) {
  while (true) { nested++; break; }
  if (nested >= 3) break;
}
print(nested + "\n");
if (0) print("no\n"); else if (null) print("no\n"); else print("else branch\n");
