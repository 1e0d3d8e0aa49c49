#include "Fpicklist.h"

#include "logstore/Ftext.h"

#include <QAction>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vellum {

TPicklist::TPicklist(const QString &title, std::vector<std::pair<std::string, std::string>> entries, int start,
                     QWidget *parent)
    : QDialog(parent), m_entries(std::move(entries)), m_start(std::max(0, start))
{
    setObjectName(QStringLiteral("Picklist"));
    setWindowTitle(title);
    auto *layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("PickList"));
    m_list->setFont(QFont(QStringLiteral("monospace")));
    m_list->installEventFilter(this);
    m_searchLabel = new QLabel(this);
    m_searchLabel->setObjectName(QStringLiteral("PickSearch"));
    layout->addWidget(m_list);
    layout->addWidget(m_searchLabel);
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *byName = new QAction(QStringLiteral("Sort by Name"), m_list);
    byName->setObjectName(QStringLiteral("SortByName"));
    byName->setCheckable(true);
    byName->setChecked(true);
    connect(byName, &QAction::toggled, this, &TPicklist::SetSortByName);
    auto *cancel = new QAction(QStringLiteral("Cancel"), m_list);
    cancel->setObjectName(QStringLiteral("PickCancel"));
    connect(cancel, &QAction::triggered, this, &QDialog::reject);
    m_list->addAction(byName);
    m_list->addAction(cancel);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { choose(); });
    std::size_t longest = 0;
    for (const auto &entry : m_entries)
        longest = std::max(longest, entry.second.size());
    setMinimumWidth(QFontMetrics(m_list->font()).horizontalAdvance(QString(static_cast<int>(longest) + 12, 'X')));
    fill();
}

void TPicklist::fill()
{
    m_order.clear();
    for (int i = m_start; i < static_cast<int>(m_entries.size()); ++i)
        m_order.push_back(i);
    if (m_byName)
        std::stable_sort(m_order.begin(), m_order.end(),
                         [this](int a, int b) { return m_entries[a].second < m_entries[b].second; });
    m_list->clear();
    for (int index : m_order) {
        QString key = ScreenText(m_entries[index].first).leftJustified(7);
        m_list->addItem(key + QStringLiteral("| ") + ScreenText(m_entries[index].second));
    }
    if (!m_order.empty())
        m_list->setCurrentRow(0);
}

void TPicklist::SetSortByName(bool byName)
{
    if (byName == m_byName)
        return;
    m_byName = byName;
    fill();
    selectMatch();
}

bool TPicklist::selectMatch()
{
    std::string search = CoreText(m_search);
    for (std::size_t row = 0; row < m_order.size(); ++row) {
        const auto &entry = m_entries[m_order[row]];
        const std::string &text = m_byName ? entry.second : entry.first;
        std::string upper = text;
        for (char &c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (upper.compare(0, search.size(), search) == 0) {
            m_list->setCurrentRow(static_cast<int>(row));
            return true;
        }
    }
    return false;
}

void TPicklist::keyPressEvent(QKeyEvent *event)
{
    QString text = event->text().toUpper();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        choose();
        return;
    }
    if (event->key() == Qt::Key_Backspace && !m_search.isEmpty()) {
        m_search.chop(1);
        selectMatch();
    } else if (text.size() == 1 && (text[0] == ' ' || (text[0] >= '/' && text[0] <= '9') || text[0].isLetter())) {
        m_search += text;
        if (!selectMatch())
            m_search.chop(1); // no line matches: the character is dropped again
    } else {
        QDialog::keyPressEvent(event);
        return;
    }
    m_searchLabel->setText(m_search);
}

bool TPicklist::eventFilter(QObject *watched, QEvent *event)
{
    // Typed characters search; the arrow keys still move in the list.
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!key->text().isEmpty() || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            keyPressEvent(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TPicklist::choose()
{
    int row = m_list->currentRow();
    m_result = row >= 0 && row < static_cast<int>(m_order.size()) ? m_order[static_cast<std::size_t>(row)] : -1;
    accept();
}

int TPicklist::Choose()
{
    m_result = -1;
    exec();
    return m_result;
}

} // namespace vellum
