#pragma once
// The "About VELLUM" window, also shown as the splash window at start.

#include <QDialog>

class QPushButton;

namespace vellum {

class TSplashScreen : public QDialog {
    Q_OBJECT
public:
    /// withOkButton is false for the splash window at start.
    explicit TSplashScreen(bool withOkButton, QWidget *parent = nullptr);
};

} // namespace vellum
