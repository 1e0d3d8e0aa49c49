#include "Fawdflag.h"

#include "submission.h"

#include "logstore/qsodata.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vellum {

TChangeAwardFlagsForm::TChangeAwardFlagsForm(TQsoData &log, QWidget *parent) : QDialog(parent), m_log(log)
{
    setObjectName(QStringLiteral("ChangeAwardFlagsForm"));
    setWindowTitle(QStringLiteral("Change award flags"));
    auto *layout = new QVBoxLayout(this);

    m_pair = new QComboBox(this);
    m_pair->setObjectName(QStringLiteral("F_AwardFlag"));
    for (const AwardFlagPair &pair : AwardFlagTable)
        m_pair->addItem(QString::fromLatin1(pair.name));
    m_pair->setCurrentIndex(0);
    layout->addWidget(m_pair);

    auto *actionBox = new QGroupBox(QStringLiteral("Action"), this);
    auto *actionLayout = new QVBoxLayout(actionBox);
    m_actions = new QButtonGroup(this);
    for (std::size_t i = 0; i < FlagActionNames.size(); ++i) {
        // "&&" shows as one "&", as in the action's name.
        auto *button = new QRadioButton(QString::fromLatin1(FlagActionNames[i]), actionBox);
        button->setObjectName(QStringLiteral("F_Action%1").arg(i));
        m_actions->addButton(button, static_cast<int>(i));
        actionLayout->addWidget(button);
    }
    m_actions->button(0)->setChecked(true);
    layout->addWidget(actionBox);

    auto *form = new QFormLayout;
    m_changed = new QLineEdit(this);
    m_changed->setObjectName(QStringLiteral("F_FlagsChanged"));
    m_changed->setReadOnly(true);
    form->addRow(QStringLiteral("Flags Changed"), m_changed);
    layout->addLayout(form);

    auto *buttons = new QHBoxLayout;
    auto *change = new QPushButton(QStringLiteral("Change"), this);
    change->setObjectName(QStringLiteral("ChangeBtn"));
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CloseBtn"));
    buttons->addWidget(change);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(change, &QPushButton::clicked, this, &TChangeAwardFlagsForm::ChangeClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void TChangeAwardFlagsForm::ChangeClick()
{
    auto action = static_cast<FlagAction>(m_actions->checkedId());
    std::int64_t count = ChangeAwardFlags(m_log, m_pair->currentIndex(), action);
    m_changed->setText(QString::number(count));
    if (count > 0)
        emit flagsChanged(count);
}

} // namespace vellum
