#pragma once
// The Qt side of the services the core calls: message boxes, the progress
// window, "process pending events" and the indicator of long sorts.

#include "logstore/services.h"

#include <QString>

class QLabel;
class QWidget;

namespace vellum {

class TProgressbar;

/// Message boxes of the four kinds; "\r" in the core's texts starts a new line.
class QtNotifier : public UserNotifier {
public:
    explicit QtNotifier(QWidget *parent = nullptr) : m_parent(parent) {}
    Answer show(MessageKind kind, std::string_view text, Buttons buttons) override;
    Answer showTitled(MessageKind kind, std::string_view caption, std::string_view text, Buttons buttons) override;
    void setParent(QWidget *parent) { m_parent = parent; }

private:
    QWidget *m_parent;
};

/// The progress window, and pending events processed without user input (so a
/// user cannot close or reopen the log while a long loop runs).
class QtProgress : public ProgressService {
public:
    explicit QtProgress(TProgressbar *bar) : m_bar(bar) {}
    void begin(std::string_view caption, std::int64_t total) override;
    void advance(std::int64_t done) override;
    void end() override;
    void processPendingEvents() override;

private:
    TProgressbar *m_bar;
};

/// While a large list is sorted: "Sorting" in the status panel and the busy
/// cursor; afterwards the panel's text and the cursor come back. Hooked into the
/// lists' sorts while it exists.
class QtSortIndicator {
public:
    explicit QtSortIndicator(QLabel *panel);
    ~QtSortIndicator();
    QtSortIndicator(const QtSortIndicator &) = delete;
    QtSortIndicator &operator=(const QtSortIndicator &) = delete;

    void Begin();
    void End();

private:
    QLabel *m_panel;
    QString m_savedText;
    int m_depth = 0;
};

} // namespace vellum
