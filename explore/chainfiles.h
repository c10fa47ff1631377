#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "explore/chainpicture.h"
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

// The explorer's chosen chain as its files picture it, kChainPictureWidth x kChainPictureHeight
// pixels on white: the setting, step and count as a title in the band at the top, the chain below
// it as the explorer draws it, and its scale mark. Draws onto `surface` (which it leaves in
// pixels) and returns the texts, in `language`, for the caller to draw over it: the title and
// the scale mark's number.
std::vector<PictureText> drawChainFile(Surface& surface, Explorer& explorer, Language language);

// The same picture as a PNG holds it, `scale` device pixels to a pixel: opaque, white where
// nothing is drawn, row by row as bytes R, G, B, A, the texts not yet drawn. Each front end draws
// them over it in its own fonts, so that its PNG differs from another's only inside their boxes.
struct ChainPixels {
    int width;
    int height;
    std::vector<std::uint8_t> rgba;
    std::vector<PictureText> texts;
};
ChainPixels chainPixels(Explorer& explorer, Language language, int scale);

// The same picture as an SVG document, every word in `language`: the title as its title too, and
// every readout in its description.
std::string chainSvg(Explorer& explorer, Language language);

// The scale mark's number as `language` says it: "50 twipů".
std::string scaleMarkText(int twips, Language language);

}  // namespace kvelmor
