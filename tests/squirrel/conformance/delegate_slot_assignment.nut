// Assigning to a key found only in the delegate chain writes that slot where it is found; _set
// runs only for keys found nowhere, and without _set such a key is an error.
local proto = { count = 0 };
local obj = { own = 1 }.setdelegate(proto);
obj.count = 5;
print(proto.count + " " + ("count" in obj) + " " + obj.rawin("count") + "\n");

local grand = { depth = "grand" };
local parent = {}.setdelegate(grand);
local child = {}.setdelegate(parent);
child.depth = "set through the child";
print(grand.depth + " " + parent.rawin("depth") + " " + child.rawin("depth") + "\n");

local meta = { shared = 1, _set = function(key, value) { print("_set " + key + " " + value + "\n"); } };
local watched = {}.setdelegate(meta);
watched.shared = 2;
print(meta.shared + "\n");
watched.missing = 3;
print(watched.rawin("missing") + "\n");

try {
  obj.nothing = 1;
} catch (e) {
  print(e + "\n");
}
