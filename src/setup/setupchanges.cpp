#include "setup/setupchanges.h"

#include <cstring>

namespace vellum {

namespace {

/// Whether any of the members differs in its stored bytes.
template <typename... Members>
bool differs(const TConfigRecord &a, const TConfigRecord &b, Members... members)
{
    return ((std::memcmp(&(a.*members), &(b.*members), sizeof(a.*members)) != 0) || ...);
}

} // namespace

SetupChanges CompareSetup(const TConfigRecord &before, const TConfigRecord &after, bool qsoWindowOpen)
{
    using R = TConfigRecord;
    SetupChanges changes;
    changes.ownCall = differs(before, after, &R::Personal_Callsign, &R::Personal_Addr1);
    changes.radio = differs(before, after, &R::Hardware_RadioType, &R::Hardware_RadioCOMPort, &R::Hardware_baudrate,
                            &R::hardware_defaultrate, &R::Hardware_RadioPollRate, &R::Hardware_DTRHigh,
                            &R::Hardware_RTSHigh);
    changes.packetTerminal = differs(before, after, &R::TNC_Type, &R::TNC_Comport, &R::TNC_Baudrate, &R::TNC_Flow,
                                     &R::TNC_Parity, &R::Packet_ShowFunction, &R::Packet_MsgHandshake);
    changes.secondTerminal = differs(before, after, &R::RTTY_Type, &R::RTTY_Comport, &R::RTTY_Baudrate, &R::RTTY_Flow,
                                     &R::RTTY_Parity, &R::rtty_showfunctions);
    changes.cwKeyer = differs(before, after, &R::hardware_cwport, &R::showfunc);
    changes.rotator = differs(before, after, &R::Rotator_port) || (qsoWindowOpen && differs(before, after, &R::Rotator_type));
    changes.grayNowIgnored = !before.Packet_IgnoreGray && after.Packet_IgnoreGray;
    changes.screen = differs(before, after, &R::F_FormScale, &R::F_FontLName, &R::F_FontLSize, &R::F_FontLBold,
                             &R::F_FontIName, &R::F_FontISize, &R::F_FontIBold, &R::F_FontBName, &R::F_FontBSize,
                             &R::F_FontBBold);
    // Every award's setup counts, not only that of DXCC: each one decides what its table holds.
    changes.awards = differs(before, after, &R::WorkedCutoff, &R::MailedCutoff, &R::StationBands, &R::StationModes,
                             &R::VuccBands, &R::Packet_OkPrefixes, &R::AwardSetup);
    return changes;
}

} // namespace vellum
