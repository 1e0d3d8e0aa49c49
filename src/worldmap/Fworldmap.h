#pragma once
// "World Map" (TWorldMap), companion 10 of the QSO window: the map in one of
// seven projections with the home station, the great circle to the QSO's
// location, night shading, the countries spotted lately, zoom, measuring and
// the country under the cursor.

#include "mapdata.h"
#include "worldmapstate.h"

#include "app/qsowindow.h"

#include <QWidget>

#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QDateEdit;
class QLabel;
class QMenu;
class QSpinBox;
class QTimeEdit;

namespace vellum {

class WindowHost;

namespace worldmap {
class AreaIndex;
class TMapCanvas;
} // namespace worldmap

class TWorldMap : public QWidget, public CompanionWindow {
    Q_OBJECT
public:
    TWorldMap(WindowHost &host, std::shared_ptr<const worldmap::MapData> map);
    ~TWorldMap() override;

    /// The QSO window's location changed: the target, the selected country, the great circle.
    void RefreshCompanion() override;
    /// The clock: redraws with the current date and time when a redraw is due.
    void ClockTick(std::uint16_t day, int minuteOfDay);

    const worldmap::WorldMapState &State() const { return m_state; }
    /// The scene of the next drawing on a picture as wide as the window's map.
    worldmap::MapScene Scene() const;
    /// The cursor read-out of a point of the map.
    QString ReadoutAt(QPointF point) const;
    /// Prints the map on the default printer after "Print map on default printer" was answered Yes.
    void PrintMap();
    /// How many drawings were made (for tests and the status of the clock rule).
    int Drawings() const { return m_drawings; }

private:
    friend class worldmap::TMapCanvas;
    void buildMenus();
    void buildPanel();
    QAction *optionItem(QMenu *menu, const char *name, const QString &caption, worldmap::MapOption option);
    void applySettings();
    void storeSettings();
    void updateMenus();
    void updatePanel();
    void setNow();
    void redraw();
    void drawn();
    void chooseProjection(worldmap::ProjectionKind kind);
    void chooseColor(bool water);
    std::vector<worldmap::LonLat> propagationTargets() const;
    std::vector<bool> layerVisibility() const;
    void selectTargetArea();

    WindowHost &m_host;
    std::shared_ptr<const worldmap::MapData> m_map;
    std::vector<std::unique_ptr<worldmap::AreaIndex>> m_indexes;
    worldmap::WorldMapState m_state;
    worldmap::MapSettings m_settings;
    std::optional<std::size_t> m_selected;
    std::size_t m_selectedLayer = 0;
    std::vector<QAction *> m_layerItems;
    std::vector<QAction *> m_projectionItems;
    std::vector<QAction *> m_optionItems;
    QAction *m_propagationItem = nullptr;
    worldmap::TMapCanvas *m_canvas = nullptr;
    QWidget *m_panel = nullptr;
    QDateEdit *m_date = nullptr;
    QTimeEdit *m_time = nullptr;
    QComboBox *m_band = nullptr;
    QSpinBox *m_minutes = nullptr;
    QLabel *m_info = nullptr;
    int m_drawings = 0;
    bool m_updatingPanel = false;
};

/// Registers "World Map" (companion 10) and the QSO window's "Worldmap1" item.
void RegisterWorldMapWindows(WindowHost &host);

} // namespace vellum
