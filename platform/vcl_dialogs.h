// The common dialogs of our component layer: colour, file and print dialogs that a form
// owns like its controls. Every Execute() goes through one replaceable runner, so that
// tests answer the dialogs without a window; by default the runner shows Qt's dialogs.
#pragma once

#include <string>

#include "platform/vcl.h"

namespace tarvek {

class TComponentDialog : public TComponent {
public:
    using TComponent::TComponent;
    // Shows the dialog modally; true when the user confirmed it, and then the dialog's
    // fields hold the answer. A cancelled dialog leaves them as they were.
    bool Execute();
};

class TColorDialog : public TComponentDialog {
public:
    using TComponentDialog::TComponentDialog;
    TColor Color = clBlack;
};

class TFileDialog : public TComponentDialog {
public:
    using TComponentDialog::TComponentDialog;
    std::string Title;
    std::string FileName;
    // "description|pattern;pattern|description|pattern", as the forms write it.
    std::string Filter;
    std::string InitialDir;
    // Appended (without the dot) to a name typed without an extension.
    std::string DefaultExt;
};

class TOpenDialog : public TFileDialog {
public:
    using TFileDialog::TFileDialog;
};

// An open dialog that offers the picture files a TImage can load.
class TOpenPictureDialog : public TOpenDialog {
public:
    explicit TOpenPictureDialog(TWinControl* owner);
};

class TSaveDialog : public TFileDialog {
public:
    using TFileDialog::TFileDialog;
    bool OverwritePrompt = false;  // ask before an existing file is replaced
};

class TPrintDialog : public TComponentDialog {
public:
    using TComponentDialog::TComponentDialog;
};

class TPrinterSetupDialog : public TComponentDialog {
public:
    using TComponentDialog::TComponentDialog;
};

// Runs a dialog: shows it, or answers it in its place. True when it was confirmed.
class TDialogRunner {
public:
    virtual ~TDialogRunner() = default;
    virtual bool Run(TComponentDialog& dialog) = 0;
};

// The runner every Execute() uses from now on; nullptr puts the Qt dialogs back. The
// runner is not owned and must outlive its use.
void SetDialogRunner(TDialogRunner* runner);

// "a|*.x;*.y|b|*.z" as Qt writes it: "a (*.x *.y);;b (*.z)".
std::string DialogFilterToQt(const std::string& filter);

}  // namespace tarvek
