#pragma once
// The "Master Calls" window: a companion window of the QSO window that lists
// the calls of the master callsign file matching the call being typed, in as
// many columns as fit. Its popup menu switches substring search ("Sub string")
// and builds the master file from another file ("Convert").

#include "Freference.h"
#include "mastercall.h"

#include <QWidget>

class QAction;
class QListWidget;

namespace vellum {

/// The window. Named controls: FMaster_List (the calls), the actions
/// FMaster_SubString and FMaster_Convert of its popup menu.
class TMasterLookup : public QWidget {
    Q_OBJECT
public:
    /// Opens the window and loads VELLUM.MAS of the program directory (a missing
    /// or foreign file is reported and leaves the window empty).
    explicit TMasterLookup(const ReferenceServices &services, QWidget *parent = nullptr);

    /// The QSO window's call field changed: lists the calls matching it, unless
    /// the text is the one searched last.
    void LookupCall(const QString &callText);
    /// Substring search (the popup item "Sub string"); switching searches again.
    bool SubString() const;
    void SetSubString(bool on);
    /// Loads the master file again (after it was replaced).
    void LoadMasterFile();
    /// "Convert": builds the master file from a file the user chooses.
    void ConvertClick();

    const TMasterCalls &Calls() const { return m_calls; }
    /// The calls listed, in order.
    QStringList ListedCalls() const;

private:
    void search();
    void layOutColumns();

    ReferenceServices m_services;
    TMasterCalls m_calls;
    QListWidget *m_list = nullptr;
    QAction *m_subString = nullptr;
    QString m_text;     ///< the call text last given
    QString m_searched; ///< the text the list was last built for
    bool m_stale = true; ///< the list must be built again (new calls, other search mode)
};

} // namespace vellum
