#include "Fpickiefilter.h"

#include "Fimportexport.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "exchange/converter.h"
#include "exchange/delimitedline.h"
#include "exchange/filterformats.h"
#include "exchange/filterlisting.h"
#include "exchange/filtertext.h"
#include "exchange/mergelog.h"
#include "logstore/Fdialogs.h"
#include "logstore/daytime.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"
#include "print/Fprintdialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextStream>
#include <QVBoxLayout>

namespace vellum {

namespace {

/// A converter gets this long before it is stopped.
constexpr std::chrono::minutes ConverterLimit{5};

FilterFileAsker &fileAsker()
{
    static FilterFileAsker asker;
    return asker;
}

QString askFile(QWidget *parent, const QString &title, const QString &ext, const QString &filter, bool save)
{
    if (fileAsker())
        return fileAsker()(parent, title, ext, filter, save);
    QFileDialog dialog(parent, title, QString::fromStdString(ImportDir()), filter);
    dialog.setDefaultSuffix(ext);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                   : QString();
}

/// "ID (*.EXT)": the file-type filter of a filter's data files.
QString typeFilter(const ImportFilter &filter)
{
    QString ext = ScreenText(filter.Ext.view());
    return ScreenText(filter.Id.view()) + QStringLiteral(" (*.") + ext + QStringLiteral(" *.") + ext.toLower() +
           QStringLiteral(");;All files (*)");
}

const char *usageShort(FilterUsage usage)
{
    switch (usage) {
    case FilterUsage::ImportExport: return "I/E";
    case FilterUsage::BinaryImport: return "BIN";
    default: return "Imp";
    }
}

int userLevel(WindowHost &host) { return host.Context().Config().Personal_UserLevel; }

} // namespace

void SetFilterFileAsker(FilterFileAsker asker) { fileAsker() = std::move(asker); }

// --- the filter window --------------------------------------------------------------

TPickIEFilter::TPickIEFilter(WindowHost &host, QWidget *parent) : QMainWindow(parent), m_host(host)
{
    setObjectName(QStringLiteral("PickIEFilter"));
    setWindowTitle(QStringLiteral("Import / Export Filters"));
    setAttribute(Qt::WA_DeleteOnClose);
    try {
        FilterFileContents contents = ReadFilterFile(DataFileName(DataFile::ImportExportFilters));
        if (!contents.problem.empty())
            host.Notifier().warning(contents.problem);
        m_list = FilterList(std::move(contents.filters));
    } catch (const EFileError &e) {
        host.Notifier().error(std::string("Cannot read the filters: ") + e.what());
    }
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    addItem(file, "Import1", "&Import", &TPickIEFilter::ImportClick);
    addItem(file, "Export1", "&Export", &TPickIEFilter::ExportClick);
    addItem(file, "MergeVELLUMlog1", "Merge VELLUM Log", &TPickIEFilter::MergeVELLUMlog1Click);
    file->addAction(QStringLiteral("E&xit"), this, &QWidget::close)->setObjectName(QStringLiteral("Exit1"));
    QMenu *filter = menuBar()->addMenu(QStringLiteral("Filter"));
    filter->setObjectName(QStringLiteral("Filter1"));
    addItem(filter, "Edit1", "&Edit", &TPickIEFilter::EditClick);
    addItem(filter, "New1", "&New", &TPickIEFilter::NewClick);
    addItem(filter, "Copy1", "&Copy", &TPickIEFilter::CopyClick);
    addItem(filter, "Delete1", "&Delete", &TPickIEFilter::DeleteClick);
    QAction *help = menuBar()->addAction(QStringLiteral("Help for Filters"));
    help->setObjectName(QStringLiteral("HelpFilters1"));
    connect(help, &QAction::triggered, this, [this] {
        m_host.Notifier().information(
            "Import / Export Filters\r"
            "A filter places each QSO field at its columns of a text line, in one of its notations. "
            "Choose a filter, then File | Import or Export. Filters whose ID begins with ADIF read and write ADIF; "
            "\"Binary Imp\" filters run the script ID.sh of the import directory first, which writes export.txt.");
    });

    m_grid = NamedWidget<QTableWidget>("Grid", 0, 3, this);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("ID"), QStringLiteral("Usage"), QStringLiteral("Description")});
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    const int character = m_grid->fontMetrics().horizontalAdvance(QLatin1Char('X'));
    m_grid->setColumnWidth(0, 9 * character + 12);
    m_grid->setColumnWidth(1, 6 * character + 12);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    connect(m_grid, &QTableWidget::cellClicked, this, [this] { UpdateEnabling(); });
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this] { EditClick(); });
    setCentralWidget(m_grid);
    resize(56 * character + 60, 320);
    fillGrid(0);
}

QAction *TPickIEFilter::addItem(QMenu *menu, const char *name, const char *caption, void (TPickIEFilter::*slot)())
{
    QAction *action = menu->addAction(QString::fromLatin1(caption), this, slot);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

int TPickIEFilter::Current() const
{
    int row = m_grid->currentRow();
    return row >= 0 && row < static_cast<int>(m_list.Size()) ? row : (m_list.Empty() ? -1 : 0);
}

void TPickIEFilter::SetCurrent(int row)
{
    if (row >= 0 && row < m_grid->rowCount())
        m_grid->setCurrentCell(row, 0);
    UpdateEnabling();
}

void TPickIEFilter::fillGrid(int current)
{
    m_grid->setRowCount(static_cast<int>(m_list.Size()));
    for (std::size_t i = 0; i < m_list.Size(); ++i) {
        const ImportFilter &filter = m_list.At(i);
        const int row = static_cast<int>(i);
        m_grid->setItem(row, 0, new QTableWidgetItem(ScreenText(filter.Id.view())));
        m_grid->setItem(row, 1, new QTableWidgetItem(QString::fromLatin1(usageShort(filter.Usage))));
        m_grid->setItem(row, 2, new QTableWidgetItem(ScreenText(filter.Description.view())));
    }
    SetCurrent(std::min(current, static_cast<int>(m_list.Size()) - 1));
}

void TPickIEFilter::UpdateEnabling()
{
    const int level = userLevel(m_host);
    const TQsoData *log = m_host.Context().Log();
    const int current = Current();
    auto enable = [this](const char *name, bool on) {
        if (auto *action = findChild<QAction *>(QString::fromLatin1(name)))
            action->setEnabled(on);
    };
    const bool filterMenu = level == 2 || level == 3;
    if (auto *menu = findChild<QMenu *>(QStringLiteral("Filter1")))
        menu->menuAction()->setEnabled(filterMenu);
    enable("New1", filterMenu);
    enable("Copy1", filterMenu && current >= 0);
    enable("Edit1", filterMenu && current >= 0 && level == 3);
    enable("Delete1", filterMenu && current >= 0 && level == 3);
    enable("Import1", log != nullptr && current >= 0);
    enable("MergeVELLUMlog1", log != nullptr);
    const ImportFilter *filter = current >= 0 ? &m_list.At(static_cast<std::size_t>(current)) : nullptr;
    enable("Export1", log && log->Count() > 0 && filter &&
                          (filter->Usage == FilterUsage::ImportExport || filter->Id.view() == "ADIF"));
}

void TPickIEFilter::refreshQsoWindow()
{
    if (m_host.QsoWindow())
        m_host.QsoWindow()->RefreshFromLog();
    UpdateEnabling();
}

void TPickIEFilter::importFile(const ImportFilter &filter, const std::string &file)
{
    QtImportQuestions questions(this);
    if (filter.Usage == FilterUsage::BinaryImport) {
        ImportWithFilter(m_host, questions, [&](ImportContext &context) {
            return ImportThroughConverter(context, filter, file, ConverterLimit);
        });
    } else {
        ImportWithFilter(m_host, questions, [&](ImportContext &context) {
            return ImportLog(context, file, filter, IsAdifFilter(filter) ? RecordFormat::Adif : RecordFormat::Filter);
        });
    }
}

void TPickIEFilter::ImportClick()
{
    const int current = Current();
    if (current < 0 || !m_host.Context().Log())
        return;
    const ImportFilter filter = m_list.At(static_cast<std::size_t>(current));
    QString file = askFile(this, QStringLiteral("Specify file for import"), ScreenText(filter.Ext.view()),
                           typeFilter(filter), false);
    if (!file.isEmpty())
        importFile(filter, file.toStdString());
    refreshQsoWindow();
}

void TPickIEFilter::ExportClick()
{
    const int current = Current();
    if (current < 0 || !m_host.Context().Log())
        return;
    const ImportFilter filter = m_list.At(static_cast<std::size_t>(current));
    QString file = askFile(this, QStringLiteral("Specify file for export"), ScreenText(filter.Ext.view()),
                           typeFilter(filter), true);
    if (!file.isEmpty())
        ExportWithFilter(m_host, file, filter);
}

void TPickIEFilter::MergeVELLUMlog1Click()
{
    TQsoData *log = m_host.Context().Log();
    if (!log)
        return;
    QString file = askFile(this, QStringLiteral("Specify file for import"), QStringLiteral("VLL"),
                           QStringLiteral("VELLUM log (*.VLL *.vll)"), false);
    if (file.isEmpty())
        return;
    QtImportQuestions questions(this);
    MergeLogFile(*log, questions, file.toStdString());
    refreshQsoWindow();
}

void TPickIEFilter::EditClick()
{
    const int current = Current();
    if (current < 0 || userLevel(m_host) != 3)
        return;
    TIEDialog2 editor(m_host, m_list.At(static_cast<std::size_t>(current)), this);
    if (editor.exec() != QDialog::Accepted)
        return;
    fillGrid(static_cast<int>(m_list.Replace(static_cast<std::size_t>(current), editor.Filter())));
}

void TPickIEFilter::NewClick() { fillGrid(static_cast<int>(m_list.Add(NewFilter(TodayDayNumber())))); }

void TPickIEFilter::CopyClick()
{
    const int current = Current();
    if (current >= 0)
        fillGrid(static_cast<int>(m_list.Add(CopyOfFilter(m_list.At(static_cast<std::size_t>(current)), TodayDayNumber()))));
}

void TPickIEFilter::DeleteClick()
{
    const int current = Current();
    if (current < 0)
        return;
    m_list.Remove(static_cast<std::size_t>(current));
    fillGrid(current);
}

bool TPickIEFilter::saveFilters()
{
    if (m_list.Empty())
        return true; // the file stays as it was
    try {
        WriteFilterFile(DataFileName(DataFile::ImportExportFilters), m_list.Filters(),
                        m_host.Context().Config().DefQSO_Cycle != 0);
        return true;
    } catch (const EFileError &e) {
        m_host.Notifier().error(std::string("The filters could not be saved: ") + e.what());
        return false;
    }
}

void TPickIEFilter::closeEvent(QCloseEvent *event)
{
    saveFilters();
    event->accept();
}

void ShowFilterWindow(WindowHost &host)
{
    static QPointer<TPickIEFilter> open;
    if (!open) {
        open = new TPickIEFilter(host, host.MainWindow());
        open->setWindowFlag(Qt::Window);
    }
    open->show();
    open->raise();
    open->activateWindow();
    open->UpdateEnabling();
}

// --- the filter editor -------------------------------------------------------------

TIEDialog2::TIEDialog2(WindowHost &host, const ImportFilter &filter, QWidget *parent)
    : QDialog(parent), m_host(host), m_filter(filter)
{
    setObjectName(QStringLiteral("IEDialog2"));
    setWindowTitle(QStringLiteral("Filter: ") + ScreenText(filter.Description.view()));
    auto *layout = new QVBoxLayout(this);
    m_pages = NamedWidget<QTabWidget>("Pages", this);
    m_pages->addTab(generalPage(), QStringLiteral("General"));
    m_pages->addTab(fieldsPage(), QStringLiteral("Fields"));
    layout->addWidget(m_pages);
    layout->addLayout(ButtonRow(this, {{"ViewAscii", "View ASCII File"}, {"PrintFilter", "Print Filter"},
                                       {"SaveExit", "Save Changes and Exit"}, {"CancelExit", "Cancel Changes and Exit"}}));
    connect(findChild<QPushButton *>(QStringLiteral("ViewAscii")), &QPushButton::clicked, this, &TIEDialog2::ViewAsciiFile);
    connect(findChild<QPushButton *>(QStringLiteral("PrintFilter")), &QPushButton::clicked, this, &TIEDialog2::PrintFilter);
    connect(findChild<QPushButton *>(QStringLiteral("SaveExit")), &QPushButton::clicked, this, &TIEDialog2::SaveAndExit);
    connect(findChild<QPushButton *>(QStringLiteral("CancelExit")), &QPushButton::clicked, this, &QDialog::reject);
    ShowField(0);
}

QWidget *TIEDialog2::generalPage()
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    auto line = [&](const char *name, const char *label, std::string_view text, int length) {
        auto *edit = NamedWidget<QLineEdit>(name, ScreenText(text), page);
        edit->setMaxLength(length);
        form->addRow(QString::fromLatin1(label), edit);
        return edit;
    };
    m_description = line("Description", "Description", m_filter.Description.view(), 30);
    std::uint16_t modified = ModifiedDay(m_filter);
    m_modified = line("Modified", "Modified", modified ? FormatDate(modified, DateFormat::YearMonthDay, true) : "", 10);
    m_modified->setReadOnly(true);
    m_usage = NamedWidget<QComboBox>("Usage", page);
    m_usage->addItems({QStringLiteral("Import"), QStringLiteral("Imp/Exp"), QStringLiteral("Binary Imp")});
    m_usage->setCurrentIndex(static_cast<int>(m_filter.Usage));
    form->addRow(QStringLiteral("Usage"), m_usage);
    m_recLen = NamedWidget<QSpinBox>("RecLen", page);
    m_recLen->setRange(0, 255);
    m_recLen->setValue(m_filter.RecLen);
    form->addRow(QStringLiteral("RecLen"), m_recLen);
    m_id = line("Id", "ID", m_filter.Id.view(), 8);
    connect(m_id, &QLineEdit::textChanged, this, [this] {
        if (m_layout)
            showLayout();
    });
    m_ext = line("Ext", "EXT", m_filter.Ext.view(), 3);
    m_dateChar = line("DateChar", "DateChar", m_filter.DateChar ? std::string(1, m_filter.DateChar) : "", 1);
    m_noteExt = line("NoteExt", "NoteFile EXT", m_filter.NoteExt.view(), 3);
    auto *notes = new QGroupBox(QStringLiteral("Note filters"), page);
    auto *noteLayout = new QVBoxLayout(notes);
    auto check = [&](const char *name, const char *caption, std::uint8_t value) {
        auto *box = NamedWidget<QCheckBox>(name, QString::fromLatin1(caption), notes);
        box->setChecked(value != 0);
        noteLayout->addWidget(box);
        return box;
    };
    m_freq = check("FilterFreq", "Frequency", m_filter.FilterFreq);
    m_import = check("FilterImport", "Import from", m_filter.FilterImport);
    m_dupes = check("FilterDupes", "Duplicates", m_filter.FilterDupes);
    form->addRow(notes);
    return page;
}

QWidget *TIEDialog2::fieldsPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QHBoxLayout(page);
    auto *left = new QFormLayout;
    m_fieldBox = NamedWidget<QComboBox>("Field", page);
    for (const ImportFieldInfo &info : ImportFieldNames)
        m_fieldBox->addItem(QString::fromLatin1(info.name));
    left->addRow(QStringLiteral("Field"), m_fieldBox);
    m_position = NamedWidget<QSpinBox>("Position", page);
    m_position->setRange(0, 255);
    left->addRow(QStringLiteral("Position"), m_position);
    m_layout = NamedWidget<QLabel>("Layout", page);
    left->addRow(m_layout);
    m_type = NamedWidget<QComboBox>("Type", page);
    left->addRow(QStringLiteral("Type"), m_type);
    m_length = NamedWidget<QSpinBox>("Length", page);
    m_length->setRange(0, 255);
    left->addRow(QStringLiteral("Length"), m_length);
    m_allocation = NamedWidget<QListWidget>("Allocation", page);
    left->addRow(QStringLiteral("Field allocation"), m_allocation);
    layout->addLayout(left);
    auto *right = new QVBoxLayout;
    m_fileLabel = NamedWidget<QLabel>("FileLabel", QStringLiteral("File:"), page);
    right->addWidget(m_fileLabel);
    m_sample = NamedWidget<QPlainTextEdit>("Sample", page);
    m_sample->setReadOnly(true);
    m_sample->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_sample->setFont(QFont(QStringLiteral("Monospace")));
    right->addWidget(m_sample);
    layout->addLayout(right, 1);

    connect(m_fieldBox, &QComboBox::currentIndexChanged, this, [this](int field) { ShowField(field); });
    connect(m_type, &QComboBox::currentIndexChanged, this, [this](int format) { typeChanged(format); });
    connect(m_position, &QSpinBox::editingFinished, this, [this] {
        storeField();
        refreshAllocation();
    });
    connect(m_length, &QSpinBox::editingFinished, this, [this] {
        storeField();
        refreshAllocation();
    });
    return page;
}

void TIEDialog2::storeField()
{
    if (m_field < 0 || m_showing)
        return;
    FieldSpec &spec = m_filter.FieldSpecs[static_cast<std::size_t>(m_field)];
    spec.position = static_cast<std::uint8_t>(m_position->value());
    spec.format = static_cast<std::uint8_t>(m_type->isEnabled() ? std::max(m_type->currentIndex(), 0) : 0);
    spec.length = static_cast<std::uint8_t>(m_length->value());
}

void TIEDialog2::ShowField(int field)
{
    if (field < 0 || field >= ImportFieldCount)
        return;
    if (m_fieldBox->currentIndex() != field) {
        m_fieldBox->setCurrentIndex(field); // which shows the field
        return;
    }
    storeField();
    m_showing = true;
    m_field = field;
    const FieldSpec &spec = m_filter.FieldSpecs[static_cast<std::size_t>(field)];
    const ImportFieldInfo &info = ImportFieldNames[static_cast<std::size_t>(field)];
    m_position->setValue(spec.position);
    m_type->clear();
    if (info.kind == FieldKind::Plain) {
        m_type->addItem(ScreenText(FormatName(field, 0)));
        m_type->setEnabled(false);
    } else {
        for (std::string_view name : FormatNames(field))
            m_type->addItem(ScreenText(name));
        m_type->setCurrentIndex(spec.format < m_type->count() ? spec.format : 0);
        m_type->setEnabled(true);
    }
    m_length->setValue(spec.length);
    m_showing = false;
    updateLength();
    refreshAllocation();
}

void TIEDialog2::typeChanged(int format)
{
    if (m_showing || m_field < 0 || format < 0)
        return;
    m_filter.FieldSpecs[static_cast<std::size_t>(m_field)].format = static_cast<std::uint8_t>(format);
    updateLength();
    storeField();
    refreshAllocation();
}

void TIEDialog2::updateLength()
{
    std::optional<int> fixed = FixedLength(m_field, m_type->isEnabled() ? m_type->currentIndex() : 0);
    m_length->setEnabled(!fixed);
    if (fixed)
        m_length->setValue(*fixed);
}

void TIEDialog2::refreshAllocation()
{
    m_allocation->clear();
    for (const std::string &line : ColumnAllocation(m_filter))
        m_allocation->addItem(ScreenText(line));
    showLayout();
}

void TIEDialog2::showLayout()
{
    bool delimited = IsDelimitedFilterId(CoreText(m_id->text()));
    m_layout->setText(delimited ? QStringLiteral("CSV: position = order of the value, length = longest value")
                                : QStringLiteral("Position = first column"));
}

void TIEDialog2::ViewAsciiFile()
{
    QString ext = ScreenText(m_filter.Ext.view());
    QString types = ext.isEmpty() ? QStringLiteral("ASCII file (*)")
                                  : QStringLiteral("Log file (*.") + ext + QStringLiteral(");;ASCII file (*)");
    QString name = askFile(this, QStringLiteral("Open ASCII file for preview"), ext, types, false);
    if (name.isEmpty())
        return;
    m_fileLabel->setText(QStringLiteral("File: ") + name);
    QFile file(name);
    QStringList lines;
    if (file.open(QIODevice::ReadOnly)) {
        for (int i = 0; i < 100 && !file.atEnd(); ++i)
            lines << ScreenText(file.readLine(4096).toStdString()).trimmed();
    }
    m_sample->setPlainText(lines.join(QLatin1Char('\n')));
    m_pages->setCurrentIndex(1);
}

void TIEDialog2::storeGeneral()
{
    storeField();
    m_filter.Description = CoreText(m_description->text());
    m_filter.Usage = static_cast<FilterUsage>(std::clamp(m_usage->currentIndex(), 0, 2));
    m_filter.RecLen = static_cast<std::uint8_t>(m_recLen->value());
    m_filter.Id = CoreText(m_id->text());
    m_filter.Ext = CoreText(m_ext->text());
    std::string dateChar = CoreText(m_dateChar->text());
    m_filter.DateChar = dateChar.empty() ? '/' : dateChar.front();
    m_filter.NoteExt = CoreText(m_noteExt->text());
    m_filter.FilterFreq = m_freq->isChecked();
    m_filter.FilterImport = m_import->isChecked();
    m_filter.FilterDupes = m_dupes->isChecked();
}

void TIEDialog2::PrintFilter()
{
    storeGeneral();
    FilterListing listing = MakeFilterListing(m_filter);
    RunTablePrint(this, listing.job, TableStyleFrom(m_host.Context().Config()), m_host.Notifier());
}

void TIEDialog2::SaveAndExit()
{
    storeGeneral();
    m_filter.Modified = TodayDayNumber() + FilterDayOffset;
    accept();
}

} // namespace vellum
