#include "Freportdialogs.h"

#include "logbookfields.h"

#include "logstore/Ftext.h"
#include "logstore/fileio.h"
#include "logstore/services.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vellum {

namespace {

QComboBox *sortBox(QWidget *parent, SortKey sort)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("SortIndex"));
    for (int i = 0; i < SortKeyCount; ++i)
        box->addItem(QString::fromLatin1(SortName(static_cast<SortKey>(i))));
    box->setCurrentIndex(static_cast<int>(sort));
    return box;
}

QComboBox *reportBox(QWidget *parent, const TReportDefinitions &definitions, bool editable)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(editable ? QStringLiteral("CurrentReport") : QStringLiteral("ReportFormat"));
    box->setEditable(editable);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (int i = 0; i < definitions.Count(); ++i)
        box->addItem(ScreenText(definitions.Name(i)));
    return box;
}

QToolButton *speedButton(QWidget *parent, const char *name, const QString &text, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(hint);
    return button;
}

QString fieldName(int field) { return QString::fromLatin1(LogbookFieldTable[static_cast<std::size_t>(field)].name); }

/// Moves the chosen row of from to the end of to; the same position stays chosen in from.
void moveChosen(QListWidget *from, QListWidget *to)
{
    int row = from->currentRow();
    if (row < 0)
        return;
    to->addItem(from->takeItem(row));
    from->setCurrentRow(std::min(row, from->count() - 1));
}

} // namespace

TSelectReport::TSelectReport(const TReportDefinitions &definitions, int report, SortKey sort, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SelectReport"));
    setWindowTitle(QStringLiteral("Select Report"));
    auto *form = new QFormLayout(this);
    m_reports = reportBox(this, definitions, false);
    m_reports->setCurrentIndex(report);
    m_sort = sortBox(this, sort);
    form->addRow(QStringLiteral("Report format"), m_reports);
    form->addRow(QStringLiteral("Sort index"), m_sort);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_reports, &QComboBox::activated, this, [this, &definitions](int index) {
        if (index >= 0 && index < definitions.Count())
            m_sort->setCurrentIndex(static_cast<int>(definitions.Get(index).sort));
    });
}

int TSelectReport::Report() const { return m_reports->currentIndex(); }
SortKey TSelectReport::Sort() const { return static_cast<SortKey>(m_sort->currentIndex()); }

TReportDesignerDialog::TReportDesignerDialog(TReportDefinitions &definitions, int report, std::string fileName,
                                             bool cycleFiles, UserNotifier &notifier, QWidget *parent)
    : QDialog(parent), m_definitions(definitions), m_fileName(std::move(fileName)), m_cycleFiles(cycleFiles),
      m_notifier(notifier)
{
    setObjectName(QStringLiteral("ReportDesignerDialog"));
    setWindowTitle(QStringLiteral("Report Generator"));
    auto *grid = new QGridLayout(this);
    m_name = reportBox(this, definitions, true);
    m_sort = sortBox(this, SortKey::Band);
    m_noteWidth = new QSpinBox(this);
    m_noteWidth->setObjectName(QStringLiteral("NoteWidth"));
    m_noteWidth->setRange(1, 255);
    m_available = new QListWidget(this);
    m_available->setObjectName(QStringLiteral("AvailableFields"));
    m_report = new QListWidget(this);
    m_report->setObjectName(QStringLiteral("ReportFields"));
    m_add = speedButton(this, "AddField", QStringLiteral(">"), QStringLiteral("Add field to report"));
    m_remove = speedButton(this, "RemoveField", QStringLiteral("<"), QStringLiteral("Remove field from report"));
    m_removeAll = speedButton(this, "RemoveAll", QStringLiteral("<<"), QStringLiteral("Remove all fields from report"));
    m_up = speedButton(this, "MoveUp", QStringLiteral("\u2191"), QStringLiteral("Move report field up"));
    m_down = speedButton(this, "MoveDown", QStringLiteral("\u2193"), QStringLiteral("Move report field down"));
    auto *newButton = new QPushButton(QStringLiteral("New"), this);
    newButton->setObjectName(QStringLiteral("New"));
    auto *ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Ok"));
    ok->setToolTip(QStringLiteral("Record changes made to report"));
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);

    grid->addWidget(new QLabel(QStringLiteral("Current Report"), this), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Sort Index"), this), 1, 0);
    grid->addWidget(m_sort, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Note Width"), this), 1, 2);
    grid->addWidget(m_noteWidth, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Available fields"), this), 2, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Report fields"), this), 2, 3);
    grid->addWidget(m_available, 3, 0, 6, 2);
    int row = 3;
    for (QToolButton *button : {m_add, m_remove, m_removeAll, m_up, m_down})
        grid->addWidget(button, row++, 2);
    grid->addWidget(m_report, 3, 3, 6, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(newButton);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 9, 0, 1, 4);

    connect(m_add, &QToolButton::clicked, this, &TReportDesignerDialog::AddField);
    connect(m_remove, &QToolButton::clicked, this, &TReportDesignerDialog::RemoveField);
    connect(m_removeAll, &QToolButton::clicked, this, &TReportDesignerDialog::RemoveAllFields);
    connect(m_up, &QToolButton::clicked, this, [this] { MoveField(-1); });
    connect(m_down, &QToolButton::clicked, this, [this] { MoveField(1); });
    connect(m_available, &QListWidget::itemDoubleClicked, this, &TReportDesignerDialog::AddField);
    connect(m_report, &QListWidget::itemDoubleClicked, this, &TReportDesignerDialog::RemoveField);
    connect(newButton, &QPushButton::clicked, this, &TReportDesignerDialog::NewReport);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (Record())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_name, &QComboBox::activated, this, [this](int index) { show(index); });
    show(std::clamp(report, 0, definitions.Count() - 1));
}

void TReportDesignerDialog::show(int index)
{
    m_shown = index;
    ReportDefinition definition = m_definitions.Get(index);
    m_name->setCurrentIndex(index);
    m_name->setEditText(ScreenText(definition.name));
    m_sort->setCurrentIndex(static_cast<int>(definition.sort));
    m_noteWidth->setValue(definition.noteWidth);
    fill(definition.columns);
}

void TReportDesignerDialog::fill(const std::vector<std::uint8_t> &columns)
{
    m_available->clear();
    m_report->clear();
    auto item = [](int field) {
        auto *entry = new QListWidgetItem(fieldName(field));
        entry->setData(Qt::UserRole, field);
        return entry;
    };
    for (std::uint8_t field : columns)
        m_report->addItem(item(field));
    for (int field = 0; field < LogbookFieldCount; ++field)
        if (std::find(columns.begin(), columns.end(), field) == columns.end())
            m_available->addItem(item(field));
    m_available->setCurrentRow(0);
    m_report->setCurrentRow(0);
    followLists();
}

void TReportDesignerDialog::followLists()
{
    m_add->setEnabled(m_available->count() > 0);
    m_remove->setEnabled(m_report->count() > 0);
    m_removeAll->setEnabled(m_report->count() > 0);
}

std::vector<std::uint8_t> TReportDesignerDialog::reportFields() const
{
    std::vector<std::uint8_t> fields;
    for (int i = 0; i < m_report->count(); ++i)
        fields.push_back(static_cast<std::uint8_t>(m_report->item(i)->data(Qt::UserRole).toInt()));
    return fields;
}

void TReportDesignerDialog::AddField()
{
    moveChosen(m_available, m_report);
    followLists();
}

void TReportDesignerDialog::RemoveField()
{
    // A field goes back to its place in table order.
    int row = m_report->currentRow();
    if (row < 0)
        return;
    std::vector<std::uint8_t> fields = reportFields();
    fields.erase(fields.begin() + row);
    int available = m_available->currentRow();
    fill(fields);
    m_report->setCurrentRow(std::min(row, m_report->count() - 1));
    m_available->setCurrentRow(std::max(0, available));
}

void TReportDesignerDialog::RemoveAllFields()
{
    fill({});
}

void TReportDesignerDialog::MoveField(int step)
{
    int row = m_report->currentRow();
    int target = row + step;
    if (row < 0 || target < 0 || target >= m_report->count())
        return;
    QListWidgetItem *item = m_report->takeItem(row);
    m_report->insertItem(target, item);
    m_report->setCurrentRow(target);
}

void TReportDesignerDialog::NewReport()
{
    m_name->addItem(QString::fromLatin1(NonameReport));
    show(m_definitions.AddDefault());
}

bool TReportDesignerDialog::Record()
{
    ReportDefinition definition;
    definition.name = CoreText(m_name->currentText().trimmed());
    definition.sort = static_cast<SortKey>(m_sort->currentIndex());
    definition.noteWidth = m_noteWidth->value();
    definition.columns = reportFields();
    if (definition.columns.empty()) {
        m_notifier.error("A report needs at least one field");
        return false;
    }
    if (definition.name.empty()) {
        m_notifier.error("Please give the report a name");
        return false;
    }
    if (definition.name.size() > ReportNameCapacity)
        definition.name.resize(ReportNameCapacity);
    int other = m_definitions.IndexOfName(definition.name);
    if (other >= 0 && other != m_shown) {
        m_notifier.error("Another report is named " + definition.name);
        return false;
    }
    m_definitions.Replace(m_shown, definition);
    m_name->setItemText(m_shown, ScreenText(definition.name));
    try {
        m_definitions.Save(m_fileName, m_cycleFiles);
    } catch (const EFileError &error) {
        m_notifier.error(error.what());
        return false;
    }
    return true;
}

} // namespace vellum
