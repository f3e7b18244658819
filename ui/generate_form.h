// What the Generate command needs of a form: the dialog is one, a form built on plain strings
// is another.
#pragma once

enum FormField { FIELD_SERVER, FIELD_PORT, FIELD_USER, FIELD_PASSWORD, FIELD_FTPDIR };

enum MessageIcon { MSGICON_WARNING, MSGICON_INFORMATION };

class GenerateForm {
  public:
    // The selected server type, -1 when nothing is selected.
    virtual int GetTypeIndex() = 0;
    // Copies at most size - 1 bytes of the field and a zero byte into buffer, nothing beyond;
    // returns the count without the zero byte.
    virtual int GetFieldText(FormField field, char* buffer, int size) = 0;
    // The selected directory mode, -1 when nothing is selected.
    virtual int GetDirModeIndex() = 0;
    // Presents the message modally with a single OK button and returns when it is dismissed.
    virtual void ShowMessage(const char* text, const char* caption, MessageIcon icon) = 0;

  protected:
    ~GenerateForm() = default;
};
