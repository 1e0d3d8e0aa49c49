#include "Fpskdialog.h"

#include "Fpsk31.h"
#include "Fpskmixer.h"

#include "app/windowhost.h"
#include "config/configrecord.h"
#include "logstore/services.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vellum {

TPskDialog::TPskDialog(TPSK31Window &window) : QDialog(&window), m_window(window)
{
    setObjectName(QStringLiteral("PskDialog"));
    setWindowTitle(QStringLiteral("PSK31 Settings"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *pages = new QTabWidget(this);
    pages->addTab(receivePage(), QStringLiteral("Rx"));
    pages->addTab(transmitPage(), QStringLiteral("Tx"));
    pages->addTab(displayPage(), QStringLiteral("Display"));
    pages->addTab(otherPage(), QStringLiteral("Other"));
    auto *column = new QVBoxLayout(this);
    column->addWidget(pages);
    auto *toWindow = new QAction(QStringLiteral("Switch to PSK31 Windows"), this);
    toWindow->setObjectName(QStringLiteral("SwitchToPSK31Windows1"));
    connect(toWindow, &QAction::triggered, this, [this] {
        m_window.activateWindow();
        m_window.TransmitPane()->setFocus();
    });
    addAction(toWindow);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    FrequenciesChanged();
    lockSpinners();
}

TPsk31Settings &TPskDialog::settings() const { return m_window.Settings(); }

QSpinBox *TPskDialog::spinBox(const char *name, int low, int high, int step, int value)
{
    auto *box = new QSpinBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    box->setSingleStep(step);
    box->setValue(value);
    return box;
}

QCheckBox *TPskDialog::checkBox(const char *name, const QString &caption, bool checked)
{
    auto *box = new QCheckBox(caption, this);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    return box;
}

QWidget *TPskDialog::receivePage()
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    TPsk31Settings &s = settings();
    m_rxFrequency = spinBox("RxFrequency", 200, 3200, 1, m_window.ReceiveFrequency());
    connect(m_rxFrequency, &QSpinBox::valueChanged, this, [this](int hz) { m_window.TuneMain(hz, 0); });
    form->addRow(QStringLiteral("RX Frequency"), m_rxFrequency);
    m_afc = checkBox("Afc", QStringLiteral("AFC"), s.AFC);
    connect(m_afc, &QCheckBox::toggled, this, [this](bool on) {
        settings().AFC = on;
        m_window.ApplyAfc();
        lockSpinners();
    });
    form->addRow(m_afc);
    QSpinBox *range = spinBox("AfcRange", 0, 255, 10, s.AFCRange);
    connect(range, &QSpinBox::valueChanged, this, [this](int value) {
        settings().AFCRange = static_cast<std::uint8_t>(value);
        m_window.ApplyAfc();
    });
    form->addRow(QStringLiteral("AFC  Range"), range);
    auto *mode = new QComboBox(this);
    mode->setObjectName(QStringLiteral("Mode"));
    mode->addItems({QStringLiteral("BPSK"), QStringLiteral("QPSK (usb)"), QStringLiteral("QPSK (lsb)")});
    mode->setCurrentIndex(s.Mode);
    connect(mode, &QComboBox::currentIndexChanged, this, [this](int index) {
        settings().Mode = static_cast<std::uint8_t>(index);
        m_window.ApplyReceiveMode();
    });
    form->addRow(QStringLiteral("Mode"), mode);
    QCheckBox *slow = checkBox("SlowMeter", QStringLiteral("Slow IMD Meter"), s.SlowMeter);
    connect(slow, &QCheckBox::toggled, this, [this](bool on) {
        settings().SlowMeter = on;
        m_window.ApplySquelch();
    });
    form->addRow(slow);
    return page;
}

QWidget *TPskDialog::transmitPage()
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    TPsk31Settings &s = settings();
    m_txFrequency = spinBox("TxFrequency", 200, 3200, 1, m_window.TransmitFrequency());
    connect(m_txFrequency, &QSpinBox::valueChanged, this, [this](int hz) { m_window.SetTransmitFrequency(hz); });
    form->addRow(QStringLiteral("Tx Frequency"), m_txFrequency);
    m_net = checkBox("Net", QStringLiteral("Net"), s.Net);
    connect(m_net, &QCheckBox::toggled, this, [this](bool on) {
        settings().Net = on;
        lockSpinners();
    });
    form->addRow(m_net);
    m_keying = new QComboBox(this);
    m_keying->setObjectName(QStringLiteral("TxKeying"));
    m_keying->addItems({QStringLiteral("VOX"), QStringLiteral("CW Intf")});
    for (int com = 1; com <= 8; ++com)
        m_keying->addItem(QStringLiteral("COM%1").arg(com));
    m_keying->setCurrentIndex(std::clamp<int>(s.KEYING, 1, 10) - 1);
    connect(m_keying, &QComboBox::currentIndexChanged, this, [this](int index) {
        settings().KEYING = static_cast<std::uint8_t>(index + 1);
        m_window.KeyingChanged(true);
    });
    form->addRow(QStringLiteral("Tx Keying"), m_keying);
    auto *dtr = new QRadioButton(QStringLiteral("DTR"), this);
    dtr->setObjectName(QStringLiteral("KeyDtr"));
    auto *rts = new QRadioButton(QStringLiteral("RTS"), this);
    rts->setObjectName(QStringLiteral("KeyRts"));
    (s.KEYDTR ? dtr : rts)->setChecked(true);
    connect(dtr, &QRadioButton::toggled, this, [this](bool on) {
        settings().KEYDTR = on;
        m_window.KeyingChanged(false);
    });
    auto *lines = new QHBoxLayout;
    lines->addWidget(dtr);
    lines->addWidget(rts);
    form->addRow(QStringLiteral("Key line"), lines);
    QCheckBox *other = checkBox("OtherHigh", QStringLiteral("Other RS232 line high"), s.OTHERH);
    connect(other, &QCheckBox::toggled, this, [this](bool on) {
        settings().OTHERH = on;
        m_window.KeyingChanged(false);
    });
    form->addRow(other);
    return page;
}

QWidget *TPskDialog::displayPage()
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    TPsk31Settings &s = settings();
    QSpinBox *smooth = spinBox("Smoothing", 1, 9, 1, std::clamp<int>(s.Smooth, 1, 9));
    connect(smooth, &QSpinBox::valueChanged, this, [this](int value) {
        settings().Smooth = static_cast<std::uint8_t>(value);
        m_window.ApplyFftMode();
    });
    form->addRow(QStringLiteral("Smoothing"), smooth);
    QSpinBox *baseline = spinBox("Baseline", 0, 90, 10, std::clamp<int>(s.BaseLine, 0, 90));
    connect(baseline, &QSpinBox::valueChanged, this, [this](int value) {
        settings().BaseLine = static_cast<std::uint8_t>(value);
        m_window.ApplyFftMode();
    });
    form->addRow(QStringLiteral("Baseline "), baseline);
    QCheckBox *colours = checkBox("AlternateColors", QStringLiteral("Alternate colors"), s.AltColors);
    connect(colours, &QCheckBox::toggled, this, [this](bool on) {
        settings().AltColors = on;
        m_window.RebuildPalette();
    });
    form->addRow(colours);
    return page;
}

QWidget *TPskDialog::otherPage()
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    QSpinBox *centre = spinBox("CentralFrequency", 200, 3200, 1, std::clamp<int>(settings().CenterFreq, 200, 3200));
    connect(centre, &QSpinBox::valueChanged, this,
            [this](int hz) { settings().CenterFreq = static_cast<std::uint16_t>(hz); });
    form->addRow(QStringLiteral("Central Frequency"), centre);
    m_mixer = new QLineEdit(QString::fromStdString(LoadMixerCommand()), this);
    m_mixer->setObjectName(QStringLiteral("MixerCommand"));
    connect(m_mixer, &QLineEdit::editingFinished, this, [this] {
        std::string error;
        if (!SaveMixerCommand(m_mixer->text().toStdString(), error))
            m_window.Host().Notifier().error("The mixer command could not be stored: " + error);
    });
    form->addRow(QStringLiteral("Mixer command"), m_mixer);
    return page;
}

void TPskDialog::FrequenciesChanged()
{
    QSignalBlocker rx(m_rxFrequency), tx(m_txFrequency);
    m_rxFrequency->setValue(m_window.ReceiveFrequency());
    m_txFrequency->setValue(m_window.TransmitFrequency());
}

void TPskDialog::KeyingFellBack()
{
    QSignalBlocker blocker(m_keying);
    m_keying->setCurrentIndex(0);
}

void TPskDialog::lockSpinners()
{
    m_rxFrequency->setEnabled(!settings().AFC);
    m_txFrequency->setEnabled(!settings().Net);
}

} // namespace vellum
