// Helpers shared by the source files of our component layer; not for the forms.
#pragma once

#include <QString>

#include "platform/vcl.h"

#include <string>

class QInputMethodEvent;
class QKeyEvent;
class QWidget;

namespace tarvek::detail {

// Marks a stretch of programmatic changes, during which the user's handlers do not run.
class TSilent {
public:
    explicit TSilent(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~TSilent() { flag_ = old_; }
    TSilent(const TSilent&) = delete;
    TSilent& operator=(const TSilent&) = delete;

private:
    bool& flag_;
    bool old_;
};

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline std::string S(const QString& s) { return s.toStdString(); }

// The key plumbing every control and the form's key preview share.
enum class TKeyVerdict { Pass, Swallow, Replace };
// Runs a key event through the handlers: passed on, swallowed, or replaced by the
// character the press handler put in place of the typed one.
TKeyVerdict RunKeyHandlers(const TKeyEvent& down, const TKeyEvent& up, const TKeyPressEvent& press,
                           const QKeyEvent* ke, char32_t& replacement);
void DeliverReplacement(QWidget* target, const QKeyEvent* original, char32_t ch);
void FilterCommit(const TKeyPressEvent& press, QInputMethodEvent* ie);

}  // namespace tarvek::detail
