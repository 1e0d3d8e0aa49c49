// vellum-cli awards | need: the award standing of a log, and how new a spotted
// call would be (its need class).

#include "awardcli.h"
#include "cli.h"

#include "awards/awardqueries.h"

#include "config/configfile.h"
#include "country/resolver.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"
#include "logstore/qsotables.h"

#include <iostream>
#include <sstream>

namespace vellum::cli {

namespace {

void writeLevel(std::ostream &out, const LevelStanding &level)
{
    out << "{\"worked\":" << level[asWorked] << ",\"qsl_sent\":" << level[asQslSent]
        << ",\"confirmed\":" << level[asConfirmed] << ",\"submitted\":" << level[asSubmitted]
        << ",\"checked\":" << level[asChecked];
}

void writeAward(std::ostream &out, TAwardModel &model, TQsoData &log, AwardIndex award)
{
    const TAwardSetup &setup = model.Setup(award);
    const TConfigRecord &config = model.Config();
    AwardStanding standing = CountStanding(model, log, award);
    out << JsonString(AwardNames[static_cast<std::size_t>(award)]) << ":{\"entities\":" << standing.entities
        << ",\"mixed\":";
    writeLevel(out, standing.mixed);
    out << "},\"modes\":{";
    bool firstGroup = true;
    for (int group = 1; group <= 3; ++group) {
        if (!CountsModeGroup(config, setup, group))
            continue;
        out << (firstGroup ? "" : ",") << JsonString(ModeGroupNames[static_cast<std::size_t>(group)]) << ":";
        firstGroup = false;
        writeLevel(out, standing.groups[static_cast<std::size_t>(group)]);
        out << ",\"bands\":{";
        bool firstBand = true;
        for (int band = 1; band <= 15; ++band) {
            if (!CountsBand(config, setup, band))
                continue;
            out << (firstBand ? "" : ",") << JsonString(BandTable[static_cast<std::size_t>(band)].name) << ":";
            firstBand = false;
            writeLevel(out, standing.bandsInGroup[static_cast<std::size_t>(group)][static_cast<std::size_t>(band)]);
            out << "}";
        }
        out << "}}";
    }
    out << "}}";
}

int awardsCommand(CliContext &context)
{
    std::string only = context.takeOption("--award");
    LoadedLog loaded = loadLogWithAwards(context);
    TQsoData &log = *loaded.log;
    TAwardModel &model = *loaded.model;
    model.EnsureAwardTables(log);

    std::ostringstream out;
    out << "{\"log\":" << JsonString(log.LogFileName) << ",\"qsos\":" << log.Count()
        << ",\"selection\":" << JsonString(log.CurSelection.Name.view())
        << ",\"today\":" << JsonString(FormatDate(model.Today(), DateFormat::YearMonthDay, false))
        << ",\"bandNote\":" << JsonString(ExtendedBandAwardNote) << ",\"awards\":{";
    if (!only.empty()) {
        writeAward(out, model, log, awardArgument(only));
    } else {
        for (int award = 0; award < AwardCount; ++award) {
            out << (award ? "," : "");
            writeAward(out, model, log, static_cast<AwardIndex>(award));
        }
    }
    out << "}}\n";
    std::cout << out.str();
    return 0;
}

int needCommand(CliContext &context)
{
    std::string awardText = context.takeOption("--award", "DXCC");
    AwardIndex award = awardArgument(awardText);
    LoadedLog loaded = loadLogWithAwards(context);
    std::string call = UpperAscii(context.arg(1, "call"));
    const std::string &bandText = context.arg(2, "band");
    const std::string &modeText = context.arg(3, "mode");
    int band = ParseBand(bandText);
    if (band == 0)
        throw CliError("unknown band '" + bandText + "'");
    int mode = ModeOfName(modeText);
    if (mode == 0)
        throw CliError("unknown mode '" + modeText + "'");
    std::uint16_t date = context.args.size() > 4 ? dateArgument(context.args[4], "date") : loaded.model->Today();

    std::cout << "{" << NeedJsonFields(loaded, call, band, mode, date, award) << "}\n";
    return 0;
}

} // namespace

VELLUM_CLI_COMMAND("awards",
                   "awards LOG [--award DXCC|WAZ|WAS|WPX] [--selection NAME] [--today YYYY-MM-DD]",
                   awardsCommand);
VELLUM_CLI_COMMAND("need",
                   "need LOG CALL BAND MODE [YYYY-MM-DD] [--award DXCC|WAZ|WPX] [--selection NAME] "
                   "[--today YYYY-MM-DD]",
                   needCommand);

} // namespace vellum::cli
