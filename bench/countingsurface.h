#pragma once
// A print surface for the benchmarks: fixed-pitch metrics (a line is 1.2 x points
// / 72 inch, a character points / 120 inch wide); it counts pages and characters
// and draws nothing, so a benchmark times the layout, not the rasterising.

#include "print/printsurface.h"

#include <cstddef>
#include <string_view>

namespace vellum::bench {

class CountingSurface : public PrintSurface {
public:
    double PageWidth() const override { return 8.27; }
    double PageHeight() const override { return 11.69; }
    double LineHeight(const PrintFont &font) override { return font.points * 1.2 / 72; }
    double TextWidth(const PrintFont &font, std::string_view text) override
    {
        return static_cast<double>(text.size()) * font.points / 120;
    }
    bool BeginPage() override { return ++pages > 0; }
    void Text(double, double, std::string_view text, const PrintFont &, PrintAlign, double) override
    {
        characters += text.size();
    }
    void Line(double, double, double, double) override {}
    void Shade(const PrintRect &, int) override {}
    void RoundRect(const PrintRect &, double) override {}
    int pages = 0;
    std::size_t characters = 0;
};

} // namespace vellum::bench
