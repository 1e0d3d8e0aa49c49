#include "Fiota.h"

namespace vellum {

namespace {
enum Column { ReferenceColumn = 0, NameColumn = 1, LongitudeColumn = 2, LatitudeColumn = 3 };
} // namespace

TIotaModel::TIotaModel(IotaRows &rows, UserNotifier &notifier, QObject *parent)
    : TRowsModel(rows,
                 {QStringLiteral("IOTA"), QStringLiteral("Full name"), QStringLiteral("Longitude"),
                  QStringLiteral("Lattitude")},
                 notifier, parent)
{
}

QVariant TIotaModel::data(const QModelIndex &index, int role) const
{
    const IotaInfo *row = rowAt(index);
    if (!row || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    switch (index.column()) {
    case ReferenceColumn: return ScreenText(row->reference);
    case NameColumn: return ScreenText(row->name);
    case LongitudeColumn: return QString::number(row->longitude, 'f', 3);
    case LatitudeColumn: return QString::number(row->latitude, 'f', 3);
    default: return {};
    }
}

bool TIotaModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const IotaInfo *current = rowAt(index);
    if (!current || role != Qt::EditRole)
        return false;
    IotaInfo row = *current;
    QString text = value.toString().trimmed();
    std::string core = CoreText(text);
    switch (index.column()) {
    case ReferenceColumn:
        row.reference = NormalizeIotaReference(core);
        if (!IsIotaReference(row.reference))
            return refuse(QStringLiteral("An IOTA reference is two letters and three digits: ") + text);
        break;
    case NameColumn: row.name = core.substr(0, IotaField::NameCapacity); break;
    case LongitudeColumn:
    case LatitudeColumn: {
        bool longitude = index.column() == LongitudeColumn;
        std::optional<double> degrees = ParseCoordinate(core, longitude ? 180 : 90);
        if (!degrees)
            return refuse((longitude ? QStringLiteral("Not a longitude: ") : QStringLiteral("Not a latitude: ")) + text);
        (longitude ? row.longitude : row.latitude) = *degrees;
        break;
    }
    default: return false;
    }
    return placeEdited(index.row(), std::move(row));
}

TEditIOTADialog::TEditIOTADialog(TCountryData &data, const ReferenceServices &services, QWidget *parent)
    : TRowsEditor(data, services, parent)
{
    setObjectName(QStringLiteral("EditIOTADialog"));
    setWindowTitle(QStringLiteral("IOTA database"));
    build(new TIotaModel(m_rows, notifier(), this), QStringLiteral("FIota_"), QStringLiteral("IOTA Search"),
          QStringLiteral("Export IOTA Data"), QStringLiteral("Import IOTA Data"), {5, 38, 9, 9});
}

} // namespace vellum
