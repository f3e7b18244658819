#include "win/dialog_form.h"

#include "win/resource.h"

namespace {

int FieldControl(FormField field) {
    switch (field) {
    case FIELD_SERVER:
        return IDC_ED_SERVER;
    case FIELD_PORT:
        return IDC_ED_PORT;
    case FIELD_USER:
        return IDC_ED_USER;
    case FIELD_PASSWORD:
        return IDC_ED_PASSWORD;
    case FIELD_FTPDIR:
        return IDC_ED_FTPDIR;
    }
    return 0;
}

int SelectedIndex(HWND hDlg, int id) {
    return static_cast<int>(SendMessageA(GetDlgItem(hDlg, id), CB_GETCURSEL, 0, 0));
}

// A text cut at the buffer's end may end in the lead byte of a double-byte character whose
// trail byte was cut off; half a character must not reach the file.
int DropCutLeadByte(char* buffer, int count) {
    int i = 0;
    while (i < count) {
        if (IsDBCSLeadByte(static_cast<BYTE>(buffer[i]))) {
            if (i + 1 == count) {
                buffer[i] = '\0';
                return i;
            }
            i += 2;
        } else {
            ++i;
        }
    }
    return count;
}

} // namespace

int DialogForm::GetTypeIndex() {
    return SelectedIndex(hDlg_, IDC_CB_TYPE);
}

int DialogForm::GetFieldText(FormField field, char* buffer, int size) {
    const UINT count = GetDlgItemTextA(hDlg_, FieldControl(field), buffer, size);
    return DropCutLeadByte(buffer, static_cast<int>(count));
}

int DialogForm::GetDirModeIndex() {
    return SelectedIndex(hDlg_, IDC_CB_DIRMODE);
}

void DialogForm::ShowMessage(const char* text, const char* caption, MessageIcon icon) {
    const UINT type =
        icon == MSGICON_INFORMATION ? MB_OK | MB_ICONINFORMATION : MB_OK | MB_ICONWARNING;
    MessageBoxA(hDlg_, text, caption, type);
}
