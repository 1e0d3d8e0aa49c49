// vellum-cli cty build | info, vellum-cli resolve, and the set-up step that
// loads the country data for every command that resolves calls.

#include "cli.h"

#include "country/countryfile.h"
#include "country/ctyconvert.h"
#include "country/resolver.h"

#include "logstore/daytime.h"
#include "logstore/paths.h"
#include "logstore/qsorec.h"
#include "logstore/shortstring.h"

#include <charconv>
#include <filesystem>
#include <iostream>
#include <sstream>

namespace vellum::cli {

namespace {

/// The country data loaded for this run, or why none could be loaded.
struct LoadedCountryData {
    std::shared_ptr<TCountryData> data;
    std::shared_ptr<CountryResolver> resolver;
    std::string failure;
};

LoadedCountryData &loaded()
{
    static LoadedCountryData state;
    return state;
}

std::string oneLine(std::string text)
{
    for (char &c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

/// Loads SAVE/VELLUM.CTY of the program directory, else the default country file
/// built with the program. Commands that do not need country data run without
/// it; a country file that exists but cannot be read is reported on stderr.
void loadCountryData(CliContext &context)
{
    std::error_code ec;
    std::string own = CountryFileName();
    bool haveOwn = std::filesystem::exists(own, ec);
    std::string file = haveOwn ? own : DefaultCountryFileName();
    if (!haveOwn && !std::filesystem::exists(file, ec)) {
        loaded().failure = std::string(CountryText::FailedReading) + ": there is neither " + own +
                           " nor the default country file " + file;
        return;
    }
    auto data = std::make_shared<TCountryData>();
    RecordingNotifier notes;
    if (!LoadCountryFile(*data, file, notes)) {
        loaded().failure = oneLine(notes.shown.empty() ? file : notes.shown.back().text);
        if (haveOwn)
            std::cerr << "warning: " << loaded().failure << "; calls are not resolved\n";
        return;
    }
    try {
        LoadDeletedWpx(*data);
    } catch (const std::exception &e) {
        std::cerr << "warning: " << oneLine(e.what()) << "\n";
    }
    auto resolver = std::make_shared<CountryResolver>(*data);
    context.services.resolver = resolver.get();
    context.countryResolver = resolver.get();
    context.countries = data.get();
    context.owned.push_back(data);
    context.owned.push_back(resolver);
    loaded().data = std::move(data);
    loaded().resolver = std::move(resolver);
}
VELLUM_CLI_SETUP(20, loadCountryData);

const CountryResolver &requireResolver()
{
    if (!loaded().resolver)
        throw CliError(loaded().failure);
    return *loaded().resolver;
}

// --- cty build / info -------------------------------------------------------------

std::string countsJson(const TCountryData &data)
{
    std::ostringstream out;
    out << "\"countries\":" << data.Countries.Count() << ",\"mappings\":" << data.Mappings.Count()
        << ",\"exceptions\":" << data.Exceptions.Count() << ",\"states\":" << data.States.Count()
        << ",\"sections\":" << data.Sections.Count() << ",\"iota\":" << data.Iota.Count()
        << ",\"managers\":" << data.Managers.Count() << ",\"counties\":" << data.Counties.Count()
        << ",\"addresses\":" << data.Addresses.Count();
    return out.str();
}

/// Reads a country file for the cty commands; a failure names the file.
bool readCountryFileOrThrow(const std::string &fileName, TCountryData &data)
{
    try {
        TBufferedFileStream stream(fileName, FileMode::Read);
        return ReadCountryData(stream, data);
    } catch (const std::exception &e) {
        throw CliError(std::string(CountryText::FailedReading) + " " + fileName + ": " + oneLine(e.what()));
    }
}

void printList(const char *title, const std::vector<std::string> &items)
{
    if (items.empty())
        return;
    std::cerr << title << " (" << items.size() << "):";
    for (const std::string &item : items)
        std::cerr << " " << item;
    std::cerr << "\n";
}

int ctyBuild(CliContext &context)
{
    std::string keepFile = context.takeOption("--keep");
    std::string dataDir = context.takeOption("--data", CountrySourceDataDir());
    bool quiet = context.takeFlag("--quiet");
    const std::string &ctyFile = context.arg(1, "cty.dat file");
    const std::string &outFile = context.arg(2, "output country file");

    std::vector<std::uint8_t> bytes = ReadWholeFile(ctyFile);
    std::vector<CtyEntity> entities =
        ParseCtyDat(std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
    DefaultTables defaults = LoadDefaultTables(dataDir);
    TCountryData keep;
    if (!keepFile.empty())
        readCountryFileOrThrow(keepFile, keep);
    TCountryData data;
    ConversionReport report = ConvertCtyDat(entities, defaults, keepFile.empty() ? nullptr : &keep, data);
    WriteCountryFile(data, outFile, false);
    if (!quiet) {
        printList("prefixes longer than 4 characters, not held", report.longPrefixes);
        printList("exact calls longer than 12 characters, not held", report.longCalls);
        printList("listed twice, the first kept", report.duplicates);
        for (const std::string &note : report.notes)
            std::cerr << "note: " << note << "\n";
        std::cout << "{\"file\":" << JsonString(outFile) << "," << countsJson(data) << "}\n";
    }
    return 0;
}

int ctyInfo(CliContext &context)
{
    const std::string &file = context.arg(1, "country file");
    TCountryData data;
    bool old = readCountryFileOrThrow(file, data);
    std::cout << "{\"file\":" << JsonString(file) << ",\"format\":\"" << (old ? "old" : "CTYB") << "\","
              << countsJson(data) << "}\n";
    return 0;
}

int ctyCommand(CliContext &context)
{
    const std::string &sub = context.arg(0, "cty subcommand (build, info)");
    if (sub == "build")
        return ctyBuild(context);
    if (sub == "info")
        return ctyInfo(context);
    throw CliError("unknown cty subcommand '" + sub + "' (build, info)");
}

// --- resolve ---------------------------------------------------------------------

/// A date written YYYY-MM-DD as a day number; nothing when it is not a valid date.
std::optional<std::uint16_t> parseIsoDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    auto field = [text](std::size_t at, std::size_t length) {
        int value = -1;
        auto [end, error] = std::from_chars(text.data() + at, text.data() + at + length, value);
        return error == std::errc() && end == text.data() + at + length ? value : -1;
    };
    int year = field(0, 4), month = field(5, 2), day = field(8, 2);
    if (year < 1900 || month < 0 || day < 0)
        return std::nullopt;
    return DayNumber(year, month, day);
}

std::string resolveJson(const CountryResolver &resolver, std::string_view call, std::uint16_t date)
{
    TQsoRec rec = resolver.ResolveCall(UpperAscii(call), date);
    const TCountryData &data = resolver.Data();
    std::string wpx = resolver.WpxPrefix(rec.Call.view());
    std::ostringstream out;
    out << "{\"call\":" << JsonString(rec.Call.view()) << ",\"country\":" << rec.Country
        << ",\"prefix\":" << JsonString(data.CountryPrefix(rec.Country))
        << ",\"name\":" << JsonString(data.CountryName(rec.Country))
        << ",\"continent\":" << JsonString(ContinentCode(data.CountryByte(rec.Country, CountryField::Continent)))
        << ",\"cq_zone\":" << +rec.Zone << ",\"itu_zone\":" << +data.CountryByte(rec.Country, CountryField::ItuZone)
        << ",\"state\":" << JsonString(data.StateAbbreviation(rec.State)) << ",\"wpx\":" << JsonString(wpx)
        << ",\"deleted_wpx\":" << (resolver.IsDeletedWpx(wpx) ? "true" : "false") << "}";
    return out.str();
}

/// One line of `resolve -`: a call and an optional date.
bool resolveLine(const CountryResolver &resolver, const std::string &line)
{
    std::istringstream words(line);
    std::string call, dateText;
    words >> call >> dateText;
    if (call.empty())
        return true;
    std::optional<std::uint16_t> date = dateText.empty() ? TodayDayNumber() : parseIsoDate(dateText);
    if (!date) {
        std::cout << "{\"call\":" << JsonString(call) << ",\"error\":" << JsonString("invalid date " + dateText)
                  << "}\n";
        return false;
    }
    std::cout << resolveJson(resolver, call, *date) << "\n";
    return true;
}

int resolveCommand(CliContext &context)
{
    const std::string &call = context.arg(0, "call (or - to read calls from standard input)");
    const CountryResolver &resolver = requireResolver();
    if (call == "-") {
        bool allGood = true;
        std::string line;
        while (std::getline(std::cin, line))
            allGood = resolveLine(resolver, line) && allGood;
        return allGood ? 0 : 1;
    }
    std::uint16_t date = TodayDayNumber();
    if (context.args.size() > 1) {
        std::optional<std::uint16_t> parsed = parseIsoDate(context.args[1]);
        if (!parsed)
            throw CliError("invalid date '" + context.args[1] + "' (YYYY-MM-DD, 1900-03-02 to 2079-06-05)");
        date = *parsed;
    }
    std::cout << resolveJson(resolver, call, date) << "\n";
    return 0;
}

} // namespace

VELLUM_CLI_COMMAND("cty", "cty build CTY_DAT OUT [--keep EXISTING.CTY] [--data DIR] | cty info FILE", ctyCommand);
VELLUM_CLI_COMMAND("resolve", "resolve CALL [YYYY-MM-DD] | resolve - (calls and dates from stdin)", resolveCommand);

} // namespace vellum::cli
