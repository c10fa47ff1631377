#pragma once

#include <QString>

#include "layout/texts.h"

class QWidget;

namespace kvelmor {

class Explorer;

// Asks where to save the explorer's chosen chain, offering the name kvelmor-export gives it, and
// saves it there: its picture (SVG, or PNG when the name ends in .png) or its numbers (CSV), the
// same bytes as the export writes with --lang in `language`. Returns what to tell the user (the
// name saved under, or why it could not be), or nothing when the user cancelled.
QString saveChain(QWidget* parent, Explorer& explorer, bool picture, Language language);

}  // namespace kvelmor
