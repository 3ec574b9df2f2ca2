print("never runs\n");
local x = 1 +;
