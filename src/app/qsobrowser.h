#pragma once
// The QSO window of a log while the entry form is not there: the log's QSOs in
// the browse order, read-only.

#include "qsowindow.h"

#include <QAbstractTableModel>

class QTableView;

namespace vellum {

class TQsoData;
class WindowHost;

/// The QSOs of a log in its browse order (ViewIndex) as a table.
class QsoTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QsoTableModel(TQsoData &log, QObject *parent = nullptr) : QAbstractTableModel(parent), m_log(log) {}
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void reload();

private:
    TQsoData &m_log;
};

class TQsoBrowser : public TQsoWindowBase {
    Q_OBJECT
public:
    TQsoBrowser(TQsoData &log, WindowHost &host);
    void RefreshFromLog() override;

private:
    QsoTableModel *m_model;
    QTableView *m_table;
};

} // namespace vellum
