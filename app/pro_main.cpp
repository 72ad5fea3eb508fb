// The full editor. The ledger writes its drawing request into the program folder and
// starts this program there.
#include <QApplication>

#include "app/editor_main.h"
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
    const auto form = tarvek::ProgramMain(tarvek::ProEdition(), ui, instance, tarvek::ProgramFolder());
    if (!form) return 0;
    form->AdoptBlockDialog(std::make_unique<tarvek::Thako>(*form));
    form->Show();
    return app.exec();
}
