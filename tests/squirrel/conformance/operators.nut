// Integer and float rules, precedence, comparison, logic.
print((7 / 2) + " " + (7.0 / 2) + " " + (7 % 3) + " " + (-7 % 3) + " " + (7.5 % 2) + "\n");
print((1 + 2 * 3) + " " + ((1 + 2) * 3) + " " + (10 - 4 - 3) + " " + (2 * 3 % 4) + "\n");
print((1 + 0.5) + " " + typeof (1 + 0.5) + " " + typeof (2 * 3) + " " + typeof (4 / 2.0) + "\n");
print((5 & 3) + " " + (5 | 3) + " " + (5 ^ 3) + " " + (~5) + " " + (1 << 10) + " " + (-16 >> 2) + " " + (-1 >>> 60) + "\n");
print((1 < 2) + " " + (2 <= 2) + " " + (3 > 4) + " " + (4 >= 5) + " " + (1 == 1.0) + " " + (1 != 2) + "\n");
print((1 <=> 2) + " " + (2 <=> 2) + " " + (3 <=> 2) + " " + ("a" <=> "b") + "\n");
print(("abc" < "abd") + " " + ("b" > "a") + " " + ("x" == "x") + "\n");
print((null || "default") + " " + (0 || 5) + " " + (1 && 2) + " " + (null && 2) + "\n");
print((!null) + " " + (!1) + " " + (!0) + " " + (!"") + "\n");
print((true ? "yes" : "no") + " " + (0 ? "yes" : "no") + " " + (0.0 ? "yes" : "no") + "\n");
print((1 + 2 == 3 && 4 > 3) + " " + (1 | 2 ^ 3 & 4) + " " + (1 << 2 + 1) + "\n");
local x = 10;
x += 5; print(x + " ");
x -= 3; print(x + " ");
x *= 2; print(x + " ");
x /= 5; print(x + " ");
x %= 3; print(x + "\n");
local i = 5;
print(i++ + " " + i + " " + ++i + " " + i-- + " " + --i + " " + i + "\n");
print("n=" + 1 + 2 + " " + (1 + 2) + "s" + " " + 1.5 + null + true + "\n");
print(-(3) + " " + -(-2.5) + " " + (- x) + "\n");
local a = (x = 1, x + 2);
print(a + "\n");
print((0x7FFFFFFFFFFFFFFF + 1) + "\n");
try { print(1 / 0); } catch (e) { print(e + "\n"); }
try { print(1 % 0); } catch (e) { print(e + "\n"); }
try { print(1 & 1.5); } catch (e) { print("bitwise error\n"); }
try { print({} + 1); } catch (e) { print("arith error\n"); }
print((1.0 / 0 > 1000000) + "\n");
