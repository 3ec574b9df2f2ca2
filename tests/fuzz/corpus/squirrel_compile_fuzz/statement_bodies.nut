function min(x, y) return x < y ? x : y;
class C { constructor(v) value = v; value = 0; function get() return value; }
enum E { A, B = 5, C }
local t = {}.setdelegate({ k = 1 }); t.k = 2; print(C.getbase());
