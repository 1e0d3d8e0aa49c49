#include "config/configrules.h"

#include "config/configfields.h"
#include "logstore/qsotables.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <type_traits>

namespace vellum {

void ResetScreenDefaults(TConfigRecord &record, std::int32_t pixelsPerInch)
{
    const std::int64_t ppi = pixelsPerInch > 0 ? pixelsPerInch : DesignPixelsPerInch;
    const auto scale = static_cast<std::uint8_t>(std::clamp<std::int64_t>(100 * ppi / DesignPixelsPerInch, 25, 255));
    const auto fixedSize = static_cast<std::uint8_t>((scale * 11 + 50) / 100);
    record.F_FormScale = scale;
    record.F_FontLName = "Arial";
    record.F_FontLSize = 9;
    record.F_FontLBold = false;
    record.F_FontIName = "Fixedsys";
    record.F_FontISize = fixedSize;
    record.F_FontIBold = false;
    record.F_FontBName = "Fixedsys";
    record.F_FontBSize = fixedSize;
    record.F_FontBBold = false;
}

namespace {

template <std::size_t Capacity>
void clampLength(ShortString<Capacity> &text)
{
    if (text.size() > Capacity)
        text.assign(std::string(text.data(), Capacity));
}

template <typename Field>
std::int64_t numberOf(const Field &field)
{
    return static_cast<std::int64_t>(field);
}

/// Puts the default back when field lies outside low..high.
template <typename Field>
void keepWithin(Field &field, std::int64_t low, std::int64_t high, const Field &fallback)
{
    if (numberOf(field) < low || numberOf(field) > high)
        field = fallback;
}

/// Puts the default back when field is not a finite number within low..high.
void keepFinite(LeF64 &field, double low, double high, const LeF64 &fallback)
{
    const double value = field;
    if (!std::isfinite(value) || value < low || value > high)
        field = fallback;
}

void clampPersonal(TConfigRecord &r, const TConfigRecord &d)
{
    keepWithin(r.QsoWindowSize, 0, 5, d.QsoWindowSize);
    keepWithin(r.Personal_UserLevel, 1, 3, d.Personal_UserLevel);
    keepWithin(r.Personal_DateFormat, 1, 3, d.Personal_DateFormat);
    keepWithin(r.Personal_UnitFormat, 1, 2, d.Personal_UnitFormat);
    keepFinite(r.Personal_Longitude, -180, 180, d.Personal_Longitude);
    keepFinite(r.Personal_Latitude, -90, 90, d.Personal_Latitude);
    for (std::size_t band = 1; band < r.Personal_CWcutoff.size(); ++band)
        keepFinite(r.Personal_CWcutoff[band], 0, 1e9, d.Personal_CWcutoff[band]);
}

void clampQso(TConfigRecord &r, const TConfigRecord &d)
{
    keepWithin(r.DefQSO_Mode, 0, AllModeCount - 1, d.DefQSO_Mode); // one byte, no slot: any mode
    keepWithin(r.DefQSO_band, 0, AllBandCount - 1, d.DefQSO_band);
    keepWithin(r.DefQSO_Method, 0, 6, d.DefQSO_Method);
    keepWithin(r.DefQSO_Label, 1, 2, d.DefQSO_Label);
    keepWithin(r.DefQSO_CallSearch, 1, 4, d.DefQSO_CallSearch);
    keepWithin(r.DefQSO_DateSearch, 1, 3, d.DefQSO_DateSearch);
    // A zero scale or font size would shrink every window to nothing.
    if (r.F_FormScale == 0 || r.F_FontLSize == 0 || r.F_FontISize == 0 || r.F_FontBSize == 0)
        ResetScreenDefaults(r, r.ScreenPpi);
}

void clampTerminals(TConfigRecord &r, const TConfigRecord &d)
{
    keepWithin(r.Hardware_RadioCOMPort, 1, 8, d.Hardware_RadioCOMPort);
    keepWithin(r.Hardware_RadioPollRate, 1, 65535, d.Hardware_RadioPollRate);
    keepWithin(r.Hardware_RadioMaxTries, 1, 255, d.Hardware_RadioMaxTries);
    keepWithin(r.TNC_Type, 1, 2, d.TNC_Type);
    keepWithin(r.TNC_Comport, 1, 10, d.TNC_Comport);
    keepWithin(r.TNC_Baudrate, 1, 7, d.TNC_Baudrate);
    keepWithin(r.TNC_Flow, 1, 3, d.TNC_Flow);
    keepWithin(r.TNC_Parity, 1, 2, d.TNC_Parity);
    keepWithin(r.Packet_max_lines, 1, INT32_MAX, d.Packet_max_lines);
    keepWithin(r.PackSplit, 5, 95, d.PackSplit);
    keepWithin(r.Packet_max_putout, 1, 65535, d.Packet_max_putout);
    keepWithin(r.Packet_DXAlert, 0, 4, d.Packet_DXAlert);
    keepWithin(r.Packet_DXVoice, 0, 5, d.Packet_DXVoice);
    keepWithin(r.Packet_EndorsedBM, 0, 3, d.Packet_EndorsedBM);
    keepWithin(r.Packet_talkaction, 0, 3, d.Packet_talkaction);
    keepWithin(r.RTTY_Type, 1, 2, d.RTTY_Type);
    keepWithin(r.RTTY_Comport, 1, 9, d.RTTY_Comport);
    keepWithin(r.RTTY_Baudrate, 1, 7, d.RTTY_Baudrate);
    keepWithin(r.RTTY_Flow, 1, 3, d.RTTY_Flow);
    keepWithin(r.RTTY_Parity, 1, 2, d.RTTY_Parity);
    keepWithin(r.rtty_max_lines, 1, INT32_MAX, d.rtty_max_lines);
    keepWithin(r.RttySplit, 5, 95, d.RttySplit);
}

void clampLabel(LabelLayout &label, const LabelLayout &fallback)
{
    for (auto field : {&LabelLayout::SpacingTop, &LabelLayout::SpacingLeft, &LabelLayout::SpacingHeight,
                       &LabelLayout::SpacingWidth, &LabelLayout::LabelHeight, &LabelLayout::LabelWidth,
                       &LabelLayout::RightShift, &LabelLayout::DownShift, &LabelLayout::PageWidth,
                       &LabelLayout::PageHeight})
        keepFinite(label.*field, -1000, 1000, fallback.*field);
    keepWithin(label.NumAcross, 1, 255, fallback.NumAcross);
    keepWithin(label.NumDown, 1, 255, fallback.NumDown);
}

void clampAwardsAndLabels(TConfigRecord &r, const TConfigRecord &d)
{
    keepWithin(r.ContestNextNumber, 0, 99999, d.ContestNextNumber);
    if (r.VuccGridLength != 2 && r.VuccGridLength != 4 && r.VuccGridLength != 6)
        r.VuccGridLength = d.VuccGridLength;
    keepWithin(r.F_RepFontSize, 1, 255, d.F_RepFontSize);
    keepWithin(r.F_RepEmbellish, 0, 2, d.F_RepEmbellish);
    keepWithin(r.LABHEAD.Size, 1, 255, d.LABHEAD.Size);
    keepWithin(r.LABBODY.Size, 1, 255, d.LABBODY.Size);
    keepWithin(r.F_F2_Method, 0, 6, d.F_F2_Method);
    keepWithin(r.F_F2_label, 0, 2, d.F_F2_label);
    keepWithin(r.F_F2_NextQSO, 0, 2, d.F_F2_NextQSO);
    keepWithin(r.F_ExtAddrType, 0, 6, d.F_ExtAddrType); // 6: the online callbook
    keepWithin(r.F_CurrentLabel, 0, INT32_MAX, d.F_CurrentLabel);
    for (std::size_t i = 0; i < r.CustLab.size(); ++i)
        clampLabel(r.CustLab[i], d.CustLab[i]);
    for (TScanChannel &channel : r.ScanChannel) {
        keepWithin(channel.Mode, 0, 15, TScanChannel{}.Mode);
        keepFinite(channel.Freq, 0, 1e9, TScanChannel{}.Freq);
        keepFinite(channel.Freq2, 0, 1e9, TScanChannel{}.Freq2);
    }
    keepWithin(r.ScanDelay, 1, 3600, d.ScanDelay);
}

void clampStationControl(TConfigRecord &r, const TConfigRecord &d)
{
    keepWithin(r.Speed, 1, 60, d.Speed);
    keepWithin(r.wpm, 1, 60, d.wpm);
    if (r.wpm > r.Speed)
        r.wpm = r.Speed.get();
    keepWithin(r.weight, 1, 1000, d.weight);
    keepWithin(r.tone, 1, 20000, d.tone);
    keepWithin(r.hardware_cwport, 1, 6, d.hardware_cwport);
    keepWithin(r.imp_action, 0, 2, d.imp_action);
    keepWithin(r.Rotator_type, 1, 6, d.Rotator_type);
    keepWithin(r.Rotator_port, 1, 8, d.Rotator_port);
    for (std::size_t band = 1; band < r.RotatorBands.size(); ++band)
        keepWithin(r.RotatorBands[band], 0, 3, d.RotatorBands[band]);
    keepWithin(r.F_Band_type, 1, 2, d.F_Band_type);
    keepWithin(r.F_Band_Port, 1, 3, d.F_Band_Port);
    keepWithin(r.F_Band_sel, 1, 3, d.F_Band_sel);
    if (r.Projection > 7 && r.Projection != 255)
        r.Projection = d.Projection;
    TPsk31Settings &p = r.PSK31;
    keepWithin(p.CenterFreq, 200, 3200, d.PSK31.CenterFreq);
    keepWithin(p.Mode, 0, 2, d.PSK31.Mode);
    keepWithin(p.Display, 0, 2, d.PSK31.Display);
    keepWithin(p.Split1, 1, 99, d.PSK31.Split1);
    keepWithin(p.Split2, 1, 99, d.PSK31.Split2);
    keepWithin(p.Split3, 1, 75, d.PSK31.Split3);
    keepWithin(p.KEYING, 1, 10, d.PSK31.KEYING);
    if (p.Scale != 1 && p.Scale != 2 && p.Scale != 4)
        p.Scale = d.PSK31.Scale;
}

std::string replaceTilde(std::string_view text, std::string_view call)
{
    std::string out;
    for (char c : text) {
        if (c == '~')
            out += call;
        else
            out += c;
    }
    return out;
}

} // namespace

void ClampStringLengths(TConfigRecord &record)
{
    ForEachLeafSetting(record, [](const std::string &, auto &field) {
        using Field = std::remove_cvref_t<decltype(field)>;
        if constexpr (requires { Field::capacity; })
            clampLength(field);
    });
}

void ClampSettings(TConfigRecord &record)
{
    const TConfigRecord &defaults = BuiltInConfig();
    clampPersonal(record, defaults);
    clampQso(record, defaults);
    clampTerminals(record, defaults);
    clampAwardsAndLabels(record, defaults);
    clampStationControl(record, defaults);
}

void ApplyOwnCall(TConfigRecord &record)
{
    const std::string call = record.Personal_Callsign.str();
    if (call.empty())
        return;
    for (auto *greeting : {&record.F_LabGreeting1, &record.F_LabGreeting2, &record.F_LabGreeting3})
        *greeting = replaceTilde(greeting->view(), call);
    for (auto *pattern : {&record.packet_talk1, &record.packet_talk2, &record.packet_talk3, &record.packet_talk4})
        *pattern = replaceTilde(pattern->view(), call);
}

} // namespace vellum
