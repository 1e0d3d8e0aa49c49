// vellum-cli cty check | merge: the country editor's consistency check and its
// merge of another country file, on country files named on the command line.

#include "cli.h"

#include "ctyeditor/countrycheck.h"
#include "ctyeditor/countrymerge.h"

#include "country/countryfile.h"
#include "logstore/fileio.h"

#include <iostream>
#include <sstream>

namespace vellum::cli {

namespace {

/// Reads a country file; returns whether it had the old layout. A CliError names the file and the damage.
bool readCountryFile(const std::string &fileName, TCountryData &data)
{
    try {
        return ReadCountryBytes(ReadWholeFile(fileName), data);
    } catch (const std::exception &error) {
        throw CliError(std::string(CountryText::FailedReading) + ": " + fileName + ": " + error.what());
    }
}

std::string jsonLines(const MessageList &messages)
{
    std::string out = "[";
    bool first = true;
    for (const MessageLine &line : messages.Lines()) {
        out += (first ? "" : ",") + JsonString(line.text);
        first = false;
    }
    return out + "]";
}

std::string countJson(const MergeCount &count)
{
    std::ostringstream out;
    out << "{\"ran\":" << (count.ran ? "true" : "false") << ",\"added\":" << count.added
        << ",\"replaced\":" << count.replaced << ",\"unchanged\":" << count.unchanged
        << ",\"unknown_country\":" << count.skipped << "}";
    return out.str();
}

int ctyCheck(CliContext &context)
{
    const std::string &file = context.arg(0, "country file (cty check FILE)");
    TCountryData data;
    readCountryFile(file, data);
    MessageList messages;
    std::size_t problems = CheckCountryData(data, messages);
    std::cout << "{\"file\":" << JsonString(file) << ",\"problems\":" << problems
              << ",\"messages\":" << jsonLines(messages) << "}\n";
    return 0;
}

/// Which steps to skip: --skip calls,iotas,managers,addresses.
bool skipped(const std::string &skip, const std::string &question)
{
    static const std::pair<const char *, const char *> names[] = {{"calls", MergeText::Calls},
                                                                   {"iotas", MergeText::Iotas},
                                                                   {"managers", MergeText::Managers},
                                                                   {"addresses", MergeText::Addresses}};
    std::string list = "," + skip + ",";
    for (const auto &[name, text] : names)
        if (question == text)
            return list.find("," + std::string(name) + ",") != std::string::npos;
    return false;
}

int ctyMerge(CliContext &context)
{
    bool showMessages = context.takeFlag("--messages");
    std::string skip = context.takeOption("--skip");
    const std::string &file = context.arg(0, "country file (cty merge FILE OTHER OUT)");
    const std::string &otherFile = context.arg(1, "other country file (cty merge FILE OTHER OUT)");
    const std::string &out = context.arg(2, "output file (cty merge FILE OTHER OUT)");
    TCountryData data, other;
    readCountryFile(file, data);
    bool otherIsOld = readCountryFile(otherFile, other);
    MessageList messages;
    MergeOptions options;
    options.ask = [&](const std::string &question) { return !skipped(skip, question); };
    MergeCounts counts = MergeCountryData(data, other, otherIsOld, messages, options);
    try {
        WriteCountryFile(data, out, false);
    } catch (const EFileError &error) {
        throw CliError(error.what());
    }
    std::cout << "{\"out\":" << JsonString(out) << ",\"exception_calls\":" << countJson(counts.calls)
              << ",\"iota\":" << countJson(counts.iotas) << ",\"managers\":" << countJson(counts.managers)
              << ",\"addresses\":" << countJson(counts.addresses);
    if (showMessages)
        std::cout << ",\"messages\":" << jsonLines(messages);
    std::cout << "}\n";
    return 0;
}

} // namespace

VELLUM_CLI_COMMAND("cty check", "cty check FILE  (the consistency check's messages)", ctyCheck);
VELLUM_CLI_COMMAND("cty merge",
                   "cty merge FILE OTHER OUT [--skip calls,iotas,managers,addresses] [--messages]  "
                   "(exception calls, IOTA, QSL managers and addresses of OTHER merged into FILE, written to OUT)",
                   ctyMerge);

} // namespace vellum::cli
