#pragma once
// The QSO window: logs contacts in real time and off-line, shows, corrects and
// deletes logged ones, and browses the log in every sort order. It shows the
// state of its QSO entry core and passes keys and edits to it.

#include "qsoentry.h"

#include "app/qsowindow.h"

#include <QHash>
#include <QKeySequence>

#include <array>
#include <functional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;

namespace vellum {

struct FormControl;
class TQsoData;
class WindowHost;

class TQSOForm : public TQsoWindowBase, private QsoEntryEvents {
    Q_OBJECT
public:
    /// lookups: QSL managers and IOTA references (null: those of the country data).
    TQSOForm(TQsoData &log, WindowHost &host, QsoLookups *lookups = nullptr);
    ~TQSOForm() override;

    // TQsoWindowBase
    QsoWindowMode Mode() const override { return m_entry.Mode(); }
    bool AgreeToLeaveMode() override { return m_entry.AgreeToLeaveMode(); }
    void ClockTick(std::uint16_t day, std::int32_t seconds) override { m_entry.ClockTick(day, seconds); }
    void ShowLocation() override;
    void RefreshFromLog() override { m_entry.RefreshFromLog(); }
    void StartAddRealTime() override { m_entry.AddRealTime(); }
    void ApplySizeStep() override { applyWindowSize(); }
    QsoEntry *Entry() override { return &m_entry; }

    /// The control of a field or list.
    QLineEdit *Field(QsoField field) const { return m_fields[static_cast<std::size_t>(field)]; }
    QComboBox *List(QsoList list) const { return m_lists[static_cast<std::size_t>(list)]; }

    // The dialogs of the menus.
    void ContestModeDialog();
    void DisableFieldsDialog();
    void SelectionDialog();
    /// F1: the list of the focused field (prefix, state, IOTA, county, group).
    void OpenFieldList(QsoField field);
    /// Ctrl+E: the note editor for a note field, the address editor for the manager.
    void EditNote(QsoField field);
    /// The popup menu of a control of the form (its list, notes, Check other QSOs); null when it has none.
    /// The caller owns the menu.
    QMenu *PopupMenu(QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // QsoEntryEvents
    void StateChanged() override;
    void Focus(QsoField field) override;
    void Beep() override;
    void CompanionsDue() override;
    void HighlightDue() override;
    void CustomAwardsDue() override;
    void LogEdited() override;
    void ContestNumber(int number) override;
    void LayoutChanged() override;
    void ListDue(QsoField field) override;
    void CallEdited() override;

    void buildForm();
    void buildMenus();
    QAction *menuItem(const QString &menu, const char *name, const QString &caption, std::function<void()> slot,
                      QKeySequence key = {});
    /// The submenus ("&Reports/DXCC") registered items name under a menu, in the order they came.
    std::vector<QString> registeredSubmenus(const QString &menu) const;
    /// The items registered for title as a submenu (object name) at the end of menu's items.
    void addSubmenu(const QString &menu, const QString &title, const char *name);
    void assembleMenus();
    void updateMenuStates();
    void moveShortcutsForSpecialKeys();
    QWidget *control(const char *name) const;
    void applyTabOrder();
    /// Ctrl+Tab, Ctrl+Shift+Tab: the next or previous control of all that can take the focus.
    void focusAlongTabOrder(QWidget *from, int step);
    void showFieldColours();
    void showReportPicture();
    void showSearchBlanks();
    /// The list's index in the entry for an item of its box (the blank item of search entry gives -1).
    int entryIndex(int boxIndex) const { return boxIndex - (m_blankItems ? 1 : 0); }
    std::optional<OtherQsosOf> otherQsosOf(QObject *control) const;
    void checkControlNames() const;
    QLineEdit *addLine(QWidget *row, QsoField field, const QString &caption);
    QComboBox *addList(QWidget *row, QsoList list, const QString &caption);
    void addControl(QWidget *row, const FormControl &control);
    void connectField(QsoField field);
    void showFields();
    void showLists();
    void showItems(QComboBox *box, QsoList which);
    void showScrollBar();
    void applyWindowSize();
    void applyTabStops();
    std::optional<QsoField> fieldOf(QObject *watched) const;
    bool handleKey(QsoField field, const QKeyEvent &key);

    WindowHost &m_host;
    QsoEntry m_entry;
    bool m_showing = false;
    bool m_blankItems = false; ///< the lists show a blank item first (no condition) in search entry
    int m_shownReportLength = 0;
    std::array<bool, QsoFieldCount> m_shownFailed{};
    QHash<QString, std::vector<QAction *>> m_menuActions; ///< items by menu while the menus are built
    std::vector<QAction *> m_levelActions;                ///< items of user level 2
    std::vector<std::pair<QAction *, std::function<bool()>>> m_enabledWhen; ///< registered items and their enabling
    std::vector<std::pair<QAction *, std::function<bool()>>> m_checkedWhen; ///< registered check items
    bool m_specialKeysShown = false; ///< the shortcuts are where "Special Keys CW/RTTY" puts them
    std::array<std::vector<std::pair<std::string, std::string>>, 2> m_shownItems; ///< custom awards, their values
    std::array<QLineEdit *, QsoFieldCount> m_fields{};
    std::array<QComboBox *, QsoListCount> m_lists{};
    QLabel *m_countryName = nullptr;
    QLabel *m_dirDist = nullptr;
    std::vector<QWidget *> m_rows; ///< the rows of the form, for the window size steps
    QAction *m_deleteAction = nullptr;
    QAction *m_updateAction = nullptr;
    QAction *m_confirmAction = nullptr;
};

/// Registers the QSO window and its companion windows with the window host.
void RegisterQsoWindows(WindowHost &host);

} // namespace vellum
