#pragma once
// The world map window without its widgets: the settings kept in the
// configuration, the options and their rules, the clock's redraw rule, the
// propagation window over the spot list, the cursor read-out, and the scene
// of one drawing.

#include "mapscene.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vellum {
struct TConfigRecord;
}

namespace vellum::worldmap {

enum class MapOption { ShowSpotCountry = 0, ColorCountries, DayAndNight, UpdateDayAndNight, GridInFront };
inline constexpr int MapOptionCount = 5;
inline constexpr std::uint8_t ProjectionNotChosen = 255;

/// What the configuration keeps of the map.
struct MapSettings {
    std::optional<ProjectionKind> projection; ///< nothing: never chosen
    std::optional<MapView> view;
    MapColor water = DefaultWater, land = DefaultLand;
    std::array<bool, 16> layers{};
    std::array<bool, MapOptionCount> options{};

    static MapSettings FromConfig(const TConfigRecord &config);
    void Store(TConfigRecord &config) const;
};

/// A spot as the propagation overlay sees it.
struct SpotMark {
    std::int16_t country = 0; ///< 0: unknown
    int band = 0;
    std::uint16_t day = 0;    ///< day number
    int minute = 0;           ///< minutes after 00:00 UTC
};

/// The countries (without repeats, in order of first spot) of the spots that lie in
/// the window of `minutes` minutes ending at the map's day and minute, on the band
/// (0: any band). The window reaches into the previous day across midnight.
std::vector<std::int16_t> PropagationCountries(std::span<const SpotMark> spots, int band, std::uint16_t mapDay,
                                               int mapMinute, int minutes);

/// The day and minute of the last drawing, and the clock's question.
struct DrawStamp {
    std::uint16_t day = 0;
    int minute = -1;
    /// Due when the minute of the day differs from the last drawing's, or when the
    /// day differs while "Update Day and Night" runs (checked and enabled) and the window is ready.
    bool RedrawDue(std::uint16_t today, int minuteOfDay, bool updateDayAndNight, bool ready) const;
};

/// "52°31'N 13°24'E" (degrees and minutes with their hemisphere letters).
std::string PositionText(LonLat position);
/// The cursor read-out: the title of the area under the cursor and a blank (when
/// there is one), the position, ", Dist = 1234 Km, 45 degrees" from home.
std::string ReadoutText(const std::string &title, LonLat cursor, LonLat home, bool miles);

/// The state of the map window between drawings.
class WorldMapState {
public:
    LonLat home;
    bool miles = false;
    ProjectionKind projection = ProjectionKind::Spherical;
    MapView view;            ///< for the equidistant projection the centre is home
    MapView initialView;     ///< what "World" restores
    std::array<bool, MapOptionCount> options{};
    bool updateEnabled = false;  ///< "Update Day and Night" may be checked (with "Day and Night")
    bool propagation = false;
    int propagationBand = 0;     ///< 0: "All"
    int propagationMinutes = 20;
    std::uint16_t mapDay = 0;
    int mapMinute = 0;
    std::string targetKey;       ///< up to 6 characters; empty: no great circle
    LonLat target;
    std::optional<LonLat> measuring; ///< the cursor while measuring
    bool greatCircleVisible = true;
    bool ready = false;
    DrawStamp drawn;

    bool Option(MapOption option) const { return options[static_cast<std::size_t>(option)]; }
    /// Checks or unchecks an option with its rules: unchecking "Day and Night" unchecks
    /// and disables "Update Day and Night"; checking "Update Day and Night" ends
    /// "Propagation" (the caller sets the date and time to now).
    void SetOption(MapOption option, bool on);
    /// Checking "Propagation" sets the band to "All" and 20 minutes and ends "Update Day and Night".
    void SetPropagation(bool on);
    /// The date, time, band and minutes panel: shown for "Propagation" or "Day and
    /// Night", except while "Day and Night" runs with "Update Day and Night".
    bool PanelVisible() const;
    bool PropagationLayerVisible() const { return PanelVisible() && propagation; }

    /// The view drawn: the equidistant projection is centred on home.
    MapView DrawnView() const;
    /// Chooses a projection; the equidistant one is centred on home.
    void SetProjection(ProjectionKind kind);
    /// Zooms about the window's centre: the point there stays there (the pan grows with the zoom).
    void ZoomBy(double factor);
    /// A stored view; the equidistant projection keeps its centre on home.
    void RestoreSavedView(const MapView &saved);
    /// "World": the initial view (the equidistant projection centred on home).
    void RestoreWorld();
    /// Ctrl+Shift+click: the map's home moves (the equidistant projection follows).
    void MoveHome(LonLat position);
    /// Moves the date by days and the time by minutes, the time carrying into the date.
    void MoveDateTime(int days, int minutes);

    /// The scene of a drawing: the map and layers, the night for the map's date and
    /// time, the great circle to the target, the propagation paths and the measuring line.
    MapScene Scene(const MapData *map, const std::vector<bool> &layerVisible, double width,
                   const std::vector<LonLat> &propagationTargets) const;
};

} // namespace vellum::worldmap
