#include "tablet/tablet_edition.h"

#include "tablet/display_scale.h"

namespace tarvek {

void TTabletEdition::PrepareFiguresForSave(TDrawingState& s) const { RescaleFigures(s); }

const TEdition& TabletEdition() {
    static const TTabletEdition edition;
    return edition;
}

}  // namespace tarvek
