local ex = regexp(@"(\d+) ([a-zA-Z]+)(\p)");
local text = "stuff 123 Test;";
local res = ex.capture(text);
foreach (i, val in res) print(format("match number[%02d] %s\n", i, text.slice(val.begin, val.end)));
print(ex.subexpcount() + " " + typeof ex + "\n");
local r = regexp("[a-zA-Z]+");
local s = "123 Test;";
local m = r.search(s);
print(s.slice(m.begin, m.end) + " " + m.begin + " " + m.end + "\n");
print(regexp("a+b").match("aaab") + " " + regexp("a+b").match("aaabc") + " " + regexp("a*").match("") + "\n");
print((regexp("^ab").search("xab") == null) + " " + regexp("^ab").search("xab", 1).begin + "\n");
print(regexp("b").search("abcb", 2).begin + " " + (regexp("x|y").capture("zzz") == null) + "\n");
local n = regexp(@"\d{2,3}").search("a1234");
print(n.begin + " " + n.end + " " + regexp(@"x{2}").match("xx") + " " + regexp(@"x{2,}").match("xxxx") + "\n");
print(regexp(@"\a+").search("12ab3").begin + " " + regexp(@"[\d]+").search("ab12").begin + " "
      + regexp(@"\s\S").search("ab c").begin + " " + regexp(@"\w+").search("  _x1 ").end + "\n");
print(regexp(@"\l\u").search("aAbB").begin + " " + regexp(@"\x+").search("xyzBEEF").begin + " "
      + regexp(@"[^\d]").search("12a").begin + " " + regexp(@"\D\W").search("1a.").begin + "\n");
print(regexp("(?:ab)+").capture("ababx").len() + " " + regexp("(?:ab)+").search("ababx").end + "\n");
print(regexp(@"\bcat\b").search("concat cat").begin + " " + regexp(@"\Bcat").search("cat concat").begin + "\n");
print(regexp("a.b").match("a\nb") + " " + (regexp("a$").search("a\n") == null) + " " + regexp("a|b|c").match("b") + "\n");
print(regexp(@"\.\*\+").match(".*+") + " " + regexp(@"\t\n").match("\t\n") + " " + regexp("[a-c]+").match("abcabc") + "\n");
local u = regexp("(a)|(b)").capture("b");
print(u[1].begin + " " + u[1].end + " " + u[2].begin + " " + u[2].end + "\n");
foreach (bad in ["(ab", "ab)", "[a", "*a", "a{", "a{3,1}", "[b-a]", @"a\"]) {
  try { regexp(bad); print("compiled " + bad + "\n"); } catch (e) { print("refused " + bad + "\n"); }
}
try { regexp("a").search("abc", 10); } catch (e) { print("bad start\n"); }
