#include "Fctyedpages.h"

#include "country/iota.h"
#include "logstore/Fdialogs.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTableWidget>

#include <cmath>
#include <cstdlib>

namespace vellum {

namespace {

QComboBox *choice(const char *name, QStringList items, QWidget *parent)
{
    auto *box = NamedWidget<QComboBox>(name, parent);
    box->addItems(items);
    return box;
}

QLineEdit *field(const char *name, int maxLength, const char *picture, QWidget *parent)
{
    auto *edit = NamedWidget<QLineEdit>(name, parent);
    edit->setMaxLength(maxLength);
    if (picture)
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(picture)), edit));
    return edit;
}

/// A record code 1, 2, ... as the index of its list choice; -1 for a code the list lacks.
void showCode(QComboBox *box, int code) { box->setCurrentIndex(code >= 1 && code <= box->count() ? code - 1 : -1); }
/// The code of the choice, or the code shown when none is chosen.
std::uint8_t codeOf(const QComboBox *box, std::uint8_t shown)
{
    return box->currentIndex() < 0 ? shown : static_cast<std::uint8_t>(box->currentIndex() + 1);
}

/// A signed value as its magnitude and the sign choice (the first for 0 and positive).
void showSigned(QLineEdit *magnitude, QComboBox *sign, double value)
{
    magnitude->setText(QString::number(std::fabs(value), 'f', 2));
    sign->setCurrentIndex(value < 0 ? 1 : 0);
}

std::optional<double> readSigned(const QLineEdit *magnitude, const QComboBox *sign, double limit)
{
    bool ok = false;
    QString text = magnitude->text().trimmed();
    double value = text.isEmpty() ? 0 : text.toDouble(&ok);
    if ((!ok && !text.isEmpty()) || value < 0 || value > limit)
        return std::nullopt;
    return sign->currentIndex() == 1 ? -value : value;
}

std::optional<int> readNumber(const QLineEdit *edit, int low, int high)
{
    bool ok = false;
    int value = edit->text().trimmed().toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

QString dateText(std::uint16_t day, std::uint16_t none, DateFormat format)
{
    return day == none ? QString() : ScreenText(FormatDate(day, format, false));
}

/// A typed date; blank gives none. Nothing when the text is no date.
std::optional<std::uint16_t> readDate(const QString &text, std::uint16_t none, DateFormat format)
{
    if (text.trimmed().isEmpty())
        return none;
    return ParseDate(CoreText(text.trimmed()), format);
}

QTableWidget *grid(const char *name, QStringList headings, QWidget *parent)
{
    auto *table = NamedWidget<QTableWidget>(name, 0, static_cast<int>(headings.size()), parent);
    table->setHorizontalHeaderLabels(headings);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    return table;
}

QTableWidgetItem *cell(const QString &text, bool editable)
{
    auto *item = new QTableWidgetItem(text);
    if (!editable) {
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        item->setForeground(Qt::gray);
    }
    return item;
}

QString cellText(const QTableWidget *grid, int row, int column)
{
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text().trimmed() : QString();
}

std::string rowWhy(int row, const char *what) { return "Row " + std::to_string(row + 1) + ": " + what; }

} // namespace

// --- TCountryFields -------------------------------------------------------------------

TCountryFields::TCountryFields(DateFormat format, QWidget *panelParent, QWidget *detailsParent)
    : QObject(panelParent), m_format(format)
{
    m_panel = buildPanel(panelParent);
    m_details = buildDetails(detailsParent);
}

QWidget *TCountryFields::buildPanel(QWidget *parent)
{
    auto *panel = new QWidget(parent);
    auto *layout = new QGridLayout(panel);
    m_prefix = field("F_Prefix", CountryField::PrefixCapacity, nullptr, panel);
    connect(m_prefix, &QLineEdit::textEdited, m_prefix, [this](const QString &text) {
        int at = m_prefix->cursorPosition();
        m_prefix->setText(text.toUpper());
        m_prefix->setCursorPosition(at);
    });
    m_name = field("F_Name", CountryField::NameCapacity, nullptr, panel);
    m_zone = field("F_Zone", 2, "[0-9]{0,2}", panel);
    m_start = field("F_Start", 10, nullptr, panel);
    m_end = field("F_End", 10, nullptr, panel);
    const std::pair<const char *, QLineEdit *> fields[] = {
        {"Prefix", m_prefix}, {"Country name", m_name}, {"Zone", m_zone}, {"Start date", m_start}, {"End date", m_end}};
    int column = 0;
    for (const auto &[caption, edit] : fields) {
        layout->addWidget(new QLabel(QString::fromLatin1(caption), panel), 0, column);
        layout->addWidget(edit, 1, column++);
    }
    int character = m_name->fontMetrics().horizontalAdvance(QLatin1Char('W'));
    m_prefix->setMaximumWidth(7 * character);
    m_zone->setMaximumWidth(4 * character);
    m_name->setMinimumWidth(20 * character);
    layout->setColumnStretch(1, 1);
    return panel;
}

QWidget *TCountryFields::buildDetails(QWidget *parent)
{
    auto *page = new QWidget(parent);
    auto *form = new QFormLayout(page);
    const QStringList yesNo = {QStringLiteral("Y"), QStringLiteral("N")};
    m_buro = choice("F_Buro", yesNo, page);
    m_fldChk = choice("F_FldChk", yesNo, page);
    m_hasStates = choice("F_HasStates", {"Y", "N", "HI", "AK"}, page);
    m_utc = field("F_Utc", 5, "[0-9]{0,2}(\\.[0-9]{0,2})?", page);
    m_utcSign = choice("F_UtcSign", {"Ahead", "Behind"}, page);
    m_iota = field("F_Iota", CountryField::IotaCapacity, "([A-Za-z]{0,2}|[A-Za-z]{2}[0-9]{0,3})", page);
    m_itu = field("F_Itu", 2, "[0-9]{0,2}", page);
    m_continent = choice("F_Continent",
                         {"???", "Africa", "Antarct", "Asia", "Europe", "North Am", "Oceania", "South Am"}, page);
    m_longitude = field("F_Longitude", 6, "[0-9]{0,3}(\\.[0-9]{0,2})?", page);
    m_longitudeSign = choice("F_LongitudeSign", {"East", "West"}, page);
    m_latitude = field("F_Latitude", 5, "[0-9]{0,2}(\\.[0-9]{0,2})?", page);
    m_latitudeSign = choice("F_LatitudeSign", {"North", "South"}, page);
    m_mapNumber = field("F_MapNumber", 5, "[0-9]{0,5}", page);
    auto pair = [](QWidget *a, QWidget *b) {
        auto *row = new QHBoxLayout;
        row->addWidget(a);
        row->addWidget(b);
        return row;
    };
    form->addRow(QStringLiteral("Buro"), m_buro);
    form->addRow(QStringLiteral("FldChk"), m_fldChk);
    form->addRow(QStringLiteral("Has States"), m_hasStates);
    form->addRow(QStringLiteral("UTC Offset"), pair(m_utc, m_utcSign));
    form->addRow(QStringLiteral("IOTA"), m_iota);
    form->addRow(QStringLiteral("ITU"), m_itu);
    form->addRow(QStringLiteral("Continent"), m_continent);
    form->addRow(QStringLiteral("Longitude"), pair(m_longitude, m_longitudeSign));
    form->addRow(QStringLiteral("Latitude"), pair(m_latitude, m_latitudeSign));
    form->addRow(QStringLiteral("Map number"), m_mapNumber);
    return page;
}

void TCountryFields::Show(const CountryInfo &country)
{
    m_shown = country;
    m_prefix->setText(ScreenText(country.prefix).toUpper());
    m_name->setText(ScreenText(country.name));
    m_zone->setText(QString::number(country.cqZone));
    m_start->setText(dateText(country.startDate, 0, m_format));
    m_end->setText(dateText(country.endDate, 0xFFFF, m_format));
    showCode(m_buro, country.buro);
    showCode(m_fldChk, country.fldChk);
    showCode(m_hasStates, country.hasStates);
    showSigned(m_utc, m_utcSign, country.utcOffset);
    m_iota->setText(ScreenText(country.iota));
    m_itu->setText(QString::number(country.ituZone));
    showCode(m_continent, country.continent);
    showSigned(m_longitude, m_longitudeSign, country.longitude);
    showSigned(m_latitude, m_latitudeSign, country.latitude);
    m_mapNumber->setText(QString::number(country.mapNumber));
}

std::optional<CountryInfo> TCountryFields::Read(std::string &why) const
{
    CountryInfo country = m_shown;
    country.prefix = UpperAscii(CoreText(m_prefix->text().trimmed()));
    country.name = CoreText(m_name->text().trimmed());
    auto zone = readNumber(m_zone, 0, 99), itu = readNumber(m_itu, 0, 99);
    auto map = readNumber(m_mapNumber, 0, 65535);
    auto start = readDate(m_start->text(), 0, m_format), end = readDate(m_end->text(), 0xFFFF, m_format);
    auto utc = readSigned(m_utc, m_utcSign, 14), longitude = readSigned(m_longitude, m_longitudeSign, 180);
    auto latitude = readSigned(m_latitude, m_latitudeSign, 90);
    std::string iota = NormalizeIotaReference(CoreText(m_iota->text()));
    const std::pair<bool, const char *> checks[] = {
        {zone.has_value(), "The zone is not a number"},    {itu.has_value(), "ITU is not a number"},
        {map.has_value(), "The map number is not a number"}, {start.has_value(), "The start date is not a date"},
        {end.has_value(), "The end date is not a date"},   {utc.has_value(), "The UTC offset is not ##.## hours"},
        {longitude.has_value(), "The longitude is not ###.## degrees up to 180"},
        {latitude.has_value(), "The latitude is not ##.## degrees up to 90"},
        {iota.empty() || IsIotaReference(iota), "IOTA is not two letters and three digits"}};
    for (const auto &[ok, text] : checks)
        if (!ok) {
            why = text;
            return std::nullopt;
        }
    country.cqZone = static_cast<std::uint8_t>(*zone);
    country.ituZone = static_cast<std::uint8_t>(*itu);
    country.mapNumber = static_cast<std::uint16_t>(*map);
    country.startDate = *start;
    country.endDate = *end;
    country.utcOffset = *utc;
    country.longitude = *longitude;
    country.latitude = *latitude;
    country.iota = iota;
    country.buro = codeOf(m_buro, m_shown.buro);
    country.fldChk = codeOf(m_fldChk, m_shown.fldChk);
    country.hasStates = codeOf(m_hasStates, m_shown.hasStates);
    country.continent = codeOf(m_continent, m_shown.continent);
    return country;
}

// --- the grids -------------------------------------------------------------------------

QTableWidget *TMappingGrid::Make(QWidget *parent)
{
    return grid("MapGrid", {"Mapping", "Zone", "Start date", "End date", "Prefix"}, parent);
}

void TMappingGrid::Fill(QTableWidget *table, const std::vector<WorkMapping> &rows, DateFormat format)
{
    table->setRowCount(0);
    table->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const WorkMapping &mapping = rows[row];
        bool own = mapping.Own();
        table->setItem(row, 0, cell(ScreenText(mapping.prefix), own));
        table->setItem(row, 1, cell(QString::number(mapping.zone), own));
        table->setItem(row, 2, cell(dateText(mapping.startDate, 0, format), own));
        table->setItem(row, 3, cell(dateText(mapping.endDate, 0xFFFF, format), own));
        table->setItem(row, 4, cell(ScreenText(mapping.otherCountry), false));
    }
    table->resizeColumnsToContents();
}

std::optional<std::vector<WorkMapping>> TMappingGrid::Read(const QTableWidget *table,
                                                           const std::vector<WorkMapping> &shown, DateFormat format,
                                                           std::string &why)
{
    std::vector<WorkMapping> rows;
    for (int row = 0; row < table->rowCount() && row < static_cast<int>(shown.size()); ++row) {
        if (!shown[row].Own()) {
            rows.push_back(shown[row]);
            continue;
        }
        WorkMapping mapping;
        mapping.prefix = UpperAscii(CoreText(cellText(table, row, 0))).substr(0, 5);
        bool ok = false;
        QString zone = cellText(table, row, 1);
        mapping.zone = static_cast<std::uint8_t>(zone.toUInt(&ok));
        auto start = readDate(cellText(table, row, 2), 0, format);
        auto end = readDate(cellText(table, row, 3), 0xFFFF, format);
        if ((!ok && !zone.isEmpty()) || zone.toUInt() > 99 || !start || !end) {
            why = rowWhy(row, !start || !end ? "a date is not a date" : "the zone is not a number");
            return std::nullopt;
        }
        mapping.startDate = *start;
        mapping.endDate = *end;
        rows.push_back(std::move(mapping));
    }
    return rows;
}

QTableWidget *TCallGrid::Make(QWidget *parent) { return grid("CallGrid", {"Callsign", "Zone", "Start date"}, parent); }

void TCallGrid::Fill(QTableWidget *table, const std::vector<WorkCall> &rows, DateFormat format)
{
    table->setRowCount(0);
    table->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        table->setItem(row, 0, cell(ScreenText(rows[row].call), true));
        table->setItem(row, 1, cell(QString::number(rows[row].zone), true));
        table->setItem(row, 2, cell(dateText(rows[row].date, 0, format), true));
    }
    table->resizeColumnsToContents();
}

std::optional<std::vector<WorkCall>> TCallGrid::Read(const QTableWidget *table, DateFormat format, std::string &why)
{
    std::vector<WorkCall> rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        WorkCall call;
        call.call = UpperAscii(CoreText(cellText(table, row, 0))).substr(0, ExceptionField::CallCapacity);
        bool ok = false;
        QString zone = cellText(table, row, 1);
        call.zone = static_cast<std::uint8_t>(zone.toUInt(&ok));
        auto date = readDate(cellText(table, row, 2), 0, format);
        if ((!ok && !zone.isEmpty()) || zone.toUInt() > 99 || !date) {
            why = rowWhy(row, !date ? "the date is not a date" : "the zone is not a number");
            return std::nullopt;
        }
        call.date = *date;
        rows.push_back(std::move(call));
    }
    return rows;
}

} // namespace vellum
