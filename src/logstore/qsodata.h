#pragma once
// The open log in memory: all QSO records in master order with the call index
// and the browse index, the notes, SWL records, group names and selections.

#include "lists.h"
#include "notes.h"
#include "qsoorders.h"
#include "qsorec.h"
#include "selection.h"
#include "services.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vellum {

class JournalWriter;
struct JournalEntry;
class TStream;

enum class LoadMode { Load, Merge };

/// What writing a log without QSOs does with its file.
enum class EmptyLog { Delete, Write };

/// What a merge does with a QSO (or SWL record) the log already holds.
enum class DuplicateMode : int {
    Stop = 0,     ///< "Issue warning and stop"
    Replace = 1,  ///< "Imported QSO replaces existing QSO (SLOW)"
    Ignore = 2,   ///< "Imported QSO is ignored"
    EmptyLog = 3, ///< the log was empty before merging
};

/// The log file format letter written, and the oldest read.
inline constexpr char CurrentLogFormat = 'H';

/// Data another subsystem keeps with a log for as long as the log exists
/// (the award status blocks of the zones and states, ...).
class LogAttachment {
public:
    virtual ~LogAttachment() = default;
};

/// The open log. The QSOs live in a master list (date order) that owns them,
/// kept in step with the call index (ByCall) and, for browse orders other than
/// Date and Call, a sort index. Readers walk the lists; every change of the lists
/// goes through the operations below, which keep the indexes, the award hooks,
/// the change flags and the observers in step.
///
/// Changing records in place: Get, begin/end and the indexes hand out TQsoRec *,
/// so bulk commands may change fields of records they reach. A field that an order
/// compares (date, time, call, band, mode, country, zone, state, county, grid,
/// group, IOTA, WPX prefix, label number, custom award) may only change when the
/// command calls Resort() afterwards. ChangeQsos does the whole step for the
/// common case.
class TQsoData {
public:
    explicit TQsoData(LogServices services = {});
    ~TQsoData();
    TQsoData(const TQsoData &) = delete;
    TQsoData &operator=(const TQsoData &) = delete;

    // --- members of the log ---
    TNotes Notes;
    TSwlList SwlList;
    std::string LogFileName;
    std::uint32_t LogHeaderWord = 0;
    TSelection CurSelection;
    std::vector<std::string> GroupNames;
    std::vector<TSelection> Selections; ///< entry 0 is "All QSOs"
    int CurSelIndex = 0;
    /// The award model's blocks of this log (zone and state blocks); owned by the log.
    std::unique_ptr<LogAttachment> AwardBlocks;

    const LogServices &Services() const { return m_services; }
    void SetServices(const LogServices &services);

    // --- reading the QSOs ---
    std::int32_t Count() const { return m_qsos.Count(); }
    /// The QSO at a position of the master (date) order.
    TQsoRec *Get(std::int32_t position) const { return m_qsos.Get(position); }
    TQsoRec *const *begin() const { return m_qsos.begin(); }
    TQsoRec *const *end() const { return m_qsos.end(); }
    /// Position of this very record in the master order, -1 when it is none of this log's.
    std::int32_t PositionOf(const TQsoRec *rec) const { return m_qsos.PositionOf(rec); }
    /// The QSO with the same date, time, call, band and mode (the master order's
    /// key), or nullptr. The master list must be sorted (it is, but during a bulk
    /// append begun without keepMasterSorted).
    TQsoRec *FindQso(const TQsoRec &key) const;
    /// The QSOs in call order (Call, Date, Time, Band, Mode).
    const TBAI<TQsoRec> &ByCall() const { return *m_byCall; }
    /// The QSOs in the browse order in force (CurrentSortKey): the master list itself
    /// in the Date order, ByCall in the Call order, else the sort index.
    const TBAI<TQsoRec> &ViewIndex() const;
    SortKey CurrentSortKey() const { return m_sortKey; }
    /// True when some QSO has exactly this call.
    bool HasCall(std::string_view call) const;
    /// Position in ByCall just after the call's last QSO (step back for its QSOs, newest first).
    std::int32_t EndOfCall(std::string_view call) const;

    // --- changes ---
    /// Inserts the record into the master list and every index; the log owns it.
    std::int32_t AddQso(std::unique_ptr<TQsoRec> rec);
    /// Takes the record out of every index and frees it.
    void DeleteQso(TQsoRec *rec);
    /// Deletes these records (those of this log; the rest are ignored) in one pass
    /// over each list, the orders kept: one journal entry, the award tables out of
    /// date (not updated QSO by QSO), the log modified once. The result is the log
    /// DeleteQso one by one leaves. Returns the number deleted.
    std::int64_t DeleteQsos(std::vector<TQsoRec *> records);
    /// Inserts a copy of edited and deletes old; returns the new record.
    TQsoRec *ReplaceQso(const TQsoRec &edited, TQsoRec *old);
    /// Calls change for every QSO in master order; change returns whether it changed
    /// the record. When any changed: Resort(), InvalidateAwardTables(), SetModified().
    /// Returns the number changed.
    std::int64_t ChangeQsos(const std::function<bool(TQsoRec &)> &change);
    /// Sorts again every list whose order records changed in place have broken
    /// (a walk over each list; only a list found out of order is sorted).
    void Resort();
    /// The group names and the selections as a whole (the dialogs' OK), journaled.
    void SetGroupNames(std::vector<std::string> names);
    void SetSelections(std::vector<TSelection> selections);
    /// Adds an SWL record at its key position, journaled; the log is modified.
    void AddSwl(const TSwlRec &swl);
    /// Removes the SWL record at a position of SwlList, journaled; the log is modified.
    void DeleteSwl(std::int32_t position);
    /// Deletes the call's note unless some QSO still has exactly this call.
    void DropNoteIfUnused(std::string_view call);

    // --- bulk appending (the log reader, the ADIF import, the log generator) ---
    /// From here to EndBulkAppend the lists take records at their ends, unsorted,
    /// so appending stays cheap; the master list stays sorted when keepMasterSorted
    /// (a merge looks duplicates up in it). expected: how many QSOs will come (room
    /// is made for them at once).
    void BeginBulkAppend(std::int64_t expected = 0, bool keepMasterSorted = false);
    /// Adds a record read from a file (its WPX prefix is filled in; its label number
    /// raises HighestPrtSeqNr) without telling the award model or the observers: the
    /// caller reports the whole bulk change.
    std::int32_t AppendQso(std::unique_ptr<TQsoRec> rec);
    /// Sorts every list once. masterInOrder: the records came in master order, so
    /// that list is taken as sorted without sorting it.
    void EndBulkAppend(bool masterInOrder = false);

    // --- state ---
    /// Changes not yet saved to the log file nor to the backup file.
    bool IsModified() const { return m_modified; }
    /// Records a change: the disk indicator shows "Modified", the observers start the backup countdown.
    void SetModified();
    /// The memory and the log file agree (saved, loaded or closed): clears the modified
    /// and out-of-date flags and the disk indicator.
    void MarkSaved();
    /// The log file is behind the log: the log was never written, or its last changes
    /// went to the backup file only.
    bool IsOutOfDate() const { return m_outOfDate; }
    void MarkOutOfDate() { m_outOfDate = true; }
    /// Whether the award model's tables of this log count every QSO as it stands.
    bool AwardTablesValid() const { return m_awardTablesValid; }
    /// The next reader of the award tables rebuilds them.
    void InvalidateAwardTables() { m_awardTablesValid = false; }
    /// Called by the award model after a rebuild of this log's tables.
    void MarkAwardTablesValid() { m_awardTablesValid = true; }

    // --- the label queue ---
    /// The highest label sequence number given out (0: the queue is empty).
    std::uint16_t HighestPrtSeqNr() const { return m_highestPrtSeqNr; }
    /// The label sequence number for a QSO about to be queued for labels, or 0 when
    /// the queue is full (the numbers are 16 bits and 0 means "not queued"). With
    /// behind a queued number below the highest, every QSO queued above behind moves
    /// up by one (Resort() keeps the label order, the log is modified) and
    /// behind + 1 is returned; otherwise the highest number plus one.
    /// The highest number counts up in both cases.
    std::uint16_t QueueForLabel(std::uint16_t behind = 0);
    /// After label numbers were cleared: the highest number given out becomes the
    /// largest PrtSeqNr left in the log (0 when none).
    void RecountHighestPrtSeqNr();

    // --- the journal ---
    /// From now on every change of the QSOs and the call notes is written to the
    /// journal beside the log file (JournalFileName) and synced before it is made,
    /// so a change made is a change on disk; an emptied journal continuing the log
    /// file as it is now. Throws EFileError when the journal cannot be written; a
    /// change whose entry cannot be written throws too and is not made. Bulk appends
    /// (reading, merging, importing) are not journaled: JournalCheckpoint after them.
    void StartJournal();
    /// No more journaling; the journal file is deleted (the log was closed).
    void StopJournal();
    bool Journaling() const;
    /// Writes the log to the backup file and notes in the journal that the log as it
    /// stands is there (after an import or a merge, which are not journaled change by change).
    void JournalCheckpoint();

    // --- observers ---
    /// Tells observer of the log's events too, after the one given in the services;
    /// an observer added twice is told once.
    void AddObserver(LogObserver &observer);
    /// The observer is told nothing more (also the one given in the services).
    void RemoveObserver(LogObserver &observer);

    // --- files ---
    /// Reads a log file (load) or merges it into this log. Returns false on failure,
    /// after telling the user.
    bool ReadLog(const std::string &fileName, LoadMode mode, DuplicateMode duplicates);
    /// ReadLog over an open stream (bytes in memory, ...); sourceName names it in the
    /// messages, and the log keeps its own file name.
    bool ReadLogStream(TStream &stream, const std::string &sourceName, LoadMode mode, DuplicateMode duplicates);
    /// Writes the whole log to LogFileName (toLogFile) or to the backup log file.
    /// Throws EFileError when the file cannot be written; the flags then stay as they were.
    /// A log without QSOs deletes its file instead (the file of a log that was emptied
    /// goes), unless EmptyLog::Write asks for the empty file (a new log on disk at once).
    void WriteLog(bool toLogFile, EmptyLog empty = EmptyLog::Delete);
    void CloseLog(bool save);
    /// Makes this (empty) log a new log of that file name; nothing is written yet.
    void NewLog(const std::string &fileName);

    // --- browse order ---
    /// Switches the browse order; viewPosition (the QSO window's position in ViewIndex)
    /// follows the record shown.
    void SetSortKey(SortKey key, std::int32_t &viewPosition);

    // Services with their defaults filled in.
    UserNotifier &notifier() const;
    ProgressService &progress() const;
    const CallResolver &resolver() const;
    AwardHooks &awards() const;
    /// Every observer of the log at once (see LogObserverList).
    LogObserver &observer() const { return m_observers; }
    const LogSettings &settings() const;

private:
    friend class LogFileReader;
    void completeRecord(TQsoRec &rec) const;
    bool readStream(TStream &stream, const std::string &sourceName, LoadMode mode, DuplicateMode duplicates,
                    bool takeSourceName);
    /// Writes the entry ahead of the change it describes (nothing without a journal or during a bulk append).
    void journal(const JournalEntry &entry);
    void afterSave();
    void removeQso(TQsoRec *rec);

    LogServices m_services;
    mutable LogObserverList m_observers;
    TBRSorted<TQsoRec> m_qsos;
    TBAI<TQsoRec> *m_byCall = nullptr;    ///< in m_qsos's index chain, which owns it
    TBAI<TQsoRec> *m_sortIndex = nullptr; ///< likewise; null for the Date and Call orders
    SortKey m_sortKey = SortKey::Date;
    std::unique_ptr<JournalWriter> m_journal;
    bool m_bulk = false;
    bool m_modified = false;
    bool m_outOfDate = false;
    bool m_awardTablesValid = false;
    std::uint16_t m_highestPrtSeqNr = 0;
};

/// Error texts of the log file reader.
namespace LogText {
inline constexpr const char *FatalRead = "A fatal error occured reading the logfile";
inline constexpr const char *MergeDuplicateQso = "Merge aborted because of duplicate QSO";
inline constexpr const char *MergeDuplicateSwl = "Merge aborted because of duplicate SWL";
inline constexpr const char *ReadingQsos = "Reading QSOs";
inline constexpr const char *ReadingNotes = "Reading Notes";
inline constexpr const char *ReadingSwl = "Reading SWL records";
} // namespace LogText

} // namespace vellum
