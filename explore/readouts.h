#pragma once

#include <string>

#include "explore/explorer.h"
#include "layout/texts.h"

namespace kvelmor {

// What the explorer tells of its chosen chain, as numbers.
struct Readouts {
    int step;               // 0 to 220
    int offset;             // j, twips above the bench bottom
    double detectorY;       // twips, 7500 - j
    int paths;              // N, or kInfinitePaths
    double pathDifference;  // between the paths from the slit's two edges, in wavelengths 2 pi / f
    double turns;           // how far the sum arrow turns as the arrows are added, in whole turns
    double squaredLength;   // of the sum
    double shareOfHighest;  // the squared length over the run's highest bar's: 0.5 is half
    double againstContinuous;  // (p - p_c) / p_c against the continuous slit; NaN when p_c = 0
};

Readouts readoutsOf(Explorer& explorer);

// How many turns the sum arrow makes while the chain is laid: the angle of the arrow from D to
// each point of the chain in turn (D itself and points on it left out), each change taken the
// short way round, added up, as whole turns without sign. Zero for a straight chain; a chain that
// curls up round D turns once or more.
double sumArrowTurns(const Chain& chain);

// |r(lower edge) - r(upper edge)| f / (2 pi): how many wavelengths longer the path from the
// farther edge of the slit is than that from the nearer one, at the detector offset j.
double edgePathDifference(const Scene& scene, const Wave& wave, double j);

// The readouts as the explorer shows them in `language`, each a value without its name.
struct ReadoutTexts {
    std::string height;
    std::string paths;
    std::string pathDifference;
    std::string turns;
    std::string squaredLength;
    std::string share;
    std::string againstContinuous;
};

ReadoutTexts readoutTexts(const Readouts& readouts, Language language);

// One sentence for a screen reader: the step, the count, the squared length and its share.
std::string readoutsAnnouncement(const Readouts& readouts, Language language);

// Every readout as "name: value", one to a line (a file's description).
std::string readoutLines(const Readouts& readouts, Language language);

// A squared length with four significant digits, as `language` writes numbers.
std::string squaredLengthText(double value, Language language);

}  // namespace kvelmor
