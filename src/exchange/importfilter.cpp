#include "importfilter.h"

namespace vellum {

namespace {
constexpr ImportFieldInfo plain(const char *name, PlainType type) { return {name, FieldKind::Plain, type}; }
constexpr ImportFieldInfo field(const char *name, FieldKind kind) { return {name, kind, PlainType::None}; }
} // namespace

const std::array<ImportFieldInfo, ImportFieldCount> ImportFieldNames = {{
    plain("Awd group", PlainType::String),
    plain("Awd value", PlainType::String),
    field("AwdX Award", FieldKind::AwardFlag),
    field("Band", FieldKind::Band),
    plain("Callsign", PlainType::String),
    field("Confrm", FieldKind::YesNo),
    plain("County", PlainType::String),
    field("County award", FieldKind::AwardFlag),
    field("Date", FieldKind::Date),
    field("DXCC Band award", FieldKind::AwardFlag),
    field("DXCC Mixed award", FieldKind::AwardFlag),
    field("DXCC Mode award", FieldKind::AwardFlag),
    field("DXCC valid", FieldKind::YesNo),
    plain("Grid", PlainType::String),
    plain("Group", PlainType::Number),
    plain("IOTA", PlainType::String),
    field("IOTA award", FieldKind::AwardFlag),
    field("Label", FieldKind::YesNo),
    field("Mode", FieldKind::Mode),
    field("Note1", FieldKind::Note),
    field("Note2", FieldKind::Note),
    field("Note3", FieldKind::Note),
    plain("Prefix", PlainType::String),
    field("QRP", FieldKind::YesNo),
    field("QSL Date", FieldKind::QslDate),
    field("QSL Method", FieldKind::QslMethod),
    plain("Recvd", PlainType::String),
    plain("rstR", PlainType::Number),
    plain("rstS", PlainType::Number),
    field("Satellite", FieldKind::Satellite),
    field("State", FieldKind::State),
    plain("TenTen", PlainType::Number),
    field("Time", FieldKind::Time),
    field("VUCC Award", FieldKind::AwardFlag),
    field("WAS Band award", FieldKind::AwardFlag),
    field("WAS Mixed award", FieldKind::AwardFlag),
    field("WAS Mode award", FieldKind::AwardFlag),
    field("WAZ Band award", FieldKind::AwardFlag),
    field("WAZ Mixed award", FieldKind::AwardFlag),
    field("WAZ Mode award", FieldKind::AwardFlag),
    field("WPX Band award", FieldKind::AwardFlag),
    field("WPX Mixed award", FieldKind::AwardFlag),
    field("WPX Mode award", FieldKind::AwardFlag),
    field("YLop", FieldKind::YesNo),
    plain("Zone", PlainType::Number),
}};

bool IsAdifFilter(const ImportFilter &filter) { return filter.Id.view().substr(0, 4) == "ADIF"; }

ImportFilter AdifFilter()
{
    ImportFilter filter;
    filter.Ext = "ADI";
    filter.Id = "ADIF";
    filter.Usage = FilterUsage::ImportExport;
    filter.Description = "ADIF";
    filter.DateChar = '/';
    return filter;
}

} // namespace vellum
