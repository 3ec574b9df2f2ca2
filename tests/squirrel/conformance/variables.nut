// Locals, root-table variables, new slots and deletion.
g <- 10;
print(g + " " + ::g + " " + getroottable().g + "\n");
g = 20;
print(g + "\n");
local l = 1;
{
  local l = 2;
  print("inner " + l + "\n");
}
print("outer " + l + "\n");
function setGlobal() { ::h <- "made"; }
setGlobal();
print(h + "\n");
try { undefinedName = 1; } catch (e) { print(e + "\n"); }
try { print(missing); } catch (e) { print(e + "\n"); }
delete ::h;
print(("h" in getroottable()) + "\n");
local t = { a = 1, b = 2 };
print(delete t.a);
print(" " + ("a" in t) + " " + t.len() + "\n");
local u, v = 3, w;
print(u + " " + v + " " + w + "\n");
function f() { return this == getroottable(); }
print(f() + "\n");
