#pragma once
// A surface that records what the engine draws, with fixed-pitch metrics: a
// character is points / 120 inch wide and a line 1.2 x points / 72 inch high.

#include "print/printsurface.h"

#include <string>
#include <vector>

namespace vellum::test {

class RecordingSurface : public PrintSurface {
public:
    struct Drawn {
        int page;
        double x, y;
        std::string text;
        PrintAlign align;
        double clip;
    };
    struct Lined {
        int page;
        double x1, y1, x2, y2;
    };
    struct Shaded {
        int page;
        PrintRect rect;
        int percent;
    };

    double width = 8.5, height = 11;
    PrintMargins unprintable;
    bool preview = false;
    int pages = 0;
    std::vector<Drawn> texts;
    std::vector<Lined> lines;
    std::vector<Shaded> shades;
    std::vector<PrintRect> roundRects;

    double PageWidth() const override { return width; }
    double PageHeight() const override { return height; }
    PrintMargins Unprintable() const override { return unprintable; }
    double LineHeight(const PrintFont &font) override { return font.points * 1.2 / 72; }
    double TextWidth(const PrintFont &font, std::string_view text) override { return text.size() * font.points / 120; }
    bool BeginPage() override
    {
        ++pages;
        return true;
    }
    void Text(double x, double y, std::string_view text, const PrintFont &, PrintAlign align, double clip) override
    {
        texts.push_back({pages, x, y, std::string(text), align, clip});
    }
    void Line(double x1, double y1, double x2, double y2) override { lines.push_back({pages, x1, y1, x2, y2}); }
    void Shade(const PrintRect &rect, int percent) override { shades.push_back({pages, rect, percent}); }
    void RoundRect(const PrintRect &rect, double) override { roundRects.push_back(rect); }
    bool IsPreview() const override { return preview; }

    /// The texts drawn on a page, in drawing order.
    std::vector<std::string> TextsOn(int page) const
    {
        std::vector<std::string> out;
        for (const Drawn &d : texts)
            if (d.page == page)
                out.push_back(d.text);
        return out;
    }
    const Drawn *Find(const std::string &text) const
    {
        for (const Drawn &d : texts)
            if (d.text == text)
                return &d;
        return nullptr;
    }
};

} // namespace vellum::test
