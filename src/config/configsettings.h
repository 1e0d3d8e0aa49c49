#pragma once
// The settings the log store reads, taken from a live configuration record.

#include "config/configrecord.h"
#include "logstore/services.h"

namespace vellum {

/// LogSettings over a configuration record (normally Config()): "Cycle Files"
/// (DefQSO_Cycle), the group of new and merged QSOs (DefQSO_Group) and the date
/// format (Personal_DateFormat; a wheel index outside 1..3 reads as mm/dd/yyyy).
/// Reads the record at each call, so changes take effect at once; the record
/// must outlive this object.
/// The CW/phone boundary of a band in kHz: Personal_CWcutoff for the fifteen classic
/// bands, the fixed boundary of an extended band (ExtendedCwCutoff); 0 for none.
double CwCutoffKHz(const TConfigRecord &config, int band);

class ConfigLogSettings : public LogSettings {
public:
    explicit ConfigLogSettings(const TConfigRecord &record) : m_record(record) {}

    bool cycleFiles() const override;
    std::uint8_t defaultGroup() const override;
    DateFormat dateFormat() const override;

private:
    const TConfigRecord &m_record;
};

} // namespace vellum
