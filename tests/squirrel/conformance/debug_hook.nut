// The debug hook hears calls and returns, and with debug info each line that starts a statement;
// it gets no events of its own.
local events = [];
function hook(event, source, line, name) {
  events.push(event.tochar() + " " + line + " " + (name ? name : "main"));
}
enabledebuginfo(true);
local program = compilestring(@"
function add(a, b) {
  return a + b;
}
local x = add(1,
  2);
x += 1;
", "traced");
setdebughook(hook);
program();
setdebughook(null);
foreach (e in events) print(e + "\n");

// Scripts compiled without debug info give calls and returns only.
enabledebuginfo(false);
local plain = compilestring("local y = 1;\ny += 1;\n", "plain");
events.clear();
setdebughook(hook);
plain();
setdebughook(null);
foreach (e in events) print(e + "\n");
