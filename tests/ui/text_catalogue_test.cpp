// Both languages complete, the Chinese texts exactly the code page 936 bytes of their characters,
// and the language rule.
#include "ui/text_catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iconv.h>
#include <string>

namespace {

struct CatalogueRow {
    TextId id;
    const char* chinese; // UTF-8 here; the catalogue must hold its code page 936 bytes
    std::size_t bytes;   // length in code page 936
    const char* english;
};

const CatalogueRow CATALOGUE[] = {
    {TXT_TITLE, "遥控FTP参数设置", 15, "FTP settings for remote update"},
    {TXT_SELECT_TYPE, "选择FTP类别", 11, "Select FTP type"},
    {TXT_FTP_PARAMS, "FTP参数", 7, "FTP Parameters"},
    {TXT_SERVER, "服务器", 6, "Server"},
    {TXT_PORT, "端口", 4, "Port"},
    {TXT_USER, "用户名", 6, "User Name"},
    {TXT_PASSWORD, "密码", 4, "Password"},
    {TXT_UPLOAD_DIR, "上传到的FTP目录", 15, "Upload to FTP directory"},
    {TXT_SAVE_PATH, "参数保存位置", 12, "Parameter Save Path"},
    {TXT_BROWSE, "浏览", 4, "Browse"},
    {TXT_GENERATE, "生成配置", 8, "Generate"},
    {TXT_VERSION, "版本号: V1.5", 12, "Version: V1.5"},
    {TXT_DIR_ROOT, "根目录", 6, "Root"},
    {TXT_DIR_SPECIFY, "指定目录", 8, "Specify"},
    {TXT_CAPTION_NOTICE, "通知", 4, "Notice"},
    {MSG_NEED_SERVER, "未生成配置文件！\r\n请输入FTP服务器。", 35,
     "Generate failed!\r\nPlease enter FTP server."},
    {MSG_NEED_PORT, "未生成配置文件！\r\n请输入FTP端口。", 33,
     "Generate failed!\r\nPlease enter FTP port."},
    {MSG_PORT_RANGE, "未生成配置文件！\r\n端口不能大于65535。", 37,
     "Generate failed!\r\nPort cannot be greater than 65535."},
    {MSG_NEED_USER, "未生成配置文件！\r\nFTP帐号错误!", 30, "Generate failed!\rFTP account error!"},
    {MSG_NEED_PASSWORD, "未生成配置文件！\r\n请输入FTP密码。", 33,
     "Generate failed!\r\nPlease enter FTP password."},
    {MSG_SAVE_FAILED, "生成配置文件失败!", 17, "Failed to generate configuration file!"},
    {MSG_SUCCESS, "成功生成配置文件!", 17, "Generate Success!"},
};

// Decodes code page 936 with the C library's own converter, independent of the catalogue.
std::string Utf8FromCp936(const char* text) {
    iconv_t converter = iconv_open("UTF-8", "GBK");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return "<no GBK converter>";
    }
    std::string in(text);
    std::string out(in.size() * 3 + 1, '\0');
    char* inAt = in.data();
    char* outAt = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const bool ok = iconv(converter, &inAt, &inLeft, &outAt, &outLeft) != std::size_t(-1);
    iconv_close(converter);
    if (!ok) {
        return "<not valid code page 936>";
    }
    out.resize(out.size() - outLeft);
    return out;
}

class TextCatalogue : public testing::Test {
  protected:
    void TearDown() override { g_nLanguage = 1; }
};

TEST_F(TextCatalogue, EveryEntryHasBothLanguagesAsTheTableGivesThem) {
    ASSERT_EQ(std::size(CATALOGUE), std::size_t{TEXT_ID_COUNT});
    for (const CatalogueRow& row : CATALOGUE) {
        SelectLanguage(LANGID_CHINESE_PRC);
        const char* chinese = GetText(row.id);
        EXPECT_EQ(std::strlen(chinese), row.bytes) << row.english;
        EXPECT_EQ(Utf8FromCp936(chinese), row.chinese) << row.english;

        SelectLanguage(0x0409);
        EXPECT_STREQ(GetText(row.id), row.english);
    }
}

TEST_F(TextCatalogue, BytesThatAreEasyToLose) {
    SelectLanguage(LANGID_CHINESE_PRC);
    EXPECT_STREQ(GetText(TXT_PORT), "\xB6\xCB\xBF\xDA");
    EXPECT_STREQ(GetText(TXT_VERSION), "\xB0\xE6\xB1\xBE\xBA\xC5: V1.5");
    // Full-width "!" ends the first line, the ideographic full stop the second.
    const std::string needServer = GetText(MSG_NEED_SERVER);
    EXPECT_EQ(needServer.substr(14, 4), "\xA3\xA1\r\n");
    EXPECT_EQ(needServer.substr(needServer.size() - 2), "\xA1\xA3");
    EXPECT_EQ(std::string(GetText(MSG_NEED_USER)).substr(14, 4), "\xA3\xA1\r\n");

    SelectLanguage(0x0409);
    const std::string needUser = GetText(MSG_NEED_USER);
    EXPECT_NE(needUser.find('\r'), std::string::npos);
    EXPECT_EQ(needUser.find('\n'), std::string::npos);
}

TEST_F(TextCatalogue, OnlyChinesePrcSelectsChinese) {
    EXPECT_STREQ(GetText(TXT_PORT), "Port") << "English before any selection";
    const struct {
        std::uint16_t langId;
        int language;
    } rules[] = {{0x0804, 0}, {0x0404, 1}, {0x0C04, 1}, {0x1004, 1}, {0x0004, 1},
                 {0x0409, 1}, {0x0000, 1}, {0xFFFF, 1}, {0x1804, 1}};
    for (const auto& rule : rules) {
        SelectLanguage(rule.langId);
        EXPECT_EQ(g_nLanguage, rule.language) << std::hex << rule.langId;
    }
}

TEST_F(TextCatalogue, ServerTypesAreTheSameInBothLanguages) {
    EXPECT_STREQ(SERVER_TYPE_ITEMS[0], "SFTP");
    EXPECT_STREQ(SERVER_TYPE_ITEMS[1], "FTP");
}

} // namespace
