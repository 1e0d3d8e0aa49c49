#pragma once
// The memory-channel scanner ("Scanner") and the panorama scan ("Panorama"),
// both driving the running radio.

#include <QDialog>
#include <QImage>

class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;
class QTimer;

namespace vellum {

class TStation;

class TScanner : public QDialog {
    Q_OBJECT
public:
    enum class State { Idle, Scanning, ReadFreq };
    explicit TScanner(TStation &station, QWidget *parent = nullptr);
    ~TScanner() override;

    State CurrentState() const { return m_state; }
    /// "&Scan": tunes the next channel in use and waits ScanDelay seconds.
    void Scan();
    /// The scanner's trigger: the next channel, or a second more while the radio is busy.
    void TriggerFired();
    /// One read of "New &Freq" into the selected channel.
    void ReadIntoSelected();
    void ClearSelected();
    void Stop();
    /// Tunes a channel (a double click).
    void Tune(int channel);

private:
    void setState(State state);
    void showChannels();

    TStation &m_station;
    QTableWidget *m_table;
    QLabel *m_status;
    QSpinBox *m_delay;
    QTimer *m_trigger;
    QTimer *m_reader;
    State m_state = State::Idle;
    int m_current = -1;
};

class TPanorama : public QDialog {
    Q_OBJECT
public:
    explicit TPanorama(TStation &station, QWidget *parent = nullptr);

    static constexpr int ColumnWidth = 6;
    int Columns() const { return m_image.width() / ColumnWidth; }
    double CentreKHz() const;
    /// The frequency under a pixel column of the graph.
    double FrequencyAt(int x) const;
    /// One column: tune, read the S meter, draw.
    void ScanColumn(int column);
    void StartScan();
    void StopScan();
    const QImage &Graph() const { return m_image; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void drawScale();
    void drawColumn(int column, int level);

    TStation &m_station;
    QLineEdit *m_centre;
    QLabel *m_graph;
    QLabel *m_pointer;
    QTimer *m_scanTimer;
    QTimer *m_centreTimer;
    QImage m_image;
    int m_next = 0;
};

} // namespace vellum
