// escape(): quotes and backslash get a backslash, other unprintable bytes become \x and two
// lower-case hex digits.
print(escape("plain text 123") + "\n");
print(escape("say \"hi\" and 'bye'") + "\n");
print(escape("back\\slash") + "\n");
print(escape("line\nfeed\ttab\rcr") + "\n");
print(escape("\x01\x1f\x7f") + "\n");
