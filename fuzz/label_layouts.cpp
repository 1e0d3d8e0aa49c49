// Fuzz target: a label layouts file from arbitrary bytes, and the first layout
// in it (taken as a record even when the file's size is refused) printed as a
// run of labels and as the editor's sample on an A4 page, with fonts and a QSO
// limit from the bytes after it. The layout checks must refuse whatever cannot
// be placed on the page; nothing may divide by zero or run past the page.

#include "labels/labeljob.h"
#include "labels/labellayout.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace {

using namespace vellum;

/// An A4 page that measures text simply and keeps nothing.
class CountingSurface : public PrintSurface {
public:
    int pages = 0;
    double PageWidth() const override { return 8.27; }
    double PageHeight() const override { return 11.69; }
    PrintMargins Unprintable() const override { return {0.1, 0.1, 0.1, 0.1}; }
    double LineHeight(const PrintFont &font) override { return 1.2 * font.points / 72; }
    double TextWidth(const PrintFont &font, std::string_view text) override
    {
        return static_cast<double>(text.size()) * font.points / 120;
    }
    bool BeginPage() override { return ++pages < 200; } // a run that needs more pages has gone wrong
    void Text(double, double, std::string_view, const PrintFont &, PrintAlign, double) override {}
    void Line(double, double, double, double) override {}
    void Shade(const PrintRect &, int) override {}
    void RoundRect(const PrintRect &, double) override {}
};

std::vector<LabelItem> stations()
{
    std::vector<LabelItem> items;
    for (int i = 0; i < 30; ++i) {
        LabelItem item;
        item.call = "QX" + std::to_string(i % 7);
        item.date = static_cast<std::uint16_t>(40000 + i);
        item.band = 5;
        item.mode = 1;
        item.method = i % 3;
        items.push_back(item);
    }
    return items;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::span<const std::uint8_t> bytes(data, size);
    (void)ReadLabelBytes(bytes);
    if (size < LabelLayoutSize)
        return 0;
    LabelJobSetup setup;
    setup.layout = LoadLayout(bytes.first<LabelLayoutSize>());
    std::span<const std::uint8_t> rest = bytes.subspan(LabelLayoutSize);
    auto byteAt = [&rest](std::size_t i, std::uint8_t otherwise) { return i < rest.size() ? rest[i] : otherwise; };
    setup.options.head = {"Arial", static_cast<double>(byteAt(0, 12)), true, false, 0};
    setup.options.body = {"Arial", static_cast<double>(byteAt(1, 8)), false, false, 0};
    setup.options.maxQsos = byteAt(2, 0) % 20;
    setup.options.useLines = byteAt(3, 0) & 1;
    setup.options.printManagers = byteAt(3, 0) & 2;
    setup.options.printMethod = byteAt(3, 0) & 4;
    setup.options.greeting1 = "@@ 73";
    setup.missing = byteAt(4, 0);
    (void)CheckLayout(setup.layout);
    (void)CheckLayoutOnPage(setup.layout, 8.27, 11.69);

    CountingSurface run;
    (void)PrintLabelRun(run, stations(), setup, {});
    CountingSurface sample;
    PrintEngine engine(sample);
    TMyLabPr printer(engine, LabelKind::Qsl, setup.options, setup.layout);
    (void)RunLabelSample(printer);
    return 0;
}
