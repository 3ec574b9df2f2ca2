// The balanced match \mXY: from an X to the Y that balances it.
local r = regexp(@"\m()");
local s = "call(a, (b, c), d) tail";
local m = r.search(s);
print(s.slice(m.begin, m.end) + "\n");
print(r.match("(x(y)z)") + " " + r.match("(x(y)z") + " " + r.match("(x)(y)") + "\n");
local q = regexp(@"x\m[]y");
local c = q.capture("ax[1[2]3]yb");
print(c[0].begin + " " + c[0].end + "\n");
local named = regexp(@"(\w+)\m()");
local parts = named.capture("f(g(h)) rest");
print(parts.len() + " " + parts[0].end + " " + parts[1].end + "\n");
print((r.search("no brackets") == null) + "\n");
try {
  regexp(@"\m");
  print("accepted\n");
} catch (e) {
  print("refused\n");
}
