#include "document/edition.h"

#include "document/figure_store.h"

namespace tarvek {

void TEdition::PrepareFiguresForSave(TDrawingState& s) const { CompactFigures(s); }

const TEdition& ProEdition() {
    static const TEdition edition;
    return edition;
}

}  // namespace tarvek
