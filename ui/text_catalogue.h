// Every text the tool shows, in Chinese (code page 936 bytes) and English.
#pragma once

#include <cstdint>

// 0 Chinese, 1 English; English until SelectLanguage has run.
extern int g_nLanguage;

enum TextId {
    TXT_TITLE,
    TXT_SELECT_TYPE,
    TXT_FTP_PARAMS,
    TXT_SERVER,
    TXT_PORT,
    TXT_USER,
    TXT_PASSWORD,
    TXT_UPLOAD_DIR,
    TXT_SAVE_PATH,
    TXT_BROWSE,
    TXT_GENERATE,
    TXT_VERSION,
    TXT_DIR_ROOT,
    TXT_DIR_SPECIFY,
    TXT_CAPTION_NOTICE,
    MSG_NEED_SERVER,
    MSG_NEED_PORT,
    MSG_PORT_RANGE,
    MSG_NEED_USER,
    MSG_NEED_PASSWORD,
    MSG_SAVE_FAILED,
    MSG_SUCCESS,
    TEXT_ID_COUNT
};

constexpr std::uint16_t LANGID_CHINESE_PRC = 0x0804;

// Chinese for exactly 0x0804 (Chinese, PRC); every other identifier, other Chinese ones
// included, gives English.
void SelectLanguage(std::uint16_t wLangId);

const char* GetText(TextId id);

// The server type list; the index is what bySelectBy stores.
extern const char* const SERVER_TYPE_ITEMS[2];
