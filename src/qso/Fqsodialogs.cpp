#include "Fqsodialogs.h"

#include "logstore/Fdialogs.h"
#include "logstore/daytime.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vellum {


// --- note editor -------------------------------------------------------------------

TEditNote::TEditNote(const QString &title, const QString &note, const QString &dateText, QWidget *parent,
                     std::function<QString()> radioText)
    : QDialog(parent), m_dateText(dateText), m_radioText(std::move(radioText))
{
    setObjectName(QStringLiteral("EditNote"));
    setWindowTitle(title);
    auto *layout = new QVBoxLayout(this);
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("NoteMemo"));
    m_memo->setPlainText(QString(note).replace('|', '\n'));
    m_memo->installEventFilter(this);
    layout->addWidget(m_memo);
    layout->addWidget(OkCancelButtons(this));
}

QString TEditNote::Note() const { return m_memo->toPlainText().split('\n').join('|'); }

bool TEditNote::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_memo && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::ControlModifier && key->key() == Qt::Key_D) {
            m_memo->insertPlainText(m_dateText);
            return true;
        }
        if (key->modifiers() == Qt::ControlModifier && key->key() == Qt::Key_R) {
            if (m_radioText)
                m_memo->insertPlainText(m_radioText());
            return true;
        }
        if (key->modifiers() == Qt::ControlModifier && key->key() == Qt::Key_T) {
            m_memo->insertPlainText(QString::fromStdString(FormatDayMonthName(TodayDayNumber())));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// --- fields skipped by Tab ---------------------------------------------------------------

const std::array<const char *, 23> TTabDisabled::FieldNames = {
    "Prefix", "Date",  "Time", "Mode",  "Band",   "rstS",  "rstR",       "Recvd",
    "Zone",   "State", "County", "Grid", "Notes for this Call", "QSL Mgr", "Notes for this QSO",
    "IOTA",   "Label", "QSL Date", "Method", "Cnfm", "QRP", "YLop", "Satellite"};

TTabDisabled::TTabDisabled(const std::array<bool, 23> &disabled, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TabDisabled"));
    setWindowTitle(QStringLiteral("Tab Disabled Fields"));
    auto *layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("DisabledList"));
    for (std::size_t i = 0; i < FieldNames.size(); ++i) {
        auto *item = new QListWidgetItem(QString::fromLatin1(FieldNames[i]), m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(disabled[i] ? Qt::Checked : Qt::Unchecked);
    }
    layout->addWidget(m_list);
    layout->addWidget(OkCancelButtons(this));
}

std::array<bool, 23> TTabDisabled::Disabled() const
{
    std::array<bool, 23> disabled{};
    for (int i = 0; i < m_list->count() && i < 23; ++i)
        disabled[static_cast<std::size_t>(i)] = m_list->item(i)->checkState() == Qt::Checked;
    return disabled;
}

} // namespace vellum
