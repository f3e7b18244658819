// The one module the stand-in has, and the resources its script declares.
#pragma once

#include "rc_script.h"

#include <windows.h>

#include <string>

namespace standin {

HMODULE ThisModule();

// Empty text with the template found, otherwise why not.
std::string FindDialogTemplate(HINSTANCE hInstance, LPCSTR name, DialogTemplate& out);

} // namespace standin
