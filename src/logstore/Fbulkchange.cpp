#include "Fbulkchange.h"

#include "Fdialogs.h"
#include "qsodata.h"
#include "qsotables.h"
#include "services.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vellum {

TBulkChangeForm::TBulkChangeForm(TQsoData &log, QsoScope scope, UserNotifier &notifier, const char *caption,
                                 QWidget *parent)
    : QDialog(parent), m_log(log), m_scope(std::move(scope)), m_notifier(notifier)
{
    setWindowTitle(QString::fromLatin1(caption));
    auto *layout = new QVBoxLayout(this);
    m_changing = NamedWidget<QLabel>("F_Changing", ScreenText(ChangingUpToText(CountInScope(log, m_scope))), this);
    layout->addWidget(m_changing);
    m_values = new QFormLayout;
    layout->addLayout(m_values);
    layout->addLayout(ButtonRow(this, {{"OKBtn", "OK"}, {"CancelBtn", "Cancel"}}));
    NamedButton(this, "OKBtn")->setDefault(true);
    connect(NamedButton(this, "OKBtn"), &QPushButton::clicked, this, &TBulkChangeForm::OKClick);
    connect(NamedButton(this, "CancelBtn"), &QPushButton::clicked, this, &QDialog::reject);
}

void TBulkChangeForm::addValueRow(const char *caption, QWidget *control)
{
    m_values->addRow(QString::fromLatin1(caption), control);
}

void TBulkChangeForm::OKClick()
{
    m_changed = apply(m_log, m_scope);
    m_notifier.information(ChangedText(m_changed));
    accept();
}

TSetGroupForm::TSetGroupForm(TQsoData &log, UserNotifier &notifier, QsoScope scope, QWidget *parent)
    : TBulkChangeForm(log, std::move(scope), notifier, "Set Group Number", parent)
{
    setObjectName(QStringLiteral("SetGroupForm"));
    m_group = NamedWidget<QSpinBox>("F_NewGroup", this);
    m_group->setRange(0, 255);
    addValueRow("New Group number", m_group);
}

std::int64_t TSetGroupForm::apply(TQsoData &log, const QsoScope &scope)
{
    return SetGroupOfQsos(log, static_cast<std::uint8_t>(m_group->value()), scope);
}

TSetModeForm::TSetModeForm(TQsoData &log, UserNotifier &notifier, QsoScope scope, QWidget *parent)
    : TBulkChangeForm(log, std::move(scope), notifier, "Set New Mode", parent)
{
    setObjectName(QStringLiteral("SetModeForm"));
    m_mode = NamedWidget<QComboBox>("F_NewMode", this);
    for (int mode = 1; mode < AllModeCount; ++mode)
        m_mode->addItem(QString::fromStdString(ModeName(mode)));
    m_mode->setCurrentIndex(ModeOfName("SSB") - 1);
    addValueRow("New Mode", m_mode);
}

std::int64_t TSetModeForm::apply(TQsoData &log, const QsoScope &scope)
{
    return SetModeOfQsos(log, static_cast<std::uint8_t>(m_mode->currentIndex() + 1), scope);
}

} // namespace vellum
