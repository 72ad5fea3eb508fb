// What the drawing tools keep between mouse events.
#pragma once

namespace tarvek {

struct TToolState {};

}  // namespace tarvek
