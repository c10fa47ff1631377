#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "explore/chainpicture.h"

// The thin JavaScript side of the explorer's panel (web/explorer.js, web/explorersaving.js): the
// C++ side (web/explorerpage.cpp) decides what the panel shows, these only put it there. The
// panel's parts are named by their element ids.
namespace kvelmor::js {

// Builds the panel, hidden, between the window's area and the bar, with `choices` count buttons.
void createExplorer(int choices);

// Shows or hides the panel; the window is fitted again into what it leaves.
void showExplorer(bool shown);

// A text of the panel by its element's id: its caption, and what a screen reader says of it
// (empty: nothing more than the caption).
void setExplorerText(const std::string& id, const std::string& caption,
                     const std::string& description);

// The one line above the pictures: how to use the panel, or that it follows a run; empty: none.
void setExplorerHint(const std::string& hint);

// Whether the panel's controls take input: not before a run, nor while one goes on.
void setExplorerEnabled(bool enabled);

// A picture of the panel ("kv-ex-chain", "kv-ex-pattern"): `width` x `height` device pixels of
// RGBA at `rgba`, drawn at `ratio` device pixels to a CSS pixel; shown one to a device pixel.
void showExplorerPicture(const std::string& id, const std::uint8_t* rgba, int width, int height,
                         double ratio);
// The scale mark's number over the chain's picture, in CSS pixels; an empty text hides it.
void showExplorerScale(const PictureText& label);

// Where the controls stand: the step (0 to 220) and what the height slider says of it, the
// count's place among the choices, and which sweep goes on (0 none, 1 the count, 2 the height).
void setExplorerState(int step, const std::string& heightText, int choice, int sweep);

// The readouts by their elements' ids, each a value without its name.
void setExplorerReadout(const std::string& id, const std::string& value);
// The chain picture's accessible description.
void describeExplorerChain(const std::string& description);

// Said politely to screen readers once the panel has stood still for a moment; a newer text in
// the meantime takes its place.
void announceExplorerSoon(const std::string& text);
// Asks for one call of kv_exploreFrame at the display's next frame.
void requestExplorerFrame();

// The chain's PNG: `rgba` (`width` x `height`, `scale` device pixels to a pixel) with `texts`
// drawn over it by the browser, saved as `name`.
void saveChainPicture(const std::string& name, const std::vector<std::uint8_t>& rgba, int width,
                      int height, int scale, const std::vector<PictureText>& texts);

}  // namespace kvelmor::js
