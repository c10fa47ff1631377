#pragma once

#include <optional>
#include <string>

#include "canvas/recordingsurface.h"

namespace kvelmor {

// What `drawing` recorded, as SVG elements in pixels (twips divided by 15), one to a line: a
// line of the recording continued by the next one in the same colour and width becomes one
// polyline with it. A colour not given is black, the desktop's button text in the classic
// scheme. Only +, -, * and / on the recorded numbers, written by svgNumber: the same drawing gives
// the same text wherever it is made.
std::string svgElements(const RecordingSurface& drawing);

// A colour of the drawing as SVG writes it, "#rrggbb"; a system colour as the classic desktop
// shows it (black, or white for the title-bar text).
std::string svgColour(std::optional<Colour> colour);

}  // namespace kvelmor
