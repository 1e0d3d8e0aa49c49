#pragma once
// The sun windows: "Country SunRise/Set", a companion of the QSO window showing
// the bearings to the QSO's location and the sun's times there and at home, and
// the two tables it opens - "One Year Sun Rise/Set" and the grey-line list
// "SunRise and SunSet by Date" - each printable through the print engine.

#include "bearing.h"
#include "sun.h"

#include "app/qsowindow.h"

#include <QPointer>
#include <QWidget>

#include <optional>
#include <string>

class QDateEdit;
class QLabel;
class QLineEdit;
class QTableWidget;
class QTimeEdit;

namespace vellum {

class WindowHost;

/// A named place whose sun times are tabled.
struct SunPlace {
    std::string name;
    GeoPoint where;
};

class TOneYearSRS : public QWidget {
    Q_OBJECT
public:
    explicit TOneYearSRS(WindowHost &host);
    /// Computes the table for the chosen country, or the QSO's location.
    void Compute();
    /// A country of the country table (position above 0) as the place.
    void ChooseCountry(int position);
    /// "Update": back to the QSO's location.
    void Update();
    void Print();
    QTableWidget *Table() const { return m_table; }
    QLineEdit *LocationField() const { return m_location; }

private:
    WindowHost &m_host;
    std::optional<SunPlace> m_chosen;
    QLineEdit *m_location;
    QTableWidget *m_table;
};

class TCountrySRS : public QWidget {
    Q_OBJECT
public:
    explicit TCountrySRS(WindowHost &host);
    /// Computes the list for the date and window shown.
    void Compute();
    void StepDay(int days);
    void StepWindow(int minutes);
    void Print();
    QTableWidget *Table() const { return m_table; }
    QDateEdit *DateField() const { return m_date; }
    QTimeEdit *WindowField() const { return m_window; }

private:
    std::uint16_t day() const;
    WindowHost &m_host;
    QDateEdit *m_date;
    QTimeEdit *m_window;
    QLineEdit *m_localRise;
    QLineEdit *m_localSet;
    QTableWidget *m_table;
};

class TCountryInfo : public QWidget, public CompanionWindow {
    Q_OBJECT
public:
    explicit TCountryInfo(WindowHost &host);
    ~TCountryInfo() override;
    /// Shows the bearings and the sun's times of the clock's day, then runs the
    /// main window's clock update.
    void RefreshCompanion() override;
    /// The main window's clock: on a new UTC day the window asks to be refreshed,
    /// as every time it shows belongs to the day.
    void ClockTick(std::uint16_t day);
    /// Opens "One Year Sun Rise/Set", or brings it to the front.
    TOneYearSRS *OpenOneYear();
    /// Opens "SunRise and SunSet by Date", or brings it to the front.
    TCountrySRS *OpenByDate();
    QString Shown(const char *field) const;

private:
    QLabel *value(const char *name) const;
    void showLocation();
    WindowHost &m_host;
    std::uint16_t m_clockDay;     ///< the UTC day the clock told last
    std::uint16_t m_localDay = 0; ///< the day the times shown were computed for
    QPointer<TOneYearSRS> m_oneYear;
    QPointer<TCountrySRS> m_byDate;
};

/// Registers "Country SunRise/Set" and its item of the QSO window's Window menu.
void RegisterGeoWindows(WindowHost &host);

} // namespace vellum
