// Metamethods on class instances and table delegates.
class Vec {
  x = 0; y = 0;
  constructor(a, b) { x = a; y = b; }
  function _add(o) { return Vec(x + o.x, y + o.y); }
  function _sub(o) { return Vec(x - o.x, y - o.y); }
  function _mul(k) { return Vec(x * k, y * k); }
  function _div(k) { return Vec(x / k, y / k); }
  function _modulo(k) { return Vec(x % k, y % k); }
  function _unm() { return Vec(-x, -y); }
  function _cmp(o) { return (x + y) <=> (o.x + o.y); }
  function _tostring() { return "(" + x + "," + y + ")"; }
  function _typeof() { return "Vec"; }
  function _call(self, k) { return x * k; }
  function _cloned(original) { x = original.x + 1000; }
}
local a = Vec(1, 2), b = Vec(10, 20);
print((a + b) + " " + (b - a) + " " + (a * 3) + " " + (b / 2) + " " + (b % 3) + " " + (-a) + "\n");
print((a < b) + " " + (a > b) + " " + (a <= a) + " " + (a <=> b) + " " + typeof a + "\n");
print("as text: " + a + " call: " + a(5) + "\n");
print((clone a) + "\n");
class Props {
  store = null;
  constructor() { store = {}; }
  function _get(k) { if (k in store) return store[k]; throw null; }
  function _set(k, v) { store[k] <- v; }
}
local p = Props();
p.color = "red";
print(p.color + "\n");
try { print(p.size); } catch (e) { print(e + "\n"); }
local log = [];
local meta = {
  _newslot = function(k, v) { log.append("new " + k); rawset(k, v); },
  _delslot = function(k) { log.append("del " + k); rawdelete(k); },
  _get = function(k) { if (k == "missing") return "default-" + k; throw null; },
  _set = function(k, v) { log.append("set " + k); },
  _add = function(o) { return "added " + o; },
  _tostring = function() { return "TABLE!"; },
  _typeof = function() { return "special"; },
  _cmp = function(o) { return 0; },
  _call = function(self, x) { return "called with " + x; }
};
local t = {}.setdelegate(meta);
t.a <- 1;
t.a = 2;
t.b = 3;
delete t.a;
print(t.missing + " " + (t + 5) + " " + t + " " + typeof t + " " + (t <= t) + " " + t(9) + "\n");
print(log.len() + ": " + log[0] + ", " + log[1] + ", " + log[2] + "\n");
class Iter {
  data = null;
  constructor() { data = ["a", "b", "c"]; }
  function _nexti(prev) {
    if (prev == null) return 0;
    return prev + 1 < data.len() ? prev + 1 : null;
  }
  function _get(i) { if (typeof i == "integer") return data[i]; throw null; }
}
local s = "";
foreach (k, v in Iter()) s += k + v + " ";
print(s + "\n");
class Parent {
  static children = [];
  function _inherited(attributes) { children.append(attributes ? attributes.tag : "none"); }
}
class ChildA extends Parent </ tag = "A" /> {}
class ChildB extends Parent {}
print(Parent.children.len() + " " + Parent.children[0] + " " + Parent.children[1] + "\n");
class Recorder {
  static members = [];
  function _newmember(key, value, attrs, isstatic) { members.append(key); }
}
class Recorded extends Recorder { function f() {} g = 1; }
print(Recorder.members.len() + " " + ("f" in Recorded) + "\n");
local cloned = clone {}.setdelegate({ _cloned = function(orig) { this.copied <- true; } });
print(cloned.copied + "\n");
