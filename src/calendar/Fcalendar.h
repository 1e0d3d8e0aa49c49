#pragma once
// "Events calendar": the events that span a chosen day ("Today") and the
// editing of the events ("Edit events"); "File" saves or drops the changes.

#include "calendar.h"

#include "logstore/daytime.h"

#include <QLineEdit>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>

class QComboBox;
class QListWidget;
class QTabWidget;

namespace vellum {

class UserNotifier;
class WindowHost;

/// A date in the configured format; Ctrl+Up and Ctrl+Down move it one day
/// later or earlier (a text that is no date is left for the user to mend).
class TCalDateField : public QLineEdit {
    Q_OBJECT
public:
    TCalDateField(const char *name, DateFormat format, QWidget *parent);
    /// The date shown; nothing when the text is not a date.
    std::optional<std::uint16_t> Date() const;
    void SetDate(std::optional<std::uint16_t> day);

signals:
    /// The date was moved by Ctrl+Up or Ctrl+Down.
    void stepped();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    DateFormat m_format;
};

/// Controls (objectName): the tabs "Today" and "Edit events", F_today, LB,
/// F_start, F_end, F_Note, AddBtn, DeleteBtn, CleanupBtn; the File menu's
/// SaveExit1 and CancelExit1.
class TFCalendar : public QWidget {
    Q_OBJECT
public:
    struct Options {
        std::string fileName;
        DateFormat dateFormat = DateFormat::MonthDayYear;
        bool cycleFiles = false;
        std::uint16_t today = 0; ///< the UTC day number the window starts with
    };
    /// Reads the calendar file; a damaged one is reported and put aside.
    TFCalendar(Options options, UserNotifier &notifier, QWidget *parent = nullptr);

    const EventCalendar &Calendar() const { return m_calendar; }

    void ListToday();
    void SelectEvent(int index);
    void AddClick();
    void DeleteClick();
    void CleanupClick();
    /// Writes the calendar (an empty one deletes the file) and closes; a failed
    /// write is reported and the window stays open with the changes.
    void SaveAndExit();
    void CancelAndExit();

private:
    QWidget *buildTodayPage();
    QWidget *buildEditPage();
    void fillNotes();
    void startLeft();

    Options m_options;
    UserNotifier &m_notifier;
    EventCalendar m_calendar;
    QTabWidget *m_pages = nullptr;
    TCalDateField *m_today = nullptr;
    QListWidget *m_list = nullptr;
    TCalDateField *m_start = nullptr;
    TCalDateField *m_end = nullptr;
    QComboBox *m_note = nullptr;
};

/// The "Calendar" item of the main window's File menu and the start-up check:
/// with "Check Calendar at startup" on, the window opens by itself when an
/// event spans the current UTC day.
void RegisterCalendarWindows(WindowHost &host);

} // namespace vellum
