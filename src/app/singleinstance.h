#pragma once
// One running instance per program directory: a lock file decides, and a local
// socket named "Prev Inst VELLUM32" (plus the directory) lets a second start ask
// the first to come to the front.

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

namespace vellum {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &programDir, QObject *parent = nullptr);
    ~SingleInstance() override;

    /// True when this is the first instance; false after asking the running one to show itself.
    bool acquire();
    QString serverName() const { return m_serverName; }

signals:
    /// Another start asked this instance to come to the front.
    void raiseRequested();

private:
    QString m_serverName;
    QString m_lockPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};

} // namespace vellum
