#pragma once
// The progress window: a small window centred on the screen with a percent bar.

#include <QDialog>

#include <cstdint>

class QLabel;
class QProgressBar;

namespace vellum {

class TProgressbar : public QDialog {
    Q_OBJECT
public:
    explicit TProgressbar(QWidget *parent = nullptr);

    /// Shows the window with a caption; a total below 1 counts as 1.
    void SetUp(const QString &caption, std::int64_t total);
    /// One more step; the bar moves only every 128th (1024th above 9999 steps) step.
    void ShowProgress();
    /// One more step, the bar showing value of the total.
    void NewProgress(std::int64_t value);
    void Finished();

    int Percent() const { return m_percent; }

private:
    void setPercent(std::int64_t value);
    void centreOnScreen();
    QLabel *m_caption;
    QProgressBar *m_bar;
    std::int64_t m_total = 1;
    std::int64_t m_count = 0;
    std::int64_t m_mask = 127;
    int m_percent = 0;
};

} // namespace vellum
