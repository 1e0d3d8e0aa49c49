#include "Fqso.h"

#include "Fpicklist.h"
#include "logstore/Fdaterange.h"
#include "logstore/Fgroups.h"
#include "logstore/Fselect.h"
#include "logstore/selection.h"
#include "Fsamecal.h"
#include "Fmastercomp.h"
#include "countrylookups.h"
#include "awards/awardqueries.h"
#include "awards/customaward.h"
#include "country/addresses.h"
#include "fxsummary.h"
#include "Fqsodialogs.h"
#include "banddecoder.h"
#include "qsochecks.h"
#include "qsosearch.h"

#include "app/Fmain.h"
#include "logstore/Ftext.h"
#include "app/windowservices.h"
#include "config/configrecord.h"
#include "country/countrydata.h"
#include "country/resolver.h"
#include "geo/bearing.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"
#include "logstore/qsotables.h"
#include "logstore/report.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace vellum {

namespace {

const AwardFlagPair &flagPair(const char *award)
{
    for (const auto &pair : AwardFlagTable)
        if (std::string_view(pair.name) == award)
            return pair;
    return AwardFlagTable[0];
}

const char *const YesNoWheels[] = {"Fqso_labelx", "Fqso_confx", "Fqso_qrpx", "Fqso_ylx"};
const std::uint8_t YesNoFlags[] = {QslFlag::Label, QslFlag::Cnfm, QslFlag::QRP, QslFlag::YLop};

QStringList modeNames()
{
    QStringList names;
    for (int i = 1; i < ModeCount; ++i)
        names << QString::fromLatin1(ModeTable[i].name);
    return names;
}

QStringList bandNames(bool mhz)
{
    QStringList names;
    for (int i = 1; i < BandCount; ++i)
        names << QString::fromStdString(BandLabel(i, mhz));
    return names;
}

std::optional<std::int32_t> parseTime(const QString &text)
{
    QStringList parts = text.trimmed().split(':');
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    bool ok1 = false, ok2 = false, ok3 = true;
    int h = parts[0].toInt(&ok1), m = parts[1].toInt(&ok2), s = parts.size() == 3 ? parts[2].toInt(&ok3) : 0;
    if (!ok1 || !ok2 || !ok3)
        return std::nullopt;
    return TimeOfDay(h, m, s);
}

/// What a search needs from the country data, the notes and the manager table.
class FormSearchContext : public SearchContext {
public:
    FormSearchContext(const TCountryData &countries, const TQsoData &log, const QsoLookups &lookups,
                      const std::function<std::pair<std::uint16_t, std::uint16_t>(std::uint16_t)> &asker)
        : m_countries(countries), m_log(log), m_lookups(lookups), m_asker(asker)
    {
    }
    std::string CountryPrefix(const TQsoRec &rec) const override { return std::string(m_countries.CountryPrefix(rec.Country)); }
    std::string StateAbbreviation(const TQsoRec &rec) const override
    {
        return std::string(m_countries.StateAbbreviation(rec.State));
    }
    std::string CountyName(const TQsoRec &rec) const override
    {
        return rec.State && rec.County ? m_countries.CountyName(rec.State, rec.County) : std::string();
    }
    std::string CallNote(const TQsoRec &rec) const override { return m_log.Notes.NoteOf(rec.Call.view()); }
    std::string Manager(const TQsoRec &rec) const override { return m_lookups.ManagerOf(rec.Call.view(), rec.Date); }
    std::pair<std::uint16_t, std::uint16_t> DateRange(std::uint16_t around) override
    {
        return m_asker ? m_asker(around) : std::pair<std::uint16_t, std::uint16_t>{around, OpenEndDate};
    }

private:
    const TCountryData &m_countries;
    const TQsoData &m_log;
    const QsoLookups &m_lookups;
    const std::function<std::pair<std::uint16_t, std::uint16_t>(std::uint16_t)> &m_asker;
};

} // namespace

TQSOForm::TQSOForm(TQsoData &log, TMainForm &main, QsoLookups *lookups)
    : TQsoWindowBase(nullptr), m_log(log), m_main(main)
{
    setObjectName(QStringLiteral("QSOForm"));
    if (!lookups) {
        m_ownLookups = std::make_unique<CountryQsoLookups>(main.Countries());
        lookups = m_ownLookups.get();
    }
    m_lookups = lookups;
    const auto *resolver = dynamic_cast<const CountryResolver *>(main.Services().resolver);
    if (!resolver) {
        m_ownResolver = std::make_unique<CountryResolver>(main.Countries());
        resolver = m_ownResolver.get();
    }
    m_logic = std::make_unique<QsoLogic>(log, main.Countries(), *resolver, main.ConfigRecord(), *m_lookups);
    m_searchContext = std::make_unique<FormSearchContext>(main.Countries(), log, *m_lookups, m_dateRangeAsker);
    m_admits = [&log](const TQsoRec &rec) { return InSelection(log, rec); };
    m_dateRangeAsker = [this](std::uint16_t around) {
        TDateRangeForm dialog(around, around, m_log.settings().dateFormat(), notifier(), this);
        if (dialog.exec() != QDialog::Accepted)
            return std::pair<std::uint16_t, std::uint16_t>{around, around};
        return std::pair<std::uint16_t, std::uint16_t>{dialog.StartDate(),
                                                        dialog.EndDate() ? dialog.EndDate() : OpenEndDate};
    };
    buildForm();
    buildMenus();
    main.Windows().RestoreWindowPos(this, WindowIndex::QSO);
    main.Windows().ApplyWindowStyle(this);
    applyWindowSize();
    UpdateCaption();
    RefreshCustomAwards();
    connect(main.ScrollBar(), &QScrollBar::actionTriggered, this, [this](int) {
        int target = m_main.ScrollBar()->sliderPosition();
        if (target == m_position)
            return;
        auto found = navigator().Step(target + (target > m_position ? -1 : 1), target > m_position ? 1 : -1);
        navigate(found ? found : std::optional<std::int32_t>(m_position));
    });
    if (log.Count() > 0) {
        setMode(QsoWindowMode::Browse);
        navigate(navigator().Last());
    } else {
        AddOffline();
    }
    // The companion windows that were open when the window last closed open again.
    for (int entry = 0; entry < TMainForm::CompanionCount; ++entry)
        if (main.ConfigRecord().WindowPos[static_cast<std::size_t>(TMainForm::CompanionPositions[static_cast<std::size_t>(entry)])].Open)
            OpenCompanion(entry);
}

TQSOForm::~TQSOForm()
{
    // Fields losing the focus while they are destroyed emit editingFinished: the
    // slots must not run on a window that is half gone.
    for (auto &[name, edit] : m_lines)
        disconnect(edit, nullptr, this, nullptr);
    for (auto &[name, list] : m_lists)
        disconnect(list, nullptr, this, nullptr);
    disconnect(m_main.ScrollBar(), nullptr, this, nullptr);
    m_main.ScrollBar()->hide();
    TConfigRecord &config = m_main.ConfigRecord();
    m_main.Windows().SaveWindowPos(this, WindowIndex::QSO);
    for (int entry = 0; entry < TMainForm::CompanionCount; ++entry) {
        QWidget *companion = m_main.Companion(entry);
        config.WindowPos[static_cast<std::size_t>(TMainForm::CompanionPositions[static_cast<std::size_t>(entry)])].Open =
            companion != nullptr;
        delete companion; // companions show this window's log: they go with it
        m_main.SetCompanion(entry, nullptr);
    }
}

UserNotifier &TQSOForm::notifier() const { return m_main.Notifier(); }

// --- building the form ---------------------------------------------------------

QLineEdit *TQSOForm::addLine(QWidget *parent, const char *name, const QString &caption, int maxLength, bool upper)
{
    auto *box = new QWidget(parent);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    auto *label = new QLabel(caption, box);
    auto *edit = new QLineEdit(box);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    if (upper)
        connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &text) {
            int cursor = edit->cursorPosition();
            edit->setText(text.toUpper());
            edit->setCursorPosition(cursor);
        });
    edit->installEventFilter(this);
    // A field filled to its length passes the focus on; a refused character beeps.
    connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString &text) {
        if (text.size() >= edit->maxLength() && edit->cursorPosition() == text.size() && edit->maxLength() < 250)
            focusNextChild();
    });
    connect(edit, &QLineEdit::inputRejected, this, [] { QApplication::beep(); });
    label->setBuddy(edit);
    layout->addWidget(label);
    layout->addWidget(edit);
    parent->layout()->addWidget(box);
    m_lines[edit->objectName()] = edit;
    return edit;
}

QComboBox *TQSOForm::addList(QWidget *parent, const char *name, const QString &caption, const QStringList &items)
{
    auto *box = new QWidget(parent);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    auto *label = new QLabel(caption, box);
    auto *list = new QComboBox(box);
    list->setObjectName(QString::fromLatin1(name));
    list->addItems(items);
    list->installEventFilter(this);
    layout->addWidget(label);
    layout->addWidget(list);
    parent->layout()->addWidget(box);
    m_lists[list->objectName()] = list;
    return list;
}

void TQSOForm::buildForm()
{
    const TConfigRecord &config = m_main.ConfigRecord();
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    auto row = [&] {
        auto *w = new QWidget(this);
        auto *l = new QHBoxLayout(w);
        l->setContentsMargins(0, 0, 0, 0);
        outer->addWidget(w);
        m_rows.push_back(w);
        return w;
    };
    QWidget *r0 = row();
    addLine(r0, "FQso_Call", QStringLiteral("Callsign"), 12, true);
    addLine(r0, "FQso_Prefix", QStringLiteral("Prefix"), 5, true);
    addLine(r0, "FQso_Date", QStringLiteral("Date"), 10, false);
    addLine(r0, "FQso_Time", QStringLiteral("Time"), config.DefQSO_ShowSecs ? 8 : 5, false);
    addList(r0, "Fqso_modex", QStringLiteral("Mode"), modeNames());
    addList(r0, "Fqso_bandx", QStringLiteral("Band"), bandNames(config.DefQSO_ShowBandMHz));
    // The award wheels stand right below the call: size step 0 shows the form down to them.
    QWidget *wheelRow = row();
    for (const AwardWheel &wheel : AwardWheelTable)
        addList(wheelRow, wheel.control, QString::fromLatin1(wheel.award), {"--", "Subm", "Chkd"});
    QWidget *r1 = row();
    addLine(r1, "Fqso_rsts", QStringLiteral("rstS"), 4, true);
    addLine(r1, "fqso_rstr", QStringLiteral("rstR"), 4, true);
    addLine(r1, "Fqso_recvd", QStringLiteral("Recvd"), 4, true);
    addLine(r1, "FQso_Zone", QStringLiteral("Zone"), 2, false);
    addLine(r1, "FQso_State", QStringLiteral("State"), 2, true);
    addLine(r1, "FQso_Cnty", QStringLiteral("County"), 17, false);
    addLine(r1, "Fqso_grid", QStringLiteral("Grid"), 6, false);
    QWidget *r2 = row();
    addLine(r2, "FQso_CallNotes", QStringLiteral("Notes for this Call"), 250, false);
    m_countryName = new QLabel(r2);
    m_countryName->setObjectName(QStringLiteral("F_Country"));
    m_countryName->setMinimumWidth(180);
    r2->layout()->addWidget(m_countryName);
    QWidget *r3 = row();
    addLine(r3, "FQso_Qsl_Mgr", QStringLiteral("QSL Mgr"), 12, true);
    addLine(r3, "Fqso_noteqso", QStringLiteral("Notes for this QSO"), 250, false);
    QWidget *r4 = row();
    addLine(r4, "Fqso_iota", QStringLiteral("IOTA"), 6, true);
    addList(r4, "Fqso_labelx", QStringLiteral("Label"), {"Y", "N"});
    addLine(r4, "Fqso_QSLdate", QStringLiteral("QSL Date"), 10, false);
    QStringList methods;
    for (const char *m : QslMethodNames)
        methods << QString::fromLatin1(m);
    addList(r4, "Fqso_qsl_methodx", QStringLiteral("Method"), methods);
    addList(r4, "Fqso_confx", QStringLiteral("Cnfm"), {"Y", "N"});
    addList(r4, "Fqso_qrpx", QStringLiteral("QRP"), {"Y", "N"});
    addList(r4, "Fqso_ylx", QStringLiteral("YLop"), {"Y", "N"});
    addList(r4, "Fqso_satx", QStringLiteral("Satellite"), {"-", "A", "B", "C", "D", "E", "F", "G", "H"});
    QWidget *r5 = row();
    addList(r5, "Fqso_awdtype", QStringLiteral("Custom award"), {"---"});
    addLine(r5, "Fqso_awdval", QStringLiteral("Value"), 8, true);
    m_awardValues = addList(r5, "Fqso_awdsel", QStringLiteral("Value"), {});
    connect(List("Fqso_awdtype"), &QComboBox::activated, this, &TQSOForm::customAwardChosen);
    addLine(r5, "FQSO_group", QStringLiteral("Group"), 3, false);
    addList(r5, "Faw_valid", QStringLiteral("ValidDX"), {"Valid", "Invalid"});
    m_dirDist = new QLabel(r5);
    m_dirDist->setObjectName(QStringLiteral("F_DirDist"));
    m_dirDist->setMinimumWidth(200);
    r5->layout()->addWidget(m_dirDist);

    auto picture = [this](const char *name, const char *pattern) {
        Field(name)->setValidator(new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(pattern)), Field(name)));
    };
    picture("FQso_Zone", "[0-9]{0,2}");
    picture("FQSO_group", "[0-9]{0,3}");
    picture("Fqso_rsts", "[0-9]{0,3}[A-Za-z]?");
    picture("fqso_rstr", "[0-9]{0,3}[A-Za-z]?");
    connect(Field("FQso_Call"), &QLineEdit::textEdited, this, [this] {
        m_callChanged = true;
        if (m_main.ConfigRecord().DefQSO_CallUpdate && m_mode != QsoWindowMode::SearchEntry)
            ProcessCall();
    });
    connect(Field("FQso_Call"), &QLineEdit::editingFinished, this, [this] {
        if (m_callChanged && m_mode != QsoWindowMode::SearchEntry)
            ProcessCall();
    });
    connect(Field("FQso_CallNotes"), &QLineEdit::textEdited, this, [this] { m_callNotesChanged = true; });
    connect(Field("FQso_Prefix"), &QLineEdit::editingFinished, this, &TQSOForm::prefixLeft);
    connect(Field("FQso_State"), &QLineEdit::editingFinished, this, &TQSOForm::stateLeft);
    connect(Field("Fqso_grid"), &QLineEdit::editingFinished, this, &TQSOForm::gridLeft);
    connect(Field("FQso_Date"), &QLineEdit::editingFinished, this, &TQSOForm::dateLeft);
    connect(List("Fqso_modex"), &QComboBox::activated, this, &TQSOForm::modeChanged);
    connect(List("Fqso_bandx"), &QComboBox::activated, this, &TQSOForm::bandChanged);
}

void TQSOForm::buildMenus()
{
    auto *bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    auto item = [this](QMenu *menu, const char *name, const QString &caption, auto slot, QKeySequence key = {}) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) {
            action->setShortcut(key);
            action->setShortcutContext(Qt::WindowShortcut);
        }
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
        return action;
    };
    QMenu *qso = bar->addMenu(QStringLiteral("&QSO"));
    item(qso, "AddRealtime1", QStringLiteral("Add Real-time"), &TQSOForm::AddRealTime, QKeySequence(Qt::Key_F9));
    item(qso, "AddOffline1", QStringLiteral("Add Off-line"), &TQSOForm::AddOffline);
    QMenu *nav = qso->addMenu(QStringLiteral("Navigate"));
    item(nav, "Next1", QStringLiteral("Next"), &TQSOForm::GoNext, QKeySequence(Qt::Key_PageDown));
    item(nav, "Previous1", QStringLiteral("Previous"), &TQSOForm::GoPrevious, QKeySequence(Qt::Key_PageUp));
    item(nav, "Last1", QStringLiteral("Last"), &TQSOForm::GoLast, QKeySequence(Qt::CTRL | Qt::Key_End));
    item(nav, "First1", QStringLiteral("First"), &TQSOForm::GoFirst, QKeySequence(Qt::CTRL | Qt::Key_Home));
    item(nav, "NextSorted1", QStringLiteral("Next Sorted"), &TQSOForm::GoNextSorted,
         QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    item(nav, "PreviousSorted1", QStringLiteral("Previous Sorted"), &TQSOForm::GoPreviousSorted,
         QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    m_deleteAction = item(qso, "DeleteQSO1", QStringLiteral("Delete QSO"), &TQSOForm::DeleteQso,
                          QKeySequence(Qt::CTRL | Qt::Key_Delete));
    m_confirmAction = item(qso, "ConfirmLabel1", QStringLiteral("Confirm/Label"), &TQSOForm::ConfirmLabel,
                           QKeySequence(Qt::Key_F2));
    item(qso, "NextWindowSize1", QStringLiteral("Next Window Size"), &TQSOForm::NextWindowSize,
         QKeySequence(Qt::Key_F5));
    m_updateAction = item(qso, "UpdateQSO1", QStringLiteral("Update QSO"), [this] { UpdateQso(); },
                          QKeySequence(Qt::Key_F10));
    item(qso, "ContestMode1", QStringLiteral("Contest Mode"), &TQSOForm::ContestModeDialog);
    item(qso, "ClearQSO1", QStringLiteral("Clear QSO"), &TQSOForm::ClearQso, QKeySequence(Qt::Key_F12));
    item(qso, "DisableFields1", QStringLiteral("Disable Fields"), &TQSOForm::DisableFieldsDialog);
    QMenu *filter = bar->addMenu(QStringLiteral("F&ilter"));
    item(filter, "Search1", QStringLiteral("Search"), [this] { StartSearch(false); }, QKeySequence(Qt::Key_F8));
    item(filter, "SearchOld1", QStringLiteral("Search Using Old Filter"), [this] { StartSearch(true); },
         QKeySequence(Qt::SHIFT | Qt::Key_F8));
    item(filter, "Count1", QStringLiteral("Count"), [this] { CountQsos(); });
    item(filter, "CancelFilter1", QStringLiteral("Cancel Filter"), &TQSOForm::CancelFilter);
    item(filter, "Selection1", QStringLiteral("Selection"), &TQSOForm::SelectionDialog);
    item(filter, "EditGroupNames1", QStringLiteral("Edit Group Names"), [this] {
        TGroupNamesForm(m_log, this).exec();
    });
    QMenu *windows = bar->addMenu(QStringLiteral("&Window"));
    item(windows, "Country1", QStringLiteral("Country"), [this] { OpenCompanion(0); });
    item(windows, "IOTA1", QStringLiteral("IOTA"), [this] { OpenCompanion(3); });
    item(windows, "SameCall1", QStringLiteral("Same Call"), [this] { OpenCompanion(4); });
    item(windows, "State1", QStringLiteral("State"), [this] { OpenCompanion(2); });
    item(windows, "County1", QStringLiteral("County"), [this] { OpenCompanion(13); });
    item(windows, "Zone1", QStringLiteral("Zone"), [this] { OpenCompanion(1); });
    item(windows, "Grid1", QStringLiteral("Grid"), [this] { OpenCompanion(8); });
    item(windows, "WPX1", QStringLiteral("WPX"), [this] { OpenCompanion(11); });
    item(windows, "MasterCalls1", QStringLiteral("Master Calls"), [this] { OpenCompanion(9); });
    QMenu *sort = bar->addMenu(QStringLiteral("Sort"));
    for (int key = 0; key < SortKeyCount; ++key)
        item(sort, "Sort" + QByteArray::number(key) + "1",
             QString::fromLatin1(SortOrderTable[static_cast<std::size_t>(key)].menuCaption),
             [this, key] { SetSortOrder(key); })
            ->setObjectName(QStringLiteral("Sort%1").arg(QString::fromLatin1(SortOrderTable[static_cast<std::size_t>(key)].menuCaption).remove(' ')));
}

QLineEdit *TQSOForm::Field(const char *name) const
{
    auto it = m_lines.find(QString::fromLatin1(name));
    return it == m_lines.end() ? nullptr : it->second;
}

QComboBox *TQSOForm::List(const char *name) const
{
    auto it = m_lists.find(QString::fromLatin1(name));
    return it == m_lists.end() ? nullptr : it->second;
}

// --- showing and reading QSOs ------------------------------------------------

std::uint16_t TQSOForm::fieldDate(const char *name) const
{
    auto format = static_cast<DateFormat>(m_log.settings().dateFormat());
    return ParseDate(Field(name)->text().toStdString(), format).value_or(0);
}

void TQSOForm::showRecord(const TQsoRec &rec)
{
    const TConfigRecord &config = m_main.ConfigRecord();
    DateFormat format = m_log.settings().dateFormat();
    const TCountryData &countries = m_main.Countries();
    Field("FQso_Call")->setText(ScreenText(rec.Call.view()));
    m_country = rec.Country;
    Field("FQso_Prefix")->setText(ScreenText(countries.CountryPrefix(rec.Country)));
    m_countryName->setText(ScreenText(countries.CountryName(rec.Country)));
    Field("FQso_Date")->setText(QString::fromStdString(FormatDate(rec.Date, format, false)));
    Field("FQso_Time")->setText(QString::fromStdString(FormatTime(rec.Time, config.DefQSO_ShowSecs)));
    List("Fqso_modex")->setCurrentIndex(rec.Mode > 0 && rec.Mode < ModeCount ? rec.Mode - 1 : -1);
    List("Fqso_bandx")->setCurrentIndex(rec.Band > 0 && rec.Band < BandCount ? rec.Band - 1 : -1);
    Field("Fqso_rsts")->setText(QString::fromStdString(DecodeRst(rec.RstSent)));
    Field("fqso_rstr")->setText(QString::fromStdString(DecodeRst(rec.RstRcvd)));
    Field("Fqso_recvd")->setText(ScreenText(rec.Recvd.view()));
    Field("FQso_Zone")->setText(QString::number(rec.Zone));
    Field("FQso_State")->setText(ScreenText(countries.StateAbbreviation(rec.State)));
    Field("FQso_Cnty")->setText(ScreenText(rec.State && rec.County ? countries.CountyName(rec.State, rec.County) : ""));
    Field("Fqso_grid")->setText(ScreenText(rec.Grid.view()));
    Field("FQso_CallNotes")->setText(ScreenText(m_log.Notes.NoteOf(rec.Call.view())));
    Field("FQso_Qsl_Mgr")->setText(ScreenText(m_lookups->ManagerOf(rec.Call.view(), rec.Date)));
    Field("Fqso_noteqso")->setText(ScreenText(rec.QsoNote.text()));
    Field("Fqso_iota")->setText(ScreenText(rec.Iota.view()));
    Field("Fqso_QSLdate")->setText(QString::fromStdString(FormatDate(rec.QslDate, format, false)));
    List("Fqso_qsl_methodx")->setCurrentIndex(rec.QslMethod <= 6 ? rec.QslMethod : 0);
    for (int i = 0; i < 4; ++i)
        List(YesNoWheels[i])->setCurrentIndex((rec.QslFlags & YesNoFlags[i]) ? 0 : 1);
    List("Fqso_satx")->setCurrentIndex(rec.Satellite >= 2 && rec.Satellite <= 9 ? rec.Satellite - 1 : 0);
    showCustomValue(rec);
    Field("FQSO_group")->setText(QString::number(rec.Group));
    List("Faw_valid")->setCurrentIndex((rec.QslFlags & QslFlag::ValidDX) ? 0 : 1);
    for (const AwardWheel &wheel : AwardWheelTable) {
        const AwardFlagPair &pair = flagPair(wheel.award);
        List(wheel.control)->setCurrentIndex((rec.AwdFlags & pair.submitted) ? 1 : (rec.AwdFlags & pair.checked) ? 2 : 0);
    }
    m_lastTime = rec.Time;
    ShowLocation();
    markUnchanged();
}

bool TQSOForm::checkFields()
{
    bool zoneOk = false;
    int zone = Field("FQso_Zone")->text().trimmed().isEmpty() ? 0 : Field("FQso_Zone")->text().toInt(&zoneOk);
    if (!Field("FQso_Zone")->text().trimmed().isEmpty() && (!zoneOk || zone < 0 || zone > 40)) {
        notifier().warning("Valid range is 0..40");
        Field("FQso_Zone")->setFocus();
        return false;
    }
    bool groupOk = false;
    int group = Field("FQSO_group")->text().trimmed().isEmpty() ? 0 : Field("FQSO_group")->text().toInt(&groupOk);
    if (!Field("FQSO_group")->text().trimmed().isEmpty() && (!groupOk || group < 0 || group > 253)) {
        notifier().warning("Valid range is 0..253");
        Field("FQSO_group")->setFocus();
        return false;
    }
    QString grid = Field("Fqso_grid")->text().trimmed();
    if (!grid.isEmpty() && !ValidGrid(grid.toStdString())) {
        notifier().error("Not a good GRID");
        Field("Fqso_grid")->setFocus();
        return false;
    }
    QString iota = Field("Fqso_iota")->text().trimmed().remove('-');
    if (!iota.isEmpty() && !m_lookups->IotaExists(iota.toStdString())) {
        notifier().error("Unknown IOTA reference " + iota.toStdString());
        Field("Fqso_iota")->setFocus();
        return false;
    }
    if (!Field("FQso_Date")->text().trimmed().isEmpty() && fieldDate("FQso_Date") == 0) {
        notifier().error("Not a valid date: " + Field("FQso_Date")->text().toStdString());
        Field("FQso_Date")->setFocus();
        return false;
    }
    QString time = Field("FQso_Time")->text().trimmed();
    if (!time.isEmpty() && time != QLatin1String("??:??") && !parseTime(time)) {
        notifier().error("Not a valid time: " + time.toStdString());
        Field("FQso_Time")->setFocus();
        return false;
    }
    return true;
}

bool TQSOForm::readRecord(TQsoRec &rec)
{
    std::string call = CoreText(Field("FQso_Call")->text().trimmed().toUpper());
    if (!ValidCallsign(call)) {
        notifier().error(BadCallsignText);
        Field("FQso_Call")->setFocus();
        return false;
    }
    int mode = List("Fqso_modex")->currentIndex() + 1;
    CheckedReports reports = CheckReports(Field("Fqso_rsts")->text().trimmed().toStdString(),
                                          Field("fqso_rstr")->text().trimmed().toStdString(), mode);
    if (reports.problem != ReportProblem::None) {
        notifier().error(ReportProblemText(reports.problem));
        Field("Fqso_rsts")->setFocus();
        return false;
    }
    if (!checkFields())
        return false;
    const TCountryData &countries = m_main.Countries();
    rec.Call = call;
    rec.Date = fieldDate("FQso_Date");
    QString time = Field("FQso_Time")->text().trimmed();
    rec.Time = time.isEmpty() ? m_lastTime : parseTime(time).value_or(-1);
    std::int32_t country = countries.CountryIndexOfPrefix(Field("FQso_Prefix")->text().trimmed().toStdString());
    rec.Country = static_cast<std::int16_t>(country > 0 ? country : 0);
    rec.Zone = static_cast<std::uint8_t>(Field("FQso_Zone")->text().toInt());
    rec.Mode = static_cast<std::uint8_t>(mode);
    rec.Band = static_cast<std::uint8_t>(List("Fqso_bandx")->currentIndex() + 1);
    rec.RstSent = reports.sent;
    rec.RstRcvd = reports.received;
    rec.Recvd = CoreText(Field("Fqso_recvd")->text().trimmed());
    std::string state = Field("FQso_State")->text().trimmed().toStdString();
    rec.State = static_cast<std::uint8_t>(countries.StateIndex(state));
    std::string county = CoreText(Field("FQso_Cnty")->text().trimmed());
    rec.County = rec.State && !county.empty() ? countries.CountyNumber(state, county) : 0;
    rec.Iota = CoreText(Field("Fqso_iota")->text().trimmed().remove('-'));
    rec.QslDate = fieldDate("Fqso_QSLdate");
    rec.QslMethod = static_cast<std::uint8_t>(std::max(0, List("Fqso_qsl_methodx")->currentIndex()));
    int sat = List("Fqso_satx")->currentIndex();
    rec.Satellite = static_cast<std::uint8_t>(sat <= 0 ? 1 : sat + 1);
    rec.Grid = FormatGrid(Field("Fqso_grid")->text().trimmed().toStdString());
    rec.QslFlags = static_cast<std::uint8_t>(rec.QslFlags & ~(QslFlag::Label | QslFlag::Cnfm | QslFlag::QRP |
                                                              QslFlag::YLop | QslFlag::ValidDX));
    for (int i = 0; i < 4; ++i)
        if (List(YesNoWheels[i])->currentIndex() == 0)
            rec.QslFlags |= YesNoFlags[i];
    if (List("Faw_valid")->currentIndex() == 0)
        rec.QslFlags |= QslFlag::ValidDX;
    for (const AwardWheel &wheel : AwardWheelTable) {
        const AwardFlagPair &pair = flagPair(wheel.award);
        rec.AwdFlags &= ~(pair.submitted | pair.checked);
        int shown = List(wheel.control)->currentIndex();
        rec.AwdFlags |= shown == 1 ? pair.submitted : shown == 2 ? pair.checked : 0u;
    }
    rec.Group = static_cast<std::uint8_t>(Field("FQSO_group")->text().toInt());
    rec.CustAwd = chosenAward();
    rec.CustValue = std::string();
    if (!rec.CustAwd.empty()) {
        const TCustAwardList &awards = m_main.CustomAwards();
        const TCustAward &award = awards.At(awards.IndexOf(rec.CustAwd.view()));
        if (award.HasValueList()) {
            const TCustAwardValue *value = award.ValueOfName(CoreText(m_awardValues->currentText()));
            rec.CustValue = value ? value->key : award.ValuesByName().front().key;
        } else {
            rec.CustValue = award.FormatValue(CoreText(Field("Fqso_awdval")->text().trimmed()));
        }
    }
    rec.QsoNote.set(CoreText(Field("Fqso_noteqso")->text().trimmed()));
    rec.WpxPfx = m_log.resolver().WpxPrefix(rec.Call.view());
    return true;
}

void TQSOForm::markUnchanged()
{
    m_shownTexts.clear();
    for (const auto &[name, edit] : m_lines)
        m_shownTexts[name] = edit->text();
    for (const auto &[name, list] : m_lists)
        m_shownTexts[name] = list->currentText();
    m_callChanged = false;
    m_callNotesChanged = false;
}

bool TQSOForm::formChanged() const
{
    for (const auto &[name, edit] : m_lines)
        if (m_shownTexts.count(name) && m_shownTexts.at(name) != edit->text())
            return true;
    for (const auto &[name, list] : m_lists)
        if (m_shownTexts.count(name) && m_shownTexts.at(name) != list->currentText())
            return true;
    return false;
}

// --- processing the call and the field rules -----------------------------------

void TQSOForm::showCallInfo(const CallInfo &info)
{
    Field("FQso_CallNotes")->setText(ScreenText(info.callNote));
    m_callNotesChanged = false;
    m_country = info.country;
    Field("FQso_Prefix")->setText(ScreenText(info.prefix));
    m_countryName->setText(ScreenText(info.countryName));
    Field("FQso_Zone")->setText(info.country || info.zone ? QString::number(info.zone) : QString());
    Field("FQso_State")->setText(ScreenText(info.state));
    Field("Fqso_iota")->setText(ScreenText(info.iota));
    Field("Fqso_grid")->setText(ScreenText(info.grid));
    Field("FQso_Cnty")->setText(ScreenText(info.county));
    Field("FQso_Qsl_Mgr")->setText(ScreenText(info.manager));
    List("Faw_valid")->setCurrentIndex(info.validDx ? 0 : 1);
    if (info.ylOperator)
        List("Fqso_ylx")->setCurrentIndex(0);
}

void TQSOForm::RefreshCustomAwards()
{
    QComboBox *list = List("Fqso_awdtype");
    std::string previous = chosenAward();
    const TCustAwardList &awards = m_main.CustomAwards();
    QSignalBlocker block(list);
    list->clear();
    list->addItem(QStringLiteral("---"), QString());
    std::vector<std::int32_t> listed =
        m_mode == QsoWindowMode::SearchEntry
            ? awards.ByName()
            : awards.AwardsFor(CoreText(Field("FQso_Prefix")->text().trimmed()), List("Fqso_bandx")->currentIndex() + 1,
                               List("Fqso_modex")->currentIndex() + 1);
    for (std::int32_t position : listed)
        list->addItem(ScreenText(awards.At(position).Name), ScreenText(awards.At(position).Ident));
    int index = list->findData(ScreenText(previous));
    list->setCurrentIndex(m_mode == QsoWindowMode::SearchEntry && previous.empty() ? -1 : std::max(0, index));
    customAwardChosen();
}

std::string TQSOForm::chosenAward() const
{
    QComboBox *list = List("Fqso_awdtype");
    return list->currentIndex() < 0 ? std::string() : CoreText(list->currentData().toString());
}

void TQSOForm::customAwardChosen()
{
    std::string ident = chosenAward();
    const TCustAwardList &awards = m_main.CustomAwards();
    std::int32_t index = ident.empty() ? -1 : awards.IndexOf(ident);
    bool list = index >= 0 && awards.At(index).HasValueList();
    Field("Fqso_awdval")->parentWidget()->setVisible(index >= 0 && !list);
    m_awardValues->parentWidget()->setVisible(list);
    if (list) {
        QString shown = m_awardValues->currentText();
        QSignalBlocker block(m_awardValues);
        m_awardValues->clear();
        for (const TCustAwardValue &value : awards.At(index).ValuesByName())
            m_awardValues->addItem(ScreenText(value.longName));
        m_awardValues->setCurrentIndex(std::max(0, m_awardValues->findText(shown)));
    }
}

void TQSOForm::showCustomValue(const TQsoRec &rec)
{
    QComboBox *list = List("Fqso_awdtype");
    {
        QSignalBlocker block(list);
        if (list->findData(ScreenText(rec.CustAwd.view())) < 0 && !rec.CustAwd.empty()) {
            const TCustAwardList &awards = m_main.CustomAwards();
            std::int32_t index = awards.IndexOf(rec.CustAwd.view());
            list->addItem(index >= 0 ? ScreenText(awards.At(index).Name) : ScreenText(rec.CustAwd.view()),
                          ScreenText(rec.CustAwd.view()));
        }
        list->setCurrentIndex(std::max(0, list->findData(ScreenText(rec.CustAwd.view()))));
    }
    customAwardChosen();
    Field("Fqso_awdval")->setText(ScreenText(rec.CustValue.view()));
    const TCustAwardList &awards = m_main.CustomAwards();
    std::int32_t index = rec.CustAwd.empty() ? -1 : awards.IndexOf(rec.CustAwd.view());
    if (index >= 0 && awards.At(index).HasValueList()) {
        const TCustAwardValue *value = awards.At(index).ValueOfKey(rec.CustValue.view());
        m_awardValues->setCurrentIndex(value ? m_awardValues->findText(ScreenText(value->longName)) : 0);
    }
}

void TQSOForm::ProcessCall()
{
    m_callChanged = false;
    std::string call = CoreText(Field("FQso_Call")->text().trimmed().toUpper());
    std::uint16_t date = fieldDate("FQso_Date");
    showCallInfo(m_logic->ProcessCall(call, date ? date : TodayDayNumber()));
    checkDupe();
    ShowLocation();
    for (int entry = 0; entry < TMainForm::CompanionCount; ++entry)
        m_main.RequestRefresh(entry);
    m_main.PostMainNotify(11);
}

void TQSOForm::prefixLeft()
{
    if (m_mode == QsoWindowMode::SearchEntry || !Field("FQso_Prefix")->isModified())
        return;
    Field("FQso_Prefix")->setModified(false);
    const TCountryData &countries = m_main.Countries();
    std::string prefix = Field("FQso_Prefix")->text().trimmed().toStdString();
    std::int32_t country = prefix.empty() ? 0 : countries.CountryIndexOfPrefix(prefix);
    if (!prefix.empty() && country <= 0) {
        notifier().error("Unknown country prefix " + prefix);
        country = 0;
    }
    CallInfo info;
    info.state = Field("FQso_State")->text().toStdString();
    m_logic->ShowCountry(static_cast<std::int16_t>(country), info);
    m_country = info.country;
    m_countryName->setText(ScreenText(info.countryName));
    Field("FQso_Prefix")->setText(ScreenText(info.prefix));
    Field("FQso_State")->setText(ScreenText(info.state));
    Field("Fqso_iota")->setText(ScreenText(info.iota));
    Field("FQso_Zone")->setText(country > 0 ? QString::number(countries.CountryByte(country, 8)) : QString());
    ShowLocation();
    m_main.PostMainNotify(11);
}

void TQSOForm::stateLeft()
{
    if (m_mode == QsoWindowMode::SearchEntry || !Field("FQso_State")->isModified())
        return;
    Field("FQso_State")->setModified(false);
    const TCountryData &countries = m_main.Countries();
    std::string state = Field("FQso_State")->text().trimmed().toStdString();
    std::string allowed = countries.AllowedState(m_country, state);
    if (state != allowed || (!state.empty() && countries.StateIndex(state) == 0)) {
        notifier().error("The state " + state + " does not belong to this country");
        Field("FQso_State")->setText(QString::fromStdString(allowed));
        return;
    }
    Field("FQso_Cnty")->clear();
    std::int32_t index = countries.StateIndex(state);
    if (index > 0)
        Field("FQso_Zone")->setText(QString::number(countries.StateCqZone(index)));
    ShowLocation();
}

void TQSOForm::gridLeft()
{
    QLineEdit *grid = Field("Fqso_grid");
    if (m_mode == QsoWindowMode::SearchEntry || !grid->isModified())
        return;
    grid->setModified(false);
    std::string text = grid->text().trimmed().toStdString();
    if (!text.empty() && !ValidGrid(text)) {
        notifier().error("Not a good GRID");
        return;
    }
    grid->setText(QString::fromStdString(FormatGrid(text)));
    ShowLocation();
}

void TQSOForm::dateLeft()
{
    if (m_mode == QsoWindowMode::SearchEntry || !Field("FQso_Date")->isModified())
        return;
    Field("FQso_Date")->setModified(false);
    if (!Field("FQso_Call")->text().isEmpty())
        ProcessCall();
}

void TQSOForm::modeChanged()
{
    int mode = List("Fqso_modex")->currentIndex() + 1;
    QString report = QString::number(DefaultReport(mode));
    Field("Fqso_rsts")->setText(report);
    Field("fqso_rstr")->setText(report);
    checkDupe();
    m_main.RequestHighlightAll();
    m_main.PostMainNotify(11);
}

void TQSOForm::bandChanged()
{
    if ((m_mode == QsoWindowMode::AddRealTime || m_mode == QsoWindowMode::AddOffline) &&
        List("Fqso_bandx")->currentIndex() + 1 != 15)
        List("Fqso_satx")->setCurrentIndex(0);
    if (m_mode == QsoWindowMode::AddRealTime)
        driveBandDecoder();
    checkDupe();
    m_main.RequestHighlightAll();
    m_main.PostMainNotify(11);
}

void TQSOForm::driveBandDecoder()
{
    const TConfigRecord &config = m_main.ConfigRecord();
    int band = List("Fqso_bandx")->currentIndex() + 1;
    auto byte = BandDecoderByte(band, config.F_Band_sel);
    if (config.F_Band_type != 2 || band == 15 || !byte)
        return;
    if (!m_bandPort) {
        int port = config.F_Band_Port >= 1 && config.F_Band_Port <= 3 ? config.F_Band_Port : 1;
        m_bandPort = std::make_unique<ParallelPortOutput>("/dev/parport" + std::to_string(port - 1));
    }
    if (!m_bandPort->Write(*byte) && !m_bandPortWarned) {
        m_bandPortWarned = true; // once per window, not at every band change
        notifier().warning("Could not open CW driver");
    }
}

void TQSOForm::checkDupe()
{
    const TConfigRecord &config = m_main.ConfigRecord();
    bool dupe = false;
    if (m_mode == QsoWindowMode::AddRealTime && config.ContestEnabled) {
        std::string call = CoreText(Field("FQso_Call")->text().trimmed());
        dupe = !call.empty() &&
               m_logic->IsContestDupe(call, static_cast<std::uint8_t>(List("Fqso_bandx")->currentIndex() + 1),
                                      static_cast<std::uint8_t>(List("Fqso_modex")->currentIndex() + 1),
                                      config.ContestStartDate, config.ContestStartTime, m_admits);
    }
    if (dupe && !m_dupe)
        QApplication::beep();
    m_dupe = dupe;
    Field("FQso_Call")->setStyleSheet(dupe ? QStringLiteral("background-color: red;") : QString());
}

void TQSOForm::ShowLocation()
{
    m_dirDist->setText(ScreenText(m_logic->DirectionText(Field("Fqso_grid")->text().trimmed().toStdString(),
                                                         Field("Fqso_iota")->text().trimmed().toStdString(),
                                                         Field("FQso_State")->text().trimmed().toStdString(),
                                                         m_country)));
}

// --- modes -------------------------------------------------------------------------

void TQSOForm::setMode(QsoWindowMode mode)
{
    m_mode = mode;
    bool browsing = mode == QsoWindowMode::Browse || mode == QsoWindowMode::Filtered;
    if (m_deleteAction) {
        m_deleteAction->setEnabled(browsing);
        m_updateAction->setEnabled(browsing);
        m_confirmAction->setEnabled(browsing);
    }
    updateContestPanel();
    updateScrollBar();
}

void TQSOForm::prepareBlank(const TQsoRec *previous)
{
    TQsoRec blank = m_logic->BlankQso(previous);
    if (!previous) {
        blank.Date = TodayDayNumber();
        blank.Time = NowUtcSeconds();
    }
    showRecord(blank);
    Field("FQso_Call")->clear();
    Field("FQso_Prefix")->clear();
    Field("FQso_Zone")->clear();
    m_countryName->clear();
    m_dirDist->clear();
    m_country = 0;
    m_dupe = false;
    Field("FQso_Call")->setStyleSheet(QString());
    m_clockFollow = m_mode == QsoWindowMode::AddRealTime;
    markUnchanged();
    Field("FQso_Call")->setFocus();
    Field("FQso_Call")->selectAll();
}

void TQSOForm::AddRealTime()
{
    if (m_mode == QsoWindowMode::SearchEntry)
        return;
    if ((m_mode == QsoWindowMode::AddRealTime || m_mode == QsoWindowMode::AddOffline) && !AgreeToLeaveMode())
        return;
    setMode(QsoWindowMode::AddRealTime);
    prepareBlank(nullptr);
}

void TQSOForm::StartAddRealTime() { AddRealTime(); }

void TQSOForm::AddOffline()
{
    setMode(QsoWindowMode::AddOffline);
    prepareBlank(nullptr);
}

void TQSOForm::ClearQso()
{
    if (m_mode != QsoWindowMode::AddRealTime && m_mode != QsoWindowMode::AddOffline)
        return;
    TQsoRec keep;
    keep.Mode = static_cast<std::uint8_t>(List("Fqso_modex")->currentIndex() + 1);
    keep.Band = static_cast<std::uint8_t>(List("Fqso_bandx")->currentIndex() + 1);
    keep.Group = m_main.ConfigRecord().DefQSO_Group;
    keep.Date = fieldDate("FQso_Date");
    keep.Time = parseTime(Field("FQso_Time")->text()).value_or(m_lastTime);
    keep.Satellite = 1;
    prepareBlank(&keep);
}

bool TQSOForm::AgreeToLeaveMode()
{
    if (m_mode != QsoWindowMode::AddRealTime && m_mode != QsoWindowMode::AddOffline) {
        if (m_mode == QsoWindowMode::Browse && formChanged() && ShownQso()) {
            // Never drop a correction silently.
            Answer answer = notifier().confirm("Update this QSO with the changes you made?", Buttons::YesNoCancel);
            if (answer == Answer::Cancel || (answer == Answer::Yes && !UpdateQso()))
                return false;
        }
        return true;
    }
    if (Field("FQso_Call")->text().trimmed().isEmpty() || !m_main.ConfigRecord().DefQSO_WarnOnMove) {
        leaveAddModes();
        return true;
    }
    Answer answer = notifier().confirm("Save the QSO you just added?", Buttons::YesNoCancel);
    if (answer == Answer::Cancel)
        return false;
    if (answer == Answer::Yes && !AddQso())
        return false; // the checks failed: stay with the QSO
    leaveAddModes();
    return true;
}

void TQSOForm::leaveAddModes()
{
    if (m_log.Count() == 0) {
        AddOffline();
        return;
    }
    setMode(QsoWindowMode::Browse);
    navigate(navigator().Last());
}

void TQSOForm::EscapePressed()
{
    if (m_mode == QsoWindowMode::AddRealTime || m_mode == QsoWindowMode::AddOffline)
        AgreeToLeaveMode();
    else
        CancelFilter();
}

void TQSOForm::EnterPressed()
{
    if (m_mode == QsoWindowMode::AddRealTime || m_mode == QsoWindowMode::AddOffline) {
        AddQso();
    } else if (m_mode == QsoWindowMode::SearchEntry) {
        RunSearch();
    } else if ((m_mode == QsoWindowMode::Browse || m_mode == QsoWindowMode::Filtered) && formChanged()) {
        if (notifier().confirm("Update this QSO with the changes you made?", Buttons::YesNo) == Answer::Yes)
            UpdateQso();
    }
}

// --- adding, updating, deleting -------------------------------------------------

bool TQSOForm::AddQso()
{
    if (Field("FQso_Call")->text().trimmed().isEmpty())
        return false;
    TConfigRecord &config = m_main.ConfigRecord();
    if (Field("FQso_Call")->hasFocus() && m_callChanged)
        ProcessCall();
    auto rec = std::make_unique<TQsoRec>();
    if (!readRecord(*rec))
        return false; // nothing added; the contest text and number are left as they were
    std::string note(rec->QsoNote.text());
    std::string contestText(config.ContestNoteText.view());
    if (!contestText.empty()) {
        if (m_mode == QsoWindowMode::AddRealTime) {
            if (config.ContestEnabled && config.ContestNextNumber != 0) {
                auto at = contestText.find("##");
                if (at != std::string::npos)
                    contestText.replace(at, 2, std::to_string(static_cast<int>(config.ContestNextNumber)));
            }
        }
        note = note.empty() ? contestText : note + " " + contestText;
        rec->QsoNote.set(note);
    }
    m_logic->LearnException(*rec);
    std::string call = rec->Call.str();
    if (m_callNotesChanged)
        m_log.Notes.SetNote(call, CoreText(Field("FQso_CallNotes")->text().trimmed()));
    if (!Field("FQso_Qsl_Mgr")->text().trimmed().isEmpty())
        m_lookups->SetManager(call, rec->Date, CoreText(Field("FQso_Qsl_Mgr")->text().trimmed()));
    TQsoRec previous = *rec;
    TQsoRec *stored = rec.get();
    m_log.AddQso(std::move(rec));
    m_position = m_log.ViewIndex->PositionOf(stored);
    m_main.RequestRefresh(5);
    prepareBlank(&previous);
    if (m_mode == QsoWindowMode::AddRealTime && config.ContestEnabled && config.ContestNextNumber != 0) {
        config.ContestNextNumber = config.ContestNextNumber + 1;
        updateContestPanel();
    }
    return true;
}

const TQsoRec *TQSOForm::ShownQso() const
{
    if ((m_mode != QsoWindowMode::Browse && m_mode != QsoWindowMode::Filtered) || m_position < 0 ||
        m_position >= m_log.ViewIndex->Count())
        return nullptr;
    return m_log.ViewIndex->Get(m_position);
}

bool TQSOForm::UpdateQso()
{
    const TQsoRec *shown = ShownQso();
    if (!shown)
        return false;
    if (m_callChanged)
        ProcessCall();
    TQsoRec edited = *shown;
    if (!readRecord(edited))
        return false;
    if (m_newSeqNr)
        edited.PrtSeqNr = m_newSeqNr;
    std::string oldCall = shown->Call.str();
    TQsoRec *replaced = m_log.ReplaceQso(edited, const_cast<TQsoRec *>(shown));
    m_logic->LearnException(*replaced);
    if (oldCall != replaced->Call.view())
        m_log.DropNoteIfUnused(oldCall);
    if (m_callNotesChanged)
        m_log.Notes.SetNote(replaced->Call.view(), CoreText(Field("FQso_CallNotes")->text().trimmed()));
    if (!Field("FQso_Qsl_Mgr")->text().trimmed().isEmpty())
        m_lookups->SetManager(replaced->Call.view(), replaced->Date,
                              CoreText(Field("FQso_Qsl_Mgr")->text().trimmed()));
    m_position = m_log.ViewIndex->PositionOf(replaced);
    m_main.RequestRefresh(5);
    auto next = navigator().Step(m_position, 1);
    navigate(next ? next : std::optional<std::int32_t>(m_position));
    return true;
}

void TQSOForm::DeleteQso()
{
    const TQsoRec *shown = ShownQso();
    if (!shown || notifier().confirm("Delete current QSO?", Buttons::YesNo) != Answer::Yes)
        return;
    std::string call = shown->Call.str();
    std::int32_t at = m_position;
    m_log.DeleteQso(const_cast<TQsoRec *>(shown));
    m_log.DropNoteIfUnused(call);
    m_main.RequestRefresh(5);
    if (m_log.Count() == 0) {
        AddOffline();
        return;
    }
    auto next = navigator().Step(at - 1, 1);
    navigate(next ? next : navigator().Last());
}

void TQSOForm::ConfirmLabel()
{
    const TQsoRec *shown = ShownQso();
    if (!shown)
        return;
    const TConfigRecord &config = m_main.ConfigRecord();
    bool changed = false;
    if (config.F_F2_Confirm) {
        changed = List("Fqso_confx")->currentIndex() != 0;
        List("Fqso_confx")->setCurrentIndex(0);
    }
    bool mark = config.F_F2_label != 0 &&
                (shown->QslDate == 0 ||
                 notifier().confirm("QSL was sent already, mark again?", Buttons::YesNo) == Answer::Yes);
    if (mark && config.F_F2_label == 1) {
        List("Fqso_labelx")->setCurrentIndex(0);
        List("Fqso_qsl_methodx")->setCurrentIndex(config.F_F2_Method <= 6 ? config.F_F2_Method : 0);
        changed = true;
    } else if (mark && config.F_F2_label == 2) {
        if (shown->PrtSeqNr != 0) {
            notifier().information("QSO is marked for sequence printing already");
        } else if (std::uint16_t number = nextSequenceNumber(*shown)) {
            List("Fqso_qsl_methodx")->setCurrentIndex(config.F_F2_Method <= 6 ? config.F_F2_Method : 0);
            m_newSeqNr = number;
            changed = true;
        }
    }
    if (changed && config.F_F2_Confirm && config.F_F2_Alert) {
        TQsoRec confirmed = *shown;
        confirmed.QslFlags |= QslFlag::Cnfm;
        alertContributions(confirmed);
    }
    if (changed)
        UpdateQso();
    m_newSeqNr = 0;
    if (config.F_F2_NextQSO == 0 && m_position >= 0)
        navigate(changed ? navigator().Step(m_position, -1) : std::optional<std::int32_t>(m_position));
}

void TQSOForm::alertContributions(const TQsoRec &confirmed)
{
    TAwardModel &model = m_main.Awards();
    std::string list;
    std::vector<const char *> wheels;
    const char *const awardNames[4] = {"DXCC", "WAZ", "WAS", "WPX"};
    const char *const levelNames[3] = {"mixed", "mode", "band"};
    for (int award = 0; award < AwardCount; ++award)
        for (int level = 0; level < 3; ++level)
            if (ContributesTo(model, m_log, confirmed, static_cast<AwardIndex>(award), static_cast<AwardLevel>(level))) {
                std::string name = std::string(awardNames[award]) + " " + levelNames[level];
                list += name + "\r";
                for (const AwardWheel &wheel : AwardWheelTable)
                    if (name == wheel.award)
                        wheels.push_back(wheel.control);
            }
    if (list.empty())
        return;
    if (notifier().confirm("Confirming this QSO contributes to:\r" + list + "Do you want to submit?", Buttons::YesNo) ==
        Answer::Yes)
        for (const char *wheel : wheels)
            List(wheel)->setCurrentIndex(1);
}

std::uint16_t TQSOForm::nextSequenceNumber(const TQsoRec &shown)
{
    if (m_log.HighestPrtSeqNr == 0xFFFF) {
        // The queue's numbers are 16 bits; wrapping to 0 would mean "not queued".
        notifier().error("The label sequence is full (65535 QSOs); print or clear it first");
        return 0;
    }
    std::uint16_t same = 0;
    for (std::int32_t i = m_log.EndOfCall(shown.Call.view()) - 1; i >= 0; --i) {
        const TQsoRec &q = *m_log.ByCall->Get(i);
        if (q.Call != shown.Call)
            break;
        if (q.PrtSeqNr != 0 && (!m_admits || m_admits(q))) {
            same = q.PrtSeqNr;
            break;
        }
    }
    if (same != 0 && same != m_log.HighestPrtSeqNr &&
        notifier().confirm("Same call marked already as number " + std::to_string(same) +
                               "\rinsert this QSO behind it?",
                           Buttons::YesNo) == Answer::Yes) {
        for (TQsoRec *q : m_log)
            if (q->PrtSeqNr > same)
                ++q->PrtSeqNr;
        if (m_log.SortIndex && m_log.CurrentSortKey == SortKey::SeqPrtNr) {
            m_log.SortIndex->SetSorted(false); // numbers changed in place: the order is sorted again
            m_log.SortIndex->SetSorted(true);
        }
        ++m_log.HighestPrtSeqNr;
        return static_cast<std::uint16_t>(same + 1);
    }
    return ++m_log.HighestPrtSeqNr;
}

// --- navigation and sort orders ----------------------------------------------------

QsoNavigator TQSOForm::navigator() const
{
    if (m_mode != QsoWindowMode::Filtered)
        return QsoNavigator(*m_log.ViewIndex, m_admits);
    auto *self = const_cast<TQSOForm *>(this);
    return QsoNavigator(*m_log.ViewIndex, [self](const TQsoRec &rec) { return self->IsShown(rec); });
}

bool TQSOForm::IsShown(const TQsoRec &rec)
{
    if (m_admits && !m_admits(rec))
        return false;
    return m_mode != QsoWindowMode::Filtered || m_filter.Matches(rec, *m_searchContext);
}

// --- search -------------------------------------------------------------------------

void TQSOForm::clearListsForSearch()
{
    for (auto &[name, list] : m_lists)
        list->setCurrentIndex(-1);
}

void TQSOForm::StartSearch(bool useOldFilter)
{
    if (!AgreeToLeaveMode() || m_log.Count() == 0)
        return;
    m_positionBeforeSearch = m_position;
    setMode(QsoWindowMode::SearchEntry);
    RefreshCustomAwards();
    for (auto &[name, edit] : m_lines)
        edit->setText(useOldFilter && m_oldSearchTexts.count(name) ? m_oldSearchTexts[name] : QString());
    clearListsForSearch();
    if (useOldFilter)
        for (auto &[name, list] : m_lists)
            if (m_oldSearchTexts.count(name))
                list->setCurrentIndex(list->findText(m_oldSearchTexts[name]));
    for (const char *cleared : {"Fqso_rsts", "fqso_rstr", "FQSO_group", "FQso_Zone"})
        Field(cleared)->clear();
    m_countryName->clear();
    m_dirDist->clear();
    Field("FQso_Call")->setStyleSheet(QString());
    Field("FQso_Call")->setFocus();
}

SearchFields TQSOForm::searchFields() const
{
    SearchFields f;
    auto text = [this](const char *name) { return CoreText(Field(name)->text().trimmed()); };
    auto byte = [this](const char *name) -> std::optional<std::uint8_t> {
        bool ok = false;
        int value = Field(name)->text().trimmed().toInt(&ok);
        return ok && value >= 0 && value <= 255 ? std::optional<std::uint8_t>(static_cast<std::uint8_t>(value))
                                                : std::nullopt;
    };
    auto listIndex = [this](const char *name, int offset) -> std::optional<std::uint8_t> {
        int index = List(name)->currentIndex();
        return index < 0 ? std::nullopt : std::optional<std::uint8_t>(static_cast<std::uint8_t>(index + offset));
    };
    auto yesNo = [this](const char *name) -> std::optional<bool> {
        int index = List(name)->currentIndex();
        return index < 0 ? std::nullopt : std::optional<bool>(index == 0);
    };
    DateFormat format = m_log.settings().dateFormat();
    f.call = text("FQso_Call");
    f.prefix = text("FQso_Prefix");
    if (!Field("FQso_Date")->text().trimmed().isEmpty())
        f.date = ParseDate(text("FQso_Date"), format);
    if (!Field("FQso_Time")->text().trimmed().isEmpty())
        f.time = parseTime(Field("FQso_Time")->text());
    f.mode = listIndex("Fqso_modex", 1);
    f.band = listIndex("Fqso_bandx", 1);
    if (!Field("Fqso_rsts")->text().trimmed().isEmpty())
        f.rstSent = EncodeRst(text("Fqso_rsts"));
    if (!Field("fqso_rstr")->text().trimmed().isEmpty())
        f.rstRcvd = EncodeRst(text("fqso_rstr"));
    f.recvd = text("Fqso_recvd");
    f.zone = byte("FQso_Zone");
    f.state = text("FQso_State");
    f.county = text("FQso_Cnty");
    f.grid = text("Fqso_grid");
    f.callNote = text("FQso_CallNotes");
    f.manager = text("FQso_Qsl_Mgr");
    f.qsoNote = text("Fqso_noteqso");
    f.iota = CoreText(Field("Fqso_iota")->text().trimmed().remove('-'));
    f.label = yesNo("Fqso_labelx");
    if (!Field("Fqso_QSLdate")->text().trimmed().isEmpty())
        f.qslDate = ParseDate(text("Fqso_QSLdate"), format);
    f.method = listIndex("Fqso_qsl_methodx", 0);
    f.confirmed = yesNo("Fqso_confx");
    f.qrp = yesNo("Fqso_qrpx");
    f.yl = yesNo("Fqso_ylx");
    if (int sat = List("Fqso_satx")->currentIndex(); sat >= 0)
        f.satellite = static_cast<std::uint8_t>(sat == 0 ? 1 : sat + 1);
    f.custAwdChosen = List("Fqso_awdtype")->currentIndex() >= 0;
    f.custAwd = chosenAward();
    f.custValue = m_awardValues->isVisibleTo(this) && m_awardValues->currentIndex() >= 0
                      ? [&] {
                            const TCustAwardList &awards = m_main.CustomAwards();
                            std::int32_t index = awards.IndexOf(f.custAwd);
                            const TCustAwardValue *value =
                                index >= 0 ? awards.At(index).ValueOfName(CoreText(m_awardValues->currentText())) : nullptr;
                            return value ? value->key : std::string();
                        }()
                      : text("Fqso_awdval");
    f.group = byte("FQSO_group");
    f.validDx = yesNo("Faw_valid");
    for (const AwardWheel &wheel : AwardWheelTable) {
        int index = List(wheel.control)->currentIndex();
        f.awardWheels.emplace_back(wheel.award, index < 0 ? std::nullopt : std::optional<int>(index));
    }
    return f;
}

void TQSOForm::applySearchKinds(QsoFilter &filter) const
{
    const TConfigRecord &config = m_main.ConfigRecord();
    filter.CallKind = config.DefQSO_CallSearch >= 1 && config.DefQSO_CallSearch <= 4
                          ? static_cast<CallSearch>(config.DefQSO_CallSearch)
                          : CallSearch::Exact;
    filter.DateKind = config.DefQSO_DateSearch >= 1 && config.DefQSO_DateSearch <= 3
                          ? static_cast<DateSearch>(config.DefQSO_DateSearch)
                          : DateSearch::Exact;
}

bool TQSOForm::RunSearch()
{
    m_oldSearchTexts.clear();
    for (const auto &[name, edit] : m_lines)
        m_oldSearchTexts[name] = edit->text();
    for (const auto &[name, list] : m_lists)
        m_oldSearchTexts[name] = list->currentText();
    m_filter.Clear();
    m_filter.Conditions = BuildConditions(searchFields());
    applySearchKinds(m_filter);
    setMode(QsoWindowMode::Filtered);
    auto first = navigator().First();
    if (!first) {
        setMode(QsoWindowMode::SearchEntry);
        notifier().information("No matching QSO found");
        return false;
    }
    showPosition(*first);
    m_main.RequestRefresh(5);
    return true;
}

bool TQSOForm::SearchFor(const std::function<void(TQSOForm &)> &fill, std::vector<SearchCondition> extra)
{
    StartSearch(false);
    if (m_mode != QsoWindowMode::SearchEntry)
        return false;
    fill(*this);
    if (!RunSearch() && extra.empty())
        return false;
    if (extra.empty())
        return true;
    m_filter.Conditions.insert(m_filter.Conditions.end(), extra.begin(), extra.end());
    auto first = navigator().First();
    if (!first) {
        setMode(QsoWindowMode::Browse);
        notifier().information("No matching QSO found");
        navigate(navigator().Last());
        return false;
    }
    showPosition(*first);
    return true;
}

std::int64_t TQSOForm::CountQsos()
{
    std::int64_t count = 0;
    if (m_mode == QsoWindowMode::SearchEntry) {
        QsoFilter filter;
        filter.Conditions = BuildConditions(searchFields());
        applySearchKinds(filter);
        for (const TQsoRec *rec : m_log)
            count += (!m_admits || m_admits(*rec)) && filter.Matches(*rec, *m_searchContext);
    } else if (m_mode == QsoWindowMode::Browse && m_log.CurSelIndex == 0) {
        count = m_log.Count();
    } else {
        for (const TQsoRec *rec : m_log)
            count += IsShown(*rec);
    }
    notifier().information(CountedNoun(count, "QSO") + "found");
    return count;
}

void TQSOForm::SelectionDialog()
{
    TSelectionForm dialog(m_log, m_log.settings().dateFormat(), notifier(), this);
    dialog.exec();
    if (dialog.Result() == TSelectionEditor::Outcome::Cancelled)
        return;
    navigate(navigator().First());
    m_main.RequestRefresh(5);
    UpdateCaption();
}

void TQSOForm::CancelFilter()
{
    if (m_mode != QsoWindowMode::Filtered && m_mode != QsoWindowMode::SearchEntry)
        return;
    bool wasSearchEntry = m_mode == QsoWindowMode::SearchEntry;
    const TQsoRec *shown = m_mode == QsoWindowMode::Filtered ? ShownQso() : nullptr;
    setMode(QsoWindowMode::Browse);
    std::int32_t target = wasSearchEntry ? m_positionBeforeSearch : (shown ? m_log.ViewIndex->PositionOf(shown) : -1);
    navigate(target >= 0 && target < m_log.ViewIndex->Count() ? std::optional<std::int32_t>(target) : navigator().Last());
    m_main.RequestRefresh(5);
}

void TQSOForm::UpdateCaption()
{
    QString name = QFileInfo(QString::fromStdString(m_log.LogFileName)).completeBaseName().toUpper();
    QString caption = name + QStringLiteral(" sorted by ") +
                      QString::fromLatin1(SortOrderTable[static_cast<std::size_t>(m_log.CurrentSortKey)].name);
    if (m_log.CurSelIndex != 0)
        caption += QStringLiteral("  Selection: ") + ScreenText(m_log.CurSelection.Name.view());
    setWindowTitle(caption);
}

void TQSOForm::navigate(const std::optional<std::int32_t> &target)
{
    if (!target) {
        QApplication::beep();
        return;
    }
    if (m_mode != QsoWindowMode::Browse && m_mode != QsoWindowMode::Filtered)
        setMode(QsoWindowMode::Browse);
    showPosition(*target);
}

void TQSOForm::showPosition(std::int32_t position)
{
    m_position = position;
    if (position >= 0 && position < m_log.ViewIndex->Count())
        showRecord(*m_log.ViewIndex->Get(position));
    updateScrollBar();
    for (int entry = 0; entry < TMainForm::CompanionCount; ++entry)
        m_main.RequestRefresh(entry);
}

void TQSOForm::updateScrollBar()
{
    QScrollBar *bar = m_main.ScrollBar();
    bool browsing = m_mode == QsoWindowMode::Browse || m_mode == QsoWindowMode::Filtered;
    bar->setVisible(browsing && m_log.Count() > 0);
    QSignalBlocker block(bar);
    bar->setRange(0, std::max(0, m_log.ViewIndex->Count() - 1));
    bar->setPageStep(10);
    bar->setValue(std::max(0, m_position));
}

void TQSOForm::ShowQso(const TQsoRec *rec)
{
    std::int32_t position = rec ? m_log.ViewIndex->PositionOf(rec) : -1;
    if (position < 0)
        return;
    if (m_mode != QsoWindowMode::Filtered)
        setMode(QsoWindowMode::Browse);
    showPosition(position);
}

void TQSOForm::OpenCompanion(int entry)
{
    if (QWidget *open = m_main.Companion(entry)) {
        open->show();
        open->raise();
        return;
    }
    QWidget *window = nullptr;
    if (entry == 4)
        window = new TSameCall(m_log, m_main, *this);
    if (entry == 9)
        window = new TMasterCompanion(m_main, *this);
    for (SummaryKind kind : {SummaryKind::Country, SummaryKind::Zone, SummaryKind::State, SummaryKind::Iota,
                             SummaryKind::Grid, SummaryKind::Wpx, SummaryKind::County})
        if (entry == static_cast<int>(kind))
            window = new TXSummary(kind, m_log, m_main, *this);
    if (!window)
        return;
    m_main.SetCompanion(entry, window);
    window->show();
}

void TQSOForm::GoNext() { navigate(navigator().Step(m_position, 1)); }
void TQSOForm::GoPrevious() { navigate(navigator().Step(m_position, -1)); }
void TQSOForm::GoFirst() { navigate(navigator().First()); }
void TQSOForm::GoLast() { navigate(navigator().Last()); }

void TQSOForm::GoNextSorted() { stepSorted(1); }
void TQSOForm::GoPreviousSorted() { stepSorted(-1); }

void TQSOForm::stepSorted(int step)
{
    SortKey key = m_log.CurrentSortKey;
    if (key == SortKey::CustAwd) {
        QApplication::beep(); // the Cust Awd order has no primary key to compare
        return;
    }
    navigate(navigator().StepSorted(m_position, step, [key](const TQsoRec *a, const TQsoRec *b) {
        return ComparePrimaryKey(key, a, b);
    }));
}

void TQSOForm::SetSortOrder(int key)
{
    if (key < 0 || key >= SortKeyCount)
        return;
    std::int32_t position = (m_mode == QsoWindowMode::Browse || m_mode == QsoWindowMode::Filtered) ? m_position : -1;
    m_log.SetSortKey(static_cast<SortKey>(key), position);
    m_position = position;
    UpdateCaption();
    updateScrollBar();
}

// --- clock, radio, spots -------------------------------------------------------------

void TQSOForm::ClockTick(std::uint16_t day, std::int32_t seconds)
{
    if (m_mode != QsoWindowMode::AddRealTime || !m_clockFollow)
        return;
    Field("FQso_Date")->setText(QString::fromStdString(FormatDate(day, m_log.settings().dateFormat(), false)));
    Field("FQso_Time")->setText(QString::fromStdString(FormatTime(seconds, m_main.ConfigRecord().DefQSO_ShowSecs)));
    m_lastTime = seconds;
}

void TQSOForm::RadioReport(int mode, std::int64_t kHz)
{
    int band = BandOfFreq(kHz);
    if (band == 0)
        return;
    if (List("Fqso_bandx")->currentIndex() + 1 != band) {
        List("Fqso_bandx")->setCurrentIndex(band - 1);
        bandChanged();
    }
    if (mode > 0 && mode < ModeCount && List("Fqso_modex")->currentIndex() + 1 != mode) {
        List("Fqso_modex")->setCurrentIndex(mode - 1);
        modeChanged();
    }
}

void TQSOForm::SpotCall(const std::string &call, std::uint16_t day)
{
    if (m_mode != QsoWindowMode::AddRealTime || !Field("FQso_Call")->text().isEmpty())
        return;
    CallInfo info = m_logic->ProcessCall(call, day);
    m_country = info.country;
    Field("FQso_Prefix")->setText(ScreenText(info.prefix));
    m_countryName->setText(ScreenText(info.countryName));
    Field("FQso_Zone")->setText(info.country ? QString::number(info.zone) : QString());
}

void TQSOForm::RefreshFromLog()
{
    if (m_mode == QsoWindowMode::Browse || m_mode == QsoWindowMode::Filtered) {
        if (m_position >= m_log.ViewIndex->Count())
            m_position = m_log.ViewIndex->Count() - 1;
        showPosition(m_position);
    }
}

// --- contest mode --------------------------------------------------------------------

void TQSOForm::updateContestPanel()
{
    const TConfigRecord &config = m_main.ConfigRecord();
    bool show = m_mode == QsoWindowMode::AddRealTime && config.ContestEnabled && config.ContestNextNumber != 0;
    m_main.ShowContestNumber(show ? static_cast<int>(config.ContestNextNumber) : 0);
}

void TQSOForm::ApplyContestSettings()
{
    updateContestPanel();
    checkDupe();
}

void TQSOForm::ContestModeDialog()
{
    TConfigRecord &config = m_main.ConfigRecord();
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("ContestDialog"));
    dialog.setWindowTitle(QStringLiteral("Contest Mode"));
    auto *form = new QFormLayout(&dialog);
    auto *enabled = new QCheckBox(QStringLiteral("Contest Mode Enabled"), &dialog);
    enabled->setObjectName(QStringLiteral("ContestEnabled"));
    enabled->setChecked(config.ContestEnabled);
    auto *date = new QLineEdit(QString::fromStdString(FormatDate(config.ContestStartDate, m_log.settings().dateFormat(), false)), &dialog);
    date->setObjectName(QStringLiteral("ContestDate"));
    auto *time = new QLineEdit(QString::fromStdString(FormatTime(config.ContestStartTime, false)), &dialog);
    time->setObjectName(QStringLiteral("ContestTime"));
    auto *number = new QLineEdit(QString::number(static_cast<int>(config.ContestNextNumber)), &dialog);
    number->setObjectName(QStringLiteral("ContestNumber"));
    number->setToolTip(QStringLiteral("Set to 0 if no sequence numbers wanted"));
    auto *note = new QLineEdit(ScreenText(config.ContestNoteText.view()), &dialog);
    note->setObjectName(QStringLiteral("ContestNote"));
    note->setMaxLength(static_cast<int>(config.ContestNoteText.capacity));
    form->addRow(enabled);
    form->addRow(QStringLiteral("Date"), date);
    form->addRow(QStringLiteral("Time"), time);
    form->addRow(QStringLiteral("Next sequence\nnumber"), number);
    form->addRow(QStringLiteral("Text to add to QSO  note"), note);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return;
    config.ContestEnabled = enabled->isChecked();
    config.ContestStartDate = ParseDate(date->text().toStdString(), m_log.settings().dateFormat()).value_or(0);
    config.ContestStartTime = parseTime(time->text()).value_or(0);
    config.ContestNextNumber = std::clamp(number->text().toInt(), 0, 99999);
    config.ContestNoteText = CoreText(note->text());
    ApplyContestSettings();
}

// --- window size and keys -------------------------------------------------------------

void TQSOForm::applyWindowSize()
{
    int step = std::min<int>(m_main.ConfigRecord().QsoWindowSize, 5);
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i]->setVisible(step == 5 || static_cast<int>(i) <= step + 1);
    ApplyTabStops();
    adjustSize();
}

namespace {
const char *const TabOrderFields[23] = {
    "FQso_Prefix", "FQso_Date",  "FQso_Time", "Fqso_modex", "Fqso_bandx", "Fqso_rsts", "fqso_rstr", "Fqso_recvd",
    "FQso_Zone",   "FQso_State", "FQso_Cnty", "Fqso_grid",  "FQso_CallNotes", "FQso_Qsl_Mgr", "Fqso_noteqso",
    "Fqso_iota",   "Fqso_labelx", "Fqso_QSLdate", "Fqso_qsl_methodx", "Fqso_confx", "Fqso_qrpx", "Fqso_ylx",
    "Fqso_satx"};
} // namespace

void TQSOForm::ApplyTabStops()
{
    const TConfigRecord &config = m_main.ConfigRecord();
    for (std::size_t i = 0; i < 23; ++i) {
        QWidget *field = Field(TabOrderFields[i]) ? static_cast<QWidget *>(Field(TabOrderFields[i]))
                                                  : static_cast<QWidget *>(List(TabOrderFields[i]));
        if (field)
            field->setFocusPolicy(config.TabDisabled[i] ? Qt::ClickFocus : Qt::StrongFocus);
    }
}

void TQSOForm::DisableFieldsDialog()
{
    TConfigRecord &config = m_main.ConfigRecord();
    std::array<bool, 23> disabled{};
    for (std::size_t i = 0; i < 23; ++i)
        disabled[i] = config.TabDisabled[i];
    TTabDisabled dialog(disabled, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    disabled = dialog.Disabled();
    for (std::size_t i = 0; i < 23; ++i)
        config.TabDisabled[i] = disabled[i];
    ApplyTabStops();
}

void TQSOForm::OpenFieldList(QWidget *field)
{
    const TCountryData &countries = m_main.Countries();
    std::vector<std::pair<std::string, std::string>> entries;
    auto tableEntries = [&entries](const TTwoIndex &table) {
        for (std::int32_t i = 0; i < table.Count(); ++i)
            entries.emplace_back(table.KeyString(i), table.TailString(i));
    };
    if (field == Field("FQso_Prefix")) {
        tableEntries(countries.Countries);
        int chosen = TPicklist(QStringLiteral("Prefix"), entries, 1, this).Choose();
        if (chosen > 0) {
            Field("FQso_Prefix")->setText(ScreenText(entries[static_cast<std::size_t>(chosen)].first));
            Field("FQso_Prefix")->setModified(true);
            prefixLeft();
        }
    } else if (field == Field("FQso_State")) {
        std::uint8_t hasStates = m_country > 0 ? countries.CountryByte(m_country, 47) : 0;
        if (hasStates == 2) {
            notifier().information("There are no states in this country\r");
            Field("FQso_State")->clear();
        } else if (hasStates == 3 || hasStates == 4) {
            Field("FQso_State")->setText(hasStates == 3 ? QStringLiteral("HI") : QStringLiteral("AK"));
        } else if (hasStates == 1) {
            tableEntries(countries.States);
            int chosen = TPicklist(QStringLiteral("States"), entries, 1, this).Choose();
            if (chosen > 0) {
                Field("FQso_State")->setText(ScreenText(entries[static_cast<std::size_t>(chosen)].first));
                Field("FQso_State")->setModified(true);
                stateLeft();
            }
        }
    } else if (field == Field("Fqso_iota")) {
        tableEntries(countries.Iota);
        int chosen = TPicklist(QStringLiteral("Select IOTA"), entries, 0, this).Choose();
        if (chosen >= 0)
            Field("Fqso_iota")->setText(ScreenText(entries[static_cast<std::size_t>(chosen)].first));
    } else if (field == Field("FQso_Cnty")) {
        std::string state = Field("FQso_State")->text().trimmed().toStdString();
        std::int32_t index = countries.StateIndex(state);
        if (index == 0) {
            notifier().information("No State Information Available");
            return;
        }
        for (std::uint32_t number = 1;; ++number) {
            std::string name = countries.CountyName(index, number);
            if (name.empty())
                break;
            entries.emplace_back(std::to_string(number), name);
        }
        std::string title = std::string(ScreenText(countries.StateAbbreviation(index)).toStdString());
        int chosen = TPicklist(QString::fromStdString(title) + QStringLiteral(" Counties"), entries, 0, this).Choose();
        if (chosen >= 0)
            Field("FQso_Cnty")->setText(ScreenText(entries[static_cast<std::size_t>(chosen)].second));
    } else if (field == Field("FQSO_group")) {
        for (std::size_t g = 0; g < m_log.GroupNames.size(); ++g) {
            char key[24];
            std::snprintf(key, sizeof key, "%3zu", g);
            entries.emplace_back(key, m_log.GroupNames[g]);
        }
        int chosen = TPicklist(QStringLiteral("Select Group"), entries, 1, this).Choose();
        if (chosen > 0)
            Field("FQSO_group")->setText(QString::number(chosen));
    }
}

void TQSOForm::EditNote(QLineEdit *field)
{
    if (field == Field("FQso_Qsl_Mgr")) {
        std::string manager = CoreText(field->text().trimmed().toUpper());
        if (manager.empty()) {
            notifier().information("Editing the address of a QSL manager\rrequires a callsign for the manager");
            return;
        }
        std::vector<std::string> lines = ManagerAddress(m_main.Countries(), manager);
        QStringList shown;
        for (const auto &line : lines)
            shown << ScreenText(line);
        TEditNote editor(QStringLiteral("Address for ") + ScreenText(manager), shown.join('|'), QString(), this);
        if (editor.exec() == QDialog::Accepted && editor.Note() != shown.join('|')) {
            std::vector<std::string> edited;
            for (const QString &line : editor.Note().split('|'))
                edited.push_back(CoreText(line));
            while (!edited.empty() && edited.back().empty())
                edited.pop_back();
            ReplaceManagerAddress(m_main.Countries(), manager, edited);
        }
        return;
    }
    bool callNotes = field == Field("FQso_CallNotes");
    TEditNote editor(callNotes ? QStringLiteral("Callsign Notes") : QStringLiteral("QSO Notes"), field->text(),
                     Field("FQso_Date")->text(), this);
    if (editor.exec() == QDialog::Accepted && editor.Note() != field->text()) {
        field->setText(editor.Note().left(250));
        field->setModified(true);
        if (callNotes)
            m_callNotesChanged = true;
    }
}

void TQSOForm::NextWindowSize()
{
    TConfigRecord &config = m_main.ConfigRecord();
    config.QsoWindowSize = static_cast<std::uint8_t>((config.QsoWindowSize + 1) % 6);
    applyWindowSize();
    Field("FQso_Call")->setFocus();
}

void TQSOForm::stepDate(QLineEdit *field, int days)
{
    std::uint16_t day = ParseDate(field->text().toStdString(), m_log.settings().dateFormat()).value_or(0);
    if (day == 0 && field == Field("Fqso_QSLdate"))
        day = TodayDayNumber();
    else if (day != 0)
        day = static_cast<std::uint16_t>(std::clamp<int>(day + days, 1, LastValidDay));
    if (day)
        field->setText(QString::fromStdString(FormatDate(day, m_log.settings().dateFormat(), false)));
}

void TQSOForm::stepTime(int minutes)
{
    std::int32_t time = parseTime(Field("FQso_Time")->text()).value_or(0) + minutes * 60;
    if (time < 0 || time >= 86400) {
        stepDate(Field("FQso_Date"), time < 0 ? -1 : 1);
        time = (time + 86400) % 86400;
    }
    Field("FQso_Time")->setText(QString::fromStdString(FormatTime(time, m_main.ConfigRecord().DefQSO_ShowSecs)));
}

void TQSOForm::appendToNote(QLineEdit *field, const QString &text, bool blank)
{
    QString note = field->text();
    if (blank && !note.isEmpty())
        note += ' ';
    field->setText(note + text);
    field->setCursorPosition(static_cast<int>(field->text().size()));
    field->setModified(true);
    if (field == Field("FQso_CallNotes"))
        m_callNotesChanged = true;
}

bool TQSOForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn &&
        (watched == Field("FQso_Date") || watched == Field("FQso_Time")) && m_mode == QsoWindowMode::AddRealTime)
        m_clockFollow = false;
    if (event->type() != QEvent::KeyPress)
        return TQsoWindowBase::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    auto *edit = qobject_cast<QLineEdit *>(watched);
    bool notes = edit && (edit == Field("FQso_CallNotes") || edit == Field("Fqso_noteqso"));
    if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
        OpenFieldList(qobject_cast<QWidget *>(watched));
        return true;
    }
    if (edit && key->modifiers() == Qt::ControlModifier && key->key() == Qt::Key_E &&
        (notes || edit == Field("FQso_Qsl_Mgr"))) {
        EditNote(edit);
        return true;
    }
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (edit)
            emit edit->editingFinished();
        EnterPressed();
        return true;
    case Qt::Key_Escape:
        EscapePressed();
        return true;
    case Qt::Key_Space:
        if (!notes && edit != Field("FQso_Cnty") && key->modifiers() == Qt::NoModifier) {
            focusNextChild();
            return true;
        }
        break;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        int direction = key->key() == Qt::Key_Up ? 1 : -1;
        if (edit == Field("FQso_Date") || edit == Field("Fqso_QSLdate")) {
            stepDate(edit, direction);
            return true;
        }
        if (edit == Field("FQso_Time")) {
            stepTime(direction);
            return true;
        }
        break;
    }
    default:
        if (notes && key->modifiers() == Qt::ControlModifier) {
            if (key->key() == Qt::Key_D) {
                appendToNote(edit, Field("FQso_Date")->text(), true);
                return true;
            }
            if (key->key() == Qt::Key_T) {
                appendToNote(edit,
                             QString::fromStdString(FormatDate(TodayDayNumber(), m_log.settings().dateFormat(), false)),
                             false);
                return true;
            }
        }
        break;
    }
    return TQsoWindowBase::eventFilter(watched, event);
}

void TQSOForm::closeEvent(QCloseEvent *event)
{
    // The window never closes by itself: the main window closes the log, and the log takes the window with it.
    event->ignore();
    if (!AgreeToLeaveMode())
        return;
    QTimer::singleShot(0, &m_main, [main = &m_main] {
        main->CloseCurrentLog();
        main->UpdateLogMenus();
        main->ConfigRecord().LASTLOG = "<none>";
    });
}

} // namespace vellum
