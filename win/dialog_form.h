// The dialog's controls as the Generate command's form.
#pragma once

#include "ui/generate_form.h"

#include <windows.h>

class DialogForm final : public GenerateForm {
  public:
    explicit DialogForm(HWND hDlg) : hDlg_(hDlg) {}

    int GetTypeIndex() override;
    int GetFieldText(FormField field, char* buffer, int size) override;
    int GetDirModeIndex() override;
    void ShowMessage(const char* text, const char* caption, MessageIcon icon) override;

  private:
    HWND hDlg_;
};
