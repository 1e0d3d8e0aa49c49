// Reading and writing the log file (formats "B" to "H"; "H" is written).

#include "logfile.h"

#include "qsodata.h"

#include "bytes.h"
#include "fileio.h"
#include "oldformats.h"

#include <array>
#include <cstring>
#include <filesystem>

#include "paths.h"

namespace vellum {

namespace {

constexpr std::size_t GroupNameSize = 26;

std::string readShortText(TStream &stream)
{
    std::uint8_t length = stream.ReadU8();
    std::string text(length, '\0');
    stream.Read(text.data(), length);
    return text;
}

void writeShortText(TStream &stream, std::string_view text)
{
    std::size_t length = std::min<std::size_t>(text.size(), 255);
    stream.WriteU8(static_cast<std::uint8_t>(length));
    stream.Write(text.data(), length);
}

} // namespace

/// One run of ReadLog over one file.
class LogFileReader {
public:
    LogFileReader(TQsoData &log, TStream &stream, char format, LoadMode mode, DuplicateMode duplicates)
        : m_log(log), m_stream(stream), m_format(format), m_load(mode == LoadMode::Load), m_duplicates(duplicates),
          m_converter(format)
    {
    }

    void run()
    {
        m_log.LogHeaderWord = FormatHasHeaderWord(m_format) ? m_stream.ReadU32() : 0;
        readGroupsAndSelections();
        bool stopped = readQsos();
        if (!stopped) {
            readNotes();
            if (FormatHasHeaderWord(m_format) && !m_stream.Eof())
                readSwl();
        }
        m_log.progress().processPendingEvents();
        finishBulk();
    }

    /// Leaves the lists consistent after a failure.
    void finishBulk()
    {
        if (m_inBulk) {
            m_inBulk = false;
            m_log.EndBulkAppend(!m_load || m_inOrder);
        }
        m_log.Notes.EndBulk(m_notesInOrder || !m_load);
        m_log.SwlList.EndBulk(m_swlInOrder || !m_load);
    }

    std::vector<std::string> truncatedNotes;

private:
    void readGroupsAndSelections()
    {
        std::uint16_t groups = m_stream.ReadU16();
        m_stream.ExpectRecords(groups, GroupNameSize, "group names");
        std::array<std::uint8_t, GroupNameSize> name{};
        for (std::uint16_t i = 0; i < groups; ++i) {
            m_stream.Read(name.data(), name.size());
            if (m_load)
                m_log.GroupNames.emplace_back(ShortStringAt(name.data()).substr(0, 25));
        }
        std::uint16_t selections = m_stream.ReadU16();
        m_stream.ExpectRecords(selections, SelectionStoredSize, "selections");
        std::array<std::uint8_t, SelectionStoredSize> bytes{};
        for (std::uint16_t i = 0; i < selections; ++i) {
            m_stream.Read(bytes.data(), bytes.size());
            if (m_load) {
                TSelection selection;
                LoadSelection(bytes, selection);
                m_log.Selections.push_back(selection);
            }
        }
    }

    /// Reads the QSO section; returns true when a duplicate stopped the merge.
    bool readQsos()
    {
        std::uint32_t count = m_stream.ReadU32();
        std::size_t fixed = QsoRecordSize(m_format);
        bool notes = FormatHasQsoNote(m_format);
        m_stream.ExpectRecords(count, fixed + (notes ? 1 : 0), "QSOs");
        m_log.BeginBulkAppend(count, !m_load);
        m_inBulk = true;
        std::string caption = LogText::ReadingQsos;
        if (m_format != CurrentLogFormat)
            caption += std::string(" (converting ") + m_format + " format)";
        m_log.progress().begin(caption, count);
        if (m_load)
            m_log.m_highestPrtSeqNr = 0;
        std::array<std::uint8_t, QsoStoredSize> bytes{};
        const TQsoRec *previous = nullptr;
        for (std::uint32_t i = 0; i < count; ++i) {
            m_stream.Read(bytes.data(), fixed);
            auto rec = std::make_unique<TQsoRec>();
            if (m_format == CurrentLogFormat)
                LoadQso(bytes, *rec);
            else
                m_converter.Convert(std::span<const std::uint8_t>(bytes.data(), fixed), *rec);
            if (notes)
                rec->QsoNote.set(readShortText(m_stream));
            if (!m_load) {
                rec->PrtSeqNr = 0;
                if (std::uint8_t group = m_log.settings().defaultGroup())
                    rec->Group = group;
            }
            m_log.resolver().ResolveCountry(*rec);
            if (m_load) {
                if (previous && CompareDateOrder(previous, rec.get()) > 0)
                    m_inOrder = false;
                previous = rec.get();
                m_log.AppendQso(std::move(rec));
            } else if (!mergeQso(std::move(rec))) {
                m_log.progress().end();
                return true;
            }
            m_log.progress().advance(i + 1);
        }
        m_log.progress().end();
        return false;
    }

    /// Merges one QSO; returns false when a duplicate stops the merge.
    bool mergeQso(std::unique_ptr<TQsoRec> rec)
    {
        TQsoRec *existing = m_log.FindQso(*rec);
        if (!existing) {
            m_log.AppendQso(std::move(rec));
            return true;
        }
        switch (m_duplicates) {
        case DuplicateMode::Stop:
            m_log.notifier().error(std::string(LogText::MergeDuplicateQso) + "\rCall = " + rec->Call.str() +
                                   " Date = " + FormatDate(rec->Date, m_log.settings().dateFormat(), true));
            return false;
        case DuplicateMode::Replace:
            m_log.DeleteQso(existing);
            m_log.AppendQso(std::move(rec));
            return true;
        default:
            return true; // the new record is discarded
        }
    }

    void readNotes()
    {
        std::uint32_t count = m_stream.ReadU32();
        if (count == 0)
            return;
        m_stream.ExpectRecords(count, 14, "notes");
        if (m_load) {
            m_log.Notes.BeginBulk(false);
            m_log.Notes.SetCapacityAll(static_cast<std::int64_t>(m_log.Notes.Count()) + count);
        }
        m_log.progress().begin(LogText::ReadingNotes, count);
        std::array<std::uint8_t, 13> call{};
        const TNoteRec *previous = nullptr;
        for (std::uint32_t i = 0; i < count; ++i) {
            m_stream.Read(call.data(), call.size());
            std::string_view callText = ShortStringAt(call.data()).substr(0, 12);
            std::string text = readShortText(m_stream);
            if (m_load) {
                auto note = std::make_unique<TNoteRec>();
                note->Call = callText;
                note->Text = std::move(text);
                if (previous && CompareNoteOrder(previous, note.get()) > 0)
                    m_notesInOrder = false;
                previous = note.get();
                m_log.Notes.AddRec(std::move(note));
            } else {
                mergeNote(callText, text);
            }
        }
        m_log.progress().end();
    }

    void mergeNote(std::string_view call, const std::string &text)
    {
        std::int32_t position = m_log.Notes.IndexOfCall(call);
        if (position >= 0 && m_log.Notes.Get(position)->Text.find(text) != std::string::npos)
            return;
        if (position >= 0 && m_log.Notes.Get(position)->Text.size() + 1 + text.size() > 255)
            truncatedNotes.emplace_back(call);
        m_log.Notes.AddNote(call, text);
    }

    void readSwl()
    {
        std::uint32_t count = m_stream.ReadU32();
        if (count == 0)
            return;
        m_stream.ExpectRecords(count, SwlStoredSize, "SWL records");
        if (m_load) {
            m_log.SwlList.BeginBulk(false);
            m_log.SwlList.SetCapacityAll(static_cast<std::int64_t>(m_log.SwlList.Count()) + count);
        }
        m_log.progress().begin(LogText::ReadingSwl, count);
        std::array<std::uint8_t, SwlStoredSize> bytes{};
        const TSwlRec *previous = nullptr;
        for (std::uint32_t i = 0; i < count; ++i) {
            m_stream.Read(bytes.data(), bytes.size());
            ByteReader r(bytes);
            auto swl = std::make_unique<TSwlRec>(LoadSwl(r));
            if (m_load) {
                if (previous && CompareSwlOrder(previous, swl.get()) > 0)
                    m_swlInOrder = false;
                previous = swl.get();
                m_log.SwlList.AddRec(std::move(swl));
            } else if (!mergeSwl(std::move(swl))) {
                break;
            }
        }
        m_log.progress().end();
    }

    bool mergeSwl(std::unique_ptr<TSwlRec> swl)
    {
        std::int32_t position = 0;
        if (!m_log.SwlList.Find(swl.get(), position)) {
            m_log.SwlList.AddRec(std::move(swl));
            return true;
        }
        switch (m_duplicates) {
        case DuplicateMode::Stop:
            m_log.notifier().error(std::string(LogText::MergeDuplicateSwl) + "\rSWL = " + swl->Call.str() +
                                   " Date = " + FormatDate(swl->Date, m_log.settings().dateFormat(), true));
            return false;
        case DuplicateMode::Replace:
            m_log.SwlList.DeleteRec(position);
            m_log.SwlList.AddRec(std::move(swl));
            return true;
        default:
            return true;
        }
    }

    TQsoData &m_log;
    TStream &m_stream;
    char m_format;
    bool m_load;
    DuplicateMode m_duplicates;
    OldFormatConverter m_converter;
    bool m_inBulk = false;
    bool m_inOrder = true;
    bool m_notesInOrder = true;
    bool m_swlInOrder = true;
};

namespace {
/// Checks the 9-byte header; returns the format letter or 0 after telling the user.
char checkHeader(TStream &stream, const std::string &fileName, UserNotifier &notifier)
{
    std::uint8_t header[9];
    if (stream.ReadSome(header, 9) < 9) {
        notifier.error("The file is too short to be a log file:\n" + fileName);
        return 0;
    }
    if (header[0] < 7 || std::memcmp(header + 1, "ZAPHLOG", 7) != 0) {
        notifier.error("This is not a log file:\n" + fileName);
        return 0;
    }
    char format = static_cast<char>(header[8]);
    if (format < 'B' || format > 'H') {
        std::string letter = header[8] >= 32 && header[8] < 127 ? std::string(1, format)
                                                                : "byte " + std::to_string(header[8]);
        notifier.error("Unsupported log file format:\n" + fileName + "\n(format " + letter + ")");
        return 0;
    }
    return format;
}

} // namespace

bool TQsoData::ReadLog(const std::string &fileName, LoadMode mode, DuplicateMode duplicates)
{
    observer().stopBackupCountdown();
    std::unique_ptr<TBufferedFileStream> stream;
    try {
        stream = std::make_unique<TBufferedFileStream>(fileName, FileMode::Read);
    } catch (const EFileError &e) {
        std::string why = e.what();
        notifier().error("Cannot open the log file\n" + fileName + "\n" + why.substr(why.rfind(": ") + 2));
        return false;
    }
    return readStream(*stream, fileName, mode, duplicates, true);
}

bool TQsoData::ReadLogStream(TStream &stream, const std::string &sourceName, LoadMode mode, DuplicateMode duplicates)
{
    observer().stopBackupCountdown();
    return readStream(stream, sourceName, mode, duplicates, false);
}

bool TQsoData::readStream(TStream &stream, const std::string &sourceName, LoadMode mode, DuplicateMode duplicates,
                          bool takeSourceName)
{
    char format = checkHeader(stream, sourceName, notifier());
    if (!format)
        return false;
    bool load = mode == LoadMode::Load;
    observer().readingStarted();
    if (load && takeSourceName)
        LogFileName = sourceName;
    LogFileReader reader(*this, stream, format, mode, duplicates);
    bool ok = true;
    try {
        reader.run();
    } catch (const std::exception &e) {
        ok = false;
        reader.finishBulk();
        progress().end();
        if (load) {
            m_qsos.ClearRecs();
            Notes.ClearRecs();
            SwlList.ClearRecs();
        }
        notifier().error(std::string(LogText::FatalRead) + "\n" + sourceName + ": " + e.what());
    }
    observer().readingEnded();
    if (!reader.truncatedNotes.empty())
        notifier().warning("Notes longer than 255 characters were cut while merging, for " +
                           std::to_string(reader.truncatedNotes.size()) + " call(s), the first being " +
                           reader.truncatedNotes.front());
    if (ok && load) {
        MarkSaved();
        observer().showQsoWindow(*this);
    } else if (!load) {
        // What was merged before a failure stays, and must not be dropped at close.
        InvalidateAwardTables();
        observer().refreshAfterMerge(*this);
        SetModified();
    }
    return ok;
}

bool ReadLogBytes(TQsoData &log, std::span<const std::uint8_t> bytes, const std::string &sourceName, LoadMode mode,
                  DuplicateMode duplicates)
{
    TMemoryStream stream(bytes);
    return log.ReadLogStream(stream, sourceName, mode, duplicates);
}

void TQsoData::WriteLog(bool toLogFile, EmptyLog empty)
{
    if (Count() == 0 && empty == EmptyLog::Delete) {
        if (toLogFile && !LogFileName.empty()) {
            std::error_code ec;
            std::filesystem::remove(LogFileName, ec);
            notifier().warning(LogFileName + "\n\nThe log holds no QSOs: the log file was deleted instead of written.");
        }
        return;
    }
    std::string target = toLogFile ? LogFileName : BackupFileName(BackupFile::Log);
    if (toLogFile) {
        observer().diskIndicator(LogObserver::DiskState::Saving);
        progress().begin("Saving QSOs", Count());
    }
    try {
        SafeFileWriter writer(target);
        TStream &out = writer.Stream();
        const std::uint8_t magic[9] = {8, 'Z', 'A', 'P', 'H', 'L', 'O', 'G', CurrentLogFormat};
        out.Write(magic, sizeof magic);
        out.WriteU32(LogHeaderWord);
        out.WriteU16(static_cast<std::uint16_t>(GroupNames.size()));
        for (const auto &name : GroupNames) {
            std::vector<std::uint8_t> bytes;
            ByteWriter(bytes).shortString(name, 25);
            out.Write(bytes.data(), bytes.size());
        }
        out.WriteU16(static_cast<std::uint16_t>(Selections.size() - 1));
        std::array<std::uint8_t, SelectionStoredSize> selection{};
        for (std::size_t i = 1; i < Selections.size(); ++i) {
            StoreSelection(Selections[i], selection);
            out.Write(selection.data(), selection.size());
        }
        out.WriteU32(static_cast<std::uint32_t>(Count()));
        std::array<std::uint8_t, QsoStoredSize> bytes{};
        std::int32_t done = 0;
        for (const TQsoRec *rec : *this) {
            StoreQso(*rec, bytes);
            out.Write(bytes.data(), bytes.size());
            writeShortText(out, rec->QsoNote.text());
            if (toLogFile)
                progress().advance(++done);
        }
        if (toLogFile) {
            progress().end();
            progress().begin("Saving notes", Notes.Count());
        }
        out.WriteU32(static_cast<std::uint32_t>(Notes.Count()));
        std::array<std::uint8_t, 13> call{};
        for (const TNoteRec *note : Notes) {
            call.fill(0);
            call[0] = static_cast<std::uint8_t>(note->Call.size());
            std::memcpy(call.data() + 1, note->Call.data(), note->Call.size());
            out.Write(call.data(), call.size());
            writeShortText(out, note->Text);
        }
        if (toLogFile) {
            progress().end();
            progress().begin("Saving SWL records", SwlList.Count());
        }
        out.WriteU32(static_cast<std::uint32_t>(SwlList.Count()));
        for (const TSwlRec *swl : SwlList) {
            std::vector<std::uint8_t> record;
            ByteWriter w(record);
            StoreSwl(*swl, w);
            out.Write(record.data(), record.size());
        }
        writer.Commit(settings().cycleFiles());
    } catch (...) {
        if (toLogFile) {
            progress().end();
            observer().diskIndicator(m_modified ? LogObserver::DiskState::ModifiedUnsaved
                                                : LogObserver::DiskState::ModifiedInBackup);
        }
        throw;
    }
    if (toLogFile) {
        progress().end();
        MarkSaved();
        afterSave();
        return;
    }
    if (m_modified) {
        m_outOfDate = true;
        observer().diskIndicator(LogObserver::DiskState::ModifiedInBackup);
    }
    m_modified = false;
}

} // namespace vellum
