function g(n) { for (local i = 0; i < n; i++) yield i; }
foreach (v in g(5)) print(v);
local t = newthread(function(a) { local r = suspend(a); return r * 2; });
t.call(1); t.wakeup(4);
