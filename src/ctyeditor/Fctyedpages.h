#pragma once
// The pages of the country editor that show a country: the panel above the
// pages and the "Details" page (a country record as fields with their
// pictures and sign choices), and the grids of the working mappings and calls.

#include "countryeditor.h"

#include "logstore/daytime.h"

#include <QWidget>

#include <optional>
#include <string>

class QComboBox;
class QLineEdit;
class QTableWidget;

namespace vellum {

/// A country record shown as fields: the panel (F_Prefix, F_Name, F_Zone,
/// F_Start, F_End) and the Details page (F_Buro, F_FldChk, F_HasStates,
/// F_Utc + F_UtcSign, F_Iota, F_Itu, F_Continent, F_Longitude + F_LongitudeSign,
/// F_Latitude + F_LatitudeSign, F_MapNumber).
class TCountryFields : public QObject {
    Q_OBJECT
public:
    TCountryFields(DateFormat format, QWidget *panelParent, QWidget *detailsParent);
    QWidget *Panel() const { return m_panel; }
    QWidget *Details() const { return m_details; }

    void Show(const CountryInfo &country);
    /// The record the fields describe, starting from the one shown (whose
    /// codes the fields cannot show are kept); nothing, with why, when a field
    /// does not hold what its picture asks for.
    std::optional<CountryInfo> Read(std::string &why) const;

private:
    QWidget *buildPanel(QWidget *parent);
    QWidget *buildDetails(QWidget *parent);

    DateFormat m_format;
    CountryInfo m_shown;
    QWidget *m_panel = nullptr;
    QWidget *m_details = nullptr;
    QLineEdit *m_prefix, *m_name, *m_zone, *m_start, *m_end;
    QComboBox *m_buro, *m_fldChk, *m_hasStates, *m_utcSign, *m_continent, *m_longitudeSign, *m_latitudeSign;
    QLineEdit *m_utc, *m_iota, *m_itu, *m_longitude, *m_latitude, *m_mapNumber;
};

/// The grid of the working mappings ("Mapping", "Zone", "Start date", "End
/// date", "Prefix"): rows of other countries read-only and grey.
class TMappingGrid {
public:
    static QTableWidget *Make(QWidget *parent);
    static void Fill(QTableWidget *grid, const std::vector<WorkMapping> &rows, DateFormat format);
    /// The own rows as typed; nothing, with why, when a cell is not what its column holds.
    static std::optional<std::vector<WorkMapping>> Read(const QTableWidget *grid, const std::vector<WorkMapping> &shown,
                                                        DateFormat format, std::string &why);
};

/// The grid of the working calls ("Callsign", "Zone", "Start date").
class TCallGrid {
public:
    static QTableWidget *Make(QWidget *parent);
    static void Fill(QTableWidget *grid, const std::vector<WorkCall> &rows, DateFormat format);
    static std::optional<std::vector<WorkCall>> Read(const QTableWidget *grid, DateFormat format, std::string &why);
};

} // namespace vellum
