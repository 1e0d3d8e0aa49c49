#include "Fqsodialogs.h"

#include "logstore/daytime.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vellum {

namespace {
QDialogButtonBox *okCancel(QDialog *dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBtn"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelBtn"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}
} // namespace

// --- note editor -------------------------------------------------------------------

TEditNote::TEditNote(const QString &title, const QString &note, const QString &dateText, QWidget *parent)
    : QDialog(parent), m_dateText(dateText)
{
    setObjectName(QStringLiteral("EditNote"));
    setWindowTitle(title);
    auto *layout = new QVBoxLayout(this);
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("NoteMemo"));
    m_memo->setPlainText(QString(note).replace('|', '\n'));
    m_memo->installEventFilter(this);
    layout->addWidget(m_memo);
    layout->addWidget(okCancel(this));
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
    layout->addWidget(okCancel(this));
}

std::array<bool, 23> TTabDisabled::Disabled() const
{
    std::array<bool, 23> disabled{};
    for (int i = 0; i < m_list->count() && i < 23; ++i)
        disabled[static_cast<std::size_t>(i)] = m_list->item(i)->checkState() == Qt::Checked;
    return disabled;
}

// --- the questions of an import ---------------------------------------------------------

TConfirmPZC::TConfirmPZC(const QString &call, const QString &date, const QString &resolvedPrefix, int resolvedZone,
                         const QString &importedPrefix, int importedZone, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ConfirmPZC"));
    setWindowTitle(QStringLiteral("Confirm Prefix/Zone change"));
    auto *grid = new QGridLayout(this);
    auto label = [&](const QString &text, int row, int column, const char *name) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        grid->addWidget(l, row, column);
    };
    label(call, 0, 0, "PZCCall");
    label(date, 0, 1, "PZCDate");
    label(QStringLiteral("VELLUM"), 1, 1, "PZCResolvedTitle");
    label(QStringLiteral("Import"), 1, 2, "PZCImportedTitle");
    label(QStringLiteral("Prefix"), 2, 0, "PZCPrefixTitle");
    label(resolvedPrefix, 2, 1, "PZCResolvedPrefix");
    label(importedPrefix, 2, 2, "PZCImportedPrefix");
    label(QStringLiteral("Zone"), 3, 0, "PZCZoneTitle");
    label(QString::number(resolvedZone), 3, 1, "PZCResolvedZone");
    label(QString::number(importedZone), 3, 2, "PZCImportedZone");
    int row = 4;
    int column = 0;
    for (auto [text, name, code] : {std::tuple{"VELLUM", "VellumBtn", 1}, std::tuple{"Import", "ImportBtn", 2},
                                    std::tuple{"Cancel", "CancelBtn", 0}}) {
        auto *button = new QPushButton(QString::fromLatin1(text), this);
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, [this, code = code] { done(code); });
        grid->addWidget(button, row, column++);
    }
}

int TConfirmPZC::Ask() { return exec(); }

TAskDupesImport::TAskDupesImport(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AskDupesImport"));
    setWindowTitle(QStringLiteral("Options for duplicate QSOs"));
    auto *layout = new QVBoxLayout(this);
    m_choices = new QButtonGroup(this);
    int id = 0;
    for (auto [text, name] : {std::pair{"Issue warning and stop", "DupesStop"},
                              std::pair{"Imported QSO replaces existing QSO (SLOW)", "DupesReplace"},
                              std::pair{"Imported QSO is ignored", "DupesIgnore"}}) {
        auto *choice = new QRadioButton(QString::fromLatin1(text), this);
        choice->setObjectName(QString::fromLatin1(name));
        m_choices->addButton(choice, id++);
        layout->addWidget(choice);
    }
    m_choices->button(0)->setChecked(true);
    layout->addWidget(okCancel(this));
}

int TAskDupesImport::Choice() const { return m_choices->checkedId(); }

int TAskDupesImport::Ask() { return exec() == QDialog::Accepted ? Choice() : -1; }

} // namespace vellum
