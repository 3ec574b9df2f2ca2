// Members without a value take the next value of the enum's own counter, which starts at 0 and
// counts only those members.
enum E { A, B = 5, C }
enum F { X = 10, Y, Z = 20, W }
enum G { First, Second, Third }
print(E.A + " " + E.B + " " + E.C + "\n");
print(F.X + " " + F.Y + " " + F.Z + " " + F.W + "\n");
print(G.First + " " + G.Second + " " + G.Third + "\n");
