#include "script/command_catalogue.h"

namespace vellum {

// Every name the engine registers, in registration order. Names are case-sensitive.

const std::vector<std::string_view>& nativeBuiltinNames() {
  static const std::vector<std::string_view> names = {
    "console", "print", "error", "confirm", "inform", "end", "count", "regexp_create", "regexp_count",
    "regexp_replace", "regexp_trans", "getParentFolderName", "getBaseName", "getExtensionName", "getFileName",
    "existFile", "copyFile", "moveFile", "deleteFile", "getLocalTime", "getWeek", "loadLibrary", "freeLibrary",
    "int", "string", "variableExist", "variableErase", "cal", "rand", "itos16", "len", "mid", "upper", "lower",
    "kana", "match", "split", "regexp_match", "regexp_split", "loadFile", "saveFile", "setFileList",
    "getFileList", "loadText", "saveText", "getText", "setText", "insertText", "addText", "sortText",
    "clearText", "for", "next", "break", "continue", "if", "elseif", "else", "defsub", "undefsub", "getParam",
    "goto", "gosub", "return", "labelExist", "funcLua", "funcSqu",
  };
  return names;
}

const std::vector<std::string_view>& vmBuiltinNames() {
  static const std::vector<std::string_view> names = {
    "console", "print", "error", "confirm", "inform", "end", "count", "regexp_create", "regexp_count",
    "regexp_replace", "regexp_trans", "getParentFolderName", "getBaseName", "getExtensionName", "getFileName",
    "existFile", "copyFile", "moveFile", "deleteFile", "getLocalTime", "getWeek", "loadLibrary", "freeLibrary",
    "match", "split", "regexp_match", "regexp_split", "getFileList", "newScriptInteger", "newScriptString",
    "setScriptInteger", "setScriptString", "getScriptInteger", "getScriptString", "variableExist",
    "variableErase", "SetRenderTarget2",
  };
  return names;
}

const std::vector<CommandFamily>& engineCommandFamilies() {
  static const std::vector<CommandFamily> families = {
      {"timing and process",
       {
           "sleep", "getTimer", "timeGetTime", "getStartTime", "getTotalTime", "getArg",
       }},
      {"control",
       {
           "preMessGosub", "sufMessGosub", "fileJump", "setJump", "stopMode",
       }},
      {"bindings",
       {
           "loadLua", "loadSqu",
       }},
      {"message windows",
       {
           "n", "i", "getTag", "setMessCreate", "setMessLine", "setMessIndent", "setMessXY", "setMessSXY",
           "setMessWH", "setMessProportional", "setMessLog", "setMessSpeed", "getMessSpeed", "getMessLast",
           "setAutoWait", "getAutoWait", "formatMess", "clearMess", "clearMess2", "resetMess", "formatMessDraw",
           "setMessDraw", "endMessDraw",
       }},
      {"fonts",
       {
           "addFontFile", "setFontFile", "getFontFile", "setFontStyle", "getFontStyle", "setFontColor",
           "setFontColor2", "setFontColor3", "getFontListNum", "getFontListStr",
       }},
      {"backlog, read flags, auto and skip",
       {
           "getAlreadyReadFlag", "getAlreadyRead", "getPage", "setWindowVisible", "getWindowVisible",
           "setAuto", "setSkip", "getMode", "getSkip", "setLog", "getLog", "getLogLine", "getSaveLog",
           "setTagLog", "getTagLog", "getImgLog", "getLogCount",
       }},
      {"sprites",
       {
           "setPosition", "sp", "sp_cut", "sp_st", "sp_mask", "spg", "sp_g", "sp_d", "sp_dx", "ssp_set", "ssp",
           "ssp_reset", "ssp_draw", "logsp", "logsp_reset", "sp_b", "sp_o", "sp_cxy", "sp_x", "sp_y", "sp_xy",
           "sp_a", "sp_w", "sp_h", "sp_wh", "sp_rx", "sp_ry", "sp_rz", "sp_rxyz", "sp_l", "sp_c", "sp_ref",
           "sp_exist", "sp_gixy", "sp_giwh", "sp_gsz", "sp_gxy", "sp_ga", "sp_gwh", "sp_go", "sp_gcl", "sp_gn",
           "sp_neg", "sp_gray", "sp_rot", "sp_bc", "sp_color", "sp_hsl", "sp_blur", "sp_mosaic", "sp_reload",
       }},
      {"sprite animation",
       {
           "sp_ani", "sp_ax", "sp_ay", "sp_axy", "sp_aa", "sp_axya", "sp_aw", "sp_ah", "sp_awh", "sp_arx",
           "sp_ary", "sp_arz", "sp_arxyz", "sp_al", "sp_ac", "sp_am", "sp_ae", "sp_aex", "sp_aey", "sp_aexy",
           "sp_aew", "sp_aeh", "sp_aewh", "sp_aerx", "sp_aery", "sp_aerz", "sp_aerxyz", "sp_aea", "sp_ael",
           "sp_aec", "sp_aem", "sp_aes", "sp_alv", "sp_qx", "sp_qy",
       }},
      {"buttons and waits",
       {
           "setBtn", "setBtnRect", "getBtn", "setBtnTool", "eraseBtn", "clearBtn", "getBtnNow", "setBtnNow",
           "eventWait", "eventWaitPT", "eventWaitDD", "eventWaitPD",
       }},
      {"screen transforms",
       {
           "sc_qx", "sc_qy", "sc_x", "sc_y", "sc_xy", "sc_w", "sc_h", "sc_wh", "sc_mb",
       }},
      {"renderer",
       {
           "draw", "draw2", "draw3", "fresh",
       }},
      {"transitions",
       {
           "effect", "existStretch",
       }},
      {"screenshots",
       {
           "setScreenShot", "saveScreenShot",
       }},
      {"image cache and prefetch",
       {
           "cacheClear", "lookahead_set", "lookahead_stop", "lookahead", "lookahead2",
       }},
      {"sound",
       {
           "sd_create", "sd", "sd_load", "sd_play", "sd_pause", "sd_stop", "sd_volume", "sd_volume2",
           "sd_panpot", "sd_status", "sd_getFile", "sd_seekTime", "sd_nowTime", "sd_totalTime", "sd_loopTime",
           "sd_seekSample", "sd_nowSample", "sd_totalSample", "sd_loopSample",
       }},
      {"movie",
       {
           "theora_create",
       }},
      {"configuration",
       {
           "getGameName", "saveSetting", "loadSetting", "setConfirmDialog", "getConfirmDialog",
           "setEffectSkip", "getEffectSkip", "setEffectCancel", "getEffectCancel", "setPointWait",
           "getPointWait", "setWindowAlpha", "getWindowAlpha", "setMessageClick", "getMessageClick",
           "setMessageFade", "getMessageFade", "setAlreadyReadSkip", "getAlreadyReadSkip",
           "setAlreadyReadAutoSkip", "getAlreadyReadAutoSkip", "setAlreadyReadMoment", "getAlreadyReadMoment",
           "setSelectAutoMode", "getSelectAutoMode", "setSelectSkipMode", "getSelectSkipMode",
           "setMasterVolume", "getMasterVolume", "setMasterMute", "getMasterMute", "setBgmVolume",
           "getBgmVolume", "setBgmMute", "getBgmMute", "setSeVolume", "getSeVolume", "setSeMute", "getSeMute",
           "setSysSeVolume", "getSysSeVolume", "setSysSeMute", "getSysSeMute", "setVoVolume", "getVoVolume",
           "setVoMute", "getVoMute", "setSysVoVolume", "getSysVoVolume", "setSysVoMute", "getSysVoMute",
           "setVoiceCancel", "getVoiceCancel", "setVoiceWait", "getVoiceWait", "setBgmVolDown",
           "getBgmVolDown", "setSeVolDown", "getSeVolDown", "setBgmMinMax",
       }},
      {"save slots",
       {
           "setSaveFlag", "makeSave", "clearSave", "pushSave", "saveSave", "loadSave", "popSave",
           "setSaveText", "getSaveText", "loadSaveText", "existSave", "deleteSave", "getSaveTime",
           "getSaveNew", "setSaveProtect", "getSaveProtect",
       }},
      {"rollback",
       {
           "setRollback", "rollback", "getRollback",
       }},
      {"global flags",
       {
           "saveAlready",
       }},
      {"window and display",
       {
           "screen", "setWindowText", "getScreenRate", "getScreenWidth", "getScreenHeight", "setWallPaper",
           "getWallPaper", "setMultiSample", "getMultiSample", "setFullScreen", "getFullScreen",
           "setScreenAspect", "getScreenAspect", "getScreenAspect2",
       }},
      {"input and cursor",
       {
           "setCursor", "getCursor", "setCursorPos", "getCursorPos", "getPushKey",
       }},
      {"services",
       {
           "getCurrentDirectory", "isNetworkAlive", "fileDownload", "shellExecute", "setClipboard", "findText",
           "existFile2", "getWin64", "executeUnity", "liveUnity", "releaseUnity", "systemMessage",
       }},
  };
  return families;
}

bool isNativeOnly(std::string_view name) { return name == "getTag" || name == "systemMessage"; }

}  // namespace vellum
