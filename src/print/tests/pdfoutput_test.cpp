#include "print/pdfoutput.h"

#include "testsupport/tempdir.h"
#include "testsupport/command.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace vellum {
namespace {

TEST(PdfOutput, TextOfThePagesCanBeExtracted)
{
    test::TempDir dir;
    std::vector<std::string> lines;
    for (int i = 1; i <= 80; ++i)
        lines.push_back("QQ" + std::to_string(i) + "XYZ\t" + std::to_string(i));
    TextRows rows(lines);
    TablePrintJob job;
    job.title = "Report: PDF test";
    job.columns = {MakeTableColumn("Callsign", 12, PrintAlign::Left), MakeTableColumn("Nr", 4, PrintAlign::Right)};
    job.rows = &rows;
    TableStyle style;
    style.dateText = "May 1, 2026";
    style.lines = TableLines::LinesAndShades;
    const std::string file = dir.file("reports/test.pdf");
    TablePrintResult result = WriteTablePdf(job, style, file, {"A4", 2100, 2970, true});
    ASSERT_TRUE(result.Ok()) << result.message;
    EXPECT_EQ(result.pages, 2);
    std::string text = test::PdfText(file);
    EXPECT_NE(text.find("Report: PDF test"), std::string::npos) << text;
    EXPECT_NE(text.find("May 1, 2026"), std::string::npos);
    EXPECT_NE(text.find("Page 2"), std::string::npos);
    for (const char *call : {"QQ1XYZ", "QQ57XYZ", "QQ80XYZ"})
        EXPECT_NE(text.find(call), std::string::npos) << call;
    EXPECT_LT(text.find("QQ57XYZ"), text.find("Page 2")) << "row 57 ends page 1 of A4";
}

TEST(PdfOutput, CustomPaperAndAFailedJobLeavesNoFile)
{
    test::TempDir dir;
    TextRows rows({"A\t1"});
    TablePrintJob job;
    job.title = "Small";
    job.columns = {MakeTableColumn("Name", 4, PrintAlign::Left)};
    job.rows = &rows;
    // 10 x 5 cm: the margins leave no room for a row.
    TablePrintResult result = WriteTablePdf(job, TableStyle{}, dir.file("small.pdf"), {"Custom", 1000, 500, true});
    EXPECT_EQ(result.status, TablePrintResult::Status::NothingFits);
    EXPECT_FALSE(std::filesystem::exists(dir.file("small.pdf")));
    EXPECT_FALSE(std::filesystem::exists(dir.file(".small.pdf.part")));
    result = WriteTablePdf(job, TableStyle{}, dir.file("wide.pdf"), {"Custom", 2540, 1270, false});
    ASSERT_TRUE(result.Ok()) << result.message;
    EXPECT_NE(test::PdfText(dir.file("wide.pdf")).find("Small"), std::string::npos);
}

} // namespace
} // namespace vellum
