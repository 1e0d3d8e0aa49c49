#include "Frotator.h"

#include "Fstation.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "app/windowservices.h"
#include "config/configrecord.h"
#include "logstore/qsotables.h"
#include "logstore/services.h"
#include "qso/qsoentry.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

namespace vellum {

// --- Rotator Control ------------------------------------------------------------------

namespace {

QSpinBox *spin(QWidget *parent, const char *name, int low, int high, int value)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

QPushButton *button(QDialogButtonBox *buttons, const char *name, const QString &caption)
{
    QPushButton *b = buttons->addButton(caption, QDialogButtonBox::ActionRole);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TRotateForm::TRotateForm(TStation &station, QWidget *parent) : QDialog(parent), m_station(station)
{
    TConfigRecord &config = station.Host().Context().Config();
    m_kept = CopyRotatorBlock(config);
    setObjectName(QStringLiteral("RotateForm"));
    setWindowTitle(QStringLiteral("Rotator Control"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *form = new QFormLayout(this);
    m_heading = spin(this, "RotHeading", 0, 360, 0);
    m_correction = spin(this, "RotCorrection", -30, 30, std::clamp<int>(config.CORRECTION, -30, 30));
    m_offset = spin(this, "RotOffset", -360, 360, std::clamp<int>(config.OFFSET, -360, 360));
    m_band = new QComboBox(this);
    m_band->setObjectName(QStringLiteral("RotBand"));
    for (int band = 1; band < BandCount; ++band)
        m_band->addItem(QString::fromStdString(BandLabel(band, config.DefQSO_ShowBandMHz)));
    m_status = new QComboBox(this);
    m_status->setObjectName(QStringLiteral("RotStatus"));
    for (const char *name : BandTurnNames)
        m_status->addItem(QString::fromLatin1(name));
    form->addRow(QStringLiteral("Heading"), m_heading);
    form->addRow(QStringLiteral("Correc."), m_correction);
    form->addRow(QStringLiteral("Offset"), m_offset);
    form->addRow(QStringLiteral("Band"), m_band);
    form->addRow(QStringLiteral("Status"), m_status);
    auto *buttons = new QDialogButtonBox(this);
    connect(button(buttons, "RotRotate", QStringLiteral("Rotate")), &QPushButton::clicked, this, &TRotateForm::rotate);
    connect(button(buttons, "RotStop", QStringLiteral("Stop")), &QPushButton::clicked, this, &TRotateForm::halt);
    QPushButton *ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("RotOK"));
    QPushButton *cancelButton = buttons->addButton(QDialogButtonBox::Cancel);
    cancelButton->setObjectName(QStringLiteral("RotCancel"));
    form->addRow(buttons);
    connect(ok, &QPushButton::clicked, this, [this] {
        storeShown();
        accept();
    });
    connect(cancelButton, &QPushButton::clicked, this, &TRotateForm::cancel);
    showBand(1);
    connect(m_band, &QComboBox::currentIndexChanged, this, [this](int index) {
        storeShown(); // the status shown belongs to the band shown before
        showBand(index + 1);
    });
    connect(m_status, &QComboBox::currentIndexChanged, this, [this] { storeShown(); });
}

void TRotateForm::showBand(int band)
{
    TConfigRecord &config = m_station.Host().Context().Config();
    m_shownBand = band;
    QSignalBlocker block(m_status);
    m_status->setCurrentIndex(std::min<int>(config.RotatorBands[static_cast<std::size_t>(band)], 3));
}

void TRotateForm::storeShown()
{
    TConfigRecord &config = m_station.Host().Context().Config();
    config.OFFSET = m_offset->value();
    config.CORRECTION = m_correction->value();
    config.RotatorBands[static_cast<std::size_t>(m_shownBand)] = static_cast<std::uint8_t>(m_status->currentIndex());
}

void TRotateForm::rotate()
{
    storeShown();
    m_station.Turn(m_heading->value());
}

void TRotateForm::halt()
{
    storeShown();
    m_station.Halt();
}

void TRotateForm::cancel()
{
    RestoreRotatorBlock(m_station.Host().Context().Config(), m_kept);
    reject();
}

void TRotateForm::SetHeading(int heading) { m_heading->setValue(NormalizeHeading(heading)); }

void TRotateForm::ShowStatus(const std::string &text) { setWindowTitle(QString::fromStdString(text)); }

} // namespace vellum
