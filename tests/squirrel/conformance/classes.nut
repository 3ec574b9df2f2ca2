// Classes: members, constructors, statics, inheritance, base, attributes.
class Animal </ kind = "base class" /> {
  name = null;
  legs = 4;
  static created = "static value";
  constructor(n) { name = n; }
  function speak() { return name + " makes a sound"; }
  function describe() { return name + " has " + legs + " legs"; }
}
class Bird extends Animal {
  </ doc = "wings" /> wings = 2;
  constructor(n) { base.constructor(n); legs = 2; }
  function speak() { return base.speak() + ": tweet"; }
}
local a = Animal("cat"), b = Bird("robin");
print(a.speak() + "\n" + b.speak() + "\n" + b.describe() + "\n");
print((b instanceof Bird) + " " + (b instanceof Animal) + " " + (a instanceof Bird) + " " + (1 instanceof Animal) + "\n");
print(typeof a + " " + typeof Animal + " " + (b.getclass() == Bird) + "\n");
print(Animal.created + " " + b.created + " " + Animal.legs + "\n");
print(Animal.getattributes(null).kind + " " + Bird.getattributes("wings").doc + " " + Bird.getattributes("legs") + "\n");
Bird.setattributes("wings", { doc = "changed" });
print(Bird.getattributes("wings").doc + "\n");
a.legs = 3;
print(a.legs + " " + Animal("dog").legs + "\n");
try { a.unknown = 1; } catch (e) { print(e + "\n"); }
function Animal::extra() { return "extra for " + name; }
print(a.extra() + "\n");
class Fresh {}
Fresh.added <- "nf";
print(Fresh().added + "\n");
try { Animal.newfield <- 1; } catch (e) { print("locked\n"); }
class Shared { list = []; }
local s1 = Shared(), s2 = Shared();
s1.list.append(1);
print(s2.list.len() + "\n");
class Counter {
  static instances = [0];
  constructor() { instances[0]++; }
}
Counter(); Counter();
print(Counter.instances[0] + "\n");
local members = [];
foreach (k, v in Bird) members.append(k);
members.sort();
local line = "";
foreach (m in members) line += m + " ";
print(line + "\n");
print(b.rawin("wings") + " " + b.rawin("nothere") + " " + b.rawget("name") + "\n");
local inst = Animal.instance();
print(inst.name + " " + inst.legs + "\n");
class Point {
  x = 0; y = 0;
  constructor(px = 0, py = 0) { x = px; y = py; }
  function len2() { return x * x + y * y; }
}
print(Point().len2() + " " + Point(3, 4).len2() + "\n");
local p = Point(1, 2);
local q = clone p;
q.x = 10;
print(p.x + " " + q.x + "\n");
local Anon = class { v = "anon"; };
print(Anon().v + "\n");
Ns <- { Inner = {} };
class Ns.Inner.Deep { function hi() { return "deep"; } }
print(Ns.Inner.Deep().hi() + "\n");
class WithVarargs { args = null; constructor(...) { args = vargv.len(); } }
print(WithVarargs(1, 2, 3).args + "\n");
class Base2 { function who() { return "base2"; } }
class Mid extends Base2 { function who() { return "mid>" + base.who(); } }
class Leaf extends Mid { function who() { return "leaf>" + base.who(); } }
print(Leaf().who() + "\n");
