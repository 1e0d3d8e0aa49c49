#pragma once
// What the import and export commands share: the log they work on with its
// country data, the answers to the import's questions from the options, and
// the import itself with the saving of the log afterwards.

#include "cli.h"

#include "exchange/importlog.h"

#include "country/countrydata.h"
#include "country/resolver.h"
#include "logstore/qsodata.h"

#include <memory>
#include <string>

namespace vellum::cli {

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

/// What one command works on: the country data, the log, and the services the log reads.
struct LogJob {
    std::unique_ptr<TCountryData> countries;
    std::unique_ptr<CountryResolver> resolver;
    std::unique_ptr<QuietInformation> notifier;
    std::unique_ptr<TQsoData> log;
};

/// Opens the log file, or makes a new empty log of that name when the file does
/// not exist and create is set.
LogJob OpenLogJob(CliContext &context, const std::string &fileName, bool create);

/// Imports a file (argument firstArg + 1) into a log file (argument firstArg)
/// through the filter, answering the questions from --dupes and --prefix-zone,
/// prints the summary and saves the log (and the exception calls learned).
/// Returns the exit status.
int RunImportCommand(CliContext &context, std::size_t firstArg, const ImportFilter &filter, RecordFormat format);

/// Exports a log file (argument firstArg) through the filter to a file (argument
/// firstArg + 1) and prints {"file":..,"qsos":..} (with "notes" for a filter export).
int RunExportCommand(CliContext &context, std::size_t firstArg, const ImportFilter &filter, RecordFormat format);

} // namespace vellum::cli
