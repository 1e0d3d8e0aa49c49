#include "Freference.h"

#include "countryfile.h"
#include "textimport.h"

#include "logstore/paths.h"

#include <QAction>
#include <QBoxLayout>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace vellum {

namespace {

class QtFileChooser : public TextFileChooser {
public:
    QString OpenFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    }
    QString SaveFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) override
    {
        return QFileDialog::getSaveFileName(parent, caption, dir, filter);
    }
};

const QString TextFilter = QStringLiteral("Text files (*.txt *.csv);;All files (*)");

} // namespace

TextFileChooser &StandardFileChooser()
{
    static QtFileChooser chooser;
    return chooser;
}

// --- TSortedRowsModel -------------------------------------------------------------

TSortedRowsModel::TSortedRowsModel(QStringList headings, UserNotifier &notifier, QObject *parent)
    : QAbstractTableModel(parent), m_headings(std::move(headings)), m_notifier(notifier)
{
}

int TSortedRowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_headings.size());
}

QVariant TSortedRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= m_headings.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_headings[section];
}

Qt::ItemFlags TSortedRowsModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.isValid() ? flags | Qt::ItemIsEditable : flags;
}

void TSortedRowsModel::moveRow(int from, int to, const std::function<void()> &change)
{
    bool moves = to != from && beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    change();
    if (moves)
        endMoveRows();
    emit dataChanged(index(to, 0), index(to, columnCount() - 1));
    emit rowPlaced(to);
}

void TSortedRowsModel::insertRow(int position, const std::function<void()> &change)
{
    beginInsertRows(QModelIndex(), position, position);
    change();
    endInsertRows();
    emit rowPlaced(position);
}

void TSortedRowsModel::removeRow(int position, const std::function<void()> &change)
{
    beginRemoveRows(QModelIndex(), position, position);
    change();
    endRemoveRows();
}

bool TSortedRowsModel::refuse(const QString &why) const
{
    m_notifier.error(CoreText(why));
    return false;
}

// --- TReferenceEditor -------------------------------------------------------------

TReferenceEditor::TReferenceEditor(TCountryData &data, const ReferenceServices &services, QWidget *parent)
    : QDialog(parent), m_data(data), m_services(services)
{
    setModal(true);
}

TextFileChooser &TReferenceEditor::chooser() const
{
    return m_services.chooser ? *m_services.chooser : StandardFileChooser();
}

void TReferenceEditor::addButtons(QBoxLayout *layout, const QString &prefix, const QString &exportCaption,
                                  const QString &importCaption)
{
    auto add = [&](const QString &caption, const QString &name, auto slot) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(prefix + name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, slot);
        layout->addWidget(button);
    };
    add(QStringLiteral("Save Changes and Exit"), QStringLiteral("Save"), &TReferenceEditor::SaveChangesAndExit);
    add(QStringLiteral("Cancel Changes and Exit"), QStringLiteral("Cancel"), &QDialog::reject);
    add(exportCaption, QStringLiteral("Export"), &TReferenceEditor::ExportClick);
    add(importCaption, QStringLiteral("Import"), &TReferenceEditor::ImportClick);
}

void TReferenceEditor::SaveChangesAndExit()
{
    applyWorkingCopy(m_data);
    // Marked first: when the write fails the change stays in memory and the
    // main window's save or autosave writes it later.
    m_data.MarkCountryDataModified();
    SaveCountryFile(m_data, CountryTarget::MainFile, settings().cycleFiles(), notifier());
    accept();
}

void TReferenceEditor::ExportClick()
{
    QString file = chooser().SaveFile(this, windowTitle(), QString::fromStdString(ImportDir()), TextFilter);
    if (file.isEmpty())
        return;
    std::int64_t rows = 0;
    std::string text = exportText(rows);
    WriteExportFile(file.toStdString(), text, rows, exportNoun(), settings().cycleFiles(), notifier());
}

void TReferenceEditor::ImportClick()
{
    QString file = chooser().OpenFile(this, windowTitle(), QString::fromStdString(ImportDir()), TextFilter);
    if (file.isEmpty())
        return;
    workingCopyAboutToBeReplaced();
    importFile(file.toStdString(), notifier(), m_services.progress);
    workingCopyReplaced();
}

// --- TTableEditor -------------------------------------------------------------

void TTableEditor::buildTableEditor(TSortedRowsModel *model, const QString &prefix, const QString &searchCaption,
                                    const QString &exportCaption, const QString &importCaption)
{
    auto *layout = new QVBoxLayout(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(prefix + QStringLiteral("Grid"));
    m_grid->setModel(model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto addAction = [&](const QString &caption, const QString &name, QKeySequence key, auto slot) {
        auto *action = new QAction(caption, m_grid);
        action->setObjectName(prefix + name);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, slot);
        m_grid->addAction(action);
    };
    addAction(QStringLiteral("Insert"), QStringLiteral("Insert"), QKeySequence(Qt::Key_Insert),
              &TTableEditor::InsertRowClick);
    addAction(QStringLiteral("Delete"), QStringLiteral("Delete"), QKeySequence(Qt::Key_Delete),
              &TTableEditor::DeleteRowClick);
    connect(model, &TSortedRowsModel::rowPlaced, this, &TTableEditor::selectRow);
    layout->addWidget(m_grid);

    auto *searchRowLayout = new QHBoxLayout;
    m_search = new QLineEdit(this);
    m_search->setObjectName(prefix + QStringLiteral("Search"));
    auto *label = new QLabel(searchCaption, this);
    label->setBuddy(m_search);
    searchRowLayout->addWidget(label);
    searchRowLayout->addWidget(m_search);
    connect(m_search, &QLineEdit::textEdited, this, &TTableEditor::searchEdited);
    layout->addLayout(searchRowLayout);

    auto *buttons = new QHBoxLayout;
    addButtons(buttons, prefix, exportCaption, importCaption);
    layout->addLayout(buttons);
    resize(560, 480);
}

void TTableEditor::DeleteRowClick()
{
    QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        deleteRow(current.row());
}

void TTableEditor::selectRow(int row)
{
    if (row < 0 || row >= m_grid->model()->rowCount())
        return;
    QModelIndex index = m_grid->model()->index(row, 0);
    m_grid->setCurrentIndex(index);
    m_grid->selectRow(row);
    m_grid->scrollTo(index);
}

void TTableEditor::searchEdited(const QString &text)
{
    QString kept;
    for (QChar c : text)
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
            (c >= QLatin1Char('a') && c <= QLatin1Char('z')))
            kept += c.toUpper();
    if (kept != text)
        m_search->setText(kept);
    selectRow(searchRow(kept.toStdString()));
}

} // namespace vellum
