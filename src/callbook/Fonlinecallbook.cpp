#include "Fonlinecallbook.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <QUrlQuery>
#include <QXmlStreamReader>

namespace vellum {

namespace {

constexpr qint64 MaxAnswerBytes = 1 << 20;

bool isSection(QStringView name, QStringView section) { return name.compare(section, Qt::CaseInsensitive) == 0; }

} // namespace

std::optional<OnlineFields> ParseOnlineAnswer(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement())
        return std::nullopt;
    if (reader.name() != QLatin1String("QRZDatabase") && reader.name() != QLatin1String("HamQTH"))
        return std::nullopt;
    OnlineFields fields;
    bool inSession = false, inRecord = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement()) {
            if (isSection(reader.name(), u"Session"))
                inSession = false;
            else if (isSection(reader.name(), u"Callsign") || isSection(reader.name(), u"search"))
                inRecord = false;
            continue;
        }
        if (!reader.isStartElement())
            continue;
        QString name = reader.name().toString().toLower();
        if (!inSession && !inRecord) {
            inSession = name == QLatin1String("session");
            inRecord = name == QLatin1String("callsign") || name == QLatin1String("search");
            if (inRecord)
                fields["found"] = "1";
            continue;
        }
        QString text = reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        if (reader.hasError())
            break;
        if (inSession && (name == QLatin1String("key") || name == QLatin1String("session_id")))
            fields["session"] = text.toStdString();
        else if (inSession && name == QLatin1String("error"))
            fields["error"] = text.toStdString();
        else if (inRecord)
            fields[name.toStdString()] = text.toStdString();
    }
    if (reader.hasError())
        return std::nullopt;
    return fields;
}

OnlineCallbookClient::OnlineCallbookClient(OnlineCallbookSettings settings, QObject *parent)
    : QObject(parent), m_settings(std::move(settings)), m_network(new QNetworkAccessManager(this))
{
}

OnlineCallbookClient::~OnlineCallbookClient() { Cancel(); }

void OnlineCallbookClient::SetSettings(OnlineCallbookSettings settings)
{
    m_settings = std::move(settings);
    m_session.clear();
    m_cache.Clear();
}

void OnlineCallbookClient::Cancel()
{
    m_done = nullptr;
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
    }
}

void OnlineCallbookClient::Lookup(const std::string &call, Done done)
{
    Cancel();
    m_call = call;
    m_done = std::move(done);
    m_retried = false;
    if (auto cached = m_cache.Find(call, OnlineCache::Clock::now())) {
        finish(std::move(*cached));
        return;
    }
    if (m_settings.user.empty()) {
        fail(name() + ": no user name in the online callbook settings");
        return;
    }
    if (m_session.empty())
        login();
    else
        query();
}

void OnlineCallbookClient::login()
{
    QString user = QString::fromStdString(m_settings.user), password = QString::fromStdString(m_settings.password);
    if (m_settings.service == OnlineService::HamQthXml)
        send({{"u", user}, {"p", password}}, &OnlineCallbookClient::loginAnswered);
    else
        send({{"username", user}, {"password", password}, {"agent", "vellum"}}, &OnlineCallbookClient::loginAnswered);
}

void OnlineCallbookClient::query()
{
    QString session = QString::fromStdString(m_session), call = QString::fromStdString(m_call);
    if (m_settings.service == OnlineService::HamQthXml)
        send({{"id", session}, {"callsign", call}, {"prg", "vellum"}}, &OnlineCallbookClient::queryAnswered);
    else
        send({{"s", session}, {"callsign", call}}, &OnlineCallbookClient::queryAnswered);
}

void OnlineCallbookClient::send(const std::vector<std::pair<QString, QString>> &items,
                                void (OnlineCallbookClient::*handler)())
{
    QUrl url(QString::fromStdString(m_settings.baseUrl.empty() ? DefaultServiceUrl(m_settings.service)
                                                               : m_settings.baseUrl));
    QUrlQuery query;
    for (const auto &[key, value] : items)
        query.addQueryItem(key, QString::fromLatin1(QUrl::toPercentEncoding(value)));
    url.setQuery(query);
    QNetworkRequest request(url);
    request.setTransferTimeout(m_settings.timeoutSeconds * 1000);
    request.setMaximumRedirectsAllowed(5);
    ++m_requests;
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::finished, this, handler);
}

std::optional<OnlineFields> OnlineCallbookClient::answer()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    if (reply->error() == QNetworkReply::OperationCanceledError) {
        fail(name() + ": no answer within " + std::to_string(m_settings.timeoutSeconds) + " s");
        return std::nullopt;
    }
    if (reply->error() != QNetworkReply::NoError) {
        fail(failure(*reply));
        return std::nullopt;
    }
    auto fields = ParseOnlineAnswer(reply->read(MaxAnswerBytes));
    if (!fields)
        fail(name() + ": the answer is not in the service's XML format");
    return fields;
}

std::string OnlineCallbookClient::failure(const QNetworkReply &reply) const
{
    int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 0) {
        QString reason = reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().trimmed();
        return name() + ": the service answered HTTP " + std::to_string(status) +
               (reason.isEmpty() ? std::string() : " " + reason.toStdString());
    }
    // Qt names the address in some of its texts, with the query that holds user and password.
    QString text = reply.errorString();
    for (const QUrl &url : {reply.url(), reply.request().url()})
        for (const QString &form : {url.toString(), url.toString(QUrl::FullyEncoded), url.toDisplayString()})
            if (!form.isEmpty())
                text.replace(form, url.toString(QUrl::RemoveQuery | QUrl::RemoveUserInfo));
    return name() + ": no connection (" + text.toStdString() + ")";
}

void OnlineCallbookClient::loginAnswered()
{
    auto fields = answer();
    if (!fields)
        return;
    auto session = fields->find("session");
    if (session == fields->end() || session->second.empty()) {
        auto error = fields->find("error");
        bool badLogin = error == fields->end() || ClassifyOnlineError(error->second) != OnlineError::Other;
        fail(name() + (badLogin ? ": wrong user name or password" : ": " + error->second));
        return;
    }
    m_session = session->second;
    query();
}

void OnlineCallbookClient::queryAnswered()
{
    auto fields = answer();
    if (!fields)
        return;
    std::string error = fields->count("error") ? fields->at("error") : std::string();
    if (fields->count("found") && error.empty()) {
        OnlineAnswer found{OnlineOutcome::Found, OnlineResultLines(m_settings.service, *fields)};
        m_cache.Store(m_call, found, OnlineCache::Clock::now());
        finish(std::move(found));
        return;
    }
    switch (ClassifyOnlineError(error)) {
    case OnlineError::NotFound: {
        OnlineAnswer notFound{OnlineOutcome::NotFound, {m_call + " not found"}};
        m_cache.Store(m_call, notFound, OnlineCache::Clock::now());
        finish(std::move(notFound));
        return;
    }
    case OnlineError::SessionExpired:
        m_session.clear();
        if (!m_retried) {
            m_retried = true;
            login();
            return;
        }
        fail(name() + ": the session was refused: " + error);
        return;
    case OnlineError::BadLogin:
        m_session.clear();
        fail(name() + ": wrong user name or password");
        return;
    default:
        fail(name() + ": " + (error.empty() ? std::string("the answer holds no record") : error));
        return;
    }
}

void OnlineCallbookClient::finish(OnlineAnswer result)
{
    Done done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(result);
}

void OnlineCallbookClient::fail(const std::string &text) { finish({OnlineOutcome::Failed, {text}}); }

} // namespace vellum
