#pragma once
// What saving the setup dialog changed, grouped by what has to follow: the
// radio, terminals, keyer and rotator restart, windows rescale, award tables
// are rebuilt, the own call goes into the greetings and patterns.

#include "config/configrecord.h"

namespace vellum {

struct SetupChanges {
    bool ownCall = false;        ///< own callsign or the first name-and-address line
    bool radio = false;          ///< radio definition, port, baud rate, poll rate, DTR or RTS
    bool packetTerminal = false; ///< the packet terminal's type, port, line settings or key display
    bool secondTerminal = false; ///< the same of the second terminal
    bool cwKeyer = false;        ///< CW port or "show function keys"
    bool rotator = false;        ///< rotator type or port
    bool grayNowIgnored = false; ///< "Ignore 'Gray' Spots" switched on
    bool screen = false;         ///< scale or any of the three screen fonts
    bool awards = false;         ///< cutoffs, station bands and modes, VUCC bands, spotter prefixes, award setups
};

/// Compares the settings before and after the dialog. The rotator type counts
/// only while a QSO window exists (the rotator turns only for it); its port always.
SetupChanges CompareSetup(const TConfigRecord &before, const TConfigRecord &after, bool qsoWindowOpen);

} // namespace vellum
