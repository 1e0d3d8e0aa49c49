#include "Fcalendar.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "logstore/Fdialogs.h"
#include "logstore/selection.h"
#include "logstore/services.h"

#include <QComboBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vellum {

// --- TCalDateField -----------------------------------------------------------------

TCalDateField::TCalDateField(const char *name, DateFormat format, QWidget *parent)
    : QLineEdit(parent), m_format(format)
{
    setObjectName(QString::fromLatin1(name));
    setToolTip(QStringLiteral("Use Ctrl Up/Dn to change date"));
}

std::optional<std::uint16_t> TCalDateField::Date() const
{
    return ParseDate(CoreText(text().trimmed()), m_format);
}

void TCalDateField::SetDate(std::optional<std::uint16_t> day)
{
    setText(day ? ScreenText(FormatDate(*day, m_format, false)) : QString());
}

void TCalDateField::keyPressEvent(QKeyEvent *event)
{
    bool up = event->key() == Qt::Key_Up, down = event->key() == Qt::Key_Down;
    if (!(up || down) || !(event->modifiers() & Qt::ControlModifier)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (auto day = Date()) {
        SetDate(StepDate(*day, up ? 1 : -1));
        emit stepped();
    }
}

// --- TFCalendar ----------------------------------------------------------------------

TFCalendar::TFCalendar(Options options, UserNotifier &notifier, QWidget *parent)
    : QWidget(parent, Qt::Window), m_options(std::move(options)), m_notifier(notifier)
{
    setObjectName(QStringLiteral("FCalendar"));
    setWindowTitle(QStringLiteral("Events calendar"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *layout = new QVBoxLayout(this);
    auto *menus = new QMenuBar(this);
    QMenu *file = menus->addMenu(QStringLiteral("File"));
    QAction *save = file->addAction(QStringLiteral("Save Changes and exit"), this, &TFCalendar::SaveAndExit);
    save->setObjectName(QStringLiteral("SaveExit1"));
    QAction *cancel = file->addAction(QStringLiteral("Cancel Changes and exit"), this, &TFCalendar::CancelAndExit);
    cancel->setObjectName(QStringLiteral("CancelExit1"));
    layout->setMenuBar(menus);

    m_pages = new QTabWidget(this); // unnamed: the window style leaves the tabs' font alone, so they fit their captions
    m_pages->setUsesScrollButtons(false);
    m_pages->addTab(buildTodayPage(), QStringLiteral("Today"));
    m_pages->addTab(buildEditPage(), QStringLiteral("Edit events"));
    layout->addWidget(m_pages);
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == 0)
            ListToday();
    });

    CalendarLoad load = LoadCalendarFile(m_calendar, m_options.fileName, true);
    if (load.state == CalendarFileState::Damaged)
        m_notifier.error(std::string(CalendarText::Damaged) + "\r" + m_options.fileName + "\r" + load.reason +
                         (load.keptAs.empty() ? "" : "\rIt was kept as " + load.keptAs));
    fillNotes();
    m_today->SetDate(m_options.today);
    ListToday();
    resize(560, 340);
}

QWidget *TFCalendar::buildTodayPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    m_today = new TCalDateField("F_today", m_options.dateFormat, page);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Day"), m_today);
    layout->addLayout(form);
    m_list = NamedWidget<QListWidget>("LB", page);
    layout->addWidget(m_list);
    connect(m_today, &TCalDateField::stepped, this, &TFCalendar::ListToday);
    return page;
}

QWidget *TFCalendar::buildEditPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    auto *form = new QFormLayout;
    m_start = new TCalDateField("F_start", m_options.dateFormat, page);
    m_end = new TCalDateField("F_end", m_options.dateFormat, page);
    m_note = NamedWidget<QComboBox>("F_Note", page);
    m_note->setEditable(true);
    m_note->setInsertPolicy(QComboBox::NoInsert);
    m_note->lineEdit()->setMaxLength(static_cast<int>(CalEventField::NoteCapacity));
    form->addRow(QStringLiteral("Start"), m_start);
    form->addRow(QStringLiteral("End"), m_end);
    form->addRow(QStringLiteral("Event"), m_note);
    layout->addLayout(form);
    layout->addLayout(ButtonRow(page, {{"AddBtn", "Add new"}, {"DeleteBtn", "Delete"}, {"CleanupBtn", "Cleanup"}}));
    layout->addStretch();
    NamedButton(page, "AddBtn")->setToolTip(QStringLiteral("Add this event"));
    NamedButton(page, "DeleteBtn")->setToolTip(QStringLiteral("Delete this event"));
    NamedButton(page, "CleanupBtn")->setToolTip(QStringLiteral("Delete expired events"));
    connect(NamedButton(page, "AddBtn"), &QPushButton::clicked, this, &TFCalendar::AddClick);
    connect(NamedButton(page, "DeleteBtn"), &QPushButton::clicked, this, &TFCalendar::DeleteClick);
    connect(NamedButton(page, "CleanupBtn"), &QPushButton::clicked, this, &TFCalendar::CleanupClick);
    connect(m_note, &QComboBox::activated, this, &TFCalendar::SelectEvent);
    connect(m_start, &QLineEdit::editingFinished, this, &TFCalendar::startLeft);
    connect(m_start, &TCalDateField::stepped, this, &TFCalendar::startLeft);
    return page;
}

void TFCalendar::ListToday()
{
    m_list->clear();
    auto day = m_today->Date();
    if (!day)
        return;
    for (const std::string &note : m_calendar.NotesOn(*day))
        m_list->addItem(ScreenText(note));
}

void TFCalendar::fillNotes()
{
    m_note->clear();
    for (const std::string &note : m_calendar.Notes())
        m_note->addItem(ScreenText(note));
    SelectEvent(0);
}

void TFCalendar::SelectEvent(int index)
{
    m_note->setCurrentIndex(index < m_calendar.Count() ? index : -1);
    if (index < 0 || index >= m_calendar.Count()) {
        m_start->clear();
        m_end->clear();
        return;
    }
    CalEvent event = m_calendar.At(index);
    m_start->SetDate(event.startDay);
    m_end->SetDate(event.endDay);
}

void TFCalendar::startLeft()
{
    auto start = m_start->Date(), end = m_end->Date();
    if (start && (!end || *end < *start))
        m_end->SetDate(start);
}

void TFCalendar::AddClick()
{
    auto start = m_start->Date(), end = m_end->Date();
    std::optional<std::int32_t> index;
    if (start && end)
        index = m_calendar.Add(*start, *end, CoreText(m_note->currentText()));
    if (!index) {
        m_notifier.warning(CalendarText::CheckDates);
        return;
    }
    m_note->insertItem(*index, ScreenText(m_calendar.At(*index).note));
    SelectEvent(*index);
}

void TFCalendar::DeleteClick()
{
    int index = m_note->currentIndex();
    if (index < 0 || index >= m_calendar.Count())
        return;
    m_calendar.Remove(index);
    m_note->removeItem(index);
    SelectEvent(std::min(index, m_calendar.Count() - 1));
}

void TFCalendar::CleanupClick()
{
    m_calendar.Cleanup(m_options.today);
    fillNotes();
}

void TFCalendar::SaveAndExit()
{
    try {
        SaveCalendarFile(m_calendar, m_options.fileName, m_options.cycleFiles);
    } catch (const EFileError &error) {
        m_notifier.error(error.what());
        return;
    }
    close();
}

void TFCalendar::CancelAndExit() { close(); }

// --- registration ---------------------------------------------------------------------

namespace {

/// The one calendar window of the program.
class CalendarOpener : public QObject {
public:
    explicit CalendarOpener(WindowHost &host) : QObject(&host), m_host(host) {}

    void Open()
    {
        if (!m_window) {
            const LogSettings &settings = m_host.Context().Settings();
            TFCalendar::Options options{CalendarFileName(), settings.dateFormat(), settings.cycleFiles(),
                                        TodayDayNumber()};
            m_window = new TFCalendar(std::move(options), m_host.Notifier(), m_host.MainWindow());
        }
        m_window->show();
        m_window->raise();
        m_window->activateWindow();
    }

    void StartupCheck()
    {
        if (CalendarHasEventOn(CalendarFileName(), TodayDayNumber()))
            Open();
    }

private:
    WindowHost &m_host;
    QPointer<TFCalendar> m_window;
};

} // namespace

void RegisterCalendarWindows(WindowHost &host)
{
    auto *opener = new CalendarOpener(host);
    host.AddMenuItem({QStringLiteral("&File"), QStringLiteral("Calendar1"), QStringLiteral("Calendar"), {},
                      [opener] { opener->Open(); }});
    host.Handle(HostMessage::CalendarCheck, opener, [opener] { opener->StartupCheck(); });
}

} // namespace vellum
