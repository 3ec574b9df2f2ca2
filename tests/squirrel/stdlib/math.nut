print(format("%d %d %d\n", abs(-5), abs(5), abs(0)));
print(format("%.3f %.3f\n", fabs(-2.5), fabs(1)));
print(format("%.4f %.4f %.4f\n", sin(0), cos(0), tan(0)));
print(format("%.4f %.4f %.4f\n", asin(1), acos(1), atan(1)));
print(format("%.4f %.4f\n", atan2(1, 1), atan2(1, 0)));
print(format("%.1f %.1f %.1f %.1f\n", floor(2.7), ceil(2.2), floor(-2.5), ceil(-2.5)));
print(format("%.4f %.4f %.4f\n", exp(1), log(exp(2)), log10(1000)));
print(format("%.1f %.4f\n", pow(2, 10), sqrt(2)));
print(typeof abs(-1.5) + " " + typeof fabs(-1) + " " + typeof floor(1) + " " + typeof sqrt(4) + "\n");
print((RAND_MAX > 0) + " " + typeof PI + format(" %.5f\n", PI));
srand(42);
local a = rand();
srand(42);
local b = rand();
print((a == b) + " " + (a >= 0 && a <= RAND_MAX) + "\n");
try { sqrt("x"); } catch (e) { print("not a number\n"); }
