// The full editor. The ledger writes its drawing request into the program folder and
// starts this program there.
#include <QApplication>

#include "forms/hako_set.h"
#include "forms/zumenn.h"
#include "platform/qt_services.h"
#include "platform/system.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tarvek_pro"));
    tarvek::TQtUserServices ui;

    // The lock lives as long as the process; the kernel drops it however the process ends.
    tarvek::TSingleInstanceLock instance;
    if (!instance.Acquire("SampleMutex")) {
        ui.MessageDlg("すでに起動されています。", tarvek::TMsgDlgType::mtCustom, tarvek::mbOK, "二重起動のテスト");
        return 0;
    }
    tarvek::InstallFontSubstitutions();
    tarvek::TForm_zumenn form(tarvek::ProgramFolder(), ui);
    form.AdoptBlockDialog(std::make_unique<tarvek::Thako>(form));
    form.Show();
    return app.exec();
}
