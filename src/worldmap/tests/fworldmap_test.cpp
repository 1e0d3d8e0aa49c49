// "World Map" in the program: opened from the QSO window, following the QSO's
// location, its options, zoom and projections kept in the configuration, the
// clock's redraw rule, the read-out and printing.

#include "worldmap/Fworldmap.h"
#include "worldmap/projection.h"

#include "app/testing/Fprogram.h"
#include "app/windowhost.h"
#include "logstore/daytime.h"
#include "qso/Fqso.h"
#include "qso/qsoentry.h"
#include "qso/tests/qsowindowtest.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrinterInfo>
#include <QTest>
#include <QTimeEdit>

#include <gtest/gtest.h>

namespace vellum {
namespace {

using namespace worldmap;

class WorldMapWindowTest : public test::QsoWindowTest {
protected:
    WorldMapWindowTest() : QsoWindowTest(VELLUM_DEFAULT_DATA_DIR, "worldmap") {}
    void SetUp() override
    {
        SetHomeInBerlin();
        StartWithNewLog({RegisterQsoWindows, RegisterWorldMapWindows});
    }
    TWorldMap *open()
    {
        QAction *item = form->findChild<QAction *>(QStringLiteral("Worldmap1"));
        EXPECT_NE(item, nullptr);
        if (!item)
            return nullptr;
        item->trigger();
        auto *map = qobject_cast<TWorldMap *>(main->Host().Companion(CompanionId::World));
        EXPECT_NE(map, nullptr);
        if (map) {
            map->show();
            QApplication::processEvents(); // the stored settings are applied once shown
        }
        return map;
    }
    void closeMap(TWorldMap *map)
    {
        map->close();
        QApplication::processEvents();
        EXPECT_EQ(main->Host().Companion(CompanionId::World), nullptr);
    }
    QAction *item(TWorldMap *map, const char *name) { return map->findChild<QAction *>(QString::fromLatin1(name)); }
    void typeGrid(const QString &grid)
    {
        auto *field = form->findChild<QLineEdit *>(QStringLiteral("Fqso_grid"));
        ASSERT_NE(field, nullptr);
        field->setText(grid);
        emit field->editingFinished();
        main->Host().SetLocationChanged();
        main->Host().RunIdle();
    }

    QWidget *canvasOf(TWorldMap *map) { return map->findChild<QWidget *>(QStringLiteral("MapCanvas")); }
    /// Presses the left button at `from`, moves in steps to `to` and releases it there.
    void drag(QWidget *canvas, QPointF from, QPointF to)
    {
        auto send = [canvas](QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, canvas->mapToGlobal(at), button, buttons, Qt::NoModifier);
            QApplication::sendEvent(canvas, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 4; ++step)
            send(QEvent::MouseMove, from + (to - from) * step / 4.0, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        QApplication::processEvents();
    }
    /// The position drawn at a point of the canvas.
    std::optional<LonLat> positionAt(TWorldMap *map, QPointF at)
    {
        QWidget *canvas = canvasOf(map);
        MapProjection projection(map->State().projection, map->State().DrawnView(), canvas->width(), canvas->height());
        return projection.Inverse({at.x(), at.y()});
    }
    /// Drags from `from` to `to` and checks the position grabbed is under the mouse afterwards.
    void expectDragFollowsTheMouse(TWorldMap *map, QPointF from, QPointF to)
    {
        auto grabbed = positionAt(map, from);
        ASSERT_TRUE(grabbed);
        drag(canvasOf(map), from, to);
        auto under = positionAt(map, to);
        ASSERT_TRUE(under);
        EXPECT_NEAR(under->lon, grabbed->lon, 0.05);
        EXPECT_NEAR(under->lat, grabbed->lat, 0.05);
    }

    void zoomIn(TWorldMap *map, int steps)
    {
        for (int i = 0; i < steps; ++i)
            item(map, "Zoomin1")->trigger();
    }
    /// Closes the map and opens it again, checking its projection, zoom and pan came back.
    TWorldMap *reopenedWithTheSameView(TWorldMap *map)
    {
        ProjectionKind projection = map->State().projection;
        MapView view = map->State().view;
        closeMap(map);
        map = open();
        if (map) {
            EXPECT_EQ(map->State().projection, projection);
            EXPECT_NEAR(map->State().view.zoom, view.zoom, 1e-9);
            EXPECT_EQ(map->State().view.panX, std::round(view.panX));
            EXPECT_EQ(map->State().view.panY, std::round(view.panY));
        }
        return map;
    }

};

TEST_F(WorldMapWindowTest, OpensFromTheQsoWindowWithEveryLayerOnFirstUse)
{
    TWorldMap *map = open();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->windowTitle(), "World Map");
    EXPECT_TRUE(map->State().ready);
    EXPECT_EQ(map->State().projection, ProjectionKind::Spherical);
    EXPECT_TRUE(item(map, "Projection1")->isChecked());
    for (const char *layer : {"Layer0", "Layer1", "Layer2", "Layer3"})
        EXPECT_TRUE(item(map, layer)->isChecked()) << layer;
    EXPECT_EQ(map->State().mapDay, TodayDayNumber());
    EXPECT_GE(map->Drawings(), 1);
    closeMap(map);
}

TEST_F(WorldMapWindowTest, FollowsTheQsoLocationWithGreatCircleAndSpotCountry)
{
    TWorldMap *map = open();
    ASSERT_NE(map, nullptr);
    item(map, "ShowSpotCountry1")->trigger();
    typeGrid("FN20");
    EXPECT_EQ(map->State().targetKey, "FN20");
    MapScene scene = map->Scene();
    ASSERT_EQ(scene.lines.size(), 2u);
    EXPECT_EQ(scene.lines[0].color, Red);   // the short path
    EXPECT_EQ(scene.lines[1].color, Black); // the long path
    ASSERT_EQ(scene.labels.size(), 1u);
    EXPECT_EQ(scene.labels[0].text, " FN20 ");
    ASSERT_TRUE(scene.selected);
    EXPECT_EQ(scene.map->layers[scene.selectedLayer].areas[*scene.selected].prefix, "K");
    // Without the great-circle layer no line is drawn.
    item(map, "Layer3")->trigger();
    EXPECT_TRUE(map->Scene().lines.empty());
    if (const char *shots = std::getenv("VELLUM_SCREENSHOT_DIR")) {
        item(map, "Layer3")->trigger();
        map->resize(900, 560);
        QApplication::processEvents();
        map->grab().save(QDir(shots).filePath("worldmap-window.png"));
    }
    closeMap(map);
}

TEST_F(WorldMapWindowTest, SettingsAreStoredOnClosingAndAppliedOnOpening)
{
    TWorldMap *map = open();
    ASSERT_NE(map, nullptr);
    item(map, "Projection4")->trigger();
    EXPECT_EQ(map->State().projection, ProjectionKind::EquiDistant);
    EXPECT_NEAR(map->State().DrawnView().centre.lat, 52.52, 1e-9); // centred on home
    item(map, "DayandNight1")->trigger();
    item(map, "UpdateDayandNight1")->trigger();
    item(map, "Layer1")->trigger(); // the states off
    closeMap(map);
    EXPECT_EQ(config.Projection, 4);
    EXPECT_TRUE(config.MapOptions[2]);
    EXPECT_TRUE(config.MapOptions[3]);
    EXPECT_FALSE(config.MapLayers[1]);
    EXPECT_TRUE(config.MapLayers[0]);

    map = open();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->State().projection, ProjectionKind::EquiDistant);
    EXPECT_TRUE(item(map, "Projection4")->isChecked());
    EXPECT_TRUE(map->State().Option(MapOption::DayAndNight));
    EXPECT_TRUE(map->State().Option(MapOption::UpdateDayAndNight));
    EXPECT_FALSE(item(map, "Layer1")->isChecked());
    EXPECT_FALSE(map->findChild<QWidget *>(QStringLiteral("Panel1"))->isVisible())
        << "day and night follow the clock: no panel";
    // Unchecking "Day and Night" unchecks and disables "Update Day and Night".
    item(map, "DayandNight1")->trigger();
    EXPECT_FALSE(item(map, "UpdateDayandNight1")->isChecked());
    EXPECT_FALSE(item(map, "UpdateDayandNight1")->isEnabled());
    closeMap(map);
}

TEST_F(WorldMapWindowTest, PropagationPanelAndDateSteps)
{
    TWorldMap *map = open();
    ASSERT_NE(map, nullptr);
    item(map, "Propagation1")->trigger();
    EXPECT_TRUE(map->findChild<QWidget *>(QStringLiteral("Panel1"))->isVisible());
    EXPECT_EQ(map->State().propagationMinutes, 20);
    std::uint16_t day = map->State().mapDay;
    auto *date = map->findChild<QDateEdit *>(QStringLiteral("F_Date"));
    QTest::keyClick(date, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(map->State().mapDay, day + 1);
    int minute = map->State().mapMinute;
    auto *time = map->findChild<QTimeEdit *>(QStringLiteral("F_Time"));
    QTest::keyClick(time, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ((map->State().mapMinute - minute + 1440) % 1440, 1435);
    // The clock's next minute brings the map back to the current date and time.
    int drawings = map->Drawings();
    map->ClockTick(map->State().drawn.day, map->State().drawn.minute);
    EXPECT_EQ(map->Drawings(), drawings) << "the same minute: no drawing";
    main->Host().ClockTicked(day, (map->State().drawn.minute + 1) % 1440 * 60); // the main window's clock
    EXPECT_EQ(map->Drawings(), drawings + 1);
    EXPECT_EQ(map->State().mapDay, day);
    closeMap(map);
}

TEST_F(WorldMapWindowTest, ZoomKeysReadoutAndPrinting)
{
    TWorldMap *map = open();
    ASSERT_NE(map, nullptr);
    double zoom = map->State().view.zoom;
    item(map, "Zoomin1")->trigger();
    EXPECT_NEAR(map->State().view.zoom, zoom * 1.4, 1e-9);
    item(map, "Zoomout1")->trigger();
    item(map, "Zoomout1")->trigger();
    EXPECT_NEAR(map->State().view.zoom, zoom / 1.4, 1e-9);
    item(map, "World1")->trigger();
    EXPECT_NEAR(map->State().view.zoom, 1.0, 1e-9);
    EXPECT_EQ(item(map, "Zoomin1")->shortcut(), QKeySequence(QStringLiteral("I")));

    auto *canvas = map->findChild<QWidget *>(QStringLiteral("MapCanvas"));
    ASSERT_NE(canvas, nullptr);
    QString readout = map->ReadoutAt(QPointF(canvas->width() / 2.0, canvas->height() / 2.0));
    EXPECT_TRUE(readout.contains(QStringLiteral(", Dist = "))) << readout.toStdString();
    EXPECT_TRUE(readout.endsWith(QStringLiteral(" degrees"))) << readout.toStdString();
    EXPECT_TRUE(map->ReadoutAt(QPointF(0, 0)).isEmpty()) << "the corner lies off the globe";

    notifier.answers = {Answer::No};
    std::size_t shown = notifier.shown.size();
    item(map, "PrintMap1")->trigger();
    ASSERT_EQ(notifier.shown.size(), shown + 1);
    EXPECT_EQ(notifier.shown.back().text, "Print map on default printer");
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        notifier.answers = {Answer::Yes};
        item(map, "PrintMap1")->trigger();
        EXPECT_EQ(lastMessage(), "No printers installed!");
    }
    closeMap(map);
}

} // namespace
} // namespace vellum

namespace vellum {
namespace {

TEST_F(WorldMapWindowTest, DraggingTurnsTheGlobeAndPansAZoomedFlatMap)
{
    TWorldMap *map = open();
    ASSERT_NE(map, nullptr);
    map->resize(900, 560);
    QApplication::processEvents();
    QWidget *canvas = canvasOf(map);
    ASSERT_NE(canvas, nullptr);
    QPointF middle(canvas->width() / 2.0, canvas->height() / 2.0);

    // The globe turns under the mouse and is never moved off its place.
    double lon = map->State().view.centre.lon;
    drag(canvas, middle, middle + QPointF(60, 0));
    EXPECT_LT(map->State().view.centre.lon, lon - 5);
    EXPECT_EQ(map->State().view.panX, 0);

    // The whole flat map cannot be moved up or down: nothing lies beyond it.
    item(map, "Projection3")->trigger();
    item(map, "World1")->trigger();
    drag(canvas, middle, middle + QPointF(0, 80));
    EXPECT_EQ(map->State().view.panY, 0);

    // Zoomed in, what was grabbed follows the mouse both ways.
    zoomIn(map, 3);
    int drawings = map->Drawings();
    expectDragFollowsTheMouse(map, middle + QPointF(100, 50), middle + QPointF(-60, -40));
    EXPECT_EQ(map->State().view.panY, -90);
    EXPECT_GT(map->Drawings(), drawings);

    // The panned view is kept on closing and comes back on opening.
    double lonPanned = map->State().view.centre.lon;
    map = reopenedWithTheSameView(map);
    ASSERT_NE(map, nullptr);
    EXPECT_NEAR(map->State().view.centre.lon, lonPanned, 1e-6);
    closeMap(map);
}

TEST_F(WorldMapWindowTest, AZoomedEquidistantMapPansAndStaysCentredOnHome)
{
    TWorldMap *map = open();
    ASSERT_NE(map, nullptr);
    map->resize(900, 560);
    item(map, "Projection4")->trigger();
    QApplication::processEvents();
    QWidget *canvas = canvasOf(map);
    QPointF middle(canvas->width() / 2.0, canvas->height() / 2.0);
    drag(canvas, middle, middle + QPointF(120, 60));
    EXPECT_EQ(map->State().view.panX, 0) << "the whole map fits: it is not moved";

    zoomIn(map, 3);
    expectDragFollowsTheMouse(map, middle, middle + QPointF(-150, 70));
    EXPECT_EQ(map->State().view.panX, -150);
    EXPECT_EQ(map->State().view.panY, 70);
    EXPECT_NEAR(map->State().DrawnView().centre.lat, 52.52, 1e-9) << "home stays the projection's centre";
    if (const char *shots = std::getenv("VELLUM_SCREENSHOT_DIR"))
        map->grab().save(QDir(shots).filePath("worldmap-panned.png"));

    // Dragging far beyond the edge stops with the map's edge at the window's.
    drag(canvas, middle, middle + QPointF(4000, 0));
    MapProjection projection(ProjectionKind::EquiDistant, map->State().DrawnView(), canvas->width(), canvas->height());
    EXPECT_NEAR(map->State().view.panX, projection.PanLimit().x, 1e-9);
    ScreenPoint home = *projection.Forward({13.405, 52.52});
    EXPECT_NEAR(home.x - std::numbers::pi * projection.Scale(), 0, 1e-6);

    // Closed and opened again: the zoom and the pan come back, centred on home.
    map = reopenedWithTheSameView(map);
    ASSERT_NE(map, nullptr);
    EXPECT_NEAR(map->State().DrawnView().centre.lon, 13.405, 1e-9);
    // "World" brings the whole map back, unmoved.
    item(map, "World1")->trigger();
    EXPECT_EQ(map->State().view.panX, 0);
    EXPECT_EQ(map->State().view.zoom, 1.0);
    closeMap(map);
}

} // namespace
} // namespace vellum
