#pragma once
// What the text imports of the QSL-manager, manager-address and IOTA editors
// share: walking the lines of a cp1252 text, counting what each line did, the
// report shown afterwards, and the dialogue around an import (read the file,
// ask whether to delete what is there, import, report).

#include "logstore/services.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

/// The counters of an import, in the order the reports show them.
enum class ImportCount { Deleted, Added, Replaced, Skipped, Dupes, Errors };

/// What an import did. Every line that could not be used is an error, kept
/// with its line number, the reason and the line itself.
struct ImportReport {
    int deleted = 0, added = 0, replaced = 0, skipped = 0, dupes = 0, errors = 0;
    std::vector<std::string> errorLines; ///< "line 3: <reason>: <line>", at most MaxErrorLines

    static constexpr std::size_t MaxErrorLines = 10;
    void Error(int lineNumber, std::string_view reason, std::string_view line);
    int Count(ImportCount which) const;
};

/// "Deleted : 2\rAdded   : 5\r..." for the counters named, one per line, then
/// (when there were errors) an empty line and the first error lines.
std::string ImportReportText(const ImportReport &report, const std::vector<ImportCount> &shown);

/// Calls line(number, text) for every line of text (numbered from 1, without
/// its "\r\n" or "\n"), skipping lines that hold only blanks. Advances the
/// progress service, when given, by the bytes done.
void ForEachImportLine(std::string_view text, ProgressService *progress,
                       const std::function<void(int number, std::string_view line)> &line);

/// The report of an import that starts: when deleteExisting, the rows are
/// emptied and counted as deleted.
template <typename Rows>
ImportReport StartImport(Rows &rows, bool deleteExisting)
{
    ImportReport report;
    if (deleteExisting) {
        report.deleted = rows.Count();
        rows.Clear();
    }
    return report;
}

/// Reads a whole file; a file that cannot be read is shown as an error naming
/// it, and gives nothing.
std::optional<std::vector<std::uint8_t>> ReadFileOrTell(const std::string &fileName, UserNotifier &notifier);

/// One import of an editor.
struct TextImportJob {
    std::string fileName;
    std::string question; ///< "Do you want to DELETE existing ..."
    std::vector<ImportCount> shown;
    /// Imports the text; deleteExisting when the user answered Yes.
    std::function<ImportReport(std::string_view text, bool deleteExisting, ProgressService *progress)> import;
};

/// The import job of a working copy that has Import(), DeleteQuestion and ReportCounts().
template <typename Rows>
TextImportJob ImportJobOf(Rows &rows, std::string fileName)
{
    return {std::move(fileName), Rows::DeleteQuestion, Rows::ReportCounts(),
            [&rows](std::string_view text, bool deleteExisting, ProgressService *progress) {
                return rows.Import(text, deleteExisting, progress);
            }};
}

/// Reads the job's file, asks its question (Yes/No), imports with the answer and
/// shows the report. A file that cannot be read is reported as an error before
/// the question is asked, and nothing is imported: the result is false.
bool RunTextImport(const TextImportJob &job, UserNotifier &notifier, ProgressService *progress);

/// Writes an export file through the safe writer and reports
/// the counted noun of rows ("12 Managers ") + " written". A failure is reported as an error
/// naming the file; the result is then false.
bool WriteExportFile(const std::string &fileName, std::string_view text, std::int64_t rows, std::string_view noun,
                     bool cycleFiles, UserNotifier &notifier);

} // namespace vellum
