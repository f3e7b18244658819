// Checks what a built exe needs from Windows: the right machine and header
// kind, the GUI subsystem, system DLLs only (the runtime is linked in
// statically), and the resource kinds the dialog code loads.
//   exe_static_check <exe> <machine>     machine: 0x14c (i686) or 0x8664 (x64)
#include "pe_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

namespace {

std::string g_exePath;
std::uint16_t g_expectedMachine = 0;

const pe::Image& Exe() {
    static const pe::Image image = pe::Load(g_exePath);
    return image;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

struct MachineRow {
    std::uint16_t machine;
    bool pe32Plus;
};
const MachineRow MACHINES[] = {{pe::MACHINE_I386, false}, {pe::MACHINE_AMD64, true}};

TEST(Headers, MachineAndHeaderKindMatchTheBuild) {
    EXPECT_EQ(Exe().machine, g_expectedMachine) << std::hex << "got 0x" << Exe().machine;
    for (const MachineRow& row : MACHINES) {
        if (row.machine == g_expectedMachine) {
            EXPECT_EQ(Exe().isPe32Plus, row.pe32Plus) << "PE32+ expected: " << row.pe32Plus;
        }
    }
}

TEST(Headers, RunsInTheWindowsGuiSubsystem) {
    EXPECT_EQ(Exe().subsystem, pe::SUBSYSTEM_WINDOWS_GUI);
}

TEST(Imports, OnlySystemDlls) {
    // Anything else (libstdc++-6.dll, libgcc_s_*.dll, libwinpthread-1.dll,
    // api-ms-win-*.dll, ucrtbase.dll) means the runtime was not linked in.
    const std::set<std::string> allowed = {"kernel32.dll", "user32.dll", "comctl32.dll",
                                           "shell32.dll", "msvcrt.dll"};
    EXPECT_FALSE(Exe().importedDlls.empty());
    for (const std::string& dll : Exe().importedDlls) {
        EXPECT_TRUE(allowed.count(Lower(dll))) << "unexpected import: " << dll;
    }
    EXPECT_TRUE(Exe().delayImportedDlls.empty());
    for (const std::string& dll : Exe().delayImportedDlls) {
        ADD_FAILURE() << "unexpected delay import: " << dll;
    }
}

struct ResourceKind {
    std::uint32_t type;
    const char* label;
};
const ResourceKind REQUIRED_KINDS[] = {
    {pe::RT_DIALOG, "RT_DIALOG"},   {pe::RT_GROUP_ICON, "RT_GROUP_ICON"}, {pe::RT_ICON, "RT_ICON"},
    {pe::RT_VERSION, "RT_VERSION"}, {pe::RT_MANIFEST, "RT_MANIFEST"},
};

TEST(Resources, CarriesEveryKindTheProgramNeeds) {
    for (const ResourceKind& kind : REQUIRED_KINDS) {
        EXPECT_FALSE(Exe().OfType(pe::ResourceId::Number(kind.type)).empty())
            << "no " << kind.label;
    }
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    char* end = nullptr;
    const unsigned long machine = argc == 3 ? std::strtoul(argv[2], &end, 0) : 0;
    if (argc != 3 || end == argv[2] || *end != '\0' || machine > 0xFFFF) {
        std::fprintf(stderr, "usage: %s [gtest options] <exe> <machine, e.g. 0x14c or 0x8664>\n",
                     argv[0]);
        return 2;
    }
    g_exePath = argv[1];
    g_expectedMachine = static_cast<std::uint16_t>(machine);
    return RUN_ALL_TESTS();
}
