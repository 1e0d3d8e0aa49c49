#include "Fsunwindows.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "country/countrydata.h"
#include "logstore/Ftext.h"
#include "logstore/daytime.h"
#include "print/Fprintdialog.h"
#include "print/tableprint.h"
#include "qso/Fpicklist.h"
#include "qso/qsoentry.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace vellum {

namespace {

constexpr int DaySeconds = 86400;

QString sunText(std::int32_t seconds) { return QString::fromStdString(SunTimeText(seconds)); }

GeoPoint home(const TConfigRecord &config) { return {config.Personal_Latitude, config.Personal_Longitude}; }

QAction *popupItem(QWidget *window, const char *name, const QString &caption, QKeySequence key,
                   std::function<void()> slot)
{
    auto *action = new QAction(caption, window);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(action, &QAction::triggered, window, std::move(slot));
    window->addAction(action);
    return action;
}

/// A read-only grid of the named columns (widths in characters).
QTableWidget *makeTable(QWidget *parent, const std::vector<std::pair<QString, int>> &columns)
{
    auto *table = new QTableWidget(0, static_cast<int>(columns.size()), parent);
    table->setObjectName(QStringLiteral("Grid"));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    int charWidth = table->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        table->setHorizontalHeaderItem(i, new QTableWidgetItem(columns[static_cast<std::size_t>(i)].first));
        table->setColumnWidth(i, (columns[static_cast<std::size_t>(i)].second + 2) * charWidth);
    }
    return table;
}

void setRow(QTableWidget *table, int row, const QStringList &cells)
{
    for (int column = 0; column < cells.size(); ++column)
        table->setItem(row, column, new QTableWidgetItem(cells[column]));
}

/// Prints what a grid shows, its column titles and widths (in characters) as on the screen.
void printGrid(QWidget *parent, WindowHost &host, const std::string &title, QTableWidget *table,
               const std::vector<int> &widths)
{
    std::vector<std::string> rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        std::string line;
        for (int column = 0; column < table->columnCount(); ++column)
            line += (column ? "\t" : "") + CoreText(table->item(row, column) ? table->item(row, column)->text() : QString());
        rows.push_back(line);
    }
    TextRows printed(std::move(rows));
    TablePrintJob job;
    job.title = title;
    for (int column = 0; column < table->columnCount(); ++column)
        job.columns.push_back(MakeTableColumn(CoreText(table->horizontalHeaderItem(column)->text().trimmed()),
                                              widths[static_cast<std::size_t>(column)], PrintAlign::Left));
    job.rows = &printed;
    RunTablePrint(parent, job, TableStyleFrom(host.Context().Config()), host.Notifier());
}

/// Runs work with the busy cursor.
template <typename Work>
void busy(Work work)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    work();
    QApplication::restoreOverrideCursor();
}

} // namespace

// --- One Year Sun Rise/Set ---------------------------------------------------------------

// The tables are windows of their own, independent of the QSO window; they go with
// the main window at the latest.
TOneYearSRS::TOneYearSRS(WindowHost &host) : QWidget(host.MainWindow(), Qt::Window), m_host(host)
{
    setObjectName(QStringLiteral("OneYearSRS"));
    setWindowTitle(QStringLiteral("One Year Sun Rise/Set"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    m_location = new QLineEdit(this);
    m_location->setObjectName(QStringLiteral("Location"));
    m_location->setReadOnly(true);
    m_location->setMaxLength(23);
    layout->addWidget(m_location);
    m_table = makeTable(this, {{"Date", 8}, {"Rise", 5}, {"Set", 5}, {"DX Rise", 7}, {"DX Set", 6}});
    layout->addWidget(m_table);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    popupItem(this, "SelectCountry1", QStringLiteral("Select Country"), QKeySequence(), [this] {
        const TCountryData &countries = m_host.Context().Countries();
        std::vector<std::pair<std::string, std::string>> entries;
        for (std::int32_t i = 0; i < countries.CountryCount(); ++i) {
            CountryInfo info = countries.Country(i);
            entries.emplace_back(info.prefix, info.name);
        }
        int chosen = TPicklist(QStringLiteral("Prefix"), entries, 1, this).Choose();
        if (chosen > 0)
            ChooseCountry(chosen);
    });
    popupItem(this, "Update1", QStringLiteral("Update"), QKeySequence(Qt::Key_F5), [this] { Update(); });
    popupItem(this, "Print1", QStringLiteral("Print"), QKeySequence(Qt::CTRL | Qt::Key_P), [this] { Print(); });
    resize(380, 420);
}

void TOneYearSRS::ChooseCountry(int position)
{
    const TCountryData &countries = m_host.Context().Countries();
    if (position <= 0 || !countries.ValidCountry(position))
        return;
    CountryInfo info = countries.Country(position);
    m_chosen = SunPlace{info.name.substr(0, 20), {info.latitude, info.longitude}};
    Compute();
}

void TOneYearSRS::Update()
{
    m_chosen.reset();
    Compute();
}

void TOneYearSRS::Compute()
{
    std::optional<SunPlace> place = m_chosen;
    if (!place) {
        QsoEntry *entry = m_host.Entry();
        if (auto location = entry ? entry->Location() : std::nullopt)
            place = SunPlace{location->key, location->where};
    }
    m_location->setText(place ? ScreenText(place->name) : QStringLiteral("unknown location"));
    const TConfigRecord &config = m_host.Context().Config();
    auto format = static_cast<DateFormat>(config.Personal_DateFormat);
    busy([&] {
        // Without a place the DX columns show no times.
        GeoPoint dx = place ? place->where : GeoPoint{HUGE_VAL, HUGE_VAL};
        std::vector<SunYearRow> rows = OneYearSunTable(TodayDayNumber(), home(config), dx);
        m_table->setRowCount(static_cast<int>(rows.size()));
        for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
            const SunYearRow &row = rows[static_cast<std::size_t>(i)];
            setRow(m_table, i, {QString::fromStdString(FormatDate(row.day, format, true)), sunText(row.home.rise),
                                sunText(row.home.set), sunText(row.dx.rise), sunText(row.dx.set)});
        }
    });
}

void TOneYearSRS::Print()
{
    printGrid(this, m_host, "One Year Sun Rise/Set: " + CoreText(m_location->text()), m_table, {8, 5, 5, 7, 6});
}

// --- SunRise and SunSet by Date ----------------------------------------------------------

TCountrySRS::TCountrySRS(WindowHost &host) : QWidget(host.MainWindow(), Qt::Window), m_host(host)
{
    setObjectName(QStringLiteral("CountrySRS"));
    setWindowTitle(QStringLiteral("SunRise and SunSet by Date"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    auto *fields = new QGridLayout;
    CalendarDate today = SplitDayNumber(TodayDayNumber());
    m_date = new QDateEdit(QDate(today.year, today.month, today.day), this);
    m_date->setObjectName(QStringLiteral("Date"));
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_window = new QTimeEdit(QTime(0, 10), this);
    m_window->setObjectName(QStringLiteral("Window"));
    m_window->setDisplayFormat(QStringLiteral("HH:mm"));
    m_window->setTimeRange(QTime(0, 0), QTime(23, 59));
    auto readOnly = [this](const char *name) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        return edit;
    };
    m_localRise = readOnly("LocalSunRise");
    m_localSet = readOnly("LocalSunSet");
    fields->addWidget(new QLabel(QStringLiteral("Date"), this), 0, 0);
    fields->addWidget(m_date, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Window"), this), 0, 2);
    fields->addWidget(m_window, 0, 3);
    fields->addWidget(new QLabel(QStringLiteral("Local SunRise"), this), 1, 0);
    fields->addWidget(m_localRise, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("SunSet"), this), 1, 2);
    fields->addWidget(m_localSet, 1, 3);
    layout->addLayout(fields);
    m_table = makeTable(this, {{"Prfx", 5}, {"Country", 24}, {"DX Rise", 7}, {" DX Set", 6}, {"Diff", 5}});
    layout->addWidget(m_table);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    popupItem(this, "Update1", QStringLiteral("Update"), QKeySequence(Qt::Key_F5), [this] { Compute(); });
    popupItem(this, "NextDay1", QStringLiteral("Next Day"), QKeySequence(Qt::CTRL | Qt::Key_Right), [this] { StepDay(1); });
    popupItem(this, "PreviousDay1", QStringLiteral("Previous Day"), QKeySequence(Qt::CTRL | Qt::Key_Left),
              [this] { StepDay(-1); });
    popupItem(this, "WindowUp1", QStringLiteral("Window + 1 minute"), QKeySequence(Qt::CTRL | Qt::Key_Up),
              [this] { StepWindow(1); });
    popupItem(this, "WindowDown1", QStringLiteral("Window - 1 minute"), QKeySequence(Qt::CTRL | Qt::Key_Down),
              [this] { StepWindow(-1); });
    popupItem(this, "Print1", QStringLiteral("Print"), QKeySequence(Qt::CTRL | Qt::Key_P), [this] { Print(); });
    resize(520, 420);
    Compute();
}

std::uint16_t TCountrySRS::day() const
{
    QDate date = m_date->date();
    return DayNumber(date.year(), date.month(), date.day()).value_or(TodayDayNumber());
}

void TCountrySRS::StepDay(int days)
{
    QDate next = m_date->date().addDays(days);
    if (DayNumber(next.year(), next.month(), next.day()))
        m_date->setDate(next);
}

void TCountrySRS::StepWindow(int minutes)
{
    int now = m_window->time().hour() * 60 + m_window->time().minute();
    int next = std::clamp(now + minutes, 0, 23 * 60 + 59);
    m_window->setTime(QTime(next / 60, next % 60));
}

void TCountrySRS::Compute()
{
    const TConfigRecord &config = m_host.Context().Config();
    std::uint16_t date = day();
    SunTimes atHome = SunTimesOnDay(date, home(config));
    m_localRise->setText(sunText(atHome.rise));
    m_localSet->setText(sunText(atHome.set));
    busy([&] {
        const TCountryData &countries = m_host.Context().Countries();
        std::vector<GreyLinePlace> places;
        for (std::int32_t i = 1; i < countries.CountryCount(); ++i) {
            CountryInfo info = countries.Country(i);
            if (info.endDate == OpenEndDate)
                places.push_back({info.prefix, info.name, {info.latitude, info.longitude}});
        }
        std::int32_t window = (m_window->time().hour() * 60 + m_window->time().minute()) * 60;
        std::vector<GreyLineRow> rows = GreyLineList(date, atHome, window, places);
        m_table->setRowCount(static_cast<int>(rows.size()));
        for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
            const GreyLineRow &row = rows[static_cast<std::size_t>(i)];
            setRow(m_table, i, {ScreenText(row.place->prefix), ScreenText(row.place->name), sunText(row.dx.rise),
                                sunText(row.dx.set), sunText(row.difference % DaySeconds)});
        }
    });
}

void TCountrySRS::Print()
{
    printGrid(this, m_host, "SunRise and SunSet by Date " + m_date->date().toString(Qt::ISODate).toStdString(),
              m_table, {5, 24, 7, 6, 5});
}

// --- Country SunRise/Set -----------------------------------------------------------------

TCountryInfo::TCountryInfo(WindowHost &host) : QWidget(nullptr), m_host(host), m_clockDay(TodayDayNumber())
{
    setObjectName(QStringLiteral("CountryInfo"));
    setWindowTitle(QStringLiteral("Info: unknown location"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QGridLayout(this);
    auto row = [this, layout](int at, const QString &label, const char *name) {
        layout->addWidget(new QLabel(label, this), at, 0);
        auto *shown = new QLabel(this);
        shown->setObjectName(QString::fromLatin1(name));
        shown->setMinimumWidth(60);
        layout->addWidget(shown, at, 1);
    };
    row(0, QStringLiteral("Heading"), "Heading");
    row(1, QStringLiteral("Long Path"), "LongPath");
    row(2, QStringLiteral("Reciprocal"), "Reciprocal");
    layout->addWidget(new QLabel(QStringLiteral("Local"), this), 3, 1);
    layout->addWidget(new QLabel(QStringLiteral("DX"), this), 3, 2);
    layout->addWidget(new QLabel(QStringLiteral("Sun Rise"), this), 4, 0);
    layout->addWidget(new QLabel(QStringLiteral("Sun Set"), this), 5, 0);
    for (auto [name, at, column] : {std::tuple{"LocalRise", 4, 1}, {"LocalSet", 5, 1}, {"DXRise", 4, 2}, {"DXSet", 5, 2}}) {
        auto *shown = new QLabel(this);
        shown->setObjectName(QString::fromLatin1(name));
        layout->addWidget(shown, at, column);
    }
    setContextMenuPolicy(Qt::ActionsContextMenu);
    popupItem(this, "OneYear1", QStringLiteral("One year Sun Rise/Set"), QKeySequence(), [this] { OpenOneYear(); });
    popupItem(this, "ByDate1", QStringLiteral("Sun Rise/Set by Date"), QKeySequence(), [this] { OpenByDate(); });
    host.PlaceCompanion(CompanionId::Sun, this);
    connect(&host, &WindowHost::clockTicked, this, [this](std::uint16_t day, std::int32_t) { ClockTick(day); });
}

TCountryInfo::~TCountryInfo() { m_host.CompanionClosed(CompanionId::Sun, this); }

QLabel *TCountryInfo::value(const char *name) const { return findChild<QLabel *>(QString::fromLatin1(name)); }

QString TCountryInfo::Shown(const char *field) const { return value(field)->text(); }

void TCountryInfo::ClockTick(std::uint16_t day)
{
    m_clockDay = day;
    if (day != m_localDay)
        m_host.RequestRefresh(CompanionId::Sun);
}

void TCountryInfo::RefreshCompanion()
{
    showLocation();
    m_host.RunClockUpdate();
}

void TCountryInfo::showLocation()
{
    const TConfigRecord &config = m_host.Context().Config();
    std::uint16_t today = m_clockDay;
    if (today != m_localDay) {
        SunTimes atHome = SunTimesOnDay(today, home(config));
        value("LocalRise")->setText(sunText(atHome.rise));
        value("LocalSet")->setText(sunText(atHome.set));
        m_localDay = today;
    }
    QsoEntry *entry = m_host.Entry();
    std::optional<QsoLocation> location = entry ? entry->Location() : std::nullopt;
    if (!location) {
        setWindowTitle(QStringLiteral("Info: unknown location"));
        for (const char *name : {"Heading", "LongPath", "Reciprocal", "DXRise", "DXSet"})
            value(name)->clear();
        return;
    }
    setWindowTitle((QStringLiteral("Info: ") + ScreenText(location->key)).left(12));
    auto degrees = [](int bearing) { return QString::number(bearing) + QChar(0xB0); };
    value("Heading")->setText(degrees(location->bearing));
    value("LongPath")->setText(degrees((location->bearing + 180) % 360));
    auto reciprocal = BearingDistanceOf(home(config), location->where, false);
    value("Reciprocal")->setText(reciprocal ? degrees(reciprocal->bearing) : QString());
    SunTimes dx = SunTimesOnDay(today, location->where);
    value("DXRise")->setText(sunText(dx.rise));
    value("DXSet")->setText(sunText(dx.set));
}

template <typename Window>
Window *openOnce(QPointer<Window> &window, WindowHost &host)
{
    if (!window) {
        window = new Window(host);
        window->show();
    }
    window->raise();
    window->activateWindow();
    return window;
}

TOneYearSRS *TCountryInfo::OpenOneYear()
{
    bool made = !m_oneYear;
    TOneYearSRS *window = openOnce(m_oneYear, m_host);
    if (made)
        window->Compute();
    return window;
}

TCountrySRS *TCountryInfo::OpenByDate() { return openOnce(m_byDate, m_host); }

void RegisterGeoWindows(WindowHost &host)
{
    host.RegisterCompanion(CompanionId::Sun, [](WindowHost &h) -> QWidget * {
        return h.Entry() ? new TCountryInfo(h) : nullptr;
    });
    WindowHost *hostPointer = &host;
    host.AddQsoMenuItem({QStringLiteral("&Window"), QStringLiteral("SunRiseSet1"), QStringLiteral("Country SunRise/Set"),
                         QKeySequence(), [hostPointer] {
                             if (hostPointer->OpenCompanion(CompanionId::Sun))
                                 hostPointer->RequestRefresh(CompanionId::Sun);
                         }});
}

} // namespace vellum
