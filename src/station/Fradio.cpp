#include "Fradio.h"

#include "Fstation.h"

#include "app/windowhost.h"
#include "app/programcontext.h"
#include "config/configrecord.h"
#include "config/configsettings.h"
#include "logstore/qsotables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

namespace vellum {

double FrequencyStep(int mode, bool shift, bool control)
{
    if (control)
        return 0.01;
    double step = ModeGroupOf(mode) == 1 ? 0.5 : 0.1;
    return shift ? step * 10 : step;
}

TSetRadioFrequency::TSetRadioFrequency(TStation &station, QWidget *parent) : QDialog(parent), m_station(station)
{
    setObjectName(QStringLiteral("SetRadioFrequency"));
    setWindowTitle(QStringLiteral("Radio Frequency control"));
    auto *form = new QFormLayout(this);
    m_mode = new QComboBox(this);
    m_mode->setObjectName(QStringLiteral("RadioMode"));
    m_vfoA = new QLineEdit(this);
    m_vfoA->setObjectName(QStringLiteral("VfoA"));
    m_vfoB = new QLineEdit(this);
    m_vfoB->setObjectName(QStringLiteral("VfoB"));
    m_split = new QCheckBox(QStringLiteral("Split"), this);
    m_split->setObjectName(QStringLiteral("Split"));
    auto *read = new QPushButton(QStringLiteral("Read"), this);
    read->setObjectName(QStringLiteral("ReadRadio"));
    read->setAutoDefault(false);
    form->addRow(QStringLiteral("Mode"), m_mode);
    form->addRow(QStringLiteral("VFO A (kHz)"), m_vfoA);
    form->addRow(QStringLiteral("VFO B (kHz)"), m_vfoB);
    form->addRow(m_split, read);
    for (QLineEdit *field : {m_vfoA, m_vfoB}) {
        field->installEventFilter(this);
        connect(field, &QLineEdit::returnPressed, this, &TSetRadioFrequency::send);
    }
    connect(m_mode, &QComboBox::currentIndexChanged, this, &TSetRadioFrequency::send);
    connect(m_split, &QCheckBox::toggled, this, &TSetRadioFrequency::splitToggled);
    connect(read, &QPushButton::clicked, this, &TSetRadioFrequency::ReadRadio);
    fillModes();
    ReadRadio();
}

void TSetRadioFrequency::fillModes()
{
    m_updating = true;
    m_mode->clear();
    if (RadioLink *link = m_station.Radio().Link())
        for (int mode = 1; mode < ModeCount; ++mode)
            if (link->CanSetMode(mode))
                m_mode->addItem(QString::fromStdString(ModeName(mode)), mode);
    m_updating = false;
}

int TSetRadioFrequency::chosenMode() const { return m_mode->currentData().toInt(); }

double TSetRadioFrequency::value(const QLineEdit *field) { return field->text().trimmed().toDouble(); }

void TSetRadioFrequency::showFrequency(QLineEdit *field, double kHz) { field->setText(QString::number(kHz, 'f', 2)); }

void TSetRadioFrequency::ReadRadio()
{
    m_station.Radio().Guard([](RadioLink &link) { link.ReadStatus(); });
    ShowValues();
}

void TSetRadioFrequency::ShowValues()
{
    RadioLink *link = m_station.Radio().Link();
    if (!link)
        return;
    const RadioState &state = link->Last();
    m_updating = true;
    if (std::fabs(value(m_vfoA) - state.rxKHz) > 0.001)
        showFrequency(m_vfoA, state.rxKHz);
    if (state.secondKHz != 0 && std::fabs(value(m_vfoB) - state.secondKHz) > 0.001) {
        showFrequency(m_vfoB, state.secondKHz);
        m_lastVfoB = state.secondKHz;
    }
    m_split->setChecked(state.split);
    if (int at = m_mode->findData(state.mode); at >= 0)
        m_mode->setCurrentIndex(at);
    m_updating = false;
}

void TSetRadioFrequency::send()
{
    if (m_updating)
        return;
    int mode = chosenMode();
    bool split = m_split->isChecked();
    double tx = value(m_vfoB), rx = value(m_vfoA);
    if (value(m_vfoB) != 0)
        m_lastVfoB = value(m_vfoB);
    m_station.Radio().Guard([=](RadioLink &link) { link.SetRadio(mode, split, tx, rx); });
}

void TSetRadioFrequency::splitToggled(bool on)
{
    if (m_updating)
        return;
    if (on) {
        m_updating = true;
        showFrequency(m_vfoB, m_lastVfoB != 0 ? m_lastVfoB : value(m_vfoA));
        m_updating = false;
        m_vfoB->setFocus();
    } else {
        m_vfoA->setFocus();
    }
    send();
}

void TSetRadioFrequency::step(QLineEdit *field, int direction, Qt::KeyboardModifiers modifiers)
{
    bool shift = modifiers & Qt::ShiftModifier, control = modifiers & Qt::ControlModifier;
    double kHz = value(field);
    if (shift && control) {
        int band = BandOfFreq(std::llround(kHz));
        const TConfigRecord &config = m_station.Host().Context().Config();
        if (IsBand(band))
            kHz = CwCutoffKHz(config, band);
    } else {
        kHz += direction * FrequencyStep(chosenMode(), shift, control);
    }
    showFrequency(field, kHz);
    send();
}

bool TSetRadioFrequency::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == m_vfoA || watched == m_vfoB)) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            step(static_cast<QLineEdit *>(watched), key->key() == Qt::Key_Up ? 1 : -1, key->modifiers());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vellum
