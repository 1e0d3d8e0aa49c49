// vellum-cli listen: the receiver of the weak-signal programs on a log.
// "listen --log LOG [--port P] [--address A] [--seconds N] [--award DXCC]" adds each
// logged QSO to the log (written back at the end) and prints it as a JSON line,
// prints each decoded CQ call as a spot with its need, and at the end the counts.
// It runs for N seconds, or until the program it listens to closes.

#include "awardcli.h"
#include "cli.h"

#include "config/configfile.h"
#include "country/resolver.h"
#include "logstore/daytime.h"
#include "logstore/qsotables.h"
#include "logstore/report.h"
#include "weaksignal/wslisten.h"

#include <iostream>

namespace vellum::cli {

namespace {

std::string loggedJson(const TQsoRec &qso)
{
    return "{\"logged\":{\"call\":" + JsonString(qso.Call.view()) + ",\"date\":" +
           JsonString(FormatDate(qso.Date, DateFormat::YearMonthDay, false)) + ",\"time\":" +
           JsonString(FormatTime(qso.Time, true)) + ",\"band\":" + JsonString(BandLabel(qso.Band, false)) +
           ",\"mode\":" + JsonString(ModeName(qso.Mode)) + ",\"rst_sent\":" + JsonString(DecodeRst(qso.RstSent)) +
           ",\"rst_rcvd\":" + JsonString(DecodeRst(qso.RstRcvd)) + "}}";
}

std::string spotJson(LoadedLog &loaded, const DecodedSpot &spot, AwardIndex award)
{
    char kHz[32];
    std::snprintf(kHz, sizeof kHz, "%.3f", spot.kHz);
    return "{\"spot\":{" + NeedJsonFields(loaded, spot.call, spot.band, spot.mode, loaded.model->Today(), award) +
           ",\"kHz\":" + kHz + ",\"snr\":" + std::to_string(spot.snr) + ",\"time\":" +
           JsonString(FormatTime(spot.seconds, true)) + ",\"spotter\":" + JsonString(DecodedSpot::Spotter) +
           ",\"message\":" + JsonString(spot.message) + "}}";
}

int listenCommand(CliContext &context)
{
    WeakSignalAddress where;
    where.port = static_cast<std::uint16_t>(context.takeNumber("--port", where.port, 1, 65535));
    where.address = context.takeOption("--address", where.address);
    int seconds = context.takeNumber("--seconds", 0, 0, 86400);
    AwardIndex award = awardArgument(context.takeOption("--award", "DXCC"));
    std::string logName = context.takeOption("--log");
    if (logName.empty())
        throw CliError("listen needs --log LOG");
    context.args.insert(context.args.begin(), logName);
    LoadedLog loaded = loadLogWithAwards(context);

    WeakSignalListening how;
    how.where = where;
    how.seconds = seconds;
    how.listening = [](const std::string &address) {
        std::cout << "{\"listening\":" << JsonString(address) << "}" << std::endl;
    };
    how.logged = [](const TQsoRec &qso) { std::cout << loggedJson(qso) << std::endl; };
    how.decoded = [&](const DecodedSpot &spot) { std::cout << spotJson(loaded, spot, award) << std::endl; };
    WeakSignalListened listened =
        ListenToWeakSignalPrograms({*loaded.log, countryData(context), *context.countryResolver, Config()}, how);
    if (!listened.started)
        throw CliError("cannot listen on " + where.address + ":" + std::to_string(where.port) + ": " + listened.error);

    const WeakSignalCounters &counts = listened.counters;
    if (counts.logged > 0)
        loaded.log->WriteLog(true);
    std::cout << "{\"datagrams\":" << counts.datagrams << ",\"malformed\":" << counts.malformed
              << ",\"logged\":" << counts.logged << ",\"duplicates\":" << counts.duplicates
              << ",\"spots\":" << counts.spots << "}" << std::endl;
    return 0;
}

} // namespace

VELLUM_CLI_COMMAND("listen", "listen --log LOG [--port P] [--address A] [--seconds N] [--award DXCC|WAZ|WPX]",
                   listenCommand);

} // namespace vellum::cli
