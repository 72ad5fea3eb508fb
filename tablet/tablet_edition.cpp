#include "tablet/tablet_edition.h"

#include "tablet/display_scale.h"
#include "view/zoom.h"

namespace tarvek {

void TTabletEdition::PrepareFiguresForSave(TDrawingState& s) const { RescaleFigures(s); }

void TTabletEdition::ZoomAfterRequest(TDrawingState& s) const { ZoomByButton(s, true); }

const TEdition& TabletEdition() {
    static const TTabletEdition edition;
    return edition;
}

}  // namespace tarvek
