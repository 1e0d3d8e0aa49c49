#pragma once
// Reading ADIF records: the header, and one record's tags into an imported QSO.

#include "adifinput.h"
#include "importedqso.h"

namespace vellum {

class ImportFields;

enum class AdifHeader {
    Skipped,  ///< a header was read up to its EOH
    None,     ///< the file starts with a record ("<" first)
    Missing,  ///< text before the first tag, but no EOH: not an ADIF file
    Xml,      ///< an ADX (XML) file
};

/// Moves the input past the header. A file whose first character (after a
/// UTF-8 byte order mark and blanks) is "<" has no header, unless its first
/// tags end with an EOH before any EOR. A header naming this program
/// (PROGRAMID VELLUM) makes the input read values as cp1252.
AdifHeader SkipAdifHeader(AdifInput &input);

enum class RecordEnd { Eor, EndOfInput };

/// Reads tags up to EOR into q through the field rules, then completes the
/// record (when it held any field the import uses). Returns EndOfInput when the
/// input ended before an EOR; the record is then to be discarded. Unknown tags
/// are passed over. Throws EAdifFormat when a length count runs over the end of
/// the record (the input is then just past that record) or past the end of the file.
RecordEnd ReadAdifRecord(AdifInput &input, ImportedQso &q, ImportFields &fields);

} // namespace vellum
