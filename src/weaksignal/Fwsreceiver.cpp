#include "Fwsreceiver.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QUdpSocket>

namespace vellum {

WeakSignalReceiver::WeakSignalReceiver(WeakSignalLog target, QObject *parent) : QObject(parent), m_session(target) {}

WeakSignalReceiver::~WeakSignalReceiver() = default;

bool WeakSignalReceiver::Start(const WeakSignalAddress &where)
{
    Stop();
    QHostAddress address;
    if (!address.setAddress(QString::fromStdString(where.address))) {
        m_error = "not an IP address: " + where.address;
        return false;
    }
    auto socket = std::make_unique<QUdpSocket>();
    bool multicast = address.isMulticast();
    QHostAddress bindTo = !multicast ? address
                          : address.protocol() == QAbstractSocket::IPv6Protocol ? QHostAddress(QHostAddress::AnyIPv6)
                                                                                : QHostAddress(QHostAddress::AnyIPv4);
    if (!socket->bind(bindTo, where.port, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint) ||
        (multicast && !socket->joinMulticastGroup(address))) {
        m_error = socket->errorString().toStdString();
        return false;
    }
    connect(socket.get(), &QUdpSocket::readyRead, this, &WeakSignalReceiver::readPending);
    m_socket = std::move(socket);
    m_error.clear();
    return true;
}

void WeakSignalReceiver::Stop() { m_socket.reset(); }

bool WeakSignalReceiver::Listening() const { return m_socket != nullptr; }

std::uint16_t WeakSignalReceiver::Port() const { return m_socket ? m_socket->localPort() : 0; }

WeakSignalListened ListenToWeakSignalPrograms(WeakSignalLog target, const WeakSignalListening &how)
{
    std::unique_ptr<QCoreApplication> app;
    static int argc = 1;
    static char name[] = "vellum";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        app = std::make_unique<QCoreApplication>(argc, argv);
    WeakSignalListened result;
    WeakSignalReceiver receiver(target);
    receiver.SetLoggedSink(how.logged);
    receiver.SetDecodeSink(how.decoded);
    result.started = receiver.Start(how.where);
    result.error = receiver.Error();
    if (!result.started)
        return result;
    if (how.listening)
        how.listening(how.where.address + ":" + std::to_string(receiver.Port()));
    QEventLoop loop;
    receiver.SetClosedSink([&loop] { loop.quit(); });
    if (how.seconds > 0)
        QTimer::singleShot(how.seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    result.counters = receiver.Counters();
    return result;
}

void WeakSignalReceiver::readPending()
{
    while (m_socket && m_socket->hasPendingDatagrams()) {
        QNetworkDatagram datagram = m_socket->receiveDatagram();
        QByteArray bytes = datagram.data();
        m_session.Handle(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
}

} // namespace vellum
