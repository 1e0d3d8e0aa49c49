#pragma once
// The pick list: a modal list of the entries of a keyed table, chosen by typing
// the beginning of a key or a name.

#include <QDialog>

#include <string>
#include <utility>
#include <vector>

class QListWidget;
class QLabel;

namespace vellum {

class TPicklist : public QDialog {
    Q_OBJECT
public:
    /// entries: (key, name) in the table's key order; entries before start are left out.
    TPicklist(const QString &title, std::vector<std::pair<std::string, std::string>> entries, int start = 0,
              QWidget *parent = nullptr);

    /// The chosen entry's index in key order, or -1 for Cancel.
    int Choose();
    int Result() const { return m_result; }
    bool SortByName() const { return m_byName; }
    void SetSortByName(bool byName);
    QString SearchText() const { return m_search; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fill();
    bool selectMatch();
    void choose();

    std::vector<std::pair<std::string, std::string>> m_entries;
    std::vector<int> m_order; ///< entry indexes in the order shown
    int m_start;
    bool m_byName = true;
    QString m_search;
    int m_result = -1;
    QListWidget *m_list;
    QLabel *m_searchLabel;
};

} // namespace vellum
