#include "Fweaksignal.h"

#include "cluster/Fcluster.h"
#include "cluster/Fputout.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "config/inifile.h"
#include "logstore/paths.h"

#include <QInputDialog>

#include <charconv>
#include <filesystem>

namespace vellum {

namespace {

constexpr const char *Section = "UDP";
constexpr const char *IniName = "WEAKSIG.INI";

std::string iniPath(const std::string &programDir) { return (std::filesystem::path(programDir) / IniName).string(); }

/// "127.0.0.1:2237": an address, a colon and a port 1..65535.
std::optional<WeakSignalAddress> parseAddress(const std::string &text)
{
    std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0)
        return std::nullopt;
    unsigned port = 0;
    const char *end = text.data() + text.size();
    auto [at, error] = std::from_chars(text.data() + colon + 1, end, port);
    if (error != std::errc() || at != end || port == 0 || port > 65535)
        return std::nullopt;
    return WeakSignalAddress{text.substr(0, colon), static_cast<std::uint16_t>(port)};
}

/// Keeps the receiver of the open log.
class WeakSignalLink : public QObject {
public:
    explicit WeakSignalLink(WindowHost &host) : QObject(&host), m_host(host)
    {
        setObjectName(QStringLiteral("WeakSignalLink"));
        host.Handle(HostMessage::QsoWindowOpened, this, [this] { start(); });
        host.Handle(HostMessage::QsoWindowClosed, this, [this] { m_receiver.reset(); });
        host.AddMenuItem({QStringLiteral("&File"), QStringLiteral("WeakSignal1"), QStringLiteral("&Weak-signal programs..."),
                          {}, [this] { configure(); }});
    }
    WeakSignalReceiver *Receiver() const { return m_receiver.get(); }

private:
    void start()
    {
        ProgramContext &context = m_host.Context();
        if (!context.Log())
            return;
        m_receiver = std::make_unique<WeakSignalReceiver>(
            WeakSignalLog{*context.Log(), context.Countries(), context.Resolver(), context.Config()});
        // Decoded CQ calls go to the spot list (when a terminal keeps one), ranked as any spot.
        m_receiver->SetDecodeSink([this](const DecodedSpot &spot) {
            TClusterStation *cluster = ClusterOf(m_host);
            if (TPutoutW *list = cluster ? cluster->SpotList() : nullptr)
                list->AddDecodedSpot(spot.call, spot.kHz, spot.mode, static_cast<int>(spot.seconds / 60),
                                     spot.message.substr(0, 33), DecodedSpot::Spotter);
        });
        if (!m_receiver->Start(ReadWeakSignalAddress(ProgramDir())))
            m_host.Notifier().warning("The QSOs of weak-signal programs are not received: " + m_receiver->Error());
    }
    void configure()
    {
        WeakSignalAddress where = ReadWeakSignalAddress(ProgramDir());
        bool ok = false;
        QString text = QInputDialog::getText(nullptr, QStringLiteral("Weak-signal programs"),
                                             QStringLiteral("UDP address and port of their messages"), QLineEdit::Normal,
                                             QString::fromStdString(where.address + ":" + std::to_string(where.port)), &ok);
        if (!ok)
            return;
        std::optional<WeakSignalAddress> chosen = parseAddress(text.trimmed().toStdString());
        if (!chosen) {
            m_host.Notifier().error("Give an address and a port, as 127.0.0.1:2237");
            return;
        }
        try {
            WriteWeakSignalAddress(ProgramDir(), *chosen);
        } catch (const std::exception &e) {
            m_host.Notifier().error(std::string("The address is not saved: ") + e.what());
        }
        if (m_receiver && !m_receiver->Start(*chosen))
            m_host.Notifier().warning("The QSOs of weak-signal programs are not received: " + m_receiver->Error());
    }

    WindowHost &m_host;
    std::unique_ptr<WeakSignalReceiver> m_receiver;
};

} // namespace

WeakSignalAddress ReadWeakSignalAddress(const std::string &programDir)
{
    WeakSignalAddress where;
    TIniFile ini(iniPath(programDir));
    where.address = ini.ReadString(Section, "Address", where.address);
    long port = ini.ReadInteger(Section, "Port", where.port);
    if (port > 0 && port <= 65535)
        where.port = static_cast<std::uint16_t>(port);
    return where;
}

void WriteWeakSignalAddress(const std::string &programDir, const WeakSignalAddress &where)
{
    TIniFile ini(iniPath(programDir));
    ini.WriteString(Section, "Address", where.address);
    ini.WriteInteger(Section, "Port", where.port);
    ini.UpdateFile();
}

void RegisterWeakSignalWindows(WindowHost &host) { new WeakSignalLink(host); }

WeakSignalReceiver *ActiveWeakSignalReceiver(WindowHost &host)
{
    auto *link = host.findChild<WeakSignalLink *>(QStringLiteral("WeakSignalLink"), Qt::FindDirectChildrenOnly);
    return link ? link->Receiver() : nullptr;
}

} // namespace vellum
