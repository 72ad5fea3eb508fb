#include "app/editor_main.h"

#include "forms/zumenn.h"
#include "platform/qt_services.h"
#include "platform/system.h"

namespace tarvek {

std::unique_ptr<TForm_zumenn> ProgramMain(const TEdition& edition, TUserServices& ui, TSingleInstanceLock& lock,
                                          const std::string& programFolder) {
    switch (lock.Acquire(InstanceLockName)) {
    case TInstanceLock::Acquired:
        break;
    case TInstanceLock::HeldElsewhere:
        ui.MessageDlg(AlreadyRunningMessage, TMsgDlgType::mtCustom, mbOK, AlreadyRunningCaption);
        return nullptr;
    case TInstanceLock::Unavailable:
        ui.MessageDlg(std::string(CannotLockMessage) + "\r" + lock.Problem(), TMsgDlgType::mtError, mbOK,
                      AlreadyRunningCaption);
        return nullptr;
    }
    InstallFontSubstitutions();
    return std::make_unique<TForm_zumenn>(programFolder, ui, edition);
}

}  // namespace tarvek
