#include "callbook/callbooklookup.h"

#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>

namespace vellum {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteFile;

/// An EXTDATA folder with the test source library under the given names, and a data folder.
struct SourceFolders {
    TempDir dir;
    std::string extData = dir.path() + "/EXTDATA";
    std::string data = dir.path() + "/data";
    explicit SourceFolders(std::initializer_list<const char *> names)
    {
        fs::create_directories(extData);
        fs::create_directories(data + "/Data");
        for (const char *name : names)
            fs::copy_file(CALLBOOK_TEST_SOURCE, extData + "/" + name);
        WriteFile(data + "/fh.db", "x");
    }
};

/// The test library's own report of what it received.
struct LibraryProbe {
    void *handle;
    explicit LibraryProbe(const std::string &file) : handle(dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD)) {}
    ~LibraryProbe()
    {
        if (handle)
            dlclose(handle);
    }
    int calls() const { return reinterpret_cast<int (*)()>(dlsym(handle, "TestCallCount"))(); }
    int exits() const { return reinterpret_cast<int (*)()>(dlsym(handle, "TestExitCount"))(); }
    std::string lastPath() const { return reinterpret_cast<const char *(*)()>(dlsym(handle, "TestLastPath"))(); }
};

TEST(CallbookPaths, LibraryNamesAndDataPaths)
{
    EXPECT_EQ(CallbookLibraryName(1), "AMSOFT32.so");
    EXPECT_EQ(CallbookLibraryName(3), "RACCD32a.so");
    EXPECT_EQ(CallbookLibraryName(0), "");
    EXPECT_EQ(CallbookLibraryName(6), "") << "the online source needs no library";
    EXPECT_EQ(CallbookDataPath(""), "/");
    EXPECT_EQ(CallbookDataPath("/cd"), "/cd/");
    EXPECT_EQ(CallbookDataPath("/cd/"), "/cd/");
    EXPECT_EQ(CallbookDataPath("D:\\CALLBOOK"), "D:/CALLBOOK/");
}

TEST(CallbookLookup, FlyingHorseSourceThroughItsLibrary)
{
    SourceFolders folders({"RACCD32a.so"});
    // The manager record the library names (01) is the second record of the file.
    std::string file(53 * 3, '\0');
    auto put = [&file](std::size_t at, const std::string &text) {
        file[at] = static_cast<char>(text.size());
        file.replace(at + 1, text.size(), text);
    };
    put(53 + 0, "QX1AB");
    put(53 + 14, "QX9MGR");
    put(53 + 44, "010124");
    put(106 + 0, "QX2CD");
    WriteFile(folders.data + "/Data/QslMgr.dat", file);
    CallbookLookup lookup(folders.extData);
    CallbookLines lines;
    lookup.Lookup(3, folders.data, "QX1AB", lines);
    EXPECT_EQ(lines, (CallbookLines{"Ann Example", "Main Street 1", "Flat 2", "Springfield, XS 12345",
                                    "County = Greene", "----QSL info from: RACCD32a.so", "QX1AB via QX9MGR date: 010124"}));
    lines.clear();
    lookup.Lookup(3, folders.data, "QX7ZZ", lines);
    EXPECT_EQ(lines, CallbookLines{"QX7ZZ not found"});
    EXPECT_EQ(lookup.LoadCount(), 1) << "two lookups with one source load its library once";
    LibraryProbe probe(folders.extData + "/RACCD32a.so");
    ASSERT_TRUE(probe.handle);
    EXPECT_EQ(probe.calls(), 2) << "the library stayed loaded: its counter was not reset";
    EXPECT_EQ(probe.lastPath(), folders.data + "/");
    // Data that the library does not recognise.
    lines.clear();
    lookup.Lookup(3, folders.dir.path(), "QX1AB", lines);
    EXPECT_EQ(lines, CallbookLines{"Flying Horse Error: CheckDatabaseFormat: DLL does not match with CD"});
    // Without the QSL manager file the read error is a line.
    fs::remove(folders.data + "/Data/QslMgr.dat");
    lines.clear();
    lookup.Lookup(3, folders.data, "QX1AB", lines);
    EXPECT_EQ(lines.back().rfind("IOERR=", 0), 0u) << lines.back();
}

TEST(CallbookLookup, QrzSourceExitsAfterEveryLookupAndSwitchingSourcesReloads)
{
    SourceFolders folders({"QRZ32.so", "RACCD32a.so"});
    CallbookLookup lookup(folders.extData);
    CallbookLines lines;
    lookup.Lookup(4, folders.data, "QX1AB", lines);
    EXPECT_EQ(lines, (CallbookLines{"QX1AB", "Ann Example", "QX1AB QSL via QX9MGR/3, thanks", "Springfield"}));
    EXPECT_EQ(ManagerFromLines(lines, "QX1AB"), "QX9MGR/3") << "the comma ends the manager";
    lines.clear();
    lookup.Lookup(4, folders.data, "QX7ZZ", lines);
    EXPECT_EQ(lines, CallbookLines{"QX7ZZ not found"});
    {
        LibraryProbe probe(folders.extData + "/QRZ32.so");
        ASSERT_TRUE(probe.handle);
        EXPECT_EQ(probe.exits(), 2);
    }
    lines.clear();
    lookup.Lookup(4, folders.dir.path(), "QX1AB", lines);
    EXPECT_EQ(lines, CallbookLines{"QRZ Error: Database not found"});
    lookup.Lookup(3, folders.data, "QX1AB", lines);
    EXPECT_EQ(lookup.LoadedName(), "RACCD32a.so");
    EXPECT_EQ(lookup.LoadCount(), 2);
}

TEST(CallbookLookup, MissingLibrariesAndEntryPointsAreLines)
{
    SourceFolders folders({"AMSOFT32.so", "octavia32.so", "Hamcal32.so"});
    CallbookLookup lookup(folders.extData);
    CallbookLines lines;
    lookup.Lookup(1, folders.data, "QX1AB", lines);
    lookup.Lookup(5, folders.data, "QX1AB", lines);
    lookup.Lookup(2, folders.data, "QX1AB", lines);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Amsoft entry point not found");
    EXPECT_EQ(lines[1], "Octavia entry point not found");
    EXPECT_EQ(lines[2].rfind("Buckmaster DLL error:", 0), 0u);
    lines.clear();
    fs::remove(folders.extData + "/AMSOFT32.so");
    lookup.Lookup(1, folders.data, "QX1AB", lines);
    lookup.Lookup(9, folders.data, "QX1AB", lines);
    EXPECT_EQ(lines, (CallbookLines{"DLL not found: AMSOFT32.so", "Unknown callbook Nr = 9"}));
    EXPECT_EQ(lookup.LoadedName(), "");
}

} // namespace
} // namespace vellum
