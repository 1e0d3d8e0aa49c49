#include "qtservices.h"

#include "Fprogres.h"

#include "logstore/Ftext.h"
#include "logstore/lists.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

namespace vellum {

Answer QtNotifier::show(MessageKind kind, std::string_view text, Buttons buttons)
{
    return showTitled(kind, "VELLUM", text, buttons);
}

Answer QtNotifier::showTitled(MessageKind kind, std::string_view caption, std::string_view text, Buttons buttons)
{
    QString message = ScreenText(text);
    message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    message.replace(QChar('\r'), QChar('\n'));
    QMessageBox box(m_parent);
    box.setWindowTitle(ScreenText(caption));
    box.setText(message);
    switch (kind) {
    case MessageKind::Error: box.setIcon(QMessageBox::Critical); break;
    case MessageKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageKind::Information: box.setIcon(QMessageBox::Information); break;
    case MessageKind::Confirmation: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return Answer::Ok;
    }
}

void QtProgress::begin(std::string_view caption, std::int64_t total)
{
    if (m_bar)
        m_bar->SetUp(ScreenText(caption), total);
}

void QtProgress::advance(std::int64_t done)
{
    if (m_bar)
        m_bar->NewProgress(done);
}

void QtProgress::end()
{
    if (m_bar)
        m_bar->Finished();
}

void QtProgress::processPendingEvents()
{
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QtSortIndicator::QtSortIndicator(QLabel *panel) : m_panel(panel)
{
    SetSortIndicatorHook([this](bool begin) { begin ? Begin() : End(); });
}

QtSortIndicator::~QtSortIndicator()
{
    SetSortIndicatorHook(nullptr);
    while (m_depth > 0)
        End();
}

void QtSortIndicator::Begin()
{
    if (m_depth++ > 0)
        return;
    m_savedText = m_panel->text();
    m_panel->setText(QStringLiteral("Sorting"));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Painted at once; pending events are left for later, as the sort may run in
    // the middle of a change of the log.
    m_panel->repaint();
}

void QtSortIndicator::End()
{
    if (m_depth == 0 || --m_depth > 0)
        return;
    m_panel->setText(m_savedText);
    QApplication::restoreOverrideCursor();
}

} // namespace vellum
