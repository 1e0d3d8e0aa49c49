#include "Fputout.h"

#include "Fcluster.h"
#include "spotannounce.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "app/windowservices.h"
#include "config/configrecord.h"
#include "logstore/daytime.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/qsotables.h"
#include "logstore/services.h"
#include "qso/qsoentry.h"
#include "station/Fcwkeyer.h"
#include "station/Fstation.h"
#include "station/morsesender.h"
#include "station/radiocontrol.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QShowEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace vellum {

namespace {

constexpr int ColumnCount = 7;
const char *const ColumnNames[ColumnCount] = {"Freq", "Callsign", "Time", "QSX", "Remarks", "Spotter", "Date"};
constexpr int ColumnChars[ColumnCount] = {10, 12, 5, 10, 30, 12, 8};
constexpr Qt::Alignment ColumnAlignment[ColumnCount] = {Qt::AlignRight, Qt::AlignLeft, Qt::AlignHCenter,
                                                        Qt::AlignRight, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignLeft};
constexpr int OldSpotMinutes = 120;
constexpr int QueueSliceMs = 50;
const char *const AwardColours[3] = {"DXCC colors", "WAZ colors", "WPX colors"};
const AwardIndex ColourAwards[3] = {AwardDXCC, AwardWAZ, AwardWPX};

QColor colourOf(std::int32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

QString kiloHertz(double kHz, bool thousands)
{
    QString text = QString::number(kHz, 'f', 1);
    if (!thousands)
        return text;
    int point = static_cast<int>(text.indexOf('.'));
    for (int at = point - 3; at > 0 && text[at - 1].isDigit(); at -= 3)
        text.insert(at, ',');
    return text;
}

} // namespace

std::string SpotFileName() { return SaveDir() + "/VELLUM.PUT"; }

// --- the table ---------------------------------------------------------------------------

SpotTableModel::SpotTableModel(const SpotList &list, const TConfigRecord &config, QObject *parent)
    : QAbstractTableModel(parent), m_list(list), m_config(config)
{
}

int SpotTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_list.Count());
}

int SpotTableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString SpotTableModel::text(const TSpotRecord &spot, int column) const
{
    switch (column) {
    case 0: return kiloHertz(spot.Freq, true);
    case 1: return QString::fromLatin1(spot.Call.data(), static_cast<int>(spot.Call.size()));
    case 2: return QString::fromStdString(FormatTime(spot.Time.get() * 60, false));
    case 3: return spot.Qsx.get() == 0 ? QString() : kiloHertz(spot.Qsx, false);
    case 4: return QString::fromLatin1(spot.Remarks.data(), static_cast<int>(spot.Remarks.size()));
    case 5: return QString::fromLatin1(spot.Spotter.data(), static_cast<int>(spot.Spotter.size()));
    case 6: {
        auto format = static_cast<DateFormat>(std::clamp<int>(m_config.Personal_DateFormat, 1, 3));
        return QString::fromStdString(FormatDate(spot.Date, format, true));
    }
    }
    return {};
}

QVariant SpotTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TSpotRecord &spot = m_list.At(static_cast<std::size_t>(index.row()));
    int rank = spot.ClassNumber();
    QColor classColour = colourOf(m_config.SpotColors[static_cast<std::size_t>(rank - 1)]);
    bool inverted = rank <= 2; // new countries and modes stand out
    switch (role) {
    case Qt::DisplayRole: return text(spot, index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ColumnAlignment[index.column()] | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        return inverted ? QVariant(QApplication::palette().color(QPalette::Base)) : QVariant(classColour);
    case Qt::BackgroundRole: return inverted ? QVariant(classColour) : QVariant();
    case Qt::UserRole: return rank;
    }
    return {};
}

QVariant SpotTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return QString::fromLatin1(ColumnNames[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void SpotTableModel::Reset()
{
    beginResetModel();
    endResetModel();
}

// --- talk messages -----------------------------------------------------------------------

TFTalkMessages::TFTalkMessages(SpotIntake &intake, QWidget *parent) : QWidget(parent, Qt::Window), m_intake(intake)
{
    setObjectName(QStringLiteral("TalkMessages"));
    setWindowTitle(QStringLiteral("Talk messages and announcements"));
    auto *layout = new QVBoxLayout(this);
    m_lines = new QListWidget(this);
    m_lines->setObjectName(QStringLiteral("TalkLines"));
    auto *clear = new QPushButton(QStringLiteral("Clear"), this);
    clear->setObjectName(QStringLiteral("ClearTalk"));
    connect(clear, &QPushButton::clicked, this, [this] {
        m_intake.ClearTalk();
        ShowLines();
    });
    layout->addWidget(m_lines);
    layout->addWidget(clear);
    resize(520, 260);
}

void TFTalkMessages::ShowLines()
{
    m_lines->clear();
    for (const std::string &line : m_intake.TalkList())
        m_lines->addItem(QString::fromLatin1(line.c_str()));
    m_lines->scrollToBottom();
}

// --- the spot list -------------------------------------------------------------------------

TPutoutW::TPutoutW(TClusterStation &station, QWidget *parent)
    : QWidget(parent, Qt::Window), m_station(station), m_config(station.Config()), m_notifier(station.Notifier()),
      m_list(station.Config().Packet_max_putout),
      m_ranker(station.Host().Context().Awards(), station.Config(), [&station] { return station.Host().Context().Log(); }),
      m_intake(m_list, m_ranker, station.Config(), station.Host().Context().Resolver())
{
    setObjectName(QStringLiteral("SpotList"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_model = new SpotTableModel(m_list, station.Config(), this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("SpotTable"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->setWordWrap(false);
    m_table->setContextMenuPolicy(Qt::NoContextMenu);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { selectionMoved(); });
    connect(m_table, &QTableView::doubleClicked, this, [this] { Grab(true); });
    m_table->installEventFilter(this);
    buildMenu();
    loadSpotFile();
}

TPutoutW::~TPutoutW()
{
    SaveSpotFile();
    storeLayout();
}

void TPutoutW::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_columnsSized)
        return;
    // The columns are sized once the window has its fonts: stored widths when all
    // seven are there, else the initial widths in characters.
    m_columnsSized = true;
    const TConfigRecord &config = m_config;
    bool stored = std::all_of(config.PACKETCOL.begin(), config.PACKETCOL.end(), [](const LeU16 &w) { return w.get() != 0; });
    int charWidth = m_table->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    int total = 0;
    for (int column = 0; column < ColumnCount; ++column) {
        int width = stored ? config.PACKETCOL[static_cast<std::size_t>(column)].get() : ColumnChars[column] * charWidth + 12;
        m_table->setColumnWidth(column, width);
        total += width;
    }
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    resize(total + 24, height());
}

void TPutoutW::storeLayout()
{
    TConfigRecord &config = m_config;
    for (int column = 0; column < ColumnCount; ++column)
        config.PACKETCOL[static_cast<std::size_t>(column)] =
            static_cast<std::uint16_t>(std::clamp(m_table->columnWidth(column), 1, 65535));
    config.SpotSortOrder = static_cast<std::uint8_t>(m_list.Order());
}

void TPutoutW::loadSpotFile()
{
    m_suspended = true;
    SpotFileContents contents;
    try {
        contents = ReadSpotFile(SpotFileName());
    } catch (const std::exception &error) {
        m_notifier.error(std::string("The spot file could not be read:\r") + error.what());
    }
    if (contents.state == SpotFileState::Incompatible)
        m_notifier.warning("Incompatible DXSPOT file ignored");
    if (contents.state == SpotFileState::Damaged)
        m_notifier.warning("The spot file is damaged: the spots it held whole were read.\rThe file was kept as " +
                                     contents.setAsideAs);
    for (TSpotRecord &spot : contents.spots)
        m_intake.Recompute(spot);
    if (m_config.Packet_IgnoreGray)
        std::erase_if(contents.spots, [](const TSpotRecord &spot) { return spot.Class == '6'; });
    m_list.Load(std::move(contents.spots));
    int order = m_config.SpotSortOrder;
    m_list.SetOrder(order < SpotOrderCount ? static_cast<SpotOrder>(order) : SpotOrder::Time);
    m_model->Reset();
    listChanged(true);
    m_changed = contents.state != SpotFileState::Read && contents.state != SpotFileState::Missing;
    m_suspended = false;
}

bool TPutoutW::SaveSpotFile()
{
    if (!m_changed)
        return true;
    try {
        WriteSpotFile(SpotFileName(), m_list.Spots(), m_config.DefQSO_Cycle);
        m_changed = false;
        return true;
    } catch (const std::exception &error) {
        m_notifier.error(std::string("The spot file could not be written:\r") + error.what());
        return false;
    }
}

// --- lines in ---------------------------------------------------------------------------------

void TPutoutW::Receive(const std::string &line)
{
    if (!m_suspended && !m_station.Host().LogReading())
        m_intake.Queue(line);
}

void TPutoutW::FeedFile(const std::string &fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        m_notifier.error("The spot file " + fileName + " could not be read");
        return;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        Receive(line);
    }
}

void TPutoutW::ProcessQueue()
{
    if (m_rankDue)
        Rerank();
    if (m_intake.Waiting() == 0 || m_station.Host().LogReading())
        return;
    bool flood = m_intake.Waiting() > 4;
    if (flood)
        m_table->setUpdatesEnabled(false);
    bool added = false;
    bool talked = false;
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(QueueSliceMs);
    std::string line;
    while (std::chrono::steady_clock::now() < until && m_intake.TakeLine(line)) {
        LineOutcome outcome = m_intake.ProcessLine(line);
        talked = talked || outcome.kind == LineKind::Talk;
        if (outcome.added == SpotAdded::Dropped)
            continue;
        added = true;
        if (outcome.announce)
            announce(outcome.spot);
    }
    afterAdding(added);
    if (flood)
        m_table->setUpdatesEnabled(true);
    if (talked)
        talk();
    if (m_intake.Waiting() > 0) // more to do: come back after the events that wait
        QTimer::singleShot(0, this, [this] { ProcessQueue(); });
}

void TPutoutW::afterAdding(bool added)
{
    if (!added)
        return;
    m_model->Reset();
    listChanged(!m_holding);
    m_changed = true;
    m_station.Host().Post(HostMessage::BackupDue);
}

void TPutoutW::AddDecodedSpot(const std::string &call, double kHz, int mode, int minutes, const std::string &remarks,
                              const std::string &spotter)
{
    if (m_suspended || m_station.Host().LogReading() || !IsSpotCallsign(call) || call.size() > 12)
        return;
    TSpotRecord spot;
    spot.Freq = kHz;
    spot.Call = call;
    spot.Spotter = spotter;
    spot.Remarks = std::string_view(remarks).substr(0, 33);
    spot.Date = TodayDayNumber();
    spot.Time = static_cast<std::uint16_t>(std::clamp(minutes, 0, 1439));
    m_intake.Recompute(spot);
    if (spot.Band == 0)
        return;
    if (mode > 0) { // the program said which mode it decoded
        spot.Mode = static_cast<std::uint8_t>(mode);
        spot.Class = m_ranker.ClassOf(spot);
    }
    LineOutcome outcome = m_intake.AddSpot(spot);
    if (outcome.announce)
        announce(outcome.spot);
    afterAdding(outcome.added != SpotAdded::Dropped);
}

void TPutoutW::Rerank()
{
    m_rankDue = false;
    std::optional<TSpotRecord> selected = Selected();
    m_list.ChangeEach([this](TSpotRecord &spot) { spot.Class = m_ranker.ClassOf(spot); });
    if (m_config.Packet_IgnoreGray)
        m_list.RemoveIf([](const TSpotRecord &spot) { return spot.Class == '6'; });
    m_model->Reset();
    if (selected)
        if (std::optional<std::size_t> row = m_list.RowOfArrival(selected->Arrival))
            SelectRow(static_cast<int>(*row));
}

void TPutoutW::SettingsChanged()
{
    std::size_t before = m_list.Count();
    m_list.SetCapacity(m_config.Packet_max_putout);
    if (m_list.Count() != before)
        m_changed = true;
    Rerank();
}

void TPutoutW::HoldDisplay(bool hold) { m_table->setUpdatesEnabled(!hold); }

// --- selection and view ---------------------------------------------------------------------------

std::optional<TSpotRecord> TPutoutW::Selected() const
{
    int row = m_table->currentIndex().row();
    if (row < 0 || row >= static_cast<int>(m_list.Count()))
        return std::nullopt;
    return m_list.At(static_cast<std::size_t>(row));
}

void TPutoutW::SelectRow(int row)
{
    if (row < 0 || row >= static_cast<int>(m_list.Count()))
        return;
    m_table->setCurrentIndex(m_model->index(row, 0));
    m_table->scrollTo(m_model->index(row, 0));
    selectionMoved();
}

void TPutoutW::listChanged(bool selectLast)
{
    if (selectLast && m_list.Count() > 0) {
        SelectRow(static_cast<int>(m_list.Count()) - 1);
        m_table->scrollToBottom();
    }
    updateCaption();
}

void TPutoutW::selectionMoved()
{
    std::optional<TSpotRecord> spot = Selected();
    if (!spot || spot->Arrival.get() == m_shownArrival)
        return;
    m_shownArrival = spot->Arrival;
    if (QsoEntry *entry = m_station.Host().Entry())
        entry->SpotCall(spot->Call.str(), spot->Date);
    if (m_config.Packet_ShowOnApp)
        QGuiApplication::setApplicationDisplayName(QString::fromLatin1(spot->Call.data(), static_cast<int>(spot->Call.size())));
}

void TPutoutW::SetHolding(bool holding)
{
    m_holding = holding;
    if (!holding && m_list.Count() > 0)
        m_table->scrollToBottom();
    updateCaption();
}

void TPutoutW::SetOrder(SpotOrder order)
{
    std::optional<TSpotRecord> selected = Selected();
    m_list.SetOrder(order);
    m_model->Reset();
    if (selected)
        if (std::optional<std::size_t> row = m_list.RowOfArrival(selected->Arrival))
            SelectRow(static_cast<int>(*row));
    if (order == SpotOrder::Frequency) {
        m_holding = true;
        if (TStation *station = StationOf(m_station.Host()))
            station->Radio().RequestPoll();
    }
    m_changed = true;
    updateCaption();
}

void TPutoutW::SetAward(AwardIndex award)
{
    m_ranker.SetAward(award);
    Rerank();
    updateCaption();
}

void TPutoutW::RadioFrequency(double kHz)
{
    if (!FollowsRadio())
        return;
    m_holding = true;
    if (std::optional<std::size_t> row = m_list.NearestTo(kHz))
        SelectRow(static_cast<int>(*row));
    updateCaption();
}

QString TPutoutW::Caption() const
{
    const char *award = m_ranker.Award() == AwardWAZ ? "WAZ" : m_ranker.Award() == AwardWPX ? "WPX" : "DXCC";
    QString caption = QStringLiteral("DX spots [%1] sorted by %2")
                          .arg(QString::fromLatin1(award), QString::fromLatin1(SpotOrderNames[static_cast<int>(m_list.Order())]));
    return m_holding ? caption + QStringLiteral(" (HOLDING)") : caption;
}

void TPutoutW::updateCaption() { setWindowTitle(Caption()); }

void TPutoutW::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!m_holding && m_list.Count() > 0)
        m_table->scrollToBottom();
}

// --- announcements and talk -----------------------------------------------------------------------

void TPutoutW::announce(const TSpotRecord &spot)
{
    ++m_announced;
    auto voice = static_cast<SpotVoice>(m_config.Packet_DXVoice.get());
    if (voice == SpotVoice::SystemBeep) {
        QApplication::beep();
        return;
    }
    if (voice == SpotVoice::CwAnnounce) {
        if (TStation *station = StationOf(m_station.Host()))
            station->Keyer().Sender().Queue(CwAnnouncement(spot));
        return;
    }
    m_station.Announcer().Queue(spot);
}

void TPutoutW::CancelAnnouncements() { m_station.Announcer().Cancel(); }

void TPutoutW::talk()
{
    int action = m_config.Packet_talkaction;
    if (action == 1 || action == 3)
        QApplication::beep();
    if (action < 2)
        return;
    bool created = !m_talk;
    ViewAnnouncements();
    if (action == 2 && created)
        activateWindow(); // the list keeps the focus
    if (action == 3) {
        if (QWidget *main = m_station.Host().MainWindow())
            main->showNormal();
        m_talk->raise();
    }
}

void TPutoutW::ViewAnnouncements()
{
    if (!m_talk)
        m_talk = new TFTalkMessages(m_intake, this);
    m_talk->ShowLines();
    m_talk->show();
}

// --- the radio ----------------------------------------------------------------------------------------

bool TPutoutW::radioRunning() const
{
    TStation *station = StationOf(m_station.Host());
    return station && station->Radio().Running();
}

bool TPutoutW::tune(const TSpotRecord &spot, bool checkRange)
{
    TStation *station = StationOf(m_station.Host());
    if (!station || !station->Radio().Running())
        return false;
    double freq = spot.Freq;
    double qsx = spot.Qsx;
    bool tuned = false;
    station->Radio().Guard([&](RadioLink &radio) {
        if (checkRange && (radio.OutOfRange(freq) || (qsx != 0 && radio.OutOfRange(qsx)))) {
            m_notifier.error("Bad frequency for radio");
            return;
        }
        if (radio.ReadStatus())
            m_returnTo = radio.Last();
        bool split = qsx != 0 && qsx != freq;
        tuned = radio.SetRadio(spot.Mode, split, split ? qsx : freq, freq);
    });
    return tuned;
}

void TPutoutW::Grab(bool tuneRadio)
{
    std::optional<TSpotRecord> spot = Selected();
    if (!spot)
        return;
    QsoEntry *entry = m_station.Host().Entry();
    if (tuneRadio || !entry)
        tune(*spot, true);
    if (entry && entry->TakeSpot(spot->Call.str(), spot->Band, spot->Mode))
        m_station.Host().FocusQsoWindow();
}

void TPutoutW::Listen()
{
    std::optional<TSpotRecord> spot = Selected();
    if (!spot || !radioRunning())
        return;
    SetHolding(true);
    tune(*spot, false);
}

void TPutoutW::Monitor()
{
    std::optional<TSpotRecord> spot = Selected();
    if (!spot || !radioRunning())
        return;
    TConfigRecord &config = m_config;
    for (TScanChannel &channel : config.ScanChannel) {
        if (channel.InUse || !channel.Label.empty())
            continue;
        channel.InUse = true;
        channel.Label = (spot->Call.str() + " " + spot->Remarks.str()).substr(0, 20);
        channel.Freq = spot->Freq.get();
        channel.Freq2 = spot->Qsx.get();
        channel.Mode = static_cast<std::uint8_t>(RadioModeOf(spot->Mode)); // a channel holds a classic mode
        SetHolding(true);
        return;
    }
    m_notifier.warning("No free scanner channel available to monitor");
}

void TPutoutW::ReturnToLastFrequency()
{
    TStation *station = StationOf(m_station.Host());
    if (!station || !station->Radio().Running() || !m_returnTo)
        return; // nothing was tuned yet: the radio stays where it is
    RadioState back = *m_returnTo;
    station->Radio().Guard([&back](RadioLink &radio) { radio.SetRadio(back.mode, back.split, back.secondKHz, back.rxKHz); });
}

// --- list commands ----------------------------------------------------------------------------------------

void TPutoutW::DeleteSelected()
{
    int row = m_table->currentIndex().row();
    if (row < 0 || row >= static_cast<int>(m_list.Count()))
        return;
    m_list.Remove(static_cast<std::size_t>(row));
    m_model->Reset();
    m_changed = true;
    SelectRow(std::min(row, static_cast<int>(m_list.Count()) - 1));
}

void TPutoutW::ClearAll()
{
    m_list.Clear();
    m_model->Reset();
    m_changed = true;
    updateCaption();
}

void TPutoutW::DeleteOld()
{
    if (m_list.RemoveOlderThan(TodayDayNumber(), static_cast<int>(NowUtcSeconds() / 60), OldSpotMinutes) > 0) {
        m_model->Reset();
        m_changed = true;
    }
}

bool TPutoutW::WriteSpots(const std::string &fileName)
{
    std::error_code error;
    std::filesystem::path parent = std::filesystem::path(fileName).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, error);
    std::string text;
    for (std::size_t row = 0; row < m_list.Count(); ++row)
        text += SpotCsvLine(m_list.At(row)) + "\r\n";
    try {
        WriteWholeFile(fileName, std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()), false);
    } catch (const std::exception &failure) {
        m_notifier.error(std::string("The spots could not be written:\r") + failure.what());
        return false;
    }
    m_notifier.information(SpotsWrittenText(m_list.Count()));
    return true;
}

void TPutoutW::chooseFileAndWrite()
{
    if (m_list.Count() == 0)
        return;
    QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Write spots to File"), QString(),
                                                QStringLiteral("Comma separated (*.csv)"));
    if (!file.isEmpty())
        WriteSpots(file.toStdString());
}

// --- menu and keys -------------------------------------------------------------------------------------------

void TPutoutW::buildMenu()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("SpotMenu"));
    auto add = [this](const char *name, const char *caption, QKeySequence key, auto handler) {
        QAction *action = m_menu->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key); // shown in the menu; the keys are taken by keyPressEvent
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    add("DeleteSpot", "Delete", QKeySequence(Qt::CTRL | Qt::Key_D), [this] { DeleteSelected(); });
    add("GrabAndSetRadio", "Grab spot and set radio", QKeySequence(Qt::Key_Return), [this] { Grab(true); });
    add("GrabOnly", "Grab spot only", QKeySequence(Qt::ALT | Qt::Key_Return), [this] { Grab(false); });
    QAction *listen = add("Listen", "Listen", QKeySequence(Qt::CTRL | Qt::Key_L), [this] { Listen(); });
    QAction *monitor = add("Monitor", "Monitor", QKeySequence(Qt::CTRL | Qt::Key_M), [this] { Monitor(); });
    QAction *back = add("ReturnToLastFreq", "Return to last Freq", QKeySequence(Qt::CTRL | Qt::Key_Return),
                        [this] { ReturnToLastFrequency(); });
    QMenu *sort = m_menu->addMenu(QStringLiteral("Sort"));
    auto *orders = new QActionGroup(sort);
    for (int order = 0; order < SpotOrderCount; ++order) {
        QAction *action = sort->addAction(QString::fromLatin1(SpotOrderNames[order]));
        action->setObjectName(QStringLiteral("Sort%1").arg(QString::fromLatin1(SpotOrderNames[order])));
        action->setCheckable(true);
        orders->addAction(action);
        connect(action, &QAction::triggered, this, [this, order] { SetOrder(static_cast<SpotOrder>(order)); });
    }
    add("ToggleHolding", "Toggle holding", QKeySequence(Qt::Key_Insert), [this] { SetHolding(!m_holding); });
    add("ViewAnnouncements", "View announcements", QKeySequence(), [this] { ViewAnnouncements(); });
    m_menu->addSeparator();
    auto *awards = new QActionGroup(m_menu);
    for (int i = 0; i < 3; ++i) {
        QAction *action = add(AwardColours[i], AwardColours[i], QKeySequence(), [this, i] { SetAward(ColourAwards[i]); });
        action->setCheckable(true);
        action->setChecked(i == 0);
        awards->addAction(action);
    }
    m_menu->addSeparator();
    add("CancelAnnouncements", "Cancel spot announcements", QKeySequence(Qt::Key_Escape), [this] { CancelAnnouncements(); });
    add("ClearAllSpots", "Clear All Spots", QKeySequence(), [this] { ClearAll(); });
    add("DeleteOldSpots", "Delete old spots (2 Hrs)", QKeySequence(), [this] { DeleteOld(); });
    add("WriteSpotsToFile", "Write spots to File", QKeySequence(), [this] { chooseFileAndWrite(); });
    connect(m_menu, &QMenu::aboutToShow, this, [this, listen, monitor, back, orders] {
        bool radio = radioRunning();
        listen->setEnabled(radio);
        monitor->setEnabled(radio);
        back->setEnabled(radio);
        orders->actions().at(static_cast<int>(m_list.Order()))->setChecked(true);
    });
}

void TPutoutW::contextMenuEvent(QContextMenuEvent *event) { m_menu->popup(event->globalPos()); }

bool TPutoutW::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress && commandKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TPutoutW::keyPressEvent(QKeyEvent *event)
{
    if (!commandKey(event))
        QWidget::keyPressEvent(event);
}

bool TPutoutW::commandKey(QKeyEvent *event)
{
    QKeyCombination combination = event->keyCombination();
    if (combination.key() == Qt::Key_Enter) // the keypad's Enter works as Return does
        combination = QKeyCombination(combination.keyboardModifiers() & ~Qt::KeypadModifier, Qt::Key_Return);
    QKeySequence pressed(combination);
    for (QAction *action : m_menu->findChildren<QAction *>())
        if (!action->shortcut().isEmpty() && action->shortcut() == pressed) {
            action->trigger();
            return true;
        }
    return false;
}

} // namespace vellum
