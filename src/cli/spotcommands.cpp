// vellum-cli spots: cluster lines through the spot list's patterns, repeat rule
// and ranking against a log, one JSON line per spot the list keeps.

#include "awardcli.h"

#include "awards/awardqueries.h"
#include "cluster/spotintake.h"
#include "config/configfile.h"
#include "country/countrydata.h"
#include "logstore/daytime.h"
#include "logstore/qsotables.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace vellum::cli {

namespace {

int minutesArgument(const std::string &text)
{
    if (text.size() == 4 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        int hours = std::stoi(text.substr(0, 2));
        int minutes = std::stoi(text.substr(2));
        if (hours < 24 && minutes < 60)
            return hours * 60 + minutes;
    }
    throw CliError("--time '" + text + "' is not a time (HHMM)");
}

std::string spotJson(const TSpotRecord &spot, const TCountryData &countries)
{
    std::ostringstream out;
    out << "{\"call\":" << JsonString(spot.Call.view()) << ",\"freq_khz\":" << spot.Freq.get()
        << ",\"band\":" << JsonString(BandLabel(spot.Band, false)) << ",\"mode\":" << JsonString(ModeName(spot.Mode))
        << ",\"spotter\":" << JsonString(spot.Spotter.view())
        << ",\"time\":" << JsonString(FormatDate(spot.Date, DateFormat::YearMonthDay, false) + " " +
                                      FormatTime(spot.Time.get() * 60, false))
        << ",\"qsx_khz\":" << spot.Qsx.get() << ",\"comment\":" << JsonString(spot.Remarks.view())
        << ",\"country\":" << JsonString(countries.CountryName(spot.Country))
        << ",\"need\":" << JsonString(NeedClassNames[static_cast<std::size_t>(spot.ClassNumber())]) << "}";
    return out.str();
}

int spotsCommand(CliContext &context)
{
    AwardIndex award = awardArgument(context.takeOption("--award", "DXCC"));
    std::string time = context.takeOption("--time");
    LoadedLog loaded = loadLogWithAwards(context);
    std::string source = context.args.size() > 1 ? context.args[1] : "-";
    std::ifstream file;
    if (source != "-") {
        file.open(source, std::ios::binary);
        if (!file)
            throw CliError(source + ": cannot be read");
    }
    std::istream &in = source == "-" ? std::cin : file;

    TConfigRecord &config = Config();
    TAwardModel &model = *loaded.model;
    SpotClock clock = SpotClock::System();
    clock.today = [&model] { return model.Today(); };
    if (!time.empty())
        clock.minutes = [minutes = minutesArgument(time)] { return minutes; };
    SpotList list(config.Packet_max_putout);
    SpotRanker ranker(model, config, [&loaded] { return loaded.log.get(); });
    ranker.SetAward(award);
    SpotIntake intake(list, ranker, config, model.Resolver(), clock);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        LineOutcome outcome = intake.ProcessLine(line);
        if (outcome.added != SpotAdded::Dropped)
            std::cout << spotJson(outcome.spot, model.Countries()) << "\n";
    }
    return 0;
}

} // namespace

VELLUM_CLI_COMMAND("spots",
                   "spots LOG [FILE|-] [--award DXCC|WAZ|WPX] [--today YYYY-MM-DD] [--time HHMM] [--selection NAME]",
                   spotsCommand);

} // namespace vellum::cli
