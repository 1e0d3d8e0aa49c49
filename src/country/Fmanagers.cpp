#include "Fmanagers.h"

#include "logstore/daytime.h"

namespace vellum {

namespace {
enum Column { CallColumn = 0, DateColumn = 1, ManagerColumn = 2 };

std::string callCell(const QString &text) { return UpperAscii(CoreText(text.trimmed()).substr(0, 12)); }
} // namespace

TManagerModel::TManagerModel(ManagerRows &rows, const LogSettings &settings, UserNotifier &notifier, QObject *parent)
    : TRowsModel(rows, {QStringLiteral("Call"), QStringLiteral("Date"), QStringLiteral("Manager")}, notifier, parent),
      m_settings(settings)
{
}

QVariant TManagerModel::data(const QModelIndex &index, int role) const
{
    const ManagerRow *row = rowAt(index);
    if (!row || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    switch (index.column()) {
    case CallColumn: return ScreenText(row->call);
    case DateColumn: return ScreenText(FormatDate(row->date, m_settings.dateFormat(), false));
    case ManagerColumn: return ScreenText(row->manager);
    default: return {};
    }
}

bool TManagerModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const ManagerRow *current = rowAt(index);
    if (!current || role != Qt::EditRole)
        return false;
    ManagerRow row = *current;
    QString text = value.toString().trimmed();
    switch (index.column()) {
    case CallColumn:
        row.call = callCell(text);
        if (row.call.empty())
            return refuse(QStringLiteral("A manager entry needs a call"));
        break;
    case DateColumn:
        if (text.isEmpty()) {
            row.date = 0;
        } else if (std::optional<std::uint16_t> day = ParseDate(CoreText(text), m_settings.dateFormat())) {
            row.date = *day;
        } else {
            return refuse(QStringLiteral("Not a valid date: ") + text);
        }
        break;
    case ManagerColumn: row.manager = callCell(text); break;
    default: return false;
    }
    return placeEdited(index.row(), std::move(row));
}

TEditQSLMgrDialog::TEditQSLMgrDialog(TCountryData &data, const ReferenceServices &services, QWidget *parent)
    : TRowsEditor(data, services, parent)
{
    setObjectName(QStringLiteral("EditQSLMgrDialog"));
    setWindowTitle(QStringLiteral("QSL Manager dabase"));
    build(new TManagerModel(m_rows, settings(), notifier(), this), QStringLiteral("FMgr_"),
          QStringLiteral("Callsign search"), QStringLiteral("Export QSL Manager Data"),
          QStringLiteral("Import QSL Manager Data"), {12, 10, 12});
}

} // namespace vellum
