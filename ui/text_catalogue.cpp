#include "ui/text_catalogue.h"

int g_nLanguage = 1;

const char* const SERVER_TYPE_ITEMS[2] = {"SFTP", "FTP"};

namespace {

struct TextPair {
    const char* szChinese;
    const char* szEnglish;
};

// Chinese texts as code page 936 bytes, so that no source or compiler charset can change them;
// each comment shows the characters.
constexpr TextPair TEXT_CATALOGUE[TEXT_ID_COUNT] = {
    // 遥控FTP参数设置
    {"\xD2\xA3\xBF\xD8"
     "FTP\xB2\xCE\xCA\xFD\xC9\xE8\xD6\xC3",
     "FTP settings for remote update"},
    // 选择FTP类别
    {"\xD1\xA1\xD4\xF1"
     "FTP\xC0\xE0\xB1\xF0",
     "Select FTP type"},
    // FTP参数
    {"FTP\xB2\xCE\xCA\xFD", "FTP Parameters"},
    // 服务器
    {"\xB7\xFE\xCE\xF1\xC6\xF7", "Server"},
    // 端口
    {"\xB6\xCB\xBF\xDA", "Port"},
    // 用户名
    {"\xD3\xC3\xBB\xA7\xC3\xFB", "User Name"},
    // 密码
    {"\xC3\xDC\xC2\xEB", "Password"},
    // 上传到的FTP目录
    {"\xC9\xCF\xB4\xAB\xB5\xBD\xB5\xC4"
     "FTP\xC4\xBF\xC2\xBC",
     "Upload to FTP directory"},
    // 参数保存位置
    {"\xB2\xCE\xCA\xFD\xB1\xA3\xB4\xE6\xCE\xBB\xD6\xC3", "Parameter Save Path"},
    // 浏览
    {"\xE4\xAF\xC0\xC0", "Browse"},
    // 生成配置
    {"\xC9\xFA\xB3\xC9\xC5\xE4\xD6\xC3", "Generate"},
    // 版本号: V1.5
    {"\xB0\xE6\xB1\xBE\xBA\xC5: V1.5", "Version: V1.5"},
    // 根目录
    {"\xB8\xF9\xC4\xBF\xC2\xBC", "Root"},
    // 指定目录
    {"\xD6\xB8\xB6\xA8\xC4\xBF\xC2\xBC", "Specify"},
    // 通知
    {"\xCD\xA8\xD6\xAA", "Notice"},
    // 未生成配置文件！\r\n请输入FTP服务器。
    {"\xCE\xB4\xC9\xFA\xB3\xC9\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\xA3\xA1\r\n\xC7\xEB\xCA\xE4\xC8\xEB"
     "FTP\xB7\xFE\xCE\xF1\xC6\xF7\xA1\xA3",
     "Generate failed!\r\nPlease enter FTP server."},
    // 未生成配置文件！\r\n请输入FTP端口。
    {"\xCE\xB4\xC9\xFA\xB3\xC9\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\xA3\xA1\r\n\xC7\xEB\xCA\xE4\xC8\xEB"
     "FTP\xB6\xCB\xBF\xDA\xA1\xA3",
     "Generate failed!\r\nPlease enter FTP port."},
    // 未生成配置文件！\r\n端口不能大于65535。
    {"\xCE\xB4\xC9\xFA\xB3\xC9\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\xA3\xA1\r\n\xB6\xCB\xBF\xDA\xB2\xBB"
     "\xC4\xDC\xB4\xF3\xD3\xDA"
     "65535\xA1\xA3",
     "Generate failed!\r\nPort cannot be greater than 65535."},
    // 未生成配置文件！\r\nFTP帐号错误!
    {"\xCE\xB4\xC9\xFA\xB3\xC9\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\xA3\xA1\r\nFTP\xD5\xCA\xBA\xC5\xB4"
     "\xED\xCE\xF3!",
     "Generate failed!\rFTP account error!"},
    // 未生成配置文件！\r\n请输入FTP密码。
    {"\xCE\xB4\xC9\xFA\xB3\xC9\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\xA3\xA1\r\n\xC7\xEB\xCA\xE4\xC8\xEB"
     "FTP\xC3\xDC\xC2\xEB\xA1\xA3",
     "Generate failed!\r\nPlease enter FTP password."},
    // 生成配置文件失败!
    {"\xC9\xFA\xB3\xC9\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC!",
     "Failed to generate configuration file!"},
    // 成功生成配置文件!
    {"\xB3\xC9\xB9\xA6\xC9\xFA\xB3\xC9\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE!", "Generate Success!"},
};

} // namespace

void SelectLanguage(std::uint16_t wLangId) {
    g_nLanguage = wLangId == LANGID_CHINESE_PRC ? 0 : 1;
}

const char* GetText(TextId id) {
    if (id < 0 || id >= TEXT_ID_COUNT) {
        return "";
    }
    const TextPair& texts = TEXT_CATALOGUE[id];
    return g_nLanguage == 0 ? texts.szChinese : texts.szEnglish;
}
