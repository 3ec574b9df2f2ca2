// Weak references.
local t = { name = "target" };
local w = t.weakref();
print(typeof w + " " + w.ref().name + "\n");
t = null;
collectgarbage();
print(w.ref() + "\n");
local n = 5;
print(n.weakref() + " " + typeof n.weakref() + "\n");
local arr = [1, 2];
local wa = arr.weakref();
print(wa.ref().len() + " " + (wa.weakref() == wa) + "\n");
class C { v = 1; }
local inst = C();
local wi = inst.weakref();
print(wi.ref().v + "\n");
inst = null;
collectgarbage();
print((wi.ref() == null) + "\n");
local env = { tag = "bound" };
local f = (function() { return this ? this.tag : "gone"; }).bindenv(env);
print(f() + "\n");
env = null;
collectgarbage();
print(f() + "\n");
