// The compiler error handler names the source, line and column.
local x = ;
