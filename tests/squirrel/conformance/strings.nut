// Strings and the string default delegate.
local s = "Hello, World";
print(s.len() + " " + s[0] + " " + s.slice(7) + " " + s.slice(0, 5) + " " + s.slice(-5, -1) + "\n");
print(s.find("o") + " " + s.find("o", 5) + " " + s.find("xyz") + "\n");
print(s.toupper() + " " + s.tolower() + "\n");
print("42".tointeger() + 1 + " " + "7f".tointeger(16) + " " + "2.5".tofloat() * 2 + " " + "abc".tointeger() + "\n");
print(65.tochar() + 97.tochar() + " " + (104.5).tochar() + "\n");
print(12.tostring() + "|" + 1.25.tostring() + "|" + true.tostring() + "|" + 3.tofloat() + "|" + 3.9.tointeger() + "|" + true.tointeger() + "\n");
local chars = "";
foreach (i, c in "abc") chars += i + ":" + c.tochar() + " ";
print(chars + "\n");
local built = "";
for (local i = 0; i < 5; i++) built += i;
print(built + " " + built.len() + "\n");
print(("a" + "b" == "ab") + " " + typeof s + "\n");
try { s.slice(5, 100); } catch (e) { print("slice error\n"); }
