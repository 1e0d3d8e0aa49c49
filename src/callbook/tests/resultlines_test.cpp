#include "callbook/qslmanagerfile.h"
#include "callbook/resultlines.h"

#include <gtest/gtest.h>

#include <string>

namespace vellum {
namespace {

std::span<const char> bytes(const std::string &text) { return {text.data(), text.size()}; }

TEST(ResultLines, CarriageReturnTextOfBothStyles)
{
    std::string text("Ann\r\rMain St\rTown\0garbage", 25);
    CallbookLines amsoft, octavia;
    AddCarriageReturnLines(bytes(text), amsoft);
    EXPECT_EQ(amsoft, (CallbookLines{"Ann", "", "Main St", "Town"}));
    AddCarriageReturnLinesSkippingEmptyRest(bytes(text), octavia);
    EXPECT_EQ(octavia, amsoft);
    // A NUL right after the last carriage return adds no empty line in either style.
    CallbookLines ending, endingOctavia;
    std::string closed("Ann\r\0", 5);
    AddCarriageReturnLines(bytes(closed), ending);
    AddCarriageReturnLinesSkippingEmptyRest(bytes(closed), endingOctavia);
    EXPECT_EQ(ending, CallbookLines{"Ann"});
    EXPECT_EQ(endingOctavia, CallbookLines{"Ann"});
    // Without any NUL the text stops at the buffer's end.
    CallbookLines unterminated;
    AddCarriageReturnLines(bytes("Ann\rBob"), unterminated);
    EXPECT_EQ(unterminated, (CallbookLines{"Ann", "Bob"}));
}

TEST(ResultLines, CountedTextDropsLineFeedsAndStaysInTheBuffer)
{
    std::string text = "QX1AB\r\nAnn\r\nTown";
    CallbookLines lines;
    AddCountedLines(bytes(text), 12, lines);
    EXPECT_EQ(lines, (CallbookLines{"QX1AB", "Ann"}));
    lines.clear();
    AddCountedLines(bytes(text), 100000, lines); // a count past the buffer is cut to it
    EXPECT_EQ(lines, (CallbookLines{"QX1AB", "Ann", "Town"}));
    lines.clear();
    AddCountedLines(bytes(text), -5, lines);
    EXPECT_TRUE(lines.empty());
}

TEST(ResultLines, FlyingHorseTaggedFields)
{
    std::string text = std::string("\001Ann Example") + "\002Main Street 1, Flat 2, Springfield" + "\00512345" +
                       "\006XS" + "\015Greene" + "\02142" + "\022" + "17" + std::string(1, '\0') + "\001ignored";
    CallbookLines lines;
    EXPECT_EQ(AddFlyingHorseFields(bytes(text), lines), 17);
    EXPECT_EQ(lines, (CallbookLines{"Ann Example", "Main Street 1", "Flat 2", "Springfield, XS 12345", "County = Greene",
                                    "42"}));
    CallbookLines plain;
    EXPECT_EQ(AddFlyingHorseFields(bytes("\002No comma here\022x1"), plain), 0) << "a record number that is no number";
    EXPECT_EQ(plain, CallbookLines{"No comma here"});
    CallbookLines truncated;
    AddFlyingHorseFields(bytes("\021pending at the end"), truncated);
    EXPECT_EQ(truncated, CallbookLines{"pending at the end"});
}

TEST(ResultLines, BuckmasterFieldsInTheirOrder)
{
    std::string text = std::string("\xB8John\xB9Q\xBA Public \xBB") + "\xBC" + "12 Elm Rd" + "\xBF" + "Dayton" + "\xC0" +
                       "OH" + "\xC1" + "45401" + "\xCA" + "EM79" + "\xD0" + "QX9MGR" + "\xC6" + "Montgomery" + '\0';
    CallbookLines lines;
    AddBuckmasterFields(bytes(text), "QX1AB", "----QSL info from: Hamcal32.so", lines);
    EXPECT_EQ(lines, (CallbookLines{"John Q Public", "12 Elm Rd", "Dayton, OH 45401", "County: Montgomery", "Grid: EM79",
                                    "----QSL info from: Hamcal32.so", "QX1AB via QX9MGR"}));
}

TEST(ResultLines, ManagerComesFromALineAfterTheFirst)
{
    CallbookLines lines{"QX1AB via WRONG", "Ann", "qsl QX1AB via QX9MGR/3, thanks"};
    EXPECT_EQ(ManagerFromLines(lines, "QX1AB"), "QX9MGR/3");
    EXPECT_EQ(ManagerFromLines({"QX1AB via QX9MGR"}, "QX1AB"), "") << "the first line is not searched";
    EXPECT_EQ(ManagerFromLines({"x", "via QX9MGR"}, "QX1AB"), "") << "the line must name the call";
    EXPECT_EQ(ManagerFromLines({"x", "QX1AB via ABCDEFGHIJKLMNOP"}, "QX1AB"), "ABCDEFGHIJKL");
}

TEST(ResultLines, QslProgramOutputFromTheFirstLineNamingTheCall)
{
    CallbookLines lines;
    AddQslProgramResult("Manager search 1.0\r\n(c) somebody\r\n  QX1AB via QX9MGR\r\n\r\n   second line\n", "QX1AB",
                        lines);
    EXPECT_EQ(lines, (CallbookLines{"QX1AB via QX9MGR", "second line"}));
    CallbookLines error;
    AddQslProgramResult("banner\nError: database missing\n", "QX1AB", error);
    EXPECT_EQ(error, CallbookLines{"Error: database missing"});
    EXPECT_TRUE(SafeCallForProgram("QX1AB/P"));
    for (const char *bad : {"", "QX1AB;rm", "QX1AB BB", "-rf", "QX1AB$(x)", "ABCDEFGHIJKLM"})
        EXPECT_FALSE(SafeCallForProgram(bad)) << bad;
}

std::vector<std::uint8_t> managerRecord(const std::string &call, const std::string &manager, const std::string &remark,
                                        const std::string &date)
{
    std::vector<std::uint8_t> record(QslManagerRecordSize, 0);
    auto put = [&record](std::size_t at, const std::string &text) {
        record[at] = static_cast<std::uint8_t>(text.size());
        std::copy(text.begin(), text.end(), record.begin() + static_cast<std::ptrdiff_t>(at) + 1);
    };
    put(0, call);
    put(14, manager);
    put(28, remark);
    put(44, date);
    return record;
}

TEST(QslManagerFile, RecordsOfTheCallFromThePosition)
{
    std::vector<std::uint8_t> file;
    for (const auto &record : {managerRecord("QX0ZZ", "W1AW", "", "010199"), managerRecord("QX1AB", "QX9MGR", "direct", "020304"),
                               managerRecord("QX1AB", "QX8MGR", "", "050607"), managerRecord("QX2CD", "K1ABC", "", "")})
        file.insert(file.end(), record.begin(), record.end());
    CallbookLines lines;
    AddQslManagerLines(file, 1, "QX1AB", lines);
    EXPECT_EQ(lines, (CallbookLines{"QX1AB via QX9MGR direct date: 020304", "QX1AB via QX8MGR date: 050607"}));
    lines.clear();
    AddQslManagerLines(file, 99, "QX1AB", lines);
    EXPECT_TRUE(lines.empty()) << "a position past the end reads nothing";
    // A length byte above its capacity is clamped, a cut record is not read.
    auto bad = managerRecord("QX1AB", "X", "", "");
    bad[14] = 200;
    bad.resize(QslManagerRecordSize + 10, 0);
    auto record = QslManagerRecordAt(bad, 0);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->manager.size(), 13u);
    EXPECT_FALSE(QslManagerRecordAt(bad, 1));
}

} // namespace
} // namespace vellum
