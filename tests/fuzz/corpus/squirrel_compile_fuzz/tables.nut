local t = { a = 1, [2] = "b", "c": [1, 2.5, null] };
t.d <- @(x) x * x;
foreach (k, v in t) print(k);
delete t.a;
t.setdelegate({ _get = function(k) { return k; } });
print(t.zzz + (t.c.len() <=> 3));
