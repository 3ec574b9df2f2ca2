// Runaway recursion is a catchable error; so is deep native nesting.
function down(n) { return down(n + 1) + 1; }
try { down(0); } catch (e) { print("recursion: " + e + "\n"); }
function viaNative(n) { return [n].map(@(v) viaNative(v + 1))[0]; }
try { viaNative(0); } catch (e) { print("native recursion: " + e + "\n"); }
class Loop { function _get(k) { return this[k]; } }
try { Loop().x; } catch (e) { print("metamethod recursion: " + e + "\n"); }
local t = {};
local u = {};
try { t.setdelegate(u); u.setdelegate(t); } catch (e) { print("delegate cycle: " + e + "\n"); }
print("still running\n");
local s = "";
for (local i = 0; i < 200; i++) s += "(";
s += "1";
for (local i = 0; i < 200; i++) s += ")";
try { compilestring("return " + s)(); } catch (e) { print("deep nesting: " + e + "\n"); }
local chain = "return 1";
for (local i = 0; i < 5000; i++) chain += "+1";
try { print(compilestring(chain)() + "\n"); } catch (e) { print("long chain: " + e + "\n"); }
