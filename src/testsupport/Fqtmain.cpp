// The main of the window tests: GoogleTest with a QApplication, for tests that
// drive dialogs offscreen (the offscreen platform unless another is set).

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
