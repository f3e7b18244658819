#include "pe_reader.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace pe {
namespace {

// Layout of the headers (offsets in bytes from the start of each header).
constexpr std::size_t DOS_HEADER_SIZE = 64;
constexpr std::size_t DOS_LFANEW = 0x3C;
constexpr std::uint16_t DOS_MAGIC = 0x5A4D;        // "MZ"
constexpr std::uint32_t PE_SIGNATURE = 0x00004550; // "PE\0\0"
constexpr std::size_t COFF_HEADER_SIZE = 20;
constexpr std::size_t COFF_MACHINE = 0;
constexpr std::size_t COFF_SECTION_COUNT = 2;
constexpr std::size_t COFF_OPTIONAL_SIZE = 16;
constexpr std::uint16_t OPT_MAGIC_PE32 = 0x10B;
constexpr std::uint16_t OPT_MAGIC_PE32_PLUS = 0x20B;
constexpr std::size_t OPT_SUBSYSTEM = 68;
constexpr std::size_t SECTION_HEADER_SIZE = 40;

constexpr std::uint32_t DIR_IMPORT = 1;
constexpr std::uint32_t DIR_RESOURCE = 2;
constexpr std::uint32_t DIR_DELAY_IMPORT = 13;

constexpr std::size_t IMPORT_DESCRIPTOR_SIZE = 20;
constexpr std::size_t DELAY_DESCRIPTOR_SIZE = 32;
constexpr std::size_t RES_DIRECTORY_SIZE = 16;
constexpr std::size_t RES_ENTRY_SIZE = 8;
constexpr std::size_t RES_DATA_ENTRY_SIZE = 16;
constexpr std::uint32_t RES_HIGH_BIT = 0x80000000u;

// Caps that keep a hostile resource tree (entries that all point at the same
// subdirectory) from multiplying into millions of copies.
constexpr std::size_t MAX_RESOURCES = 100000;
constexpr std::uint64_t MAX_RESOURCE_BYTES = 256u << 20;
constexpr std::uintmax_t MAX_FILE_BYTES = 512u << 20;

std::string HexText(std::uint64_t value) {
    std::ostringstream out;
    out << "0x" << std::hex << value;
    return out.str();
}

struct Section {
    std::string name;
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawOffset = 0;
};

class Parser {
  public:
    explicit Parser(std::span<const std::uint8_t> file) : file_(file, "file") {}

    Image Run() {
        ReadHeaders();
        ReadImports();
        ReadDelayImports();
        ReadResources();
        return std::move(image_);
    }

  private:
    void ReadHeaders() {
        file_.Need(0, DOS_HEADER_SIZE, "DOS header");
        if (file_.U16(0, "DOS magic") != DOS_MAGIC) {
            throw FormatError("not an executable: the file does not start with \"MZ\"");
        }
        const std::uint64_t peOffset = file_.U32(DOS_LFANEW, "e_lfanew");
        if (file_.U32(peOffset, "PE signature") != PE_SIGNATURE) {
            throw FormatError("no \"PE\\0\\0\" signature at e_lfanew " + HexText(peOffset));
        }
        const std::uint64_t coff = peOffset + 4;
        file_.Need(coff, COFF_HEADER_SIZE, "COFF header");
        image_.machine = file_.U16(coff + COFF_MACHINE, "Machine");
        const std::uint16_t sectionCount = file_.U16(coff + COFF_SECTION_COUNT, "NumberOfSections");
        const std::uint16_t optSize = file_.U16(coff + COFF_OPTIONAL_SIZE, "SizeOfOptionalHeader");

        const std::uint64_t opt = coff + COFF_HEADER_SIZE;
        const Bytes optional(file_.Sub(opt, optSize, "optional header"), "optional header");
        const std::uint16_t magic = optional.U16(0, "optional header magic");
        if (magic != OPT_MAGIC_PE32 && magic != OPT_MAGIC_PE32_PLUS) {
            throw FormatError("unknown optional header magic " + HexText(magic) +
                              " (expected 0x10b for PE32 or 0x20b for PE32+)");
        }
        image_.isPe32Plus = magic == OPT_MAGIC_PE32_PLUS;
        image_.subsystem = optional.U16(OPT_SUBSYSTEM, "Subsystem");
        imageBase_ =
            image_.isPe32Plus ? optional.U64(24, "ImageBase") : optional.U32(28, "ImageBase");
        const std::size_t countAt = image_.isPe32Plus ? 108 : 92;
        const std::uint32_t dirCount = optional.U32(countAt, "NumberOfRvaAndSizes");
        const std::size_t dirsAt = countAt + 4;
        optional.Need(dirsAt, std::uint64_t{dirCount} * 8, "data directories");
        for (std::uint32_t i = 0; i < std::min<std::uint32_t>(dirCount, 16); ++i) {
            directories_[i].rva = optional.U32(dirsAt + i * 8, "data directory");
            directories_[i].size = optional.U32(dirsAt + i * 8 + 4, "data directory");
        }

        const std::uint64_t table = opt + optSize;
        file_.Need(table, std::uint64_t{sectionCount} * SECTION_HEADER_SIZE, "section table");
        for (std::uint16_t i = 0; i < sectionCount; ++i) {
            const std::uint64_t at = table + std::uint64_t{i} * SECTION_HEADER_SIZE;
            Section s;
            const auto rawName = file_.Sub(at, 8, "section name");
            for (std::uint8_t c : rawName) {
                if (c == 0) {
                    break;
                }
                s.name.push_back(static_cast<char>(c));
            }
            s.virtualSize = file_.U32(at + 8, "VirtualSize");
            s.virtualAddress = file_.U32(at + 12, "VirtualAddress");
            s.rawSize = file_.U32(at + 16, "SizeOfRawData");
            s.rawOffset = file_.U32(at + 20, "PointerToRawData");
            if (s.rawSize != 0) {
                file_.Need(s.rawOffset, s.rawSize, "raw data of section \"" + s.name + "\"");
            }
            sections_.push_back(std::move(s));
        }
    }

    // The bytes [rva, rva + length) of the loaded image, which must all come
    // from the raw data of one section.
    std::span<const std::uint8_t> AtRva(std::uint64_t rva, std::uint64_t length,
                                        const std::string& item) const {
        for (const Section& s : sections_) {
            const std::uint64_t start = s.virtualAddress;
            const std::uint64_t span = std::max(s.virtualSize, s.rawSize);
            if (rva < start || rva - start >= span) {
                continue;
            }
            const std::uint64_t inside = rva - start;
            if (inside > s.rawSize || length > s.rawSize - inside) {
                throw FormatError(item + " at RVA " + HexText(rva) + " (" + std::to_string(length) +
                                  " bytes) runs past the raw data of section \"" + s.name + "\"");
            }
            return file_.Sub(std::uint64_t{s.rawOffset} + inside, length, item);
        }
        throw FormatError(item + " at RVA " + HexText(rva) + " lies in no section");
    }

    // From rva to the end of its section's raw data.
    std::span<const std::uint8_t> RestOfSection(std::uint64_t rva, const std::string& item) const {
        for (const Section& s : sections_) {
            if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize) {
                return AtRva(rva, s.rawSize - (rva - s.virtualAddress), item);
            }
        }
        throw FormatError(item + " at RVA " + HexText(rva) + " lies in the raw data of no section");
    }

    // A zero-terminated string, which must end inside its section.
    std::string CStringAtRva(std::uint64_t rva, const std::string& item) const {
        const auto rest = RestOfSection(rva, item);
        const auto end = std::find(rest.begin(), rest.end(), std::uint8_t{0});
        if (end == rest.end()) {
            throw FormatError(item + " at RVA " + HexText(rva) + " has no terminating zero");
        }
        return std::string(rest.begin(), end);
    }

    void ReadImports() {
        const auto& dir = directories_[DIR_IMPORT];
        if (dir.rva == 0) {
            return;
        }
        for (std::uint64_t at = dir.rva;; at += IMPORT_DESCRIPTOR_SIZE) {
            const Bytes d(AtRva(at, IMPORT_DESCRIPTOR_SIZE, "import descriptor"),
                          "import descriptor");
            bool allZero = true;
            for (std::size_t i = 0; i < IMPORT_DESCRIPTOR_SIZE; i += 4) {
                allZero = allZero && d.U32(i, "import descriptor") == 0;
            }
            if (allZero) {
                break;
            }
            image_.importedDlls.push_back(CStringAtRva(d.U32(12, "Name"), "imported DLL name"));
        }
    }

    void ReadDelayImports() {
        const auto& dir = directories_[DIR_DELAY_IMPORT];
        if (dir.rva == 0) {
            return;
        }
        for (std::uint64_t at = dir.rva;; at += DELAY_DESCRIPTOR_SIZE) {
            const Bytes d(AtRva(at, DELAY_DESCRIPTOR_SIZE, "delay-import descriptor"),
                          "delay-import descriptor");
            const std::uint32_t attributes = d.U32(0, "Attributes");
            std::uint64_t name = d.U32(4, "DllNameRVA");
            if (name == 0) {
                break;
            }
            // Old-style descriptors hold virtual addresses, not RVAs.
            if ((attributes & 1) == 0) {
                if (name < imageBase_) {
                    throw FormatError("delay-import DLL name VA " + HexText(name) +
                                      " lies below the image base");
                }
                name -= imageBase_;
            }
            image_.delayImportedDlls.push_back(CStringAtRva(name, "delay-imported DLL name"));
        }
    }

    void ReadResources() {
        const auto& dir = directories_[DIR_RESOURCE];
        if (dir.rva == 0) {
            return;
        }
        // Offsets inside the tree are relative to its root; the root's
        // section bounds how far they may reach.
        resources_ = Bytes(RestOfSection(dir.rva, "resource directory"), "resource section");
        WalkDirectory(0, 0, Resource{});
    }

    ResourceId EntryId(std::uint32_t nameField) const {
        if ((nameField & RES_HIGH_BIT) == 0) {
            return ResourceId::Number(nameField);
        }
        const std::uint32_t at = nameField & ~RES_HIGH_BIT;
        const std::uint16_t length = resources_.U16(at, "resource name length");
        const Bytes text(resources_.Sub(at + 2, std::uint64_t{length} * 2, "resource name"),
                         "resource name");
        std::u16string name;
        for (std::uint16_t i = 0; i < length; ++i) {
            name.push_back(static_cast<char16_t>(text.U16(i * 2u, "resource name")));
        }
        return ResourceId::String(std::move(name));
    }

    // Levels: 0 type, 1 name, 2 language; entries of level 2 are data.
    void WalkDirectory(std::uint32_t at, int level, const Resource& path) {
        resources_.Need(at, RES_DIRECTORY_SIZE, "resource directory");
        const std::uint32_t count = std::uint32_t{resources_.U16(at + 12, "named entry count")} +
                                    resources_.U16(at + 14, "id entry count");
        resources_.Need(at + RES_DIRECTORY_SIZE, std::uint64_t{count} * RES_ENTRY_SIZE,
                        "resource directory entries");
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint64_t entry = at + RES_DIRECTORY_SIZE + std::uint64_t{i} * RES_ENTRY_SIZE;
            const std::uint32_t nameField = resources_.U32(entry, "resource entry name");
            const std::uint32_t target = resources_.U32(entry + 4, "resource entry offset");
            const bool isDirectory = (target & RES_HIGH_BIT) != 0;
            Resource here = path;
            if (level == 0) {
                here.type = EntryId(nameField);
            } else if (level == 1) {
                here.name = EntryId(nameField);
            } else if ((nameField & RES_HIGH_BIT) != 0) {
                throw FormatError("resource language entry has a string name");
            } else {
                here.language = nameField;
            }
            if (level < 2) {
                if (!isDirectory) {
                    throw FormatError("resource entry on level " + std::to_string(level) +
                                      " points at data instead of a directory");
                }
                WalkDirectory(target & ~RES_HIGH_BIT, level + 1, here);
            } else {
                if (isDirectory) {
                    throw FormatError("resource language entry points at a fourth level");
                }
                ReadData(target, std::move(here));
            }
        }
    }

    void ReadData(std::uint32_t at, Resource resource) {
        resources_.Need(at, RES_DATA_ENTRY_SIZE, "resource data entry");
        const std::uint32_t rva = resources_.U32(at, "resource data RVA");
        const std::uint32_t size = resources_.U32(at + 4, "resource data size");
        resource.codePage = resources_.U32(at + 8, "resource code page");
        if (image_.resources.size() >= MAX_RESOURCES) {
            throw FormatError("more than " + std::to_string(MAX_RESOURCES) + " resources");
        }
        resourceBytes_ += size;
        if (resourceBytes_ > MAX_RESOURCE_BYTES) {
            throw FormatError("resources add up to more than " +
                              std::to_string(MAX_RESOURCE_BYTES) + " bytes");
        }
        const auto bytes =
            AtRva(rva, size,
                  "data of resource " + resource.type.ToString() + "/" + resource.name.ToString());
        resource.data.assign(bytes.begin(), bytes.end());
        image_.resources.push_back(std::move(resource));
    }

    struct Directory {
        std::uint32_t rva = 0;
        std::uint32_t size = 0;
    };

    Bytes file_;
    Bytes resources_{{}, "resource section"};
    std::uint64_t resourceBytes_ = 0;
    std::uint64_t imageBase_ = 0;
    Directory directories_[16];
    std::vector<Section> sections_;
    Image image_;
};

} // namespace

void Bytes::Need(std::uint64_t offset, std::uint64_t length, const std::string& item) const {
    if (offset > data_.size() || length > data_.size() - offset) {
        throw FormatError(item + " at " + what_ + " offset " + HexText(offset) + " needs " +
                          std::to_string(length) + " bytes, but " + what_ + " has only " +
                          std::to_string(data_.size()));
    }
}

std::string ResourceId::ToString() const {
    if (!isString) {
        return std::to_string(id);
    }
    std::string out = "\"";
    for (char16_t c : name) {
        out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    }
    return out + "\"";
}

std::vector<const Resource*> Image::Find(const ResourceId& type, const ResourceId& name) const {
    std::vector<const Resource*> found;
    for (const Resource& r : resources) {
        if (r.type == type && r.name == name) {
            found.push_back(&r);
        }
    }
    return found;
}

std::vector<const Resource*> Image::OfType(const ResourceId& type) const {
    std::vector<const Resource*> found;
    for (const Resource& r : resources) {
        if (r.type == type) {
            found.push_back(&r);
        }
    }
    return found;
}

Image Parse(std::span<const std::uint8_t> file) {
    return Parser(file).Run();
}

Image Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw FormatError("cannot open \"" + path + "\"");
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > MAX_FILE_BYTES) {
        throw FormatError("cannot read \"" + path + "\" or it is larger than " +
                          std::to_string(MAX_FILE_BYTES) + " bytes");
    }
    in.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        throw FormatError("cannot read \"" + path + "\"");
    }
    try {
        return Parse(bytes);
    } catch (const FormatError& e) {
        throw FormatError(path + ": " + e.what());
    }
}

} // namespace pe
