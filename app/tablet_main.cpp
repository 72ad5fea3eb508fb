// The tablet edition. The ledger's tablet edition writes its drawing request into the
// program folder and starts this program there.
#include <QApplication>

#include "app/editor_main.h"
#include "forms/zumenn.h"
#include "platform/qt_services.h"
#include "platform/system.h"
#include "tablet/tablet_edition.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tarvek_tablet"));
    tarvek::TQtUserServices ui;
    // The lock lives as long as the process; the kernel drops it however the process ends.
    tarvek::TSingleInstanceLock instance;
    const auto form = tarvek::ProgramMain(tarvek::TabletEdition(), ui, instance, tarvek::ProgramFolder());
    if (!form) return 0;
    form->Show();
    return app.exec();
}
