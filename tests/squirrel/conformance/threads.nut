// Cooperative threads: call, suspend, wakeup, status.
function worker(a, b) {
  print("start " + a + " " + b + "\n");
  local x = suspend("first");
  print("got " + x + "\n");
  local y = suspend("second");
  print("got " + y + "\n");
  return a + b;
}
local t = newthread(worker);
print(typeof t + " " + t.getstatus() + "\n");
local r = t.call(1, 2);
print("yielded " + r + " " + t.getstatus() + "\n");
r = t.wakeup("w1");
print("yielded " + r + "\n");
r = t.wakeup("w2");
print("returned " + r + " " + t.getstatus() + "\n");
local t2 = newthread(function() { local v = suspend(); return "v=" + v; });
t2.call();
print(t2.wakeup(7) + "\n");
local t3 = newthread(function() { throw "thread error"; });
try { t3.call(); } catch (e) { print("caught " + e + "\n"); }
print(t3.getstatus() + "\n");
try { suspend(); } catch (e) { print("main: " + e + "\n"); }
local t4 = newthread(function() { suspend(1); throw "after wake"; });
t4.call();
try { t4.wakeup(); } catch (e) { print("caught " + e + "\n"); }
local steps = [];
local t5 = newthread(function(n) { for (local i = 0; i < n; i++) suspend(i); return "end"; });
local v = t5.call(3);
while (t5.getstatus() == "suspended") { steps.append(v); v = t5.wakeup(); }
print(steps.len() + " " + v + "\n");
local info = null;
local t6 = newthread(function() { suspend(); });
t6.call();
info = t6.getstackinfos(0);
print(info.func + " " + info.src + "\n");
