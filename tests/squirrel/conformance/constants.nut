// const and enum.
const LIMIT = 100;
const NAME = "vellum";
const RATIO = 0.5;
const NEG = -3;
enum Color { Red, Green = 10, Blue }
enum Words { One = "one", Two = "two" }
print(LIMIT + " " + NAME + " " + RATIO + " " + NEG + "\n");
print(Color.Red + " " + Color.Green + " " + Color.Blue + "\n");
print(Words.One + Words.Two + "\n");
print(getconsttable().LIMIT + " " + typeof getconsttable().Color + "\n");
function useConst() { return LIMIT * 2; }
print(useConst() + "\n");
local LIMIT = 5;
print(LIMIT + "\n");
