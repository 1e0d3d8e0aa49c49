#include "Fsamecal.h"

#include "qsoentry.h"
#include "samecall.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "logstore/Ftext.h"
#include "logstore/trim.h"
#include "config/configrecord.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"
#include "logstore/qsotables.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vellum {

TSameCall::TSameCall(QsoEntry &entry, WindowHost &host)
    : QWidget(nullptr), m_entry(entry), m_host(host), m_log(entry.Log())
{
    setObjectName(QStringLiteral("SameCall"));
    setWindowTitle(QStringLiteral("Other QSOs"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_table = new QTableWidget(0, 7, this);
    m_table->setObjectName(QStringLiteral("SameCallGrid"));
    m_table->setHorizontalHeaderLabels({"Date", "Time", "Band", "Mode", "Cnf", "QSLDate", "Groupname"});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->installEventFilter(this);
    layout->addWidget(m_table);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] { GotoQso(); });
    // The popup menu of the list; its keys work while the list has the focus.
    m_table->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto popupItem = [this](const char *name, const QString &caption, QKeySequence key, auto slot) {
        auto *action = new QAction(caption, m_table);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, slot);
        m_table->addAction(action);
    };
    popupItem("GotoQSO1", QStringLiteral("Goto QSO"), QKeySequence(Qt::Key_Return), [this] { GotoQso(); });
    popupItem("ConfirmLabel1", QStringLiteral("Confirm / Label"), QKeySequence(Qt::Key_F2), [this] { ConfirmLabel(); });
    connect(m_table, &QTableWidget::currentCellChanged, this, [this] { updateCaption(); });
    resize(480, 200);
    host.PlaceCompanion(CompanionId::SameCall, this);
}

TSameCall::~TSameCall()
{
    m_host.CompanionClosed(CompanionId::SameCall, this);
}

void TSameCall::RefreshCompanion()
{
    ShowCalls(m_entry.CompanionCall());
}

void TSameCall::ShowCalls(const std::string &call)
{
    const TConfigRecord &config = m_host.Context().Config();
    m_call = call.substr(0, 12);
    m_listed = QsosOfCall(m_log, m_call, config.DefQSO_CallSearch == 4);
    DateFormat format = m_log.settings().dateFormat();
    bool contest = config.ContestEnabled && m_entry.Mode() == QsoWindowMode::AddRealTime;
    int band = m_entry.Index(QsoList::Band) + 1;
    int mode = m_entry.Index(QsoList::Mode) + 1;
    m_table->setRowCount(static_cast<int>(m_listed.size()));
    int selectRow = -1;
    for (int row = 0; row < static_cast<int>(m_listed.size()); ++row) {
        const TQsoRec &q = *m_listed[static_cast<std::size_t>(row)];
        std::string group = q.Group > 0 && q.Group < m_log.GroupNames.size() ? m_log.GroupNames[q.Group] : "";
        QStringList cells = {QString::fromStdString(FormatDate(q.Date, format, true)),
                             QString::fromStdString(FormatTime(q.Time, false)),
                             QString::fromStdString(BandLabel(q.Band, config.DefQSO_ShowBandMHz)),
                             QString::fromStdString(ModeName(q.Mode)),
                             (q.QslFlags & QslFlag::Cnfm) ? QStringLiteral("Y") : QStringLiteral("N"),
                             QString::fromStdString(FormatDate(q.QslDate, format, true)),
                             ScreenText(group)};
        bool dupe = contest && q.Band == band && q.Mode == mode &&
                    (q.Date > config.ContestStartDate ||
                     (q.Date == config.ContestStartDate && q.Time >= config.ContestStartTime));
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (dupe)
                item->setForeground(Qt::red);
            m_table->setItem(row, column, item);
        }
        if (&q == m_entry.ShownQso())
            selectRow = row;
    }
    m_table->setCurrentCell(selectRow, selectRow >= 0 ? 0 : -1);
    if (selectRow < 0)
        m_table->clearSelection();
    updateCaption();
}

void TSameCall::updateCaption()
{
    int row = m_table->currentRow();
    const TQsoRec *selected =
        row >= 0 && row < static_cast<int>(m_listed.size()) ? m_listed[static_cast<std::size_t>(row)] : nullptr;
    setWindowTitle(ScreenText(SameCallCaption(m_call, selected)));
}

bool TSameCall::showSelected()
{
    int row = m_table->currentRow();
    if (m_listed.empty() || row < 0 || row >= static_cast<int>(m_listed.size()))
        return false;
    const TQsoRec *target = m_listed[static_cast<std::size_t>(row)];
    if (!m_entry.AgreeToLeaveMode())
        return false;
    if (!m_entry.IsShown(*target)) {
        m_host.Notifier().information(m_entry.Mode() == QsoWindowMode::Filtered ? "QSO does not match current filter"
                                                                               : "QSO is not in current Selection");
        return false;
    }
    m_entry.ShowQso(target);
    return true;
}

void TSameCall::GotoQso()
{
    if (showSelected())
        m_host.FocusQsoWindow();
}

void TSameCall::ConfirmLabel()
{
    if (!showSelected())
        return;
    m_entry.ConfirmLabel(AfterConfirm::SameQso); // from here the QSO window stays on the QSO
    ShowCalls(m_entry.CompanionCall());
    activateWindow();
    m_table->setFocus();
}

bool TSameCall::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            GotoQso();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vellum
