#include "pskview.h"

#include "pskengine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vellum::psk {

namespace {

constexpr int LowestHz = 100;
constexpr int HighestHz = 3200;

/// Builds one colour of the ramp black - blue - cyan - yellow - white; step is the rise per index.
std::uint32_t rampColour(int d, int step)
{
    int quarter = 256 / step; // 64 indexes a quarter at step 4, 32 at step 8
    int r = 0, g = 0, b = 0;
    int k = d % quarter;
    switch (d / quarter) {
    case 0: b = step * k; break;
    case 1: g = step * k, b = 255; break;
    case 2: r = step * k, g = 255, b = 255 - step * k; break;
    default: r = 255, g = 255, b = step * k; break;
    }
    auto clamp = [](int c) { return c >= 250 ? 255 : std::max(c, 0); };
    return static_cast<std::uint32_t>(clamp(r) << 16 | clamp(g) << 8 | clamp(b));
}

} // namespace

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return 0;
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

int BinOf(int hz) { return std::clamp(static_cast<int>(std::lround(hz / BinHz)), 0, SpectrumBins - 1); }

PskView ZoomView(int scale, int receiveHz)
{
    PskView view;
    if (scale != 1) {
        int half = scale == 2 ? 999 : 499;
        view.start = std::max(LowestHz, (receiveHz - half) / 10 * 10);
        view.end = std::min(HighestHz, (receiveHz + half) / 10 * 10);
        if (view.end <= view.start) // a receive frequency outside the band: the whole band
            view.start = LowestHz, view.end = HighestHz;
    }
    view.firstBin = BinOf(view.start);
    view.lastBin = BinOf(view.end);
    return view;
}

int FrequencyAt(const PskView &view, int x, int width) { return view.start + MulDiv(view.Span(), x, width - 1); }

int PixelOf(const PskView &view, int hz, int width) { return MulDiv(hz - view.start, width - 1, view.Span()); }

PskPalette MakePalette(bool alternate)
{
    PskPalette palette{};
    for (int i = 0; i < 256; ++i)
        palette[static_cast<std::size_t>(i)] = alternate ? rampColour(i % 128, 8) : rampColour(i, 4);
    return palette;
}

} // namespace vellum::psk
