// Decoders for the resource formats the exe carries: the classic dialog
// template, the icon group directory, the icon image header and the version
// resource. Bounds-checked like the PE reader; they throw pe::FormatError.
#ifndef CFG_TESTS_RESOURCE_DECODE_H
#define CFG_TESTS_RESOURCE_DECODE_H

#include "pe_reader.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace res {

// A dialog's menu or class, or an item's class or text: absent, a 16-bit
// ordinal (0xFFFF form), or a string.
struct NameOrOrdinal {
    enum class Kind { None, Ordinal, String } kind = Kind::None;
    std::uint16_t ordinal = 0;
    std::u16string text;
};

struct DialogItem {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::uint16_t id = 0;
    NameOrOrdinal windowClass;
    NameOrOrdinal text;
    std::vector<std::uint8_t> creationData;
};

struct Dialog {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::u16string caption;
    bool hasFont = false;
    std::uint16_t pointSize = 0;
    std::u16string faceName;
    std::vector<DialogItem> items;
};

// Classic DIALOG template only; an extended (DIALOGEX) one is an error.
Dialog DecodeDialog(std::span<const std::uint8_t> data);

struct GroupIconEntry {
    std::uint8_t width = 0, height = 0, colorCount = 0, reserved = 0;
    std::uint16_t planes = 0, bitCount = 0;
    std::uint32_t bytesInRes = 0;
    std::uint16_t id = 0;
};

std::vector<GroupIconEntry> DecodeGroupIcon(std::span<const std::uint8_t> data);

// The BITMAPINFOHEADER at the start of an RT_ICON image held as a DIB.
struct IconBitmap {
    std::uint32_t headerSize = 0;
    std::int32_t width = 0, height = 0;
    std::uint16_t planes = 0, bitCount = 0;
    std::uint32_t compression = 0;
};

IconBitmap DecodeIconBitmap(std::span<const std::uint8_t> data);

// One node of a version resource: VS_VERSIONINFO, StringFileInfo, a string
// table, String, VarFileInfo or Var.
struct VersionNode {
    std::u16string key;
    std::uint16_t type = 0; // 1 text, 0 binary
    std::vector<std::uint8_t> value;
    std::vector<VersionNode> children;

    // The value as text up to its first zero; the value is UTF-16.
    std::u16string Text() const;
    // The first child with this key, or nullptr.
    const VersionNode* Child(const std::u16string& childKey) const;
};

VersionNode DecodeVersion(std::span<const std::uint8_t> data);

struct FixedFileInfo {
    std::uint32_t signature = 0, structVersion = 0;
    std::uint32_t fileVersionMS = 0, fileVersionLS = 0;
    std::uint32_t productVersionMS = 0, productVersionLS = 0;
    std::uint32_t flagsMask = 0, flags = 0, os = 0, fileType = 0, fileSubtype = 0;
    std::uint32_t dateMS = 0, dateLS = 0;
};

// The VS_FIXEDFILEINFO held as the value of the root node.
FixedFileInfo DecodeFixedFileInfo(const VersionNode& root);

} // namespace res

#endif
