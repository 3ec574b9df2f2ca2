print(typeof time() + " " + (time() > 1600000000) + " " + typeof clock() + " " + (clock() >= 0) + "\n");
local d = date(0, 'u');
print(d.year + " " + d.month + " " + d.day + " " + d.hour + " " + d.min + " " + d.sec + " " + d.wday + " " + d.yday + "\n");
local t = date(86400 * 365 + 3600 * 5 + 61, 'u');
print(t.year + " " + t.yday + " " + t.hour + " " + t.min + " " + t.sec + "\n");
try { date(0, 'x'); } catch (e) { print("bad format\n"); }
print(typeof date() + " " + typeof date(0) + "\n");
print(getenv("VELLUM_SQ_TEST_VARIABLE") + " " + (getenv("VELLUM_SQ_NO_SUCH_VARIABLE") == null) + "\n");
print((system("exit 0") == 0) + " " + (system("exit 3") != 0) + "\n");
