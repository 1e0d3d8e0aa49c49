#pragma once
// The message hand-over with another program on this machine: a local socket
// line protocol in place of window messages. A message is a data code byte
// (100 for text), the text and a zero byte; the receiver answers one byte:
// 1 accepted, 2 an unknown data code, anything else could not handle it.
// The program listens as "vellum-packet"; the target listens under the name
// before the "|" of Packet_MsgHandshake.

#include <QLocalServer>
#include <QObject>

#include <functional>
#include <map>
#include <string>

namespace vellum {

inline constexpr const char *MsgHandOverName = "vellum-packet";
inline constexpr std::uint8_t MsgTextCode = 100;

class TMsgHandOver : public QObject {
    Q_OBJECT
public:
    explicit TMsgHandOver(std::string handshake, QObject *parent = nullptr);
    ~TMsgHandOver() override;
    /// Listens for other programs' texts; false when the name is taken.
    bool Listen(const QString &name = QString::fromLatin1(MsgHandOverName));
    /// Texts other programs hand over (without the zero byte).
    void OnText(std::function<void(const std::string &)> handler) { m_onText = std::move(handler); }
    /// Hands text to the target; false with Error() when it was not taken.
    bool Send(const std::string &text);
    const std::string &Error() const { return m_error; }
    /// The target's name and title from the setting (upper case, at most 32 characters each).
    std::string TargetClass() const { return m_class; }
    std::string TargetTitle() const { return m_title; }

private:
    int sendOnce(const std::string &text);
    void readClient(class QLocalSocket *client);

    std::string m_class, m_title;
    std::map<class QLocalSocket *, QByteArray> m_pending; ///< a message arriving in parts, by client
    QLocalServer m_server; ///< after m_pending: its clients go first
    std::string m_error;
    std::function<void(const std::string &)> m_onText;
};

} // namespace vellum
