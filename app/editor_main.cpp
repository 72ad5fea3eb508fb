#include "app/editor_main.h"

#include "forms/zumenn.h"
#include "platform/qt_services.h"
#include "platform/system.h"

namespace tarvek {

std::unique_ptr<TForm_zumenn> ProgramMain(const TEdition& edition, TUserServices& ui, TSingleInstanceLock& lock,
                                          const std::string& programFolder) {
    if (!lock.Acquire(InstanceLockName)) {
        ui.MessageDlg(AlreadyRunningMessage, TMsgDlgType::mtCustom, mbOK, AlreadyRunningCaption);
        return nullptr;
    }
    InstallFontSubstitutions();
    return std::make_unique<TForm_zumenn>(programFolder, ui, edition);
}

}  // namespace tarvek
