#include "Fhelp.h"

#include "Fmain.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace vellum {

QString HelpDir() { return DefaultDataDir() + QStringLiteral("/help"); }

THelpViewer::THelpViewer(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("VELLUM Help"));
    auto *layout = new QVBoxLayout(this);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("HelpSearch"));
    m_search->setPlaceholderText(QStringLiteral("Search for help on..."));
    m_results = new QListWidget(this);
    m_results->setObjectName(QStringLiteral("HelpResults"));
    m_results->hide();
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setSearchPaths({HelpDir()});
    layout->addWidget(m_search);
    layout->addWidget(m_results);
    layout->addWidget(m_browser, 1);
    resize(640, 480);
    connect(m_search, &QLineEdit::returnPressed, this, [this] {
        m_results->clear();
        m_results->addItems(PagesWithWord(m_search->text()));
        m_results->setVisible(true);
    });
    connect(m_results, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { showPage(item->text()); });
}

THelpViewer *THelpViewer::instance(QWidget *parent)
{
    static QPointer<THelpViewer> viewer;
    if (!viewer)
        viewer = new THelpViewer(parent);
    return viewer;
}

QString THelpViewer::PageOfContext(int context)
{
    QDir dir(HelpDir());
    QString page = QStringLiteral("context-%1.html").arg(context);
    if (dir.exists(page))
        return page;
    return dir.exists(QStringLiteral("context-1.html")) ? QStringLiteral("context-1.html") : QString();
}

QStringList THelpViewer::PagesWithWord(const QString &word)
{
    QStringList pages;
    if (word.trimmed().isEmpty())
        return pages;
    QDir dir(HelpDir());
    for (const QString &name : dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly) && QString::fromUtf8(file.readAll()).contains(word.trimmed(), Qt::CaseInsensitive))
            pages << name;
    }
    return pages;
}

void THelpViewer::showPage(const QString &file)
{
    m_browser->setSource(QUrl::fromLocalFile(QDir(HelpDir()).filePath(file)));
}

void THelpViewer::showSearch()
{
    m_results->setVisible(true);
    m_search->setFocus();
}

void THelpViewer::ShowContext(QWidget *parent, int context)
{
    if (context < 0)
        return;
    THelpViewer *viewer = instance(parent);
    QString page = PageOfContext(context);
    if (page.isEmpty())
        viewer->m_browser->setHtml(QStringLiteral("<p>The help pages were not found in %1.</p>").arg(HelpDir()));
    else
        viewer->showPage(page);
    viewer->show();
    viewer->raise();
}

void THelpViewer::ShowSearch(QWidget *parent)
{
    THelpViewer *viewer = instance(parent);
    viewer->showSearch();
    viewer->show();
    viewer->raise();
}

} // namespace vellum
