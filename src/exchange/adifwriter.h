#pragma once
// Writing ADIF: the header line of an export and one QSO as a record.

#include "logstore/qsorec.h"

#include <string>

namespace vellum {

class TCountryData;
class TNotes;
class PrefixMap;

/// Where a record's texts come from besides the QSO.
struct AdifSources {
    const TCountryData &countries; ///< prefixes, states and counties
    const TNotes &notes;           ///< the notes per callsign
    const PrefixMap *prefixMap = nullptr; ///< DXCC numbers of the prefixes; none: no dxcc tag
};

/// The header of an export: one line naming this program, ending with <EOH>.
/// The program identifier tells a later import that the values are cp1252.
std::string AdifHeaderLine();

/// Appends one QSO as an ADIF record: tags "<name:length>value" separated by a
/// blank, a new line before a tag that would bring the line to 80 columns, the
/// record ending with "<eor>" and a line break. Tags: qso_date, time_on, call,
/// dxcc, mode, band, rst_sent, rst_rcvd, SRX, cqz, state, cnty, gridsquare,
/// iota, qsl_rcvd, qsl_sent and qslsdate, comment (the QSO's note) and notes
/// (the call's note), each where the QSO has a value for it. A QSO without a
/// date, time, band or mode leaves that tag out rather than write a value no
/// reader takes.
void WriteAdifRecord(std::string &out, const TQsoRec &qso, const AdifSources &sources);

} // namespace vellum
