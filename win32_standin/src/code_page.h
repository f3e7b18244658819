// Lead bytes of the double-byte code pages, for IsDBCSLeadByte and for reading the resource
// script's strings.
#pragma once

#include <windows.h>

namespace standin {

bool IsLeadByteIn(UINT codePage, BYTE byte);

} // namespace standin
