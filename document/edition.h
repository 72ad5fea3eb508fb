// Which of the two programs is running, as the few policies in which they differ. The
// program entry picks one before anything loads; operations ask it, so that none of them
// branches on the program itself.
#pragma once

namespace tarvek {

struct TDrawingState;

enum class TEditionKind { Pro, Tablet };

// The full editor's policies; the tablet edition overrides them (tablet/tablet_edition.h).
class TEdition {
public:
    virtual ~TEdition() = default;
    virtual TEditionKind Kind() const { return TEditionKind::Pro; }

    // Every step the user can take back is recorded. Without history PushHistory hands
    // back a scratch step that nothing reads.
    virtual bool RecordsHistory() const { return true; }
    // View lines 1-9 (window, paint box, scroll, zoom) are written back exactly as they
    // were read at start, whatever the window shows.
    virtual bool KeepsViewLines() const { return false; }
    // Run by the drawing-file writer before its first figure line: compacts the store.
    virtual void PrepareFiguresForSave(TDrawingState& s) const;
    // The first show of a requested plot moves the zoom step along with zoom 2.
    virtual bool FirstShowSetsZoomStep() const { return true; }
    // A ledger request for a household brings the household page to the front.
    virtual bool HouseholdRequestOpensPage() const { return true; }
    // How an answered ledger request leaves the view: as it is here, one step of "拡大"
    // on in the tablet. The edition holds the zoom, so the household logic needs no view.
    virtual void ZoomAfterRequest(TDrawingState&) const {}
    // A selection the filter leaves empty is explained with a beep and the help line.
    virtual bool ExplainsEmptySelection() const { return true; }
    // A drag that leaves the map takes its tool preview off (the tablet has no tools).
    virtual bool ErasesPreviewLeavingMap() const { return true; }
};

const TEdition& ProEdition();

}  // namespace tarvek
