#include "code_page.h"

namespace standin {

bool IsLeadByteIn(UINT codePage, BYTE byte) {
    switch (codePage) {
    case 932: // Japanese
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936: // Chinese, simplified
    case 949: // Korean
    case 950: // Chinese, traditional
        return byte >= 0x81 && byte <= 0xFE;
    default: // the single-byte code pages
        return false;
    }
}

} // namespace standin
