#pragma once

#include <QWidget>
#include <memory>

#include "layout/texts.h"

namespace kvelmor {

class ImageSurface;
class SceneImage;
class WindowRunHost;
class WindowSettings;

// The one window, "frmKvelmor": its controls, the settings actions that write the three hidden
// settings boxes, and the run started by "Start", which draws into the window's picture.
class FrmKvelmor final : public QWidget {
    Q_OBJECT

public:
    // `pictureRatio` is the device-pixel ratio of the window's picture; 0 takes the screen's.
    // Every text of the window (captions, title, accessible texts) is in `language`.
    explicit FrmKvelmor(QWidget* parent = nullptr, qreal pictureRatio = 0,
                        Language language = kDefaultLanguage);
    ~FrmKvelmor() override;

    Language language() const { return language_; }

    // The window's picture, beneath its controls.
    ImageSurface& surface() { return *surface_; }
    bool isRunning() const { return running_; }
    // True from the desktop's (or "Konec"'s) close until the next run starts.
    bool isClosing() const { return closing_; }

signals:
    // What a view beside the window (the explorer) follows of each run: its start, with the texts
    // of the frequency and distance boxes it reads, each detector step (its offset j) once drawn,
    // and its end, `completed` unless the window's close stopped it.
    void runStarting(const QString& frequencyText, const QString& distanceText);
    void stepDrawn(int j);
    void runEnded(bool completed);

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectOptions();
    void start();

    template <typename T>
    T* control(const char* name) const;

    Language language_;
    std::unique_ptr<ImageSurface> surface_;
    std::unique_ptr<WindowSettings> settings_;
    SceneImage* image_ = nullptr;
    std::unique_ptr<WindowRunHost> host_;
    bool running_ = false;
    bool closing_ = false;
};

}  // namespace kvelmor
