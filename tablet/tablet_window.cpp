#include "tablet/tablet_window.h"

#include <algorithm>

namespace tarvek {

TScreenRect TabletWindowBounds(const TScreenRect& screen, const TScreenRect& available, int statusBarHeight) {
    return {available.Left, available.Top, available.Width,
            std::clamp(screen.Height - 2 * statusBarHeight, 0, available.Height)};
}

}  // namespace tarvek
