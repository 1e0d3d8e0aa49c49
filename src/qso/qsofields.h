#pragma once
// The fields and lists of QSO entry, with the documented control names of the
// QSO window: users, scripts and tests address the window's controls by these
// names, so they are named here once and nowhere else.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vellum {

/// The fields the user types into.
enum class QsoField : int {
    Call, Prefix, Date, Time, RstSent, RstRcvd, Recvd, Zone, State, County, Grid, CallNotes, Manager, QsoNote,
    Iota, QslDate, AwardValue, Group,
};
inline constexpr int QsoFieldCount = 18;

/// The lists the user chooses from. The sixteen award wheels follow Wheel.
enum class QsoList : int {
    Mode, Band, Label, QslMethod, Confirmed, Qrp, Yl, Satellite, ValidDx, AwardType, AwardValueList, Wheel,
};
inline constexpr int AwardWheelCount = 16;
inline constexpr int QsoListCount = static_cast<int>(QsoList::Wheel) + AwardWheelCount;
inline constexpr QsoList WheelList(int wheel) { return static_cast<QsoList>(static_cast<int>(QsoList::Wheel) + wheel); }

struct QsoFieldSpec {
    QsoField field;
    const char *control; ///< the control's documented name
    int maxLength;
    bool upper;          ///< typed letters become upper case
};

/// The QSO window's text fields by their documented control names, in the order of QsoField.
inline constexpr std::array<QsoFieldSpec, QsoFieldCount> QsoFieldTable = {{
    {QsoField::Call, "FQso_Call", 12, true},
    {QsoField::Prefix, "FQso_Prefix", 5, true},
    {QsoField::Date, "FQso_Date", 10, false},
    {QsoField::Time, "FQso_Time", 8, false},
    {QsoField::RstSent, "Fqso_rsts", 4, true},
    {QsoField::RstRcvd, "fqso_rstr", 4, true},
    {QsoField::Recvd, "Fqso_recvd", 4, true},
    {QsoField::Zone, "FQso_Zone", 2, false},
    {QsoField::State, "FQso_State", 2, true},
    {QsoField::County, "FQso_Cnty", 17, false},
    {QsoField::Grid, "Fqso_grid", 6, false},
    {QsoField::CallNotes, "FQso_CallNotes", 250, false},
    {QsoField::Manager, "FQso_Qsl_Mgr", 12, true},
    {QsoField::QsoNote, "Fqso_noteqso", 250, false},
    {QsoField::Iota, "Fqso_iota", 6, true},
    {QsoField::QslDate, "Fqso_QSLdate", 10, false},
    {QsoField::AwardValue, "Fqso_awdval", 8, true},
    {QsoField::Group, "FQSO_group", 3, false},
}};

/// The QSO window's lists by their documented control names, in the order of QsoList
/// (the award wheels are those of AwardWheelTable).
inline constexpr std::array<const char *, static_cast<int>(QsoList::Wheel)> QsoListControls = {
    "Fqso_modex", "Fqso_bandx", "Fqso_labelx", "Fqso_qsl_methodx", "Fqso_confx", "Fqso_qrpx",
    "Fqso_ylx",   "Fqso_satx",  "Faw_valid",   "Fqso_awdtype",     "Fqso_awdsel",
};

/// The other named controls of the QSO window: the country name and the direction and distance.
inline constexpr const char *CountryNameControl = "F_Country";
inline constexpr const char *DirectionControl = "F_DirDist";

const char *ControlName(QsoField field);
const char *ControlName(QsoList list);
const QsoFieldSpec &FieldSpecOf(QsoField field);

/// The 23 fields "Disable Fields" can take out of the Tab order, in the order of
/// the configuration's TabDisabled flags.
extern const std::array<const char *, 23> TabDisabledControls;

/// Every control of the QSO window that takes the focus, in tab order (0 to 44):
/// Tab and Shift+Tab walk it over the controls that have a Tab stop, Ctrl+Tab
/// and Ctrl+Shift+Tab over all of them. Search conditions carry the same numbers.
inline constexpr int QsoTabOrderCount = 45;
const std::array<const char *, QsoTabOrderCount> &QsoTabOrder();

/// The fixed items of a list (the custom award lists change with the QSO and come from the entry).
std::vector<std::string> FixedListItems(QsoList list, bool bandsInMHz);

} // namespace vellum
