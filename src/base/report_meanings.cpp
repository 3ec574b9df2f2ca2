// The English meaning and the usual cause of every report text. A test reads the engine's sources
// and fails when a report text has no line here, so a new report comes with its explanation.
#include "base/report_meanings.h"

#include <array>

namespace vellum {
namespace {

constexpr std::array kMeanings = std::to_array<ReportMeaning>({
    // Start-up and the script container.
    {"start-up", "开始脚本没有读入", "The start script could not be read.",
     "`script.dat` holds no `script/0.txt`: the sources had no `script/0.txt`, or the folder given to "
     "`vellum-pack script` was `script/` itself instead of the folder above it."},
    {"start-up", "{key}: スクリプトファイルハッシュが不正です", "A script file's key is not valid.",
     "`script.dat` was packed for another game title (`--title`, `VELLUM_GAME_TITLE`) or is damaged; pack "
     "it again with the title the engine was built with."},
    {"start-up", "スクリプトのメモリを確保出来ませんでした", "No memory could be had for a script.",
     "A script entry claims an impossible size: `script.dat` is damaged. Pack it again."},
    {"start-up", "{step}: スクリプトの読み込みに失敗しました", "Reading a script failed.",
     "`script.dat` is truncated or damaged, or was packed for another title. Pack it again."},
    {"start-up", "{file}[{line}] {text} ※ラベル名が不正です", "The label name is not valid.",
     "A `*` line whose name holds a character a label may not have (a space or punctuation inside the "
     "name); labels are letters, digits and `_` after the `*`."},
    {"start-up", "{file}[{line}] {text} ※ラベルが重複しています", "The label is defined twice.",
     "Two `*name` lines with the same name in the packed scripts (labels are shared by every file)."},
    {"start-up", "{step}\nscript.dat {reason}", "The script container could not be opened or read.",
     "No `script.dat` in the game folder (`--game DIR`), or it cannot be read; the C library's reason "
     "follows."},

    // Running the script.
    {"script", "这是未对应的命令", "This is not a known command.",
     "A line starting with an ASCII letter is read as a command: a misspelt command, a `defsub` name "
     "used before its `defsub` ran, or a story line written in Latin letters (start it with a "
     "full-width character; see the guide's message window page). Inside story "
     "text, an unknown `[command]`."},
    {"script", "*{label}ラベルが存在しません", "The label does not exist.",
     "`goto`, `gosub`, `sufMessGosub`, a button or a save names a label no packed script has. Labels are "
     "case-sensitive; check the spelling and that the file holding it was packed."},
    {"script", "gosub が一度も実行されていません", "`gosub` has not been run even once.",
     "`return` with no open `gosub`: the script fell through into a subroutine (an `end` or `goto` is "
     "missing before it)."},
    {"script", "for が一度も実行されていません", "`for` has not been run even once.",
     "`next`, `break` or `continue` outside a running `for` loop (a `goto` left or entered the loop)."},
    {"script", "式が不正です", "The expression is not valid.",
     "An `if`/`elseif` condition that does not parse: unbalanced parentheses, a missing operator, an "
     "undeclared name."},
    {"script", "{name}登録されていません", "Not registered.",
     "`undefsub` names a command that no `defsub` made."},
    {"script", "ファイルか行数が不正です", "The file or the line number is not valid.",
     "`fileJump` names a script file that was not packed, or a line beyond its end."},
    {"script", "{text} 変数が存在しません", "The variable does not exist.",
     "A named variable (`%gold`, `$hero`) used before `int`/`string` declared it, or a misspelt name. "
     "Numbered variables `%0`-`%255`, `$0`-`$255` always exist."},
    {"script", "{file}[{line}] {text} ※変数に代入する式ではありません", "This is not an expression a variable can be assigned.",
     "A `cal` item without a variable on the left (`cal 3 = %a`) or without `=`."},
    {"script", "{file}[{line}] {text} ※代入演算子が不正です", "The assignment operator is not valid.",
     "A `cal` operator that does not exist (`=+`, `:=`); see the script language page for the list."},
    {"script", "{file}[{line}] {text} ※変数に代入する型が合いません", "The type does not fit the variable.",
     "Text assigned to a `%` variable, or a number to a `$` variable."},
    {"script", "{file}[{line}] {text} ※文字変数に {operator} 複合代入演算子は使えません",
     "A compound assignment operator cannot be used on a string variable.",
     "Only `=` and `+=` work on `$` variables."},
    {"script", "{text} 変数番号が範囲外です", "The variable number is out of range.",
     "A numbered variable `%n`/`$n` with n outside 0-255."},
    {"script", "{text} バイト幅が不正です", "The byte width is not valid.",
     "A byte read in an expression asks for more than 4 bytes."},
    {"script", "{text} 数値変数が不正です", "The integer variable is not valid.",
     "A command needs a `%` variable for its result (or for `for`) and got something else."},
    {"script", "文字列変数が不正です", "The string variable is not valid.",
     "A command needs a `$` variable for its result and got something else."},
    {"script", "引数の型が不正です", "An argument has the wrong type.",
     "Text where a number is expected or the other way round (from the script, Lua or Squirrel)."},
    {"script", "引数の数が不正です", "The number of arguments is wrong.",
     "Too many or too few arguments; the command reference lists each command's arguments."},
    {"script", "已读检查错误 {line}/{count}", "Read-flag check error.",
     "The read marks of the running script do not cover this line; the script changed since "
     "`script.dat` was packed or the container is damaged. Pack the scripts again."},

    // Built-in functions.
    {"built-in functions", "第二引数が文字数が１文字ではありません", "The second argument is not exactly one character.",
     "A character function was given a longer or empty text where one character belongs."},
    {"built-in functions", "bregexp.dll の読み込みに失敗しました", "Loading the regular-expression library failed.",
     "The regular-expression functions could not start; reinstall the engine's packages (`scripts/deps.sh`)."},
    {"built-in functions", "{expression} : {message}", "A regular expression is not valid.",
     "The pattern given to a regular-expression function does not compile; the library's message follows."},
    {"built-in functions", "正常にパスが読み込めませんでした", "The path could not be read properly.",
     "A path function was given an empty path or one the system cannot use."},
    {"built-in functions", "フォルダを作成出来ませんでした", "The folder could not be created.",
     "A folder (for saves or a file function) cannot be made: no permission, a file of that name, or a "
     "full disk."},
    {"built-in functions", "{file} 不能读入", "Cannot be read in.",
     "A picture, or a plug-in library (`loadLibrary`), that is not in any archive nor loose in the game "
     "folder, or that cannot be decoded or loaded. Paths are case-sensitive and use `/`."},
    {"built-in functions", "{file} 不能读入: no plug-in of this name is linked into this build",
     "The plug-in is not part of this build.",
     "Where plug-ins cannot be opened as files (the web build), only those linked into the program at "
     "build time load; `loadLibrary` names one that was not. \"(it has none)\" follows when none is."},
    {"built-in functions", "{file} は読み込まれていないので解放出来ませんでした",
     "Not loaded, so it cannot be released.", "`freeLibrary` names a library that `loadLibrary` did not load."},
    {"built-in functions", "行数の指定が範囲を超えています", "The line number is beyond the range.",
     "A text-list function was asked for a line the list does not have."},
    {"built-in functions", "リストの範囲を超えています", "Beyond the range of the list.",
     "A file-list function was asked for an entry the list does not have."},
    {"built-in functions", "loadFile: a null argument", "A plug-in called `loadFile` with a null pointer.",
     "A plug-in bug: pass the file name and the size variable."},

    // Lua and Squirrel.
    {"Lua and Squirrel", "{file} を読み込めませんでした", "{file} could not be loaded.",
     "A Lua or Squirrel file that does not compile (the compiler's message and line follow), or that is "
     "in no archive and not loose. Packed sources must be `--mode plain` or `scramble`."},
    {"Lua and Squirrel", "{file} を実行出来ませんでした", "{file} could not be run.",
     "The file compiled but raised an error while running; the error and the call stack follow."},
    {"Lua and Squirrel", "戻り値が文字列ではありません", "The return value is not a string.",
     "A function made a command with `funcSqu NAME, 2` (or `funcLua`) returned something other than text."},
    {"Lua and Squirrel", "sq_get {message}", "The Squirrel function was not found.",
     "A `funcSqu` command whose function is not in the root table (not defined, or the file that defines "
     "it was not loaded)."},
    {"Lua and Squirrel", "sq_call {message}", "The Squirrel function raised an error.", "The VM's message follows."},

    // Files and archives.
    {"files and archives", "{file} メモリを確保出来ませんでした({step}) {size}", "No memory could be had.",
     "A file or archive entry claims a size that cannot be allocated: the archive is damaged, or the "
     "machine is out of memory."},

    // Pictures and sprites.
    {"pictures and sprites", "{n} 画面没有读入", "No picture has been loaded.",
     "A sprite command on a sprite number that holds no picture (`sp` was not run, failed, or the sprite "
     "was deleted)."},
    {"pictures and sprites", "{n} オーダーが正しく設定されてません", "The order is not set properly.",
     "`sp_o` or a parent change on a sprite that is not in the drawing order yet."},
    {"pictures and sprites", "{file} 不能从缓存中读入", "Cannot be read from the cache.",
     "A cached picture could not be copied (out of memory); lower `CacheMaxSize` or use smaller pictures."},
    {"pictures and sprites", "{n} sprite number outside 0-999", "The sprite number is outside 0-999.", "Sprites are numbered 0-999."},
    {"pictures and sprites", "Sprite Size Over {columns},{rows}", "The picture is too large to be a sprite.",
     "A picture that needs more texture tiles than a sprite may have; split it or make it smaller."},
    {"pictures and sprites", "Sprite Create", "The sprite could not be created.",
     "The graphics device refused the textures (out of video memory)."},
    {"pictures and sprites", "Sprite Division Over {columns},{rows}", "The cell division is larger than the picture.",
     "`sp`'s division (columns and rows of cells) leaves cells less than a pixel wide or high."},
    {"pictures and sprites", "Sprite Canvas Size {width},{height}", "The canvas size is not valid.",
     "A canvas sprite of zero, negative or too large a size."},
    {"pictures and sprites", "{n} sprite cannot be drawn into itself or its own child {parent}",
     "A sprite cannot be drawn into itself or one of its children.", "A parent chain that loops; choose another parent."},
    {"pictures and sprites", "{n} parent is not a canvas sprite", "The parent is not a canvas sprite.",
     "Only a canvas sprite can hold other sprites; make the parent with the canvas command first."},
    {"pictures and sprites", "RenderTextureA {n} Not Found", "A canvas sprite's drawing surface is missing.",
     "The graphics device lost the canvas's texture; the frame is drawn without it."},
    {"pictures and sprites", "ボタン番号が不正です", "The button number is not valid.", "`setBtnTool` names a sprite that is not a button (no `setBtn` made it one)."},
    {"pictures and sprites", "{n} button identifier outside 0-254", "The button id is outside 0-254.", "Button ids are 0-254."},
    {"pictures and sprites", "截图的容量确保失败", "Allocating the screenshot failed.",
     "No memory for `setScreenShot`'s picture."},
    {"pictures and sprites", "対応していない深度です", "The colour depth is not supported.",
     "`saveScreenShot` (or a picture save) asked for bits other than 8, 24 or 32."},
    {"pictures and sprites", "対応していない圧縮値です", "The compression value is not supported.", "A PNG compression level outside 0-9."},
    {"pictures and sprites", "対応していないPNG-OPです", "The PNG option is not supported.", "An unknown PNG option value."},
    {"pictures and sprites", "対応していない品質値です", "The quality value is not supported.", "A JPEG quality outside 0-100."},
    {"pictures and sprites", "-FMT: 対応していないJPEG-OPです", "The JPEG option is not supported.", "An unknown JPEG option value."},

    // Animation and transitions.
    {"animation and transitions", "{n} 动画号码不正确", "The animation's sprite number is not correct.",
     "An animation command on a sprite number outside 0-999."},
    {"animation and transitions", "{n} 追加标志不正确", "The append flag is not correct.",
     "An animation in append mode on a sprite that has no running animation to append to."},
    {"animation and transitions", "{n} 画面没有读入(imList1)", "The animated sprite's picture is gone.",
     "The sprite was deleted or given no picture while its animation ran."},
    {"animation and transitions", "{n} animation mode outside 0-3: {mode}", "The animation mode is outside 0-3.",
     "Modes: 0 replace, 1 append, 2 replace from the current value, 3 append and loop."},
    {"animation and transitions", "{n} animation time below 0: {time}", "The animation time is negative.", "Give 0 or more milliseconds."},
    {"animation and transitions", "{name} 不存在的演出", "The transition does not exist.",
     "`effect 2` names a transition the engine does not have; `existStretch` tells which exist."},
    {"animation and transitions", "{type} effect type outside 0-4", "The effect type is outside 0-4.",
     "Types: 0 wait, 1 fade, 2 named, 3 rule, 4 mosaic."},
    {"animation and transitions", "{easing} easing outside -20-20", "The easing is outside -20 to 20.", ""},
    {"animation and transitions", "{file} rule picture is not greyscale", "The rule picture is not greyscale.",
     "Rule transitions need an 8-bit grey picture (`vellum-image convert IN OUT --bits 8`)."},

    // Message window, fonts and backlog.
    {"message window and fonts", "注音跨行了", "The ruby crosses a row break.",
     "A `{base/ruby}` group that does not fit on the rest of the row; break the row before it (`[n]`)."},
    {"message window and fonts", "注音的处理不正确", "The ruby is not written correctly.",
     "A `{` without its `/` or `}`; write ruby as `{base/ruby}`."},
    {"message window and fonts", "MessageLayout ] {text}", "An inline command is not closed.",
     "A `[` in story text without its `]`. To show a bracket, use the full-width 【】［］."},
    {"message window and fonts", "メモリを確保出来ませんでした", "No memory could be had.",
     "The machine is out of memory, or a file or picture claims an impossible size."},
    {"message window and fonts", "画像メモリを確保出来ませんでした", "No memory could be had for a picture.",
     "A text sprite (`ssp`, `logsp`) of a size that cannot be allocated."},
    {"message window and fonts", "CString::Create pX {font}", "The message window's character slots could not be made.",
     "`setMessCreate` asked for more slots than memory allows."},
    {"message window and fonts", "FT_Init_FreeType", "The font library could not start.", "Reinstall the engine's packages."},
    {"message window and fonts", "FT_Err_Unknown_File_Format {font}", "The font file's format is unknown.",
     "`setFontFile`/`addFontFile` names a file that is not TrueType or OpenType."},
    {"message window and fonts", "FT_New_Face {font}", "The font could not be opened.",
     "A font file that is missing or damaged, or a face name fontconfig cannot match."},
    {"message window and fonts", "FontNameTag BufferOver {size}", "The font's name table is too large.", "A damaged or unusual font file; use another."},
    {"message window and fonts", "AddFontResourceEx {file}", "The font file could not be added.",
     "`addFontFile` names a file that is not in the game folder or is not a font."},
    {"message window and fonts", "backlog {n} 超出范围", "The backlog page is out of range.", "Backlog pages are 0-199 back."},
    {"message window and fonts", "HEADER FORMAT ERROR", "A backlog page's picture record is damaged.",
     "`getImgLog` found a picture it cannot read (a damaged save)."},
    {"message window and fonts", "CHUNK READ ERROR JPEG", "A backlog page's picture is not a JPEG.", "As above."},
    {"message window and fonts", "CHUNK READ ERROR", "A backlog page's picture record cannot be read.", "As above."},
    {"message window and fonts", " createImage\nメモリを確保出来ませんでした", "No memory for a backlog picture.", "`getImgLog` on a machine out of memory."},
    {"message window and fonts", "jpeg メモリを確保出来ませんでした", "No memory to decode a backlog picture.", "As above."},

    // Saves.
    {"saves", "{folder} フォルダを作成出来ませんでした", "The folder could not be created.",
     "The save folder cannot be made: no permission or a full disk."},
    {"saves", "コメントがありません", "There is no comment.", "`loadSaveText` on a slot saved without `setSaveText`."},
    {"saves", "{file} のセーブデータが壊れています", "The save data is damaged.",
     "The slot file is damaged, from another game, or edited by hand; nothing is loaded."},
    {"saves", "{file} スクリプトファイルが見つかりません", "The script file is not found.",
     "The save was made in a script file the game no longer has."},
    {"saves", "{n} 番号が範囲外です", "The number is out of range.", "A negative slot number, or `popSave` to a page older than the stacked saves."},
    {"saves", "プッシュされたセーブデータがありません", "There is no pushed save data.", "`popSave` with nothing stacked by `pushSave`."},
    {"saves", "{file} セーブデータのファイルが見つかりません", "A file the save needs is not found.",
     "A picture or sound named in the save is no longer in the game."},

    // Settings and read flags.
    {"settings and read flags", "{file} 是不正确的文件", "This is not a correct file.",
     "`setting.dat`, `already.dat` or a compressed save is too short or not the engine's format; delete it "
     "and the engine starts afresh."},
    {"settings and read flags", "{file} 的容量不能确保", "The size cannot be allocated.", "The file claims an impossible size: it is damaged."},
    {"settings and read flags", "{file} 的读入失败", "Reading failed.", "The file's compressed data is damaged."},
    {"settings and read flags", "{file} 的保存失败了", "Saving failed.", "The save folder cannot be written: permissions or a full disk."},
    {"settings and read flags", "{key} 不能存在", "It cannot exist.",
     "`already.dat` names a script file the game no longer has (harmless: its read marks are dropped)."},
    {"settings and read flags", "loadSetting\n{path} {reason}", "The settings could not be read.",
     "The save folder or `setting.dat` cannot be read; the C library's reason follows."},
    {"settings and read flags", "saveDataZlib\n{path} {reason}", "The settings could not be written.",
     "The save folder cannot be written; the reason follows."},

    // Sound.
    {"sound", "{file} 未対応の形式です", "The format is not supported.",
     "A WAV that is not 16-bit PCM (convert with `sox IN.wav -b 16 OUT.wav`), or a file that is not WAV, "
     "Ogg Vorbis or Ogg Opus."},
    {"sound", "音スレッドが正常に終了出来ませんでした", "The sound thread could not end normally.",
     "A sound worker did not stop in time at shutdown; harmless, but report it."},
    {"sound", "{command} チャンネル番号が不正です", "The channel number is not valid.", "Sound channels are 0-29."},
    {"sound", "{file} コールバックが作成出来ませんでした", "The decoder could not be set up.",
     "The sound file is missing (not in an archive nor loose) or damaged."},
    {"sound", "{file} 情報が取得出来ませんでした", "The stream information could not be read.", "A damaged or truncated Ogg file."},
    {"sound", "{file}: 再生情報の引数の数が不正です", "The loop comment has the wrong number of values.",
     "An Ogg `COMMENT=setSample`/`setTime` needs three numbers: start, loop start, loop end."},
    {"sound", "wuvorbis.dll の読み込みに失敗しました", "Loading the Ogg decoder failed.", "Reinstall the engine's packages."},
    {"sound", "DirectSoundBuffer を HardWare で作成出来ませんでした\nSoftWare で作成します",
     "The sound buffer could not be made in hardware; it is made in software.", "Harmless."},
    {"sound", "{file} スレッドを作成出来ませんでした", "The thread could not be created.", "The system refused a thread; out of resources."},
    {"sound", "DirectSoundCreate8 {reason}", "The sound device could not be opened.",
     "No sound device or sound server; the game runs silent."},

    // Movies.
    {"movies", "动画进程不能正常结束", "The movie thread could not end normally.", "A movie worker did not stop in time; harmless, but report it."},
    {"movies", "{n} 动画形式不正确 {magic}", "The movie format is not correct.",
     "`sp_ani` on a file that is not a THOR movie or frame file; make movies with `vellum-movie pack`."},
    {"movies", "{n} 非对应的AVI形式不正确 {codec}", "The AVI codec is not supported.", "Convert the video to THOR with `vellum-movie`."},
    {"movies", "{n} 画面没有读入(ifList)", "The movie sprite's picture is gone.", "The sprite was deleted while its frames played."},
    {"movies", "{n} テクスチャが作れませんでした", "The texture could not be made.", "Out of video memory, or a movie too large for the device."},
    {"movies", "{file}が開けませんでした", "The file could not be opened.",
     "A movie (or its sound track) that is in no archive and not loose, or that is damaged."},
    {"movies", "uTheoraLib::load", "The video decoder refused the stream.", "A THOR file that is damaged; make it again."},
    {"movies", "theora_create has not been run: the movie cannot play", "The movie player was not started.",
     "Run `theora_create` once before the first movie."},
    {"movies", "theora_create: libtheoradec cannot be loaded, so movies cannot play ({reason})",
     "The movie decoder library could not be loaded; movies will not play.",
     "The engine opens libtheoradec when `theora_create` runs, and this system has no `libtheoradec.so.1` "
     "(Debian's `libtheora0` package) or a damaged one; the loader's reason follows. A game shipped with "
     "`vellum-pack dist` brings it in `lib/`."},
    {"movies", "{file} is packed compressed or scrambled; movies must be stored as they are",
     "The movie was packed compressed.", "Pack movies with `vellum-pack archive ... --mode plain`."},

    // The window, the display and the graphics device.
    {"window and display", "CreateWindow Main", "The game's window could not be created.",
     "No display, or the window system refused the window; run with `--headless` for automated runs."},
    {"window and display", "CreateWindow", "The settings dialog's window could not be created.", "As above."},
    {"window and display", "ChangeDisplaySettings TEST", "The display mode cannot be used.",
     "Full screen with `FullMode` 0 on a display that does not offer the mode; another mode is used."},
    {"window and display", "ChangeDisplaySettings FULLSCREEN", "Switching to full screen failed.", "As above."},
    {"window and display", "CreateAlphaCursor\n{file}\n{reason}", "The cursor picture could not be used.",
     "`setCursor` names a missing or damaged cursor or picture."},
    {"window and display", "Unity HANDLE", "The embedded player is not available.", "`executeUnity` does nothing on Linux."},
    {"window and display", "PrintVideoController\nInformation.txt {reason}", "`Information.txt` could not be written.",
     "The game (or save) folder is not writable."},
    {"window and display", "Direct3DCreate9", "The graphics device could not be created.",
     "No OpenGL 3.3 driver; install Mesa (llvmpipe works) or run `--headless`."},
    {"window and display", "TestCooperativeLevel {state}", "The graphics device is in a state the engine cannot use.",
     "The device was lost and could not be reset; the game ends."},
    {"window and display", "writeTexture3 tile {x},{y}", "A texture tile lies outside the picture.", "A plug-in bug: check the tile position."},
    {"window and display", "Software 不能使用所以用 Hardware 启动。\n(这个错误对游戏的动作没有影响)",
     "Software vertical sync cannot be used, so hardware sync is used (this does not affect the game).", "Harmless."},
    {"window and display", "16bit 因为不能使用颜色 因此启动32bit 色彩。\n(这个错误对游戏的动作没有影响)",
     "16-bit colour cannot be used, so 32-bit colour is used (this does not affect the game).", "Harmless."},
    {"window and display", "32bit 因为不能使用颜色 因此启动 16bit 色彩。\n(这个错误对游戏的动作没有影响)",
     "32-bit colour cannot be used, so 16-bit colour is used (this does not affect the game).", "Harmless."},
    {"window and display", "画面扩大缩小插补的 {filter} 是未对应的环境，用其他设定启动。\n(这个错误对游戏的动作没有影响)",
     "The scaling filter is not supported here; another setting is used (this does not affect the game).",
     "The `Interpolation` setting asks for a filter the device cannot run. Harmless."},

    // Picture files and the image library (plug-ins and picture commands).
    {"picture files", "{kind}: \"{file}\" 画像データが空です", "The picture data is empty.", "A zero-length or truncated picture file."},
    {"picture files", "{kind}: \"{file}\" 画像を保存出来ませんでした", "The picture could not be saved.", "The folder is not writable, or the disk is full."},
    {"picture files", "画像データを読み込めませんでした", "The picture data could not be read.", "An image operation on a picture that failed to load."},
    {"picture files", "幅値の設定が無効です", "The width setting is invalid.", "An image operation with a zero or negative size."},
    {"picture files", "範囲の設定が無効です", "The range setting is invalid.", "An image operation's rectangle lies outside the picture."},
    {"picture files", "モードの設定が無効です", "The mode setting is invalid.", "An image operation's mode is not one it has."},
    {"picture files", "二つの画像のサイズが違います", "The two pictures differ in size.", "Blend and difference need pictures of one size."},

    // The service commands.
    {"service commands", "第一引数が文字列ではありません", "The first argument is not a string.", "Give the command text (in quotes)."},
    {"service commands", "第二引数が文字列ではありません", "The second argument is not a string.", "Give the command text (in quotes)."},
    {"service commands", "第一引数の数値変数が不正です", "The first argument's integer variable is not valid.", "Give a `%` variable for the result."},
    {"service commands", "第二引数の文字列変数が不正です", "The second argument's string variable is not valid.", "Give a `$` variable for the result."},
    {"service commands", "第三引数の数値変数が不正です", "The third argument's integer variable is not valid.", "Give a `%` variable for the result."},
    {"service commands", "libcurl を読み込めないため、ファイルをダウンロードできません ({reason})",
     "libcurl cannot be loaded, so `fileDownload` cannot download; the variable is left empty.",
     "The engine opens libcurl when the first download needs it, and this system has no `libcurl.so.4` (Debian's "
     "`libcurl4` package) or a damaged one; the loader's reason follows. A game shipped with `vellum-pack dist` "
     "brings it in `lib/`."},

    // Questions and labels the engine shows on its own (not reports).
    // Gamepads.
    {"gamepads", "PadButtons: {word}: {why}",
     "A word of the PadButtons setting names no pad button or no action, or lacks the `button:action` form.",
     "A mistyped word in the settings file's PadButtons line; the pad's default for that button stays. The "
     "button and action names are listed on the guide's gamepads page."},

    // Reading aloud.
    {"reading aloud", "朗读服务没有响应，故事不会被朗读。", "The speech service did not answer; the story will not be read aloud.",
     "Reading aloud is on (the ReadAloud setting, V or the menu) but speech-dispatcher is not installed or not "
     "running; install `speech-dispatcher`, or turn reading aloud off."},
    {"reading aloud", "朗读已开启", "Reading aloud is on (said when the player turns it on).", ""},

    {"questions and labels", "可以在文件夹中保存数据吗？\n\n和选择文件夹在同一公司的游戏的保存数据保存的\n文件夹里的话会同步一部分设定。\n",
     "May the data be saved in the (Documents) folder? Choosing the folder where games of the same company keep "
     "their saves carries part of their settings over.",
     "`loadSetting`'s first question: yes puts saves under Documents, no in the game folder. Headless, "
     "`--answers` answers it."},
    {"questions and labels", "要在文件夹中创建保存数据吗？\n{folder}", "Create the save data in this folder?", "Follows a yes to the first question."},
    {"questions and labels", "要在游戏文件夹中创建保存数据吗？", "Create the save data in the game folder?", "Follows a no to the first question."},
    {"questions and labels", "沿用设定", "Carry settings over (the carry-over window's title).", ""},
    {"questions and labels", "设定的沿用可能的游戏", "Games whose settings can be carried over.", ""},
    {"questions and labels", "決定", "Choose (button).", ""},
    {"questions and labels", "结束", "Quit (button).", ""},
    {"questions and labels", "不沿用也可以吗？", "Carry nothing over?", ""},
    {"questions and labels", "「{item}」沿用设定吗？", "Carry the settings of {item} over?", ""},
    {"questions and labels", "黑体", "SimHei, the face the carry-over window asks fontconfig for.", ""},
    {"questions and labels", "(等倍)", "(1:1), marks the window size that shows the game at its render size.", ""},
    {"questions and labels", "ＭＳ ゴシック", "MS Gothic, the default message font name (mapped to an installed CJK face).", ""},
    {"questions and labels", "【{name}】", "The brackets around a speaker's name in story text.", ""},
});

}  // namespace

std::span<const ReportMeaning> reportMeanings() { return kMeanings; }

}  // namespace vellum
