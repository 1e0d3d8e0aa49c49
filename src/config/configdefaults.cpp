// The built-in configuration image: the settings a new installation starts with.

#include "config/configrecord.h"
#include "config/configrules.h"

#include <initializer_list>

namespace vellum {

namespace {

// The station's home position of a new installation (Berlin).
constexpr const char *HomeGrid = "JO62qm";
constexpr double HomeLongitude = 13.405;
constexpr double HomeLatitude = 52.52;

constexpr double CwCutoffKHz[16] = {0,     1840,  3750,   7150,   10500,  14150,  18110,   21200,
                                    24930, 28300, 50100, 144100, 220000, 420000, 1240000, 9999000};

void setKeys(FunctionKeys &keys, std::initializer_list<const char *> texts)
{
    std::size_t i = 0;
    for (const char *text : texts)
        keys[i++] = text;
}

void setFlags(auto &flags, std::initializer_list<int> indexes)
{
    for (int i : indexes)
        flags[static_cast<std::size_t>(i)] = true;
}

void setHeaderAndPersonal(TConfigRecord &r)
{
    r.magic = ConfigMagic;
    r.Personal_UserLevel = 1;
    r.Personal_grid = HomeGrid;
    r.Personal_Longitude = HomeLongitude;
    r.Personal_Latitude = HomeLatitude;
    r.Personal_DateFormat = 1;
    r.Personal_UnitFormat = 1;
    for (std::size_t band = 1; band < 16; ++band)
        r.Personal_CWcutoff[band] = CwCutoffKHz[band];
    r.WorkedCutoff = 10000;
    r.MailedCutoff = 10000;
}

void setQsoDefaults(TConfigRecord &r)
{
    r.DefQSO_Mode = 14; // SSB
    r.DefQSO_band = 5;  // 20m
    r.DefQSO_Method = 1; // Buro
    r.DefQSO_Label = 1;
    r.DefQSO_BackupInterval = 2;
    r.DefQSO_Cycle = true;
    r.DefQSO_CallSearch = 2;
    r.DefQSO_DateSearch = 2;
    r.DefQSO_ShowHints = true;
    r.DefQSO_WarnOnMove = true;
    r.DefQSO_CheckCalendar = true;
    ResetScreenDefaults(r, DesignPixelsPerInch);
}

void setRadioDefaults(TConfigRecord &r)
{
    r.hardware_defaultrate = true;
    r.Hardware_RadioCOMPort = 3;
    r.Hardware_RadioPollRate = 5000;
    r.Hardware_RadioMaxTries = 6;
}

void setPacketDefaults(TConfigRecord &r)
{
    r.TNC_Type = 1;
    r.TNC_Comport = 4;
    r.TNC_Baudrate = 4;
    r.TNC_Flow = 1;
    r.TNC_Parity = 1;
    r.Packet_max_lines = 500;
    r.PackSplit = 50;
    r.Packet_ShowFunction = true;
    setKeys(r.TNCKEYS, {"SH/DX|SH/DX%M", "WWV|SH/W/2%M", "Msg|DI/N%M", "", "Connect|C QQ0DX-1%M"});
    r.Packet_max_putout = 100;
    r.Packet_DXAlert = 2;
    r.Packet_EndorsedBM = 1;
    r.Packet_talkaction = 1;
    const std::int32_t colours[6] = {0x0000FF, 0xFF0000, 0x0000FF, 0xFF0000, 0x000000, 0xC0C0C0};
    for (std::size_t i = 0; i < 6; ++i)
        r.SpotColors[i] = colours[i];
    r.Packet_pat1 = "DX|DE|r:|f|c|q|tZ";
    r.Packet_pat2 = "f|c|d|tZ|q|<r>";
    r.Packet_pat3 = "r|f|c|q|<t|d>";
    r.Packet_pat4 = "DX|c|f|q";
    r.packet_talk1 = "~ DE *:*";
    r.packet_talk2 = "TO LOCAL DE *";
    r.packet_talk3 = "TO ALL DE *";
    r.packet_talk4 = "WWV*";
}

void setRttyDefaults(TConfigRecord &r)
{
    r.RTTY_Type = 1;
    r.RTTY_Comport = 5;
    r.RTTY_Baudrate = 4;
    r.RTTY_Flow = 1;
    r.RTTY_Parity = 1;
    r.rtty_max_lines = 500;
    r.RttySplit = 50;
    r.rtty_alwaysimmed = true;
    r.rtty_showfunctions = true;
    setKeys(r.RTTYKEYS, {"CQ|CQ CQ CQ de %~ %~%M", "TnxReply|%5%@ DE %~ YOUR RST IS %$ %$%M", "", "",
                         "RYRY|RYRYRYRYRYRYRYRYRYRY%M"});
}

// Band indexes: 1 160m, 2 80m, 3 40m, 4 30m, 5 20m, 6 17m, 7 15m, 8 12m, 9 10m,
// 10 6m, 11 2m, 12 1.2m, 13 70cm, 14 23cm, 15 Sat. Modes: 4 CW, 14 SSB.
void setAwardSetup(TAwardSetup &setup, std::initializer_list<int> valid, std::initializer_list<int> separate,
                   std::initializer_list<int> modes)
{
    setFlags(setup.ValidBands, valid);
    setFlags(setup.SeparateBands, separate);
    setFlags(setup.ValidModes, modes);
    setup.Mixed = setup.ModeAwards = setup.BandAwards = true;
}

void setStationDefaults(TConfigRecord &r)
{
    const std::initializer_list<int> all = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    setFlags(r.StationBands, all);
    setFlags(r.StationModes, all);
    setAwardSetup(r.AwardSetup[AwardDXCC], {1, 2, 3, 5, 7, 9, 10, 11, 15}, {1, 2, 3, 9, 10, 11, 15}, all);
    setAwardSetup(r.AwardSetup[AwardWAZ], {1, 2, 3, 5, 7, 9, 10, 11}, {1, 2, 3, 5, 7, 9, 10, 11}, all);
    setAwardSetup(r.AwardSetup[AwardWAS], {1, 2, 3, 5, 7, 9, 10, 11, 12, 13, 15},
                  {1, 2, 3, 5, 7, 9, 10, 11, 12, 13, 15}, all);
    setAwardSetup(r.AwardSetup[AwardWPX], {1, 2, 3, 5, 7, 9, 15}, {1, 2, 3, 5, 7, 9, 10, 11, 12, 13, 15}, {4, 14});
    for (ByteBool &band : r.VuccBands)
        band = true;
    r.VuccGridLength = 2;
}

void setCustomLabel(LabelLayout &label, const char *name)
{
    label.LabelID = name;
    label.SpacingHeight = 1.0;
    label.SpacingWidth = 2.75;
    label.LabelHeight = 1.0;
    label.LabelWidth = 2.75;
    label.NumAcross = 3;
    label.NumDown = 11;
    label.PageWidth = 8.5;
    label.PageHeight = 11.0;
    label.PaperName = "Letter";
    label.Portrait = true;
}

void setReportAndLabelDefaults(TConfigRecord &r)
{
    r.F_RepFontName = "Courier New";
    r.F_RepFontSize = 10;
    r.F_CurrentReport = "LogBook";
    r.LABHEAD.Name = "Arial";
    r.LABHEAD.Size = 11;
    r.LABHEAD.Bold = true;
    r.LABBODY.Name = "Arial";
    r.LABBODY.Size = 8;
    r.F_Commercial = true;
    r.F_PrintQSLMgr = true;
    r.F_PrintMethod = true;
    r.F_LabGreeting1 = "@@ 73 de ~";
    r.F_LabGreeting3 = "Thanks SWL report de ~";
    r.F_F2_Method = 1;
    r.F_ExtAddrPath = "D:\\";
    r.F_ExtFullSize = true;
    r.ScanDelay = 3;
    setCustomLabel(r.CustLab[0], "Custom1");
    setCustomLabel(r.CustLab[1], "Custom2");
}

void setCwDefaults(TConfigRecord &r)
{
    r.Speed = 20;
    r.wpm = 20;
    r.weight = 100;
    r.tone = 850;
    r.sidetone = r.marquee = r.immediate = true;
    r.hardware_cwport = 1;
    r.showfunc = true;
    setKeys(r.CWKEYS, {"CQ|CQ CQ CQ DE %~ %~", "Reply|%@ DE %~ 599 %#", "TnxQRZ|%@ TNX %& QRZ %~", "QRZ|%~ QRZ"});
}

void setStationControlDefaults(TConfigRecord &r)
{
    r.imp_prefix = true;
    r.imp_action = 1;
    r.Rotator_type = 1;
    r.Rotator_port = 1;
    r.OFFSET = 90;
    r.RotatorBands[3] = 2; // 40m: with offset
    for (std::size_t band = 4; band <= 11; ++band)
        r.RotatorBands[band] = 1; // 30m to 2m: normal
    r.Rotator_Message = "ThunderForm|ARSWIN";
    r.F_Band_type = r.F_Band_Port = r.F_Band_sel = 1;
    r.Projection = 255;
    r.Water = 0xFFFF00;
    r.Land = 0x008000;
    for (ByteBool &layer : r.MapLayers)
        layer = true;
    r.MapLayers[5] = false;
}

void setPsk31Defaults(TConfigRecord &r)
{
    TPsk31Settings &p = r.PSK31;
    p.CenterFreq = 1500;
    p.MainFreq = 1500;
    p.FreqChan2 = 1600;
    p.AFC = p.Net = 1;
    p.Smooth = 3;
    p.AFCRange = 100;
    p.BaseLine = 30;
    p.SlowMeter = 1;
    p.ThreshHold = 50;
    p.Display = 1;
    p.Split1 = p.Split2 = 30;
    p.Split3 = 75;
    p.KEYING = p.KEYDTR = 1;
    p.Scale = 1;
    setKeys(r.PSK31KEYS,
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

TConfigRecord makeBuiltInConfig()
{
    TConfigRecord r{};
    setHeaderAndPersonal(r);
    setQsoDefaults(r);
    setRadioDefaults(r);
    setPacketDefaults(r);
    setRttyDefaults(r);
    setStationDefaults(r);
    setReportAndLabelDefaults(r);
    setCwDefaults(r);
    setStationControlDefaults(r);
    setPsk31Defaults(r);
    return r;
}

} // namespace

const TConfigRecord &BuiltInConfig()
{
    static const TConfigRecord image = makeBuiltInConfig();
    return image;
}

} // namespace vellum
