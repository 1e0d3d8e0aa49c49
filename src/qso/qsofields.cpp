#include "qsofields.h"

#include "qsosearch.h"

#include "logstore/qsotables.h"

#include <algorithm>
#include <iterator>

namespace vellum {

const char *ControlName(QsoField field) { return FieldSpecOf(field).control; }

const char *ControlName(QsoList list)
{
    int index = static_cast<int>(list);
    int wheel = index - static_cast<int>(QsoList::Wheel);
    return wheel >= 0 ? AwardWheelTable[wheel].control : QsoListControls[static_cast<std::size_t>(index)];
}

const QsoFieldSpec &FieldSpecOf(QsoField field) { return QsoFieldTable[static_cast<std::size_t>(field)]; }

const std::array<const char *, 23> TabDisabledControls = {
    "FQso_Prefix", "FQso_Date",  "FQso_Time", "Fqso_modex", "Fqso_bandx", "Fqso_rsts", "fqso_rstr", "Fqso_recvd",
    "FQso_Zone",   "FQso_State", "FQso_Cnty", "Fqso_grid",  "FQso_CallNotes", "FQso_Qsl_Mgr", "Fqso_noteqso",
    "Fqso_iota",   "Fqso_labelx", "Fqso_QSLdate", "Fqso_qsl_methodx", "Fqso_confx", "Fqso_qrpx", "Fqso_ylx",
    "Fqso_satx"};

const std::array<const char *, QsoTabOrderCount> &QsoTabOrder()
{
    static const std::array<const char *, QsoTabOrderCount> order = [] {
        using F = QsoField;
        using L = QsoList;
        std::array<const char *, QsoTabOrderCount> names{};
        const char *first[] = {
            ControlName(F::Call),      ControlName(F::Prefix),   ControlName(F::Date),      ControlName(F::Time),
            ControlName(L::Mode),      ControlName(L::Band),     ControlName(F::RstSent),   ControlName(F::RstRcvd),
            ControlName(F::Recvd),     ControlName(F::Zone),     ControlName(F::State),     ControlName(F::County),
            ControlName(F::Grid),      ControlName(F::CallNotes), ControlName(F::Manager),  ControlName(F::QsoNote),
            ControlName(F::Iota),      ControlName(L::Label),    ControlName(F::QslDate),   ControlName(L::QslMethod),
            ControlName(L::Confirmed), ControlName(L::Qrp),      ControlName(L::Yl),        ControlName(L::Satellite),
            ControlName(L::AwardType), ControlName(F::AwardValue), ControlName(L::AwardValueList)};
        std::copy(std::begin(first), std::end(first), names.begin());
        for (const AwardWheel &wheel : AwardWheelTable)
            names[static_cast<std::size_t>(wheel.tabOrder)] = wheel.control;
        names[41] = ControlName(F::Group);
        names[44] = ControlName(L::ValidDx);
        return names;
    }();
    return order;
}

std::vector<std::string> FixedListItems(QsoList list, bool bandsInMHz)
{
    std::vector<std::string> items;
    switch (list) {
    case QsoList::Mode:
        for (int i = 1; i < AllModeCount; ++i)
            items.emplace_back(ModeInfoOf(i).name);
        break;
    case QsoList::Band:
        for (int i = 1; i < AllBandCount; ++i)
            items.push_back(BandLabel(i, bandsInMHz));
        break;
    case QsoList::QslMethod:
        items.assign(QslMethodNames.begin(), QslMethodNames.end());
        break;
    case QsoList::Label:
    case QsoList::Confirmed:
    case QsoList::Qrp:
    case QsoList::Yl:
        items = {"Y", "N"};
        break;
    case QsoList::Satellite:
        items = {"-", "A", "B", "C", "D", "E", "F", "G", "H"};
        break;
    case QsoList::ValidDx:
        items = {"Valid", "Invalid"};
        break;
    case QsoList::AwardType:
    case QsoList::AwardValueList:
        break;
    default:
        items = {"--", "Subm", "Chkd"}; // the award wheels
        break;
    }
    return items;
}

} // namespace vellum
