#pragma once
// The UDP receiver of the weak-signal programs without Qt in the header: a receiver
// run in an event loop of its own, for vellum-cli.

#include "wssession.h"

#include <functional>
#include <string>

namespace vellum {

struct WeakSignalListening {
    WeakSignalAddress where;
    int seconds = 0; ///< how long to listen; 0: until the sending program closes
    std::function<void(const std::string &address)> listening; ///< once the socket is bound
    std::function<void(const TQsoRec &)> logged;
    std::function<void(const DecodedSpot &)> decoded;
};

struct WeakSignalListened {
    bool started = false;
    std::string error; ///< why the socket could not be bound
    WeakSignalCounters counters;
};

/// Listens on the address for the time given (or until the sending program closes),
/// adding the logged QSOs to the log. Makes the Qt application object when there is none.
WeakSignalListened ListenToWeakSignalPrograms(WeakSignalLog target, const WeakSignalListening &how);

} // namespace vellum
