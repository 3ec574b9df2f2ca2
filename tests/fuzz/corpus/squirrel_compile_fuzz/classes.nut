class A { x = 1; constructor(v) { x = v; } function f() { return x; } static s = 2; }
class B extends A { function f() { return base.f() + 1; } }
local b = B(3); print(b.f() + B.s);
