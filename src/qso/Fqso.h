#pragma once
// The QSO window: logs contacts in real time and off-line, shows, corrects and
// deletes logged ones, and browses the log in every sort order.

#include "qsologic.h"
#include "qsosearch.h"

#include "app/qsowindow.h"

#include <QPointer>

#include <functional>
#include <map>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QWidget;

namespace vellum {

class CountryResolver;
class TMainForm;
class TQsoData;
class UserNotifier;

class TQSOForm : public TQsoWindowBase {
    Q_OBJECT
public:
    TQSOForm(TQsoData &log, TMainForm &main, QsoLookups *lookups = nullptr);
    ~TQSOForm() override;

    // TQsoWindowBase
    QsoWindowMode Mode() const override { return m_mode; }
    bool AgreeToLeaveMode() override;
    void ClockTick(std::uint16_t day, std::int32_t seconds) override;
    void ShowLocation() override;
    void RefreshFromLog() override;
    void StartAddRealTime() override;

    // Commands of the menus
    void AddRealTime();
    void AddOffline();
    /// Enter: add (add modes) or offer to update a changed QSO (Browse, Filtered).
    void EnterPressed();
    /// Esc: leave the add modes.
    void EscapePressed();
    bool AddQso();
    bool UpdateQso();
    void DeleteQso();
    void ClearQso();
    void NextWindowSize();
    void ConfirmLabel();
    void GoNext();
    void GoPrevious();
    void GoFirst();
    void GoLast();
    void GoNextSorted();
    void GoPreviousSorted();
    void SetSortOrder(int key);
    void ContestModeDialog();
    /// Reads the contest settings after they changed.
    void ApplyContestSettings();
    /// "Disable Fields": the fields Tab skips.
    void DisableFieldsDialog();
    /// Applies TabDisabled and the window size to the Tab stops.
    void ApplyTabStops();
    /// F1: the list of the focused field (prefix, state, IOTA, county, group).
    void OpenFieldList(QWidget *field);
    /// Ctrl+E: the note editor for a note field, the address editor for the manager.
    void EditNote(QLineEdit *field);

    // Search (F8, Shift+F8, Count, Cancel Filter)
    /// Enters SearchEntry with empty fields, or with those of the previous search.
    void StartSearch(bool useOldFilter);
    /// Enter in SearchEntry: builds the conditions and browses the matching QSOs.
    bool RunSearch();
    /// "Count": the QSOs shown (selection and search), as "n QSOs found".
    std::int64_t CountQsos();
    void CancelFilter();
    /// "Selection": the selection editor; a new selection in force shows the first QSO it admits.
    void SelectionDialog();
    /// Other windows: a new search whose fields fill sets, plus conditions of their own, run at once.
    bool SearchFor(const std::function<void(TQSOForm &)> &fill, std::vector<SearchCondition> extra = {});
    QsoFilter &Filter() { return m_filter; }
    /// Whether the QSO matches the search set up, running or not.
    bool MatchesFilter(const TQsoRec &rec) const { return m_filter.Matches(rec, *m_searchContext); }
    /// Whether a QSO is shown: the selection admits it and, when filtered, it matches the search.
    bool IsShown(const TQsoRec &rec);
    /// Asks the date range of a Range date search (the "Get date range" dialog); null keeps [date, open end].
    void SetDateRangeAsker(std::function<std::pair<std::uint16_t, std::uint16_t>(std::uint16_t)> asker)
    {
        m_dateRangeAsker = std::move(asker);
    }
    void UpdateCaption();

    /// Rebuilds the custom award list for the country, band and mode shown.
    void RefreshCustomAwards() override;

    // Entry points of other windows
    void RadioReport(int mode, std::int64_t kHz);
    void SpotCall(const std::string &call, std::uint16_t day);

    /// Shows this QSO in Browse (or Filtered) at its position in the browse order.
    void ShowQso(const TQsoRec *rec);
    /// "&Window": opens a companion window (or shows it again).
    void OpenCompanion(int entry);

    /// The QSO shown (Browse, Filtered), null in the add modes or with an empty log.
    const TQsoRec *ShownQso() const;
    std::int32_t Position() const { return m_position; }
    /// What decides whether a QSO is shown (the selection in force); null: all.
    void SetAdmits(std::function<bool(const TQsoRec &)> admits) { m_admits = std::move(admits); }
    bool CallIsDupe() const { return m_dupe; }
    QLineEdit *Field(const char *name) const;
    QComboBox *List(const char *name) const;

    /// Processes the call as on leaving the call field.
    void ProcessCall();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildForm();
    void buildMenus();
    QLineEdit *addLine(QWidget *parent, const char *name, const QString &caption, int maxLength, bool upper);
    QComboBox *addList(QWidget *parent, const char *name, const QString &caption, const QStringList &items);
    void showRecord(const TQsoRec &rec);
    /// Fills a record from the fields; false (after telling the user) when a field is wrong.
    bool readRecord(TQsoRec &rec);
    bool checkFields();
    void showCallInfo(const CallInfo &info);
    void prepareBlank(const TQsoRec *previous);
    void showPosition(std::int32_t position);
    void leaveAddModes();
    void setMode(QsoWindowMode mode);
    void modeChanged();
    void bandChanged();
    void prefixLeft();
    void stateLeft();
    void gridLeft();
    void dateLeft();
    void checkDupe();
    void updateContestPanel();
    void applyWindowSize();
    void updateScrollBar();
    void customAwardChosen();
    /// The chosen award's identifier ("" for "---" or a blank entry).
    std::string chosenAward() const;
    void showCustomValue(const TQsoRec &rec);
    /// The award flags confirming the shown QSO would add, when the user agrees to mark them.
    void alertContributions(const TQsoRec &confirmed);
    void driveBandDecoder();
    /// The next label sequence number for the shown QSO (F2); 0 when none is given.
    std::uint16_t nextSequenceNumber(const TQsoRec &shown);
    void markUnchanged();
    bool formChanged() const;
    void stepDate(QLineEdit *field, int days);
    void stepTime(int minutes);
    void appendToNote(QLineEdit *field, const QString &text, bool blank);
    void navigate(const std::optional<std::int32_t> &target);
    QsoNavigator navigator() const;
    SearchFields searchFields() const;
    /// The call and date search kinds of the settings.
    void applySearchKinds(QsoFilter &filter) const;
    void stepSorted(int step);
    void clearListsForSearch();
    std::uint16_t fieldDate(const char *name) const;
    UserNotifier &notifier() const;

    TQsoData &m_log;
    TMainForm &m_main;
    std::unique_ptr<QsoLookups> m_ownLookups;
    std::unique_ptr<CountryResolver> m_ownResolver; ///< when the log's resolver is not the country data's
    QsoLookups *m_lookups;
    std::unique_ptr<QsoLogic> m_logic;
    std::function<bool(const TQsoRec &)> m_admits;

    QsoWindowMode m_mode = QsoWindowMode::Browse;
    std::int32_t m_position = -1;
    bool m_clockFollow = false;
    std::int32_t m_lastTime = 0;
    bool m_dupe = false;
    bool m_callChanged = false;
    bool m_callNotesChanged = false;
    std::map<QString, QString> m_shownTexts; ///< field texts as shown, to see changes
    std::int16_t m_country = 0;
    QComboBox *m_awardValues = nullptr; ///< Fqso_awdsel
    std::uint16_t m_newSeqNr = 0; ///< set by F2 for the update that follows
    QsoFilter m_filter;
    std::unique_ptr<SearchContext> m_searchContext;
    std::function<std::pair<std::uint16_t, std::uint16_t>(std::uint16_t)> m_dateRangeAsker;
    std::map<QString, QString> m_oldSearchTexts; ///< the fields of the previous search
    std::int32_t m_positionBeforeSearch = -1;
    std::unique_ptr<class ParallelPortOutput> m_bandPort;
    bool m_bandPortWarned = false;

    std::map<QString, QLineEdit *> m_lines;
    std::map<QString, QComboBox *> m_lists;
    QLabel *m_countryName = nullptr;
    QLabel *m_dirDist = nullptr;
    std::vector<QWidget *> m_rows; ///< the rows of the form, for the window size steps
    QAction *m_deleteAction = nullptr;
    QAction *m_updateAction = nullptr;
    QAction *m_confirmAction = nullptr;
};

} // namespace vellum
