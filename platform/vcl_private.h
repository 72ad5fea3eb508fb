// Helpers shared by the source files of our component layer; not for the forms.
#pragma once

#include <QString>

#include <string>

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

}  // namespace tarvek::detail
