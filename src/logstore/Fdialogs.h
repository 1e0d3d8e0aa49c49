#pragma once
// What the log store's dialogs share: named widgets and a row of named push
// buttons (and, through Ftext.h, the core's texts on the screen and back).

#include "Ftext.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QString>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace vellum {

/// A new widget (constructed from args) with its objectName set.
template <typename Widget, typename... Args>
Widget *NamedWidget(const char *name, Args &&...args)
{
    auto *widget = new Widget(std::forward<Args>(args)...);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

/// A row of push buttons, each given as (objectName, caption); returns the layout.
inline QHBoxLayout *ButtonRow(QWidget *parent, std::initializer_list<std::pair<const char *, const char *>> buttons)
{
    auto *row = new QHBoxLayout;
    for (const auto &[name, caption] : buttons) {
        auto *button = NamedWidget<QPushButton>(name, QString::fromLatin1(caption), parent);
        button->setAutoDefault(false);
        row->addWidget(button);
    }
    return row;
}

/// The push button of that name in a dialog.
inline QPushButton *NamedButton(QWidget *dialog, const char *name)
{
    return dialog->findChild<QPushButton *>(QString::fromLatin1(name));
}

/// The OK and Cancel buttons of a dialog ("OKBtn", "CancelBtn"), accepting and rejecting it.
inline QDialogButtonBox *OkCancelButtons(QDialog *dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBtn"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelBtn"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace vellum
