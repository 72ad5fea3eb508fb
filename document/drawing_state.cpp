#include "document/drawing_state.h"

namespace tarvek {

namespace {
TEditorView NoForm;
}

TDrawingState::TDrawingState(TUserServices& ui, TEditorView* form) : Ui(ui), Form(form ? form : &NoForm) {
    // Allocated once for the whole run; records are never allocated singly.
    Figures.resize(MaxFigures + 1);
    History.resize(static_cast<std::size_t>(HistoryCapacity) + 1);
    History[0].Label = HistoryStopLabel;
    History[1].Label = HistoryStopLabel;
}

void TDrawingState::SetHelpLine(const std::string& text) {
    Label3 = text;
    Form->HelpLineChanged(Label3);
}

std::string DrawingFileStem(const TDrawingState& s, const std::string& drawingName) {
    return s.ExeFolder + s.TempleName + s.PlotKindWord + drawingName;
}

}  // namespace tarvek
