#include "resource_decode.h"

#include <algorithm>
#include <iterator>

namespace res {
namespace {

using pe::Bytes;
using pe::FormatError;

constexpr std::uint32_t DS_SETFONT = 0x40;
constexpr std::size_t DIALOG_HEADER_SIZE = 18;
constexpr std::size_t DIALOG_ITEM_HEADER_SIZE = 18;
constexpr std::size_t GROUP_ICON_HEADER_SIZE = 6;
constexpr std::size_t GROUP_ICON_ENTRY_SIZE = 14;
constexpr std::size_t BITMAP_INFO_HEADER_SIZE = 40;
constexpr std::size_t FIXED_FILE_INFO_SIZE = 52;
constexpr int MAX_VERSION_DEPTH = 8;

std::size_t Align4(std::size_t pos) {
    return (pos + 3) & ~std::size_t{3};
}

// A zero-terminated UTF-16 string starting at pos; pos moves past the zero.
std::u16string ReadString(const Bytes& b, std::size_t& pos, const std::string& item) {
    std::u16string text;
    for (;;) {
        const std::uint16_t c = b.U16(pos, item);
        pos += 2;
        if (c == 0) {
            return text;
        }
        text.push_back(static_cast<char16_t>(c));
    }
}

NameOrOrdinal ReadNameOrOrdinal(const Bytes& b, std::size_t& pos, const std::string& item) {
    NameOrOrdinal out;
    const std::uint16_t first = b.U16(pos, item);
    if (first == 0) {
        pos += 2;
    } else if (first == 0xFFFF) {
        out.kind = NameOrOrdinal::Kind::Ordinal;
        out.ordinal = b.U16(pos + 2, item + " ordinal");
        pos += 4;
    } else {
        out.kind = NameOrOrdinal::Kind::String;
        out.text = ReadString(b, pos, item);
    }
    return out;
}

std::int16_t S16(const Bytes& b, std::size_t pos, const std::string& item) {
    return static_cast<std::int16_t>(b.U16(pos, item));
}

VersionNode DecodeNode(std::span<const std::uint8_t> data, std::size_t at, std::size_t limit,
                       int depth) {
    if (depth > MAX_VERSION_DEPTH) {
        throw FormatError("version resource nested deeper than " +
                          std::to_string(MAX_VERSION_DEPTH) + " levels");
    }
    const Bytes whole(data.first(limit), "version resource");
    const std::uint16_t length = whole.U16(at, "version node length");
    if (length < 6 || length > limit - at) {
        throw FormatError("version node at offset " + std::to_string(at) + " has length " +
                          std::to_string(length) + ", which does not fit its parent");
    }
    const std::size_t end = at + length;
    // Reads through b cannot leave this node.
    const Bytes b(data.first(end), "version node");
    VersionNode node;
    const std::uint16_t valueLength = b.U16(at + 2, "version value length");
    node.type = b.U16(at + 4, "version node type");
    std::size_t pos = at + 6;
    node.key = ReadString(b, pos, "version node key");
    pos = Align4(pos);
    // Text values count UTF-16 units, binary ones bytes.
    const std::size_t valueBytes = node.type == 1 ? valueLength * std::size_t{2} : valueLength;
    if (valueBytes != 0) {
        const auto value = b.Sub(pos, valueBytes, "version node value");
        node.value.assign(value.begin(), value.end());
        pos += valueBytes;
    }
    for (pos = Align4(pos); pos < end; pos = Align4(pos)) {
        const std::size_t childLength = b.U16(pos, "version node length");
        node.children.push_back(DecodeNode(data, pos, end, depth + 1));
        pos += childLength;
    }
    return node;
}

} // namespace

Dialog DecodeDialog(std::span<const std::uint8_t> data) {
    const Bytes b(data, "dialog template");
    if (b.U16(0, "dialog version") == 1 && b.U16(2, "dialog signature") == 0xFFFF) {
        throw FormatError(
            "extended dialog template (DIALOGEX) where a classic DIALOG was expected");
    }
    b.Need(0, DIALOG_HEADER_SIZE, "dialog header");
    Dialog d;
    d.style = b.U32(0, "dialog style");
    d.exStyle = b.U32(4, "dialog ext style");
    const std::uint16_t count = b.U16(8, "dialog item count");
    d.x = S16(b, 10, "dialog x");
    d.y = S16(b, 12, "dialog y");
    d.cx = S16(b, 14, "dialog cx");
    d.cy = S16(b, 16, "dialog cy");
    std::size_t pos = DIALOG_HEADER_SIZE;
    d.menu = ReadNameOrOrdinal(b, pos, "dialog menu");
    d.windowClass = ReadNameOrOrdinal(b, pos, "dialog class");
    d.caption = ReadString(b, pos, "dialog caption");
    if ((d.style & DS_SETFONT) != 0) {
        d.hasFont = true;
        d.pointSize = b.U16(pos, "dialog font size");
        pos += 2;
        d.faceName = ReadString(b, pos, "dialog font name");
    }
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::string item = "dialog item " + std::to_string(i);
        pos = Align4(pos);
        b.Need(pos, DIALOG_ITEM_HEADER_SIZE, item + " header");
        DialogItem it;
        it.style = b.U32(pos, item);
        it.exStyle = b.U32(pos + 4, item);
        it.x = S16(b, pos + 8, item);
        it.y = S16(b, pos + 10, item);
        it.cx = S16(b, pos + 12, item);
        it.cy = S16(b, pos + 14, item);
        it.id = b.U16(pos + 16, item);
        pos += DIALOG_ITEM_HEADER_SIZE;
        it.windowClass = ReadNameOrOrdinal(b, pos, item + " class");
        it.text = ReadNameOrOrdinal(b, pos, item + " text");
        // Nonzero: the size of the creation data, size word included.
        const std::uint16_t extra = b.U16(pos, item + " creation data size");
        if (extra == 1) {
            throw FormatError(item + " has a creation data size of 1");
        }
        const std::size_t taken = extra == 0 ? 2 : extra;
        const auto creation = b.Sub(pos, taken, item + " creation data");
        if (extra != 0) {
            it.creationData.assign(creation.begin(), creation.end());
        }
        pos += taken;
        d.items.push_back(std::move(it));
    }
    return d;
}

std::vector<GroupIconEntry> DecodeGroupIcon(std::span<const std::uint8_t> data) {
    const Bytes b(data, "icon group");
    b.Need(0, GROUP_ICON_HEADER_SIZE, "icon group header");
    if (b.U16(2, "icon group type") != 1) {
        throw FormatError("icon group type is " + std::to_string(b.U16(2, "")) +
                          ", expected 1 (icon)");
    }
    const std::uint16_t count = b.U16(4, "icon group count");
    std::vector<GroupIconEntry> entries;
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::size_t at = GROUP_ICON_HEADER_SIZE + std::size_t{i} * GROUP_ICON_ENTRY_SIZE;
        const std::string item = "icon group entry " + std::to_string(i);
        b.Need(at, GROUP_ICON_ENTRY_SIZE, item);
        GroupIconEntry e;
        e.width = b.U8(at, item);
        e.height = b.U8(at + 1, item);
        e.colorCount = b.U8(at + 2, item);
        e.reserved = b.U8(at + 3, item);
        e.planes = b.U16(at + 4, item);
        e.bitCount = b.U16(at + 6, item);
        e.bytesInRes = b.U32(at + 8, item);
        e.id = b.U16(at + 12, item);
        entries.push_back(e);
    }
    return entries;
}

IconBitmap DecodeIconBitmap(std::span<const std::uint8_t> data) {
    static const std::uint8_t PNG_SIGNATURE[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (data.size() >= sizeof PNG_SIGNATURE &&
        std::equal(std::begin(PNG_SIGNATURE), std::end(PNG_SIGNATURE), data.begin())) {
        throw FormatError("icon image is PNG where a DIB was expected");
    }
    const Bytes b(data, "icon image");
    b.Need(0, BITMAP_INFO_HEADER_SIZE, "BITMAPINFOHEADER");
    IconBitmap h;
    h.headerSize = b.U32(0, "biSize");
    h.width = static_cast<std::int32_t>(b.U32(4, "biWidth"));
    h.height = static_cast<std::int32_t>(b.U32(8, "biHeight"));
    h.planes = b.U16(12, "biPlanes");
    h.bitCount = b.U16(14, "biBitCount");
    h.compression = b.U32(16, "biCompression");
    return h;
}

std::u16string VersionNode::Text() const {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < value.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(value[i] | value[i + 1] << 8);
        if (c == 0) {
            break;
        }
        text.push_back(c);
    }
    return text;
}

const VersionNode* VersionNode::Child(const std::u16string& childKey) const {
    for (const VersionNode& c : children) {
        if (c.key == childKey) {
            return &c;
        }
    }
    return nullptr;
}

VersionNode DecodeVersion(std::span<const std::uint8_t> data) {
    return DecodeNode(data, 0, data.size(), 0);
}

FixedFileInfo DecodeFixedFileInfo(const VersionNode& root) {
    if (root.value.size() != FIXED_FILE_INFO_SIZE) {
        throw FormatError("VS_FIXEDFILEINFO has " + std::to_string(root.value.size()) +
                          " bytes, expected " + std::to_string(FIXED_FILE_INFO_SIZE));
    }
    const Bytes b(root.value, "VS_FIXEDFILEINFO");
    FixedFileInfo f;
    std::uint32_t* order[] = {&f.signature,
                              &f.structVersion,
                              &f.fileVersionMS,
                              &f.fileVersionLS,
                              &f.productVersionMS,
                              &f.productVersionLS,
                              &f.flagsMask,
                              &f.flags,
                              &f.os,
                              &f.fileType,
                              &f.fileSubtype,
                              &f.dateMS,
                              &f.dateLS};
    for (std::size_t i = 0; i < std::size(order); ++i) {
        *order[i] = b.U32(i * 4, "VS_FIXEDFILEINFO");
    }
    return f;
}

} // namespace res
