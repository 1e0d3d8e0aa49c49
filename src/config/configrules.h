#pragma once
// Rules applied to a configuration record as a whole: the screen-dependent
// defaults, the checks after loading, and the own-call substitution.

#include "config/configrecord.h"

#include <cstdint>

namespace vellum {

/// The screen resolution the windows were designed for (F_FormScale 100).
inline constexpr std::int32_t DesignPixelsPerInch = 120;

/// Sets the scale and the three screen fonts for a screen of pixelsPerInch:
/// F_FormScale = 100 * pixelsPerInch / 120 (rounded down, kept within 25..255;
/// an unknown resolution, 0 or less, counts as 120); "Heading" font Arial 9;
/// "Input" and "Listbox" fonts Fixedsys, size round(F_FormScale * 11 / 100);
/// none bold.
void ResetScreenDefaults(TConfigRecord &record, std::int32_t pixelsPerInch);

/// Cuts every string whose length byte exceeds its capacity to the capacity, so
/// that reading a string never runs past its field.
void ClampStringLengths(TConfigRecord &record);

/// Replaces settings that would divide by zero, index out of range or make no
/// sense (wheel indexes, list indexes, speeds, tones, poll rates, tries, list
/// limits, splitter positions, non-finite positions) by their built-in
/// defaults. The built-in image passes unchanged.
void ClampSettings(TConfigRecord &record);

/// After the own callsign was entered or changed: each "~" of the three label
/// greetings and the four warning patterns becomes Personal_Callsign (cut to the
/// field's capacity). Nothing changes while the callsign is empty, so that the
/// placeholders survive. The caller tells the country data about the own country.
void ApplyOwnCall(TConfigRecord &record);

} // namespace vellum
