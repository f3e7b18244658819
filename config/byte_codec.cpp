#include "config/byte_codec.h"

void ScrambleRecord(std::uint8_t* pbyBuf, std::int32_t iLen) {
    if (pbyBuf == nullptr) {
        return;
    }
    for (std::int32_t i = 0; i < iLen; ++i) {
        const unsigned b = pbyBuf[i] ^ SCRAMBLE_XOR;
        pbyBuf[i] = static_cast<std::uint8_t>((b >> 2) | (b << 6));
    }
}

void UnscrambleRecord(std::uint8_t* pbyBuf, std::int32_t iLen) {
    if (pbyBuf == nullptr) {
        return;
    }
    for (std::int32_t i = 0; i < iLen; ++i) {
        const unsigned b = pbyBuf[i];
        pbyBuf[i] = static_cast<std::uint8_t>(((b << 2) | (b >> 6)) ^ SCRAMBLE_XOR);
    }
}
