#include "exportlog.h"

#include "adifwriter.h"
#include "delimitedline.h"
#include "filterformats.h"
#include "filterwriter.h"
#include "importfilter.h"
#include "notesfile.h"
#include "prefixmap.h"

#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"
#include "logstore/selection.h"

#include <algorithm>
#include <functional>

namespace vellum {

namespace {

constexpr std::size_t FlushSize = 256 * 1024;

using WriteRecord = std::function<void(std::string &, const TQsoRec &)>;

/// Writes the records of the QSOs admitted, in the browse order, after the
/// header and before the trailer.
std::int64_t writeRecords(ExportContext &context, TStream &stream, const WriteRecord &write, bool useFilter,
                          std::string header, std::string_view trailer)
{
    TQsoData &log = context.log;
    const TBAI<TQsoRec> &view = log.ViewIndex();
    ProgressService &progress = log.progress();
    std::string buffer = std::move(header);
    std::int64_t written = 0;
    const std::int32_t step = std::max<std::int32_t>(view.Count() / 256, 1024);
    for (std::int32_t i = 0; i < view.Count(); ++i) {
        const TQsoRec &qso = *view.Get(i);
        if (!InSelection(log.CurSelection, qso) || (useFilter && !context.qsoFilter->Matches(qso)))
            continue;
        write(buffer, qso);
        ++written;
        if (buffer.size() >= FlushSize) {
            stream.Write(buffer.data(), buffer.size());
            buffer.clear();
        }
        if (i % step == 0)
            progress.advance(i);
    }
    buffer += trailer;
    stream.Write(buffer.data(), buffer.size());
    return written;
}

} // namespace

ExportResult ExportLog(ExportContext &context, const std::string &fileName, const ImportFilter &filter,
                       RecordFormat format)
{
    TQsoData &log = context.log;
    ExportResult result;
    if (format == RecordFormat::Filter) {
        std::vector<std::string> problems = FilterProblems(filter);
        if (!problems.empty()) {
            log.notifier().error("The filter " + filter.Id.str() + " cannot write " + fileName + ": " +
                                 problems.front() + ". Nothing was written.");
            return result;
        }
    }
    bool useFilter = false;
    if (context.qsoFilter && context.qsoFilter->IsSetUp()) {
        Answer answer = log.notifier().confirm(ExportText::UseQsoFilter, Buttons::YesNoCancel);
        if (answer == Answer::Cancel)
            return result;
        useFilter = answer == Answer::Yes;
    }
    log.progress().begin("Writing QSOs " + fileName, log.ViewIndex().Count());
    try {
        std::optional<PrefixMap> prefixMap =
            PrefixMap::Load(context.importDir.empty() ? ImportDir() : context.importDir, filter.Id.view());
        const PrefixMap *map = prefixMap ? &*prefixMap : nullptr;
        SafeFileWriter writer(fileName);
        if (format == RecordFormat::Adif) {
            AdifSources sources{context.countries, log.Notes, map};
            result.qsos = writeRecords(
                context, writer.Stream(),
                [&](std::string &out, const TQsoRec &qso) { WriteAdifRecord(out, qso, sources); }, useFilter,
                AdifHeaderLine(), "\r\n"); // an empty line after the last record
        } else {
            log.Notes.ClearMarks();
            FilterWriteSources sources{context.countries, log.Notes, map, context.config};
            result.qsos = writeRecords(
                context, writer.Stream(),
                [&](std::string &out, const TQsoRec &qso) { WriteFilterRecord(out, qso, filter, sources); },
                useFilter, IsDelimitedFilter(filter) ? DelimitedTitleLine(filter) + "\r\n" : std::string(), {});
        }
        writer.Commit(log.settings().cycleFiles());
        if (format == RecordFormat::Filter && !filter.NoteExt.empty()) {
            log.progress().end();
            log.progress().begin("Writing the notes " + NotesFileName(fileName, filter), 1);
            result.notes = WriteNotesFile(fileName, filter, log.Notes, log.settings().cycleFiles());
        }
        result.written = true;
    } catch (const EFileError &e) {
        log.progress().end();
        log.notifier().error(std::string("Cannot export: ") + e.what() + ". Nothing was written.");
        return result;
    }
    log.progress().end();
    log.notifier().information(CountedNoun(result.qsos, "QSO") + "exported to " + fileName);
    return result;
}

} // namespace vellum
