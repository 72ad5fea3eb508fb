// Where the tablet's window goes: the maximised place on the screen it opens on.
#pragma once

#include "document/view_settings.h"

namespace tarvek {

// The available area's left, top and width; as height the screen's height less twice the
// status bar's, kept within the available area.
TScreenRect TabletWindowBounds(const TScreenRect& screen, const TScreenRect& available, int statusBarHeight);

}  // namespace tarvek
