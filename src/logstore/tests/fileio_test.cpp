#include "logstore/bytes.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum {
namespace {

TEST(TBufferedFileStream, ReadsWritesAndSeeksAcrossTheBuffer)
{
    test::TempDir dir;
    std::string name = dir.file("data.bin");
    {
        TBufferedFileStream out(name, FileMode::Create);
        for (std::uint32_t i = 0; i < 5000; ++i)
            out.WriteU32(i);
        EXPECT_EQ(out.Size(), 20000);
        out.Seek(4, SeekOrigin::Begin);
        out.WriteU32(0xFFFFFFFF);
        out.Close();
    }
    TBufferedFileStream in(name, FileMode::Read);
    EXPECT_EQ(in.Size(), 20000);
    EXPECT_EQ(in.ReadU32(), 0u);
    EXPECT_EQ(in.ReadU32(), 0xFFFFFFFFu);
    in.Seek(-4, SeekOrigin::End);
    EXPECT_EQ(in.ReadU32(), 4999u);
    EXPECT_TRUE(in.Eof());
    EXPECT_THROW(in.ReadU8(), EReadError);
    in.Seek(8192 - 2, SeekOrigin::Begin);
    std::uint8_t four[4];
    in.Read(four, 4); // straddles the buffer boundary
    EXPECT_EQ(loadU32(four), (2047u >> 16) | (2048u << 16));
    EXPECT_THROW(in.Seek(0, static_cast<SeekOrigin>(7)), EFileError);
    EXPECT_THROW(TBufferedFileStream(dir.file("missing"), FileMode::Read), EFileError);
    EXPECT_THROW(TBufferedFileStream(dir.path(), FileMode::Read), EFileError);
}

TEST(Generations, PrepareForWriteAndSafeWriterKeepThePreviousFile)
{
    test::TempDir dir;
    EXPECT_EQ(GenerationName("/x/LOG.VLL"), "/x/LOG.~LL");
    EXPECT_EQ(GenerationName("/x/LOG.DATA"), "");
    EXPECT_EQ(GenerationName("/x.y/LOG"), "");

    std::string log = dir.file("A.VLL");
    test::WriteFile(log, {1});
    PrepareForWrite(log, true);
    EXPECT_FALSE(std::filesystem::exists(log));
    EXPECT_EQ(test::ReadFile(dir.file("A.~LL")), std::vector<std::uint8_t>{1});

    test::WriteFile(log, {2});
    WriteWholeFile(log, std::vector<std::uint8_t>{3}, true);
    EXPECT_EQ(test::ReadFile(log), std::vector<std::uint8_t>{3});
    EXPECT_EQ(test::ReadFile(dir.file("A.~LL")), std::vector<std::uint8_t>{2});
    WriteWholeFile(log, std::vector<std::uint8_t>{4}, false);
    EXPECT_EQ(test::ReadFile(dir.file("A.~LL")), std::vector<std::uint8_t>{2}) << "no cycling when it is off";

    {
        SafeFileWriter abandoned(log);
        abandoned.Stream().WriteU8(9);
    } // not committed: the target stays, the temporary file goes
    EXPECT_EQ(test::ReadFile(log), std::vector<std::uint8_t>{4});
    std::size_t files = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 2u);
}

TEST(ProgramDir, NamesAndCaseBlindLookup)
{
    test::TempDir dir;
    SetProgramDir(dir.path() + "/");
    EXPECT_EQ(DataFileName(DataFile::Country), dir.path() + "/SAVE/VELLUM.CTY");
    EXPECT_EQ(DataFileName(DataFile::DeletedWpx), dir.path() + "/SAVE/VELLUM.WPX");
    EXPECT_EQ(BackupFileName(BackupFile::Log), dir.path() + "/VELLUM.VLB");
    EXPECT_EQ(DefaultLogFileName(), dir.path() + "/SAVE/QQ0QQ.VLL");
    CreateProgramDirs();
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() + "/RADIOS"));
    test::WriteFile(dir.path() + "/SAVE/vellum.awd", {1});
    EXPECT_EQ(FindFileNoCase(SaveDir(), "VELLUM.AWD"), dir.path() + "/SAVE/vellum.awd");
    EXPECT_EQ(NormalizeStoredPath("C:\\LOGS\\MY.VLL"), "C:/LOGS/MY.VLL");
    EXPECT_EQ(ChooseProgramDir("/given"), "/given");
}

TEST(ByteReader, RefusesToReadPastTheEnd)
{
    std::vector<std::uint8_t> bytes = {3, 'A', 'B', 'C', 0, 0x34, 0x12};
    ByteReader r(bytes);
    EXPECT_EQ(r.shortString(4), "ABC");
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_THROW(r.u8(), ShortRead);
    std::vector<std::uint8_t> overlong = {9, 'A', 'B'};
    ByteReader r2(overlong);
    EXPECT_EQ(r2.shortString(2), "AB") << "length byte clamped to the capacity";
}

TEST(ExpectRecords, ACountIsCheckedAgainstTheBytesLeftBeforeAnythingIsReserved)
{
    std::vector<std::uint8_t> bytes(40, 0);
    ByteReader reader(bytes);
    reader.skip(12);
    // 28 bytes are left: four records of 7 bytes fit, a fifth does not.
    EXPECT_NO_THROW(reader.expectRecords(4, 7, "QSOs"));
    EXPECT_NO_THROW(reader.expectRecords(1000, 0, "empty records"));
    try {
        reader.expectRecords(5, 7, "QSOs");
        ADD_FAILURE() << "five records of 7 bytes do not fit in 28";
    } catch (const ShortRead &e) {
        EXPECT_STREQ(e.what(), "the file claims 5 QSOs of at least 7 bytes at byte 12, but only 28 bytes follow");
    }
    // A count whose product with the record size overflows 64 bits is no small number.
    EXPECT_THROW(reader.expectRecords(0x8000'0000'0000'0001ull, 2, "notes"), ShortRead);

    // The stream form says the same and throws the stream's error.
    TMemoryStream stream(bytes);
    stream.Seek(30, SeekOrigin::Begin);
    EXPECT_NO_THROW(stream.ExpectRecords(2, 5, "SWL records"));
    try {
        stream.ExpectRecords(3, 5, "SWL records");
        ADD_FAILURE() << "three records of 5 bytes do not fit in 10";
    } catch (const EReadError &e) {
        EXPECT_STREQ(e.what(),
                     "the file claims 3 SWL records of at least 5 bytes at byte 30, but only 10 bytes follow");
    }
    EXPECT_THROW(stream.ExpectRecords(0xFFFF'FFFF'FFFF'FFFFull, 0x1'0000'0001ull, "notes"), EReadError);
}

} // namespace
} // namespace vellum
