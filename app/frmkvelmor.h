#pragma once

#include <QWidget>
#include <memory>

#include "run/runhost.h"

class QLabel;
class QLineEdit;
class QScrollBar;

namespace kvelmor {

class ImageSurface;

// The one window, "frmKvelmor": its controls, the settings actions that write the three hidden
// settings boxes, and the run started by "Start", which draws into the window's picture.
// It declares no signals or slots of its own (everything is wired with pointer-to-member and
// lambda connections), so it needs no meta-object; moc could not read its Czech member names.
class FrmKvelmor final : public QWidget, private RunHost {
public:
    explicit FrmKvelmor(QWidget* parent = nullptr);
    ~FrmKvelmor() override;

    // The window's picture, beneath its controls.
    ImageSurface& surface() { return *surface_; }
    bool isRunning() const { return running_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectOptions();
    void load();
    void scrolled(int value);
    void start();

    std::string settingsText(SettingsBox box) const override;
    void placeLabel(SceneLabel label, double left, double top) override;
    bool pace(double count) override;

    QLineEdit* box(SettingsBox box) const;
    QLabel* label(SceneLabel label) const;
    template <typename T>
    T* control(const char* name) const;

    std::unique_ptr<ImageSurface> surface_;
    QLineEdit* nSpomaleni_;
    QLineEdit* nRozteč_;
    QLineEdit* nFi_;
    bool running_ = false;
    bool closing_ = false;
};

}  // namespace kvelmor
