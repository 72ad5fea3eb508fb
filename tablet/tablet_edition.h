// The tablet edition's policies: no edit history, the view lines carried through, the
// display scaling taken out before writing, and its own answer to the ledger's requests.
#pragma once

#include "document/edition.h"

namespace tarvek {

class TTabletEdition : public TEdition {
public:
    TEditionKind Kind() const override { return TEditionKind::Tablet; }
    bool RecordsHistory() const override { return false; }
    bool KeepsViewLines() const override { return true; }
    void PrepareFiguresForSave(TDrawingState& s) const override;
    // The zoom-in step that follows a request must start from the step in force.
    bool FirstShowSetsZoomStep() const override { return false; }
    bool HouseholdRequestOpensPage() const override { return false; }
    void ZoomAfterRequest(TDrawingState& s) const override;
    bool ExplainsEmptySelection() const override { return false; }
    bool ErasesPreviewLeavingMap() const override { return false; }
};

const TEdition& TabletEdition();

}  // namespace tarvek
