// vellum-cli callbook CALL: the call looked up in the configured callbook source -
// a CD-ROM source (its library in EXTDATA) or the online callbook - with its QSL
// manager's address, as JSON. Options name the online service, its address and
// user for scripting; the password comes from VELLUM_CALLBOOK_PASSWORD or the
// stored settings and is never printed. A call not found and every failure are
// one line on stderr and exit status 1.

#include "cli.h"

#include "callbook/callbooklookup.h"
#include "callbook/onlinelookup.h"
#include "config/configfile.h"
#include "config/configrecord.h"
#include "logstore/paths.h"
#include "logstore/shortstring.h"
#include "logstore/trim.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>

namespace vellum::cli {

namespace {

constexpr const char *PasswordVariable = "VELLUM_CALLBOOK_PASSWORD";

/// The online options of the command line; any of them chooses the online source.
struct OnlineOptions {
    bool online = false;
    std::string service, url, user;
    int timeout = 0;

    bool Given() const { return online || !service.empty() || !url.empty() || !user.empty() || timeout != 0; }
};

OnlineOptions takeOnlineOptions(CliContext &context)
{
    OnlineOptions options;
    options.online = context.takeFlag("--online");
    options.service = context.takeOption("--service");
    options.url = context.takeOption("--url");
    options.user = context.takeOption("--user");
    options.timeout = context.takeNumber("--timeout", 0, 1, 300);
    return options;
}

/// The stored online settings with the command line's options and the password variable over them.
OnlineCallbookSettings onlineSettings(const OnlineOptions &options)
{
    OnlineCallbookSettings settings = LoadOnlineSettings(OnlineSettingsFileName());
    if (!options.service.empty()) {
        std::string service = UpperAscii(options.service);
        if (service != "QRZ" && service != "HAMQTH")
            throw CliError("callbook: --service takes qrz or hamqth, not " + options.service);
        settings.service = service == "QRZ" ? OnlineService::QrzXml : OnlineService::HamQthXml;
    }
    if (!options.url.empty()) {
        if (!options.url.starts_with("http://") && !options.url.starts_with("https://"))
            throw CliError("callbook: --url takes an http:// or https:// address, not " + options.url);
        settings.baseUrl = options.url;
    }
    if (!options.user.empty())
        settings.user = options.user;
    if (options.timeout != 0)
        settings.timeoutSeconds = options.timeout;
    if (const char *password = std::getenv(PasswordVariable); password && *password)
        settings.password = password;
    return settings;
}

/// The lines of one lookup, and whether it found the call; a failure throws.
struct Looked {
    CallbookLines lines;
    bool found = false;
};
using LookupOne = std::function<Looked(const std::string &call)>;

/// The call, then its manager's address when a line names one; prints the JSON.
int lookUpAndPrint(const std::string &call, int source, const std::string &service, const LookupOne &lookup)
{
    Looked looked = lookup(call);
    if (!looked.found)
        throw CliError("callbook: " + call + " not found" + (service.empty() ? "" : " (" + service + ")"));
    CallbookLines lines = std::move(looked.lines);
    std::string manager = ManagerFromLines(lines, call);
    if (!manager.empty()) {
        lines.push_back("----Address for " + manager);
        CallbookLines address = lookup(manager).lines;
        lines.insert(lines.end(), address.begin(), address.end());
    }
    std::cout << "{\"call\":" << JsonString(call) << ",\"source\":" << source;
    if (!service.empty())
        std::cout << ",\"service\":" << JsonString(service);
    std::cout << ",\"manager\":" << JsonString(manager) << ",\"lines\":[";
    for (std::size_t i = 0; i < lines.size(); ++i)
        std::cout << (i ? "," : "") << JsonString(lines[i]);
    std::cout << "]}\n";
    return 0;
}

int onlineLookup(const std::string &call, const OnlineOptions &options)
{
    OnlineCallbookSettings settings = onlineSettings(options);
    WaitingOnlineCallbook callbook(settings);
    bool first = true;
    return lookUpAndPrint(call, static_cast<int>(CallbookSource::Online), ServiceName(settings.service),
                          [&callbook, &first](const std::string &wanted) {
                              OnlineAnswer answer = callbook.Lookup(wanted);
                              // The call's own lookup must work; the manager's lines are shown as they come.
                              if (first && answer.outcome == OnlineOutcome::Failed)
                                  throw CliError("callbook: " + (answer.lines.empty() ? "failed" : answer.lines[0]));
                              first = false;
                              return Looked{answer.lines, answer.outcome == OnlineOutcome::Found};
                          });
}

int sourceLookup(const std::string &call, int source)
{
    if (source == static_cast<int>(CallbookSource::None))
        throw CliError("callbook: no callbook source is chosen (F_ExtAddrType 0; --online uses the online callbook)");
    std::string library = CallbookLibraryName(source);
    std::error_code ec;
    if (library.empty() || !std::filesystem::exists(FindFileNoCase(ExtDataDir(), library), ec))
        throw CliError("callbook: the library of source " + std::to_string(source) + " (" + library +
                       ") is not in " + ExtDataDir());
    const TConfigRecord &config = Config();
    CallbookLookup lookup(ExtDataDir());
    return lookUpAndPrint(call, source, std::string(), [&](const std::string &wanted) {
        CallbookLines lines;
        lookup.Lookup(source, config.F_ExtAddrPath.str(), wanted, lines);
        bool notFound = lines.size() == 1 && lines[0] == wanted + " not found";
        return Looked{lines, !notFound};
    });
}

int callbookCommand(CliContext &context)
{
    OnlineOptions options = takeOnlineOptions(context);
    std::string call = UpperAscii(std::string(Trim(context.arg(0, "CALL")))).substr(0, 12);
    if (call.empty())
        throw CliError("callbook: the call is empty");
    int source = Config().F_ExtAddrType;
    if (options.Given() || source == static_cast<int>(CallbookSource::Online))
        return onlineLookup(call, options);
    return sourceLookup(call, source);
}

} // namespace

VELLUM_CLI_COMMAND("callbook",
                   "callbook CALL [--online] [--service qrz|hamqth] [--url URL] [--user NAME] [--timeout SECONDS]"
                   "  (the configured source; the online password from $VELLUM_CALLBOOK_PASSWORD or the stored "
                   "settings)",
                   callbookCommand);

} // namespace vellum::cli
