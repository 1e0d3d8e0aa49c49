#pragma once
// The configuration record: every setting of the program in one fixed-layout
// record of 8672 bytes. The record is also the configuration file's image, byte
// for byte, so the offsets checked below are the file format. Members are named
// as the settings are named everywhere else (setup dialog, INI form, JSON).
//
// Indexing: arrays that the record keeps with an unused slot 0 are indexed by the
// band, mode or class number itself (Personal_CWcutoff[band], StationBands[band],
// StationModes[mode], RotatorBands[band], TAwardSetup::ValidBands[band]); the
// others are 0-based (WindowPos[k], TNCKEYS[key - 1], SpotColors[class - 1],
// VuccBands[band - 10], ScanChannel[channel - 1], CustLab[n - 1]).
//
// Bytes the program does not use (gapNNN, at offset NNN) are kept as read and
// written back unchanged.
//
// Layout of the region the record does not name in detail:
// - 4114..4141 contest settings: ContestStartDate (u16 day number) at 4114,
//   ContestStartTime (i32 seconds after 00:00 UTC) at 4116, ContestNextNumber
//   (i32) at 4120, ContestNoteText (string[17]) at 4124..4141. The region holds
//   no more, so the note keeps at most 17 characters.
// - F_ExtQSLProg (4834), F_ExtQSLEnabled (4915), the lookup window's "Full Size"
//   (4916) and "Automatic Update" (4917) bytes lie inside the scanner memory
//   region 4872..5711. The scanner memory follows them: fifteen 39-byte
//   ScanChannel records from 4918 to 5502, ScanDelay (i32 seconds) at 5503, and
//   the rest of the region (5507..5711) unused.

#include "config/lefields.h"
#include "logstore/shortstring.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

namespace vellum {

inline constexpr std::size_t ConfigRecordSize = 8672;
inline constexpr std::string_view ConfigMagic = "ZAPHCFGI";

/// Saved place of one tool window.
struct TWindowPos {
    LeI32 Top;
    LeI32 Left;
    LeI32 Height;
    LeI32 Width;   ///< 0 = never placed
    ByteBool Open; ///< the window was open when the QSO window last closed
    ReservedBytes<3> gap17;
};

/// Indexes of WindowPos (rec.WindowPos[WindowIndex::CW]), named as in the INI form ("W-" + name).
namespace WindowIndex {
enum : int {
    QSO, CTY, CALL, STATE, ZONE, IOTA, LOGB, SPOT, PACK, EXT, CW, SUN, TALK, RTTY, GRID,
    MASTR, WORLD, WPX, SHFRE, PSK31, CNTY, Count
};
} // namespace WindowIndex
inline constexpr std::array<const char *, WindowIndex::Count> WindowNames = {
    "QSO", "CTY", "CALL", "STATE", "ZONE", "IOTA", "LOGB", "SPOT", "PACK", "EXT", "CW",
    "SUN", "TALK", "RTTY", "GRID", "MASTR", "WORLD", "WPX", "SHFRE", "PSK31", "CNTY"};

/// Which bands, modes and sub-awards count for one award.
struct TAwardSetup {
    std::array<ByteBool, 16> ValidBands;    ///< by band 1..15; [0] unused
    std::array<ByteBool, 16> SeparateBands; ///< by band 1..15; [0] unused
    std::array<ByteBool, 16> ValidModes;    ///< by mode 1..15; [0] unused
    ByteBool Mixed;
    ByteBool ModeAwards;
    ByteBool BandAwards;
};

/// Indexes of AwardSetup.
enum AwardIndex : int { AwardDXCC = 0, AwardWAZ = 1, AwardWAS = 2, AwardWPX = 3, AwardCount = 4 };

/// A label font (LABHEAD, LABBODY).
struct TLabelFont {
    ShortString<40> Name;
    std::uint8_t Size;
    ReservedBytes<2> gap42;
    LeI32 Color;
    ByteBool Bold;
    ByteBool Italic;
    ReservedBytes<2> gap50;
};

/// A label sheet layout; lengths in inches.
struct LabelLayout {
    ShortString<10> LabelID;
    ByteBool Metric;
    LeF64 SpacingTop;
    LeF64 SpacingLeft;
    LeF64 SpacingHeight;
    LeF64 SpacingWidth;
    LeF64 LabelHeight;
    LeF64 LabelWidth;
    LeF64 RightShift;
    LeF64 DownShift;
    std::uint8_t NumAcross;
    std::uint8_t NumDown;
    LeF64 PageWidth;
    LeF64 PageHeight;
    ShortString<20> PaperName;
    ByteBool Portrait;
};

/// One memory channel of the scanner.
struct TScanChannel {
    ByteBool InUse;
    std::uint8_t Mode;
    ShortString<20> Label;
    LeF64 Freq;  ///< kHz
    LeF64 Freq2; ///< kHz; 0 = none
};

/// Settings of the PSK31 terminal.
struct TPsk31Settings {
    LeU16 CenterFreq;
    LeU16 MainFreq;
    LeU16 FreqChan2;
    std::uint8_t Mode;
    std::uint8_t AFC;
    std::uint8_t Net;
    std::uint8_t Smooth;
    std::uint8_t AFCRange;
    std::uint8_t BaseLine;
    std::uint8_t SlowMeter;
    std::uint8_t ThreshHold;
    std::uint8_t Display;
    std::uint8_t Split1;
    std::uint8_t Split2;
    std::uint8_t Split3;
    std::uint8_t KEYING;
    std::uint8_t KEYDTR;
    std::uint8_t OTHERH;
    std::uint8_t CHAN2;
    std::uint8_t AltColors; ///< "Alternate colors" of the waterfall
    std::uint8_t Scale;
};

using FunctionKeys = std::array<ShortString<75>, 16>;

/// The configuration record. Copy it freely; BuiltInConfig() gives the defaults.
struct TConfigRecord {
    // Header and screen
    ShortString<8> magic;
    ReservedBytes<3> gap9;
    LeI32 ScreenPpi;
    LeI32 ScreenWidth;
    std::uint8_t QsoWindowSize;
    ShortString<128> LASTLOG;
    ReservedBytes<2> gap150;

    // Window geometry
    std::array<TWindowPos, WindowIndex::Count> WindowPos;
    LeI32 MainWidth;
    LeI32 MainTop;
    LeI32 MainLeft;

    // Personal
    ShortString<12> Personal_Callsign;
    ReservedBytes<8> gap597;
    std::uint8_t Personal_UserLevel;
    ShortString<40> Personal_Addr1;
    ShortString<40> Personal_Addr2;
    ShortString<40> Personal_Addr3;
    ShortString<40> Personal_Addr4;
    ShortString<6> Personal_grid;
    ReservedBytes<7> gap777;
    LeF64 Personal_Longitude;
    LeF64 Personal_Latitude;
    std::uint8_t Personal_DateFormat;
    std::uint8_t Personal_UnitFormat;
    ReservedBytes<6> gap802;
    std::array<LeF64, 16> Personal_CWcutoff; ///< by band 1..15; [0] unused
    LeU16 WorkedCutoff;
    LeU16 MailedCutoff;
    ReservedBytes<4> gap940;

    // QSO defaults and options, screen
    std::uint8_t DefQSO_Mode;
    std::uint8_t DefQSO_band;
    std::uint8_t DefQSO_Method;
    std::uint8_t DefQSO_Label;
    std::uint8_t DefQSO_Group;
    ReservedBytes<1> gap949;
    LeU16 DefQSO_BackupInterval;
    ByteBool DefQSO_Cycle;
    ByteBool DefQSO_ShowSecs;
    std::uint8_t DefQSO_CallSearch;
    std::uint8_t DefQSO_DateSearch;
    ByteBool DefQSO_ShowHints;
    ReservedBytes<1> gap957;
    ByteBool DefQSO_CallUpdate;
    ByteBool DefQSO_WarnOnMove;
    ByteBool DefQSO_CheckCalendar;
    ByteBool DefQSO_ShowBandMHz;
    std::uint8_t F_FormScale;
    ByteBool F_KeepPosition;
    ShortString<40> F_FontLName;
    std::uint8_t F_FontLSize;
    ByteBool F_FontLBold;
    ShortString<40> F_FontIName;
    std::uint8_t F_FontISize;
    ByteBool F_FontIBold;
    ShortString<40> F_FontBName;
    std::uint8_t F_FontBSize;
    ByteBool F_FontBBold;
    ReservedBytes<1> gap1093;

    // Radio
    ShortString<30> Hardware_RadioType;
    std::uint8_t Hardware_RadioID;
    LeU16 Hardware_baudrate;
    ByteBool hardware_defaultrate;
    std::uint8_t Hardware_RadioCOMPort;
    LeU16 Hardware_RadioPollRate;
    std::uint8_t Hardware_RadioMaxTries;
    ByteBool ReopenFreqWindow;
    ByteBool Hardware_DTRHigh;
    ByteBool Hardware_RTSHigh;

    // Packet terminal and spots
    std::uint8_t TNC_Type;
    std::uint8_t TNC_Comport;
    std::uint8_t TNC_Baudrate;
    std::uint8_t TNC_Flow;
    std::uint8_t TNC_Parity;
    ReservedBytes<3> gap1141;
    LeI32 Packet_max_lines;
    LeI32 PackSplit;
    ReservedBytes<2> gap1152;
    ByteBool packet_soundbell;
    ReservedBytes<1> gap1155;
    ByteBool Packet_ShowFunction;
    FunctionKeys TNCKEYS;
    ReservedBytes<3> gap2373;
    LeU16 Packet_max_putout;
    ReservedBytes<2> gap2378;
    LeI32 Packet_DXAlert;
    LeI32 Packet_DXVoice;
    ReservedBytes<1> gap2388;
    ShortString<60> Packet_DXCallsign;
    ShortString<60> Packet_MsgHandshake;
    ByteBool Packet_IgnoreGray;
    ByteBool Packet_ShowOnApp;
    ByteBool DefQSO_BackupDX;
    std::uint8_t Packet_EndorsedBM;
    ReservedBytes<1> gap2515;
    LeI32 Packet_talkaction;
    std::uint8_t SpotSortOrder;
    ShortString<60> Packet_OkPrefixes;
    ReservedBytes<2> gap2582;
    std::array<LeI32, 6> SpotColors; ///< colour classes 1..6
    ShortString<32> Packet_pat1;
    ShortString<32> Packet_pat2;
    ShortString<32> Packet_pat3;
    ShortString<32> Packet_pat4;
    ShortString<20> packet_talk1;
    ShortString<20> packet_talk2;
    ShortString<20> packet_talk3;
    ShortString<20> packet_talk4;
    std::array<LeU16, 7> PACKETCOL;
    ReservedBytes<2> gap2838;

    // Second terminal
    std::uint8_t RTTY_Type;
    std::uint8_t RTTY_Comport;
    std::uint8_t RTTY_Baudrate;
    std::uint8_t RTTY_Flow;
    std::uint8_t RTTY_Parity;
    ReservedBytes<3> gap2845;
    LeI32 rtty_max_lines;
    LeI32 RttySplit;
    ByteBool rtty_checkspots;
    ByteBool RTTY_CheckOtherW;
    ByteBool rtty_soundbell;
    ByteBool rtty_alwaysimmed;
    ByteBool rtty_showfunctions;
    FunctionKeys RTTYKEYS;
    ReservedBytes<3> gap4077;

    // Station and awards
    std::array<ByteBool, 16> StationBands; ///< by band 1..15; [0] unused
    std::array<ByteBool, 16> StationModes; ///< by mode 1..15; [0] unused
    ByteBool ContestEnabled;
    ReservedBytes<1> gap4113;
    LeU16 ContestStartDate;
    LeI32 ContestStartTime;
    LeI32 ContestNextNumber;
    ShortString<17> ContestNoteText;
    ReservedBytes<1> gap4142;
    std::array<ByteBool, 23> TabDisabled;
    ReservedBytes<2> gap4166;
    std::array<TAwardSetup, AwardCount> AwardSetup; ///< DXCC, WAZ, WAS, WPX

    // Reports, labels, F2 key, external data
    ShortString<40> F_RepFontName;
    std::uint8_t F_RepFontSize;
    std::uint8_t F_RepEmbellish;
    ByteBool F_RepBoldHeader;
    ShortString<20> F_CurrentReport;
    ShortString<60> F_ReportHeader;
    ReservedBytes<2> gap4498;
    TLabelFont LABHEAD;
    TLabelFont LABBODY;
    std::uint8_t F_LabMaxQSOs;
    ByteBool F_LabUseLines;
    ByteBool F_Commercial;
    ByteBool F_LabCallRightAlgn;
    ByteBool F_PrintQSLMgr;
    ByteBool F_PrintMethod;
    ByteBool F_PrintGroup;
    ShortString<40> F_LabGreeting1;
    ShortString<40> F_LabGreeting2;
    ShortString<40> F_LabGreeting3;
    ReservedBytes<2> gap4734;
    ByteBool F_F2_Confirm;
    std::uint8_t F_F2_Method;
    ReservedBytes<2> gap4738;
    LeI32 F_F2_label;
    LeI32 F_F2_NextQSO;
    ByteBool F_F2_Alert;
    ReservedBytes<3> gap4749;
    std::uint8_t F_ExtAddrType;
    ShortString<80> F_ExtAddrPath;
    ShortString<80> F_ExtQSLProg;
    ByteBool F_ExtQSLEnabled;
    ByteBool F_ExtFullSize;   ///< the lookup window shows its entry panel
    ByteBool F_ExtAutoUpdate; ///< the lookup window follows the QSO window's call
    std::array<TScanChannel, 15> ScanChannel;
    LeI32 ScanDelay; ///< seconds
    ReservedBytes<261> gap5507;
    LeI32 F_CurrentLabel;
    std::array<LabelLayout, 2> CustLab;
    std::array<ByteBool, 6> VuccBands; ///< bands 10..15
    std::uint8_t VuccGridLength;
    ReservedBytes<1> gap6011;

    // CW keyer
    LeI32 Speed;
    LeI32 wpm;
    LeI32 weight;
    LeI32 tone;
    ByteBool sidetone;
    ByteBool marquee;
    ByteBool immediate;
    std::uint8_t hardware_cwport;
    std::uint8_t hardware_PTTDelay;
    ByteBool showfunc;
    FunctionKeys CWKEYS;
    ReservedBytes<2> gap7250;

    // Import, rotator, band decoder, map, PSK31
    ByteBool Imp_syntax;
    ByteBool imp_prefix;
    ByteBool imp_zone;
    ReservedBytes<1> gap7255;
    LeI32 imp_action;
    std::uint8_t Rotator_type;
    std::uint8_t Rotator_port;
    ReservedBytes<2> gap7262;
    LeI32 OFFSET;
    LeI32 CORRECTION;
    std::array<std::uint8_t, 16> RotatorBands; ///< by band 1..15; [0] unused
    ShortString<60> Rotator_Message;
    ReservedBytes<3> gap7349;
    std::uint8_t F_Band_type;
    std::uint8_t F_Band_Port;
    std::uint8_t F_Band_sel;
    ReservedBytes<5> gap7355;
    std::uint8_t Projection; ///< 255 = not chosen yet
    ReservedBytes<3> gap7361;
    LeI32 Water;
    LeI32 Land;
    ReservedBytes<4> gap7372;
    std::array<std::uint8_t, 32> MapView;
    std::array<ByteBool, 16> MapLayers;
    std::array<ByteBool, 5> MapOptions;
    ReservedBytes<3> gap7429;
    TPsk31Settings PSK31;
    FunctionKeys PSK31KEYS;
};

static_assert(sizeof(TWindowPos) == 20);
static_assert(sizeof(TAwardSetup) == 51);
static_assert(sizeof(TLabelFont) == 52);
static_assert(offsetof(TLabelFont, Size) == 41 && offsetof(TLabelFont, Color) == 44);
static_assert(offsetof(TLabelFont, Bold) == 48 && offsetof(TLabelFont, Italic) == 49);
static_assert(sizeof(LabelLayout) == 116);
static_assert(offsetof(LabelLayout, SpacingTop) == 12 && offsetof(LabelLayout, NumAcross) == 76);
static_assert(offsetof(LabelLayout, PageWidth) == 78 && offsetof(LabelLayout, PaperName) == 94);
static_assert(offsetof(LabelLayout, Portrait) == 115);
static_assert(sizeof(TScanChannel) == 39);
static_assert(sizeof(TPsk31Settings) == 24);
static_assert(offsetof(TPsk31Settings, Mode) == 6 && offsetof(TPsk31Settings, CHAN2) == 21);
static_assert(offsetof(TPsk31Settings, AltColors) == 22 && offsetof(TPsk31Settings, Scale) == 23);

static_assert(sizeof(TConfigRecord) == ConfigRecordSize);
static_assert(alignof(TConfigRecord) == 1);
static_assert(std::is_trivially_copyable_v<TConfigRecord>);
static_assert(std::is_standard_layout_v<TConfigRecord>);

#define VELLUM_CONFIG_AT(field, offset) \
    static_assert(offsetof(TConfigRecord, field) == (offset), #field " is not at " #offset)
VELLUM_CONFIG_AT(magic, 0);
VELLUM_CONFIG_AT(ScreenPpi, 12);
VELLUM_CONFIG_AT(ScreenWidth, 16);
VELLUM_CONFIG_AT(QsoWindowSize, 20);
VELLUM_CONFIG_AT(LASTLOG, 21);
VELLUM_CONFIG_AT(WindowPos, 152);
VELLUM_CONFIG_AT(MainWidth, 572);
VELLUM_CONFIG_AT(MainTop, 576);
VELLUM_CONFIG_AT(MainLeft, 580);
VELLUM_CONFIG_AT(Personal_Callsign, 584);
VELLUM_CONFIG_AT(Personal_UserLevel, 605);
VELLUM_CONFIG_AT(Personal_Addr1, 606);
VELLUM_CONFIG_AT(Personal_Addr2, 647);
VELLUM_CONFIG_AT(Personal_Addr3, 688);
VELLUM_CONFIG_AT(Personal_Addr4, 729);
VELLUM_CONFIG_AT(Personal_grid, 770);
VELLUM_CONFIG_AT(Personal_Longitude, 784);
VELLUM_CONFIG_AT(Personal_Latitude, 792);
VELLUM_CONFIG_AT(Personal_DateFormat, 800);
VELLUM_CONFIG_AT(Personal_UnitFormat, 801);
VELLUM_CONFIG_AT(Personal_CWcutoff, 808);
VELLUM_CONFIG_AT(WorkedCutoff, 936);
VELLUM_CONFIG_AT(MailedCutoff, 938);
VELLUM_CONFIG_AT(DefQSO_Mode, 944);
VELLUM_CONFIG_AT(DefQSO_band, 945);
VELLUM_CONFIG_AT(DefQSO_Method, 946);
VELLUM_CONFIG_AT(DefQSO_Label, 947);
VELLUM_CONFIG_AT(DefQSO_Group, 948);
VELLUM_CONFIG_AT(DefQSO_BackupInterval, 950);
VELLUM_CONFIG_AT(DefQSO_Cycle, 952);
VELLUM_CONFIG_AT(DefQSO_ShowSecs, 953);
VELLUM_CONFIG_AT(DefQSO_CallSearch, 954);
VELLUM_CONFIG_AT(DefQSO_DateSearch, 955);
VELLUM_CONFIG_AT(DefQSO_ShowHints, 956);
VELLUM_CONFIG_AT(DefQSO_CallUpdate, 958);
VELLUM_CONFIG_AT(DefQSO_WarnOnMove, 959);
VELLUM_CONFIG_AT(DefQSO_CheckCalendar, 960);
VELLUM_CONFIG_AT(DefQSO_ShowBandMHz, 961);
VELLUM_CONFIG_AT(F_FormScale, 962);
VELLUM_CONFIG_AT(F_KeepPosition, 963);
VELLUM_CONFIG_AT(F_FontLName, 964);
VELLUM_CONFIG_AT(F_FontLSize, 1005);
VELLUM_CONFIG_AT(F_FontLBold, 1006);
VELLUM_CONFIG_AT(F_FontIName, 1007);
VELLUM_CONFIG_AT(F_FontISize, 1048);
VELLUM_CONFIG_AT(F_FontIBold, 1049);
VELLUM_CONFIG_AT(F_FontBName, 1050);
VELLUM_CONFIG_AT(F_FontBSize, 1091);
VELLUM_CONFIG_AT(F_FontBBold, 1092);
VELLUM_CONFIG_AT(Hardware_RadioType, 1094);
VELLUM_CONFIG_AT(Hardware_RadioID, 1125);
VELLUM_CONFIG_AT(Hardware_baudrate, 1126);
VELLUM_CONFIG_AT(hardware_defaultrate, 1128);
VELLUM_CONFIG_AT(Hardware_RadioCOMPort, 1129);
VELLUM_CONFIG_AT(Hardware_RadioPollRate, 1130);
VELLUM_CONFIG_AT(Hardware_RadioMaxTries, 1132);
VELLUM_CONFIG_AT(ReopenFreqWindow, 1133);
VELLUM_CONFIG_AT(Hardware_DTRHigh, 1134);
VELLUM_CONFIG_AT(Hardware_RTSHigh, 1135);
VELLUM_CONFIG_AT(TNC_Type, 1136);
VELLUM_CONFIG_AT(TNC_Comport, 1137);
VELLUM_CONFIG_AT(TNC_Baudrate, 1138);
VELLUM_CONFIG_AT(TNC_Flow, 1139);
VELLUM_CONFIG_AT(TNC_Parity, 1140);
VELLUM_CONFIG_AT(Packet_max_lines, 1144);
VELLUM_CONFIG_AT(PackSplit, 1148);
VELLUM_CONFIG_AT(packet_soundbell, 1154);
VELLUM_CONFIG_AT(Packet_ShowFunction, 1156);
VELLUM_CONFIG_AT(TNCKEYS, 1157);
VELLUM_CONFIG_AT(Packet_max_putout, 2376);
VELLUM_CONFIG_AT(Packet_DXAlert, 2380);
VELLUM_CONFIG_AT(Packet_DXVoice, 2384);
VELLUM_CONFIG_AT(Packet_DXCallsign, 2389);
VELLUM_CONFIG_AT(Packet_MsgHandshake, 2450);
VELLUM_CONFIG_AT(Packet_IgnoreGray, 2511);
VELLUM_CONFIG_AT(Packet_ShowOnApp, 2512);
VELLUM_CONFIG_AT(DefQSO_BackupDX, 2513);
VELLUM_CONFIG_AT(Packet_EndorsedBM, 2514);
VELLUM_CONFIG_AT(Packet_talkaction, 2516);
VELLUM_CONFIG_AT(SpotSortOrder, 2520);
VELLUM_CONFIG_AT(Packet_OkPrefixes, 2521);
VELLUM_CONFIG_AT(SpotColors, 2584);
VELLUM_CONFIG_AT(Packet_pat1, 2608);
VELLUM_CONFIG_AT(Packet_pat4, 2707);
VELLUM_CONFIG_AT(packet_talk1, 2740);
VELLUM_CONFIG_AT(packet_talk4, 2803);
VELLUM_CONFIG_AT(PACKETCOL, 2824);
VELLUM_CONFIG_AT(RTTY_Type, 2840);
VELLUM_CONFIG_AT(RTTY_Comport, 2841);
VELLUM_CONFIG_AT(RTTY_Baudrate, 2842);
VELLUM_CONFIG_AT(RTTY_Flow, 2843);
VELLUM_CONFIG_AT(RTTY_Parity, 2844);
VELLUM_CONFIG_AT(rtty_max_lines, 2848);
VELLUM_CONFIG_AT(RttySplit, 2852);
VELLUM_CONFIG_AT(rtty_checkspots, 2856);
VELLUM_CONFIG_AT(RTTY_CheckOtherW, 2857);
VELLUM_CONFIG_AT(rtty_soundbell, 2858);
VELLUM_CONFIG_AT(rtty_alwaysimmed, 2859);
VELLUM_CONFIG_AT(rtty_showfunctions, 2860);
VELLUM_CONFIG_AT(RTTYKEYS, 2861);
VELLUM_CONFIG_AT(StationBands, 4080);
VELLUM_CONFIG_AT(StationModes, 4096);
VELLUM_CONFIG_AT(ContestEnabled, 4112);
VELLUM_CONFIG_AT(ContestStartDate, 4114);
VELLUM_CONFIG_AT(ContestStartTime, 4116);
VELLUM_CONFIG_AT(ContestNextNumber, 4120);
VELLUM_CONFIG_AT(ContestNoteText, 4124);
VELLUM_CONFIG_AT(TabDisabled, 4143);
VELLUM_CONFIG_AT(AwardSetup, 4168);
VELLUM_CONFIG_AT(F_RepFontName, 4372);
VELLUM_CONFIG_AT(F_RepFontSize, 4413);
VELLUM_CONFIG_AT(F_RepEmbellish, 4414);
VELLUM_CONFIG_AT(F_RepBoldHeader, 4415);
VELLUM_CONFIG_AT(F_CurrentReport, 4416);
VELLUM_CONFIG_AT(F_ReportHeader, 4437);
VELLUM_CONFIG_AT(LABHEAD, 4500);
VELLUM_CONFIG_AT(LABBODY, 4552);
VELLUM_CONFIG_AT(F_LabMaxQSOs, 4604);
VELLUM_CONFIG_AT(F_LabUseLines, 4605);
VELLUM_CONFIG_AT(F_Commercial, 4606);
VELLUM_CONFIG_AT(F_LabCallRightAlgn, 4607);
VELLUM_CONFIG_AT(F_PrintQSLMgr, 4608);
VELLUM_CONFIG_AT(F_PrintMethod, 4609);
VELLUM_CONFIG_AT(F_PrintGroup, 4610);
VELLUM_CONFIG_AT(F_LabGreeting1, 4611);
VELLUM_CONFIG_AT(F_LabGreeting2, 4652);
VELLUM_CONFIG_AT(F_LabGreeting3, 4693);
VELLUM_CONFIG_AT(F_F2_Confirm, 4736);
VELLUM_CONFIG_AT(F_F2_Method, 4737);
VELLUM_CONFIG_AT(F_F2_label, 4740);
VELLUM_CONFIG_AT(F_F2_NextQSO, 4744);
VELLUM_CONFIG_AT(F_F2_Alert, 4748);
VELLUM_CONFIG_AT(F_ExtAddrType, 4752);
VELLUM_CONFIG_AT(F_ExtAddrPath, 4753);
VELLUM_CONFIG_AT(F_ExtQSLProg, 4834);
VELLUM_CONFIG_AT(F_ExtQSLEnabled, 4915);
VELLUM_CONFIG_AT(F_ExtFullSize, 4916);
VELLUM_CONFIG_AT(F_ExtAutoUpdate, 4917);
VELLUM_CONFIG_AT(ScanChannel, 4918);
VELLUM_CONFIG_AT(ScanDelay, 5503);
VELLUM_CONFIG_AT(F_CurrentLabel, 5768);
VELLUM_CONFIG_AT(CustLab, 5772);
VELLUM_CONFIG_AT(VuccBands, 6004);
VELLUM_CONFIG_AT(VuccGridLength, 6010);
VELLUM_CONFIG_AT(Speed, 6012);
VELLUM_CONFIG_AT(wpm, 6016);
VELLUM_CONFIG_AT(weight, 6020);
VELLUM_CONFIG_AT(tone, 6024);
VELLUM_CONFIG_AT(sidetone, 6028);
VELLUM_CONFIG_AT(marquee, 6029);
VELLUM_CONFIG_AT(immediate, 6030);
VELLUM_CONFIG_AT(hardware_cwport, 6031);
VELLUM_CONFIG_AT(hardware_PTTDelay, 6032);
VELLUM_CONFIG_AT(showfunc, 6033);
VELLUM_CONFIG_AT(CWKEYS, 6034);
VELLUM_CONFIG_AT(Imp_syntax, 7252);
VELLUM_CONFIG_AT(imp_prefix, 7253);
VELLUM_CONFIG_AT(imp_zone, 7254);
VELLUM_CONFIG_AT(imp_action, 7256);
VELLUM_CONFIG_AT(Rotator_type, 7260);
VELLUM_CONFIG_AT(Rotator_port, 7261);
VELLUM_CONFIG_AT(OFFSET, 7264);
VELLUM_CONFIG_AT(CORRECTION, 7268);
VELLUM_CONFIG_AT(RotatorBands, 7272);
VELLUM_CONFIG_AT(Rotator_Message, 7288);
VELLUM_CONFIG_AT(F_Band_type, 7352);
VELLUM_CONFIG_AT(F_Band_Port, 7353);
VELLUM_CONFIG_AT(F_Band_sel, 7354);
VELLUM_CONFIG_AT(Projection, 7360);
VELLUM_CONFIG_AT(Water, 7364);
VELLUM_CONFIG_AT(Land, 7368);
VELLUM_CONFIG_AT(MapView, 7376);
VELLUM_CONFIG_AT(MapLayers, 7408);
VELLUM_CONFIG_AT(MapOptions, 7424);
VELLUM_CONFIG_AT(PSK31, 7432);
VELLUM_CONFIG_AT(PSK31KEYS, 7456);
#undef VELLUM_CONFIG_AT

/// The built-in default image, used whenever no valid configuration file exists.
const TConfigRecord &BuiltInConfig();

/// The record's bytes, which are the configuration file's image.
inline std::span<const std::uint8_t, ConfigRecordSize> ConfigBytes(const TConfigRecord &record)
{
    return std::span<const std::uint8_t, ConfigRecordSize>(reinterpret_cast<const std::uint8_t *>(&record),
                                                          ConfigRecordSize);
}

} // namespace vellum
