#include "Fmorsedialog.h"

#include "Fcwkeyer.h"
#include "Fmorsekb.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "config/configrecord.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace vellum {

namespace {
TConfigRecord &configOf(TCwKeyer &keyer) { return keyer.Host().Context().Config(); }
} // namespace

TMorseDialog::TMorseDialog(TCwKeyer &keyer, QWidget *parent) : QDialog(parent), m_keyer(keyer)
{
    setObjectName(QStringLiteral("MorseDialog"));
    setWindowTitle(QStringLiteral("CW Parameters"));
    const TConfigRecord &c = configOf(keyer);
    m_charWpm = spin("MorseCharWpm", 1, 60, c.Speed);
    m_spacingWpm = spin("MorseSpacingWpm", 1, c.Speed, c.wpm);
    m_weight = spin("MorseWeight", 1, 1000, c.weight);
    m_tone = spin("MorseTone", 1, 20000, c.tone);
    m_wpm = new QLabel(this);
    m_wpm->setObjectName(QStringLiteral("MorseWpm"));
    m_measured = new QLabel(this);
    m_measured->setObjectName(QStringLiteral("MorseMeasured"));
    m_measure = new QPushButton(QStringLiteral("&Measure"), this);
    m_measure->setObjectName(QStringLiteral("MorseMeasure"));
    m_tune = new QPushButton(QStringLiteral("&Tune"), this);
    m_tune->setObjectName(QStringLiteral("MorseTune"));
    m_tune->setEnabled(KeyerSettings::From(c).keyInterface != KeyerSettings::Interface::None);
    m_sidetone = check("MorseSideTone", QStringLiteral("SideTone"), c.sidetone);
    m_marquee = check("MorseMarquee", QStringLiteral("Marquee"), c.marquee);
    m_immediate = check("MorseImmediate", QStringLiteral("Immediate"), c.immediate);
    m_showKeys = check("MorseShowKeys", QStringLiteral("Show function keys"), c.showfunc);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Char WPM"), m_charWpm);
    form->addRow(QStringLiteral("Spacing WPM"), m_spacingWpm);
    form->addRow(QStringLiteral("Weight"), m_weight);
    form->addRow(QStringLiteral("Tone Hz"), m_tone);
    form->addRow(QStringLiteral("WPM"), m_wpm);
    auto *measuredRow = new QHBoxLayout;
    measuredRow->addWidget(m_measured, 1);
    measuredRow->addWidget(m_measure);
    form->addRow(QStringLiteral("Measured"), measuredRow);
    auto *column = new QVBoxLayout(this);
    column->addLayout(form);
    for (QCheckBox *box : {m_sidetone, m_marquee, m_immediate, m_showKeys})
        column->addWidget(box);
    column->addWidget(m_tune);

    m_poll = new QTimer(this);
    connect(m_poll, &QTimer::timeout, this, &TMorseDialog::pollMeasurement);
    connect(m_measure, &QPushButton::clicked, this, &TMorseDialog::measure);
    connect(m_tune, &QPushButton::clicked, this, &TMorseDialog::tune);
    connect(m_charWpm, &QSpinBox::valueChanged, this, [this](int speed) {
        m_spacingWpm->setMaximum(speed); // lowers the spacing speed with it
        apply();
    });
    m_loading = false;
    showComputed();
}

TMorseDialog::~TMorseDialog() { m_keyer.Sender().ManualKey(false); }

QSpinBox *TMorseDialog::spin(const char *name, int low, int high, int value)
{
    auto *box = new QSpinBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    box->setValue(value);
    connect(box, &QSpinBox::valueChanged, this, [this] { apply(); });
    return box;
}

QCheckBox *TMorseDialog::check(const char *name, const QString &caption, bool value)
{
    auto *box = new QCheckBox(caption, this);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(value);
    connect(box, &QCheckBox::toggled, this, [this, box] { flagToggled(box); });
    return box;
}

void TMorseDialog::flagToggled(QCheckBox *box)
{
    // At least one of Marquee and Immediate is always on.
    if (box == m_marquee && !m_marquee->isChecked())
        m_immediate->setChecked(true);
    if (box == m_immediate && !m_immediate->isChecked())
        m_marquee->setChecked(true);
    apply();
}

void TMorseDialog::apply()
{
    if (m_loading)
        return;
    TConfigRecord &c = configOf(m_keyer);
    c.Speed = m_charWpm->value();
    c.wpm = m_spacingWpm->value();
    c.weight = m_weight->value();
    c.tone = m_tone->value();
    c.sidetone = m_sidetone->isChecked();
    c.marquee = m_marquee->isChecked();
    c.immediate = m_immediate->isChecked();
    c.showfunc = m_showKeys->isChecked();
    m_keyer.PublishSettings();
    showComputed();
    if (TMorseKb *keyboard = m_keyer.Keyboard())
        keyboard->SettingsChanged();
}

void TMorseDialog::showComputed() { m_wpm->setText(QString::number(m_keyer.DisplayedWpm())); }

bool TMorseDialog::Measuring() const { return !m_measure->isEnabled(); }

void TMorseDialog::measure()
{
    m_measure->setEnabled(false);
    m_measured->clear();
    m_keyer.Sender().StartCalibration();
    m_poll->start(100);
}

void TMorseDialog::pollMeasurement()
{
    if (m_keyer.Sender().Calibration() != CalibrationState::Idle)
        return;
    m_poll->stop();
    long long ms = m_keyer.Sender().MeasuredMs();
    // "PARIS PARIS ": two words.
    m_measured->setText(ms > 0 ? QString::number(120000.0 / static_cast<double>(ms), 'f', 1) : QString());
    m_measure->setEnabled(true);
}

void TMorseDialog::tune()
{
    bool down = !m_keyer.Sender().ManualKeyDown();
    m_keyer.Sender().ManualKey(down);
    m_tune->setText(down ? QStringLiteral("&Stop") : QStringLiteral("&Tune"));
}

void TMorseDialog::done(int result)
{
    if (Measuring())
        return; // the measurement must end first
    m_keyer.Sender().ManualKey(false);
    QDialog::done(result);
}

void TMorseDialog::closeEvent(QCloseEvent *event)
{
    if (Measuring())
        event->ignore();
    else
        QDialog::closeEvent(event);
}

} // namespace vellum
