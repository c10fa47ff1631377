#pragma once

#include <cstdint>
#include <string>

// The thin JavaScript side of the page (web/page.js): the C++ side decides everything, these only
// touch the document. Names are the control names of the layout table.
namespace kvelmor::js {

void createWindow(int width, int height, const std::string& backColour, const std::string& title,
                  const std::string& pictureName, const std::string& pictureDescription);
void addControl(const std::string& name, const std::string& kind, const std::string& container,
                const std::string& caption, int left, int top, int width, int height,
                const std::string& fontFamily, int fontSize, bool bold, bool shown, int tabIndex,
                const std::string& accessibleName, const std::string& accessibleDescription);
void setScrollRange(const std::string& name, int minimum, int maximum, int smallStep,
                    int largeStep);
void finishWindow();

std::string boxText(const std::string& name);
void setBoxText(const std::string& name, const std::string& text);
// Checks or clears an option; only the selected option of a group is a tab stop.
void setOptionSelected(const std::string& name, bool selected, int tabIndex);
void placeLabel(const std::string& name, int left, int top);
void focusControl(const std::string& name);

// The picture's canvas at `width` x `height` device pixels, drawn at `ratio` device pixels to a
// logical pixel; showPixels copies a rectangle of an RGBA buffer onto it.
void createPicture(int width, int height, double ratio);
void showPixels(const std::uint8_t* rgba, int width, int height, int x, int y, int w, int h);
void setPictureDescription(const std::string& text);

void setRunning(bool running);
// In place of the window after "Konec": `text`, and a button `restart` that loads the page anew.
void showEnded(const std::string& text, const std::string& restart);

// Device pixels to a logical pixel of the window as the page now shows it: the window's scale
// times the screen's device-pixel ratio (times the pinch zoom where the browser reports one).
double pictureRatio();

// A name the page does not know (a misspelt control name): stops with an error that names it.
[[noreturn]] void failUnknownName(const std::string& what, const std::string& name);

double nowMilliseconds();
void sleepMilliseconds(int ms);  // yields to the browser (Asyncify)

}  // namespace kvelmor::js
