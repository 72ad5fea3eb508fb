#include "platform/qt_services.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QThread>

#include "platform/x11_windows.h"

namespace tarvek {

namespace {

QString DefaultCaption(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::mtWarning: return QStringLiteral("警告");
        case TMsgDlgType::mtError: return QStringLiteral("エラー");
        case TMsgDlgType::mtInformation: return QStringLiteral("情報");
        case TMsgDlgType::mtConfirmation: return QStringLiteral("確認");
        case TMsgDlgType::mtCustom: break;
    }
    return QApplication::applicationName();
}

QMessageBox::Icon IconOf(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::mtWarning: return QMessageBox::Warning;
        case TMsgDlgType::mtError: return QMessageBox::Critical;
        case TMsgDlgType::mtInformation: return QMessageBox::Information;
        case TMsgDlgType::mtConfirmation: return QMessageBox::Question;
        case TMsgDlgType::mtCustom: break;
    }
    return QMessageBox::NoIcon;
}

struct TFontSubstitute {
    const char* Windows;
    const char* Installed;
};
// The names the drawings carry and the IPA fonts that look closest to them.
constexpr TFontSubstitute FontSubstitutes[] = {
    {"ＭＳ 明朝", "IPAMincho"},       {"ＭＳ Ｐ明朝", "IPAPMincho"},
    {"ＭＳ ゴシック", "IPAGothic"},   {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"ＭＳ ＵＩ Gothic", "IPAPGothic"}, {"MS Mincho", "IPAMincho"},
    {"MS Gothic", "IPAGothic"},       {"Tahoma", "DejaVu Sans"},
};

}  // namespace

int TQtUserServices::MessageDlg(const std::string& text, TMsgDlgType type, unsigned buttons,
                                const std::string& caption) {
    QString body = QString::fromStdString(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    QMessageBox box(IconOf(type), caption.empty() ? DefaultCaption(type) : QString::fromStdString(caption),
                    body, QMessageBox::NoButton, QApplication::activeWindow());
    struct TChoice {
        unsigned Bit;
        const char* Text;
        QMessageBox::ButtonRole Role;
        int Result;
    };
    const TChoice choices[] = {
        {mbYes, "はい", QMessageBox::YesRole, mrYes},
        {mbNo, "いいえ", QMessageBox::NoRole, mrNo},
        {mbOK, "OK", QMessageBox::AcceptRole, mrOk},
        {mbCancel, "キャンセル", QMessageBox::RejectRole, mrCancel},
        {mbAbort, "中止", QMessageBox::RejectRole, mrAbort},
    };
    std::vector<std::pair<QAbstractButton*, int>> added;
    for (const TChoice& c : choices) {
        if (!(buttons & c.Bit)) continue;
        added.emplace_back(box.addButton(QString::fromUtf8(c.Text), c.Role), c.Result);
    }
    if (added.empty()) added.emplace_back(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole), mrOk);
    box.setDefaultButton(static_cast<QPushButton*>(added.front().first));
    ++OpenBoxes;
    box.exec();
    --OpenBoxes;
    for (const auto& [button, result] : added)
        if (box.clickedButton() == button) return result;
    // Closed with Escape or the close box: the cancelling answer when there is one.
    if (buttons & mbCancel) return mrCancel;
    if (buttons & mbNo) return mrNo;
    if (buttons & mbAbort) return mrAbort;
    return added.front().second;
}

void TQtUserServices::Beep() { QApplication::beep(); }

void TQtUserServices::Sleep(int milliseconds) {
    if (milliseconds > 0) QThread::msleep(static_cast<unsigned long>(milliseconds));
}

TDateTimeParts TQtUserServices::Now() {
    const QDateTime now = QDateTime::currentDateTime();
    return {now.date().year(), now.date().month(), now.date().day(),
            now.time().hour(), now.time().minute(), now.time().second()};
}

void TQtUserServices::SetBusyCursor(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TQtUserServices::RaiseWindowTitled(const std::string& title) {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) RaiseX11WindowTitled(title);
}

void TQtUserServices::RaiseWindowsTitled(const std::vector<std::string>& titles) {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) RaiseX11WindowsTitled(titles);
}

void InstallFontSubstitutions() {
    for (const TFontSubstitute& f : FontSubstitutes)
        QFont::insertSubstitution(QString::fromUtf8(f.Windows), QString::fromUtf8(f.Installed));
}

std::vector<std::string> ScreenFontNames() {
    std::vector<std::string> names;
    for (const TFontSubstitute& f : FontSubstitutes) names.emplace_back(f.Windows);
    for (const QString& family : QFontDatabase::families()) {
        if (family.contains(QChar('@'))) continue;
        names.push_back(family.toStdString());
    }
    return names;
}

std::optional<QCursor> LoadCursorFromFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    // ICONDIR: reserved 0, type 2 (cursor), count; the first entry's "planes" and
    // "bit count" hold the hotspot.
    const auto u16 = [&](int at) {
        return static_cast<int>(static_cast<unsigned char>(bytes[at]) |
                                (static_cast<unsigned char>(bytes[at + 1]) << 8));
    };
    if (bytes.size() < 22 || u16(0) != 0 || u16(2) != 2 || u16(4) < 1) return std::nullopt;
    const int hotX = u16(10), hotY = u16(12);
    QImage image;
    if (!image.loadFromData(bytes, "CUR") && !image.loadFromData(bytes, "ICO")) return std::nullopt;
    if (image.isNull()) return std::nullopt;
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

}  // namespace tarvek
