#pragma once
// The UDP receiver of the weak-signal programs: a socket on an address and port
// (127.0.0.1:2237 by default; a multicast group is joined) whose datagrams go to a
// WeakSignalSession.

#include "wslisten.h"
#include "wssession.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <string>

class QUdpSocket;

namespace vellum {

class WeakSignalReceiver : public QObject {
    Q_OBJECT
public:
    explicit WeakSignalReceiver(WeakSignalLog target, QObject *parent = nullptr);
    ~WeakSignalReceiver() override;

    /// Binds the socket (sharing the port with other listeners); false, with the
    /// reason in Error(), when the address is no address or the port is taken.
    bool Start(const WeakSignalAddress &where);
    void Stop();
    bool Listening() const;
    /// The port bound (Start with port 0 binds a free one).
    std::uint16_t Port() const;
    const std::string &Error() const { return m_error; }

    void SetDecodeSink(std::function<void(const DecodedSpot &)> sink) { m_session.SetDecodeSink(std::move(sink)); }
    void SetLoggedSink(std::function<void(const TQsoRec &)> sink) { m_session.SetLoggedSink(std::move(sink)); }
    void SetClosedSink(std::function<void()> sink) { m_session.SetClosedSink(std::move(sink)); }
    const WeakSignalCounters &Counters() const { return m_session.Counters(); }

private:
    void readPending();

    WeakSignalSession m_session;
    std::unique_ptr<QUdpSocket> m_socket;
    std::string m_error;
};

} // namespace vellum
