#include "qsobrowser.h"

#include "logstore/Ftext.h"
#include "windowhost.h"
#include "windowservices.h"

#include "config/configrecord.h"
#include "logstore/Ftext.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"
#include "logstore/qsotables.h"
#include "logstore/report.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

namespace vellum {

namespace {
const char *const Columns[] = {"Date", "Time", "Call", "Band", "Mode", "RST S", "RST R", "QSL", "Note"};
}

int QsoTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_log.ViewIndex().Count();
}

int QsoTableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : 9; }

QVariant QsoTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_log.ViewIndex().Count())
        return {};
    const TQsoRec &r = *m_log.ViewIndex().Get(index.row());
    switch (index.column()) {
    case 0: return QString::fromStdString(FormatDate(r.Date, m_log.settings().dateFormat(), false));
    case 1: return QString::fromStdString(FormatTime(r.Time, false));
    case 2: return ScreenText(r.Call.view());
    case 3: return QString::fromStdString(BandLabel(r.Band, false));
    case 4: return QString::fromStdString(ModeName(r.Mode));
    case 5: return QString::fromStdString(DecodeRst(r.RstSent));
    case 6: return QString::fromStdString(DecodeRst(r.RstRcvd));
    case 7: return (r.QslFlags & QslFlag::Cnfm) ? QStringLiteral("C") : QString();
    case 8: return ScreenText(r.QsoNote.text());
    default: return {};
    }
}

QVariant QsoTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= 9)
        return {};
    return QString::fromLatin1(Columns[section]);
}

void QsoTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

TQsoBrowser::TQsoBrowser(TQsoData &log, WindowHost &host) : TQsoWindowBase(nullptr)
{
    setObjectName(QStringLiteral("QSOForm"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(QStringLiteral("QSOs of ") + QFileInfo(QString::fromStdString(log.LogFileName)).fileName());
    auto *layout = new QVBoxLayout(this);
    m_model = new QsoTableModel(log, this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("QsoTable"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setDefaultSectionSize(20);
    m_table->verticalHeader()->hide();
    layout->addWidget(m_table);
    resize(720, 420);
    host.Windows().RestoreWindowPos(this, WindowIndex::QSO);
    host.Windows().ApplyWindowStyle(this);
    if (m_model->rowCount() > 0)
        m_table->scrollToBottom();
}

void TQsoBrowser::RefreshFromLog() { m_model->reload(); }

} // namespace vellum
