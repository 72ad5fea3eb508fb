// What the logic asks of the user and of the machine: message boxes, beeps, sleeps,
// the clock and the busy cursor. The form installs the real implementation; tests
// install TScriptedUi, which answers from a script and records what was shown.
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace tarvek {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Button sets, combined with |.
enum TMsgDlgBtn : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
};

// What a box returns: the button pressed.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrYes = 6, mrNo = 7 };

struct TDateTimeParts {
    int Year = 2000, Month = 1, Day = 1, Hour = 0, Minute = 0, Second = 0;
};

class TUserServices {
public:
    virtual ~TUserServices() = default;
    // A modal box; a CR in text is a line break. caption empty = the application's title.
    virtual int MessageDlg(const std::string& text, TMsgDlgType type, unsigned buttons,
                           const std::string& caption = {}) = 0;
    virtual void Beep() = 0;
    virtual void Sleep(int milliseconds) = 0;
    virtual TDateTimeParts Now() = 0;
    virtual void SetBusyCursor(bool busy) = 0;
    // True while a box is open: timers keep running under it, and must not change what
    // the box asks about.
    virtual bool BoxOpen() const { return false; }
    // Brings the top-level window of any program whose title is exactly this to the
    // front. A title that names no window does nothing; nothing is reported.
    virtual void RaiseWindowTitled(const std::string& /*title*/) {}
    // Each title in turn, as RaiseWindowTitled does: the last of them that names a window
    // ends up in front.
    virtual void RaiseWindowsTitled(const std::vector<std::string>& titles) {
        for (const std::string& title : titles) RaiseWindowTitled(title);
    }
};

// "yyyy/mm/dd" and "h:nn:ss", the short date and long time of a Japanese desktop.
std::string FormatShortDate(const TDateTimeParts& t);
std::string FormatLongTime(const TDateTimeParts& t);

// Test double: answers boxes in script order (the default answer when the script is
// empty) and records every box, beep and sleep.
class TScriptedUi : public TUserServices {
public:
    struct TShownBox {
        std::string Text;
        TMsgDlgType Type;
        unsigned Buttons;
        std::string Caption;
    };

    std::deque<int> Answers;
    int DefaultAnswer = mrOk;
    std::vector<TShownBox> Shown;
    int Beeps = 0;
    std::vector<int> Sleeps;
    TDateTimeParts Clock{2026, 12, 10, 9, 5, 7};
    int BusyDepth = 0;
    // Every title a window was asked to be raised by, in order.
    std::vector<std::string> RaisedWindows;

    int MessageDlg(const std::string& text, TMsgDlgType type, unsigned buttons,
                   const std::string& caption = {}) override;
    void Beep() override { ++Beeps; }
    void Sleep(int milliseconds) override { Sleeps.push_back(milliseconds); }
    TDateTimeParts Now() override { return Clock; }
    void SetBusyCursor(bool busy) override { BusyDepth += busy ? 1 : -1; }
    void RaiseWindowTitled(const std::string& title) override { RaisedWindows.push_back(title); }
};

}  // namespace tarvek
