#include "vellumapp.h"

#include "Fmain.h"
#include "logstore/Ftext.h"

#include <QKeyEvent>
#include <QMessageBox>

namespace vellum {

VellumApplication::VellumApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("VELLUM"));
}

QString VellumApplication::ExceptionText(const QString &message)
{
    return QStringLiteral("An exception occured!\n") + message + QStringLiteral("\n");
}

bool VellumApplication::notify(QObject *receiver, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease && m_main) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F9 && !key->isAutoRepeat() && receiver->isWidgetType()) {
            m_main->Host().FocusQsoWindow();
            return true;
        }
    }
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        showException(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        showException(QStringLiteral("unknown error"));
    }
    return false; // the program goes on
}

void VellumApplication::showException(const QString &message)
{
    if (m_notifier)
        m_notifier->error(CoreText(ExceptionText(message)));
    else
        QMessageBox::critical(m_main, QStringLiteral("VELLUM"), ExceptionText(message));
}

} // namespace vellum
