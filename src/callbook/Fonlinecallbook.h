#pragma once
// The network side of the online callbooks: logs in for a session, looks calls
// up with it (logging in again once when the session expired) and turns the XML
// answers into lines. Everything is asynchronous; a lookup that is not answered
// within the time limit ends with one line saying so.

#include "onlinecallbook.h"

#include <QNetworkReply>
#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class QByteArray;
class QNetworkAccessManager;

namespace vellum {

/// The fields of an XML answer of either service; nothing when it is not
/// well-formed XML of one of them.
std::optional<OnlineFields> ParseOnlineAnswer(const QByteArray &xml);

class OnlineCallbookClient : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const OnlineAnswer &answer)>;
    OnlineCallbookClient(OnlineCallbookSettings settings, QObject *parent);
    ~OnlineCallbookClient() override;

    /// New settings: the session and the cache start afresh.
    void SetSettings(OnlineCallbookSettings settings);
    const OnlineCallbookSettings &Settings() const { return m_settings; }
    /// Looks call up; done gets the answer (from the cache at once). A lookup still
    /// running is dropped without an answer.
    void Lookup(const std::string &call, Done done);
    /// Drops the lookup running now: its answer is never delivered.
    void Cancel();
    bool Busy() const { return m_reply != nullptr; }
    /// The number of requests sent (logins and lookups).
    int RequestCount() const { return m_requests; }

private:
    void login();
    void query();
    void send(const std::vector<std::pair<QString, QString>> &items, void (OnlineCallbookClient::*handler)());
    void loginAnswered();
    void queryAnswered();
    /// The fields of the finished reply; nothing (after the failure's line) when it failed.
    std::optional<OnlineFields> answer();
    void finish(OnlineAnswer result);
    void fail(const std::string &text);
    /// The reason a reply failed, without the request's query (it holds the password).
    std::string failure(const QNetworkReply &reply) const;
    std::string name() const { return ServiceName(m_settings.service); }

    OnlineCallbookSettings m_settings;
    QNetworkAccessManager *m_network;
    QPointer<QNetworkReply> m_reply;
    OnlineCache m_cache;
    std::string m_session;
    std::string m_call;
    Done m_done;
    bool m_retried = false;
    int m_requests = 0;
};

} // namespace vellum
