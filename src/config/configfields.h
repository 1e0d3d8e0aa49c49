#pragma once
// The settings of the configuration record by name, for code that handles them
// all alike: the JSON dump, the checks after loading, the tests and the fuzzer.
//
// ForEachSetting(record, visitor) calls visitor(name, field) once per setting,
// in record order, where field is one of
// - a leaf: ShortString<N>, LeU16, LeI32, LeF64, std::uint8_t or ByteBool;
// - a group (TWindowPos, TAwardSetup, TLabelFont, LabelLayout, TScanChannel,
//   TPsk31Settings), whose fields ForEachField(group, visitor) names;
// - an IndexedSetting: the elements of an indexed setting (WindowPos,
//   Personal_CWcutoff, the function keys, ...) and the index of the first one,
//   which is 1 where the record keeps an unused slot 0.
// Unused bytes are not settings and are not visited.

#include "config/configrecord.h"

#include <cstddef>
#include <span>
#include <string>
#include <type_traits>

namespace vellum {

template <typename T>
struct IndexedSetting {
    std::span<T> elements;
    std::size_t firstIndex = 0;
};

template <typename Array>
auto Indexed(Array &array, std::size_t first = 0)
{
    using Element = std::remove_reference_t<decltype(array[0])>;
    return IndexedSetting<Element>{std::span<Element>(array).subspan(first), first};
}

template <typename S, typename T>
concept SameType = std::is_same_v<std::remove_const_t<S>, T>;

template <SameType<TWindowPos> S, typename V>
void ForEachField(S &s, V &&v)
{
    v("Top", s.Top);
    v("Left", s.Left);
    v("Height", s.Height);
    v("Width", s.Width);
    v("Open", s.Open);
}

template <SameType<TAwardSetup> S, typename V>
void ForEachField(S &s, V &&v)
{
    v("ValidBands", Indexed(s.ValidBands, 1));
    v("SeparateBands", Indexed(s.SeparateBands, 1));
    v("ValidModes", Indexed(s.ValidModes, 1));
    v("Mixed", s.Mixed);
    v("ModeAwards", s.ModeAwards);
    v("BandAwards", s.BandAwards);
}

template <SameType<TLabelFont> S, typename V>
void ForEachField(S &s, V &&v)
{
    v("Name", s.Name);
    v("Size", s.Size);
    v("Color", s.Color);
    v("Bold", s.Bold);
    v("Italic", s.Italic);
}

template <SameType<LabelLayout> S, typename V>
void ForEachField(S &s, V &&v)
{
    v("LabelID", s.LabelID);
    v("Metric", s.Metric);
    v("SpacingTop", s.SpacingTop);
    v("SpacingLeft", s.SpacingLeft);
    v("SpacingHeight", s.SpacingHeight);
    v("SpacingWidth", s.SpacingWidth);
    v("LabelHeight", s.LabelHeight);
    v("LabelWidth", s.LabelWidth);
    v("RightShift", s.RightShift);
    v("DownShift", s.DownShift);
    v("NumAcross", s.NumAcross);
    v("NumDown", s.NumDown);
    v("PageWidth", s.PageWidth);
    v("PageHeight", s.PageHeight);
    v("PaperName", s.PaperName);
    v("Portrait", s.Portrait);
}

template <SameType<TScanChannel> S, typename V>
void ForEachField(S &s, V &&v)
{
    v("InUse", s.InUse);
    v("Mode", s.Mode);
    v("Label", s.Label);
    v("Freq", s.Freq);
    v("Freq2", s.Freq2);
}

template <SameType<TPsk31Settings> S, typename V>
void ForEachField(S &s, V &&v)
{
    v("CenterFreq", s.CenterFreq);
    v("MainFreq", s.MainFreq);
    v("FreqChan2", s.FreqChan2);
    v("Mode", s.Mode);
    v("AFC", s.AFC);
    v("Net", s.Net);
    v("Smooth", s.Smooth);
    v("AFCRange", s.AFCRange);
    v("BaseLine", s.BaseLine);
    v("SlowMeter", s.SlowMeter);
    v("ThreshHold", s.ThreshHold);
    v("Display", s.Display);
    v("Split1", s.Split1);
    v("Split2", s.Split2);
    v("Split3", s.Split3);
    v("KEYING", s.KEYING);
    v("KEYDTR", s.KEYDTR);
    v("OTHERH", s.OTHERH);
    v("CHAN2", s.CHAN2);
    v("AltColors", s.AltColors);
    v("Scale", s.Scale);
}

namespace detail {
struct IgnoreField {
    template <typename Field>
    void operator()(const char *, Field &&) const {}
};
} // namespace detail

/// True for the group types that ForEachField names.
template <typename T>
concept SettingGroup = requires(T &t) { ForEachField(t, detail::IgnoreField{}); };

template <SameType<TConfigRecord> R, typename V>
void ForEachSettingHeader(R &r, V &v)
{
    v("magic", r.magic);
    v("ScreenPpi", r.ScreenPpi);
    v("ScreenWidth", r.ScreenWidth);
    v("QsoWindowSize", r.QsoWindowSize);
    v("LASTLOG", r.LASTLOG);
    v("WindowPos", Indexed(r.WindowPos));
    v("MainWidth", r.MainWidth);
    v("MainTop", r.MainTop);
    v("MainLeft", r.MainLeft);
}

template <SameType<TConfigRecord> R, typename V>
void ForEachSettingPersonal(R &r, V &v)
{
    v("Personal_Callsign", r.Personal_Callsign);
    v("Personal_UserLevel", r.Personal_UserLevel);
    v("Personal_Addr1", r.Personal_Addr1);
    v("Personal_Addr2", r.Personal_Addr2);
    v("Personal_Addr3", r.Personal_Addr3);
    v("Personal_Addr4", r.Personal_Addr4);
    v("Personal_grid", r.Personal_grid);
    v("Personal_Longitude", r.Personal_Longitude);
    v("Personal_Latitude", r.Personal_Latitude);
    v("Personal_DateFormat", r.Personal_DateFormat);
    v("Personal_UnitFormat", r.Personal_UnitFormat);
    v("Personal_CWcutoff", Indexed(r.Personal_CWcutoff, 1));
    v("WorkedCutoff", r.WorkedCutoff);
    v("MailedCutoff", r.MailedCutoff);
}

template <SameType<TConfigRecord> R, typename V>
void ForEachSettingQso(R &r, V &v)
{
    v("DefQSO_Mode", r.DefQSO_Mode);
    v("DefQSO_band", r.DefQSO_band);
    v("DefQSO_Method", r.DefQSO_Method);
    v("DefQSO_Label", r.DefQSO_Label);
    v("DefQSO_Group", r.DefQSO_Group);
    v("DefQSO_BackupInterval", r.DefQSO_BackupInterval);
    v("DefQSO_Cycle", r.DefQSO_Cycle);
    v("DefQSO_ShowSecs", r.DefQSO_ShowSecs);
    v("DefQSO_CallSearch", r.DefQSO_CallSearch);
    v("DefQSO_DateSearch", r.DefQSO_DateSearch);
    v("DefQSO_ShowHints", r.DefQSO_ShowHints);
    v("DefQSO_CallUpdate", r.DefQSO_CallUpdate);
    v("DefQSO_WarnOnMove", r.DefQSO_WarnOnMove);
    v("DefQSO_CheckCalendar", r.DefQSO_CheckCalendar);
    v("DefQSO_ShowBandMHz", r.DefQSO_ShowBandMHz);
    v("F_FormScale", r.F_FormScale);
    v("F_KeepPosition", r.F_KeepPosition);
    v("F_FontLName", r.F_FontLName);
    v("F_FontLSize", r.F_FontLSize);
    v("F_FontLBold", r.F_FontLBold);
    v("F_FontIName", r.F_FontIName);
    v("F_FontISize", r.F_FontISize);
    v("F_FontIBold", r.F_FontIBold);
    v("F_FontBName", r.F_FontBName);
    v("F_FontBSize", r.F_FontBSize);
    v("F_FontBBold", r.F_FontBBold);
}

template <SameType<TConfigRecord> R, typename V>
void ForEachSettingRadio(R &r, V &v)
{
    v("Hardware_RadioType", r.Hardware_RadioType);
    v("Hardware_RadioID", r.Hardware_RadioID);
    v("Hardware_baudrate", r.Hardware_baudrate);
    v("hardware_defaultrate", r.hardware_defaultrate);
    v("Hardware_RadioCOMPort", r.Hardware_RadioCOMPort);
    v("Hardware_RadioPollRate", r.Hardware_RadioPollRate);
    v("Hardware_RadioMaxTries", r.Hardware_RadioMaxTries);
    v("ReopenFreqWindow", r.ReopenFreqWindow);
    v("Hardware_DTRHigh", r.Hardware_DTRHigh);
    v("Hardware_RTSHigh", r.Hardware_RTSHigh);
}

template <SameType<TConfigRecord> R, typename V>
void ForEachSettingPacket(R &r, V &v)
{
    v("TNC_Type", r.TNC_Type);
    v("TNC_Comport", r.TNC_Comport);
    v("TNC_Baudrate", r.TNC_Baudrate);
    v("TNC_Flow", r.TNC_Flow);
    v("TNC_Parity", r.TNC_Parity);
    v("Packet_max_lines", r.Packet_max_lines);
    v("PackSplit", r.PackSplit);
    v("packet_soundbell", r.packet_soundbell);
    v("Packet_ShowFunction", r.Packet_ShowFunction);
    v("TNCKEYS", Indexed(r.TNCKEYS));
    v("Packet_max_putout", r.Packet_max_putout);
    v("Packet_DXAlert", r.Packet_DXAlert);
    v("Packet_DXVoice", r.Packet_DXVoice);
    v("Packet_DXCallsign", r.Packet_DXCallsign);
    v("Packet_MsgHandshake", r.Packet_MsgHandshake);
    v("Packet_IgnoreGray", r.Packet_IgnoreGray);
    v("Packet_ShowOnApp", r.Packet_ShowOnApp);
    v("DefQSO_BackupDX", r.DefQSO_BackupDX);
    v("Packet_EndorsedBM", r.Packet_EndorsedBM);
    v("Packet_talkaction", r.Packet_talkaction);
    v("SpotSortOrder", r.SpotSortOrder);
    v("Packet_OkPrefixes", r.Packet_OkPrefixes);
    v("SpotColors", Indexed(r.SpotColors));
    v("Packet_pat1", r.Packet_pat1);
    v("Packet_pat2", r.Packet_pat2);
    v("Packet_pat3", r.Packet_pat3);
    v("Packet_pat4", r.Packet_pat4);
    v("packet_talk1", r.packet_talk1);
    v("packet_talk2", r.packet_talk2);
    v("packet_talk3", r.packet_talk3);
    v("packet_talk4", r.packet_talk4);
    v("PACKETCOL", Indexed(r.PACKETCOL));
}

template <SameType<TConfigRecord> R, typename V>
void ForEachSettingRtty(R &r, V &v)
{
    v("RTTY_Type", r.RTTY_Type);
    v("RTTY_Comport", r.RTTY_Comport);
    v("RTTY_Baudrate", r.RTTY_Baudrate);
    v("RTTY_Flow", r.RTTY_Flow);
    v("RTTY_Parity", r.RTTY_Parity);
    v("rtty_max_lines", r.rtty_max_lines);
    v("RttySplit", r.RttySplit);
    v("rtty_checkspots", r.rtty_checkspots);
    v("RTTY_CheckOtherW", r.RTTY_CheckOtherW);
    v("rtty_soundbell", r.rtty_soundbell);
    v("rtty_alwaysimmed", r.rtty_alwaysimmed);
    v("rtty_showfunctions", r.rtty_showfunctions);
    v("RTTYKEYS", Indexed(r.RTTYKEYS));
}

template <SameType<TConfigRecord> R, typename V>
void ForEachSettingStation(R &r, V &v)
{
    v("StationBands", Indexed(r.StationBands, 1));
    v("StationModes", Indexed(r.StationModes, 1));
    v("ContestEnabled", r.ContestEnabled);
    v("ContestStartDate", r.ContestStartDate);
    v("ContestStartTime", r.ContestStartTime);
    v("ContestNextNumber", r.ContestNextNumber);
    v("ContestNoteText", r.ContestNoteText);
    v("TabDisabled", Indexed(r.TabDisabled));
    v("AwardSetup", Indexed(r.AwardSetup));
}

template <SameType<TConfigRecord> R, typename V>
void ForEachSettingLabels(R &r, V &v)
{
    v("F_RepFontName", r.F_RepFontName);
    v("F_RepFontSize", r.F_RepFontSize);
    v("F_RepEmbellish", r.F_RepEmbellish);
    v("F_RepBoldHeader", r.F_RepBoldHeader);
    v("F_CurrentReport", r.F_CurrentReport);
    v("F_ReportHeader", r.F_ReportHeader);
    v("LABHEAD", r.LABHEAD);
    v("LABBODY", r.LABBODY);
    v("F_LabMaxQSOs", r.F_LabMaxQSOs);
    v("F_LabUseLines", r.F_LabUseLines);
    v("F_Commercial", r.F_Commercial);
    v("F_LabCallRightAlgn", r.F_LabCallRightAlgn);
    v("F_PrintQSLMgr", r.F_PrintQSLMgr);
    v("F_PrintMethod", r.F_PrintMethod);
    v("F_PrintGroup", r.F_PrintGroup);
    v("F_LabGreeting1", r.F_LabGreeting1);
    v("F_LabGreeting2", r.F_LabGreeting2);
    v("F_LabGreeting3", r.F_LabGreeting3);
}

template <SameType<TConfigRecord> R, typename V>
void ForEachSettingExtData(R &r, V &v)
{
    v("F_F2_Confirm", r.F_F2_Confirm);
    v("F_F2_Method", r.F_F2_Method);
    v("F_F2_label", r.F_F2_label);
    v("F_F2_NextQSO", r.F_F2_NextQSO);
    v("F_F2_Alert", r.F_F2_Alert);
    v("F_ExtAddrType", r.F_ExtAddrType);
    v("F_ExtAddrPath", r.F_ExtAddrPath);
    v("F_ExtQSLProg", r.F_ExtQSLProg);
    v("F_ExtQSLEnabled", r.F_ExtQSLEnabled);
    v("F_ExtFullSize", r.F_ExtFullSize);
    v("F_ExtAutoUpdate", r.F_ExtAutoUpdate);
    v("ScanChannel", Indexed(r.ScanChannel));
    v("ScanDelay", r.ScanDelay);
    v("F_CurrentLabel", r.F_CurrentLabel);
    v("CustLab", Indexed(r.CustLab));
    v("VuccBands", Indexed(r.VuccBands));
    v("VuccGridLength", r.VuccGridLength);
}

template <SameType<TConfigRecord> R, typename V>
void ForEachSettingCw(R &r, V &v)
{
    v("Speed", r.Speed);
    v("wpm", r.wpm);
    v("weight", r.weight);
    v("tone", r.tone);
    v("sidetone", r.sidetone);
    v("marquee", r.marquee);
    v("immediate", r.immediate);
    v("hardware_cwport", r.hardware_cwport);
    v("hardware_PTTDelay", r.hardware_PTTDelay);
    v("showfunc", r.showfunc);
    v("CWKEYS", Indexed(r.CWKEYS));
}

template <SameType<TConfigRecord> R, typename V>
void ForEachSettingStationControl(R &r, V &v)
{
    v("Imp_syntax", r.Imp_syntax);
    v("imp_prefix", r.imp_prefix);
    v("imp_zone", r.imp_zone);
    v("imp_action", r.imp_action);
    v("Rotator_type", r.Rotator_type);
    v("Rotator_port", r.Rotator_port);
    v("OFFSET", r.OFFSET);
    v("CORRECTION", r.CORRECTION);
    v("RotatorBands", Indexed(r.RotatorBands, 1));
    v("Rotator_Message", r.Rotator_Message);
    v("F_Band_type", r.F_Band_type);
    v("F_Band_Port", r.F_Band_Port);
    v("F_Band_sel", r.F_Band_sel);
    v("Projection", r.Projection);
    v("Water", r.Water);
    v("Land", r.Land);
    v("MapView", Indexed(r.MapView));
    v("MapLayers", Indexed(r.MapLayers));
    v("MapOptions", Indexed(r.MapOptions));
    v("PSK31", r.PSK31);
    v("PSK31KEYS", Indexed(r.PSK31KEYS));
}

/// Calls v(name, field) for every setting of the record, in record order.
template <SameType<TConfigRecord> R, typename V>
void ForEachSetting(R &r, V &&v)
{
    ForEachSettingHeader(r, v);
    ForEachSettingPersonal(r, v);
    ForEachSettingQso(r, v);
    ForEachSettingRadio(r, v);
    ForEachSettingPacket(r, v);
    ForEachSettingRtty(r, v);
    ForEachSettingStation(r, v);
    ForEachSettingLabels(r, v);
    ForEachSettingExtData(r, v);
    ForEachSettingCw(r, v);
    ForEachSettingStationControl(r, v);
}

namespace detail {
template <typename T>
struct IsIndexed : std::false_type {};
template <typename T>
struct IsIndexed<IndexedSetting<T>> : std::true_type {};

template <typename Leaf>
struct LeafWalker {
    Leaf &leaf;
    std::string path;

    template <typename Field>
    void operator()(const char *name, Field &&field)
    {
        const std::size_t mark = path.size();
        if (!path.empty() && name[0] != '[')
            path += '.';
        path += name;
        walk(field);
        path.resize(mark);
    }

    template <typename Field>
    void walk(Field &field)
    {
        if constexpr (IsIndexed<std::remove_const_t<Field>>::value) {
            for (std::size_t i = 0; i < field.elements.size(); ++i)
                (*this)(("[" + std::to_string(field.firstIndex + i) + "]").c_str(), field.elements[i]);
        } else if constexpr (SettingGroup<Field>) {
            ForEachField(field, *this);
        } else {
            leaf(path, field);
        }
    }
};
} // namespace detail

/// Calls leaf(path, field) for every leaf setting, with paths such as
/// "Personal_Callsign", "WindowPos[3].Width" or "Personal_CWcutoff[1]".
template <SameType<TConfigRecord> R, typename Leaf>
void ForEachLeafSetting(R &r, Leaf &&leaf)
{
    detail::LeafWalker<Leaf> walker{leaf, {}};
    ForEachSetting(r, walker);
}

} // namespace vellum
