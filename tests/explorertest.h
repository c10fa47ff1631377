#pragma once

// What the explorer's window tests share: the main window with its explorer link, as kvelmor
// makes them, and where on the drawing a step's detector point and bar stand.
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <memory>

#include "app/explorerlink.h"
#include "app/explorerwindow.h"
#include "windowtest.h"

// The window's client area in pixels for a height in twips on the drawing.
inline int pixels(double twips)
{
    return int(twips / 15);
}

// The height, in twips, of the detector point at step 0 (the bottom) to 220 (the top).
inline double stepHeight(int step)
{
    return 7500 - (500 + 25 * step);
}

struct ExplorerFixture {
    std::unique_ptr<kvelmor::FrmKvelmor> window;
    kvelmor::ExplorerLink* link = nullptr;

    explicit ExplorerFixture(kvelmor::Language language = kvelmor::Language::Czech)
        : window(std::make_unique<kvelmor::FrmKvelmor>(nullptr, 0, language)),
          link(new kvelmor::ExplorerLink(*window))
    {
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) qFatal("the window was never shown");
    }

    void run() { clickOn(find<QPushButton>(window.get(), "cmdStart")); }

    // A left click on the drawing at (x, y) in twips.
    void clickDrawing(double x, double y)
    {
        QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(pixels(x), pixels(y)));
    }

    // The scroll bar's value v makes each step wait (30 v + 1) x 50 ns.
    void slowDown(int v) { find<QScrollBar>(window.get(), "HScroll1")->setValue(v); }

    kvelmor::ExplorerWindow* explorer() const { return link->explorer(); }

    template <typename T = QWidget>
    T* inExplorer(const char* name) const
    {
        return find<T>(explorer(), name);
    }

    QString readout(const char* name) const { return inExplorer<QLabel>(name)->text(); }
};
