#pragma once

#include <string>

#include "explore/explorer.h"
#include "layout/texts.h"

namespace kvelmor {

// The worksheet files of one chain, written by the same plain C++ in every front end, so that
// kvelmor-export, the window's explorer and the page save the same bytes.

// The picture's size in pixels: a title over a square of chain.
inline constexpr int kChainPictureWidth = 640;
inline constexpr int kChainPictureHeight = 680;
inline constexpr double kChainTitleBand = 40;

// The files' name without extension: "kvelmor-0.6-350-step-110-paths-2003" ("paths-inf" for the
// continuous slit).
std::string chainFileBase(const ExploreSetting& setting, int step, int paths);

// The chain as CSV: "arrow,x_twips,y_twips", then one row per point, from arrow 0 (the detector
// point) to the tip, numbers as the settings boxes write them: the last row less the first is the
// sum arrow. The continuous slit's points are numbered the same way.
std::string chainCsv(const Chain& chain);

// The explorer's chosen chain as an SVG document: the picture the explorer draws, the setting,
// step and count as its title, the scale mark's number, and every readout in its description,
// in `language`; the frequency named as the window names it in `windowLanguage`.
std::string chainSvg(Explorer& explorer, Language language, Language windowLanguage);

// The scale mark's number as `language` says it: "50 twipů".
std::string scaleMarkText(int twips, Language language);

}  // namespace kvelmor
