local f = file("io_test.bin", "wb+");
print(typeof f + "\n");
f.writen(65, 'b');
f.writen(0x4342, 'w');
f.writen(1234567, 'i');
print(f.len() + " " + f.tell() + "\n");
f.seek(0);
print(f.readn('b') + " " + f.readn('w') + " " + f.readn('i') + "\n");
f.seek(1);
local part = f.readblob(2);
print(part.len() + " " + part[0] + " " + part[1] + "\n");
f.seek(0, 'e');
f.writeblob(part);
print(f.len() + " " + (f.flush() != null) + "\n");
f.close();
try { f.len(); } catch (e) { print("closed\n"); }
try { file("no/such/folder/x.txt", "r"); } catch (e) { print("cannot open\n"); }
foreach (mode in ["z", "rr", "r+b+", "", "wx"]) {
  try { file("io_test.bin", mode); } catch (e) { print("mode " + mode + " refused\n"); }
}
local g = file("io_test.bin", "rb");
print(g.readn('b') + " " + (g.eos() == null) + "\n");
g.seek(0, 'e');
try { g.readn('b'); } catch (e) { print("end of file\n"); }
print((g.eos() != null) + "\n");
g.close();
local script = file("io_script.nut", "w");
foreach (ch in "::ran <- (::ran ? ::ran + 1 : 1); return 6 * 7;") script.writen(ch, 'b');
script.close();
::ran <- 0;
print(dofile("io_script.nut") + " " + ::ran + "\n");
local compiled = loadfile("io_script.nut");
print(typeof compiled + " " + compiled() + " " + ::ran + "\n");
local broken = file("io_broken.nut", "w");
broken.writen('{', 'b');
broken.close();
try { loadfile("io_broken.nut"); } catch (e) { print("does not compile\n"); }
try { dofile("io_absent.nut"); } catch (e) { print("no such script\n"); }
print(typeof stdout + " " + typeof stdin + " " + typeof stderr + "\n");
remove("io_script.nut");
remove("io_broken.nut");
try { remove("io_script.nut"); } catch (e) { print(e + "\n"); }
rename("io_test.bin", "io_renamed.bin");
try { rename("io_test.bin", "io_other.bin"); } catch (e) { print(e + "\n"); }
local h = file("io_renamed.bin", "rb");
print(h.len() + "\n");
h.close();
remove("io_renamed.bin");
