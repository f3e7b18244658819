// Checks the resources compiled into a built exe against the dialog, icon,
// version and manifest that the tool must carry.
//   resource_check <exe>
#include "pe_reader.h"
#include "resource.h"
#include "resource_decode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

std::string g_exePath;

const pe::Image& Exe() {
    // Loaded once; a load error fails every test with its message.
    static const pe::Image image = pe::Load(g_exePath);
    return image;
}

std::string Narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
            out += buf;
        }
    }
    return out;
}

// The one resource of this type and name; nullptr and a failure otherwise.
const pe::Resource* Single(std::uint32_t type, std::uint32_t name) {
    const auto found = Exe().Find(pe::ResourceId::Number(type), pe::ResourceId::Number(name));
    if (found.size() != 1) {
        ADD_FAILURE() << "expected exactly one resource " << type << "/" << name << ", found "
                      << found.size();
        return nullptr;
    }
    return found[0];
}

// Predefined window class atoms.
constexpr std::uint16_t BUTTON = 0x80;
constexpr std::uint16_t EDIT = 0x81;
constexpr std::uint16_t STATIC = 0x82;
constexpr std::uint16_t COMBOBOX = 0x85;

const char* ClassName(std::uint16_t atom) {
    switch (atom) {
    case BUTTON:
        return "BUTTON";
    case EDIT:
        return "EDIT";
    case STATIC:
        return "STATIC";
    case COMBOBOX:
        return "COMBOBOX";
    }
    return "?";
}

struct ControlRow {
    const char* name;
    int headerId; // what resource.h says
    std::uint16_t id;
    std::uint16_t classAtom;
    std::uint32_t style;
    std::uint32_t exStyle;
    std::int16_t x, y, cx, cy;
    std::u16string text;
};

// The 24 controls in template order.
const ControlRow CONTROLS[] = {
    {"IDC_ST_TYPE", IDC_ST_TYPE, 40018, STATIC, 0x50000000, 0, 18, 4, 104, 9,
     u"\u9009\u62E9FTP\u7C7B\u522B"},
    {"IDC_CB_TYPE", IDC_CB_TYPE, 40001, COMBOBOX, 0x50000202, 0, 16, 19, 106, 30, u""},
    {"IDC_GB_FTPSET", IDC_GB_FTPSET, 40013, BUTTON, 0x50000007, 0, 15, 36, 233, 152, u"FTP SET"},
    {"IDC_ST_SERVER", IDC_ST_SERVER, 40000, STATIC, 0x50000000, 0, 25, 46, 216, 9, u"URL"},
    {"IDC_ED_SERVER", IDC_ED_SERVER, 40019, EDIT, 0x50810080, 0, 24, 56, 217, 14, u""},
    {"IDC_ST_PORT", IDC_ST_PORT, 40004, STATIC, 0x50000000, 0, 24, 71, 63, 9, u"\u7AEF\u53E3"},
    {"IDC_ED_PORT", IDC_ED_PORT, 40005, EDIT, 0x50812080, 0, 23, 82, 66, 14, u""},
    {"IDC_ST_USER", IDC_ST_USER, 40003, STATIC, 0x50000000, 0, 24, 98, 216, 9, u"User"},
    {"IDC_ED_USER", IDC_ED_USER, 40017, EDIT, 0x50810080, 0, 24, 108, 217, 14, u""},
    {"IDC_ST_PASSWORD", IDC_ST_PASSWORD, 40006, STATIC, 0x50000000, 0, 24, 125, 216, 9,
     u"Password"},
    {"IDC_GB_URL1", IDC_GB_URL1, 40012, BUTTON, 0x40000007, 0x1000, 18, 132, 227, 43,
     u"\u5907\u7528"},
    {"IDC_ED_PASSWORD", IDC_ED_PASSWORD, 40020, EDIT, 0x508100A0, 0, 24, 135, 217, 14, u""},
    {"IDC_GB_URL1", IDC_GB_URL1, 40012, STATIC, 0x48000000, 0, 23, 142, 32, 9, u"URL 1"},
    {"IDC_CK_URL1", IDC_CK_URL1, 40015, BUTTON, 0x48010003, 0, 131, 143, 9, 10, u"Check1"},
    {"IDC_ST_URL1_ENABLE", IDC_ST_URL1_ENABLE, 40016, STATIC, 0x48000000, 0, 142, 143, 38, 9,
     u"\u542F\u7528URL 1"},
    {"IDC_GB_FTPDIR", IDC_GB_FTPDIR, 40021, BUTTON, 0x50000007, 0, 20, 150, 223, 34, u"FTP DIR"},
    {"IDC_ED_URL1", IDC_ED_URL1, 40024, EDIT, 0x48810080, 0, 22, 155, 217, 14, u""},
    {"IDC_CB_DIRMODE", IDC_CB_DIRMODE, 40023, COMBOBOX, 0x50000202, 0, 24, 164, 66, 20, u""},
    {"IDC_ED_FTPDIR", IDC_ED_FTPDIR, 40022, EDIT, 0x50810080, 0, 95, 164, 144, 14, u"/"},
    {"IDC_GB_SAVEPATH", IDC_GB_SAVEPATH, 40008, BUTTON, 0x50000007, 0, 15, 194, 233, 34,
     u"\u4FDD\u5B58\u8DEF\u5F84"},
    {"IDC_BT_BROWSE", IDC_BT_BROWSE, 40011, BUTTON, 0x50010000, 0, 23, 206, 36, 16,
     u"\u6D4F\u89C8"},
    {"IDC_ED_SAVEPATH", IDC_ED_SAVEPATH, 40009, EDIT, 0x50810084, 0, 68, 207, 170, 14, u""},
    {"IDC_BT_GENERATE", IDC_BT_GENERATE, 40010, BUTTON, 0x50010000, 0, 81, 235, 104, 23,
     u"\u751F\u6210\u914D\u7F6E\u6587\u4EF6"},
    // The colon is the full-width U+FF1A.
    {"IDC_ST_VERSION", IDC_ST_VERSION, 40007, STATIC, 0x58000000, 0, 11, 251, 48, 9,
     u"\u7248\u672C\u53F7\uFF1AV1.5"},
};

TEST(Header, ResourceIdsHaveTheirNumbers) {
    EXPECT_EQ(IDD_MAIN, 100);
    EXPECT_EQ(IDI_APP, 101);
    for (const ControlRow& row : CONTROLS) {
        EXPECT_EQ(row.headerId, row.id) << row.name;
    }
}

TEST(Dialog, HeaderIsTheClassicFixedSizeTemplate) {
    const pe::Resource* r = Single(pe::RT_DIALOG, 100);
    ASSERT_NE(r, nullptr);
    const res::Dialog d = res::DecodeDialog(r->data);
    EXPECT_EQ(d.style, 0x90C808CCu);
    EXPECT_EQ(d.exStyle, 0u);
    EXPECT_EQ(d.items.size(), std::size(CONTROLS));
    EXPECT_EQ(d.x, 0);
    EXPECT_EQ(d.y, 0);
    EXPECT_EQ(d.cx, 266);
    EXPECT_EQ(d.cy, 266);
    EXPECT_EQ(d.menu.kind, res::NameOrOrdinal::Kind::None);
    EXPECT_EQ(d.windowClass.kind, res::NameOrOrdinal::Kind::None);
    EXPECT_EQ(Narrow(d.caption), Narrow(u"FTP\u914D\u7F6E"));
    EXPECT_TRUE(d.hasFont);
    EXPECT_EQ(d.pointSize, 8);
    EXPECT_EQ(Narrow(d.faceName), "Ms Shell Dlg");
}

TEST(Dialog, ControlsMatchTheTableInTemplateOrder) {
    const pe::Resource* r = Single(pe::RT_DIALOG, 100);
    ASSERT_NE(r, nullptr);
    const res::Dialog d = res::DecodeDialog(r->data);
    ASSERT_EQ(d.items.size(), std::size(CONTROLS));
    for (std::size_t i = 0; i < d.items.size(); ++i) {
        const ControlRow& want = CONTROLS[i];
        const res::DialogItem& got = d.items[i];
        SCOPED_TRACE("row " + std::to_string(i) + " " + want.name);
        EXPECT_EQ(got.id, want.id);
        // windres keeps the class as the (upper-cased) name; Microsoft's rc
        // turns the predefined names into their atoms. Both mean the same.
        if (got.windowClass.kind == res::NameOrOrdinal::Kind::Ordinal) {
            EXPECT_EQ(got.windowClass.ordinal, want.classAtom);
        } else {
            std::string name = Narrow(got.windowClass.text);
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
            EXPECT_EQ(name, ClassName(want.classAtom));
        }
        EXPECT_EQ(got.style, want.style) << std::hex << "got 0x" << got.style;
        EXPECT_EQ(got.exStyle, want.exStyle);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
        EXPECT_NE(got.text.kind, res::NameOrOrdinal::Kind::Ordinal);
        EXPECT_EQ(Narrow(got.text.text), Narrow(want.text));
        EXPECT_TRUE(got.creationData.empty());
    }
}

struct IconRow {
    std::uint16_t id;
    std::uint8_t size;
    std::uint32_t bytes;
};
const IconRow ICONS[] = {{1, 16, 1128}, {2, 32, 4264}, {3, 48, 9640}, {4, 64, 16936}};

TEST(Icon, GroupListsFourTrueColourImages) {
    ASSERT_EQ(Exe().OfType(pe::ResourceId::Number(pe::RT_GROUP_ICON)).size(), 1u)
        << "IDI_APP must be the only icon group";
    const pe::Resource* group = Single(pe::RT_GROUP_ICON, 101);
    ASSERT_NE(group, nullptr);
    const auto entries = res::DecodeGroupIcon(group->data);
    ASSERT_EQ(entries.size(), std::size(ICONS));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const res::GroupIconEntry& e = entries[i];
        EXPECT_EQ(e.width, ICONS[i].size);
        EXPECT_EQ(e.height, ICONS[i].size);
        EXPECT_EQ(e.colorCount, 0);
        EXPECT_EQ(e.reserved, 0);
        EXPECT_EQ(e.planes, 1);
        EXPECT_EQ(e.bitCount, 32);
        EXPECT_EQ(e.bytesInRes, ICONS[i].bytes);
        EXPECT_EQ(e.id, ICONS[i].id);
    }
    std::set<std::uint32_t> iconIds;
    for (const pe::Resource* r : Exe().OfType(pe::ResourceId::Number(pe::RT_ICON))) {
        iconIds.insert(r->name.isString ? 0xFFFFFFFFu : r->name.id);
    }
    EXPECT_EQ(iconIds, (std::set<std::uint32_t>{1, 2, 3, 4}));
}

TEST(Icon, ImagesAreDibsWithARealAlphaChannel) {
    for (const IconRow& row : ICONS) {
        SCOPED_TRACE("icon " + std::to_string(row.id));
        const pe::Resource* r = Single(pe::RT_ICON, row.id);
        if (r == nullptr) {
            continue;
        }
        EXPECT_EQ(r->data.size(), row.bytes);
        const res::IconBitmap h = res::DecodeIconBitmap(r->data);
        EXPECT_EQ(h.headerSize, 40u);
        EXPECT_EQ(h.width, row.size);
        EXPECT_EQ(h.height, 2 * row.size) << "height counts colour image and mask";
        EXPECT_EQ(h.planes, 1);
        EXPECT_EQ(h.bitCount, 32);
        EXPECT_EQ(h.compression, 0u);

        const std::size_t n = row.size;
        const std::size_t colourBytes = n * n * 4;
        const std::size_t stride = (n + 31) / 32 * 4;
        ASSERT_EQ(r->data.size(), 40 + colourBytes + stride * n);
        int clear = 0, opaque = 0, partial = 0, maskMismatches = 0;
        // Colour rows and mask rows run in the same (bottom-up) order.
        for (std::size_t y = 0; y < n; ++y) {
            for (std::size_t x = 0; x < n; ++x) {
                const std::uint8_t alpha = r->data[40 + (y * n + x) * 4 + 3];
                const std::uint8_t maskByte = r->data[40 + colourBytes + y * stride + x / 8];
                const bool masked = (maskByte & (0x80 >> (x % 8))) != 0;
                clear += alpha == 0;
                opaque += alpha == 255;
                partial += alpha != 0 && alpha != 255;
                maskMismatches += masked != (alpha == 0);
            }
        }
        EXPECT_GT(clear, 0) << "no transparent background";
        EXPECT_GT(opaque, 0) << "no opaque artwork";
        EXPECT_GT(partial, 0) << "no anti-aliased edge";
        EXPECT_EQ(maskMismatches, 0) << "AND mask disagrees with the alpha channel";
    }
}

TEST(Version, FixedPartCarriesFileAndProductVersion) {
    const pe::Resource* r = Single(pe::RT_VERSION, 1);
    ASSERT_NE(r, nullptr);
    const res::VersionNode root = res::DecodeVersion(r->data);
    EXPECT_EQ(Narrow(root.key), "VS_VERSION_INFO");
    const res::FixedFileInfo f = res::DecodeFixedFileInfo(root);
    EXPECT_EQ(f.signature, 0xFEEF04BDu);
    EXPECT_EQ(f.fileVersionMS, 0x00010004u);
    EXPECT_EQ(f.fileVersionLS, 0u);
    EXPECT_EQ(f.productVersionMS, 0x00010000u);
    EXPECT_EQ(f.productVersionLS, 0u);
    EXPECT_EQ(f.flagsMask, 0u);
    EXPECT_EQ(f.flags, 0u);
    EXPECT_EQ(f.os, 0u);
    EXPECT_EQ(f.fileType, 0u);
    EXPECT_EQ(f.fileSubtype, 0u);
    EXPECT_EQ(f.dateMS, 0u);
    EXPECT_EQ(f.dateLS, 0u);
}

struct StringRow {
    const char16_t* key;
    const char16_t* value; // nullptr: any non-empty text
};
const StringRow VERSION_STRINGS[] = {
    {u"Comments", nullptr},
    {u"CompanyName", nullptr},
    {u"FileDescription", u""},
    {u"FileVersion", u"V1.5"},
    {u"InternalName", u"CfgFtpDnMaker.exe"},
    {u"LegalCopyright", u""},
    {u"LegalTrademarks", u""},
    {u"OriginalFilename", u""},
    {u"PrivateBuild", u""},
    {u"ProductName", u""},
    {u"ProductVersion", u""},
    {u"SpecialBuild", u""},
};

TEST(Version, StringTableHoldsExactlyTheTwelveKeys) {
    const pe::Resource* r = Single(pe::RT_VERSION, 1);
    ASSERT_NE(r, nullptr);
    const res::VersionNode root = res::DecodeVersion(r->data);
    std::vector<std::string> topKeys;
    for (const auto& c : root.children) {
        topKeys.push_back(Narrow(c.key));
    }
    std::sort(topKeys.begin(), topKeys.end());
    EXPECT_EQ(topKeys, (std::vector<std::string>{"StringFileInfo", "VarFileInfo"}));

    const res::VersionNode* info = root.Child(u"StringFileInfo");
    ASSERT_NE(info, nullptr);
    ASSERT_EQ(info->children.size(), 1u) << "one string table only";
    const res::VersionNode& table = info->children[0];
    EXPECT_EQ(Narrow(table.key), "080403A8");

    std::multiset<std::string> present;
    for (const auto& s : table.children) {
        present.insert(Narrow(s.key));
    }
    std::multiset<std::string> wanted;
    for (const StringRow& row : VERSION_STRINGS) {
        wanted.insert(Narrow(row.key));
        SCOPED_TRACE(Narrow(row.key));
        const res::VersionNode* s = table.Child(row.key);
        ASSERT_NE(s, nullptr);
        if (row.value == nullptr) {
            EXPECT_FALSE(s->Text().empty());
        } else {
            EXPECT_EQ(Narrow(s->Text()), Narrow(row.value));
        }
    }
    EXPECT_EQ(present, wanted);
}

TEST(Version, TranslationIsChinesePrcWithCodePage936) {
    const pe::Resource* r = Single(pe::RT_VERSION, 1);
    ASSERT_NE(r, nullptr);
    const res::VersionNode root = res::DecodeVersion(r->data);
    const res::VersionNode* var = root.Child(u"VarFileInfo");
    ASSERT_NE(var, nullptr);
    ASSERT_EQ(var->children.size(), 1u);
    EXPECT_EQ(Narrow(var->children[0].key), "Translation");
    EXPECT_EQ(var->children[0].value, (std::vector<std::uint8_t>{0x04, 0x08, 0xA8, 0x03}));
}

TEST(Manifest, IsCrlfUtf8WithCommonControlsAndAsInvoker) {
    ASSERT_EQ(Exe().OfType(pe::ResourceId::Number(pe::RT_MANIFEST)).size(), 1u);
    const pe::Resource* r = Single(pe::RT_MANIFEST, 1);
    ASSERT_NE(r, nullptr);
    const std::string text(r->data.begin(), r->data.end());

    const std::string declaration =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
    EXPECT_EQ(text.compare(0, declaration.size(), declaration), 0)
        << "starts with: " << text.substr(0, 60);
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
        }
        if (text[i] == '\r') {
            EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at " << i;
        }
    }

    const char* required[] = {
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">",
        "type=\"win32\"",
        "name=\"Microsoft.Windows.Common-Controls\"",
        "version=\"6.0.0.0\"",
        "processorArchitecture=\"*\"",
        "publicKeyToken=\"6595b64144ccf1df\"",
        "language=\"*\"",
        "<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">",
        "<security>",
        "<requestedPrivileges>",
        "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
        "</assembly>",
    };
    for (const char* part : required) {
        EXPECT_NE(text.find(part), std::string::npos) << "missing: " << part;
    }
    // The only identity is the dependency's; no OS list, no DPI setting.
    const char* forbidden[] = {"supportedOS", "dpiAware", "dpiAwareness", "<file", "<application"};
    for (const char* part : forbidden) {
        EXPECT_EQ(text.find(part), std::string::npos) << "unexpected: " << part;
    }
    const std::size_t first = text.find("<assemblyIdentity");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(text.find("<assemblyIdentity", first + 1), std::string::npos)
        << "the manifest names an identity of its own";
}

TEST(Resources, AllAreStoredUnderTheNeutralLanguage) {
    ASSERT_FALSE(Exe().resources.empty());
    for (const pe::Resource& r : Exe().resources) {
        EXPECT_EQ(r.language, 0u) << "resource " << r.type.ToString() << "/" << r.name.ToString();
    }
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s [gtest options] <exe>\n", argv[0]);
        return 2;
    }
    g_exePath = argv[1];
    return RUN_ALL_TESTS();
}
