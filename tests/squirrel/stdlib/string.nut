print(format("[%5d][%-5d][%05d][%x][%X][%o][%c][%+d]\n", 42, 42, 42, 255, 255, 8, 65, 7));
print(format("[%s][%10s][%-10s][%.2s]\n", "abc", "abc", "abc", "abc"));
print(format("[%.2f][%8.3f][%e][%g]\n", 3.14159, 2.5, 1000.0, 0.5));
print(format("100%%\n"));
print(format("%d %s %.1f\n", 1.9, "x", 2));
print(format("%s|%d\n", "only the first two", 1, "extra"));
try { format("%d"); } catch (e) { print(e + "\n"); }
try { format("%s", 1); } catch (e) { print(e + "\n"); }
try { format("%d", "x"); } catch (e) { print(e + "\n"); }
try { format("%q", 1); } catch (e) { print(e + "\n"); }
try { format("%\x00d", 1); } catch (e) { print(e + "\n"); }
try { format("%5\x00", 1.5); } catch (e) { print(e + "\n"); }
try { format("%123d", 1); } catch (e) { print(e + "\n"); }
print("[" + strip("  a b \t\n") + "][" + lstrip("  a ") + "][" + rstrip(" a  ") + "][" + strip("   ") + "]\n");
local parts = split("1.2-3;;4/5", ".-/;");
print(parts.len() + ":");
foreach (p in parts) print("<" + p + ">");
print("\n");
print(split("1.2-3;;4/5", ".-/;", true).len() + " " + split("", ",").len() + " " + split(",", ",").len() + "\n");
print(escape("a\"b\\c\n\t'") + "\n");
print(escape("\x01z") + "\n");
print(startswith("hello", "he") + " " + startswith("hello", "lo") + " " + endswith("hello", "lo") + " "
      + endswith("lo", "hello") + " " + startswith("x", "") + "\n");
printf("%s=%d\n", "n", 3);
