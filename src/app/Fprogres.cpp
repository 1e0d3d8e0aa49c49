#include "Fprogres.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace vellum {

TProgressbar::TProgressbar(QWidget *parent) : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Progressbar"));
    auto *layout = new QVBoxLayout(this);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("Caption"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("Bar"));
    m_bar->setRange(0, 100);
    layout->addWidget(m_caption);
    layout->addWidget(m_bar);
    setMinimumWidth(320);
}

void TProgressbar::SetUp(const QString &caption, std::int64_t total)
{
    m_caption->setText(caption);
    setWindowTitle(caption);
    m_total = total < 1 ? 1 : total;
    m_count = 0;
    m_mask = m_total > 9999 ? 1023 : 127;
    m_percent = 0;
    m_bar->setValue(0);
    show();
    centreOnScreen();
}

void TProgressbar::centreOnScreen()
{
    QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->geometry().center());
    move(frame.topLeft());
}

void TProgressbar::setPercent(std::int64_t value)
{
    // 64-bit arithmetic: value * 100 overflows 32 bits for large files.
    int percent = static_cast<int>(std::clamp<std::int64_t>(value * 100 / m_total, 0, 100));
    if (percent != m_percent) {
        m_percent = percent;
        m_bar->setValue(percent);
    }
}

void TProgressbar::ShowProgress()
{
    ++m_count;
    if ((m_count & m_mask) == m_mask)
        setPercent(m_count);
}

void TProgressbar::NewProgress(std::int64_t value)
{
    ++m_count;
    if ((m_count & m_mask) == m_mask)
        setPercent(value);
}

void TProgressbar::Finished()
{
    m_percent = 100;
    m_bar->setValue(100);
    repaint();
    hide();
}

} // namespace vellum
