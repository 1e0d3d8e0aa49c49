#include "textimport.h"

#include "logstore/fileio.h"
#include "logstore/trim.h"

#include <span>

namespace vellum {

namespace {
const char *const CountLabels[] = {"Deleted : ", "Added   : ", "Replaced: ", "Skipped : ", "Dupes   : ", "Errors  : "};

/// "No Manager ", "One Manager ", "12 Managers ": the counted noun of the
/// program's reports, always followed by one blank.
std::string countedNoun(std::int64_t n, std::string_view noun)
{
    std::string count = n == 0 ? "No" : n == 1 ? "One" : std::to_string(n);
    return count + " " + std::string(noun) + (n > 1 ? "s " : " ");
}
} // namespace

void ImportReport::Error(int lineNumber, std::string_view reason, std::string_view line)
{
    ++errors;
    if (errorLines.size() < MaxErrorLines)
        errorLines.push_back("line " + std::to_string(lineNumber) + ": " + std::string(reason) + ": " +
                             std::string(line.substr(0, 80)));
}

int ImportReport::Count(ImportCount which) const
{
    switch (which) {
    case ImportCount::Deleted: return deleted;
    case ImportCount::Added: return added;
    case ImportCount::Replaced: return replaced;
    case ImportCount::Skipped: return skipped;
    case ImportCount::Dupes: return dupes;
    case ImportCount::Errors: return errors;
    }
    return 0;
}

std::string ImportReportText(const ImportReport &report, const std::vector<ImportCount> &shown)
{
    std::string text;
    for (ImportCount which : shown) {
        if (!text.empty())
            text += '\r';
        text += CountLabels[static_cast<int>(which)] + std::to_string(report.Count(which));
    }
    if (!report.errorLines.empty()) {
        text += "\r";
        for (const std::string &line : report.errorLines)
            text += "\r" + line;
        if (report.errors > static_cast<int>(report.errorLines.size()))
            text += "\r... and " + std::to_string(report.errors - static_cast<int>(report.errorLines.size())) +
                    " more";
    }
    return text;
}

void ForEachImportLine(std::string_view text, ProgressService *progress,
                       const std::function<void(int number, std::string_view line)> &line)
{
    std::size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view current = text.substr(start, end - start);
        if (!current.empty() && current.back() == '\r')
            current.remove_suffix(1);
        ++number;
        if (!Trim(current).empty())
            line(number, current);
        start = end + 1;
        if (progress && number % 256 == 0) {
            progress->advance(static_cast<std::int64_t>(start));
            progress->processPendingEvents();
        }
    }
}

std::optional<std::vector<std::uint8_t>> ReadFileOrTell(const std::string &fileName, UserNotifier &notifier)
{
    try {
        return ReadWholeFile(fileName);
    } catch (const std::exception &e) {
        notifier.error(e.what());
        return std::nullopt;
    }
}

bool RunTextImport(const TextImportJob &job, UserNotifier &notifier, ProgressService *progress)
{
    std::optional<std::vector<std::uint8_t>> file = ReadFileOrTell(job.fileName, notifier);
    if (!file)
        return false;
    const std::vector<std::uint8_t> &bytes = *file;
    bool deleteExisting = notifier.confirm(job.question, Buttons::YesNo) == Answer::Yes;
    std::string_view text(reinterpret_cast<const char *>(bytes.data()), bytes.size());
    if (progress)
        progress->begin("Reading " + job.fileName, static_cast<std::int64_t>(bytes.size()));
    ImportReport report = job.import(text, deleteExisting, progress);
    if (progress)
        progress->end();
    notifier.information(ImportReportText(report, job.shown));
    return true;
}

bool WriteExportFile(const std::string &fileName, std::string_view text, std::int64_t rows, std::string_view noun,
                     bool cycleFiles, UserNotifier &notifier)
{
    try {
        WriteWholeFile(fileName,
                       std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()),
                       cycleFiles);
    } catch (const std::exception &e) {
        notifier.error(e.what());
        return false;
    }
    notifier.information(countedNoun(rows, noun) + " written");
    return true;
}

} // namespace vellum
