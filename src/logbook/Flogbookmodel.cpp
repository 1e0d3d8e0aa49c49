#include "Flogbookmodel.h"

#include "logstore/Ftext.h"

namespace vellum {

LogbookModel::LogbookModel(LogbookSources sources, QObject *parent)
    : QAbstractTableModel(parent), m_cells(sources, DefaultNoteWidth)
{
}

int LogbookModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_list ? 0 : static_cast<int>(m_list->Count());
}

int LogbookModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_definition.columns.size());
}

QVariant LogbookModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_list || index.row() >= m_list->Count() ||
        index.column() >= static_cast<int>(m_definition.columns.size()))
        return {};
    const int field = m_definition.columns[static_cast<std::size_t>(index.column())];
    if (role == Qt::TextAlignmentRole) {
        switch (LogbookFieldTable[static_cast<std::size_t>(field)].align) {
        case PrintAlign::Right: return int(Qt::AlignRight | Qt::AlignVCenter);
        case PrintAlign::Center: return int(Qt::AlignCenter);
        case PrintAlign::Left: return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    if (role != Qt::DisplayRole)
        return {};
    return ScreenText(m_cells.Cell(field, *m_list->At(index.row()), index.row() + 1));
}

QVariant LogbookModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(m_definition.columns.size()))
        return {};
    return QString::fromLatin1(LogbookFieldTable[m_definition.columns[static_cast<std::size_t>(section)]].name);
}

void LogbookModel::Show(const ReportDefinition &definition, const LogbookList &list)
{
    beginResetModel();
    m_definition = definition;
    m_cells = LogbookCells(m_cells.Sources(), definition.noteWidth);
    m_list = &list;
    endResetModel();
}

void LogbookModel::Forget()
{
    beginResetModel();
    m_list = nullptr;
    endResetModel();
}

} // namespace vellum
