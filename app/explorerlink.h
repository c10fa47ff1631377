#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <memory>
#include <optional>
#include <vector>

namespace kvelmor {

class ExplorerWindow;
class FrmKvelmor;
struct ExploreSetting;

// Where the explorer's window of `size` goes beside the main window's frame `main` on a screen
// whose free room is `room`: to the right of it where that fits, else to its left, else against
// the room's right edge; its top level with the main window's.
QPoint besideWindow(const QRect& main, QSize size, const QRect& room);

// Joins the main window to its explorer without changing the window: after a run, a click on the
// drawing's detector line, probability axis or a bar opens the explorer at that step; while the
// explorer is open it follows every run step by step. The explorer is made when first needed
// and placed beside the window.
class ExplorerLink final : public QObject {
    Q_OBJECT

public:
    explicit ExplorerLink(FrmKvelmor& window);
    ~ExplorerLink() override;

    // Opens the explorer beside the window (before any run it says in one line how to use it).
    void open();

    // The explorer's window; nothing until it is first opened.
    ExplorerWindow* explorer() const { return explorer_.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runStarting(const QString& frequencyText, const QString& distanceText);
    void stepDrawn(int j);
    void runEnded(bool completed);
    void openAt(int step);
    void placeBesideWindow();
    bool following() const;

    FrmKvelmor& window_;
    std::unique_ptr<ExplorerWindow> explorer_;
    std::unique_ptr<ExploreSetting> running_;   // the setting of the run going on
    std::unique_ptr<ExploreSetting> finished_;  // that of the last run that ended whole
    std::vector<double> bars_;                  // its bars, in twips, when asked for once
};

}  // namespace kvelmor
