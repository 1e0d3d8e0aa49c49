// The world map's speed goals: a full drawing of the world at 1920 x 1080 in
// every projection under 50 ms, the country under the cursor under 1 ms, the
// night shading under 20 ms. The map file is the default data's.

#include "worldmap/Fmaprenderer.h"
#include "worldmap/areaindex.h"
#include "worldmap/mapdata.h"
#include "worldmap/projection.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

using namespace vellum::worldmap;

constexpr int Width = 1920, Height = 1080;

const MapData &worldMap()
{
    static const MapData map = ReadMapFile(MapFileName(VELLUM_DEFAULT_DATA_DIR));
    return map;
}

MapScene worldScene(ProjectionKind kind)
{
    MapScene scene;
    scene.projection = kind;
    scene.view = {{13.4, 52.5}, 1.0};
    scene.map = &worldMap();
    return scene;
}

/// Every layer of the map, the graticule and the outline, antialiased, into a 1920 x 1080 picture.
void BM_FullRedraw(benchmark::State &state)
{
    auto kind = static_cast<ProjectionKind>(state.range(0));
    MapScene scene = worldScene(kind);
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    MapRenderer renderer;
    for (auto _ : state) {
        QPainter painter(&image);
        renderer.Paint(painter, scene, QSizeF(Width, Height));
    }
    state.SetLabel(std::string(ProjectionName(kind)));
    state.counters["points"] = static_cast<double>(worldMap().PointCount());
}
BENCHMARK(BM_FullRedraw)->DenseRange(1, 7)->Unit(benchmark::kMillisecond);

/// The cursor read-out's lookup: the screen point to a position, the country containing it.
void BM_CountryUnderCursor(benchmark::State &state)
{
    MapProjection projection(ProjectionKind::Spherical, {{13.4, 52.5}, 1.0}, Width, Height);
    AreaIndex index(worldMap().layers.front());
    std::mt19937 random(7);
    std::uniform_real_distribution<double> x(0, Width), y(0, Height);
    std::size_t found = 0;
    for (auto _ : state) {
        if (auto position = projection.Inverse({x(random), y(random)}))
            found += index.Find(*position).has_value();
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_CountryUnderCursor)->Unit(benchmark::kMicrosecond);

/// The night side shaded over a 1920 x 1080 picture.
void BM_NightShading(benchmark::State &state)
{
    auto kind = static_cast<ProjectionKind>(state.range(0));
    MapScene scene = worldScene(kind);
    scene.subsolar = LonLat{-100, 23.4};
    MapProjection projection(kind, scene.view, Width, Height);
    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    MapRenderer renderer;
    for (auto _ : state) {
        QPainter painter(&image);
        renderer.PaintNight(painter, scene, projection);
    }
    state.SetLabel(std::string(ProjectionName(kind)));
}
BENCHMARK(BM_NightShading)->DenseRange(1, 7)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
