#include "households/questions.h"

#include "document/drawing_state.h"

namespace tarvek {

TQuestionScope::TQuestionScope(TDrawingState& s) : S(s) { ++S.HouseholdOps.QuestionsOpen; }

TQuestionScope::~TQuestionScope() { --S.HouseholdOps.QuestionsOpen; }

int Ask(TDrawingState& s, const std::string& text, unsigned buttons, TMsgDlgType type) {
    TQuestionScope open(s);
    return s.Ui.MessageDlg(text, type, buttons);
}

}  // namespace tarvek
