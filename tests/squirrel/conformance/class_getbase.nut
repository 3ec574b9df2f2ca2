// getbase() gives a class's base class, or null for a class without one.
class Base {}
class Derived extends Base {}
class Leaf extends Derived {}
print((Base.getbase() == null) + "\n");
print((Derived.getbase() == Base) + " " + (Leaf.getbase() == Derived) + "\n");
print((Leaf.getbase().getbase() == Base) + " " + typeof Leaf.getbase() + "\n");
print((Leaf().getclass().getbase() == Derived) + "\n");
