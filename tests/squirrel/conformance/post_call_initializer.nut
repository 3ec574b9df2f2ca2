// A brace after a call on the same line sets slots of what the call returned.
function point() { return { x = 0, y = 0 }; }
local a = point() { x = 10, y = 20 }
local b = point() { x = 30 y = 40 }
print(a.x + " " + a.y + " " + b.x + " " + b.y + "\n");

class vector3 {
  x = 0; y = 0; z = 0;
  function tostring() { return x + "," + y + "," + z; }
}
class entity {
  position = null;
  direction = null;
}
local e = entity() {
  position = vector3() { x = 1, y = 2, z = 3 }
  direction = vector3() { x = 0, y = 1, z = 0 }
}
print(e.position.tostring() + " " + e.direction.tostring() + "\n");

// The initializer sets existing slots; it does not make new ones.
try {
  point() { w = 1 }
} catch (error) {
  print("caught: " + error + "\n");
}

// On the next line a brace is a block of its own.
local calls = 0;
function count() { calls++; }
count()
{
  local inner = 5;
  print("block " + inner + " after " + calls + " call\n");
}
