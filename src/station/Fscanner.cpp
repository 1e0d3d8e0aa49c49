#include "Fscanner.h"

#include "Fstation.h"
#include "radioscan.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "logstore/qsotables.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vellum {

namespace {

constexpr int BusyDeferMs = 1000;

QPushButton *button(QWidget *parent, QLayout *layout, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    layout->addWidget(b);
    return b;
}

TConfigRecord &configOf(TStation &station) { return station.Host().Context().Config(); }

} // namespace

// --- the scanner ------------------------------------------------------------------------------

TScanner::TScanner(TStation &station, QWidget *parent) : QDialog(parent), m_station(station)
{
    setObjectName(QStringLiteral("Scanner"));
    setWindowTitle(QStringLiteral("Scanner"));
    auto *layout = new QVBoxLayout(this);
    m_table = new QTableWidget(ScanChannelCount, 5, this);
    m_table->setObjectName(QStringLiteral("Channels"));
    m_table->setHorizontalHeaderLabels({"Use", "Mode", "Label", "Freq", "Freq 2"});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_table);
    auto *row = new QHBoxLayout;
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("ScanStatus"));
    m_delay = new QSpinBox(this);
    m_delay->setObjectName(QStringLiteral("ScanDelay"));
    m_delay->setRange(1, 3600);
    m_delay->setValue(std::max<int>(configOf(station).ScanDelay, 1));
    row->addWidget(m_status);
    row->addWidget(new QLabel(QStringLiteral("Delay (s)"), this));
    row->addWidget(m_delay);
    layout->addLayout(row);
    auto *buttons = new QHBoxLayout;
    connect(button(this, buttons, "ScanButton", "&Scan"), &QPushButton::clicked, this, &TScanner::Scan);
    connect(button(this, buttons, "NewFreq", "New &Freq"), &QPushButton::clicked, this, [this] {
        Stop();
        setState(State::ReadFreq);
        m_reader->start();
    });
    connect(button(this, buttons, "ClearChannel", "&Clear"), &QPushButton::clicked, this, &TScanner::ClearSelected);
    connect(button(this, buttons, "StopScan", "Sto&p"), &QPushButton::clicked, this, &TScanner::Stop);
    connect(button(this, buttons, "ExitScanner", "E&xit"), &QPushButton::clicked, this, &QDialog::accept);
    layout->addLayout(buttons);
    m_trigger = new QTimer(this);
    m_trigger->setSingleShot(true);
    connect(m_trigger, &QTimer::timeout, this, &TScanner::TriggerFired);
    m_reader = new QTimer(this);
    m_reader->setInterval(300);
    connect(m_reader, &QTimer::timeout, this, &TScanner::ReadIntoSelected);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int channel, int) {
        Stop();
        Tune(channel);
    });
    m_table->selectRow(0);
    showChannels();
    setState(State::Idle);
}

TScanner::~TScanner() { configOf(m_station).ScanDelay = m_delay->value(); }

void TScanner::setState(State state)
{
    m_state = state;
    m_status->setText(state == State::Idle ? "Idle" : state == State::Scanning ? "Scanning" : "Read Freq");
}

void TScanner::showChannels()
{
    const auto &channels = configOf(m_station).ScanChannel;
    for (int i = 0; i < ScanChannelCount; ++i) {
        const TScanChannel &c = channels[static_cast<std::size_t>(i)];
        QStringList cells = {c.InUse ? "Y" : "", QString::fromStdString(ModeName(c.Mode)),
                             QString::fromLatin1(c.Label.view().data(), static_cast<int>(c.Label.view().size())),
                             c.InUse ? QString::number(static_cast<double>(c.Freq), 'f', 2) : QString(),
                             c.Freq2 != 0 ? QString::number(static_cast<double>(c.Freq2), 'f', 2) : QString()};
        for (int column = 0; column < cells.size(); ++column)
            m_table->setItem(i, column, new QTableWidgetItem(cells[column]));
    }
}

void TScanner::Tune(int channel)
{
    ScanTuning tuning = TuningOf(configOf(m_station).ScanChannel[static_cast<std::size_t>(channel)]);
    m_station.Radio().Guard([&](RadioLink &link) { link.SetRadio(tuning.mode, tuning.split, tuning.txKHz, tuning.rxKHz); });
    m_current = channel;
    m_table->selectRow(channel);
}

void TScanner::Scan()
{
    m_reader->stop();
    std::optional<int> next = NextScanChannel(configOf(m_station).ScanChannel, m_current);
    if (!next || !m_station.Radio().Running()) {
        setState(State::Idle);
        return;
    }
    setState(State::Scanning);
    Tune(*next);
    m_trigger->start(m_delay->value() * 1000);
}

void TScanner::TriggerFired()
{
    if (m_state != State::Scanning)
        return;
    RadioLink *link = m_station.Radio().Link();
    if (link && link->Busy())
        m_trigger->start(BusyDeferMs);
    else
        Scan();
}

void TScanner::ReadIntoSelected()
{
    int row = m_table->currentRow();
    if (row < 0)
        return;
    bool read = false;
    m_station.Radio().Guard([&read](RadioLink &link) { read = link.ReadStatus(); });
    RadioLink *link = m_station.Radio().Link();
    if (!read || !link)
        return;
    const RadioState &state = link->Last();
    TScanChannel &channel = configOf(m_station).ScanChannel[static_cast<std::size_t>(row)];
    channel.InUse = true;
    channel.Freq = state.rxKHz;
    channel.Freq2 = state.split ? state.secondKHz : 0;
    channel.Mode = static_cast<std::uint8_t>(state.mode);
    showChannels();
}

void TScanner::ClearSelected()
{
    int row = m_table->currentRow();
    if (row < 0)
        return;
    configOf(m_station).ScanChannel[static_cast<std::size_t>(row)] = TScanChannel{};
    showChannels();
}

void TScanner::Stop()
{
    m_trigger->stop();
    m_reader->stop();
    setState(State::Idle);
}

// --- the panorama ---------------------------------------------------------------------------

TPanorama::TPanorama(TStation &station, QWidget *parent) : QDialog(parent), m_station(station), m_image(600, 240, QImage::Format_RGB32)
{
    setObjectName(QStringLiteral("Panorama"));
    setWindowTitle(QStringLiteral("Panorama"));
    auto *layout = new QVBoxLayout(this);
    m_graph = new QLabel(this);
    m_graph->setObjectName(QStringLiteral("PanoramaGraph"));
    m_graph->installEventFilter(this);
    layout->addWidget(m_graph);
    auto *row = new QHBoxLayout;
    m_centre = new QLineEdit(this);
    m_centre->setObjectName(QStringLiteral("CentreFreq"));
    m_pointer = new QLabel(this);
    m_pointer->setObjectName(QStringLiteral("PointerFreq"));
    row->addWidget(new QLabel(QStringLiteral("Centre (kHz)"), this));
    row->addWidget(m_centre);
    row->addWidget(m_pointer);
    layout->addLayout(row);
    auto *buttons = new QHBoxLayout;
    connect(button(this, buttons, "PanScan", "&Scan"), &QPushButton::clicked, this, &TPanorama::StartScan);
    connect(button(this, buttons, "PanCentre", "&Center Freq"), &QPushButton::clicked, this, [this] {
        StopScan();
        m_station.Radio().Guard([this](RadioLink &link) { link.SetVfoA(CentreKHz()); });
        m_centreTimer->start();
    });
    connect(button(this, buttons, "PanCancel", "Cancel"), &QPushButton::clicked, this, [this] {
        StopScan();
        m_station.Radio().Guard([this](RadioLink &link) { link.SetVfoA(CentreKHz()); });
        reject();
    });
    layout->addLayout(buttons);
    m_scanTimer = new QTimer(this);
    connect(m_scanTimer, &QTimer::timeout, this, [this] {
        ScanColumn(m_next);
        m_next = (m_next + 1) % Columns();
    });
    m_centreTimer = new QTimer(this);
    m_centreTimer->setInterval(500);
    connect(m_centreTimer, &QTimer::timeout, this, [this] {
        bool read = false;
        m_station.Radio().Guard([&read](RadioLink &link) { read = link.ReadStatus(); });
        if (RadioLink *link = m_station.Radio().Link(); read && link)
            m_centre->setText(QString::number(link->Last().rxKHz, 'f', 1));
    });
    if (RadioLink *link = m_station.Radio().Link())
        m_centre->setText(QString::number(link->Last().rxKHz, 'f', 1));
    m_pointer->setText(m_centre->text());
    drawScale();
}

double TPanorama::CentreKHz() const { return m_centre->text().trimmed().toDouble(); }

double TPanorama::FrequencyAt(int x) const
{
    return std::round(CentreKHz()) - Columns() / 2 + std::clamp(x / ColumnWidth, 0, Columns() - 1);
}

void TPanorama::drawScale()
{
    m_image.fill(palette().color(QPalette::Window));
    QPainter painter(&m_image);
    painter.setPen(palette().color(QPalette::WindowText));
    int rowHeight = m_image.height() / 12;
    static const char *labels[] = {"9*", "9+", "9", "8", "7", "6", "5", "4", "3", "2", "1"};
    for (int i = 0; i < 11; ++i)
        painter.drawText(2, (i + 1) * rowHeight, QString::fromLatin1(labels[i]));
    for (int column = 0; column < Columns(); ++column) {
        int tick = column % 10 == 0 ? 16 : column % 5 == 0 ? 8 : 4;
        painter.drawLine(column * ColumnWidth, m_image.height() - tick, column * ColumnWidth, m_image.height() - 1);
    }
    painter.end();
    m_graph->setPixmap(QPixmap::fromImage(m_image));
}

void TPanorama::drawColumn(int column, int level)
{
    QPainter painter(&m_image);
    int rowHeight = m_image.height() / 12;
    int bottom = m_image.height() - 17, x = column * ColumnWidth + 1;
    painter.fillRect(x, 0, ColumnWidth - 2, bottom, palette().color(QPalette::Window));
    for (int s = 1; s <= level; ++s) {
        QColor colour = s <= 9 ? palette().color(QPalette::WindowText) : QColor(Qt::red);
        painter.fillRect(x, bottom - s * rowHeight, ColumnWidth - 2, rowHeight - 1, colour);
    }
    painter.end();
    m_graph->setPixmap(QPixmap::fromImage(m_image));
}

void TPanorama::ScanColumn(int column)
{
    int level = 0;
    double kHz = FrequencyAt(column * ColumnWidth);
    bool ok = m_station.Radio().Guard([&](RadioLink &link) {
        link.SetVfoA(kHz);
        level = link.ReadSMeter();
    });
    if (!ok) {
        StopScan();
        return;
    }
    drawColumn(column, level);
}

void TPanorama::StartScan()
{
    m_centreTimer->stop();
    m_next = 0;
    m_scanTimer->start(0);
}

void TPanorama::StopScan() { m_scanTimer->stop(); }

bool TPanorama::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_graph && event->type() == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        double kHz = FrequencyAt(static_cast<int>(mouse->position().x()));
        m_pointer->setText(QString::number(kHz, 'f', 1));
        if (mouse->button() == Qt::RightButton) {
            StopScan();
            int mode = m_station.Radio().Link() ? m_station.Radio().Link()->Last().mode : 0;
            m_station.Radio().Guard([=](RadioLink &link) { link.SetRadio(mode, false, 0, kHz); });
        }
        return true;
    }
    if (watched == m_graph && event->type() == QEvent::MouseButtonRelease) {
        m_pointer->setText(m_centre->text());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vellum
