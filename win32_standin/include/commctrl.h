// Common controls: the classic controls need no more than the library being loaded.
#pragma once

#include <windows.h>

void WINAPI InitCommonControls();
