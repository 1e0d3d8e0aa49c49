// The import and export the commands "adif import/export" and "import"/"export" share.

#include "exchangejob.h"

#include "exchange/exportlog.h"
#include "exchange/importfilter.h"

#include "config/configfile.h"
#include "country/countryfile.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"

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

} // namespace

LogJob OpenLogJob(CliContext &context, const std::string &fileName, bool create)
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

int RunImportCommand(CliContext &context, std::size_t firstArg, const ImportFilter &filter, RecordFormat format)
{
    DuplicatePolicy policy = policyOption(context.takeOption("--dupes", "stop"));
    std::string prefixZone = context.takeOption("--prefix-zone");
    if (!prefixZone.empty() && prefixZone != "keep" && prefixZone != "import")
        throw CliError("--prefix-zone must be keep or import, not '" + prefixZone + "'");
    const std::string &logFile = context.arg(firstArg, "log file");
    const std::string &file = context.arg(firstArg + 1, format == RecordFormat::Adif ? "ADIF file" : "text file");

    LogJob job = OpenLogJob(context, logFile, true);
    TQsoData &log = *job.log;

    // The option answers the question for every QSO, as a setting would.
    TConfigRecord config = Config();
    if (!prefixZone.empty())
        config.imp_action = prefixZone == "import" ? 2 : 1;
    OptionAnswers answers(policy, prefixZone == "import" ? PrefixZoneChoice::Import : PrefixZoneChoice::Vellum);
    ImportContext import{log, *job.countries, *job.resolver, config, answers};
    ImportResult result = ImportLog(import, file, filter, format);
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

int RunExportCommand(CliContext &context, std::size_t firstArg, const ImportFilter &filter, RecordFormat format)
{
    const std::string &logFile = context.arg(firstArg, "log file");
    const std::string &file = context.arg(firstArg + 1, format == RecordFormat::Adif ? "ADIF file" : "text file");
    LogJob job = OpenLogJob(context, logFile, false);
    TConfigRecord config = Config();
    ExportContext exportContext{*job.log, *job.countries, nullptr, {}, &config};
    ExportResult result = ExportLog(exportContext, file, filter, format);
    if (!result.written)
        return 1;
    std::cout << "{\"file\":" << JsonString(file) << ",\"qsos\":" << result.qsos;
    if (format == RecordFormat::Filter)
        std::cout << ",\"notes\":" << result.notes;
    std::cout << "}\n";
    return 0;
}

} // namespace vellum::cli
