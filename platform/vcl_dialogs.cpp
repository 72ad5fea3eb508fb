#include "platform/vcl_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QStringList>

namespace tarvek {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

class TQtDialogRunner final : public TDialogRunner {
public:
    bool Run(TComponentDialog& dialog) override {
        QWidget* parent = dialog.Owner() ? dialog.Owner()->Widget() : nullptr;
        if (auto* c = dynamic_cast<TColorDialog*>(&dialog)) {
            const QColor chosen = QColorDialog::getColor(ColorToQColor(c->Color), parent);
            if (!chosen.isValid()) return false;
            c->Color = QColorToColor(chosen);
            return true;
        }
        if (auto* f = dynamic_cast<TFileDialog*>(&dialog)) return RunFileDialog(*f, parent);
        // Printing comes later; until then a print dialog counts as cancelled.
        return false;
    }

private:
    static bool RunFileDialog(TFileDialog& f, QWidget* parent) {
        QFileDialog box(parent, Q(f.Title), Q(f.InitialDir), Q(DialogFilterToQt(f.Filter)));
        auto* save = dynamic_cast<TSaveDialog*>(&f);
        box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        box.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (save && !save->OverwritePrompt) box.setOption(QFileDialog::DontConfirmOverwrite);
        box.setDefaultSuffix(Q(f.DefaultExt));
        if (!f.FileName.empty()) box.selectFile(Q(f.FileName));
        if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return false;
        f.FileName = box.selectedFiles().constFirst().toStdString();
        return true;
    }
};

TQtDialogRunner QtRunner;
TDialogRunner* CurrentRunner = &QtRunner;

}  // namespace

bool TComponentDialog::Execute() { return CurrentRunner->Run(*this); }

void SetDialogRunner(TDialogRunner* runner) { CurrentRunner = runner ? runner : &QtRunner; }

TOpenPictureDialog::TOpenPictureDialog(TWinControl* owner) : TOpenDialog(owner) {
    Filter = "画像ファイル|*.jpg;*.jpeg;*.bmp;*.png;*.gif|すべてのファイル|*";
}

std::string DialogFilterToQt(const std::string& filter) {
    const QStringList parts = Q(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;")).toStdString();
}

}  // namespace tarvek
