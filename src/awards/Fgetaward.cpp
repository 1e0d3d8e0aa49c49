#include "Fgetaward.h"

#include "logstore/cp1252.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

namespace vellum {

TGetCustAwdForm::TGetCustAwdForm(const TCustAwardList &awards, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("GetCustAwdForm"));
    setWindowTitle(QStringLiteral("Get award"));
    setModal(true);
    auto *layout = new QFormLayout(this);
    m_award = new QComboBox(this);
    m_award->setObjectName(QStringLiteral("FGetAwd_Award"));
    for (std::int32_t position : awards.ByName())
        m_award->addItem(QString::fromStdString(Cp1252ToUtf8(awards.At(position).Name)), position);
    layout->addRow(QStringLiteral("Custom award"), m_award);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("FGetAwd_OK"));
    ok->setEnabled(m_award->count() > 0);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("FGetAwd_Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

std::int32_t TGetCustAwdForm::ChosenAward() const
{
    return m_award->currentIndex() < 0 ? -1 : m_award->currentData().toInt();
}

std::int32_t TGetCustAwdForm::GetAward(const TCustAwardList &awards, QWidget *parent)
{
    TGetCustAwdForm form(awards, parent);
    return form.exec() == QDialog::Accepted ? form.ChosenAward() : -1;
}

} // namespace vellum
