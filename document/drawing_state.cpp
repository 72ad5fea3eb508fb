#include "document/drawing_state.h"

#include "platform/system.h"

namespace tarvek {

namespace {
TEditorView NoForm;
}

TDrawingState::TDrawingState(TUserServices& ui, TEditorView* form)
    : TDrawingState(ui, form, std::vector<TDateRec>{}) {}

TDrawingState::TDrawingState(TUserServices& ui, TEditorView* form, std::vector<TDateRec>&& blankRecords)
    : Ui(ui), Form(form ? form : &NoForm), Figures(std::move(blankRecords)) {
    // Allocated once for the whole run; records are never allocated singly. Some 17 MB,
    // all of it written as the records are made.
    Figures.reserve(MaxFigures + 1);
    PreferHugePages(Figures.data(), Figures.capacity() * sizeof(TDateRec));
    Figures.resize(MaxFigures + 1);
    History.resize(static_cast<std::size_t>(HistoryCapacity) + 1);
    History[0].Label = HistoryStopLabel;
    History[1].Label = HistoryStopLabel;
    // Until a drawing brings its own, the view is a new drawing's: one set of values.
    ApplyFormData(*this, View);
}

void TDrawingState::SetHelpLine(const std::string& text) {
    Label3 = text;
    Form->HelpLineChanged(Label3);
}

std::string DrawingFileStem(const TDrawingState& s, const std::string& drawingName) {
    return s.ExeFolder + s.TempleName + s.PlotKindWord + drawingName;
}

}  // namespace tarvek
