#pragma once
// The page a label test prints on: fixed metrics (a line is 1.2 x points / 72 inch,
// a character points / 120 inch wide) and every text, page and outline kept.

#include "print/printsurface.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vellum::test {

class SheetSurface : public PrintSurface {
public:
    struct Placed {
        int page;
        double x, y;
        std::string text;
        PrintAlign align;
    };

    double width = 8.27, height = 11.69; ///< A4
    PrintMargins unprintable;
    bool preview = false;
    int pages = 0;
    std::vector<Placed> texts;
    std::vector<PrintRect> roundRects;

    double PageWidth() const override { return width; }
    double PageHeight() const override { return height; }
    PrintMargins Unprintable() const override { return unprintable; }
    double LineHeight(const PrintFont &font) override { return 1.2 * font.points / 72; }
    double TextWidth(const PrintFont &font, std::string_view text) override
    {
        return static_cast<double>(text.size()) * font.points / 120;
    }
    bool BeginPage() override { return ++pages > 0; }
    void Text(double x, double y, std::string_view text, const PrintFont &, PrintAlign align, double) override
    {
        texts.push_back({pages, x, y, std::string(text), align});
    }
    void Line(double, double, double, double) override {}
    void Shade(const PrintRect &, int) override {}
    void RoundRect(const PrintRect &rect, double) override { roundRects.push_back(rect); }
    bool IsPreview() const override { return preview; }

    const Placed *Find(const std::string &text) const
    {
        auto found = std::find_if(texts.begin(), texts.end(), [&](const Placed &p) { return p.text == text; });
        return found == texts.end() ? nullptr : &*found;
    }
    std::vector<std::string> TextsOn(int page) const
    {
        std::vector<std::string> on;
        for (const Placed &p : texts)
            if (p.page == page)
                on.push_back(p.text);
        return on;
    }
};

} // namespace vellum::test
