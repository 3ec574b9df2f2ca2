// Re-creates a 100,000-item array on every pass; one array is live at a time.
local sum = 0;
for (local i = 0; i < 400; i++) {
  local items = array(100000, i);
  sum += items[i];
}
print(sum + "\n");
