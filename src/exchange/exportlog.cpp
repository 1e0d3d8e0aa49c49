#include "exportlog.h"

#include "adifwriter.h"
#include "importfilter.h"
#include "prefixmap.h"

#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"
#include "logstore/selection.h"

#include <algorithm>

namespace vellum {

namespace {

constexpr std::size_t FlushSize = 256 * 1024;

/// Writes the records of the QSOs admitted, in the browse order.
std::int64_t writeRecords(ExportContext &context, TStream &stream, const AdifSources &sources, bool useFilter)
{
    TQsoData &log = context.log;
    const TBAI<TQsoRec> &view = log.ViewIndex();
    ProgressService &progress = log.progress();
    std::string buffer = AdifHeaderLine();
    std::int64_t written = 0;
    const std::int32_t step = std::max<std::int32_t>(view.Count() / 256, 1024);
    for (std::int32_t i = 0; i < view.Count(); ++i) {
        const TQsoRec &qso = *view.Get(i);
        if (!InSelection(log.CurSelection, qso) || (useFilter && !context.qsoFilter->Matches(qso)))
            continue;
        WriteAdifRecord(buffer, qso, sources);
        ++written;
        if (buffer.size() >= FlushSize) {
            stream.Write(buffer.data(), buffer.size());
            buffer.clear();
        }
        if (i % step == 0)
            progress.advance(i);
    }
    buffer += "\r\n"; // an empty line after the last record
    stream.Write(buffer.data(), buffer.size());
    return written;
}

} // namespace

ExportResult ExportLog(ExportContext &context, const std::string &fileName, const ImportFilter &filter,
                       RecordFormat format)
{
    TQsoData &log = context.log;
    ExportResult result;
    if (format != RecordFormat::Adif) {
        log.notifier().error("Cannot export " + fileName + " with the filter " + filter.Id.str() +
                             ": this version writes ADIF files only. Nothing was written.");
        return result;
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
        AdifSources sources{context.countries, log.Notes, prefixMap ? &*prefixMap : nullptr};
        SafeFileWriter writer(fileName);
        result.qsos = writeRecords(context, writer.Stream(), sources, useFilter);
        writer.Commit(log.settings().cycleFiles());
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
