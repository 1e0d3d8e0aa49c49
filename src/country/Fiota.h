#pragma once
// The IOTA editor "IOTA database": the IOTA list from entry 1 in a grid of
// reference, name, longitude and latitude, a reference search, and the text
// import and export.

#include "Frowseditor.h"
#include "iota.h"

namespace vellum {

/// The grid's model: one row per IOTA reference.
class TIotaModel : public TRowsModel<IotaRows> {
    Q_OBJECT
public:
    TIotaModel(IotaRows &rows, UserNotifier &notifier, QObject *parent);
    QVariant data(const QModelIndex &index, int role) const override;
    /// Takes an edited cell: a reference of two letters and three digits (a
    /// dash is dropped), a name cut to 38 characters, a longitude up to 180 or
    /// a latitude up to 90 degrees (with N, E, S or W or a sign). Anything else
    /// is refused with a message. The row moves to its sorted place.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
};

/// The editor; exec() it modally. Named controls: FIota_Grid (with the actions
/// FIota_Insert, FIota_Delete), FIota_Search, FIota_Save, FIota_Cancel,
/// FIota_Export, FIota_Import.
class TEditIOTADialog : public TRowsEditor<IotaRows, TIotaModel> {
    Q_OBJECT
public:
    TEditIOTADialog(TCountryData &data, const ReferenceServices &services, QWidget *parent = nullptr);
};

} // namespace vellum
