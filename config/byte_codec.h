// The fixed byte transform of the configuration file: each byte on its own, the same at every
// offset.
#pragma once

#include <cstdint>

constexpr std::uint8_t SCRAMBLE_XOR = 0xA6;

// XOR, then rotate right by 2. Does nothing for a null buffer or a length below 1.
void ScrambleRecord(std::uint8_t* pbyBuf, std::int32_t iLen);

// Rotate left by 2, then XOR: the exact inverse of ScrambleRecord.
void UnscrambleRecord(std::uint8_t* pbyBuf, std::int32_t iLen);
