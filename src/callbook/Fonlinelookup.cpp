#include "onlinelookup.h"

#include "Fonlinecallbook.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <optional>

namespace vellum {

namespace {

/// The application object of a program that has none (its name stands for argv).
struct Application {
    int argc = 1;
    char name[12] = "vellum-cli";
    char *argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
};

} // namespace

struct WaitingOnlineCallbook::Parts {
    std::unique_ptr<Application> application; // made first, gone last
    std::unique_ptr<OnlineCallbookClient> client;
};

WaitingOnlineCallbook::WaitingOnlineCallbook(OnlineCallbookSettings settings) : m_parts(std::make_unique<Parts>())
{
    if (!QCoreApplication::instance())
        m_parts->application = std::make_unique<Application>();
    m_parts->client = std::make_unique<OnlineCallbookClient>(std::move(settings), nullptr);
}

WaitingOnlineCallbook::~WaitingOnlineCallbook() = default;

OnlineAnswer WaitingOnlineCallbook::Lookup(const std::string &call)
{
    OnlineCallbookClient &client = *m_parts->client;
    std::optional<OnlineAnswer> answer;
    QEventLoop loop;
    client.Lookup(call, [&answer, &loop](const OnlineAnswer &given) {
        answer = given;
        loop.quit();
    });
    if (answer) // from the cache, or refused before asking
        return *answer;
    int seconds = client.Settings().timeoutSeconds;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(4 * seconds * 1000 + 5000);
    loop.exec();
    if (answer)
        return *answer;
    client.Cancel();
    return {OnlineOutcome::Failed,
            {ServiceName(client.Settings().service) + ": no answer within " + std::to_string(4 * seconds) + " s"}};
}

} // namespace vellum
