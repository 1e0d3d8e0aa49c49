#pragma once
// QSO entry without a window: the five modes and their transitions, the working
// QSO as the user typed it, the field rules, the checks before a QSO is added or
// updated, call processing, the contest number and note, Confirm/Label with the
// label queue, the award alert, browsing and searching the log, and the entry
// points of the station windows (radio, spots, rotator, macros). The QSO window
// shows this state and passes keys and edits to it; tests drive it directly.

#include "qsofields.h"
#include "qsologic.h"
#include "qsosearch.h"

#include "app/qsomode.h"
#include "logstore/qsorec.h"
#include "logstore/services.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vellum {

class ParallelPortOutput;
class ProgramContext;
class TQsoData;
class UserNotifier;

/// What QSO entry tells the window showing it (and whoever listens in its place).
class QsoEntryEvents {
public:
    virtual ~QsoEntryEvents() = default;
    /// Fields, lists, labels or the mode changed: show them again.
    virtual void StateChanged() {}
    virtual void Focus(QsoField field) { (void)field; }
    virtual void Beep() {}
    /// The call, the position or the QSO shown changed: the companion windows refresh.
    virtual void CompanionsDue() {}
    /// Band or mode changed: the summary panels move their highlight.
    virtual void HighlightDue() {}
    /// Call, prefix, band or mode changed: RefreshCustomAwards is due (once, later).
    virtual void CustomAwardsDue() {}
    /// A QSO was added, changed or deleted, or the filter changed: the logbook shows it.
    virtual void LogEdited() {}
    /// The contest number to show; 0 hides it.
    virtual void ContestNumber(int number) { (void)number; }
    /// The window size step or the Tab stops changed.
    virtual void LayoutChanged() {}
    /// A field's check failed: its list opens for the user to choose from (F1).
    virtual void ListDue(QsoField field) { (void)field; }
    /// The call was typed: the windows that follow every keystroke look it up.
    virtual void CallEdited() {}
};

/// What follows Confirm/Label (F2): staying on the QSO, the next QSO, or a new search.
enum class AfterConfirm { SameQso = 0, NextQso = 1, NewSearch = 2 };

/// The fields whose entity "Check other QSOs" (Alt+O) looks for in the log.
enum class OtherQsosOf { County, CustomAward, AwardValueList, AwardValueTyped };

/// A list to choose from for a field (F1): its caption, the entries and where choosing starts.
/// Where the station of the QSO is (the QSO window's direction and distance).
struct QsoLocation {
    std::string key;  ///< the grid, IOTA reference, state or country prefix the point came from
    GeoPoint where;
    int bearing = 0;  ///< from home, whole degrees
};

struct FieldChoices {
    std::string title;
    std::vector<std::pair<std::string, std::string>> entries;
    int firstChoosable = 0; ///< entries before it are headings
};

/// What the keyer's and PSK31's macros take from the QSO being entered.
struct QsoMacroFields {
    std::string call;
    std::string rstSent;
    std::string rstRcvd;
    std::string received;  ///< the received exchange
    std::string callNotes;
    int contestNumber = 0; ///< the number the main window shows; 0 when none is shown
};

/// The contest settings as the Contest Mode dialog shows them.
struct ContestTexts {
    bool enabled = false;
    std::string date, time, number, note;
};

class QsoEntry {
public:
    using DateRangeAsker = std::function<std::pair<std::uint16_t, std::uint16_t>(std::uint16_t)>;

    /// lookups: QSL managers and IOTA references (null: those of the country data).
    QsoEntry(ProgramContext &context, TQsoData &log, QsoLookups *lookups = nullptr);
    ~QsoEntry();
    QsoEntry(const QsoEntry &) = delete;
    QsoEntry &operator=(const QsoEntry &) = delete;

    void SetEvents(QsoEntryEvents *events) { m_events = events ? events : &m_noEvents; }
    /// What decides whether a QSO is shown; the default is the log's selection in force.
    void SetAdmits(std::function<bool(const TQsoRec &)> admits);
    /// Asks the date range of a Range date search; without one the range is [date, open end].
    void SetDateRangeAsker(DateRangeAsker asker) { m_dateRangeAsker = std::move(asker); }
    /// The first state: the last QSO in Browse, or adding off-line in an empty log.
    void Start();

    // --- the working QSO ---------------------------------------------------------
    const std::string &Text(QsoField field) const { return m_text[index(field)]; }
    int Index(QsoList list) const { return m_index[index(list)]; }
    /// The items of a list; the custom award lists follow the QSO.
    std::vector<std::string> Items(QsoList list) const;
    /// The custom awards of Fqso_awdtype: name and identifier, "---" first.
    const std::vector<std::pair<std::string, std::string>> &AwardChoices() const { return m_awardChoices; }
    int MaxLength(QsoField field) const;
    /// The user typed: the text as it now stands (cp1252).
    void Edit(QsoField field, std::string text);
    /// The user left a field (or pressed Enter in it).
    void Leave(QsoField field);
    /// The user chose an item of a list.
    void Choose(QsoList list, int index);
    /// A field got the focus.
    void Entered(QsoField field);
    /// Sets a field or list as a program would (other windows filling a search), without the field rules.
    void Set(QsoField field, std::string text);
    void Select(QsoList list, int index);

    const std::string &CountryName() const { return m_countryName; }
    const std::string &DirectionText() const { return m_direction; }
    std::int16_t Country() const { return m_country; }
    bool CallIsDupe() const { return m_dupe; }
    /// Whether the custom award value is typed (Fqso_awdval) or chosen (Fqso_awdsel), if either is shown.
    bool AwardValueTyped() const;
    bool AwardValueListed() const;
    /// Whether the fields differ from the QSO as shown.
    bool FormChanged() const;
    /// Whether a field failed its check and shows the error colour.
    bool FieldFailed(QsoField field) const { return m_failed[index(field)]; }
    /// The length of the report fields for the mode shown: 2 for modes with
    /// two-digit reports ("99"), else 3 ("99!", the third character a digit or letter).
    int ReportLength() const;
    /// The call the companion windows show: the call field's, or while it is empty
    /// the call of a spot shown in its place.
    std::string CompanionCall() const;
    /// Whether a list takes choices: adding in real time with a radio connected, the
    /// radio sets the band, and the mode too unless "Ignore Mode in real-time" is on.
    bool ListEnabled(QsoList list) const;

    // --- modes -------------------------------------------------------------------
    QsoWindowMode Mode() const { return m_mode; }
    void AddRealTime();
    void AddOffline();
    /// Asks to leave the present mode (saving or dropping a QSO being entered, offering
    /// to keep a correction); false when the user cancels or a check failed.
    bool AgreeToLeaveMode();
    void EnterPressed();
    void EscapePressed();

    // --- changing the log --------------------------------------------------------
    /// Adds the QSO being entered; false (after telling the user) when a check fails.
    bool AddQso();
    /// Updates the QSO shown with the fields; false when a check fails (the log unchanged).
    bool UpdateQso();
    void DeleteQso();
    /// Clears the fields of the QSO being entered; date, time, mode and band stay.
    void ClearQso();
    /// F2: marks the QSO shown confirmed and/or queued for its QSL label, as set up,
    /// then moves on as F_F2_NextQSO says (or as after says).
    void ConfirmLabel();
    void ConfirmLabel(AfterConfirm after);
    /// Alt+O: whether the entity of a field was worked already, and how well (a message).
    void CheckOtherQsos(OtherQsosOf what);

    // --- browsing ----------------------------------------------------------------
    const TQsoRec *ShownQso() const;
    std::int32_t Position() const { return m_position; }
    std::int32_t BrowseCount() const;
    void GoNext();
    void GoPrevious();
    void GoFirst();
    void GoLast();
    void GoNextSorted();
    void GoPreviousSorted();
    /// Moves to the shown QSO nearest to a position of the browse order (the scroll bar).
    void GoTo(std::int32_t position);
    /// Shows this QSO at its position in the browse order (Browse, or Filtered when filtered).
    void ShowQso(const TQsoRec *rec);
    void SetSortOrder(int key);
    /// The window caption: the log's name, its order and the selection in force.
    std::string Caption() const;
    /// The log changed behind the entry (a merge, an import): show it again.
    void RefreshFromLog();
    /// A new selection was put in force: show the first QSO it admits.
    void SelectionChanged();

    // --- searching ---------------------------------------------------------------
    /// Search entry with empty fields, or with those of the previous search.
    void StartSearch(bool useOldFilter);
    /// Enter in search entry: browses the matching QSOs; false when none matches.
    bool RunSearch();
    /// Counts the QSOs shown (selection and search) and says "n QSOs found".
    std::int64_t CountQsos();
    void CancelFilter();
    /// A search whose fields fill sets, with conditions of the caller's own, run at once.
    bool SearchFor(const std::function<void(QsoEntry &)> &fill, std::vector<SearchCondition> extra = {});
    const QsoFilter &Filter() const { return m_filter; }
    bool MatchesFilter(const TQsoRec &rec) const;
    /// Whether a QSO is shown: the selection admits it and, when filtered, it matches the search.
    bool IsShown(const TQsoRec &rec) const;

    // --- bulk commands -----------------------------------------------------------
    /// The QSOs a bulk command acts on: those the selection admits and, in search
    /// entry (the conditions built from the fields, as Count does) or filtered,
    /// that match the search. The test stays valid while the entry lives.
    std::function<bool(const TQsoRec &)> CommandScope() const;
    /// A bulk command changed the log: the QSO is shown again and the logbook told;
    /// an emptied log goes to adding off-line.
    void LogChangedByCommand();

    // --- field helpers -----------------------------------------------------------
    /// Up and Down in a date or time field: a day or a minute on.
    void StepDate(QsoField field, int days);
    void StepTime(int minutes);
    /// Ctrl+D / Ctrl+T in a note: appends the QSO date, or today.
    void AppendDate(QsoField note, bool today);
    /// Ctrl+R in a note: appends the radio's frequency text (nothing without a radio).
    void AppendRadioFrequency(QsoField note);
    /// F1: the list of a field; nothing (after a message, where there is one) when it has none.
    std::optional<FieldChoices> ChoicesFor(QsoField field);
    void ChooseFrom(QsoField field, const FieldChoices &choices, int chosen);
    /// A note edited in the note editor.
    void SetNote(QsoField note, std::string text);
    /// The manager's address lines (Ctrl+E in the manager field); nothing, after a message, without a manager.
    std::optional<std::vector<std::string>> ManagerAddress();
    void SetManagerAddress(const std::vector<std::string> &lines);

    // --- settings ----------------------------------------------------------------
    ContestTexts ContestSettings() const;
    /// Takes the dialog's texts; false (after a message, nothing changed) when one is wrong.
    bool ApplyContestSettings(const ContestTexts &texts);
    /// The contest settings changed elsewhere.
    void ContestSettingsChanged();
    int WindowSize() const;
    void NextWindowSize();
    std::array<bool, 23> TabDisabled() const;
    void SetTabDisabled(const std::array<bool, 23> &disabled);
    /// Rebuilds the custom award list for the country, band and mode shown.
    void RefreshCustomAwards();

    // --- clock and station windows -----------------------------------------------
    void ClockTick(std::uint16_t day, std::int32_t seconds);
    /// The radio's mode and frequency: band and mode follow.
    void RadioReport(int mode, std::int64_t kHz);
    /// The radio started or stopped, or "Ignore Mode in real-time" changed: the lists' enabling follows.
    void RadioStateChanged() { changed(); }
    /// A spot's call while adding in real time with an empty call field.
    void SpotCall(const std::string &call, std::uint16_t day);
    /// A grabbed spot: a new QSO in real time with its call, band and mode, the
    /// call processed and the focus on the sent report. False when the window
    /// could not leave what it was doing.
    bool TakeSpot(const std::string &call, int band, int mode);
    /// The bearing to the station (for the rotator); nothing when no position is known.
    std::optional<int> Bearing() const;
    /// Where the station is: the key that named the point (grid, IOTA, state or country
    /// prefix), the point and the bearing from home; nothing when no point is known.
    std::optional<QsoLocation> Location() const;
    /// The QSO's fields for the keyer's and PSK31's macros.
    QsoMacroFields MacroFields() const;
    /// Direction and distance from the grid, IOTA, state or country shown.
    void ShowLocation();

    TQsoData &Log() const { return m_log; }
    ProgramContext &Context() const { return m_context; }

private:
    static std::size_t index(QsoField field) { return static_cast<std::size_t>(field); }
    static std::size_t index(QsoList list) { return static_cast<std::size_t>(list); }
    std::string &text(QsoField field) { return m_text[index(field)]; }
    int &list(QsoList list) { return m_index[index(list)]; }
    UserNotifier &notifier() const;
    const TConfigRecord &config() const;
    TConfigRecord &mutableConfig() const;
    bool adding() const { return m_mode == QsoWindowMode::AddRealTime || m_mode == QsoWindowMode::AddOffline; }
    bool browsing() const { return m_mode == QsoWindowMode::Browse || m_mode == QsoWindowMode::Filtered; }
    void changed() { m_events->StateChanged(); }

    // fields (qsoentryfields.cpp)
    void showRecord(const TQsoRec &rec);
    bool readRecord(TQsoRec &rec);
    bool checkFields();
    bool refuse(QsoField field, MessageKind kind, const std::string &text);
    /// A failed field check: the error colour, the message (if any), then the field's list (if any).
    void fail(QsoField field, MessageKind kind, const std::string &message, bool openList);
    void setFailed(QsoField field, bool failed);
    /// Empty, or a whole number from 0 to last.
    bool inRange(QsoField field, int last) const;
    bool iotaAcceptable() const;
    std::uint16_t fieldDate(QsoField field) const;
    void showCallInfo(const CallInfo &info);
    void processCall();
    void prefixLeft();
    void stateLeft();
    void zoneLeft();
    void countyLeft();
    void iotaLeft();
    /// The call resolved at the date shown with state 0 (country, zone, manager), without the latest QSO's data.
    CallInfo resolveCall() const;
    void gridLeft();
    void dateLeft();
    void modeChanged();
    void bandChanged();
    void checkDupe();
    void driveBandDecoder();
    void markUnchanged();
    void customAwardChosen();
    std::string chosenAward() const;
    void showCustomValue(const TQsoRec &rec);
    std::string customValueKey() const;
    void fillAwardValues(std::int32_t award);

    // modes and changes (qsoentry.cpp)
    void setMode(QsoWindowMode mode);
    void prepareBlank(const TQsoRec *previous);
    void leaveAddModes();
    std::string contestNote(const std::string &note) const;
    void storeCallData(const TQsoRec &rec);
    enum class AfterUpdate { NextQso, SameQso };
    /// Checks the fields and writes them into the QSO shown; with labelBehind the QSO joins
    /// the label queue (behind that number, or at its end for 0). False leaves the log as it was.
    bool updateShown(std::optional<std::uint16_t> labelBehind, AfterUpdate after);
    /// Whether the QSO shown may be left: an unsaved edit is updated, dropped or kept as the user says.
    bool keepEdit();
    /// The queued QSO of the same call the user wants this one printed behind; 0 for the end.
    std::uint16_t labelQueuePlace(const TQsoRec &shown);
    void alertContributions(const TQsoRec &confirmed);
    int shownContestNumber() const;
    void updateContestPanel();

    // browsing and search (qsoentrybrowse.cpp)
    QsoNavigator navigator() const;
    void navigate(const std::optional<std::int32_t> &target);
    void showPosition(std::int32_t position);
    void stepSorted(int step);
    SearchFields searchFields() const;
    void applySearchKinds(QsoFilter &filter) const;
    void clearForSearch(bool useOldFilter);

    ProgramContext &m_context;
    TQsoData &m_log;
    std::unique_ptr<QsoLookups> m_ownLookups;
    QsoLookups *m_lookups;
    QsoLogic m_logic;
    QsoEntryEvents m_noEvents;
    QsoEntryEvents *m_events = &m_noEvents;

    std::array<std::string, QsoFieldCount> m_text;
    std::array<int, QsoListCount> m_index{};
    std::array<bool, QsoFieldCount> m_edited{};
    std::array<std::string, QsoFieldCount> m_shownText;
    std::array<int, QsoListCount> m_shownIndex{};
    std::pair<std::string, std::string> m_shownAward; ///< the custom award and value key as shown
    std::vector<std::pair<std::string, std::string>> m_awardChoices; ///< name, identifier of Fqso_awdtype
    std::vector<std::string> m_awardValues;                          ///< long names of Fqso_awdsel
    std::string m_countryName;
    std::string m_direction;
    std::int16_t m_country = 0;
    std::array<bool, QsoFieldCount> m_failed{};
    std::string m_spotCall; ///< a spot's call shown while the call field is empty

    QsoWindowMode m_mode = QsoWindowMode::Browse;
    std::int32_t m_position = -1;
    bool m_clockFollow = false;
    std::int32_t m_lastTime = 0;
    bool m_dupe = false;
    bool m_callChanged = false;
    bool m_callNotesChanged = false;

    std::function<bool(const TQsoRec &)> m_admits;
    QsoFilter m_filter;
    std::unique_ptr<SearchContext> m_searchContext;
    DateRangeAsker m_dateRangeAsker;
    std::optional<std::pair<std::array<std::string, QsoFieldCount>, std::array<int, QsoListCount>>> m_oldSearch;
    std::int32_t m_positionBeforeSearch = -1;
    std::unique_ptr<ParallelPortOutput> m_bandPort;
    bool m_bandPortWarned = false;
};

} // namespace vellum
