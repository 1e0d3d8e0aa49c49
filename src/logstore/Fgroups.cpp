#include "Fgroups.h"

#include "Fdialogs.h"
#include "qsodata.h"

#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace vellum {

TGroupNamesForm::TGroupNamesForm(TQsoData &log, QWidget *parent)
    : QDialog(parent), m_log(log), m_editor(log.GroupNames)
{
    setObjectName(QStringLiteral("GroupNamesForm"));
    setWindowTitle(QStringLiteral("Editing group names"));
    auto *layout = new QVBoxLayout(this);
    m_list = NamedWidget<QListWidget>("F_GroupList", this);
    m_list->setToolTip(QStringLiteral("Listing of known group names"));
    m_list->setFont(QFont(QStringLiteral("Monospace")));
    layout->addWidget(m_list);
    m_name = NamedWidget<QLineEdit>("F_GroupName", this);
    m_name->setMaxLength(static_cast<int>(GroupNameCapacity));
    layout->addWidget(m_name);
    layout->addLayout(ButtonRow(this, {{"AddBtn", "Add"},
                                       {"ChangeBtn", "Change"},
                                       {"DeleteBtn", "Delete"},
                                       {"InsertBtn", "Insert"},
                                       {"OKBtn", "OK"}}));
    connect(m_list, &QListWidget::currentRowChanged, this, &TGroupNamesForm::RowClicked);
    connect(NamedButton(this, "AddBtn"), &QPushButton::clicked, this, &TGroupNamesForm::AddClick);
    connect(NamedButton(this, "ChangeBtn"), &QPushButton::clicked, this, &TGroupNamesForm::ChangeClick);
    connect(NamedButton(this, "DeleteBtn"), &QPushButton::clicked, this, &TGroupNamesForm::DeleteClick);
    connect(NamedButton(this, "InsertBtn"), &QPushButton::clicked, this, &TGroupNamesForm::InsertClick);
    connect(NamedButton(this, "OKBtn"), &QPushButton::clicked, this, &TGroupNamesForm::OKClick);
    showList();
    m_name->setText(ScreenText(m_editor.CurrentName()));
}

void TGroupNamesForm::showList()
{
    QSignalBlocker quiet(m_list);
    m_list->clear();
    const std::vector<std::string> &names = m_editor.Names();
    for (std::size_t i = 0; i < names.size(); ++i)
        m_list->addItem(ScreenText(TGroupNameEditor::Row(static_cast<int>(i), names[i])));
    m_list->setCurrentRow(m_editor.Current());
}

void TGroupNamesForm::RowClicked(int row)
{
    m_editor.Select(row);
    m_name->setText(ScreenText(m_editor.CurrentName()));
}

void TGroupNamesForm::AddClick()
{
    m_editor.Add(CoreText(m_name->text()));
    showList();
}

void TGroupNamesForm::ChangeClick()
{
    m_editor.Change(CoreText(m_name->text()));
    showList();
}

void TGroupNamesForm::InsertClick()
{
    m_editor.Insert(CoreText(m_name->text()));
    showList();
}

void TGroupNamesForm::DeleteClick()
{
    m_editor.Delete();
    showList();
    m_name->setText(ScreenText(m_editor.CurrentName()));
}

void TGroupNamesForm::OKClick()
{
    m_editor.Commit(m_log);
    accept();
}

} // namespace vellum
