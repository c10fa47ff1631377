#pragma once

#include "canvas/recordingsurface.h"

namespace kvelmor {

// Draws everything `drawing` recorded onto `target`, each primitive in the drawing state it was
// made in and with the flushes between them, as if the run had drawn on `target` itself.
void replay(const RecordingSurface& drawing, Surface& target);

}  // namespace kvelmor
