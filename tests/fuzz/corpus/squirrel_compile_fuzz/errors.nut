try { throw { code = 1 }; } catch (e) { print(e.code); }
function rec(n) { return rec(n + 1); }
try { rec(0); } catch (e) {}
const K = 5; enum E { A, B = 3 }
local s = @"verbatim ""q""" + 'c' + 0x1F + 017 + 1.5e3;
switch (K) { case 5: print(E.B); break; default: }
