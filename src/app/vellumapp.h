#pragma once
// The application object: the box for exceptions that reach the event loop and
// the F9 key that moves the focus to the QSO window from anywhere.

#include <QApplication>
#include <QPointer>

namespace vellum {

class TMainForm;

class VellumApplication : public QApplication {
    Q_OBJECT
public:
    VellumApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
    void setMainForm(TMainForm *main) { m_main = main; }

    /// The text of the box for an exception that reached the event loop.
    static QString ExceptionText(const QString &message);

private:
    QPointer<TMainForm> m_main;
};

} // namespace vellum
