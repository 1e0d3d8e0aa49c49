#pragma once
// The spot list window "DX spots": the spots of the cluster terminals, ranked
// against the award standing and coloured by class, with the commands that tune
// the radio to a spot, hand it to the QSO window or keep it in a scanner
// channel; and the window of talk messages and announcements.

#include "spotintake.h"
#include "spotlist.h"

#include "station/radio.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>

class QListWidget;
class QMenu;
class QTableView;

namespace vellum {

class TClusterStation;
class Tsndthread;
class UserNotifier;

/// The list as a table: only the rows shown are formatted.
class SpotTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    SpotTableModel(const SpotList &list, const TConfigRecord &config, QObject *parent = nullptr);
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void Reset();

private:
    QString text(const TSpotRecord &spot, int column) const;
    const SpotList &m_list;
    const TConfigRecord &m_config;
};

/// "Talk messages and announcements".
class TFTalkMessages : public QWidget {
    Q_OBJECT
public:
    explicit TFTalkMessages(SpotIntake &intake, QWidget *parent = nullptr);
    void ShowLines();

private:
    SpotIntake &m_intake;
    QListWidget *m_lines;
};

class TPutoutW : public QWidget {
    Q_OBJECT
public:
    explicit TPutoutW(TClusterStation &station, QWidget *parent = nullptr);
    ~TPutoutW() override;

    /// A received line; dropped while the window is suspended.
    void Receive(const std::string &line);
    /// Works through the waiting lines (at idle time, while the keyer is idle).
    void ProcessQueue();
    /// A spot decoded by another program (call, kHz, mode, UTC minutes of today,
    /// remarks, spotter): ranked and added as a received spot is.
    void AddDecodedSpot(const std::string &call, double kHz, int mode, int minutes, const std::string &remarks,
                        const std::string &spotter);
    /// Reads a file of spot lines as if received.
    void FeedFile(const std::string &fileName);
    /// Every spot's class again (the log or its standing changed).
    void Rerank();
    /// The next idle step ranks every spot again.
    void RequestRerank() { m_rankDue = true; }
    /// The list follows a new capacity from the settings.
    void SettingsChanged();
    /// Page mode holds the display while a page is read.
    void HoldDisplay(bool hold);

    const SpotList &List() const { return m_list; }
    SpotIntake &Intake() { return m_intake; }
    QTableView *Table() const { return m_table; }
    std::optional<TSpotRecord> Selected() const;
    void SelectRow(int row);

    bool Holding() const { return m_holding; }
    void SetHolding(bool holding);
    void SetOrder(SpotOrder order);
    void SetAward(AwardIndex award);
    bool FollowsRadio() const { return m_list.Order() == SpotOrder::Frequency; }
    /// The radio's frequency while the list follows it: the nearest spot is selected.
    void RadioFrequency(double kHz);

    // The commands of the popup menu.
    void DeleteSelected();
    void Grab(bool tuneRadio);
    void Listen();
    void Monitor();
    void ReturnToLastFrequency();
    void ClearAll();
    void DeleteOld();
    bool WriteSpots(const std::string &fileName);
    void ViewAnnouncements();
    void CancelAnnouncements();

    /// Writes the spot file when the list changed; false when the write failed.
    bool SaveSpotFile();
    bool Changed() const { return m_changed; }
    QString Caption() const;
    /// Spots announced since the window was made (by beep, CW or sound).
    std::size_t Announced() const { return m_announced; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildMenu();
    /// A key of the popup menu's commands; true when it ran one.
    bool commandKey(QKeyEvent *event);
    void loadSpotFile();
    void storeLayout();
    void listChanged(bool selectLast);
    void selectionMoved();
    void announce(const TSpotRecord &spot);
    void afterAdding(bool added);
    void talk();
    bool radioRunning() const;
    bool tune(const TSpotRecord &spot, bool checkRange);
    void chooseFileAndWrite();
    void updateCaption();

    TClusterStation &m_station;
    // Held from the start: the window may close while the program is being taken down.
    TConfigRecord &m_config;
    UserNotifier &m_notifier;
    SpotList m_list;
    SpotRanker m_ranker;
    SpotIntake m_intake;
    SpotTableModel *m_model = nullptr;
    QTableView *m_table = nullptr;
    QMenu *m_menu = nullptr;
    QPointer<TFTalkMessages> m_talk;
    bool m_holding = false;
    bool m_columnsSized = false;
    bool m_suspended = true;
    bool m_changed = false;
    bool m_rankDue = false;
    std::int32_t m_shownArrival = -1;
    std::optional<RadioState> m_returnTo;
    std::size_t m_announced = 0;
};

/// The spot file of the program: SAVE/VELLUM.PUT.
std::string SpotFileName();

} // namespace vellum
