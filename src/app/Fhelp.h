#pragma once
// The help pages shipped with the program, opened by help context number.

#include <QDialog>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace vellum {

class THelpViewer : public QDialog {
    Q_OBJECT
public:
    explicit THelpViewer(QWidget *parent = nullptr);

    /// Shows the page of a context number (1 contents, 2 how to use help, ...);
    /// negative numbers are ignored; an unknown number shows the contents.
    static void ShowContext(QWidget *parent, int context);
    /// Shows the keyword search.
    static void ShowSearch(QWidget *parent);

    /// The file of a context number's page, empty when the help pages are missing.
    static QString PageOfContext(int context);
    /// The pages whose text holds the word (any letter case).
    static QStringList PagesWithWord(const QString &word);
    void showPage(const QString &file);
    void showSearch();

private:
    static THelpViewer *instance(QWidget *parent);
    QTextBrowser *m_browser;
    QLineEdit *m_search;
    QListWidget *m_results;
};

/// The directory of the help pages.
QString HelpDir();

} // namespace vellum
