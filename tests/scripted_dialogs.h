// Answers the form's dialogs from a script instead of opening them, and records which ran.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/vcl_dialogs.h"

namespace tarvek::testing {

class TScriptedDialogs : public TDialogRunner {
public:
    TScriptedDialogs() { SetDialogRunner(this); }
    ~TScriptedDialogs() override { SetDialogRunner(nullptr); }
    TScriptedDialogs(const TScriptedDialogs&) = delete;
    TScriptedDialogs& operator=(const TScriptedDialogs&) = delete;

    bool Run(TComponentDialog& dialog) override {
        Ran.push_back(dialog.Name);
        if (OnRun) return OnRun(dialog);
        if (auto* c = dynamic_cast<TColorDialog*>(&dialog)) c->Color = Color;
        if (auto* f = dynamic_cast<TFileDialog*>(&dialog)) {
            if (!FileNames.empty()) {
                f->FileName = FileNames.front();
                FileNames.pop_front();
            } else {
                f->FileName = FileName;
            }
        }
        return Answer;
    }

    // What a dialog answers when OnRun is empty: OK or Cancel, the colour chosen, the file
    // named (the queued names first, then FileName).
    bool Answer = true;
    TColor Color = clRed;
    std::string FileName = "/紙/背景.png";
    std::deque<std::string> FileNames;
    // Replaces the answers above for dialogs that need more (the return value is OK).
    std::function<bool(TComponentDialog&)> OnRun;
    std::vector<std::string> Ran;
};

}  // namespace tarvek::testing
