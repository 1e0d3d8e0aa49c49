#include "awardcli.h"

#include "awards/awardqueries.h"
#include "config/configfile.h"
#include "country/resolver.h"
#include "logstore/daytime.h"
#include "logstore/qsotables.h"

#include <sstream>

namespace vellum::cli {

/// The country data the set-up step loaded for this run.
TCountryData &countryData(CliContext &context)
{
    if (!context.countries)
        throw CliError("no country data: neither SAVE/VELLUM.CTY nor the default country file could be read");
    return *context.countries;
}

std::uint16_t dateArgument(const std::string &text, const char *what)
{
    auto day = ParseDate(text, DateFormat::YearMonthDay);
    if (!day)
        throw CliError(std::string(what) + " '" + text + "' is not a date (YYYY-MM-DD)");
    return *day;
}

AwardIndex awardArgument(const std::string &text)
{
    for (int award = 0; award < AwardCount; ++award)
        if (text == AwardNames[static_cast<std::size_t>(award)])
            return static_cast<AwardIndex>(award);
    throw CliError("unknown award '" + text + "' (DXCC, WAZ, WAS or WPX)");
}

/// Loads the log named by the first argument, after taking --today and --selection.
LoadedLog loadLogWithAwards(CliContext &context)
{
    std::string today = context.takeOption("--today");
    std::string selection = context.takeOption("--selection");
    const std::string &fileName = context.arg(0, "log file");
    LoadedLog loaded;
    loaded.model = std::make_unique<TAwardModel>(countryData(context), Config());
    if (!today.empty())
        loaded.model->SetToday(dateArgument(today, "--today"));
    LogServices services = context.services;
    services.awards = loaded.model.get();
    loaded.log = std::make_unique<TQsoData>(services);
    int errorsBefore = context.notifier.errors;
    if (!loaded.log->ReadLog(fileName, LoadMode::Load, DuplicateMode::EmptyLog))
        throw CliError(context.notifier.errors == errorsBefore ? fileName + ": cannot be read as a log" : "");
    if (!selection.empty() && !SetCurrentSelection(*loaded.log, SelectionIndexOfName(*loaded.log, selection)))
        throw CliError(fileName + ": has no selection named '" + selection + "'");
    return loaded;
}

std::string NeedJsonFields(LoadedLog &loaded, const std::string &call, int band, int mode, std::uint16_t date,
                           AwardIndex award)
{
    SpotInfo spot;
    spot.call = call;
    spot.band = band;
    spot.mode = mode;
    spot.date = date;
    spot.country = loaded.model->Resolver().CountryOfCall(call, date);
    int needClass = NeedClass(*loaded.model, loaded.log.get(), spot, award);
    std::ostringstream out;
    out << "\"call\":" << JsonString(call) << ",\"band\":" << JsonString(BandLabel(band, false))
        << ",\"mode\":" << JsonString(ModeName(mode)) << ",\"award\":" << JsonString(AwardNames[award])
        << ",\"country\":" << JsonString(loaded.model->Countries().CountryName(spot.country)) << ",\"class\":" << needClass
        << ",\"name\":" << JsonString(NeedClassNames[needClass]);
    return out.str();
}

} // namespace vellum::cli
