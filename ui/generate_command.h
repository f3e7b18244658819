// The work behind the Generate button: form to record, record to file, file back to record.
#pragma once

#include "ui/generate_form.h"
#include "ui/text_catalogue.h"

struct GenerateOutcome {
    bool bHasMessage;
    TextId idText;
    MessageIcon eIcon;
};

// Validates and stores the form's values in g_sFactoryConfig, saves it to g_szSavePath and reads
// it back; presents the outcome through form.ShowMessage and returns it.
GenerateOutcome GenerateCommand(GenerateForm& form);
