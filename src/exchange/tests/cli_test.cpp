// vellum-cli adif import | export, run as a user runs them: the round trip of a
// generated log compared field by field through `vellum-cli log dump`, and the
// options that answer the import's questions.

#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

class AdifCommands : public ::testing::Test {
protected:
    /// Runs vellum-cli with the program directory of the test; returns the exit status.
    int run(const std::string &arguments, std::string *out = nullptr)
    {
        std::string outFile = (dir / "stdout.txt").string();
        std::string command = std::string(VELLUM_CLI) + " --dir " + (dir / "prog").string() + " " + arguments +
                              " > " + outFile + " 2> " + (dir / "stderr.txt").string();
        int status = std::system(command.c_str());
        if (out) {
            std::ifstream in(outFile, std::ios::binary);
            *out = std::string(std::istreambuf_iterator<char>(in), {});
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string path(const std::string &name) const { return (dir / name).string(); }
    void write(const std::string &name, const std::string &text) const
    {
        std::ofstream(dir / name, std::ios::binary) << text;
    }

    vellum::test::TempDir temp{"adif-cli"};
    fs::path dir = temp.path();
};

/// The fields of one line of `log dump`: a flat JSON object, values as written.
std::map<std::string, std::string> fields(const std::string &line)
{
    std::map<std::string, std::string> out;
    std::size_t at = 1;
    while (at < line.size() && line[at] == '"') {
        std::size_t keyEnd = line.find('"', at + 1);
        std::string key = line.substr(at + 1, keyEnd - at - 1);
        std::size_t value = keyEnd + 2, end = value;
        bool quoted = false;
        for (; end < line.size(); ++end) {
            if (line[end] == '"' && (end == value || line[end - 1] != '\\'))
                quoted = !quoted;
            else if (!quoted && (line[end] == ',' || line[end] == '}'))
                break;
        }
        out[key] = line.substr(value, end - value);
        at = end + 1;
    }
    return out;
}

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

TEST_F(AdifCommands, RoundTripComparedThroughLogDump)
{
    ASSERT_EQ(run("log generate --qsos 1500 --seed 5 " + path("gen.vll")), 0);
    std::string out;
    ASSERT_EQ(run("adif export " + path("gen.vll") + " " + path("gen.adi"), &out), 0);
    EXPECT_EQ(out, "{\"file\":\"" + path("gen.adi") + "\",\"qsos\":1500}\n");
    ASSERT_EQ(run("adif import " + path("new.vll") + " " + path("gen.adi"), &out), 0) << "creates the log";
    EXPECT_EQ(out.rfind("Import Finished\n\n1500 QSOs  read\nNo Simple error  processed\n", 0), 0u) << out;

    std::string before, after, notesBefore, notesAfter;
    ASSERT_EQ(run("log dump " + path("gen.vll"), &before), 0);
    ASSERT_EQ(run("log dump " + path("new.vll"), &after), 0);
    std::vector<std::string> a = lines(before), b = lines(after);
    ASSERT_EQ(a.size(), 1500u);
    ASSERT_EQ(b.size(), a.size());
    const char *carried[] = {"Call", "Date", "Band", "Mode", "RstRcvd", "RstSent", "State", "Iota", "County",
                             "Grid", "QslDate", "Recvd", "Country", "Zone", "WpxPfx"};
    int unknownTimes = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto x = fields(a[i]), y = fields(b[i]);
        for (const char *name : carried)
            EXPECT_EQ(x[name], y[name]) << name << " of " << a[i];
        EXPECT_EQ(std::stoi(x["QslFlags"]) & 2, std::stoi(y["QslFlags"]) & 2) << "confirmed, of " << a[i];
        if (x["Time"] == "-1") {
            ++unknownTimes; // ADIF has no unknown time
            EXPECT_EQ(y["Time"], "0");
        } else {
            EXPECT_EQ(x["Time"], y["Time"]);
            EXPECT_EQ(x["QsoNote"], y["QsoNote"]);
        }
    }
    EXPECT_GT(unknownTimes, 0);
    ASSERT_EQ(run("log dump --notes " + path("gen.vll"), &notesBefore), 0);
    ASSERT_EQ(run("log dump --notes " + path("new.vll"), &notesAfter), 0);
    EXPECT_FALSE(notesBefore.empty());
    EXPECT_EQ(notesBefore, notesAfter);

    // Again into the imported log with --dupes ignore: every QSO is a duplicate.
    ASSERT_EQ(run("adif import " + path("new.vll") + " " + path("gen.adi") + " --dupes ignore", &out), 0);
    EXPECT_NE(out.find("1500 Duplicate QSOs  processed"), std::string::npos) << out;
    ASSERT_EQ(run("log dump " + path("new.vll"), &after), 0);
    EXPECT_EQ(lines(after).size(), 1500u);
    // --dupes stop ends at the first duplicate, with a failing status.
    EXPECT_EQ(run("adif import " + path("new.vll") + " " + path("gen.adi"), &out), 1);
    EXPECT_EQ(out.rfind("Import aborted because of duplicate QSO\nCall = ", 0), 0u) << out;
}

TEST_F(AdifCommands, PrefixZoneOptionAndErrors)
{
    write("dl.adi", "<EOH><CALL:6>DL1ABC <QSO_DATE:8>20200101 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <CQZ:2>15 <EOR>");
    std::string out;
    ASSERT_EQ(run("adif import " + path("keep.vll") + " " + path("dl.adi") + " --prefix-zone keep", &out), 0);
    EXPECT_NE(out.find("One Zone exception  processed"), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(dir / "prog" / "SAVE" / "VELLUM.CTY"));

    ASSERT_EQ(run("adif import " + path("learn.vll") + " " + path("dl.adi") + " --prefix-zone import", &out), 0);
    EXPECT_NE(out.find("One Exception record  added"), std::string::npos) << out;
    EXPECT_TRUE(fs::exists(dir / "prog" / "SAVE" / "VELLUM.CTY")) << "the learned exception call is kept";
    ASSERT_EQ(run("resolve DL1ABC 2021-01-01", &out), 0);
    EXPECT_NE(out.find("\"cq_zone\":15"), std::string::npos) << out;

    EXPECT_EQ(run("adif import " + path("x.vll") + " " + path("dl.adi") + " --dupes sometimes"), 1);
    EXPECT_EQ(run("adif import " + path("x.vll") + " " + path("none.adi")), 1);
    EXPECT_EQ(run("adif export " + path("none.vll") + " " + path("out.adi")), 1);
    write("text.adi", "just some text");
    EXPECT_EQ(run("adif import " + path("x.vll") + " " + path("text.adi")), 1);
    EXPECT_FALSE(fs::exists(dir / "x.vll"));
}

} // namespace
