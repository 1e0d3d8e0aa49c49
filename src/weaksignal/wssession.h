#pragma once
// What the receiver of the weak-signal programs does with their datagrams: QSOs
// they logged go into the open log through the ADIF import, decoded CQ calls become
// spots on the band of the sender's last status. Without Qt: the UDP socket is
// WeakSignalReceiver's.

#include "wsdatagram.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace vellum {

class CountryResolver;
class TCountryData;
class TQsoData;
struct TConfigRecord;
struct TQsoRec;

/// Where the weak-signal programs send their datagrams.
struct WeakSignalAddress {
    std::string address = "127.0.0.1";
    std::uint16_t port = 2237;
};

/// A station heard calling CQ by a weak-signal program.
struct DecodedSpot {
    static constexpr const char *Spotter = "DECODE"; ///< the spotter the spot list shows
    std::string call;
    double kHz = 0;          ///< dial frequency plus the audio offset
    int band = 0;            ///< band index (BandOfFreq of the dial frequency)
    int mode = 0;            ///< mode index of the sender's mode ("FT8")
    std::int32_t seconds = 0; ///< UTC seconds of the day of the decode
    std::int32_t snr = 0;    ///< dB
    std::string message;     ///< the decoded text, "CQ DX DL1ABC JO62"
};

/// The log the logged QSOs go to and what their import needs.
struct WeakSignalLog {
    TQsoData &log;
    TCountryData &countries;
    const CountryResolver &resolver;
    const TConfigRecord &config;
};

struct WeakSignalCounters {
    std::int64_t datagrams = 0;
    std::int64_t malformed = 0; ///< dropped: not a whole message of the protocol
    std::int64_t logged = 0;    ///< QSOs added to the log
    std::int64_t duplicates = 0; ///< logged QSOs the log held already (each QSO comes twice)
    std::int64_t spots = 0;
};

/// The call of a CQ message ("CQ DX DL1ABC JO62" gives DL1ABC); empty when the
/// message is no CQ or names no call.
std::string CallOfCq(std::string_view message);

class WeakSignalSession {
public:
    explicit WeakSignalSession(WeakSignalLog target) : m_target(target) {}

    /// Where decoded CQ calls go; none: they are dropped.
    void SetDecodeSink(std::function<void(const DecodedSpot &)> sink) { m_decodeSink = std::move(sink); }
    /// Told of each QSO added to the log.
    void SetLoggedSink(std::function<void(const TQsoRec &)> sink) { m_loggedSink = std::move(sink); }

    /// Told when a sending program says it closes (its Close message).
    void SetClosedSink(std::function<void()> sink) { m_closedSink = std::move(sink); }

    /// Handles one datagram as it came.
    void Handle(std::string_view bytes);
    const WeakSignalCounters &Counters() const { return m_counters; }

private:
    void importAdif(const std::string &adif);
    void decoded(const std::string &id, const WsDecode &decode);

    WeakSignalLog m_target;
    std::function<void(const DecodedSpot &)> m_decodeSink;
    std::function<void(const TQsoRec &)> m_loggedSink;
    std::function<void()> m_closedSink;
    std::map<std::string, WsStatus> m_status; ///< the last status of each sending program
    WeakSignalCounters m_counters;
};

/// The ADIF record of a "QSO Logged" message's fields.
std::string AdifOfLoggedQso(const WsQsoLogged &qso);

} // namespace vellum
