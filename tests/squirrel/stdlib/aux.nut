function inner(a) {
  local twice = a * 2;
  throw "boom " + twice;
}
function outer() {
  inner(21);
}
outer();
