// return f(...) reuses the frame, so deep tail recursion does not overflow.
function loopy(n) { if (n > 0) return loopy(n - 1); return "done"; }
print(loopy(100000) + "\n");
function acc(n, s = 0) { return n == 0 ? s : acc(n - 1, s + n); }
print(acc(10) + "\n");
function even(n) { if (n == 0) return true; return odd(n - 1); }
function odd(n) { if (n == 0) return false; return even(n - 1); }
print(even(50001) + "\n");
function vtail(...) { if (vargv.len() == 0) return "v"; return vtail(); }
print(vtail(1, 2) + "\n");
function ntail() { return "x".toupper(); }
print(ntail() + "\n");
function ctail() { local c = 5; local f = function() { return c; }; return f(); }
print(ctail() + "\n");
try { (function() { return undefined(); })(); } catch (e) { print(e + "\n"); }
function counter(n) { local k = n; return (function() { return k; })(); }
print(counter(7) + "\n");
