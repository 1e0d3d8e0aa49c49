#include "configtestutil.h"

#include "logstore/bytes.h"

#include <bit>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vellum::test {

std::size_t LayoutField::width() const
{
    switch (kind) {
    case Kind::U8:
    case Kind::Flag: return 1;
    case Kind::U16: return 2;
    case Kind::I32: return 4;
    case Kind::F64: return 8;
    case Kind::Str: return capacity + 1;
    }
    return 0;
}

void PutValue(std::vector<std::uint8_t> &image, std::size_t offset, Kind kind, const Value &value)
{
    std::uint8_t *p = image.data() + offset;
    switch (kind) {
    case Kind::U8:
    case Kind::Flag: *p = static_cast<std::uint8_t>(std::get<std::int64_t>(value)); break;
    case Kind::U16: storeU16(p, static_cast<std::uint16_t>(std::get<std::int64_t>(value))); break;
    case Kind::I32: storeU32(p, static_cast<std::uint32_t>(std::get<std::int64_t>(value))); break;
    case Kind::F64: {
        const auto bits = std::bit_cast<std::uint64_t>(std::get<double>(value));
        storeU32(p, static_cast<std::uint32_t>(bits));
        storeU32(p + 4, static_cast<std::uint32_t>(bits >> 32));
        break;
    }
    case Kind::Str: {
        const std::string &text = std::get<std::string>(value);
        *p = static_cast<std::uint8_t>(text.size());
        std::copy(text.begin(), text.end(), p + 1);
        break;
    }
    }
}

std::vector<std::uint8_t> BuildImage(bool useForeign, std::uint8_t fill)
{
    std::vector<std::uint8_t> image(8672, fill);
    for (const LayoutField &field : DocumentedLayout()) {
        if (field.kind == Kind::Str) // the unused end of a string field keeps the fill
            image[field.offset] = 0;
        PutValue(image, field.offset, field.kind, useForeign ? field.foreign : field.builtIn);
    }
    return image;
}

namespace {

// The layout as documented, one adder per kind of setting.
class LayoutBuilder {
public:
    std::vector<LayoutField> fields;

    void u8(const std::string &path, std::size_t offset, std::int64_t builtIn, std::int64_t foreign)
    {
        fields.push_back({path, offset, Kind::U8, 0, builtIn, foreign});
    }
    void flag(const std::string &path, std::size_t offset, bool builtIn, bool foreign)
    {
        fields.push_back({path, offset, Kind::Flag, 0, std::int64_t{builtIn}, std::int64_t{foreign}});
    }
    void u16(const std::string &path, std::size_t offset, std::int64_t builtIn, std::int64_t foreign)
    {
        fields.push_back({path, offset, Kind::U16, 0, builtIn, foreign});
    }
    void i32(const std::string &path, std::size_t offset, std::int64_t builtIn, std::int64_t foreign)
    {
        fields.push_back({path, offset, Kind::I32, 0, builtIn, foreign});
    }
    void f64(const std::string &path, std::size_t offset, double builtIn, double foreign)
    {
        fields.push_back({path, offset, Kind::F64, 0, builtIn, foreign});
    }
    void str(const std::string &path, std::size_t offset, std::size_t capacity, std::string builtIn,
             std::string foreign)
    {
        fields.push_back({path, offset, Kind::Str, capacity, std::move(builtIn), std::move(foreign)});
    }
    void keys(const std::string &name, std::size_t offset, const std::vector<std::string> &builtIn)
    {
        for (std::size_t n = 0; n < 16; ++n)
            str(name + "[" + std::to_string(n) + "]", offset + 76 * n, 75, n < builtIn.size() ? builtIn[n] : "",
                name.substr(0, 3) + " F" + std::to_string(n + 1) + "|%M");
    }
};

std::string at(const std::string &name, std::size_t index) { return name + "[" + std::to_string(index) + "]"; }

bool contains(std::initializer_list<int> list, std::size_t value)
{
    for (int v : list)
        if (static_cast<std::size_t>(v) == value)
            return true;
    return false;
}

void addHeader(LayoutBuilder &b)
{
    b.str("magic", 0, 8, "ZAPHCFGI", "ZAPHCFGI");
    b.i32("ScreenPpi", 12, 0, 96);
    b.i32("ScreenWidth", 16, 0, 1920);
    b.u8("QsoWindowSize", 20, 0, 3);
    b.str("LASTLOG", 21, 128, "", "/home/op/logs/QQ0ABC.VLL");
    for (std::size_t k = 0; k < 21; ++k) {
        const std::string w = at("WindowPos", k);
        const std::size_t o = 152 + 20 * k;
        const auto n = static_cast<std::int64_t>(k);
        b.i32(w + ".Top", o, 0, 100 + n);
        b.i32(w + ".Left", o + 4, 0, -200 - n);
        b.i32(w + ".Height", o + 8, 0, 300 + n);
        b.i32(w + ".Width", o + 12, 0, 400 + n);
        b.flag(w + ".Open", o + 16, false, k % 2 == 1);
    }
    b.i32("MainWidth", 572, 0, 1600);
    b.i32("MainTop", 576, 0, 10);
    b.i32("MainLeft", 580, 0, 20);
}

void addPersonal(LayoutBuilder &b)
{
    b.str("Personal_Callsign", 584, 12, "", "QQ0ABC");
    b.u8("Personal_UserLevel", 605, 1, 3);
    for (std::size_t n = 0; n < 4; ++n)
        b.str("Personal_Addr" + std::to_string(n + 1), 606 + 41 * n, 40, "", "Address line " + std::to_string(n + 1));
    // The home position is the program's own choice (Berlin).
    b.str("Personal_grid", 770, 6, "JO62qm", "FN31pr");
    b.f64("Personal_Longitude", 784, 13.405, -72.5);
    b.f64("Personal_Latitude", 792, 52.52, 41.75);
    b.u8("Personal_DateFormat", 800, 1, 3);
    b.u8("Personal_UnitFormat", 801, 1, 2);
    const double cutoffs[] = {1840, 3750, 7150, 10500, 14150, 18110, 21200, 24930,
                              28300, 50100, 144100, 220000, 420000, 1240000, 9999000};
    for (std::size_t band = 1; band <= 15; ++band)
        b.f64(at("Personal_CWcutoff", band), 808 + 8 * band, cutoffs[band - 1], cutoffs[band - 1] + 5.5);
    b.u16("WorkedCutoff", 936, 10000, 365);
    b.u16("MailedCutoff", 938, 10000, 730);
}

void addQso(LayoutBuilder &b)
{
    b.u8("DefQSO_Mode", 944, 14, 4);
    b.u8("DefQSO_band", 945, 5, 3);
    b.u8("DefQSO_Method", 946, 1, 3);
    b.u8("DefQSO_Label", 947, 1, 2);
    b.u8("DefQSO_Group", 948, 0, 7);
    b.u16("DefQSO_BackupInterval", 950, 2, 15);
    b.flag("DefQSO_Cycle", 952, true, false);
    b.flag("DefQSO_ShowSecs", 953, false, true);
    b.u8("DefQSO_CallSearch", 954, 2, 4);
    b.u8("DefQSO_DateSearch", 955, 2, 3);
    b.flag("DefQSO_ShowHints", 956, true, false);
    b.flag("DefQSO_CallUpdate", 958, false, true);
    b.flag("DefQSO_WarnOnMove", 959, true, false);
    b.flag("DefQSO_CheckCalendar", 960, true, false);
    b.flag("DefQSO_ShowBandMHz", 961, false, true);
    // The built-in image holds the screen defaults of a 120 pixels-per-inch screen.
    b.u8("F_FormScale", 962, 100, 80);
    b.flag("F_KeepPosition", 963, false, true);
    b.str("F_FontLName", 964, 40, "Arial", "Tahoma");
    b.u8("F_FontLSize", 1005, 9, 8);
    b.flag("F_FontLBold", 1006, false, true);
    b.str("F_FontIName", 1007, 40, "Fixedsys", "Courier");
    b.u8("F_FontISize", 1048, 11, 10);
    b.flag("F_FontIBold", 1049, false, true);
    b.str("F_FontBName", 1050, 40, "Fixedsys", "Lucida");
    b.u8("F_FontBSize", 1091, 11, 12);
    b.flag("F_FontBBold", 1092, false, true);
}

void addRadioAndPacket(LayoutBuilder &b)
{
    b.str("Hardware_RadioType", 1094, 30, "", "IC-7300");
    b.u8("Hardware_RadioID", 1125, 0, 148);
    b.u16("Hardware_baudrate", 1126, 0, 19200);
    b.flag("hardware_defaultrate", 1128, true, false);
    b.u8("Hardware_RadioCOMPort", 1129, 3, 7);
    b.u16("Hardware_RadioPollRate", 1130, 5000, 750);
    b.u8("Hardware_RadioMaxTries", 1132, 6, 3);
    b.flag("ReopenFreqWindow", 1133, false, true);
    b.flag("Hardware_DTRHigh", 1134, false, true);
    b.flag("Hardware_RTSHigh", 1135, false, true);
    b.u8("TNC_Type", 1136, 1, 2);
    b.u8("TNC_Comport", 1137, 4, 9);
    b.u8("TNC_Baudrate", 1138, 4, 7);
    b.u8("TNC_Flow", 1139, 1, 3);
    b.u8("TNC_Parity", 1140, 1, 2);
    b.i32("Packet_max_lines", 1144, 500, 2000);
    b.i32("PackSplit", 1148, 50, 70);
    b.flag("packet_soundbell", 1154, false, true);
    b.flag("Packet_ShowFunction", 1156, true, false);
    // F5's connect command names this program's own example node.
    b.keys("TNCKEYS", 1157, {"SH/DX|SH/DX%M", "WWV|SH/W/2%M", "Msg|DI/N%M", "", "Connect|C QQ0DX-1%M"});
    b.u16("Packet_max_putout", 2376, 100, 250);
    b.i32("Packet_DXAlert", 2380, 2, 4);
    b.i32("Packet_DXVoice", 2384, 0, 5);
    b.str("Packet_DXCallsign", 2389, 60, "", "QQ1XX,QQ2YY");
    b.str("Packet_MsgHandshake", 2450, 60, "", "TForm|Logger");
    b.flag("Packet_IgnoreGray", 2511, false, true);
    b.flag("Packet_ShowOnApp", 2512, false, true);
    b.flag("DefQSO_BackupDX", 2513, false, true);
    b.u8("Packet_EndorsedBM", 2514, 1, 3);
    b.i32("Packet_talkaction", 2516, 1, 3);
    b.u8("SpotSortOrder", 2520, 0, 2);
    b.str("Packet_OkPrefixes", 2521, 60, "", "DL,ON,PA");
    const std::int64_t colours[] = {0x0000FF, 0xFF0000, 0x0000FF, 0xFF0000, 0x000000, 0xC0C0C0};
    for (std::size_t t = 1; t <= 6; ++t)
        b.i32(at("SpotColors", t - 1), 2580 + 4 * t, colours[t - 1], 0x123450 + static_cast<std::int64_t>(t));
    const char *patterns[] = {"DX|DE|r:|f|c|q|tZ", "f|c|d|tZ|q|<r>", "r|f|c|q|<t|d>", "DX|c|f|q"};
    for (std::size_t n = 0; n < 4; ++n)
        b.str("Packet_pat" + std::to_string(n + 1), 2608 + 33 * n, 32, patterns[n], "c|f|" + std::to_string(n));
    const char *talk[] = {"~ DE *:*", "TO LOCAL DE *", "TO ALL DE *", "WWV*"};
    for (std::size_t n = 0; n < 4; ++n)
        b.str("packet_talk" + std::to_string(n + 1), 2740 + 21 * n, 20, talk[n], "WCY" + std::to_string(n) + "*");
    for (std::size_t c = 0; c < 7; ++c)
        b.u16(at("PACKETCOL", c), 2824 + 2 * c, 0, 40 + static_cast<std::int64_t>(c));
}

void addRtty(LayoutBuilder &b)
{
    b.u8("RTTY_Type", 2840, 1, 2);
    b.u8("RTTY_Comport", 2841, 5, 9);
    b.u8("RTTY_Baudrate", 2842, 4, 2);
    b.u8("RTTY_Flow", 2843, 1, 2);
    b.u8("RTTY_Parity", 2844, 1, 2);
    b.i32("rtty_max_lines", 2848, 500, 800);
    b.i32("RttySplit", 2852, 50, 40);
    b.flag("rtty_checkspots", 2856, false, true);
    b.flag("RTTY_CheckOtherW", 2857, false, true);
    b.flag("rtty_soundbell", 2858, false, true);
    b.flag("rtty_alwaysimmed", 2859, true, false);
    b.flag("rtty_showfunctions", 2860, true, false);
    b.keys("RTTYKEYS", 2861,
           {"CQ|CQ CQ CQ de %~ %~%M", "TnxReply|%5%@ DE %~ YOUR RST IS %$ %$%M", "", "", "RYRY|RYRYRYRYRYRYRYRYRYRY%M"});
}

void addAwardSetup(LayoutBuilder &b, std::size_t award, std::initializer_list<int> valid,
                   std::initializer_list<int> separate, std::initializer_list<int> modes)
{
    const std::string a = at("AwardSetup", award);
    const std::size_t o = 4168 + 51 * award;
    for (std::size_t i = 1; i <= 15; ++i) {
        b.flag(a + at(".ValidBands", i), o + i, contains(valid, i), !contains(valid, i));
        b.flag(a + at(".SeparateBands", i), o + 16 + i, contains(separate, i), !contains(separate, i));
        b.flag(a + at(".ValidModes", i), o + 32 + i, contains(modes, i), !contains(modes, i));
    }
    b.flag(a + ".Mixed", o + 48, true, false);
    b.flag(a + ".ModeAwards", o + 49, true, award % 2 == 0);
    b.flag(a + ".BandAwards", o + 50, true, award % 2 == 1);
}

void addStation(LayoutBuilder &b)
{
    for (std::size_t i = 1; i <= 15; ++i) {
        b.flag(at("StationBands", i), 4080 + i, true, i % 2 == 1);
        b.flag(at("StationModes", i), 4096 + i, true, i % 2 == 0);
    }
    b.flag("ContestEnabled", 4112, false, true);
    // The inner layout of the contest settings is this program's own.
    b.u16("ContestStartDate", 4114, 0, 45000);
    b.i32("ContestStartTime", 4116, 0, 43200);
    b.i32("ContestNextNumber", 4120, 0, 17);
    b.str("ContestNoteText", 4124, 17, "", "NR ##");
    for (std::size_t i = 0; i < 23; ++i)
        b.flag(at("TabDisabled", i), 4143 + i, false, i % 3 == 0);
    const auto all = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    addAwardSetup(b, 0, {1, 2, 3, 5, 7, 9, 10, 11, 15}, {1, 2, 3, 9, 10, 11, 15}, all);
    addAwardSetup(b, 1, {1, 2, 3, 5, 7, 9, 10, 11}, {1, 2, 3, 5, 7, 9, 10, 11}, all);
    addAwardSetup(b, 2, {1, 2, 3, 5, 7, 9, 10, 11, 12, 13, 15}, {1, 2, 3, 5, 7, 9, 10, 11, 12, 13, 15}, all);
    addAwardSetup(b, 3, {1, 2, 3, 5, 7, 9, 15}, {1, 2, 3, 5, 7, 9, 10, 11, 12, 13, 15}, {4, 14});
}

void addLabelFont(LayoutBuilder &b, const std::string &name, std::size_t o, std::int64_t size, bool bold,
                  const std::string &foreignName)
{
    b.str(name + ".Name", o, 40, "Arial", foreignName);
    b.u8(name + ".Size", o + 41, size, size + 1);
    b.i32(name + ".Color", o + 44, 0, 0x0000FF);
    b.flag(name + ".Bold", o + 48, bold, !bold);
    b.flag(name + ".Italic", o + 49, false, true);
}

void addReportsAndLabels(LayoutBuilder &b)
{
    b.str("F_RepFontName", 4372, 40, "Courier New", "Consolas");
    b.u8("F_RepFontSize", 4413, 10, 9);
    b.u8("F_RepEmbellish", 4414, 0, 2);
    b.flag("F_RepBoldHeader", 4415, false, true);
    b.str("F_CurrentReport", 4416, 20, "LogBook", "Awards");
    b.str("F_ReportHeader", 4437, 60, "", "Log of QQ0ABC");
    addLabelFont(b, "LABHEAD", 4500, 11, true, "Verdana");
    addLabelFont(b, "LABBODY", 4552, 8, false, "Georgia");
    b.u8("F_LabMaxQSOs", 4604, 0, 5);
    b.flag("F_LabUseLines", 4605, false, true);
    b.flag("F_Commercial", 4606, true, false);
    b.flag("F_LabCallRightAlgn", 4607, false, true);
    b.flag("F_PrintQSLMgr", 4608, true, false);
    b.flag("F_PrintMethod", 4609, true, false);
    b.flag("F_PrintGroup", 4610, false, true);
    b.str("F_LabGreeting1", 4611, 40, "@@ 73 de ~", "Tnx QSO");
    b.str("F_LabGreeting2", 4652, 40, "", "Pse QSL");
    b.str("F_LabGreeting3", 4693, 40, "Thanks SWL report de ~", "Tnx SWL");
    b.flag("F_F2_Confirm", 4736, false, true);
    b.u8("F_F2_Method", 4737, 1, 3);
    b.i32("F_F2_label", 4740, 0, 2);
    b.i32("F_F2_NextQSO", 4744, 0, 1);
    b.flag("F_F2_Alert", 4748, false, true);
    b.u8("F_ExtAddrType", 4752, 0, 4);
    b.str("F_ExtAddrPath", 4753, 80, "D:\\", "/media/cdrom");
    b.str("F_ExtQSLProg", 4834, 80, "", "/usr/bin/qslinfo");
    b.flag("F_ExtQSLEnabled", 4915, false, true);
}

void addScannerAndCustomLabels(LayoutBuilder &b)
{
    // Own layout: the lookup window's two flags and the scanner memory.
    b.flag("F_ExtFullSize", 4916, true, false);
    b.flag("F_ExtAutoUpdate", 4917, false, true);
    for (std::size_t c = 0; c < 15; ++c) {
        const std::string s = at("ScanChannel", c);
        const std::size_t o = 4918 + 39 * c;
        const double n = static_cast<double>(c);
        b.flag(s + ".InUse", o, false, c % 2 == 0);
        b.u8(s + ".Mode", o + 1, 0, 4);
        b.str(s + ".Label", o + 2, 20, "", "Channel " + std::to_string(c + 1));
        b.f64(s + ".Freq", o + 23, 0, 14000.5 + n);
        b.f64(s + ".Freq2", o + 31, 0, c % 3 == 0 ? 14005 + n : 0);
    }
    b.i32("ScanDelay", 5503, 3, 7);
    b.i32("F_CurrentLabel", 5768, 0, 2);
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string l = at("CustLab", i);
        const std::size_t o = 5772 + 116 * i;
        b.str(l + ".LabelID", o, 10, i == 0 ? "Custom1" : "Custom2", "Avery" + std::to_string(i));
        b.flag(l + ".Metric", o + 11, false, true);
        const char *lengths[] = {".SpacingTop", ".SpacingLeft", ".SpacingHeight", ".SpacingWidth",
                                 ".LabelHeight", ".LabelWidth", ".RightShift", ".DownShift"};
        const double builtIn[] = {0, 0, 1.0, 2.75, 1.0, 2.75, 0, 0};
        for (std::size_t f = 0; f < 8; ++f)
            b.f64(l + lengths[f], o + 12 + 8 * f, builtIn[f], 0.125 * static_cast<double>(f + 1));
        b.u8(l + ".NumAcross", o + 76, 3, 2);
        b.u8(l + ".NumDown", o + 77, 11, 7);
        b.f64(l + ".PageWidth", o + 78, 8.5, 8.27);
        b.f64(l + ".PageHeight", o + 86, 11, 11.69);
        b.str(l + ".PaperName", o + 94, 20, "Letter", "A4");
        b.flag(l + ".Portrait", o + 115, true, false);
    }
    for (std::size_t i = 0; i < 6; ++i)
        b.flag(at("VuccBands", i), 6004 + i, true, i % 2 == 0);
    b.u8("VuccGridLength", 6010, 2, 4);
}

void addCw(LayoutBuilder &b)
{
    b.i32("Speed", 6012, 20, 28);
    b.i32("wpm", 6016, 20, 25);
    b.i32("weight", 6020, 100, 110);
    b.i32("tone", 6024, 850, 700);
    b.flag("sidetone", 6028, true, false);
    b.flag("marquee", 6029, true, false);
    b.flag("immediate", 6030, true, false);
    b.u8("hardware_cwport", 6031, 1, 5);
    b.u8("hardware_PTTDelay", 6032, 0, 30);
    b.flag("showfunc", 6033, true, false);
    b.keys("CWKEYS", 6034, {"CQ|CQ CQ CQ DE %~ %~", "Reply|%@ DE %~ 599 %#", "TnxQRZ|%@ TNX %& QRZ %~", "QRZ|%~ QRZ"});
}

void addStationControl(LayoutBuilder &b)
{
    b.flag("Imp_syntax", 7252, false, true);
    b.flag("imp_prefix", 7253, true, false);
    b.flag("imp_zone", 7254, false, true);
    b.i32("imp_action", 7256, 1, 2);
    b.u8("Rotator_type", 7260, 1, 6);
    b.u8("Rotator_port", 7261, 1, 2);
    b.i32("OFFSET", 7264, 90, -45);
    b.i32("CORRECTION", 7268, 0, 5);
    for (std::size_t band = 1; band <= 15; ++band)
        b.u8(at("RotatorBands", band), 7272 + band, band == 3 ? 2 : (band >= 4 && band <= 11 ? 1 : 0),
             static_cast<std::int64_t>(band % 4));
    b.str("Rotator_Message", 7288, 60, "ThunderForm|ARSWIN", "RotorForm|Rotor");
    b.u8("F_Band_type", 7352, 1, 2);
    b.u8("F_Band_Port", 7353, 1, 3);
    b.u8("F_Band_sel", 7354, 1, 2);
    b.u8("Projection", 7360, 255, 4);
    b.i32("Water", 7364, 0xFFFF00, 0x800000);
    b.i32("Land", 7368, 0x008000, 0x00C000);
    for (std::size_t i = 0; i < 32; ++i)
        b.u8(at("MapView", i), 7376 + i, 0, static_cast<std::int64_t>(7 * i));
    for (std::size_t i = 0; i < 16; ++i)
        b.flag(at("MapLayers", i), 7408 + i, i != 5, i % 2 == 1);
    for (std::size_t i = 0; i < 5; ++i)
        b.flag(at("MapOptions", i), 7424 + i, false, true);
}

void addPsk31(LayoutBuilder &b)
{
    b.u16("PSK31.CenterFreq", 7432, 1500, 1000);
    b.u16("PSK31.MainFreq", 7434, 1500, 1200);
    b.u16("PSK31.FreqChan2", 7436, 1600, 1700);
    const char *names[] = {"Mode", "AFC", "Net", "Smooth", "AFCRange", "BaseLine", "SlowMeter", "ThreshHold",
                           "Display", "Split1", "Split2", "Split3", "KEYING", "KEYDTR", "OTHERH", "CHAN2",
                           "AltColors", "Scale"};
    const std::int64_t builtIn[] = {0, 1, 1, 3, 100, 30, 1, 50, 1, 30, 30, 75, 1, 1, 0, 0, 0, 1};
    const std::int64_t foreign[] = {1, 0, 0, 2, 50, 20, 0, 40, 2, 35, 25, 60, 4, 0, 1, 1, 1, 2};
    for (std::size_t i = 0; i < 18; ++i)
        b.u8(std::string("PSK31.") + names[i], 7438 + i, builtIn[i], foreign[i]);
    // F16's text is this program's own.
    b.keys("PSK31KEYS", 7456,
           {"CQ|%X%Mcq cq cq de %~ %~%Mcq cq cq de %~ %~ pse kkk%M%e",
            "QRZ|%X%Mqrz qrz qrz de %~ %~ qrz qrz pse kkk%e",
            "ReplCQ|%X%M%@ %@ de %~ %~ %~ pse kkk%M%e",
            "TnxCall|%X%M%@ %@ Tnx for the call %n%MYour RST is %$ %$%18",
            "TnxRST|%X%M%@ de %~ tnx for RST %& %n%18",
            "2xRST|%X%M%@ de %~ Tnx for report %& %n, your RST is %$ %$%18",
            "Start|%M%@ %@ de %~ %~%M",
            "BTU|%MBTU %n %@ de %~ pse kkk%M%e",
            "CQDX|%X%Mcqdx cqdx de %~ %~ %~%Mcqdx cqdx de %~ %~ %~ pse kkk%e",
            "Brag|%M%fbrag.txt%%M",
            "TnxBrag|%MTnx for your station description %n, here is mine.%M%fbrag.txt%%M",
            "End-L|%MIt was nice to chat with you %n, hope to meet you again soon.%17%16",
            "End-S|%MTnx for nice QSO %n.%16",
            "SK|%M73 73 de %~ sk sk%M%C%e",
            "QSL|%MI appreciate your QSL %n and I will QSL 100%%",
            "MyName|%MMy name is ... and my QTH is ...%M"});
}

} // namespace

const std::vector<LayoutField> &DocumentedLayout()
{
    static const std::vector<LayoutField> layout = [] {
        LayoutBuilder b;
        addHeader(b);
        addPersonal(b);
        addQso(b);
        addRadioAndPacket(b);
        addRtty(b);
        addStation(b);
        addReportsAndLabels(b);
        addScannerAndCustomLabels(b);
        addCw(b);
        addStationControl(b);
        addPsk31(b);
        return b.fields;
    }();
    return layout;
}

} // namespace vellum::test
