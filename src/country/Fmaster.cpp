#include "Fmaster.h"

#include "logstore/paths.h"

#include <QAction>
#include <QBoxLayout>
#include <QFontDatabase>
#include <QListWidget>

namespace vellum {

TMasterLookup::TMasterLookup(const ReferenceServices &services, QWidget *parent)
    : QWidget(parent), m_services(services)
{
    setObjectName(QStringLiteral("MasterLookup"));
    setWindowTitle(QStringLiteral("Master Calls"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("FMaster_List"));
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_list->setFlow(QListView::TopToBottom);
    m_list->setWrapping(true);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setUniformItemSizes(true);
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    layout->addWidget(m_list);

    m_subString = new QAction(QStringLiteral("Sub string"), m_list);
    m_subString->setObjectName(QStringLiteral("FMaster_SubString"));
    m_subString->setCheckable(true);
    connect(m_subString, &QAction::toggled, this, [this] {
        m_stale = true;
        search();
    });
    m_list->addAction(m_subString);
    auto *convert = new QAction(QStringLiteral("Convert"), m_list);
    convert->setObjectName(QStringLiteral("FMaster_Convert"));
    connect(convert, &QAction::triggered, this, &TMasterLookup::ConvertClick);
    m_list->addAction(convert);

    resize(360, 160);
    LoadMasterFile();
}

void TMasterLookup::LoadMasterFile()
{
    OpenMasterFile(m_calls, MasterFileName(), m_services.notifier);
    layOutColumns();
    m_stale = true;
    search();
}

void TMasterLookup::layOutColumns()
{
    // Each column as wide as the longest call plus 2 characters.
    QFontMetrics metrics(m_list->font());
    int width = metrics.horizontalAdvance(QLatin1Char('W')) * static_cast<int>(m_calls.LongestCall() + 2);
    m_list->setGridSize(QSize(width, metrics.height() + 2));
}

void TMasterLookup::LookupCall(const QString &callText)
{
    m_text = callText;
    search();
}

bool TMasterLookup::SubString() const { return m_subString->isChecked(); }

void TMasterLookup::SetSubString(bool on) { m_subString->setChecked(on); }

void TMasterLookup::search()
{
    if (!m_stale && m_text == m_searched)
        return;
    m_stale = false;
    m_searched = m_text;
    m_list->clear();
    for (std::string_view call : m_calls.Search(CoreText(m_text), SubString()))
        m_list->addItem(ScreenText(call));
}

void TMasterLookup::ConvertClick()
{
    TextFileChooser &chooser = m_services.chooser ? *m_services.chooser : StandardFileChooser();
    QString source = chooser.OpenFile(this, QStringLiteral("Convert"), QString::fromStdString(ProgramDir()),
                                      QStringLiteral("Master Log (*.dta);;All files (*)"));
    if (source.isEmpty())
        return;
    RunMasterConversion(m_calls, source.toStdString(), MasterFileName(), m_services.settings.cycleFiles(),
                        m_services.notifier);
    layOutColumns();
    m_stale = true;
    search();
}

QStringList TMasterLookup::ListedCalls() const
{
    QStringList calls;
    for (int i = 0; i < m_list->count(); ++i)
        calls << m_list->item(i)->text();
    return calls;
}

} // namespace vellum
