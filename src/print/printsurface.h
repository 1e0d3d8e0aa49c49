#pragma once
// What the print engine draws on: a page in inches from the paper's top-left
// corner. The Qt surfaces (printer, preview, PDF) implement it; tests record the
// drawing on a surface of their own. Texts are cp1252, as everywhere in the core.

#include <cstdint>
#include <string>
#include <string_view>

namespace vellum {

enum class PrintAlign { Left, Right, Center };

struct PrintFont {
    std::string name = "Arial";
    double points = 10;
    bool bold = false;
    bool italic = false;
    std::uint32_t color = 0; ///< 0xRRGGBB
};

struct PrintRect {
    double left = 0, top = 0, width = 0, height = 0;
    double Right() const { return left + width; }
    double Bottom() const { return top + height; }
};

/// Distances from the paper's four edges, in inches.
struct PrintMargins {
    double left = 0, top = 0, right = 0, bottom = 0;
};

/// The paper: a named size of the printer, or a custom size in tenths of a millimetre.
struct PaperSpec {
    std::string name;          ///< empty: the printer's current paper; "Custom": the size below
    int widthTenthMm = 2100;   ///< custom width
    int heightTenthMm = 2970;  ///< custom height
    bool portrait = true;
    bool IsCustom() const { return name == "Custom"; }
};

class PrintSurface {
public:
    virtual ~PrintSurface() = default;
    /// The paper's size in inches, as oriented.
    virtual double PageWidth() const = 0;
    virtual double PageHeight() const = 0;
    /// The part of the paper the printer cannot print on.
    virtual PrintMargins Unprintable() const { return {}; }
    /// The distance from one line's top to the next in this font.
    virtual double LineHeight(const PrintFont &font) = 0;
    virtual double TextWidth(const PrintFont &font, std::string_view text) = 0;

    /// Starts the next page; the first call starts page one. False when the output failed.
    virtual bool BeginPage() = 0;
    /// A line of text whose top is at y; x is its left edge, right edge or centre by align.
    /// clipWidth > 0 cuts the text to that width (measured from its left edge).
    virtual void Text(double x, double y, std::string_view text, const PrintFont &font, PrintAlign align,
                      double clipWidth = 0) = 0;
    virtual void Line(double x1, double y1, double x2, double y2) = 0;
    /// A rectangle filled grey with percent (0..100) of black.
    virtual void Shade(const PrintRect &rect, int percent) = 0;
    /// An outlined rectangle with rounded corners of radius (inches), filled white.
    virtual void RoundRect(const PrintRect &rect, double radius) = 0;
    /// Whether the output is the preview (drawings meant for the preview only are made).
    virtual bool IsPreview() const { return false; }
};

} // namespace vellum
