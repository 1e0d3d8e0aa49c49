#include "Fqso.h"

#include "Fbulkcommands.h"

#include "Fmastercomp.h"
#include "Fpicklist.h"
#include "Fqsodialogs.h"
#include "Fsamecal.h"
#include "Fxsummary.h"

#include "app/programcontext.h"
#include "logstore/Ftext.h"
#include "app/windowhost.h"
#include "app/windowservices.h"
#include "config/configrecord.h"
#include "logstore/Fdaterange.h"
#include "logstore/Fgroups.h"
#include "logstore/Fselect.h"
#include "logstore/qsodata.h"
#include "logstore/qsoorders.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QVBoxLayout>

#include <memory>
#include <stdexcept>

namespace vellum {

/// One control of the form: a field, a list or one of the two panels, with its caption.
struct FormControl {
    enum Kind { Field, List, CountryPanel, DirectionPanel } kind;
    int id;
    const char *caption;
};

namespace {

constexpr FormControl field(QsoField f, const char *caption) { return {FormControl::Field, static_cast<int>(f), caption}; }
constexpr FormControl list(QsoList l, const char *caption) { return {FormControl::List, static_cast<int>(l), caption}; }

/// The rows of the form from the top; the window size steps show rows from the top.
const std::vector<std::vector<FormControl>> FormRows = {
    {field(QsoField::Call, "Callsign"), field(QsoField::Prefix, "Prefix"), field(QsoField::Date, "Date"),
     field(QsoField::Time, "Time"), list(QsoList::Mode, "Mode"), list(QsoList::Band, "Band")},
    {field(QsoField::RstSent, "rstS"), field(QsoField::RstRcvd, "rstR"), field(QsoField::Recvd, "Recvd"),
     field(QsoField::Zone, "Zone"), field(QsoField::State, "State"), field(QsoField::County, "County"),
     field(QsoField::Grid, "Grid")},
    {field(QsoField::CallNotes, "Notes for this Call"), {FormControl::CountryPanel, 0, nullptr}},
    {field(QsoField::Manager, "QSL Mgr"), field(QsoField::QsoNote, "Notes for this QSO")},
    {field(QsoField::Iota, "IOTA"), list(QsoList::Label, "Label"), field(QsoField::QslDate, "QSL Date"),
     list(QsoList::QslMethod, "Method"), list(QsoList::Confirmed, "Cnfm"), list(QsoList::Qrp, "QRP"),
     list(QsoList::Yl, "YLop"), list(QsoList::Satellite, "Satellite")},
    {list(QsoList::AwardType, "Custom award"), field(QsoField::AwardValue, "Value"), list(QsoList::AwardValueList, "Value"),
     field(QsoField::Group, "Group"), list(QsoList::ValidDx, "ValidDX"), {FormControl::DirectionPanel, 0, nullptr}},
};

QWidget *newRow(QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    parent->layout()->addWidget(row);
    return row;
}

/// A caption above a control, the pair added to a row.
template <typename Control>
Control *captioned(QWidget *row, const QString &caption, const char *name)
{
    auto *box = new QWidget(row);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    auto *label = new QLabel(caption, box);
    auto *control = new Control(box);
    control->setObjectName(QString::fromLatin1(name));
    label->setBuddy(control);
    layout->addWidget(label);
    layout->addWidget(control);
    row->layout()->addWidget(box);
    return control;
}

QLabel *addPanel(QWidget *row, const char *name, int width)
{
    auto *label = new QLabel(row);
    label->setObjectName(QString::fromLatin1(name));
    label->setMinimumWidth(width);
    row->layout()->addWidget(label);
    return label;
}

void setTextIfChanged(QLabel *label, const QString &text)
{
    if (label->text() != text)
        label->setText(text);
}

QStringList screenTexts(const std::vector<std::string> &texts)
{
    QStringList list;
    for (const std::string &text : texts)
        list << ScreenText(text);
    return list;
}

} // namespace

TQSOForm::TQSOForm(TQsoData &log, WindowHost &host, QsoLookups *lookups)
    : TQsoWindowBase(nullptr), m_host(host), m_entry(host.Context(), log, lookups)
{
    setObjectName(QStringLiteral("QSOForm"));
    m_entry.SetDateRangeAsker([this](std::uint16_t around) {
        TDateRangeForm dialog(around, around, m_entry.Log().settings().dateFormat(), m_host.Notifier(), this);
        if (dialog.exec() != QDialog::Accepted)
            return std::pair<std::uint16_t, std::uint16_t>{around, around};
        return std::pair<std::uint16_t, std::uint16_t>{dialog.StartDate(),
                                                        dialog.EndDate() ? dialog.EndDate() : OpenEndDate};
    });
    buildForm();
    buildMenus();
    checkControlNames();
    host.Windows().RestoreWindowPos(this, WindowIndex::QSO);
    host.Windows().ApplyWindowStyle(this);
    applyWindowSize();
    host.Handle(HostMessage::QsoEntryChanged, this, [this] { m_entry.RefreshCustomAwards(); });
    if (QScrollBar *bar = host.ScrollBar())
        connect(bar, &QScrollBar::actionTriggered, this, [this, bar](int) { m_entry.GoTo(bar->sliderPosition()); });
    m_entry.SetEvents(this);
    m_entry.Start();
}

TQSOForm::~TQSOForm()
{
    // Fields losing the focus while they are destroyed emit editingFinished: the
    // entry must not hear from a window that is half gone.
    m_entry.SetEvents(nullptr);
    for (QLineEdit *edit : m_fields)
        disconnect(edit, nullptr, this, nullptr);
    for (QComboBox *box : m_lists)
        disconnect(box, nullptr, this, nullptr);
    if (QScrollBar *bar = m_host.ScrollBar()) {
        disconnect(bar, nullptr, this, nullptr);
        bar->hide();
    }
    m_host.Windows().SaveWindowPos(this, WindowIndex::QSO);
}

// --- building the form ---------------------------------------------------------------

QLineEdit *TQSOForm::addLine(QWidget *row, QsoField field, const QString &caption)
{
    auto *edit = captioned<QLineEdit>(row, caption, ControlName(field));
    edit->setMaxLength(m_entry.MaxLength(field));
    edit->installEventFilter(this);
    m_fields[static_cast<std::size_t>(field)] = edit;
    connectField(field);
    return edit;
}

QComboBox *TQSOForm::addList(QWidget *row, QsoList list, const QString &caption)
{
    auto *box = captioned<QComboBox>(row, caption, ControlName(list));
    box->addItems(screenTexts(m_entry.Items(list)));
    box->installEventFilter(this);
    m_lists[static_cast<std::size_t>(list)] = box;
    connect(box, &QComboBox::currentIndexChanged, this, [this, list](int index) {
        if (!m_showing)
            m_entry.Select(list, entryIndex(index));
    });
    connect(box, &QComboBox::activated, this, [this, list](int index) {
        if (!m_showing)
            m_entry.Choose(list, entryIndex(index));
    });
    return box;
}

void TQSOForm::addControl(QWidget *row, const FormControl &control)
{
    QString caption = QString::fromLatin1(control.caption);
    switch (control.kind) {
    case FormControl::Field: addLine(row, static_cast<QsoField>(control.id), caption); break;
    case FormControl::List: addList(row, static_cast<QsoList>(control.id), caption); break;
    case FormControl::CountryPanel: m_countryName = addPanel(row, CountryNameControl, 180); break;
    case FormControl::DirectionPanel: m_dirDist = addPanel(row, DirectionControl, 200); break;
    }
}

void TQSOForm::connectField(QsoField field)
{
    QLineEdit *edit = Field(field);
    connect(edit, &QLineEdit::textChanged, this, [this, field](const QString &text) {
        if (!m_showing)
            m_entry.Set(field, CoreText(text));
    });
    connect(edit, &QLineEdit::textEdited, this, [this, field, edit](const QString &text) {
        m_entry.Edit(field, CoreText(text));
        // A field filled to its length passes the focus on.
        if (edit->text().size() >= edit->maxLength() && edit->cursorPosition() == edit->text().size() &&
            edit->maxLength() < 250)
            focusNextChild();
    });
    connect(edit, &QLineEdit::editingFinished, this, [this, field] {
        if (!m_showing)
            m_entry.Leave(field);
    });
    connect(edit, &QLineEdit::inputRejected, this, [] { QApplication::beep(); });
}

void TQSOForm::buildForm()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    for (const std::vector<FormControl> &controls : FormRows) {
        QWidget *row = m_rows.emplace_back(newRow(this));
        for (const FormControl &control : controls)
            addControl(row, control);
        if (&controls == &FormRows.front()) {
            // The award wheels stand right below the call: size step 0 shows the form down to them.
            QWidget *wheels = m_rows.emplace_back(newRow(this));
            for (int wheel = 0; wheel < AwardWheelCount; ++wheel)
                addList(wheels, WheelList(wheel), QString::fromLatin1(AwardWheelTable[wheel].award));
        }
    }
    auto picture = [this](QsoField field, const char *pattern) {
        Field(field)->setValidator(new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(pattern)), Field(field)));
    };
    picture(QsoField::Zone, "[0-9]{0,2}");
    picture(QsoField::Group, "[0-9]{0,3}");
    picture(QsoField::RstSent, "");
    picture(QsoField::RstRcvd, "");
    applyTabOrder();
    for (QWidget *control : findChildren<QWidget *>()) {
        if (!qobject_cast<QLineEdit *>(control) && !qobject_cast<QComboBox *>(control))
            continue;
        control->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(control, &QWidget::customContextMenuRequested, this, [this, control](const QPoint &at) {
            std::unique_ptr<QMenu> menu(PopupMenu(control));
            if (menu)
                menu->exec(control->mapToGlobal(at));
        });
    }
}

QWidget *TQSOForm::control(const char *name) const { return findChild<QWidget *>(QString::fromLatin1(name)); }

void TQSOForm::applyTabOrder()
{
    // Tab follows the documented order, not the places of the controls on the form.
    const auto &order = QsoTabOrder();
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(control(order[i]), control(order[i + 1]));
}

void TQSOForm::focusAlongTabOrder(QWidget *from, int step)
{
    const auto &order = QsoTabOrder();
    int count = static_cast<int>(order.size());
    int at = 0;
    while (at < count && control(order[static_cast<std::size_t>(at)]) != from)
        ++at;
    for (int n = 1; n <= count; ++n) {
        QWidget *next = control(order[static_cast<std::size_t>(((at + step * n) % count + count) % count)]);
        if (next->isVisible() && next->isEnabled() && next->focusPolicy() != Qt::NoFocus) {
            next->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

void TQSOForm::checkControlNames() const
{
    // The control names are the form's documented interface: a control left out
    // of the form is a programming error, caught at start.
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (!m_fields[i])
            throw std::logic_error(std::string("QSO window: no control ") + ControlName(static_cast<QsoField>(i)));
    for (std::size_t i = 0; i < m_lists.size(); ++i)
        if (!m_lists[i])
            throw std::logic_error(std::string("QSO window: no control ") + ControlName(static_cast<QsoList>(i)));
    for (const char *name : TabDisabledControls)
        if (!findChild<QWidget *>(QString::fromLatin1(name)))
            throw std::logic_error(std::string("QSO window: no control ") + name);
}

namespace {

/// The QSO window's menus and the documented order of their items (by object name).
/// Items other subsystems register take their place here; menus without items are left out.
struct MenuLayout {
    const char *menu;
    std::vector<const char *> items;
};
const std::vector<MenuLayout> QsoMenus = {
    {"&QSO",
     {"AddRealtime1", "AddOffline1", "Navigate1", "DeleteQSO1", "ConfirmLabel1", "ConfirmSWL1", "SearchExternal1",
      "NextWindowSize1", "AnnounceDX1", "UpdateQSO1", "ContestMode1", "ClearQSO1", "DisableFields1", "MultipleQSOs1",
      "SpecialKeys1"}},
    {"Sort", {}},
    {"F&ilter", {"Search1", "SearchOld1", "Count1", "CancelFilter1", "Selection1", "EditGroupNames1"}},
    {"&Labels",
     {"ClearPrintFlags1", "ClearSequencedPrint1", "ClearSWLLabels1", "SetPrintFlags1", "MarkForQSL1",
      "ChangeQSLRouting1", "PrintQSLLabels1", "PrintLabelsInSequence1", "PrintSWLLabels1"}},
    {"&Window",
     {"Country1", "SunRiseSet1", "IOTA1", "Logbook1", "SameCall1", "State1", "County1", "Zone1", "Grid1", "WPX1",
      "MasterCalls1", "Worldmap1", "PSK311", "CWKeyboard1", "Switchtopacket1"}},
    {"&Reports", {}},
    {"Rotator", {"ShortPath1", "LongPath1", "StopRotator1", "Parameters1"}},
};

} // namespace

QAction *TQSOForm::menuItem(const QString &menu, const char *name, const QString &caption, std::function<void()> slot,
                            QKeySequence key)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    connect(action, &QAction::triggered, this, std::move(slot));
    addAction(action);
    m_menuActions[menu].push_back(action);
    return action;
}

void TQSOForm::buildMenus()
{
    QsoEntry &e = m_entry;
    const QString qso = QStringLiteral("&QSO"), filter = QStringLiteral("F&ilter"), windows = QStringLiteral("&Window");
    menuItem(qso, "AddRealtime1", QStringLiteral("Add Real-time"), [&e] { e.AddRealTime(); }, QKeySequence(Qt::Key_F9));
    menuItem(qso, "AddOffline1", QStringLiteral("Add Off-line"), [&e] { e.AddOffline(); });
    const QString navigate = QStringLiteral("Navigate");
    menuItem(navigate, "Next1", QStringLiteral("Next"), [&e] { e.GoNext(); }, QKeySequence(Qt::Key_PageDown));
    menuItem(navigate, "Previous1", QStringLiteral("Previous"), [&e] { e.GoPrevious(); }, QKeySequence(Qt::Key_PageUp));
    menuItem(navigate, "Last1", QStringLiteral("Last"), [&e] { e.GoLast(); }, QKeySequence(Qt::CTRL | Qt::Key_End));
    menuItem(navigate, "First1", QStringLiteral("First"), [&e] { e.GoFirst(); }, QKeySequence(Qt::CTRL | Qt::Key_Home));
    menuItem(navigate, "NextSorted1", QStringLiteral("Next Sorted"), [&e] { e.GoNextSorted(); },
             QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    menuItem(navigate, "PreviousSorted1", QStringLiteral("Previous Sorted"), [&e] { e.GoPreviousSorted(); },
             QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    addSubmenu(qso, navigate, "Navigate1");
    m_deleteAction = menuItem(qso, "DeleteQSO1", QStringLiteral("Delete QSO"), [&e] { e.DeleteQso(); },
                              QKeySequence(Qt::CTRL | Qt::Key_Delete));
    m_confirmAction = menuItem(qso, "ConfirmLabel1", QStringLiteral("Confirm/Label"), [&e] { e.ConfirmLabel(); },
                               QKeySequence(Qt::Key_F2));
    menuItem(qso, "NextWindowSize1", QStringLiteral("Next Window Size"), [&e] { e.NextWindowSize(); },
             QKeySequence(Qt::Key_F5));
    m_updateAction = menuItem(qso, "UpdateQSO1", QStringLiteral("Update QSO"), [&e] { e.UpdateQso(); },
                              QKeySequence(Qt::Key_F10));
    menuItem(qso, "ContestMode1", QStringLiteral("Contest Mode"), [this] { ContestModeDialog(); });
    menuItem(qso, "ClearQSO1", QStringLiteral("Clear QSO"), [&e] { e.ClearQso(); }, QKeySequence(Qt::Key_F12));
    menuItem(qso, "DisableFields1", QStringLiteral("Disable Fields"), [this] { DisableFieldsDialog(); });
    const QString sort = QStringLiteral("Sort");
    for (int key = 0; key < SortKeyCount; ++key) {
        QString caption = QString::fromLatin1(SortOrderTable[static_cast<std::size_t>(key)].menuCaption);
        menuItem(sort, ("Sort" + QString(caption).remove(' ')).toLatin1().constData(), caption,
                 [&e, key] { e.SetSortOrder(key); });
    }
    menuItem(filter, "Search1", QStringLiteral("Search"), [&e] { e.StartSearch(false); }, QKeySequence(Qt::Key_F8));
    menuItem(filter, "SearchOld1", QStringLiteral("Search Using Old Filter"), [&e] { e.StartSearch(true); },
             QKeySequence(Qt::SHIFT | Qt::Key_F8));
    menuItem(filter, "Count1", QStringLiteral("Count"), [&e] { e.CountQsos(); });
    menuItem(filter, "CancelFilter1", QStringLiteral("Cancel Filter"), [&e] { e.CancelFilter(); });
    m_levelActions.push_back(menuItem(filter, "Selection1", QStringLiteral("Selection"), [this] { SelectionDialog(); }));
    m_levelActions.push_back(menuItem(filter, "EditGroupNames1", QStringLiteral("Edit Group Names"),
                                      [this] { TGroupNamesForm(m_entry.Log(), this).exec(); }));
    const std::pair<const char *, CompanionId> companions[] = {
        {"Country", CompanionId::Country}, {"IOTA", CompanionId::Iota},     {"Same Call", CompanionId::SameCall},
        {"State", CompanionId::State},     {"County", CompanionId::County}, {"Zone", CompanionId::Zone},
        {"Grid", CompanionId::Grid},       {"WPX", CompanionId::Wpx},       {"Master Calls", CompanionId::MasterCalls}};
    for (const auto &[caption, id] : companions)
        menuItem(windows, (QString::fromLatin1(caption).remove(' ') + QStringLiteral("1")).toLatin1().constData(),
                 QString::fromLatin1(caption), [this, id = id] { m_host.OpenCompanion(id); });
    for (const WindowHost::MenuItem &registered : m_host.QsoMenuItems()) {
        QAction *action = menuItem(registered.menu, registered.name.toLatin1().constData(), registered.caption,
                                   registered.action, registered.key);
        if (registered.enabled)
            m_enabledWhen.emplace_back(action, registered.enabled);
        if (registered.checked) {
            action->setCheckable(true);
            m_checkedWhen.emplace_back(action, registered.checked);
        }
    }
    addSubmenu(qso, QStringLiteral("Multiple QSOs operations"), "MultipleQSOs1");
    assembleMenus();
    connect(&m_host, &WindowHost::qsoMenusChanged, this, &TQSOForm::updateMenuStates);
}

void TQSOForm::addSubmenu(const QString &menu, const QString &title, const char *name)
{
    std::vector<QAction *> actions = m_menuActions.take(title);
    if (actions.empty())
        return;
    auto *submenu = new QMenu(title, this);
    submenu->menuAction()->setObjectName(QString::fromLatin1(name));
    for (QAction *action : actions)
        submenu->addAction(action);
    m_menuActions[menu].push_back(submenu->menuAction());
}

void TQSOForm::assembleMenus()
{
    auto *bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    for (const MenuLayout &layout : QsoMenus) {
        QString title = QString::fromLatin1(layout.menu);
        std::vector<QAction *> actions = m_menuActions.take(title);
        std::vector<QString> submenus = registeredSubmenus(title);
        if (actions.empty() && submenus.empty())
            continue;
        QMenu *menu = bar->addMenu(title);
        menu->setObjectName(QString(title).remove('&') + QStringLiteral("Menu"));
        // Registered items of "menu/submenu" go into submenus first, in the order they came.
        for (const QString &path : submenus) {
            QMenu *submenu = menu->addMenu(path.mid(title.size() + 1));
            submenu->setObjectName(QString(title).remove('&') + path.mid(title.size() + 1).remove(' ') +
                                   QStringLiteral("Menu"));
            for (QAction *action : m_menuActions.take(path))
                submenu->addAction(action);
        }
        // The documented items in their order, then any others in the order they came.
        for (const char *name : layout.items)
            for (QAction *&action : actions)
                if (action && action->objectName() == QLatin1String(name))
                    menu->addAction(std::exchange(action, nullptr));
        for (QAction *action : actions)
            if (action)
                menu->addAction(action);
        connect(menu, &QMenu::aboutToShow, this, [this] { updateMenuStates(); });
    }
    updateMenuStates();
}

std::vector<QString> TQSOForm::registeredSubmenus(const QString &menu) const
{
    std::vector<QString> paths;
    for (const WindowHost::MenuItem &registered : m_host.QsoMenuItems())
        if (registered.menu.startsWith(menu + QLatin1Char('/')) &&
            std::find(paths.begin(), paths.end(), registered.menu) == paths.end())
            paths.push_back(registered.menu);
    return paths;
}

void TQSOForm::updateMenuStates()
{
    bool level2 = m_host.Context().Config().Personal_UserLevel >= 2;
    for (QAction *action : m_levelActions)
        action->setEnabled(level2);
    for (const auto &[action, enabled] : m_enabledWhen)
        action->setEnabled(enabled());
    for (const auto &[action, checked] : m_checkedWhen)
        action->setChecked(checked());
    moveShortcutsForSpecialKeys();
}

void TQSOForm::moveShortcutsForSpecialKeys()
{
    // While F1 to F8 send macros, the items on those keys move to Shift (and Ctrl for Shift+F8).
    struct Moved {
        const char *name;
        QKeySequence normal, special;
    };
    static const Moved moved[] = {
        {"ConfirmLabel1", QKeySequence(Qt::Key_F2), QKeySequence(Qt::SHIFT | Qt::Key_F2)},
        {"SearchExternal1", QKeySequence(Qt::Key_F3), QKeySequence(Qt::SHIFT | Qt::Key_F3)},
        {"NextWindowSize1", QKeySequence(Qt::Key_F5), QKeySequence(Qt::SHIFT | Qt::Key_F5)},
        {"Search1", QKeySequence(Qt::Key_F8), QKeySequence(Qt::SHIFT | Qt::Key_F8)},
        {"SearchOld1", QKeySequence(Qt::SHIFT | Qt::Key_F8), QKeySequence(Qt::CTRL | Qt::Key_F8)},
    };
    bool special = m_host.SpecialKeys();
    if (special == m_specialKeysShown)
        return;
    m_specialKeysShown = special;
    for (const Moved &item : moved)
        if (auto *action = findChild<QAction *>(QLatin1String(item.name)))
            action->setShortcut(special ? item.special : item.normal);
}

// --- showing the entry's state ------------------------------------------------------------

void TQSOForm::StateChanged()
{
    // Runs after every change of the entry: widgets are touched only where they differ.
    m_showing = true;
    showReportPicture();
    showFields();
    showSearchBlanks();
    showLists();
    showFieldColours();
    setTextIfChanged(m_countryName, ScreenText(m_entry.CountryName()));
    setTextIfChanged(m_dirDist, ScreenText(m_entry.DirectionText()));
    for (QsoList which : {QsoList::Mode, QsoList::Band})
        if (List(which)->isEnabled() != m_entry.ListEnabled(which))
            List(which)->setEnabled(m_entry.ListEnabled(which));
    Field(QsoField::AwardValue)->parentWidget()->setVisible(m_entry.AwardValueTyped());
    List(QsoList::AwardValueList)->parentWidget()->setVisible(m_entry.AwardValueListed());
    bool browsing = Mode() == QsoWindowMode::Browse || Mode() == QsoWindowMode::Filtered;
    for (QAction *action : {m_deleteAction, m_updateAction, m_confirmAction})
        action->setEnabled(browsing);
    showScrollBar();
    updateMenuStates();
    if (QString caption = ScreenText(m_entry.Caption()); caption != windowTitle())
        setWindowTitle(caption);
    m_showing = false;
}

void TQSOForm::showFields()
{
    for (int i = 0; i < QsoFieldCount; ++i) {
        QLineEdit *edit = m_fields[static_cast<std::size_t>(i)];
        QString shown = ScreenText(m_entry.Text(static_cast<QsoField>(i)));
        if (edit->text() == shown)
            continue;
        int cursor = edit->cursorPosition();
        edit->setText(shown);
        edit->setCursorPosition(std::min(cursor, static_cast<int>(shown.size())));
    }
}

void TQSOForm::showLists()
{
    int blank = m_blankItems ? 1 : 0;
    for (int i = 0; i < QsoListCount; ++i) {
        auto which = static_cast<QsoList>(i);
        QComboBox *box = m_lists[static_cast<std::size_t>(i)];
        if (which == QsoList::AwardType || which == QsoList::AwardValueList)
            showItems(box, which);
        int shown = m_entry.Index(which) < 0 ? blank - 1 : m_entry.Index(which) + blank;
        if (box->currentIndex() != shown)
            box->setCurrentIndex(shown);
    }
}

void TQSOForm::showSearchBlanks()
{
    // In search entry every list starts with a blank item: no condition.
    bool blanks = Mode() == QsoWindowMode::SearchEntry;
    if (blanks == m_blankItems)
        return;
    m_blankItems = blanks;
    for (int i = 0; i < QsoListCount; ++i) {
        auto which = static_cast<QsoList>(i);
        if (which == QsoList::AwardType || which == QsoList::AwardValueList)
            continue; // rebuilt by showItems
        if (blanks)
            List(which)->insertItem(0, QString());
        else
            List(which)->removeItem(0);
    }
    m_shownItems = {};
}

void TQSOForm::showFieldColours()
{
    static const QString errorColour = QStringLiteral("background-color: #ffb4b4;");
    static const QString dupeColour = QStringLiteral("background-color: red;");
    bool dupe = m_entry.CallIsDupe();
    for (int i = 0; i < QsoFieldCount; ++i) {
        auto field = static_cast<QsoField>(i);
        const QString &style = field == QsoField::Call && dupe ? dupeColour
                               : m_entry.FieldFailed(field)    ? errorColour
                                                               : QString();
        if (Field(field)->styleSheet() != style)
            Field(field)->setStyleSheet(style);
    }
}

void TQSOForm::showReportPicture()
{
    // "99" for modes with two-digit reports, "99!" or a dB report ("-12") otherwise;
    // a stored report that does not fit the picture is still shown in full.
    int length = m_entry.ReportLength();
    for (QsoField field : {QsoField::RstSent, QsoField::RstRcvd}) {
        QLineEdit *edit = Field(field);
        int room = std::max(length, static_cast<int>(m_entry.Text(field).size()));
        if (edit->maxLength() != room)
            edit->setMaxLength(room);
        if (length == m_shownReportLength)
            continue;
        auto *validator = static_cast<QRegularExpressionValidator *>(const_cast<QValidator *>(edit->validator()));
        validator->setRegularExpression(QRegularExpression(length == 2 ? QStringLiteral("[0-9]{0,2}")
                                                                       : QStringLiteral("[-+][0-9]{0,2}|[0-9]{0,2}[0-9A-Za-z]?")));
    }
    m_shownReportLength = length;
}

void TQSOForm::showItems(QComboBox *box, QsoList which)
{
    // The custom award lists follow the QSO; an award item carries its identifier.
    std::vector<std::pair<std::string, std::string>> items = m_entry.AwardChoices();
    if (which == QsoList::AwardValueList) {
        items.clear();
        for (const std::string &name : m_entry.Items(which))
            items.emplace_back(name, std::string());
    }
    if (m_blankItems)
        items.insert(items.begin(), {std::string(), std::string()});
    auto &shown = m_shownItems[which == QsoList::AwardType ? 0 : 1];
    if (items == shown)
        return;
    shown = items;
    box->clear();
    for (const auto &[text, data] : items)
        box->addItem(ScreenText(text), ScreenText(data));
}

void TQSOForm::showScrollBar()
{
    QScrollBar *bar = m_host.ScrollBar();
    if (!bar)
        return;
    bool browsing = Mode() == QsoWindowMode::Browse || Mode() == QsoWindowMode::Filtered;
    bar->setVisible(browsing && m_entry.Log().Count() > 0);
    QSignalBlocker block(bar);
    bar->setRange(0, std::max(0, m_entry.BrowseCount() - 1));
    bar->setPageStep(10);
    bar->setValue(std::max(0, m_entry.Position()));
}

void TQSOForm::ShowLocation()
{
    m_entry.ShowLocation();
    m_dirDist->setText(ScreenText(m_entry.DirectionText()));
}

void TQSOForm::Focus(QsoField field)
{
    Field(field)->setFocus();
    if (field == QsoField::Call)
        Field(field)->selectAll();
}

void TQSOForm::Beep() { QApplication::beep(); }
void TQSOForm::CompanionsDue() { m_host.RequestRefreshAll(); }
void TQSOForm::HighlightDue() { m_host.RequestHighlightAll(); }
void TQSOForm::CustomAwardsDue() { m_host.Post(HostMessage::QsoEntryChanged); }
void TQSOForm::LogEdited() { m_host.RequestRefresh(CompanionId::Logbook); }
void TQSOForm::ContestNumber(int number) { m_host.ShowContestNumber(number); }
void TQSOForm::LayoutChanged() { applyWindowSize(); }
void TQSOForm::CallEdited() { m_host.RequestRefresh(CompanionId::MasterCalls); }

void TQSOForm::ListDue(QsoField field)
{
    // Opened once the focus has moved on, not inside the change that failed.
    QMetaObject::invokeMethod(this, [this, field] { OpenFieldList(field); }, Qt::QueuedConnection);
}

void TQSOForm::applyWindowSize()
{
    int step = m_entry.WindowSize();
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i]->setVisible(step == 5 || static_cast<int>(i) <= step + 1);
    applyTabStops();
    adjustSize();
}

void TQSOForm::applyTabStops()
{
    std::array<bool, 23> disabled = m_entry.TabDisabled();
    for (std::size_t i = 0; i < disabled.size(); ++i)
        findChild<QWidget *>(QString::fromLatin1(TabDisabledControls[i]))
            ->setFocusPolicy(disabled[i] ? Qt::ClickFocus : Qt::StrongFocus);
}

// --- dialogs ---------------------------------------------------------------------------

void TQSOForm::ContestModeDialog()
{
    ContestTexts texts = m_entry.ContestSettings();
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("ContestDialog"));
    dialog.setWindowTitle(QStringLiteral("Contest Mode"));
    auto *form = new QFormLayout(&dialog);
    auto *enabled = new QCheckBox(QStringLiteral("Contest Mode Enabled"), &dialog);
    enabled->setObjectName(QStringLiteral("ContestEnabled"));
    enabled->setChecked(texts.enabled);
    auto line = [&dialog](const char *name, const std::string &text) {
        auto *edit = new QLineEdit(ScreenText(text), &dialog);
        edit->setObjectName(QString::fromLatin1(name));
        return edit;
    };
    QLineEdit *date = line("ContestDate", texts.date), *time = line("ContestTime", texts.time);
    QLineEdit *number = line("ContestNumber", texts.number), *note = line("ContestNote", texts.note);
    number->setToolTip(QStringLiteral("Set to 0 if no sequence numbers wanted"));
    note->setMaxLength(static_cast<int>(m_host.Context().Config().ContestNoteText.capacity));
    form->addRow(enabled);
    form->addRow(QStringLiteral("Date"), date);
    form->addRow(QStringLiteral("Time"), time);
    form->addRow(QStringLiteral("Next sequence\nnumber"), number);
    form->addRow(QStringLiteral("Text to add to QSO  note"), note);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // A wrong entry is said and the dialog stays open for it to be mended.
    while (dialog.exec() == QDialog::Accepted)
        if (m_entry.ApplyContestSettings({enabled->isChecked(), CoreText(date->text()), CoreText(time->text()),
                                          CoreText(number->text()), CoreText(note->text())}))
            return;
}

void TQSOForm::DisableFieldsDialog()
{
    TTabDisabled dialog(m_entry.TabDisabled(), this);
    if (dialog.exec() == QDialog::Accepted)
        m_entry.SetTabDisabled(dialog.Disabled());
}

void TQSOForm::SelectionDialog()
{
    if (!m_entry.AgreeToLeaveMode())
        return;
    TSelectionForm dialog(m_entry.Log(), m_entry.Log().settings().dateFormat(), m_host.Notifier(), this);
    dialog.exec();
    if (dialog.Result() != TSelectionEditor::Outcome::Cancelled)
        m_entry.SelectionChanged();
}

void TQSOForm::OpenFieldList(QsoField field)
{
    std::optional<FieldChoices> choices = m_entry.ChoicesFor(field);
    if (!choices)
        return;
    int chosen = TPicklist(ScreenText(choices->title), choices->entries, choices->firstChoosable, this).Choose();
    m_entry.ChooseFrom(field, *choices, chosen);
}

void TQSOForm::EditNote(QsoField field)
{
    if (field == QsoField::Manager) {
        std::optional<std::vector<std::string>> lines = m_entry.ManagerAddress();
        if (!lines)
            return;
        QString shown = screenTexts(*lines).join('|');
        TEditNote editor(QStringLiteral("Address for ") + ScreenText(m_entry.Text(QsoField::Manager)).trimmed(), shown,
                         QString(), this);
        if (editor.exec() != QDialog::Accepted || editor.Note() == shown)
            return;
        std::vector<std::string> edited;
        for (const QString &line : editor.Note().split('|'))
            edited.push_back(CoreText(line));
        m_entry.SetManagerAddress(edited);
        return;
    }
    TEditNote editor(field == QsoField::CallNotes ? QStringLiteral("Callsign Notes") : QStringLiteral("QSO Notes"),
                     Field(field)->text(), Field(QsoField::Date)->text(), this,
                     [this] { return ScreenText(m_host.Context().Station().RadioFrequencyText()); });
    if (editor.exec() == QDialog::Accepted)
        m_entry.SetNote(field, CoreText(editor.Note().left(250)));
}

// --- popup menus -----------------------------------------------------------------------

std::optional<OtherQsosOf> TQSOForm::otherQsosOf(QObject *control) const
{
    if (control == Field(QsoField::County))
        return OtherQsosOf::County;
    if (control == List(QsoList::AwardType))
        return OtherQsosOf::CustomAward;
    if (control == List(QsoList::AwardValueList))
        return OtherQsosOf::AwardValueList;
    if (control == Field(QsoField::AwardValue))
        return OtherQsosOf::AwardValueTyped;
    return std::nullopt;
}

QMenu *TQSOForm::PopupMenu(QWidget *control)
{
    std::optional<QsoField> field = fieldOf(control);
    QMenu *menu = field ? Field(*field)->createStandardContextMenu() : new QMenu(this);
    menu->setObjectName(QStringLiteral("FieldMenu"));
    auto add = [this, menu](const QString &caption, const QKeySequence &key, std::function<void()> action) {
        if (menu->actions().size() && !menu->actions().constLast()->isSeparator())
            menu->addSeparator();
        QAction *item = menu->addAction(caption);
        item->setShortcut(key);
        connect(item, &QAction::triggered, this, std::move(action));
    };
    static const std::pair<QsoField, const char *> lists[] = {{QsoField::Prefix, "Select Prefix"},
                                                              {QsoField::State, "Select State"},
                                                              {QsoField::County, "Select County"},
                                                              {QsoField::Iota, "Select IOTA"},
                                                              {QsoField::Group, "Select Group"}};
    for (const auto &[listField, caption] : lists)
        if (field == listField)
            add(QString::fromLatin1(caption), QKeySequence(Qt::Key_F1), [this, f = listField] { OpenFieldList(f); });
    if (control == List(QsoList::AwardValueList))
        add(QStringLiteral("Select Award value"), QKeySequence(Qt::Key_F1), [this] { OpenFieldList(QsoField::AwardValue); });
    if (field == QsoField::CallNotes || field == QsoField::QsoNote) {
        QsoField note = *field;
        add(QStringLiteral("Edit Note"), QKeySequence(Qt::CTRL | Qt::Key_E), [this, note] { EditNote(note); });
        add(QStringLiteral("Add QSO Date"), QKeySequence(Qt::CTRL | Qt::Key_D), [this, note] { m_entry.AppendDate(note, false); });
        add(QStringLiteral("Add Today"), QKeySequence(Qt::CTRL | Qt::Key_T), [this, note] { m_entry.AppendDate(note, true); });
    }
    if (field == QsoField::Manager)
        add(QStringLiteral("Edit Manager Address"), QKeySequence(Qt::CTRL | Qt::Key_E), [this] { EditNote(QsoField::Manager); });
    if (std::optional<OtherQsosOf> what = otherQsosOf(control))
        add(QStringLiteral("Check other QSOs"), QKeySequence(Qt::ALT | Qt::Key_O), [this, w = *what] { m_entry.CheckOtherQsos(w); });
    if (!field && menu->actions().isEmpty()) {
        delete menu;
        return nullptr;
    }
    return menu;
}

// --- keys --------------------------------------------------------------------------------

std::optional<QsoField> TQSOForm::fieldOf(QObject *watched) const
{
    for (int i = 0; i < QsoFieldCount; ++i)
        if (watched == m_fields[static_cast<std::size_t>(i)])
            return static_cast<QsoField>(i);
    return std::nullopt;
}

bool TQSOForm::handleKey(QsoField field, const QKeyEvent &key)
{
    bool note = field == QsoField::CallNotes || field == QsoField::QsoNote;
    bool control = key.modifiers() == Qt::ControlModifier;
    if (control && key.key() == Qt::Key_E && (note || field == QsoField::Manager)) {
        EditNote(field);
        return true;
    }
    if (note && control && key.key() == Qt::Key_R) {
        m_entry.AppendRadioFrequency(field);
        return true;
    }
    if (note && control && (key.key() == Qt::Key_D || key.key() == Qt::Key_T)) {
        m_entry.AppendDate(field, key.key() == Qt::Key_T);
        return true;
    }
    if (key.key() == Qt::Key_Space && key.modifiers() == Qt::NoModifier && !note && field != QsoField::County) {
        focusNextChild();
        return true;
    }
    if (key.key() != Qt::Key_Up && key.key() != Qt::Key_Down)
        return false;
    int direction = key.key() == Qt::Key_Up ? 1 : -1;
    if (field == QsoField::Date || field == QsoField::QslDate)
        m_entry.StepDate(field, direction);
    else if (field == QsoField::Time)
        m_entry.StepTime(direction);
    else
        return false;
    return true;
}

bool TQSOForm::eventFilter(QObject *watched, QEvent *event)
{
    std::optional<QsoField> field = fieldOf(watched);
    if (event->type() == QEvent::FocusIn && field)
        m_entry.Entered(*field);
    if (event->type() != QEvent::KeyPress)
        return TQsoWindowBase::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (m_host.QsoKeyPressed(*key)) // the function-key macros, stopping the keyer
        return true;
    if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
        if (field)
            OpenFieldList(*field);
        else if (watched == List(QsoList::AwardValueList))
            OpenFieldList(QsoField::AwardValue);
        return true;
    }
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && (key->modifiers() & Qt::ControlModifier)) {
        bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
        focusAlongTabOrder(static_cast<QWidget *>(watched), back ? -1 : 1);
        return true;
    }
    if (key->key() == Qt::Key_O && key->modifiers() == Qt::AltModifier) {
        if (std::optional<OtherQsosOf> what = otherQsosOf(watched))
            m_entry.CheckOtherQsos(*what);
        return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (field)
            m_entry.Leave(*field);
        m_entry.EnterPressed();
        return true;
    }
    if (key->key() == Qt::Key_Escape) {
        m_entry.EscapePressed();
        return true;
    }
    if (field && handleKey(*field, *key))
        return true;
    if (!field && key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
        focusNextChild(); // Space moves on from the lists too
        return true;
    }
    return TQsoWindowBase::eventFilter(watched, event);
}

void TQSOForm::closeEvent(QCloseEvent *event)
{
    // The window never closes by itself: the main window closes the log, and the log takes the window with it.
    event->ignore();
    if (m_entry.AgreeToLeaveMode())
        m_host.Post(HostMessage::CloseLogRequested);
}

// --- registration ---------------------------------------------------------------------

namespace {

/// A companion maker that needs the QSO entry: none is made without a QSO window.
template <typename Make>
WindowHost::CompanionMaker withEntry(Make make)
{
    return [make](WindowHost &host) -> QWidget * {
        QsoEntry *entry = host.Entry();
        return entry ? make(*entry, host) : nullptr;
    };
}

} // namespace

void RegisterQsoWindows(WindowHost &host)
{
    RegisterBulkCommands(host);
    host.SetQsoWindowMaker([](TQsoData &log, WindowHost &h) { return new TQSOForm(log, h); });
    host.RegisterCompanion(CompanionId::SameCall,
                           withEntry([](QsoEntry &entry, WindowHost &h) { return new TSameCall(entry, h); }));
    host.RegisterCompanion(CompanionId::MasterCalls,
                           withEntry([](QsoEntry &entry, WindowHost &h) { return new TMasterCompanion(entry, h); }));
    for (SummaryKind kind : {SummaryKind::Country, SummaryKind::Zone, SummaryKind::State, SummaryKind::Iota,
                             SummaryKind::Grid, SummaryKind::Wpx, SummaryKind::County})
        host.RegisterCompanion(static_cast<CompanionId>(kind), withEntry([kind](QsoEntry &entry, WindowHost &h) {
                                   return new TXSummary(kind, entry, h);
                               }));
}

} // namespace vellum
