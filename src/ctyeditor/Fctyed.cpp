#include "Fctyed.h"

#include "Fctyedpages.h"
#include "countrycheck.h"
#include "countrymerge.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "country/countryfile.h"
#include "logstore/Fdialogs.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/services.h"
#include "qso/Fpicklist.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QListWidget>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vellum {

namespace {

QAction *menuItem(QMenu *menu, const char *name, const char *caption, QKeySequence key = {})
{
    QAction *action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    return action;
}

int currentRow(const QTableWidget *grid) { return grid->currentIndex().isValid() ? grid->currentRow() : -1; }

} // namespace

TFctyed::TFctyed(TCountryData &data, UserNotifier &notifier, Options options, QWidget *parent)
    : QDialog(parent), m_data(data), m_notifier(notifier), m_options(std::move(options)),
      m_editor(std::make_unique<CountryEditor>(data))
{
    setObjectName(QStringLiteral("Fctyed"));
    setWindowTitle(QStringLiteral("Country Editor"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    buildMenus();
    m_pages = new QTabWidget(this); // unnamed: the window style leaves the tabs' font alone, so they fit their captions
    m_pages->setUsesScrollButtons(false);
    m_fields = new TCountryFields(m_options.dateFormat, this, m_pages);
    layout->addWidget(m_fields->Panel());
    m_pages->addTab(m_fields->Details(), QStringLiteral("Details"));
    m_pages->addTab(buildMappingsPage(), QStringLiteral("Mappings"));
    m_pages->addTab(buildCallsPage(), QStringLiteral("Callsigns"));
    m_pages->addTab(buildMessagesPage(), QStringLiteral("Messages"));
    layout->addWidget(m_pages);
    showCurrent();
    resize(760, 540);
}

TFctyed::~TFctyed() = default;

void TFctyed::buildMenus()
{
    auto *bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    connect(menuItem(file, "SaveExit1", "&Save Changes and Exit"), &QAction::triggered, this, &TFctyed::SaveAndExit);
    connect(menuItem(file, "CancelExit1", "Cancel Changes and Exit"), &QAction::triggered, this,
            &TFctyed::CancelAndExit);
    file->addSeparator();
    connect(menuItem(file, "Check1", "&Check for Errors"), &QAction::triggered, this, &TFctyed::CheckClick);
    connect(menuItem(file, "Merge1", "Merge Other Country File"), &QAction::triggered, this, &TFctyed::MergeClick);

    QMenu *move = bar->addMenu(QStringLiteral("M&ove"));
    connect(menuItem(move, "First1", "&First", QKeySequence(Qt::CTRL | Qt::Key_F)), &QAction::triggered, this,
            [this] { moveTo(&CountryEditor::First); });
    connect(menuItem(move, "Previous1", "&Previous", QKeySequence(Qt::CTRL | Qt::Key_P)), &QAction::triggered, this,
            [this] { moveTo(&CountryEditor::Previous); });
    connect(menuItem(move, "Next1", "&Next", QKeySequence(Qt::CTRL | Qt::Key_N)), &QAction::triggered, this,
            [this] { moveTo(&CountryEditor::Next); });
    connect(menuItem(move, "Last1", "&Last", QKeySequence(Qt::CTRL | Qt::Key_L)), &QAction::triggered, this,
            [this] { moveTo(&CountryEditor::Last); });
    connect(menuItem(move, "Find1", "F&ind"), &QAction::triggered, this, &TFctyed::FindClick);

    QMenu *country = bar->addMenu(QStringLiteral("&Country"));
    connect(menuItem(country, "CountryAdd1", "&Add"), &QAction::triggered, this, &TFctyed::AddCountryClick);
    connect(menuItem(country, "CountryUpdate1", "&Update"), &QAction::triggered, this, &TFctyed::UpdateCountryClick);
    connect(menuItem(country, "CountryDelete1", "&Delete"), &QAction::triggered, this, &TFctyed::DeleteCountryClick);
    QMenu *mappings = bar->addMenu(QStringLiteral("&Mappings"));
    connect(menuItem(mappings, "MappingAdd1", "Add"), &QAction::triggered, this, &TFctyed::AddMappingClick);
    connect(menuItem(mappings, "MappingDelete1", "Delete"), &QAction::triggered, this, &TFctyed::DeleteMappingClick);
    connect(menuItem(mappings, "MappingUpdate1", "&Update"), &QAction::triggered, this,
            &TFctyed::UpdateMappingsClick);
    QMenu *calls = bar->addMenu(QStringLiteral("&Calls"));
    connect(menuItem(calls, "CallAdd1", "Add"), &QAction::triggered, this, &TFctyed::AddCallClick);
    connect(menuItem(calls, "CallDelete1", "Delete"), &QAction::triggered, this, &TFctyed::DeleteCallClick);
    connect(menuItem(calls, "CallUpdate1", "&Update"), &QAction::triggered, this, &TFctyed::UpdateCallsClick);
}

/// The grid's own Insert and Delete keys do what the menu's Add and Delete do.
static void addGridKeys(QTableWidget *grid, QObject *receiver, const std::function<void()> &add,
                        const std::function<void()> &remove)
{
    auto key = [&](Qt::Key k, const std::function<void()> &run) {
        auto *action = new QAction(grid);
        action->setShortcut(QKeySequence(k));
        action->setShortcutContext(Qt::WidgetShortcut);
        QObject::connect(action, &QAction::triggered, receiver, run);
        grid->addAction(action);
    };
    key(Qt::Key_Insert, add);
    key(Qt::Key_Delete, remove);
}

QWidget *TFctyed::buildMappingsPage()
{
    m_mapGrid = TMappingGrid::Make(m_pages);
    addGridKeys(m_mapGrid, this, [this] { AddMappingClick(); }, [this] { DeleteMappingClick(); });
    return m_mapGrid;
}

QWidget *TFctyed::buildCallsPage()
{
    m_callGrid = TCallGrid::Make(m_pages);
    addGridKeys(m_callGrid, this, [this] { AddCallClick(); }, [this] { DeleteCallClick(); });
    return m_callGrid;
}

QWidget *TFctyed::buildMessagesPage()
{
    m_messageList = NamedWidget<QListWidget>("MessageList", m_pages);
    m_messageList->setFont(QFont(QStringLiteral("monospace")));
    m_messageList->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *copy = new QAction(QStringLiteral("Copy to ClipBoard"), m_messageList);
    copy->setObjectName(QStringLiteral("CopyToClipboard1"));
    connect(copy, &QAction::triggered, this, [this] {
        QStringList lines;
        for (const MessageLine &line : m_messages.Lines())
            lines << ScreenText(line.text);
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
    });
    m_messageList->addAction(copy);
    connect(m_messageList, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { MessageActivated(m_messageList->row(item)); });
    return m_messageList;
}

// --- showing -------------------------------------------------------------------------------

void TFctyed::showCurrent()
{
    m_fields->Show(m_editor->CurrentCountry());
    TMappingGrid::Fill(m_mapGrid, m_editor->Mappings(), m_options.dateFormat);
    TCallGrid::Fill(m_callGrid, m_editor->Calls(), m_options.dateFormat);
    m_pages->setCurrentIndex(DetailsPage);
}

void TFctyed::moveTo(void (CountryEditor::*step)())
{
    (m_editor.get()->*step)();
    showCurrent();
}

void TFctyed::FindClick()
{
    std::vector<std::pair<std::string, std::string>> entries;
    for (std::int32_t i = 0; i < m_data.CountryCount(); ++i)
        entries.emplace_back(m_data.CountryPrefix(i), m_data.CountryName(i));
    int chosen = TPicklist(QStringLiteral("Prefix"), std::move(entries), 1, this).Choose();
    if (chosen >= 1)
        ShowCountry(chosen);
}

void TFctyed::ShowCountry(std::int32_t country)
{
    m_editor->Show(country);
    showCurrent();
}

bool TFctyed::onPage(Page page)
{
    if (m_pages->currentIndex() == page)
        return true;
    m_notifier.information(CountryEditorText::WrongPage);
    m_pages->setCurrentIndex(page);
    return false;
}

bool TFctyed::succeeded(const EditResult &result)
{
    if (!result.done)
        m_notifier.error(result.message);
    return result.done;
}

// --- countries ------------------------------------------------------------------------------

void TFctyed::AddCountryClick()
{
    if (onPage(DetailsPage) && succeeded(m_editor->AddCountry()))
        showCurrent();
}

void TFctyed::UpdateCountryClick()
{
    if (!onPage(DetailsPage))
        return;
    std::string why;
    std::optional<CountryInfo> fields = m_fields->Read(why);
    if (!fields) {
        m_notifier.error(why);
        return;
    }
    if (succeeded(m_editor->UpdateCountry(*fields)))
        showCurrent();
}

void TFctyed::DeleteCountryClick()
{
    if (onPage(DetailsPage) && succeeded(m_editor->DeleteCountry()))
        showCurrent();
}

// --- mappings and calls -----------------------------------------------------------------

void TFctyed::AddMappingClick()
{
    if (!onPage(MappingsPage))
        return;
    int row = m_editor->AddMappingRow();
    TMappingGrid::Fill(m_mapGrid, m_editor->Mappings(), m_options.dateFormat);
    m_mapGrid->setCurrentCell(row, 0);
    m_mapGrid->editItem(m_mapGrid->item(row, 0));
}

void TFctyed::DeleteMappingClick()
{
    if (onPage(MappingsPage) && m_editor->DeleteMappingRow(currentRow(m_mapGrid)))
        TMappingGrid::Fill(m_mapGrid, m_editor->Mappings(), m_options.dateFormat);
}

void TFctyed::UpdateMappingsClick()
{
    if (!onPage(MappingsPage))
        return;
    m_mapGrid->setCurrentItem(nullptr); // ends the editing of a cell
    std::string why;
    auto rows = TMappingGrid::Read(m_mapGrid, m_editor->Mappings(), m_options.dateFormat, why);
    if (!rows) {
        m_notifier.error(why);
        return;
    }
    for (int row = 0; row < static_cast<int>(rows->size()); ++row)
        m_editor->SetMapping(row, (*rows)[row]);
    if (succeeded(m_editor->UpdateMappings()))
        TMappingGrid::Fill(m_mapGrid, m_editor->Mappings(), m_options.dateFormat);
}

void TFctyed::AddCallClick()
{
    if (!onPage(CallsPage))
        return;
    int row = m_editor->AddCallRow();
    TCallGrid::Fill(m_callGrid, m_editor->Calls(), m_options.dateFormat);
    m_callGrid->setCurrentCell(row, 0);
    m_callGrid->editItem(m_callGrid->item(row, 0));
}

void TFctyed::DeleteCallClick()
{
    if (onPage(CallsPage) && m_editor->DeleteCallRow(currentRow(m_callGrid)))
        TCallGrid::Fill(m_callGrid, m_editor->Calls(), m_options.dateFormat);
}

void TFctyed::UpdateCallsClick()
{
    if (!onPage(CallsPage))
        return;
    m_callGrid->setCurrentItem(nullptr);
    std::string why;
    auto rows = TCallGrid::Read(m_callGrid, m_options.dateFormat, why);
    if (!rows) {
        m_notifier.error(why);
        return;
    }
    for (int row = 0; row < static_cast<int>(rows->size()); ++row)
        m_editor->SetCall(row, (*rows)[row]);
    if (succeeded(m_editor->UpdateCalls()))
        TCallGrid::Fill(m_callGrid, m_editor->Calls(), m_options.dateFormat);
}

// --- messages -------------------------------------------------------------------------------

void TFctyed::showMessages()
{
    m_messageList->clear();
    for (const MessageLine &line : m_messages.Lines())
        m_messageList->addItem(ScreenText(line.text));
    m_pages->setCurrentIndex(MessagesPage);
}

void TFctyed::CheckClick()
{
    CheckCountryData(m_data, m_messages);
    showMessages();
}

void TFctyed::MessageActivated(int line)
{
    if (line < 0 || line >= static_cast<int>(m_messages.Count()))
        return;
    const MessageLine &message = m_messages.Lines()[static_cast<std::size_t>(line)];
    if (message.country < 1)
        return;
    ShowCountry(message.country);
    if (message.mapping.empty())
        return;
    m_pages->setCurrentIndex(MappingsPage);
    for (int row = 0; row < static_cast<int>(m_editor->Mappings().size()); ++row)
        if (m_editor->Mappings()[row].prefix == message.mapping) {
            m_mapGrid->setCurrentCell(row, 0);
            break;
        }
}

void TFctyed::MergeClick()
{
    QString file = m_options.chooseOtherFile ? m_options.chooseOtherFile(this) : QString();
    if (file.isEmpty())
        return;
    TCountryData other;
    bool otherIsOld = false;
    try {
        otherIsOld = ReadCountryBytes(ReadWholeFile(file.toStdString()), other);
    } catch (const std::exception &error) {
        m_notifier.error(std::string(CountryText::FailedReading) + "\r" + file.toStdString() + "\r" + error.what());
        return;
    }
    MergeOptions options;
    options.dateFormat = m_options.dateFormat;
    options.progress = m_options.progress;
    options.ask = [this](const std::string &question) { return m_notifier.confirm(question, Buttons::YesNo) == Answer::Yes; };
    MergeCountryData(m_data, other, otherIsOld, m_messages, options);
    ShowCountry(m_editor->Current()); // with the merged calls of the country shown
    showMessages();
}

// --- leaving --------------------------------------------------------------------------------

void TFctyed::SaveAndExit()
{
    if (m_data.CountryDataNeedsSaving() &&
        !SaveCountryFile(m_data, CountryTarget::MainFile, m_options.cycleFiles, m_notifier))
        return; // told; the changes stay for another try or Cancel
    m_leaving = true;
    accept();
}

void TFctyed::reloadCountryFile()
{
    m_data.FreeCountryData();
    LoadCountryFile(m_data, m_notifier);
}

void TFctyed::CancelAndExit()
{
    if (m_editor->Changed() || m_data.CountryModified)
        reloadCountryFile();
    m_leaving = true;
    QDialog::reject();
}

void TFctyed::reject()
{
    if (!m_leaving)
        CancelAndExit(); // the close box and Escape drop the changes too
}

// --- registration ---------------------------------------------------------------------------

namespace {

/// Opens the editor, modal, over the program's country data; refused while a log is open.
void openCountryEditor(WindowHost &host)
{
    ProgramContext &context = host.Context();
    if (context.Log()) {
        host.Notifier().error("Please close the log before you edit the countries");
        return;
    }
    TFctyed::Options options;
    options.dateFormat = context.Settings().dateFormat();
    options.cycleFiles = context.Settings().cycleFiles();
    options.chooseOtherFile = [](QWidget *parent) {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Merge Other Country File"),
                                            QString::fromStdString(SaveDir()),
                                            QStringLiteral("VELLUM country file (*.CTY *.cty)"));
    };
    TFctyed(context.Countries(), host.Notifier(), std::move(options), host.MainWindow()).exec();
}

} // namespace

void RegisterCountryEditorWindows(WindowHost &host)
{
    WindowHost::MenuItem item{QStringLiteral("&Databases"), QStringLiteral("Countries1"), QStringLiteral("&Countries"),
                              {}, [&host] { openCountryEditor(host); }};
    item.enabled = [&host] { return host.Context().Config().Personal_UserLevel >= 2; };
    host.AddMenuItem(std::move(item));
    // The user level may have changed: the item's enabling follows.
    host.Handle(HostMessage::SettingsChanged, &host, [&host] { host.QsoMenusChanged(); });
}

} // namespace vellum
