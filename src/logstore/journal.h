#pragma once
// The journal of the open log: every change of the log appended to a file beside
// it and flushed to the disk before the change is acknowledged, so that the last
// saved log plus the journal replayed gives back every acknowledged change after
// an abnormal end.
//
// File format (all numbers little-endian):
//
//   header (28 bytes)
//     "VLJ1"                    magic
//     u16 version (1)           u16 reserved (0)
//     u32 log size low, u32 log size high     } the log file the journal continues,
//     u32 mtime ns low, u32 mtime ns high     } as it was when the journal was started
//     u32 CRC-32 of the 24 bytes before it
//   entries, one after the other
//     u32 length                of kind + payload (1 .. JournalMaxEntryLength)
//     u32 sequence              1, 2, 3, ... without gaps
//     u8  kind                  JournalKind
//     payload                   below
//     u32 CRC-32                over sequence, kind and payload
//
// Payloads. A QSO is its 75 stored bytes (StoreQso) followed by its note as
// u8 length + characters (at most 255). A text is u8 length + characters, a file
// name u16 length + characters (at most JournalMaxFileName).
//   QsoAdded       QSO                      QsoDeleted  QSO as it was
//   QsoReplaced    old QSO, new QSO         BulkChange  u32 n, then n times old QSO, new QSO
//   QsosDeleted    u32 n, then the n QSOs as they were (deleted together)
//   NoteSet        call text (12), note text (255)      NoteDeleted  call text (12)
//   SwlAdded       SWL record (23 bytes, StoreSwl)      SwlDeleted   SWL record
//   GroupNames     u16 n, n names as texts (25 each)
//   Selections     u16 n, n selections of 64 bytes (StoreSelection, entry 0 "All QSOs"
//                  included), i32 index in force
//   Checkpoint     file name: the log was written to that file at this point
// Texts longer than their capacity are cut on the way in.
//
// Reading stops at the first entry that is cut off, fails its CRC or its
// payload, or breaks the sequence. The end of a journal cut by a power loss is
// a torn tail (normal); a bad entry with more bytes after it is damage.

#include "notes.h"
#include "qsorec.h"
#include "selection.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vellum {

class TQsoData;

/// The journal's name beside the log: the extension's last letter replaced by
/// "J" in the same case ("QQ0QQ.VLL" -> "QQ0QQ.VLJ"); ".VLJ" added to a name without one.
std::string JournalFileName(const std::string &logFileName);

/// Which log file a journal continues: its size and modification time.
struct JournalIdentity {
    std::uint64_t Size = 0;
    std::int64_t MTimeNs = 0; ///< nanoseconds since 1970
    bool operator==(const JournalIdentity &) const = default;
};

/// The identity of the log file now; {0, 0} when there is no such file (a new log).
JournalIdentity LogFileIdentity(const std::string &logFile);
/// Whether the log file is still the one the journal was started on.
bool JournalMatchesLog(const JournalIdentity &journal, const std::string &logFile);

/// CRC-32 (IEEE 802.3, reflected, as zlib computes it); crc continues an earlier result.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

enum class JournalKind : std::uint8_t {
    QsoAdded = 1,
    QsoDeleted = 2,
    QsoReplaced = 3,
    NoteSet = 4,
    NoteDeleted = 5,
    SwlAdded = 6,
    SwlDeleted = 7,
    GroupNames = 8,
    Selections = 9,
    BulkChange = 10,
    Checkpoint = 11,
    QsosDeleted = 12,
};

inline constexpr std::size_t JournalHeaderSize = 28;
/// Largest length of an entry (kind + payload) written or read: room for a bulk
/// change of more than a million QSOs with notes.
inline constexpr std::uint32_t JournalMaxEntryLength = 512u << 20;
inline constexpr std::size_t JournalMaxFileName = 4096;

/// One change of the log. Only the members of its kind are used: Qsos holds the
/// added or deleted QSO, old and new of a replacement, or the (old, new) pairs of
/// a bulk change one after the other; Call and Text the note (Text also the
/// checkpoint's file name).
struct JournalEntry {
    JournalKind Kind = JournalKind::Checkpoint;
    std::vector<TQsoRec> Qsos;
    std::string Call;
    std::string Text;
    TSwlRec Swl;
    std::vector<std::string> GroupNames;
    std::vector<TSelection> Selections;
    std::int32_t SelIndex = 0;

    static JournalEntry QsoAdded(const TQsoRec &qso);
    static JournalEntry QsoDeleted(const TQsoRec &qso);
    static JournalEntry QsoReplaced(const TQsoRec &oldQso, const TQsoRec &newQso);
    static JournalEntry BulkChange(std::vector<std::pair<TQsoRec, TQsoRec>> changes);
    static JournalEntry QsosDeleted(std::vector<TQsoRec> qsos);
    static JournalEntry NoteSet(std::string_view call, std::string_view text);
    static JournalEntry NoteDeleted(std::string_view call);
    static JournalEntry SwlAdded(const TSwlRec &swl);
    static JournalEntry SwlDeleted(const TSwlRec &swl);
    static JournalEntry GroupNamesSet(const std::vector<std::string> &names);
    static JournalEntry SelectionsSet(const std::vector<TSelection> &selections, std::int32_t index);
    static JournalEntry Checkpoint(std::string_view writtenTo);
};

/// The entry's kind and payload as stored (the part between sequence and CRC
/// without the sequence); texts are cut to their capacities.
std::vector<std::uint8_t> EncodeJournalPayload(const JournalEntry &entry);
/// The whole stored entry: length, sequence, kind, payload, CRC. Throws EFileError
/// when it is longer than JournalMaxEntryLength.
std::vector<std::uint8_t> EncodeJournalEntry(std::uint32_t sequence, const JournalEntry &entry);
/// The 28-byte header.
std::vector<std::uint8_t> EncodeJournalHeader(const JournalIdentity &logIdentity);

/// Appends entries to a journal file, each one on the disk (fdatasync) before
/// Append returns. Every failed write or sync throws EFileError naming the file;
/// the caller then must not acknowledge the change. After a failed append the
/// file is cut back to its last whole entry.
class JournalWriter {
public:
    JournalWriter() = default;
    ~JournalWriter();
    JournalWriter(const JournalWriter &) = delete;
    JournalWriter &operator=(const JournalWriter &) = delete;

    /// Creates or empties the journal file with a header naming the log file's
    /// identity, and syncs the file and its directory.
    void Open(const std::string &journalFile, const JournalIdentity &logIdentity);
    /// Writes one entry with the next sequence number and syncs it.
    void Append(const JournalEntry &entry);
    /// After the log was saved: an empty journal continuing the saved file.
    void Reset(const JournalIdentity &logIdentity);
    /// Closes and deletes the journal file (the log was closed cleanly).
    void Remove();

    bool IsOpen() const { return m_fd >= 0; }
    const std::string &FileName() const { return m_fileName; }
    /// The sequence number the next entry gets.
    std::uint32_t NextSequence() const { return m_sequence; }

private:
    void close();
    void writeAll(std::span<const std::uint8_t> bytes, const char *what);
    void sync(const char *what);
    [[noreturn]] void fail(const char *what, int error);

    std::string m_fileName;
    int m_fd = -1;
    std::uint64_t m_length = 0; ///< bytes of the header and the whole entries
    std::uint32_t m_sequence = 1;
};

enum class JournalState {
    Complete, ///< every byte belongs to a whole, valid entry
    TornTail, ///< the last entry is cut off or bad with nothing after it (a power loss)
    Damaged,  ///< a bad entry or a break in the sequence with more bytes after it
    NoHeader, ///< too short for a header, or not a journal
};

struct JournalContents {
    JournalState State = JournalState::NoHeader;
    JournalIdentity Identity;
    std::vector<JournalEntry> Entries; ///< every valid entry before the first bad one
    std::size_t ValidLength = 0;       ///< bytes of the header and the valid entries
    std::string Problem;               ///< what was wrong and where; empty when Complete
};

/// Reads a journal's bytes; survives any bytes.
JournalContents ReadJournal(std::span<const std::uint8_t> bytes);
/// Reads a journal file; throws EFileError when it cannot be read.
JournalContents ReadJournalFile(const std::string &journalFile);

struct ReplayCounts {
    std::int64_t Applied = 0; ///< entries that changed the log
    std::int64_t Skipped = 0; ///< entries the log already contained
};

/// Applies the entries to a log loaded from the last saved file, through the
/// log's operations. Idempotent: an entry whose change the log already holds is
/// skipped. A QSO is "there" when one with its master key (date, time, call, band,
/// mode) is, since later entries may have changed its other fields: an add of a
/// QSO there, a delete of one not there, a replacement or bulk change whose old
/// QSO is gone and whose new one is there are skipped (a deletion of many QSOs
/// when none of them is there); a replacement whose old and
/// new QSO are both missing adds the new one. Notes, SWL records, group names and
/// selections already as given are skipped. Checkpoints change nothing and are
/// not counted.
ReplayCounts ReplayJournal(TQsoData &log, const std::vector<JournalEntry> &entries);

/// What the journal of a log that was not closed cleanly holds.
struct PendingJournal {
    JournalContents Contents;
    bool MatchesLog = true;    ///< the log file is the one the journal continues
    std::string Checkpoint;    ///< the file the log was last written to before the entries to replay, if any:
                               ///< the log to replay them on is that file (when it still exists)
    std::vector<JournalEntry> ToReplay; ///< the changes after the last checkpoint
};

/// The journal beside a log file; nothing when there is none or it holds no change.
/// A journal that cannot be read is reported as damaged with no change to replay.
std::optional<PendingJournal> FindPendingJournal(const std::string &logFile);

} // namespace vellum
