#include "platform/ui_services.h"

#include <cstdio>

namespace tarvek {

std::string FormatShortDate(const TDateTimeParts& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", t.Year, t.Month, t.Day);
    return buf;
}

std::string FormatLongTime(const TDateTimeParts& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d", t.Hour, t.Minute, t.Second);
    return buf;
}

int TScriptedUi::MessageDlg(const std::string& text, TMsgDlgType type, unsigned buttons,
                            const std::string& caption) {
    Shown.push_back({text, type, buttons, caption});
    if (Answers.empty()) return DefaultAnswer;
    int answer = Answers.front();
    Answers.pop_front();
    return answer;
}

}  // namespace tarvek
