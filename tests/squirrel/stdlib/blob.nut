local b = blob(4);
print(b.len() + " " + b.tell() + " " + typeof b + " " + b[2] + "\n");
b.writen(0x01020304, 'i');
print(b.len() + " " + b.tell() + " " + (b.eos() != null) + "\n");
b.seek(0);
print(format("%08x", b.readn('i')) + " " + b[0] + " " + b[3] + "\n");
b[1] = 0x1AB;
print(b[1] + "\n");
b.swap2();
print(b[0] + " " + b[1] + " " + b[2] + " " + b[3] + "\n");
b.seek(0, 'e');
b.writen(-2, 's');
b.writen(3.5, 'f');
b.writen(0.25, 'd');
b.writen(200, 'b');
b.writen(-1, 'c');
b.writen(65535, 'w');
print(b.len() + "\n");
b.seek(4);
print(format("%d %.2f %.2f %d %d %d", b.readn('s'), b.readn('f'), b.readn('d'), b.readn('b'), b.readn('c'), b.readn('w')) + "\n");
b.seek(-4, 'e');
b.seek(2, 'c');
print(b.tell() + " " + (b.eos() == null) + "\n");
try { b.seek(100); } catch (e) { print("seek refused\n"); }
try { b.seek(-1); } catch (e) { print("seek refused\n"); }
try { local x = b[22]; } catch (e) { print("index refused\n"); }
try { b[-1] = 0; } catch (e) { print("index refused\n"); }
try { b.readn('q'); } catch (e) { print("format refused\n"); }
b.seek(b.len());
try { b.readn('i'); } catch (e) { print("nothing to read\n"); }
try { b.readblob(1); } catch (e) { print("nothing to read\n"); }
b.seek(0);
local c = b.readblob(3);
print(typeof c + " " + c.len() + " " + c[0] + " " + b.tell() + "\n");
b.seek(20);
print(b.readblob(100).len() + "\n");
local e = blob();
print(e.len() + " " + (e.eos() != null) + "\n");
e.writeblob(c);
e.writeblob(c);
print(e.len() + " " + e[3] + "\n");
b.resize(2);
print(b.len() + " " + b.tell() + "\n");
b.resize(5);
print(b.len() + " " + b[4] + "\n");
local k = clone c;
k[0] = 0;
print(c[0] + " " + k[0] + " " + k.len() + "\n");
local w = blob(8);
w.writen(0x11223344, 'i');
w.writen(0x44332211, 'i');
w.swap4();
w.seek(0);
print(format("%08x %08x", w.readn('i'), w.readn('i')) + "\n");
print(format("%08x %.2f", castf2i(1.0), casti2f(0x40400000)) + "\n");
print(format("%04x %08x %.2f", swap2(0x1234), swap4(0x12345678), swapfloat(swapfloat(2.5))) + "\n");
try { blob(-1); } catch (e) { print("negative size refused\n"); }
try { blob.readn.call({}, 'i'); } catch (e) { print("not a stream\n"); }
