// A small reader for Windows PE images (PE32 and PE32+), enough for the
// tests to look at the built exe from Linux: machine, subsystem, imported
// DLLs and the resource tree. Every read is bounds-checked; a malformed
// file ends in pe::FormatError with a message that says what was wrong.
#ifndef CFG_TESTS_PE_READER_H
#define CFG_TESTS_PE_READER_H

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace pe {

class FormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::uint16_t MACHINE_I386 = 0x014C;
inline constexpr std::uint16_t MACHINE_AMD64 = 0x8664;
inline constexpr std::uint16_t SUBSYSTEM_WINDOWS_GUI = 2;

inline constexpr std::uint32_t RT_ICON = 3;
inline constexpr std::uint32_t RT_DIALOG = 5;
inline constexpr std::uint32_t RT_GROUP_ICON = 14;
inline constexpr std::uint32_t RT_VERSION = 16;
inline constexpr std::uint32_t RT_MANIFEST = 24;

// Little-endian reads over a byte range that throw FormatError instead of
// running off its end; "what" names the range in the messages.
class Bytes {
  public:
    Bytes(std::span<const std::uint8_t> data, std::string what)
        : data_(data), what_(std::move(what)) {}

    std::size_t size() const { return data_.size(); }
    std::span<const std::uint8_t> all() const { return data_; }

    void Need(std::uint64_t offset, std::uint64_t length, const std::string& item) const;
    std::uint8_t U8(std::uint64_t offset, const std::string& item) const {
        Need(offset, 1, item);
        return data_[offset];
    }
    std::uint16_t U16(std::uint64_t offset, const std::string& item) const {
        Need(offset, 2, item);
        return static_cast<std::uint16_t>(data_[offset] | data_[offset + 1] << 8);
    }
    std::uint32_t U32(std::uint64_t offset, const std::string& item) const {
        Need(offset, 4, item);
        return static_cast<std::uint32_t>(U16(offset, item)) |
               static_cast<std::uint32_t>(U16(offset + 2, item)) << 16;
    }
    std::uint64_t U64(std::uint64_t offset, const std::string& item) const {
        Need(offset, 8, item);
        return static_cast<std::uint64_t>(U32(offset, item)) |
               static_cast<std::uint64_t>(U32(offset + 4, item)) << 32;
    }
    std::span<const std::uint8_t> Sub(std::uint64_t offset, std::uint64_t length,
                                      const std::string& item) const {
        Need(offset, length, item);
        return data_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
    }

  private:
    std::span<const std::uint8_t> data_;
    std::string what_;
};

// A resource type or name: either a number or a UTF-16 string.
struct ResourceId {
    bool isString = false;
    std::uint32_t id = 0;
    std::u16string name;

    static ResourceId Number(std::uint32_t value) { return ResourceId{false, value, {}}; }
    static ResourceId String(std::u16string value) { return ResourceId{true, 0, std::move(value)}; }
    bool operator==(const ResourceId&) const = default;
    std::string ToString() const;
};

struct Resource {
    ResourceId type;
    ResourceId name;
    std::uint32_t language = 0;
    std::uint32_t codePage = 0;
    std::vector<std::uint8_t> data;
};

struct Image {
    std::uint16_t machine = 0;
    bool isPe32Plus = false;
    std::uint16_t subsystem = 0;
    std::vector<std::string> importedDlls;      // in import-table order
    std::vector<std::string> delayImportedDlls; // in delay-import-table order
    std::vector<Resource> resources;            // in directory order

    // All languages of one type and name.
    std::vector<const Resource*> Find(const ResourceId& type, const ResourceId& name) const;
    // All resources of one type.
    std::vector<const Resource*> OfType(const ResourceId& type) const;
};

// Parses an image held in memory. Throws FormatError.
Image Parse(std::span<const std::uint8_t> file);

// Reads and parses a file. Throws FormatError, also when it cannot be read.
Image Load(const std::string& path);

} // namespace pe

#endif
