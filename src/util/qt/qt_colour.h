// A colour 0x00BBGGRR as Qt takes it.
#pragma once

#include <QColor>

#include "engine/ports.h"

namespace lumera {

inline QColor ToQColor(Colour colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

}  // namespace lumera
