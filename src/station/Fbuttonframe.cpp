#include "Fbuttonframe.h"

#include "morsecode.h"

#include "logstore/Ftext.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace vellum {

namespace {

QString captionOf(const FunctionKeys &keys, int key)
{
    return ScreenText(FunctionKeyCaption(keys[static_cast<std::size_t>(key - 1)].view()));
}

} // namespace

TButtonFrame::TButtonFrame(const FunctionKeys &keys, std::function<void(int)> chosen, QWidget *parent)
    : QWidget(parent), m_keys(keys), m_chosen(std::move(chosen))
{
    setObjectName(QStringLiteral("ButtonFrame"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    for (int i = 0; i < 8; ++i) {
        auto *button = new QPushButton(this);
        button->setObjectName(QStringLiteral("FKey%1").arg(i + 1));
        button->setFocusPolicy(Qt::NoFocus); // typing stays in the window
        connect(button, &QPushButton::clicked, this, [this, i] { m_chosen(i + 1 + (m_control ? 8 : 0)); });
        m_buttons[static_cast<std::size_t>(i)] = button;
        row->addWidget(button);
    }
    row->addStretch();
    Refresh();
}

void TButtonFrame::SetControl(bool control)
{
    if (control == m_control)
        return;
    m_control = control;
    Refresh();
}

void TButtonFrame::Refresh()
{
    QFontMetrics metrics(font());
    for (int i = 0; i < 8; ++i) {
        QPushButton *button = m_buttons[static_cast<std::size_t>(i)];
        QString plain = QStringLiteral("%1 %2").arg(i + 1).arg(captionOf(m_keys, i + 1));
        QString control = QStringLiteral("+%1 %2").arg(i + 1).arg(captionOf(m_keys, i + 9));
        button->setText(m_control ? control : plain);
        // As wide as the wider caption of its two keys, so the bar does not jump with Ctrl.
        button->setFixedWidth(std::max(metrics.horizontalAdvance(plain), metrics.horizontalAdvance(control)) + 8 +
                              2 * style()->pixelMetric(QStyle::PM_ButtonMargin));
    }
}

int TButtonFrame::KeyNumberOf(int qtKey, Qt::KeyboardModifiers modifiers)
{
    modifiers &= ~Qt::KeypadModifier;
    if (qtKey < Qt::Key_F1 || qtKey > Qt::Key_F8)
        return 0;
    int number = qtKey - Qt::Key_F1 + 1;
    if (modifiers == Qt::NoModifier)
        return number;
    if (modifiers == Qt::ControlModifier)
        return number + 8;
    return 0;
}

TFunctionKeysDialog::TFunctionKeysDialog(const QString &title, FunctionKeys &keys, QWidget *parent)
    : QDialog(parent), m_keys(keys)
{
    setObjectName(QStringLiteral("FunctionKeysDialog"));
    setWindowTitle(title + QStringLiteral(" function keys"));
    for (std::size_t i = 0; i < 16; ++i)
        m_texts[i] = ScreenText(keys[i].view());
    auto *grid = new QGridLayout;
    for (int i = 0; i < 8; ++i) {
        auto *label = new QLabel(this);
        auto *field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("FKeyText%1").arg(i + 1));
        field->setMaxLength(75);
        field->setMinimumWidth(field->fontMetrics().averageCharWidth() * 60);
        label->setBuddy(field);
        grid->addWidget(label, i, 0);
        grid->addWidget(field, i, 1);
        m_labels[static_cast<std::size_t>(i)] = label;
        m_fields[static_cast<std::size_t>(i)] = field;
    }
    m_controlKeys = new QCheckBox(QStringLiteral("Control keys"), this);
    m_controlKeys->setObjectName(QStringLiteral("ControlKeys"));
    connect(m_controlKeys, &QCheckBox::toggled, this, [this](bool on) {
        keepPage();
        showPage(on);
    });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addWidget(m_controlKeys);
    column->addWidget(buttons);
    showPage(false);
}

void TFunctionKeysDialog::showPage(bool control)
{
    m_page = control;
    for (int i = 0; i < 8; ++i) {
        m_labels[static_cast<std::size_t>(i)]->setText(QString::number(control ? 11 + i : 1 + i));
        m_fields[static_cast<std::size_t>(i)]->setText(m_texts[static_cast<std::size_t>(i + (control ? 8 : 0))]);
    }
}

void TFunctionKeysDialog::keepPage()
{
    for (int i = 0; i < 8; ++i)
        m_texts[static_cast<std::size_t>(i + (m_page ? 8 : 0))] = m_fields[static_cast<std::size_t>(i)]->text();
}

void TFunctionKeysDialog::accept()
{
    keepPage();
    for (std::size_t i = 0; i < 16; ++i)
        m_keys[i] = CoreText(m_texts[i]);
    QDialog::accept();
}

} // namespace vellum
