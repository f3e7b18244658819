// The PE reader against small images built here byte by byte: one section
// with an import table and a resource tree whose last bytes end the file.
#include "pe_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Fixture {
    std::vector<std::uint8_t> bytes;
    // File offsets of fields that the corruption cases patch.
    std::size_t sectionCount = 0;
    std::size_t optionalSize = 0;
    std::size_t magic = 0;
    std::size_t dirCount = 0;
    std::size_t importDirRva = 0;
    std::size_t resourceDirRva = 0;
    std::size_t rawPointer = 0;
    std::size_t importName = 0;
    std::size_t rootIdCount = 0;
    std::size_t rootNamedEntryName = 0;
    std::size_t rootIdEntryTarget = 0;
    std::size_t nameDirEntryTarget = 0;
    std::size_t dialogDataRva = 0;
    std::size_t dialogDataSize = 0;
};

constexpr std::uint32_t SECTION_RVA = 0x1000;
constexpr std::size_t SECTION_FILE_OFFSET = 0x200;
const std::vector<std::uint8_t> NAMED_DATA = {'h', 'e', 'l', 'l', 'o'};
const std::vector<std::uint8_t> DIALOG_DATA = {'D', 'L', 'G', '!', 0x01, 0x02};

class Writer {
  public:
    std::vector<std::uint8_t> out;
    void U8(std::size_t at, std::uint8_t v) {
        if (out.size() < at + 1) {
            out.resize(at + 1);
        }
        out[at] = v;
    }
    void U16(std::size_t at, std::uint32_t v) {
        U8(at, v & 0xFF);
        U8(at + 1, (v >> 8) & 0xFF);
    }
    void U32(std::size_t at, std::uint32_t v) {
        U16(at, v & 0xFFFF);
        U16(at + 2, v >> 16);
    }
    void Bytes(std::size_t at, const std::vector<std::uint8_t>& v) {
        for (std::size_t i = 0; i < v.size(); ++i) {
            U8(at + i, v[i]);
        }
    }
    void Ascii(std::size_t at, const std::string& s) {
        Bytes(at, std::vector<std::uint8_t>(s.begin(), s.end()));
        U8(at + s.size(), 0);
    }
    void Utf16Counted(std::size_t at, const std::u16string& s) {
        U16(at, static_cast<std::uint32_t>(s.size()));
        for (std::size_t i = 0; i < s.size(); ++i) {
            U16(at + 2 + 2 * i, s[i]);
        }
    }
};

Fixture BuildImage(bool pe32Plus, std::uint16_t machine) {
    Fixture f;
    Writer w;
    w.U16(0, 0x5A4D);
    w.U32(0x3C, 0x40);
    w.U32(0x40, 0x00004550);

    const std::size_t coff = 0x44;
    const std::size_t opt = coff + 20;
    const std::size_t optSize = pe32Plus ? 240 : 224;
    w.U16(coff, machine);
    w.U16(coff + 2, 1);
    w.U16(coff + 16, static_cast<std::uint32_t>(optSize));
    w.U16(coff + 18, 0x0102);
    f.sectionCount = coff + 2;
    f.optionalSize = coff + 16;

    w.U16(opt, pe32Plus ? 0x20B : 0x10B);
    f.magic = opt;
    if (pe32Plus) {
        w.U32(opt + 24, 0x40000000);
        w.U32(opt + 28, 0x1);
    } else {
        w.U32(opt + 28, 0x400000);
    }
    w.U32(opt + 32, 0x1000);
    w.U32(opt + 36, 0x200);
    w.U32(opt + 56, 0x2000);
    w.U32(opt + 60, 0x200);
    w.U16(opt + 68, 2);
    const std::size_t countAt = opt + (pe32Plus ? 108 : 92);
    w.U32(countAt, 16);
    f.dirCount = countAt;
    const std::size_t dirs = countAt + 4;

    // Section contents, offsets from the section start.
    const std::size_t imports = 0;
    const std::size_t kernelName = imports + 3 * 20;
    const std::size_t userName = kernelName + 13;
    const std::size_t root = 84; // userName + 11, already 4-aligned
    const std::size_t typeDir = root + 32;
    const std::size_t typeLang = typeDir + 24;
    const std::size_t dialogDir = typeLang + 24;
    const std::size_t dialogLang = dialogDir + 24;
    const std::size_t namedEntry = dialogLang + 24;
    const std::size_t dialogEntry = namedEntry + 16;
    const std::size_t typeString = dialogEntry + 16;
    const std::size_t nameString = typeString + 14;
    const std::size_t namedBytes = nameString + 10;
    const std::size_t dialogBytes = namedBytes + 8;
    const std::size_t sectionSize = dialogBytes + DIALOG_DATA.size();

    const std::size_t s = SECTION_FILE_OFFSET;
    auto rva = [](std::size_t offset) { return static_cast<std::uint32_t>(SECTION_RVA + offset); };
    const std::uint32_t high = 0x80000000u;

    w.U32(s + imports + 12, rva(kernelName));
    w.U32(s + imports + 20 + 12, rva(userName));
    w.U32(s + imports + 40 + 16, 0); // terminator
    w.Ascii(s + kernelName, "KERNEL32.dll");
    w.Ascii(s + userName, "USER32.dll");
    f.importName = s + imports + 12;

    auto directory = [&](std::size_t at, std::uint32_t named, std::uint32_t ids) {
        w.U16(s + at + 12, named);
        w.U16(s + at + 14, ids);
    };
    auto entry = [&](std::size_t dir, std::size_t index, std::uint32_t name, std::uint32_t target) {
        w.U32(s + dir + 16 + 8 * index, name);
        w.U32(s + dir + 16 + 8 * index + 4, target);
    };
    directory(root, 1, 1);
    entry(root, 0, high | static_cast<std::uint32_t>(typeString - root),
          high | static_cast<std::uint32_t>(typeDir - root));
    entry(root, 1, 5, high | static_cast<std::uint32_t>(dialogDir - root));
    directory(typeDir, 1, 0);
    entry(typeDir, 0, high | static_cast<std::uint32_t>(nameString - root),
          high | static_cast<std::uint32_t>(typeLang - root));
    directory(typeLang, 0, 1);
    entry(typeLang, 0, 0x409, static_cast<std::uint32_t>(namedEntry - root));
    directory(dialogDir, 0, 1);
    entry(dialogDir, 0, 100, high | static_cast<std::uint32_t>(dialogLang - root));
    directory(dialogLang, 0, 1);
    entry(dialogLang, 0, 0, static_cast<std::uint32_t>(dialogEntry - root));
    w.U32(s + namedEntry, rva(namedBytes));
    w.U32(s + namedEntry + 4, static_cast<std::uint32_t>(NAMED_DATA.size()));
    w.U32(s + namedEntry + 8, 1252);
    w.U32(s + dialogEntry, rva(dialogBytes));
    w.U32(s + dialogEntry + 4, static_cast<std::uint32_t>(DIALOG_DATA.size()));
    w.Utf16Counted(s + typeString, u"MYTYPE");
    w.Utf16Counted(s + nameString, u"NAME");
    w.Bytes(s + namedBytes, NAMED_DATA);
    w.Bytes(s + dialogBytes, DIALOG_DATA);
    f.rootIdCount = s + root + 14;
    f.rootNamedEntryName = s + root + 16;
    f.rootIdEntryTarget = s + root + 16 + 8 + 4;
    f.nameDirEntryTarget = s + dialogDir + 16 + 4;
    f.dialogDataRva = s + dialogEntry;
    f.dialogDataSize = s + dialogEntry + 4;

    w.U32(dirs + 8 * 1, rva(imports));
    w.U32(dirs + 8 * 1 + 4, 60);
    w.U32(dirs + 8 * 2, rva(root));
    w.U32(dirs + 8 * 2 + 4, static_cast<std::uint32_t>(sectionSize - root));
    f.importDirRva = dirs + 8 * 1;
    f.resourceDirRva = dirs + 8 * 2;

    const std::size_t section = opt + optSize;
    w.Ascii(section, ".rdata");
    w.U32(section + 8, static_cast<std::uint32_t>(sectionSize));
    w.U32(section + 12, SECTION_RVA);
    w.U32(section + 16, static_cast<std::uint32_t>(sectionSize));
    w.U32(section + 20, static_cast<std::uint32_t>(SECTION_FILE_OFFSET));
    f.rawPointer = section + 20;

    f.bytes = std::move(w.out);
    return f;
}

struct Kind {
    const char* label;
    bool pe32Plus;
    std::uint16_t machine;
};
const Kind KINDS[] = {
    {"PE32 i386", false, pe::MACHINE_I386},
    {"PE32+ x64", true, pe::MACHINE_AMD64},
};

TEST(PeReader, ReadsHeadersImportsAndResources) {
    for (const Kind& kind : KINDS) {
        SCOPED_TRACE(kind.label);
        const Fixture f = BuildImage(kind.pe32Plus, kind.machine);
        const pe::Image image = pe::Parse(f.bytes);
        EXPECT_EQ(image.machine, kind.machine);
        EXPECT_EQ(image.isPe32Plus, kind.pe32Plus);
        EXPECT_EQ(image.subsystem, pe::SUBSYSTEM_WINDOWS_GUI);
        EXPECT_EQ(image.importedDlls, (std::vector<std::string>{"KERNEL32.dll", "USER32.dll"}));
        EXPECT_TRUE(image.delayImportedDlls.empty());

        const auto named =
            image.Find(pe::ResourceId::String(u"MYTYPE"), pe::ResourceId::String(u"NAME"));
        ASSERT_EQ(named.size(), 1u);
        EXPECT_EQ(named[0]->language, 0x409u);
        EXPECT_EQ(named[0]->codePage, 1252u);
        EXPECT_EQ(named[0]->data, NAMED_DATA);

        const auto dialog =
            image.Find(pe::ResourceId::Number(pe::RT_DIALOG), pe::ResourceId::Number(100));
        ASSERT_EQ(dialog.size(), 1u);
        EXPECT_EQ(dialog[0]->language, 0u);
        EXPECT_EQ(dialog[0]->data, DIALOG_DATA);
        EXPECT_TRUE(
            image.Find(pe::ResourceId::Number(pe::RT_DIALOG), pe::ResourceId::Number(101)).empty());
    }
}

TEST(PeReader, RejectsEveryTruncation) {
    for (const Kind& kind : KINDS) {
        SCOPED_TRACE(kind.label);
        const Fixture f = BuildImage(kind.pe32Plus, kind.machine);
        for (std::size_t length = 0; length < f.bytes.size(); ++length) {
            const std::span<const std::uint8_t> prefix(f.bytes.data(), length);
            EXPECT_THROW(pe::Parse(prefix), pe::FormatError) << "length " << length;
        }
    }
}

struct Corruption {
    const char* label;
    std::size_t Fixture::*field; // nullptr: an absolute file offset
    std::size_t offset;          // added to the field's offset
    std::size_t width;           // 2 or 4 bytes
    std::uint32_t value;
    const char* messagePart;
};

const Corruption CORRUPTIONS[] = {
    {"no MZ", nullptr, 0, 2, 0x0000, "MZ"},
    {"e_lfanew past the end", nullptr, 0x3C, 4, 0x10000, "PE signature"},
    {"no PE signature", nullptr, 0x40, 4, 0x00014550, "signature"},
    {"unknown optional magic", &Fixture::magic, 0, 2, 0x107, "magic"},
    {"optional header past the end", &Fixture::optionalSize, 0, 2, 0xFFFF, "optional header"},
    {"too many data directories", &Fixture::dirCount, 0, 4, 0x1000, "data directories"},
    {"section table past the end", &Fixture::sectionCount, 0, 2, 0xFFFF, "section table"},
    {"section raw data past the end", &Fixture::rawPointer, 0, 4, 0x7FFFFFF0, "raw data"},
    {"import table in no section", &Fixture::importDirRva, 0, 4, 0x900000, "no section"},
    {"DLL name in no section", &Fixture::importName, 0, 4, 0xFFFFFF00, "DLL name"},
    {"resource tree in no section", &Fixture::resourceDirRva, 0, 4, 0x900000, "no section"},
    {"entry counts past the section", &Fixture::rootIdCount, 0, 2, 0x7FFF, "entries"},
    {"subdirectory past the section", &Fixture::rootIdEntryTarget, 0, 4, 0x8000FFF0,
     "resource directory"},
    {"type entry pointing at data", &Fixture::rootIdEntryTarget, 0, 4, 0x20, "points at data"},
    {"name directory pointing at itself", &Fixture::nameDirEntryTarget, 0, 4, 0x80000050,
     "fourth level"},
    {"name string past the section", &Fixture::rootNamedEntryName, 0, 4, 0x8000FFF0,
     "resource name"},
    {"data in no section", &Fixture::dialogDataRva, 0, 4, 0x12345678, "no section"},
    {"data longer than its section", &Fixture::dialogDataSize, 0, 4, 0x10000, "runs past"},
};

TEST(PeReader, RejectsGarbageOffsetsWithAClearMessage) {
    for (const Kind& kind : KINDS) {
        for (const Corruption& c : CORRUPTIONS) {
            SCOPED_TRACE(std::string(kind.label) + ": " + c.label);
            Fixture f = BuildImage(kind.pe32Plus, kind.machine);
            const std::size_t at = (c.field ? f.*c.field : 0) + c.offset;
            ASSERT_LE(at + c.width, f.bytes.size());
            for (std::size_t i = 0; i < c.width; ++i) {
                f.bytes[at + i] = static_cast<std::uint8_t>(c.value >> (8 * i));
            }
            try {
                pe::Parse(f.bytes);
                ADD_FAILURE() << "accepted";
            } catch (const pe::FormatError& e) {
                EXPECT_NE(std::string(e.what()).find(c.messagePart), std::string::npos)
                    << "message: " << e.what();
            }
        }
    }
}

// Every single-byte change either still parses or is rejected cleanly; run
// under a sanitizer this also shows that no read leaves the buffer.
TEST(PeReader, SurvivesEverySingleByteChange) {
    for (const Kind& kind : KINDS) {
        SCOPED_TRACE(kind.label);
        const Fixture f = BuildImage(kind.pe32Plus, kind.machine);
        for (std::size_t at = 0; at < f.bytes.size(); ++at) {
            for (int value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
                std::vector<std::uint8_t> bytes = f.bytes;
                bytes[at] = static_cast<std::uint8_t>(value);
                try {
                    pe::Parse(bytes);
                } catch (const pe::FormatError&) {
                }
            }
        }
    }
}

TEST(PeReader, LoadReportsAMissingFile) {
    try {
        pe::Load("/nonexistent/dir/app.exe");
        ADD_FAILURE() << "accepted";
    } catch (const pe::FormatError& e) {
        EXPECT_NE(std::string(e.what()).find("cannot open"), std::string::npos) << e.what();
    }
}

} // namespace
