#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

// The real kvelmor program in a real X server, driven only through the X server as a person
// would: found by its caption, clicked and typed at with xdotool, looked at through screenshots
// of the screen, and closed the way a window manager closes windows.
class KvelmorProcess {
public:
    // Starts the program with `environment` added to the test's own and waits for its window.
    explicit KvelmorProcess(const QStringList& environment = {});
    ~KvelmorProcess();

    bool hasWindow() const { return !window_.isEmpty(); }
    QRect geometry() const;  // the client area on the screen, in device pixels
    double scale() const { return scale_; }

    // Clicks at a point of the client area given in logical pixels.
    void click(int x, int y);
    void drag(QPoint from, QPoint to);
    // Types the keys, named as xdotool names them and separated by spaces ("Tab shift+Tab").
    void key(const char* keys);
    void unmapAndMap();

    // The client area as the screen shows it, after the picture has stopped changing.
    QImage settledScreenshot();
    QImage screenshot() const;

    // Sends WM_DELETE_WINDOW, as the window manager does for its close button.
    void closeFromDesktop();
    bool waitForExit(int milliseconds);
    int exitCode() const { return process_.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return process_.exitStatus(); }
    QString errorOutput();

private:
    QProcess process_;
    QString window_;
    double scale_ = 1;
};

// Runs xdotool with `arguments` and returns what it printed.
QString xdotool(const QStringList& arguments);
