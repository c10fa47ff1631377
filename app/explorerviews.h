#pragma once

namespace kvelmor {

// Makes assistive technology see the explorer's two pictures as images (role Graphic), as it
// sees the window's drawing. Safe to call more than once.
void installGraphicAccessibility();

}  // namespace kvelmor
