// The program entry both editions share: one copy of either at a time, then the main
// form built for the edition the program is.
#pragma once

#include <memory>
#include <string>

namespace tarvek {

class TEdition;
class TForm_zumenn;
class TSingleInstanceLock;
class TUserServices;

constexpr const char* InstanceLockName = "SampleMutex";
constexpr const char* AlreadyRunningMessage = "すでに起動されています。";
constexpr const char* AlreadyRunningCaption = "二重起動のテスト";
// Followed by each file tried and the system's reason.
constexpr const char* CannotLockMessage = "二重起動を確認するファイルを作成できないため、起動できません。";

// Takes the lock, which must then live as long as the process. When another copy of
// either program holds it, says so and returns no form; when no lock can be made at all,
// says that instead and returns no form, since two copies would answer the same request. Otherwise the main form for the
// edition in that program folder, loaded and not yet shown; ui and edition must outlive it.
std::unique_ptr<TForm_zumenn> ProgramMain(const TEdition& edition, TUserServices& ui, TSingleInstanceLock& lock,
                                          const std::string& programFolder);

}  // namespace tarvek
