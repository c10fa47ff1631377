#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The thin JavaScript side of the page (web/page.js): the C++ side decides everything, these only
// touch the document. Names are the control names of the layout table.
namespace kvelmor::js {

void createWindow(int width, int height, const std::string& backColour);
// The page's language (its lang attribute, by code: "cs") and the document's title.
void setPageTexts(const std::string& languageCode, const std::string& title);
void addControl(const std::string& name, const std::string& kind, const std::string& container,
                const std::string& caption, int left, int top, int width, int height,
                const std::string& fontFamily, int fontSize, bool bold, bool shown, int tabIndex,
                const std::string& accessibleName, const std::string& accessibleDescription);
// A control's caption and what a screen reader says of it, in place of what it had.
void setControlTexts(const std::string& name, const std::string& caption,
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
// The picture's accessible name and description (none: empty).
void setPictureTexts(const std::string& name, const std::string& description);

void setRunning(bool running);
// In place of the window after "Konec": `text`, and a button `restart` that loads the page anew.
void showEnded(const std::string& text, const std::string& restart);

// The scroll bar shows `value`, as if the user had moved it there; nothing is reported back.
void setScrollValue(const std::string& name, int value);

// The bar below the window (web/bar.js): its buttons by id, enabled or not (a disabled one still
// takes the focus and says why), the short texts it shows of itself, and the note under the window.
// Its texts are set apart from its parts, at its making and whenever the language changes.
void createBar();
void setBarTexts(const std::string& name, const std::string& linkCopied,
                 const std::string& linkNotCopied, const std::string& linkFieldName,
                 const std::string& closeNote);
void addBarButton(const std::string& id);
// One of the page's own texts by its key (bar.js, chooser.js: "running", "chooserClose"...), in
// place of the one it had.
void setPageText(const std::string& key, const std::string& text);
// Said politely to screen readers (a live region of the page), without taking the focus.
void announce(const std::string& text);
// `captionLanguage`: the code of the caption's language where it is not the page's, else empty.
void setBarButtonText(const std::string& id, const std::string& caption,
                      const std::string& captionLanguage);
void setBarButton(const std::string& id, bool enabled, const std::string& description);
void addBarChoice(const std::string& id, const std::vector<std::string>& captions,
                  int selected);  // captions without "|"
void setBarChoiceName(const std::string& id, const std::string& name);
// The note's text; `shown` shows it, else it stays shown or closed as it was.
void showNote(const std::string& text, bool shown);

// The query of the page's address as the browser has it, and the query it is to show now
// (web/address.js): the address follows the user's choices, and "Odkaz" copies it.
std::string addressQuery();
void setAddress(const std::string& query);

// Saving from the page (web/saving.js): a file of `bytes`, or the picture's RGBA pixels with the
// scene labels `labels` (names joined by commas) drawn over them by the browser, as a PNG.
void saveFile(const std::string& name, const std::string& type, const std::string& bytes);
void savePicture(const std::string& name, const std::vector<std::uint8_t>& rgba, int width,
                 int height, int ratio, const std::string& labels, const std::string& background);

// Device pixels to a logical pixel of the window as the page now shows it: the window's scale
// times the screen's device-pixel ratio (times the pinch zoom where the browser reports one).
double pictureRatio();

// A name the page does not know (a misspelt control name): stops with an error that names it.
[[noreturn]] void failUnknownName(const std::string& what, const std::string& name);

double nowMilliseconds();
void sleepMilliseconds(int ms);  // yields to the browser (Asyncify)
// Yields to the browser until it has shown its next frame (or for a moment, where it shows none:
// a hidden tab).
void awaitNextFrame();

}  // namespace kvelmor::js
