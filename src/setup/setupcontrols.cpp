#include "setup/setupcontrols.h"

#include "setup/detail/numberfields.h"

#include "callbook/callbooklookup.h"
#include "config/inifile.h"
#include "logstore/compare.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/qsotables.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <span>
#include <type_traits>

namespace vellum {

// --- SetupControl -----------------------------------------------------------------

int SetupControl::ItemOf(const TConfigRecord &record) const
{
    const ControlValue value = get(record);
    if (kind == ControlKind::Choice) {
        const auto at = std::find(values.begin(), values.end(), std::get<std::int64_t>(value));
        return at == values.end() ? -1 : static_cast<int>(at - values.begin());
    }
    if (kind == ControlKind::TextChoice) {
        const auto at = std::find(textValues.begin(), textValues.end(), std::get<std::string>(value));
        return at == textValues.end() ? FindItem(std::get<std::string>(value)) : static_cast<int>(at - textValues.begin());
    }
    return -1;
}

void SetupControl::SetItem(TConfigRecord &record, int item) const
{
    if (item < 0)
        return;
    const auto index = static_cast<std::size_t>(item);
    if (kind == ControlKind::Choice && index < values.size())
        set(record, values[index]);
    else if (kind == ControlKind::TextChoice && index < textValues.size())
        set(record, textValues[index]);
}

int SetupControl::FindItem(std::string_view text) const
{
    for (std::size_t i = 0; i < items.size(); ++i)
        if (CompareNoCase(items[i], text) == 0)
            return static_cast<int>(i);
    return -1;
}

bool SetupControl::InRange(double number) const
{
    if (kind == ControlKind::Real)
        return std::isfinite(number) && number >= realLow && number <= realHigh;
    return number >= static_cast<double>(low) && number <= static_cast<double>(high);
}

namespace {

std::string numberText(double number)
{
    std::string text = std::to_string(number);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

} // namespace

std::string SetupControl::RangeMessage() const
{
    if (kind == ControlKind::Real)
        return "Value in range " + numberText(realLow) + " to " + numberText(realHigh) + " expected";
    return "Value in range " + std::to_string(low) + " to " + std::to_string(high) + " expected";
}

const SetupControl *SetupPage::Find(std::string_view name) const
{
    for (const SetupControl &control : controls)
        if (CompareNoCase(control.name, name) == 0)
            return &control;
    return nullptr;
}

// --- building the controls -------------------------------------------------------------

namespace {

using detail::AssignNumber;
using detail::NumberOf;

template <typename Locate>
using FieldOf = std::remove_cvref_t<decltype(std::declval<Locate>()(std::declval<TConfigRecord &>()))>;

SetupControl named(std::string name, std::string caption, ControlKind kind)
{
    SetupControl control;
    control.name = std::move(name);
    control.caption = std::move(caption);
    control.kind = kind;
    return control;
}

template <typename Locate>
SetupControl text(std::string name, std::string caption, Locate locate)
{
    SetupControl control = named(std::move(name), std::move(caption), ControlKind::Text);
    control.capacity = FieldOf<Locate>::capacity;
    control.get = [locate](const TConfigRecord &r) -> ControlValue { return std::string(locate(r).view()); };
    control.set = [locate](TConfigRecord &r, const ControlValue &v) { locate(r) = std::get<std::string>(v); };
    return control;
}

template <typename Locate>
void bindNumber(SetupControl &control, Locate locate)
{
    control.get = [locate](const TConfigRecord &r) -> ControlValue { return NumberOf(locate(r)); };
    control.set = [locate](TConfigRecord &r, const ControlValue &v) { AssignNumber(locate(r), std::get<std::int64_t>(v)); };
}

template <typename Locate>
SetupControl integer(std::string name, std::string caption, std::int64_t low, std::int64_t high, Locate locate)
{
    SetupControl control = named(std::move(name), std::move(caption), ControlKind::Integer);
    const auto [typeLow, typeHigh] = detail::TypeRange<FieldOf<Locate>>();
    control.low = std::max(low, typeLow);
    control.high = std::min(high, typeHigh);
    bindNumber(control, locate);
    return control;
}

template <typename Locate>
SetupControl check(std::string name, std::string caption, Locate locate)
{
    SetupControl control = named(std::move(name), std::move(caption), ControlKind::Check);
    bindNumber(control, locate);
    return control;
}

/// A list whose item i stores first + i (1 for wheel indexes, 0 for list indexes).
template <typename Locate>
SetupControl choice(std::string name, std::string caption, std::vector<std::string> items, std::int64_t first,
                    Locate locate)
{
    SetupControl control = named(std::move(name), std::move(caption), ControlKind::Choice);
    for (std::size_t i = 0; i < items.size(); ++i)
        control.values.push_back(first + static_cast<std::int64_t>(i));
    control.items = std::move(items);
    bindNumber(control, locate);
    return control;
}

template <typename Locate>
SetupControl textChoice(std::string name, std::string caption, std::vector<std::string> items,
                        std::vector<std::string> stored, Locate locate)
{
    SetupControl control = text(std::move(name), std::move(caption), locate);
    control.kind = ControlKind::TextChoice;
    control.items = std::move(items);
    control.textValues = std::move(stored);
    return control;
}

/// A check list over the flags locate(record) returns pointers to, one per item.
template <typename Locate>
SetupControl checkList(std::string name, std::string caption, std::vector<std::string> items, Locate locate)
{
    SetupControl control = named(std::move(name), std::move(caption), ControlKind::CheckList);
    control.items = std::move(items);
    control.get = [locate](const TConfigRecord &r) -> ControlValue {
        std::vector<bool> marks;
        for (const ByteBool *flag : locate(r))
            marks.push_back(*flag);
        return marks;
    };
    control.set = [locate](TConfigRecord &r, const ControlValue &v) {
        const auto &marks = std::get<std::vector<bool>>(v);
        std::size_t i = 0;
        for (ByteBool *flag : locate(r))
            if (i < marks.size())
                *flag = marks[i++];
    };
    return control;
}

/// Pointers to count flags of an array from index first on.
template <typename Array>
auto flags(Array &array, std::size_t first, std::size_t count)
{
    std::vector<decltype(&array[0])> out;
    for (std::size_t i = 0; i < count; ++i)
        out.push_back(&array[first + i]);
    return out;
}

/// The size of a position in degrees; its sign is the hemisphere control's.
template <typename Locate>
SetupControl magnitude(std::string name, std::string caption, double high, Locate locate)
{
    SetupControl control = named(std::move(name), std::move(caption), ControlKind::Real);
    control.realLow = 0;
    control.realHigh = high;
    control.get = [locate](const TConfigRecord &r) -> ControlValue { return std::fabs(locate(r).get()); };
    control.set = [locate](TConfigRecord &r, const ControlValue &v) {
        locate(r) = std::copysign(std::get<double>(v), locate(r).get());
    };
    return control;
}

/// East/West or North/South of a position: item 1 (the second) is the negative side.
template <typename Locate>
SetupControl hemisphere(std::string name, std::string caption, std::vector<std::string> items, Locate locate)
{
    SetupControl control = named(std::move(name), std::move(caption), ControlKind::Choice);
    control.items = std::move(items);
    control.values = {0, 1};
    control.get = [locate](const TConfigRecord &r) -> ControlValue {
        return std::int64_t{std::signbit(locate(r).get()) ? 1 : 0};
    };
    control.set = [locate](TConfigRecord &r, const ControlValue &v) {
        const double size = std::fabs(locate(r).get());
        locate(r) = std::get<std::int64_t>(v) == 1 ? -size : size;
    };
    return control;
}

std::vector<std::string> bandNames(int first, int last, bool inMHz, bool padded)
{
    std::vector<std::string> names;
    for (int band = first; band <= last; ++band) {
        std::string name = BandLabel(band, inMHz);
        if (padded && name.size() < 5)
            name.insert(0, 5 - name.size(), ' ');
        names.push_back(name);
    }
    return names;
}

/// The names of modes 1 up to count - 1 (ModeCount for the per-mode flags).
std::vector<std::string> modeNames(int count = ModeCount)
{
    std::vector<std::string> names;
    for (int mode = 1; mode < count; ++mode)
        names.push_back(ModeName(mode));
    return names;
}

std::vector<std::string> qslMethodNames() { return {QslMethodNames.begin(), QslMethodNames.end()}; }

std::vector<std::string> comPorts(std::vector<std::string> more = {})
{
    std::vector<std::string> ports;
    for (int port = 1; port <= 8; ++port)
        ports.push_back("COM" + std::to_string(port));
    ports.insert(ports.end(), more.begin(), more.end());
    return ports;
}

const std::vector<std::string> BaudRates = {"1200", "2400", "4800", "9600", "14400", "19200", "38400"};
const std::vector<std::string> FlowControls = {"None", "XON/XOFF", "RTS/CTS"};
const std::vector<std::string> Parities = {"8 bits/no parity", "7 bits/even parity"};
const std::vector<std::string> TerminalTypes = {"None", "Regular"};

#define VELLUM_FIELD(path) [](auto &r) -> auto & { return r.path; }

SetupPage personalPage()
{
    return {"Personal",
            {text("Personal_Callsign", "Callsign", VELLUM_FIELD(Personal_Callsign)),
             text("Personal_Addr1", "Name and address", VELLUM_FIELD(Personal_Addr1)),
             text("Personal_Addr2", "", VELLUM_FIELD(Personal_Addr2)),
             text("Personal_Addr3", "", VELLUM_FIELD(Personal_Addr3)),
             text("Personal_Addr4", "", VELLUM_FIELD(Personal_Addr4)),
             magnitude("Personal_Longitude", "Longitude", 180, VELLUM_FIELD(Personal_Longitude)),
             magnitude("Personal_Latitude", "Latitude", 90, VELLUM_FIELD(Personal_Latitude)),
             integer("WorkedCutoff", "Worked cutoff (days)", 0, 65535, VELLUM_FIELD(WorkedCutoff)),
             integer("MailedCutoff", "Mailed cutoff (days)", 0, 65535, VELLUM_FIELD(MailedCutoff)),
             choice("Personal_UserLevel", "User level", {"Regular", "Advanced", "Expert"}, 1,
                    VELLUM_FIELD(Personal_UserLevel)),
             hemisphere("Personal_longsign", "Longitude East / West", {"East", "West"}, VELLUM_FIELD(Personal_Longitude)),
             hemisphere("Personal_latsign", "Latitude North / South", {"North", "South"}, VELLUM_FIELD(Personal_Latitude)),
             choice("Personal_UnitFormat", "Distances in", {"Mi", "Km"}, 1, VELLUM_FIELD(Personal_UnitFormat)),
             choice("Personal_DateFormat", "Date format", {"mm/dd/yyyy", "dd/mm/yyyy", "yyyy-mm-dd"}, 1,
                    VELLUM_FIELD(Personal_DateFormat)),
             text("Personal_grid", "Grid locator", VELLUM_FIELD(Personal_grid))}};
}

SetupPage stationPage(bool inMHz)
{
    SetupControl grid = choice("F_GridSelection", "VUCC grid", {"2 chars", "4 chars", "6 chars"}, 0,
                               VELLUM_FIELD(VuccGridLength));
    grid.values = {2, 4, 6};
    return {"Station",
            {checkList("CL_station_bands", "Station bands", bandNames(1, 15, inMHz, true),
                       [](auto &r) { return flags(r.StationBands, 1, 15); }),
             checkList("CL_station_modes", "Station modes", modeNames(),
                       [](auto &r) { return flags(r.StationModes, 1, 15); }),
             checkList("CL_VUCC_bands", "VUCC bands", bandNames(10, 15, inMHz, true),
                       [](auto &r) { return flags(r.VuccBands, 0, 6); }),
             choice("Rotator_type", "Rotator",
                    {"None", "SARtek1", "Hygn DCU1", "Orion M2", "HD-1780", "Message based"}, 1,
                    VELLUM_FIELD(Rotator_type)),
             choice("Rotator_port", "Rotator port", comPorts(), 1, VELLUM_FIELD(Rotator_port)),
             text("Rotator_Message", "Rotator program (class|title)", VELLUM_FIELD(Rotator_Message)),
             choice("F_Band_type", "Band decoder", {"None", "Top Ten"}, 1, VELLUM_FIELD(F_Band_type)),
             choice("F_Band_Port", "Decoder port", {"LPT1", "LPT2", "LPT3"}, 1, VELLUM_FIELD(F_Band_Port)),
             choice("F_Band_sel", "Decoder bands", {"160m-10m", "160m-6m", "6m-23cm"}, 1, VELLUM_FIELD(F_Band_sel)),
             grid}};
}

SetupPage qsoPage()
{
    // The band chooser and the cutoff field beside it show the cutoff of one band
    // at a time: the dialog keeps them (see TSetupDialog); section CWCUTOFF holds all.
    SetupControl cutoffBand = named("Personal_band", "CW cutoff of band", ControlKind::Choice);
    cutoffBand.items = bandNames(1, 15, false, false);
    for (std::int64_t band = 1; band <= 15; ++band)
        cutoffBand.values.push_back(band);
    cutoffBand.iniKey = false;
    SetupControl cutoff = named("Personal_CWcutoff", "Cutoff (kHz)", ControlKind::Real);
    cutoff.realLow = 0;
    cutoff.realHigh = 1e9;
    cutoff.iniKey = false;
    return {"QSO",
            {integer("DefQSO_Group", "Group", 0, 255, VELLUM_FIELD(DefQSO_Group)),
             choice("DefQSO_band", "Band", bandNames(1, AllBandCount - 1, false, false), 1, VELLUM_FIELD(DefQSO_band)),
             choice("DefQSO_Mode", "Mode", modeNames(AllModeCount), 1, VELLUM_FIELD(DefQSO_Mode)),
             choice("DefQSO_Method", "QSL method", qslMethodNames(), 0, VELLUM_FIELD(DefQSO_Method)),
             choice("DefQSO_Label", "Label", {"Y", "N"}, 1, VELLUM_FIELD(DefQSO_Label)),
             check("DefQSO_ShowHints", "Show Hints", VELLUM_FIELD(DefQSO_ShowHints)),
             check("DefQSO_CallUpdate", "Callsign Update", VELLUM_FIELD(DefQSO_CallUpdate)),
             check("DefQSO_WarnOnMove", "Warn if QSO not saved", VELLUM_FIELD(DefQSO_WarnOnMove)),
             check("DefQSO_Cycle", "Cycle Files", VELLUM_FIELD(DefQSO_Cycle)),
             check("DefQSO_CheckCalendar", "Check Calendar at startup", VELLUM_FIELD(DefQSO_CheckCalendar)),
             integer("DefQSO_BackupInterval", "Backup interval (minutes, 0 = none)", 0, 1440,
                     VELLUM_FIELD(DefQSO_BackupInterval)),
             check("DefQSO_ShowSecs", "Show seconds in time", VELLUM_FIELD(DefQSO_ShowSecs)),
             check("DefQSO_ShowBandMHz", "Show band in MHz", VELLUM_FIELD(DefQSO_ShowBandMHz)),
             choice("DefQSO_CallSearch", "Call search", {"Exact", "Pattern", "Fuzzy", "Substring"}, 1,
                    VELLUM_FIELD(DefQSO_CallSearch)),
             choice("DefQSO_DateSearch", "Date search", {"Exact", "Greater Equal", "Range"}, 1,
                    VELLUM_FIELD(DefQSO_DateSearch)),
             cutoffBand, cutoff}};
}

SetupPage screenPage()
{
    return {"Screen",
            {text("F_FontBName", "Listbox font", VELLUM_FIELD(F_FontBName)),
             check("F_FontBBold", "Bold", VELLUM_FIELD(F_FontBBold)),
             text("F_FontIName", "Input font", VELLUM_FIELD(F_FontIName)),
             check("F_FontIBold", "Bold", VELLUM_FIELD(F_FontIBold)),
             integer("F_FormScale", "Scale (%)", 25, 255, VELLUM_FIELD(F_FormScale)),
             text("F_FontLName", "Heading font", VELLUM_FIELD(F_FontLName)),
             check("F_FontLBold", "Bold", VELLUM_FIELD(F_FontLBold)),
             integer("F_FontLSize", "Heading size", 1, 255, VELLUM_FIELD(F_FontLSize)),
             integer("F_FontISize", "Input size", 1, 255, VELLUM_FIELD(F_FontISize)),
             integer("F_FontBSize", "Listbox size", 1, 255, VELLUM_FIELD(F_FontBSize)),
             check("F_KeepPosition", "Leave all windows in original position", VELLUM_FIELD(F_KeepPosition))}};
}

SetupPage importPage()
{
    return {"Import",
            {check("Imp_syntax", "Report syntax errors", VELLUM_FIELD(Imp_syntax)),
             check("imp_prefix", "Report prefix differences", VELLUM_FIELD(imp_prefix)),
             check("imp_zone", "Report zone differences", VELLUM_FIELD(imp_zone)),
             choice("imp_action", "On a difference",
                    {"Show QSO information and ask", "Accept VELLUM values", "Accept imported values"}, 0,
                    VELLUM_FIELD(imp_action))}};
}

SetupPage radioPage(const SetupChoices &choices)
{
    std::vector<std::string> radios = {"None"};
    std::vector<std::string> stored = {""};
    radios.insert(radios.end(), choices.radios.begin(), choices.radios.end());
    stored.insert(stored.end(), choices.radios.begin(), choices.radios.end());
    return {"Radio",
            {integer("Hardware_RadioPollRate", "Poll rate (ms)", 1, 65535, VELLUM_FIELD(Hardware_RadioPollRate)),
             integer("Hardware_RadioID", "Radio ID", 0, 255, VELLUM_FIELD(Hardware_RadioID)),
             integer("Hardware_baudrate", "Baud rate", 0, 65535, VELLUM_FIELD(Hardware_baudrate)),
             check("hardware_defaultrate", "Default", VELLUM_FIELD(hardware_defaultrate)),
             textChoice("Hardware_RadioType", "Radio", radios, stored, VELLUM_FIELD(Hardware_RadioType)),
             choice("Hardware_RadioCOMPort", "Radio port", comPorts(), 1, VELLUM_FIELD(Hardware_RadioCOMPort)),
             integer("Hardware_RadioMaxTries", "Tries", 1, 255, VELLUM_FIELD(Hardware_RadioMaxTries)),
             choice("hardware_cwport", "CW port",
                    {"None", "LPT1", "LPT2", "LPT3", "DTR on radio port", "RTS on radio port"}, 1,
                    VELLUM_FIELD(hardware_cwport)),
             integer("hardware_PTTDelay", "PTT delay (ms)", 0, 255, VELLUM_FIELD(hardware_PTTDelay)),
             check("Hardware_DTRHigh", "DTR high", VELLUM_FIELD(Hardware_DTRHigh)),
             check("Hardware_RTSHigh", "RTS high", VELLUM_FIELD(Hardware_RTSHigh))}};
}

SetupPage packet1Page()
{
    return {"Packet1",
            {text("Packet_DXCallsign", "Always announce", VELLUM_FIELD(Packet_DXCallsign)),
             text("Packet_OkPrefixes", "Spotters accepted (F1: country listing)", VELLUM_FIELD(Packet_OkPrefixes)),
             choice("TNC_Comport", "Port", comPorts({"TCP/IP", "Msg"}), 1, VELLUM_FIELD(TNC_Comport)),
             choice("TNC_Baudrate", "Baud rate", BaudRates, 1, VELLUM_FIELD(TNC_Baudrate)),
             choice("TNC_Flow", "Flow control", FlowControls, 1, VELLUM_FIELD(TNC_Flow)),
             choice("TNC_Parity", "Parity", Parities, 1, VELLUM_FIELD(TNC_Parity)),
             choice("TNC_Type", "Terminal", TerminalTypes, 1, VELLUM_FIELD(TNC_Type)),
             text("Packet_MsgHandshake", "Msg program (class|title)", VELLUM_FIELD(Packet_MsgHandshake)),
             check("Packet_IgnoreGray", "Ignore 'Gray' Spots", VELLUM_FIELD(Packet_IgnoreGray)),
             check("packet_soundbell", "Use bell character", VELLUM_FIELD(packet_soundbell)),
             check("DefQSO_BackupDX", "Backup DX spots", VELLUM_FIELD(DefQSO_BackupDX)),
             check("Packet_ShowOnApp", "Show spot on taskbar", VELLUM_FIELD(Packet_ShowOnApp)),
             check("Packet_ShowFunction", "Show function keys", VELLUM_FIELD(Packet_ShowFunction)),
             choice("Packet_talkaction", "Talk action", {"Ignore", "System Beep", "List in Window", "Beep & show window"},
                    0, VELLUM_FIELD(Packet_talkaction)),
             choice("Packet_DXAlert", "DX alert", {"None", "New Country", "New Mode", "New Band/Mode", "All"}, 0,
                    VELLUM_FIELD(Packet_DXAlert)),
             choice("Packet_DXVoice", "Audio / Voice",
                    {"System Beep", "CW announce", "Call", "Band/Call", "Mode/Call", "Band/Mode/Call"}, 0,
                    VELLUM_FIELD(Packet_DXVoice)),
             choice("Packet_EndorsedBM", "Endorsements", {"Adds to Award", "New band or mode", "New band/mode"}, 1,
                    VELLUM_FIELD(Packet_EndorsedBM))}};
}

SetupPage packet2Page()
{
    return {"Packet2",
            {text("Packet_pat1", "Spot pattern 1", VELLUM_FIELD(Packet_pat1)),
             text("Packet_pat2", "Spot pattern 2", VELLUM_FIELD(Packet_pat2)),
             text("Packet_pat3", "Spot pattern 3", VELLUM_FIELD(Packet_pat3)),
             text("Packet_pat4", "Spot pattern 4", VELLUM_FIELD(Packet_pat4)),
             integer("Packet_max_lines", "Scrollback lines", 1, 1000000, VELLUM_FIELD(Packet_max_lines)),
             integer("Packet_max_putout", "Spot list size", 1, 65535, VELLUM_FIELD(Packet_max_putout)),
             text("packet_talk1", "Warning pattern 1", VELLUM_FIELD(packet_talk1)),
             text("packet_talk2", "Warning pattern 2", VELLUM_FIELD(packet_talk2)),
             text("packet_talk3", "Warning pattern 3", VELLUM_FIELD(packet_talk3)),
             text("packet_talk4", "Warning pattern 4", VELLUM_FIELD(packet_talk4))}};
}

SetupPage rttyPage()
{
    return {"RTTY",
            {choice("RTTY_Comport", "Port", comPorts({"TCP/IP"}), 1, VELLUM_FIELD(RTTY_Comport)),
             choice("RTTY_Baudrate", "Baud rate", BaudRates, 1, VELLUM_FIELD(RTTY_Baudrate)),
             choice("RTTY_Flow", "Flow control", FlowControls, 1, VELLUM_FIELD(RTTY_Flow)),
             choice("RTTY_Parity", "Parity", Parities, 1, VELLUM_FIELD(RTTY_Parity)),
             choice("RTTY_Type", "Terminal", TerminalTypes, 1, VELLUM_FIELD(RTTY_Type)),
             integer("rtty_max_lines", "Scrollback lines", 1, 1000000, VELLUM_FIELD(rtty_max_lines)),
             check("rtty_soundbell", "Use bell character", VELLUM_FIELD(rtty_soundbell)),
             check("rtty_alwaysimmed", "Always in Immediate mode", VELLUM_FIELD(rtty_alwaysimmed)),
             check("rtty_checkspots", "Check for DXspots", VELLUM_FIELD(rtty_checkspots)),
             check("RTTY_CheckOtherW", "Announce DX to other window", VELLUM_FIELD(RTTY_CheckOtherW)),
             check("rtty_showfunctions", "Show function keys", VELLUM_FIELD(rtty_showfunctions))}};
}

SetupPage extDataPage()
{
    return {"Ext Data",
            {choice("F_ExtAddrType", "Address data", AddressSourceNames, 0, VELLUM_FIELD(F_ExtAddrType)),
             text("F_ExtAddrPath", "Data path", VELLUM_FIELD(F_ExtAddrPath)),
             check("F_ExtQSLEnabled", "QSL manager program enabled", VELLUM_FIELD(F_ExtQSLEnabled)),
             text("F_ExtQSLProg", "QSL manager program (double click: choose)", VELLUM_FIELD(F_ExtQSLProg))}};
}

SetupPage f2KeyPage()
{
    return {"F2 Key",
            {check("F_F2_Confirm", "Mark QSO as Confirmed", VELLUM_FIELD(F_F2_Confirm)),
             check("F_F2_Alert", "Alert when Confirming New Band or Mode", VELLUM_FIELD(F_F2_Alert)),
             choice("F_F2_label", "Label", {"Do Nothing", "Set Label Field to Y", "Mark for Sequenced Printing"}, 0,
                    VELLUM_FIELD(F_F2_label)),
             choice("F_F2_Method", "QSL method", qslMethodNames(), 0, VELLUM_FIELD(F_F2_Method)),
             choice("F_F2_NextQSO", "Then", {"Same QSO", "Next QSO", "Specify New QSO Filter"}, 0,
                    VELLUM_FIELD(F_F2_NextQSO))}};
}

/// One of the award pages; the control names differ in case from award to award.
SetupPage awardPage(const char *caption, int award, std::vector<std::string> names, bool inMHz)
{
    const auto setup = [award](auto &r) -> auto & { return r.AwardSetup[static_cast<std::size_t>(award)]; };
    return {caption,
            {checkList(names[0], "Valid bands", bandNames(1, 15, inMHz, true),
                       [setup](auto &r) { return flags(setup(r).ValidBands, 1, 15); }),
             checkList(names[1], "Separate bands", bandNames(1, 15, inMHz, true),
                       [setup](auto &r) { return flags(setup(r).SeparateBands, 1, 15); }),
             checkList(names[2], "Valid modes", modeNames(), [setup](auto &r) { return flags(setup(r).ValidModes, 1, 15); }),
             checkList(names[3], "Sub-awards", {"Mixed", "Mode", "Band"}, [setup](auto &r) {
                 auto &s = setup(r);
                 return std::vector{&s.Mixed, &s.ModeAwards, &s.BandAwards};
             })}};
}

SetupPage reportsPage(const SetupChoices &choices)
{
    return {"Rep/Lab",
            {text("F_RepFontName", "Report font", VELLUM_FIELD(F_RepFontName)),
             integer("F_RepFontSize", "Size", 1, 255, VELLUM_FIELD(F_RepFontSize)),
             check("F_RepBoldHeader", "Bold header", VELLUM_FIELD(F_RepBoldHeader)),
             choice("F_RepEmbellish", "Embellishment", {"None", "Lines", "Lines & Shades"}, 0,
                    VELLUM_FIELD(F_RepEmbellish)),
             text("F_ReportHeader", "Report heading", VELLUM_FIELD(F_ReportHeader)),
             textChoice("F_CurrentReport", "Current report", choices.reports, choices.reports,
                        VELLUM_FIELD(F_CurrentReport)),
             text("F_LabGreeting1", "Label greeting 1", VELLUM_FIELD(F_LabGreeting1)),
             text("F_LabGreeting2", "Label greeting 2", VELLUM_FIELD(F_LabGreeting2)),
             text("F_LabGreeting3", "Label greeting 3", VELLUM_FIELD(F_LabGreeting3))}};
}

#undef VELLUM_FIELD

void addSorted(std::vector<std::string> &list, const std::string &name)
{
    if (!name.empty() && std::find(list.begin(), list.end(), name) == list.end())
        list.push_back(name);
    std::sort(list.begin(), list.end(), [](const std::string &a, const std::string &b) { return CompareNoCase(a, b) < 0; });
}

} // namespace

const std::vector<std::string> AddressSourceNames = {"None", "Amsoft", "Buckmaster", "Flying Horse", "QRZ", "Octavia",
                                                     "Online callbook"};

std::string AddressSourceLibrary(int source) { return CallbookLibraryName(source); }

SetupChoices FindSetupChoices(const TConfigRecord &record)
{
    namespace fs = std::filesystem;
    SetupChoices choices;
    std::error_code ec;
    for (auto it = fs::directory_iterator(RadiosDir(), ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const fs::path &path = it->path();
        if (CompareNoCase(path.extension().string(), ".rig") == 0)
            choices.radios.push_back(path.stem().string());
    }
    try {
        const TIniFile reports(DataFileName(DataFile::Reports));
        choices.reports = reports.ReadSections();
    } catch (const EFileError &) {
        // An unreadable report file lists no reports; the current one is kept below.
    }
    addSorted(choices.radios, record.Hardware_RadioType.str());
    addSorted(choices.reports, record.F_CurrentReport.str());
    return choices;
}

std::vector<SetupPage> SetupPages(const SetupChoices &choices, bool bandsInMHz)
{
    return {personalPage(),
            stationPage(bandsInMHz),
            qsoPage(),
            screenPage(),
            importPage(),
            radioPage(choices),
            packet1Page(),
            packet2Page(),
            rttyPage(),
            extDataPage(),
            f2KeyPage(),
            awardPage("DXCC", AwardDXCC, {"CL_DXCC_valid", "CL_DXCC_separate", "CL_DXCC_modes", "CL_DXCC_Awards"}, bandsInMHz),
            awardPage("WAS", AwardWAS, {"CL_WAS_valid", "CL_WAS_separate", "CL_WAS_modes", "CL_WAS_awards"}, bandsInMHz),
            awardPage("WAZ", AwardWAZ, {"CL_WAZ_valid", "CL_WAZ_separate", "CL_WAZ_modes", "CL_WAZ_awards"}, bandsInMHz),
            awardPage("WPX", AwardWPX, {"CL_WPX_Valid", "CL_WPX_separate", "CL_WPX_modes", "CL_WPX_awards"}, bandsInMHz),
            reportsPage(choices)};
}

RadioSummary ReadRadioSummary(const std::string &name)
{
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..")
        return {}; // a stored name never leaves the radio directory
    try {
        const TIniFile definition(FindFileNoCase(RadiosDir(), name + ".rig"));
        return {definition.ReadString("GENERAL", "NOTES", "").substr(0, 35),
                definition.ReadInteger("GENERAL", "BAUD", 0)};
    } catch (const EFileError &) {
        return {};
    }
}

} // namespace vellum
