#pragma once
// The application object: the box for exceptions that reach the event loop and
// the F9 key that moves the focus to the QSO window from anywhere.

#include <QApplication>
#include <QPointer>

#include "Fmain.h"

namespace vellum {

class UserNotifier;

class VellumApplication : public QApplication {
    Q_OBJECT
public:
    VellumApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
    void setMainForm(TMainForm *main) { m_main = main; }
    /// Where the exception box goes (null: a message box over the main window).
    void setExceptionNotifier(UserNotifier *notifier) { m_notifier = notifier; }

    /// The text of the box for an exception that reached the event loop.
    static QString ExceptionText(const QString &message);

private:
    void showException(const QString &message);
    QPointer<TMainForm> m_main;
    UserNotifier *m_notifier = nullptr;
};

} // namespace vellum
