#include "Fwindowtest.h"

#include <QDir>
#include <QPixmap>
#include <QTest>
#include <QWidget>

namespace vellum::test {

bool WaitFor(const std::function<bool()> &done, int limitMs)
{
    return QTest::qWaitFor(done, limitMs);
}

void SaveScreenshot(QWidget *widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("VELLUM_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        widget->grab().save(QDir(folder).filePath(name));
}

} // namespace vellum::test
