#include "ui/generate_command.h"

#include "config/config_store.h"
#include "config/factory_config.h"
#include "config/text_field.h"
#include "config/trace.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr int PORT_TEXT_SIZE = 6;
constexpr int PORT_MAX = 65535;
constexpr int PORT_INVALID = -1;

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// As atoi reads it, but a text without digits or with a minus sign before them is no port: it
// would otherwise be stored as 0 or wrapped round to a high port.
int ParsePort(const char* szText) {
    while (IsBlank(*szText)) {
        ++szText;
    }
    const bool negative = *szText == '-';
    if (*szText == '+' || *szText == '-') {
        ++szText;
    }
    if (*szText < '0' || *szText > '9') {
        return PORT_INVALID;
    }
    int value = 0;
    for (; *szText >= '0' && *szText <= '9'; ++szText) {
        value = value * 10 + (*szText - '0');
    }
    return negative && value != 0 ? PORT_INVALID : value;
}

// Reads a form field straight into a record field of the same width.
template <std::size_t N> int ReadField(GenerateForm& form, FormField field, char (&szField)[N]) {
    return form.GetFieldText(field, szField, static_cast<int>(N));
}

GenerateOutcome Warning(TextId id) {
    return {true, id, MSGICON_WARNING};
}

GenerateOutcome Run(GenerateForm& form) {
    FactoryConfig& config = g_sFactoryConfig;
    config.bySelectBy = static_cast<std::uint8_t>(form.GetTypeIndex());
    Trace("[MAKE]\n* bySelectBy =%d\n", config.bySelectBy);

    if (ReadField(form, FIELD_SERVER, config.szDebugUrl) == 0) {
        return Warning(MSG_NEED_SERVER);
    }
    StoreFieldText(config.szFtpServer, FieldText(config.szDebugUrl).szText);

    char szPort[PORT_TEXT_SIZE] = {};
    if (form.GetFieldText(FIELD_PORT, szPort, PORT_TEXT_SIZE) == 0) {
        return Warning(MSG_NEED_PORT);
    }
    const int iPort = ParsePort(szPort);
    if (iPort == PORT_INVALID) {
        return Warning(MSG_NEED_PORT);
    }
    if (iPort > PORT_MAX) {
        return Warning(MSG_PORT_RANGE);
    }
    config.uwDebugPort = static_cast<std::uint16_t>(iPort);

    if (ReadField(form, FIELD_USER, config.szFtpUser) == 0) {
        return Warning(MSG_NEED_USER);
    }
    if (ReadField(form, FIELD_PASSWORD, config.szFtpPassword) == 0) {
        return Warning(MSG_NEED_PASSWORD);
    }
    config.iDirMode = form.GetDirModeIndex();
    ReadField(form, FIELD_FTPDIR, config.szFtpDir);

    // A file that does not read back whole is as good as none: the user must hear of it.
    if (SaveConfig() == 0 || LoadConfig() == 0) {
        return Warning(MSG_SAVE_FAILED);
    }
    return {true, MSG_SUCCESS, MSGICON_INFORMATION};
}

} // namespace

GenerateOutcome GenerateCommand(GenerateForm& form) {
    const GenerateOutcome outcome = Run(form);
    if (outcome.bHasMessage) {
        form.ShowMessage(GetText(outcome.idText), GetText(TXT_CAPTION_NOTICE), outcome.eIcon);
    }
    return outcome;
}
