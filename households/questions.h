// Questions put to the user by operations that change plots. While one is open the ledger
// request poll waits, so that the selection cannot change under the user's answer.
#pragma once

#include <string>

#include "platform/ui_services.h"

namespace tarvek {

struct TDrawingState;

// Counts an open question for as long as it lives.
class TQuestionScope {
public:
    explicit TQuestionScope(TDrawingState& s);
    ~TQuestionScope();
    TQuestionScope(const TQuestionScope&) = delete;
    TQuestionScope& operator=(const TQuestionScope&) = delete;

private:
    TDrawingState& S;
};

// A message box with the poll held back; the answer (mrYes, mrNo, ...).
int Ask(TDrawingState& s, const std::string& text, unsigned buttons,
        TMsgDlgType type = TMsgDlgType::mtInformation);

}  // namespace tarvek
