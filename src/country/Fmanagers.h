#pragma once
// The QSL manager editor "QSL Manager dabase": the manager table in a grid of
// call, date and manager, a callsign search, and the text import and export.

#include "Frowseditor.h"
#include "managers.h"

namespace vellum {

/// The grid's model: one row per manager record (call, date in the configured
/// date format, manager).
class TManagerModel : public TRowsModel<ManagerRows> {
    Q_OBJECT
public:
    TManagerModel(ManagerRows &rows, const LogSettings &settings, UserNotifier &notifier, QObject *parent);
    QVariant data(const QModelIndex &index, int role) const override;
    /// Takes an edited cell (call and manager upper-cased and cut to 12, the
    /// date in the configured format, empty for none); the row moves to its
    /// sorted place. An empty call or an impossible date is refused with a message.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    const LogSettings &m_settings;
};

/// The editor; exec() it modally. Named controls: FMgr_Grid (with the actions
/// FMgr_Insert, FMgr_Delete), FMgr_Search, FMgr_Save, FMgr_Cancel,
/// FMgr_Export, FMgr_Import.
class TEditQSLMgrDialog : public TRowsEditor<ManagerRows, TManagerModel> {
    Q_OBJECT
public:
    TEditQSLMgrDialog(TCountryData &data, const ReferenceServices &services, QWidget *parent = nullptr);
};

} // namespace vellum
