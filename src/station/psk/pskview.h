#pragma once
// The geometry of the PSK31 displays: the part of the audio band the spectrum
// and the waterfall show at each zoom, pixels to frequencies and back, and the
// waterfall's two palettes.

#include <array>
#include <cstdint>

namespace vellum::psk {

/// The frequencies a display shows.
struct PskView {
    int start = 100;  ///< Hz at the left edge
    int end = 3200;   ///< Hz at the right edge
    int firstBin = 26;
    int lastBin = 819;
    int Span() const { return end - start; }
};

/// The view of zoom 1, 2 or 4 (any other value zooms 4x) around a receive frequency.
PskView ZoomView(int scale, int receiveHz);

/// a * b / c rounded to the nearest integer (halves away from zero); 0 when c is 0.
int MulDiv(int a, int b, int c);

/// The frequency under pixel x of a display width pixels wide.
int FrequencyAt(const PskView &view, int x, int width);
/// The pixel of a frequency on a display width pixels wide.
int PixelOf(const PskView &view, int hz, int width);
/// The spectrum bin of a frequency, kept inside the 1024 bins.
int BinOf(int hz);

/// 0x00RRGGBB colours of the waterfall, index 0 (no signal) to 255 (full scale).
using PskPalette = std::array<std::uint32_t, 256>;
PskPalette MakePalette(bool alternate);

} // namespace vellum::psk
