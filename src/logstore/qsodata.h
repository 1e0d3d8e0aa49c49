#pragma once
// The open log in memory: all QSO records in master order with the call index
// and the browse index, the notes, SWL records, group names and selections.

#include "lists.h"
#include "notes.h"
#include "qsoorders.h"
#include "qsorec.h"
#include "selection.h"
#include "services.h"

#include <memory>
#include <string>
#include <vector>

namespace vellum {

enum class LoadMode { Load, Merge };

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

class TQsoData : public TBRSorted<TQsoRec> {
public:
    explicit TQsoData(LogServices services = {});
    ~TQsoData() override;

    // --- members of the log ---
    TBAI<TQsoRec> *ByCall = nullptr;
    TBAI<TQsoRec> *SortIndex = nullptr;
    TBAI<TQsoRec> *ViewIndex = nullptr;
    SortKey CurrentSortKey = SortKey::Date;
    TNotes Notes;
    TSwlList SwlList;
    std::string LogFileName;
    bool Modified = false;
    bool LogOutOfDate = false;
    bool AwardTablesValid = false;
    std::uint32_t LogHeaderWord = 0;
    std::uint16_t HighestPrtSeqNr = 0;
    TSelection CurSelection;
    std::vector<std::string> GroupNames;
    std::vector<TSelection> Selections; ///< entry 0 is "All QSOs"
    int CurSelIndex = 0;
    /// The award model's blocks of this log (zone and state blocks); owned by the log.
    std::unique_ptr<LogAttachment> AwardBlocks;

    const LogServices &Services() const { return m_services; }
    void SetServices(const LogServices &services);

    // --- changes ---
    void SetModified();
    /// Inserts the record into the master list and every index; the log owns it.
    std::int32_t AddQso(std::unique_ptr<TQsoRec> rec);
    /// Takes the record out of every index and frees it.
    void DeleteQso(TQsoRec *rec);
    /// Inserts a copy of edited and deletes old; returns the new record.
    TQsoRec *ReplaceQso(const TQsoRec &edited, TQsoRec *old);
    /// Deletes the call's note unless some QSO still has exactly this call.
    void DropNoteIfUnused(std::string_view call);
    /// True when some QSO has exactly this call.
    bool HasCall(std::string_view call) const;
    /// Position in ByCall just after the call's last QSO (step back for its QSOs, newest first).
    std::int32_t EndOfCall(std::string_view call) const;

    // --- files ---
    /// Reads a log file (load) or merges it into this log. Returns false on failure,
    /// after telling the user.
    bool ReadLog(const std::string &fileName, LoadMode mode, DuplicateMode duplicates);
    /// Writes the whole log to LogFileName (toLogFile) or to the backup log file.
    /// Throws EFileError when the file cannot be written; the flags then stay as they were.
    void WriteLog(bool toLogFile);
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
    LogObserver &observer() const;
    const LogSettings &settings() const;

protected:
    void FreeItem(TQsoRec *item) override { delete item; }

private:
    friend class LogFileReader;
    void completeRecord(TQsoRec &rec) const;
    LogServices m_services;
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
