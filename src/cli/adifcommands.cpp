// vellum-cli adif import | export: ADIF files into and out of a log file, with
// the answers the import's questions would get from the command's options.

#include "cli.h"

#include "exchange/exportlog.h"
#include "exchange/importfilter.h"
#include "exchange/importlog.h"

#include "config/configfile.h"
#include "country/countryfile.h"
#include "country/resolver.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace vellum::cli {

namespace {

/// Answers the import's questions from the command's options.
class OptionAnswers : public ImportQuestions {
public:
    OptionAnswers(DuplicatePolicy policy, PrefixZoneChoice choice) : m_policy(policy), m_choice(choice) {}
    std::optional<DuplicatePolicy> AskDuplicatePolicy() override { return m_policy; }
    PrefixZoneChoice ConfirmPrefixZone(const PrefixZoneQuestion &) override { return m_choice; }

private:
    DuplicatePolicy m_policy;
    PrefixZoneChoice m_choice;
};

/// Passes errors and warnings to stderr; the command prints the summary itself.
class QuietInformation : public UserNotifier {
public:
    explicit QuietInformation(CliNotifier &inner) : m_inner(inner) {}
    Answer show(MessageKind kind, std::string_view text, Buttons buttons) override
    {
        return kind == MessageKind::Information ? Answer::Ok : m_inner.show(kind, text, buttons);
    }

private:
    CliNotifier &m_inner;
};

DuplicatePolicy policyOption(const std::string &value)
{
    if (value == "stop")
        return DuplicatePolicy::Stop;
    if (value == "replace")
        return DuplicatePolicy::Replace;
    if (value == "ignore")
        return DuplicatePolicy::Ignore;
    throw CliError("--dupes must be stop, replace or ignore, not '" + value + "'");
}

/// The country data the import resolves against and learns exception calls
/// into: SAVE/VELLUM.CTY, else the default country file built with the program.
std::unique_ptr<TCountryData> loadCountries(CliContext &context)
{
    std::error_code ec;
    std::string file = std::filesystem::exists(CountryFileName(), ec) ? CountryFileName() : DefaultCountryFileName();
    auto data = std::make_unique<TCountryData>();
    if (!LoadCountryFile(*data, file, context.notifier))
        throw CliError(""); // the reason is on stderr already
    return data;
}

std::string lines(std::string text)
{
    std::replace(text.begin(), text.end(), '\r', '\n');
    return text;
}

/// What one command works on: the country data, the log, and the services the log reads.
struct LogJob {
    std::unique_ptr<TCountryData> countries;
    std::unique_ptr<CountryResolver> resolver;
    std::unique_ptr<QuietInformation> notifier;
    std::unique_ptr<TQsoData> log;
};

/// Opens the log file, or makes a new empty log of that name when the file does
/// not exist and create is set.
LogJob openJob(CliContext &context, const std::string &fileName, bool create)
{
    LogJob job;
    job.countries = loadCountries(context);
    job.resolver = std::make_unique<CountryResolver>(*job.countries);
    job.notifier = std::make_unique<QuietInformation>(context.notifier);
    LogServices services = context.services;
    services.notifier = job.notifier.get();
    services.resolver = job.resolver.get();
    job.log = std::make_unique<TQsoData>(services);
    std::error_code ec;
    if (std::filesystem::exists(fileName, ec)) {
        if (!job.log->ReadLog(fileName, LoadMode::Load, DuplicateMode::EmptyLog))
            throw CliError(""); // the reader has said what is wrong
    } else if (create) {
        job.log->NewLog(fileName);
    } else {
        throw CliError(fileName + ": no such log file");
    }
    return job;
}

int adifImport(CliContext &context)
{
    DuplicatePolicy policy = policyOption(context.takeOption("--dupes", "stop"));
    std::string prefixZone = context.takeOption("--prefix-zone");
    if (!prefixZone.empty() && prefixZone != "keep" && prefixZone != "import")
        throw CliError("--prefix-zone must be keep or import, not '" + prefixZone + "'");
    const std::string &logFile = context.arg(1, "log file");
    const std::string &adifFile = context.arg(2, "ADIF file");

    LogJob job = openJob(context, logFile, true);
    TQsoData &log = *job.log;

    // The option answers the question for every QSO, as a setting would.
    TConfigRecord config = Config();
    if (!prefixZone.empty())
        config.imp_action = prefixZone == "import" ? 2 : 1;
    OptionAnswers answers(policy, prefixZone == "import" ? PrefixZoneChoice::Import : PrefixZoneChoice::Vellum);
    ImportContext import{log, *job.countries, *job.resolver, config, answers};
    ImportResult result = ImportLog(import, adifFile, AdifFilter(), RecordFormat::Adif);
    if (!result.summary.empty())
        std::cout << lines(result.summary) << "\n";
    try {
        if (log.Count() > 0 && log.IsModified())
            log.WriteLog(true);
        // Exception calls learned from the file are kept, as the program keeps them.
        if (job.countries->CountryModified) {
            std::error_code ec;
            std::filesystem::create_directories(SaveDir(), ec);
            if (!SaveCountryFile(*job.countries, CountryTarget::MainFile, log.settings().cycleFiles(), context.notifier))
                return 1;
        }
    } catch (const EFileError &e) {
        throw CliError(e.what());
    }
    return result.outcome == ImportOutcome::Finished ? 0 : 1;
}

int adifExport(CliContext &context)
{
    const std::string &logFile = context.arg(1, "log file");
    const std::string &adifFile = context.arg(2, "ADIF file");
    LogJob job = openJob(context, logFile, false);
    ExportContext exportContext{*job.log, *job.countries};
    ExportResult result = ExportLog(exportContext, adifFile, AdifFilter(), RecordFormat::Adif);
    if (!result.written)
        return 1;
    std::cout << "{\"file\":" << JsonString(adifFile) << ",\"qsos\":" << result.qsos << "}\n";
    return 0;
}

int adifCommand(CliContext &context)
{
    const std::string &verb = context.arg(0, "adif command (import, export)");
    if (verb == "import")
        return adifImport(context);
    if (verb == "export")
        return adifExport(context);
    throw CliError("unknown adif command '" + verb + "' (import, export)");
}

} // namespace

VELLUM_CLI_COMMAND("adif",
                   "adif import LOG FILE [--dupes stop|replace|ignore] [--prefix-zone keep|import] | "
                   "adif export LOG FILE",
                   adifCommand);

} // namespace vellum::cli
