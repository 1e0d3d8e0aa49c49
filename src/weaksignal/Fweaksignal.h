#pragma once
// The weak-signal programs in the program: their receiver runs while a log is open,
// on the address and port of WEAKSIG.INI in the program directory, set through
// "File > Weak-signal programs...".

#include "Fwsreceiver.h"

#include <functional>

namespace vellum {

class WindowHost;

/// WEAKSIG.INI's address and port; the defaults when the file or a key is missing.
WeakSignalAddress ReadWeakSignalAddress(const std::string &programDir);
void WriteWeakSignalAddress(const std::string &programDir, const WeakSignalAddress &where);

/// Registers the receiver with the host: started when a log's QSO window opens,
/// stopped when it closes, and the menu item that sets its address.
void RegisterWeakSignalWindows(WindowHost &host);
/// The receiver of the open log, null without one (tests and the spot list).
WeakSignalReceiver *ActiveWeakSignalReceiver(WindowHost &host);

} // namespace vellum
