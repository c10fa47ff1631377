#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "canvas/pixelpicture.h"
#include "explore/paths.h"
#include "explore/session.h"
#include "layout/texts.h"

namespace kvelmor {

// "Zkoumat" in the page: the explorer's panel beside or below the window (web/explorer.js), which
// hosts the explorer's model, session and drawing (explore/) as the desktop's explorer window
// does. After a run, a click or a tap on the window's detector line, probability axis or a bar
// opens it at that step; "Zkoumat" in the bar opens it at the centre. While it is open it follows
// every run step by step and takes no input until the run ends.
class ExplorerPage {
public:
    static constexpr int kCentreStep = kLastStep / 2;

    // Builds the panel, hidden, and its button in the bar (which the bar has made).
    void create();

    // Every text of the panel and of its bar button in `language`; the files are saved in it.
    void showTexts(Language language);

    // A run of the boxes' setting starts; each step as it has been drawn (its offset j); the run
    // ended. "Konec": nothing takes input any more.
    void runStarting(const std::string& frequencyText, const std::string& distanceText);
    void stepDone(int j);
    void runEnded(const std::string& frequencyText, const std::string& distanceText);
    void programEnded() { ended_ = true; }

    // What the user does (kv_explore...). Ignored during a run and after "Konec".
    void open();
    void close();
    // A click or tap on the window's drawing at (x, y), in twips, `reach` twips of it counting.
    void pickInWindow(double x, double y, double reach);
    void chooseStep(int step);
    void chooseCount(int choice);                     // the place among kPathChoices
    void pickInPattern(double y);                     // CSS pixels from the pattern's top
    void pressSweep(int sweep, double milliseconds);  // 1 the count, 2 the height
    void save(int kind, int scale);                   // 0 the PNG at `scale`, 1 the SVG, 2 the CSV

    // One display frame at `milliseconds`: a sweep's next frame, or the step a followed run has
    // reached. Whether another frame is wanted.
    bool frame(double milliseconds);

    // The pictures' sizes in CSS pixels, and the device pixels to a CSS pixel.
    void resize(int chainWidth, int chainHeight, int patternWidth, int patternHeight, double ratio);

private:
    bool takesInput() const;
    void present(bool announceIt);
    void drawPictures();
    void showState();
    void showState(const std::string& heightText);
    void showSaving();

    ExplorerSession session_;
    std::optional<ExploreSetting> finished_;  // the last run's setting, once one has ended
    std::vector<double> bars_;                // its bars in twips, once a click asked for them
    Language language_ = kDefaultLanguage;
    bool open_ = false;
    bool running_ = false;
    bool ended_ = false;
    bool drawPending_ = false;  // a followed step waits for the next frame to be drawn
    int chainWidth_ = 0, chainHeight_ = 0, patternWidth_ = 0, patternHeight_ = 0;
    double ratio_ = 1;
};

ExplorerPage& explorerPage();

}  // namespace kvelmor
