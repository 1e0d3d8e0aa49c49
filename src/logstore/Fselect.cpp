#include "Fselect.h"

#include "Fdialogs.h"
#include "qsodata.h"
#include "services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace vellum {

TSelectionForm::TSelectionForm(TQsoData &log, DateFormat format, UserNotifier &notifier, QWidget *parent)
    : QDialog(parent), m_log(log), m_format(format), m_notifier(notifier), m_editor(log)
{
    setObjectName(QStringLiteral("SelectionForm"));
    setWindowTitle(QStringLiteral("Selection Editor / Select"));
    buildForm();
    fillNames();
    showShown();
}

void TSelectionForm::buildForm()
{
    auto *layout = new QVBoxLayout(this);
    auto *top = new QFormLayout;
    m_selection = NamedWidget<QComboBox>("F_Selection", this);
    m_selection->setEditable(true);
    m_selection->setInsertPolicy(QComboBox::NoInsert);
    top->addRow(QStringLiteral("Current selection"), m_selection);
    layout->addLayout(top);

    auto checkBox = [](QWidget *parent, const char *name, const char *caption) {
        return NamedWidget<QCheckBox>(name, QString::fromLatin1(caption), parent);
    };
    auto *dates = new QGroupBox(QStringLiteral("Date Filter"), this);
    auto *dateLayout = new QFormLayout(dates);
    m_firstDate = NamedWidget<QLineEdit>("F_FirstDate", dates);
    m_lastDate = NamedWidget<QLineEdit>("F_LastDate", dates);
    dateLayout->addRow(QStringLiteral("First Date"), m_firstDate);
    dateLayout->addRow(QStringLiteral("Last Date"), m_lastDate);
    layout->addWidget(dates);

    auto *enabled = new QGroupBox(QStringLiteral("Enabled Filters"), this);
    auto *enabledLayout = new QVBoxLayout(enabled);
    m_groupFilter = checkBox(enabled, "F_GroupFilter", "Group Filter");
    m_dateFilter = checkBox(enabled, "F_DateFilter", "Date Filter");
    enabledLayout->addWidget(m_groupFilter);
    enabledLayout->addWidget(m_dateFilter);
    layout->addWidget(enabled);

    m_groups = NamedWidget<QListWidget>("F_Groups", this);
    m_groups->setToolTip(QStringLiteral("Double click to toggle"));
    m_groups->setFont(QFont(QStringLiteral("Monospace")));
    layout->addWidget(m_groups);

    auto *extra = new QGroupBox(QStringLiteral("Additional QSO Filters"), this);
    auto *extraLayout = new QHBoxLayout(extra);
    m_qrp = checkBox(extra, "F_QRP", "QRP");
    m_yl = checkBox(extra, "F_YLop", "YLop");
    extraLayout->addWidget(m_qrp);
    extraLayout->addWidget(m_yl);
    layout->addWidget(extra);

    layout->addLayout(ButtonRow(this, {{"AddBtn", "Add"},
                                       {"DeleteBtn", "Delete"},
                                       {"UpdateBtn", "Update"},
                                       {"CancelBtn", "Cancel"},
                                       {"OKBtn", "OK"}}));
    connect(m_selection, &QComboBox::activated, this, &TSelectionForm::SelectionActivated);
    connect(m_groups, &QListWidget::itemDoubleClicked, this, &TSelectionForm::GroupsDoubleClicked);
    connect(NamedButton(this, "AddBtn"), &QPushButton::clicked, this, &TSelectionForm::AddClick);
    connect(NamedButton(this, "DeleteBtn"), &QPushButton::clicked, this, &TSelectionForm::DeleteClick);
    connect(NamedButton(this, "UpdateBtn"), &QPushButton::clicked, this, &TSelectionForm::UpdateClick);
    connect(NamedButton(this, "CancelBtn"), &QPushButton::clicked, this, &QDialog::reject);
    connect(NamedButton(this, "OKBtn"), &QPushButton::clicked, this, &TSelectionForm::OKClick);
}

void TSelectionForm::fillNames()
{
    m_selection->clear();
    for (const TSelection &selection : m_editor.List())
        m_selection->addItem(ScreenText(selection.Name.view()));
}

void TSelectionForm::showShown()
{
    const TSelection &shown = m_editor.ShownRecord();
    m_selection->setCurrentIndex(m_editor.Shown());
    m_selection->setEditText(ScreenText(shown.Name.view()));
    m_firstDate->setText(ScreenText(FormatDate(shown.FirstDate, m_format, false)));
    m_lastDate->setText(shown.LastDate == OpenEndDate ? QString()
                                                      : ScreenText(FormatDate(shown.LastDate, m_format, false)));
    m_dateFilter->setChecked(shown.DateActive != 0);
    m_groupFilter->setChecked(shown.GroupActive != 0);
    m_qrp->setChecked(shown.QrpOnly());
    m_yl->setChecked(shown.YlOnly());
    m_groups->clear();
    for (std::size_t group = 0; group < m_log.GroupNames.size() && group < 256; ++group)
        m_groups->addItem(
            ScreenText(TSelectionEditor::GroupRow(shown, static_cast<int>(group), m_log.GroupNames[group])));

    bool editable = !m_editor.ShownIsBuiltIn();
    for (QWidget *control : std::initializer_list<QWidget *>{m_firstDate, m_lastDate, m_dateFilter, m_groupFilter,
                                                             m_groups, m_qrp, m_yl, NamedButton(this, "DeleteBtn"),
                                                             NamedButton(this, "UpdateBtn")})
        control->setEnabled(editable);
}

void TSelectionForm::SelectionActivated(int index)
{
    m_editor.Show(index);
    showShown();
}

void TSelectionForm::GroupsDoubleClicked(QListWidgetItem *item)
{
    int group = m_groups->row(item);
    m_editor.ToggleGroup(group);
    item->setText(ScreenText(TSelectionEditor::GroupRow(m_editor.ShownRecord(), group,
                                                        m_log.GroupNames[static_cast<std::size_t>(group)])));
}

void TSelectionForm::UpdateClick()
{
    SelectionFields fields;
    fields.name = CoreText(m_selection->currentText());
    fields.dateActive = m_dateFilter->isChecked();
    fields.groupActive = m_groupFilter->isChecked();
    fields.firstDate = CoreText(m_firstDate->text());
    fields.lastDate = CoreText(m_lastDate->text());
    fields.qrpOnly = m_qrp->isChecked();
    fields.ylOnly = m_yl->isChecked();
    if (m_editor.Update(fields, m_format) == TSelectionEditor::UpdateResult::BadDates) {
        m_notifier.warning(SelectionText::CheckDates);
        return;
    }
    fillNames();
    showShown();
}

void TSelectionForm::AddClick()
{
    m_editor.Add();
    fillNames();
    showShown();
}

void TSelectionForm::DeleteClick()
{
    m_editor.Delete();
    fillNames();
    showShown();
}

void TSelectionForm::OKClick()
{
    m_result = m_editor.Commit(m_log);
    if (m_result == TSelectionEditor::Outcome::Cancelled)
        reject();
    else
        accept();
}

} // namespace vellum
