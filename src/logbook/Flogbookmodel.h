#pragma once
// The logbook's table: a model over the listed QSOs that makes the text of a
// cell only when the view asks for it, so a list of a million QSOs costs no more
// to show than the rows on the screen.

#include "logbookfields.h"
#include "logbooklist.h"
#include "reportdefinitions.h"

#include <QAbstractTableModel>

namespace vellum {

class LogbookModel : public QAbstractTableModel {
    Q_OBJECT
public:
    LogbookModel(LogbookSources sources, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// Shows the definition's columns over the list (rows and columns anew).
    void Show(const ReportDefinition &definition, const LogbookList &list);
    /// The list is about to change under the model: no rows until Show.
    void Forget();
    const ReportDefinition &Definition() const { return m_definition; }
    const LogbookCells &Cells() const { return m_cells; }
    bool BandInMHz() const { return m_cells.Sources().bandInMHz; }

private:
    LogbookCells m_cells;
    ReportDefinition m_definition;
    const LogbookList *m_list = nullptr;
};

} // namespace vellum
