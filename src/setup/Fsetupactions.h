#pragma once
// What the setup dialog starts in the rest of the program: the "Preferences"
// item, the prompt for the own call while none is set, "Show Hints", and the
// steps that put saved settings in force.

class QString;

namespace vellum {

struct TConfigRecord;
class WindowHost;

/// Registers "Preferences" in the main window's "&File" menu (after "I&nfo"),
/// the prompt that opens the "Personal" page once a run when a log's QSO window
/// opens and no own call is set, and applies "Show Hints" of the configuration.
void RegisterSetupWindows(WindowHost &host);

/// Opens the setup dialog on a page, modal; returns whether it was saved.
bool RunSetupDialog(WindowHost &host, const QString &page);

/// Puts edited settings in force in host's configuration: stops what must not run
/// on settings that change underneath it (radio, terminals, rotator), copies the
/// settings, starts those again, rescales the windows when the screen settings
/// changed, marks the award tables invalid when award settings changed, checks
/// the sound and address data choices, applies the own call (also after an INI
/// merge), writes the configuration file (a failure is reported; the settings
/// stay in force) and posts SettingsChanged.
void PutSettingsInForce(WindowHost &host, const TConfigRecord &edited, bool iniMerged);

/// Shows tool tips in all windows, or none.
void ApplyShowHints(bool show);

} // namespace vellum
