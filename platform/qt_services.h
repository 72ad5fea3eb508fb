// The real user services on Qt: message boxes with the ledger office's Japanese
// buttons, the system beep, sleeping on the GUI thread, the wall clock.
#pragma once

#include <QCursor>
#include <optional>
#include <string>

#include "platform/ui_services.h"

namespace tarvek {

class TQtUserServices : public TUserServices {
public:
    int MessageDlg(const std::string& text, TMsgDlgType type, unsigned buttons,
                   const std::string& caption = {}) override;
    void Beep() override;
    void Sleep(int milliseconds) override;
    TDateTimeParts Now() override;
    void SetBusyCursor(bool busy) override;
    bool BoxOpen() const override { return OpenBoxes > 0; }
    // Through the window manager of an X11 display (another program's windows are out of
    // Qt's reach); nothing on any other platform.
    void RaiseWindowTitled(const std::string& title) override;
    // On one connection, each window waited for before the next (see x11_windows.h).
    void RaiseWindowsTitled(const std::vector<std::string>& titles) override;

private:
    int OpenBoxes = 0;
};

// The drawings name Windows fonts; render them with the installed Japanese fonts.
void InstallFontSubstitutions();
// Font families offered to the user: the installed ones and the Windows names the
// substitutions stand for, without vertical ("@") variants.
std::vector<std::string> ScreenFontNames();

// A cursor from a .cur file, with the hotspot its header gives; nullopt when the file
// cannot be read as one.
std::optional<QCursor> LoadCursorFromFile(const std::string& path);

}  // namespace tarvek
