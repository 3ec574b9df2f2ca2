// The settings screen's volume buttons: a step up or down, kept within 0..100.
function volume_step(value, delta) {
  local v = value + delta;
  return v < 0 ? 0 : (v > 100 ? 100 : v);
}
