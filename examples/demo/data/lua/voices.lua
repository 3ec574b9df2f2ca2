-- The story's voices, remembered per backlog page so that the backlog can play them again.
-- g_voices holds "page=file;" pairs; as a g_ variable it is kept in every save.

-- Called as a voice starts: the page being written is the newest backlog entry.
function remember_voice(file)
  local page = getLogCount()
  setScriptString("g_voices", getScriptString("g_voices") .. page .. "=" .. file .. ";")
end

-- The voice of the page `back` pages before the one being written, or "" when it had none.
function voice_of_page(back)
  local page = getLogCount() - back
  return string.match(getScriptString("g_voices"), "%f[%d]" .. page .. "=([^;]*);") or ""
end
