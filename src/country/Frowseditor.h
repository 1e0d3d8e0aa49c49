#pragma once
// The grid editors of the QSL managers and of the IOTA list, written once over
// their working copies (ManagerRows, IotaRows). A Rows type gives NewRow(),
// FindKey(), ExportText(), Import(), Apply(), ReportCounts(), DeleteQuestion
// and Noun.

#include "Freference.h"

#include <QTableView>

#include <algorithm>
#include <initializer_list>

namespace vellum {

/// The model of a working copy; the concrete model gives data() and setData().
template <typename Rows>
class TRowsModel : public TSortedRowsModel {
public:
    TRowsModel(Rows &rows, QStringList headings, UserNotifier &notifier, QObject *parent)
        : TSortedRowsModel(std::move(headings), notifier, parent), m_rows(rows)
    {
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_rows.Count();
    }

    /// Adds the working copy's new row at its sorted place.
    void InsertNew()
    {
        typename Rows::RowType row = Rows::NewRow();
        insertRow(m_rows.LowerBound(row), [&] { m_rows.Insert(std::move(row)); });
    }

    void DeleteRow(int row)
    {
        if (row >= 0 && row < m_rows.Count())
            removeRow(row, [&] { m_rows.Delete(row); });
    }

    /// Around a change of the whole working copy.
    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }

protected:
    /// The row of a valid cell; null for anything else.
    const typename Rows::RowType *rowAt(const QModelIndex &index) const
    {
        return index.isValid() && index.row() < m_rows.Count() ? &m_rows.At(index.row()) : nullptr;
    }

    /// Puts an edited row in place of the row at from; it moves to its sorted
    /// place once the cell editor has closed (a move while the editor is open
    /// would take the editor from the view).
    bool placeEdited(int from, typename Rows::RowType row)
    {
        m_rows.Mutable(from) = std::move(row);
        emit dataChanged(index(from, 0), index(from, columnCount() - 1));
        QMetaObject::invokeMethod(this, [this, from] { sortEdited(from); }, Qt::QueuedConnection);
        return true;
    }

private:
    void sortEdited(int from)
    {
        if (from >= m_rows.Count())
            return;
        typename Rows::RowType row = m_rows.At(from);
        int to = m_rows.ReplacePosition(from, row);
        moveRow(from, to, [&] { m_rows.Replace(from, std::move(row)); });
    }

protected:

    Rows &m_rows;
};

/// The editor of a working copy shown through Model.
template <typename Rows, typename Model>
class TRowsEditor : public TTableEditor {
public:
    // The grid goes first: it reads the rows while it is being destroyed.
    ~TRowsEditor() override { delete Grid(); }

    const Rows &WorkingCopy() const { return m_rows; }
    void InsertRowClick() override { m_model->InsertNew(); }

protected:
    TRowsEditor(TCountryData &data, const ReferenceServices &services, QWidget *parent)
        : TTableEditor(data, services, parent)
    {
        m_rows.Load(data);
    }

    /// Builds the window over a model of the working copy; widths are the
    /// columns' widths in characters.
    void build(Model *model, const QString &prefix, const QString &searchCaption, const QString &exportCaption,
               const QString &importCaption, std::initializer_list<int> widths)
    {
        m_model = model;
        buildTableEditor(model, prefix, searchCaption, exportCaption, importCaption);
        int column = 0, character = Grid()->fontMetrics().horizontalAdvance(QLatin1Char('W'));
        for (int width : widths)
            Grid()->setColumnWidth(column++, (width + 1) * character);
    }

    void applyWorkingCopy(TCountryData &data) override { m_rows.Apply(data); }
    std::string exportText(std::int64_t &rows) override
    {
        rows = m_rows.Count();
        return m_rows.ExportText();
    }
    const char *exportNoun() const override { return Rows::Noun; }
    bool importFile(const std::string &fileName, UserNotifier &notifier, ProgressService *progress) override
    {
        return RunTextImport(ImportJobOf(m_rows, fileName), notifier, progress);
    }
    void workingCopyAboutToBeReplaced() override { m_model->BeginReset(); }
    void workingCopyReplaced() override { m_model->EndReset(); }
    /// The first row whose key is not less than the text; the last row when none is.
    int searchRow(const std::string &text) const override
    {
        return m_rows.Empty() ? -1 : std::min(m_rows.FindKey(text), m_rows.Count() - 1);
    }
    void deleteRow(int row) override { m_model->DeleteRow(row); }

    Rows m_rows;
    Model *m_model = nullptr;
};

} // namespace vellum
