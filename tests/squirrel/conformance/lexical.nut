// Comments, literals and escapes.
# a shell-style comment
/* a block
   comment */
print(34 + " " + 0xFF00A120 + " " + 0753 + " " + 'a' + " " + '\n' + "\n");
print(1.52 + " " + 1.e2 + " " + 1.e-2 + " " + 0.5 + " " + 3.0 + "\n");
print("tab[\t] quote[\"] backslash[\\] hex[\x41] apostrophe[\']\n");
print(@"verbatim \n stays" + "\n");
print(@"two ""quoted"" words" + "\n");
print(@"multi
line" + "\n");
print(0x7FFFFFFFFFFFFFFF + " " + (-0x7FFFFFFFFFFFFFFF - 1) + "\n");
local a = 1 // trailing comment
local b = 2 ; local c = 3
print(a + b + c + "\n");
print("line " + __LINE__ + " of " + __FILE__ + "\n");
