#pragma once
// What the window tests share beyond their main: waiting for queued work and
// saving the pictures of the documentation.

#include <QString>

#include <functional>

class QWidget;

namespace vellum::test {

/// Runs the event loop until done() holds, at most `limitMs`. The default limit
/// is generous: a loaded machine running sanitized builds may be slow, and a
/// condition that holds ends the wait at once.
bool WaitFor(const std::function<bool()> &done, int limitMs = 20000);

/// Saves a picture of the widget as `name` (a PNG) in the folder named by
/// VELLUM_SCREENSHOT_DIR; does nothing when that variable is not set.
void SaveScreenshot(QWidget *widget, const QString &name);

} // namespace vellum::test
