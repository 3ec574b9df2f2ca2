// An error nobody catches ends the script; the host sees it.
print("before\n");
function fails() { local t = {}; return t.missing; }
fails();
print("not reached\n");
