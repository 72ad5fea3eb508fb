#include "forms/zumenn.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <filesystem>

#include "document/drawing_file.h"
#include "document/figure_store.h"
#include "document/selection.h"
#include "document/startup.h"
#include "document/view_settings.h"
#include "editing/attributes.h"
#include "editing/text_entry.h"
#include "forms/hako_set.h"
#include "households/handover.h"
#include "households/household_table.h"
#include "households/ledger_poll.h"
#include "platform/numbers.h"
#include "platform/qt_services.h"

namespace tarvek {

namespace {

constexpr const char* StandaloneMessage = "単独起動は誤動作防止の為できません。";

TScreenRect VirtualScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {0, 0, 1920, 1080};
    const QRect r = screen->virtualGeometry();
    return {r.left(), r.top(), r.width(), r.height()};
}

std::string DataFolderOf(const std::string& path) {
    // Paths from older Windows installations use "\", ours "/": the last of either.
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

}  // namespace

TForm_zumenn::TForm_zumenn(const std::string& exeFolder, TUserServices& ui, const TEdition& edition)
    : S(ui, this) {
    S.Edition = &edition;
    S.ExeFolder = exeFolder;
    BuildComponents();
    OnShow = [this] { FormShow(); };
    OnClose = [this] { FormClose(); };
    FormCreate();
}

TForm_zumenn::~TForm_zumenn() {
    // No idle pass may reach a form that is coming apart; the dialog's window goes
    // before the window it belongs to.
    QObject::disconnect(IdleConnection);
    Hako.reset();
}

void TForm_zumenn::BuildComponents() {
    if (Tablet()) {
        BuildTabletComponents();
        return;
    }
    LayOutComponents();
    BindComponentEvents();
    BindHouseholds();
    BindPlotSearch();
    BindDrawingTools();
    BindAttributes();
    BindArrange();
}

// ---------------------------------------------------------------------------------
// Start-up

void TForm_zumenn::FormCreate() {
    SaveProgressBar = new TProgressBar(StatusBar1);
    SaveProgressBar->Name = "SaveProgressBar";
    SaveProgressBar->SetBounds(0, 2, StatusBar1->Width() / 2, StatusBar1->Height() - 2);
    SaveProgressBar->SetVisible(true);
    S.NormalPageHeight = PageControl1->Height();

    LoadHouseholdStage();
    if (S.StartupError == 0) LoadDrawing();
    if (std::vector<std::string> grades = ComboBox4->Items(); S.StartupError == 0 && ReadHandoverCsv(S, grades)) ComboBox4->SetItems(grades);
    if (S.StartupError == 0) Tablet() ? TabletCleanStartSetup() : CleanStartSetup();
}

void TForm_zumenn::LoadHouseholdStage() {
    S.StartupError = 0;
    S.StartupErrorMessage = HouseholdStageMessage;
    LoadHouseholdTable(S);
    const int rows = static_cast<int>(S.Households.size());
    StringGrid1->SetColCount(HouseholdColumns);
    StringGrid1->SetRowCount(rows + 1);
    for (int c = 0; c < HouseholdColumns; ++c) StringGrid1->SetCell(c, 0, HouseholdHeaders[static_cast<std::size_t>(c)]);
    for (int r = 0; r < rows; ++r) StringGrid1->SetRowCells(r + 1, S.Households[static_cast<std::size_t>(r)]);
    for (TStringGrid* g : {StringGrid2, StringGrid3}) {
        g->SetColCount(HouseholdColumns);
        g->SetRowCount(2);
    }
    if (S.StartupError) return;
    for (TStringGrid* g : {StringGrid1, StringGrid2, StringGrid3}) {
        for (int c = 0; c < HouseholdColumns; ++c) {
            g->SetColWidth(c, NewDrawingGridWidths[static_cast<std::size_t>(c)]);
            g->SetCell(c, 0, HouseholdHeaders[static_cast<std::size_t>(c)]);
        }
        g->SetFixedCols(0);
        g->SetFixedRows(1);
    }
    StringGrid1->SetVisible(true);
    StringGrid2->SetVisible(false);
    StringGrid3->SetVisible(false);
}

void TForm_zumenn::LoadDrawing() {
    if (!ReadDrawingRequest(S)) return;
    const std::string& w = S.PlotKindWord;
    SetCaption(S.TempleName + "図面データ_" + w);
    neisyo->SetText(w + "名称");
    taiou->SetText("「" + w + "台帳」にリアルタイム");
    file_neisyo->SetText(S.CurrentDrawingName);
    if (S.CurrentDrawingName == NewDrawingName) return;
    const bool loaded = LoadDrawingData(S);
    ApplyViewToForm();
    (void)loaded;  // a failure is in StartupError; the first paint reports it
}

void TForm_zumenn::ApplyViewToForm() {
    ClampWindowToScreen(S.LoadedFormTop, S.LoadedFormLeft, S.LoadedFormWidth, S.LoadedFormHeight, VirtualScreen());
    const TFormData& v = S.View;
    SetColor(v.WindowColor);
    Panel1->SetColor(v.Panel1Color);
    for (TMemo* m : CaptionMemos()) m->SetColor(v.WindowColor);

    if (!S.BackgroundPicturePath.empty()) {
        const std::string folder = DataFolderOf(S.BackgroundPicturePath);
        if (!folder.empty() && DirectoryExists(folder)) {
            if (!FileExists(S.BackgroundPicturePath) || !Image1->LoadFromFile(S.BackgroundPicturePath)) Image1->Clear();
        }
    }
    for (int c = 0; c < HouseholdColumns; ++c) StringGrid1->SetColWidth(c, v.GridColWidths[static_cast<std::size_t>(c)]);
    clip_Check->SetChecked(S.ClipNames != 0);
    CheckBox2->SetChecked(S.RotateNames != 0);
    clip_Check->SetEnabled(S.RotateNames == 0);
    UpDown2->SetEnabled(S.RotateNames != 0);
    UpDown1->SetPosition(S.NameTextSize);
    S.NameTextSizeCopy = UpDown1->Position();
    UpDown3->SetPosition(S.DimensionTextSize);
    ck_true->SetChecked(v.SelectAfterDrawing);
    CheckBox2->SetCaption(S.PlotKindWord + "回転時、檀家名も回転させる");
}

void TForm_zumenn::TakeViewFromForm() {
    TFormData& v = S.View;
    v.FormTop = WindowTop();
    v.FormLeft = WindowLeft();
    v.FormWidth = WindowWidth();
    v.FormHeight = WindowHeight();
    v.PaintWidth = PaintBox1->Width();
    v.PaintHeight = PaintBox1->Height();
    v.ScrollX = ScrollBox1->HorzScrollPos();
    v.ScrollY = ScrollBox1->VertScrollPos();
    v.WindowColor = Color();
    v.Panel1Color = Panel1->Color();
    for (int c = 0; c < HouseholdColumns; ++c) v.GridColWidths[static_cast<std::size_t>(c)] = StringGrid1->ColWidths(c);
    v.ClipCheck = clip_Check->Checked();
    v.RotateCheck = CheckBox2->Checked();
    v.NameTextSize = UpDown1->Position();
    v.SelectAfterDrawing = ck_true->Checked();
}

void TForm_zumenn::CleanStartSetup() {
    const std::string& w = S.PlotKindWord;
    Memo22->SetText(w + "備考");
    BitBtn8->SetCaption(w + "個数設定");
    BitBtn6->SetCaption("複数" + w);
    BitBtn45->SetCaption("単数" + w);
    BitBtn46->SetCaption("回\r転");
    botika_true->SetCaption("図形を" + w);
    botika_false->SetCaption(w + "を図形");
    BitBtn6->SetHint("複数の" + w + "を配置します。配置個数は「" + w + "個数設定」で行います。");
    BitBtn45->SetHint("１個の" + w + "を配置します。");
    BitBtn8->SetHint(w + "の配置個数を別ウインドで設定します。");
    BitBtn44->SetHint("複数" + w + "をひとつの共有所有にする。");
    BitBtn14->SetHint("共有所有の" + w + "を分離させます。");
    botika_true->SetHint("選択されている図形を檀家割当て可能な" + w + "にします");
    botika_false->SetHint("選択されている" + w + "を普通の図形にします");

    const char* const cursorFiles[] = {"イメージ/rrrp1.cur", "イメージ/rrrp2.cur", "イメージ/kaitenn.cur"};
    for (std::size_t i = 0; i < 3; ++i) ScreenCursors[i] = LoadCursorFromFile(S.ExeFolder + cursorFiles[i]);

    const char* const coOwnerHeaders[] = {"現世帯主", "地区名", "住所２", "電話"};
    for (int c = 0; c < 4; ++c) StringGrid4->SetCell(c, 0, coOwnerHeaders[c]);

    SetStayOnTop(true);
    InstallIdleHandler();
    Timer1->SetEnabled(true);

    liya->SetItems({"全て", w + "のみ", w + "以外"});
    liya->SetItemIndex(0);

    ComboBox2->SetItems(DrawingFontNames(ScreenFontNames()));
    ComboBox2->SetItemIndex(ComboBox2->IndexOf(S.CurFontName));
    pen_sty_conb->SetItemIndex(S.CurPenStyle);
    pen_width_conb->SetItemIndex(S.CurPenWidth - 1);
    brs_sty_conb->SetItemIndex(S.CurBrushStyle);
}

void TForm_zumenn::FormShow() {
    if (Tablet()) {
        TabletFormShow();
        return;
    }
    if (S.StartupError == 1) {
        QTimer::singleShot(0, Widget(), [this] { RunStartupGuards(); });
        return;
    }
    const bool newDrawing = S.CurrentDrawingName == NewDrawingName;
    const TFormData fresh;  // the view of a new drawing
    if (!newDrawing && S.DrawingViewRead) {
        S.SelectedList[0] = -999;
        SetWindowBounds(S.LoadedFormLeft, S.LoadedFormTop, S.LoadedFormWidth, S.LoadedFormHeight);
        S.RecordedFormSize = {WindowWidth(), WindowHeight()};
        S.Zoom = S.LoadedZoom;
        for (int step = 1; step <= 9; ++step)
            if (S.ZoomSteps[static_cast<std::size_t>(step)] >= S.Zoom) {
                S.ZoomStep = step;
                break;
            }
        ScrollBox1->SetWidth(ScrollBox1->Width() - ScrollBox1->Width() % 2);
        ScrollBox1->SetHeight(ScrollBox1->Height() - ScrollBox1->Height() % 2);
        PaintBox1->SetBounds(0, 0, S.LoadedPaintWidth, S.LoadedPaintHeight);
        S.ViewBaseWidth = ScrollBox1->Width() - 36;
        S.ViewBaseHeight = ScrollBox1->Height() - 36;
        ScrollBox1->SetHorzScrollPos(S.RecordedScrollPos.x);
        ScrollBox1->SetVertScrollPos(S.RecordedScrollPos.y);
        S.SelectedList[0] = 0;
    } else {
        // A new drawing, or one without a view of its own: the window and map of a new one.
        SetWindowBounds(fresh.FormLeft, fresh.FormTop, fresh.FormWidth, fresh.FormHeight);
        // What the window took (its minimum may enlarge it), so that it is no step.
        S.RecordedFormSize = {WindowWidth(), WindowHeight()};
        S.Zoom = fresh.Zoom;
        S.ZoomStep = 1;
        ScrollBox1->SetWidth(ScrollBox1->Width() - ScrollBox1->Width() % 2);
        ScrollBox1->SetHeight(ScrollBox1->Height() - ScrollBox1->Height() % 2);
        PaintBox1->SetBounds(0, 0, ScrollBox1->Width() - 36, ScrollBox1->Height() - 36);
        S.ViewBaseWidth = PaintBox1->Width();
        S.ViewBaseHeight = PaintBox1->Height();
    }
    if (newDrawing) {
        S.FigureCount = 0;
        S.CurPenColor = fresh.CurPenColor;
        S.CurBrushColor = fresh.CurBrushColor;
        S.CurPenWidth = fresh.CurPenWidth;
        S.DrawingScale = fresh.DrawingScale;
        S.LedgerTargetId = 0;
    }
    PageControl1->SetActivePageIndex(0);
    S.PreviousTab = 0;
    S.EditTabActive = 0;
    ShowRequestTarget();
    S.RecordedScrollPos = {ScrollBox1->HorzScrollPos(), ScrollBox1->VertScrollPos()};
    LastFrameExtra = QSize(WindowWidth() - ClientWidth(), WindowHeight() - ClientHeight());
    S.NameTextSizeCopy = UpDown1->Position();
    S.HistoryRecording = 1;
    S.LedgerUnchanged = 1;
    S.DrawingUnchanged = 1;
    QTimer::singleShot(0, Widget(), [this] { RunStartupGuards(); });
}

// The drawing request's target, in both editions.
void TForm_zumenn::ShowRequestTarget() {
    if (S.LedgerTargetId > 0) {
        ShowHouseholdButton(false);
        for (std::int32_t i = 1; i <= S.FigureCount; ++i) {
            TDateRec& r = S.Fig(i);
            if (r.PlotId != S.LedgerTargetId || !r.IsPlot || GetCompoundOwner(S, i) > 0) continue;
            PageControl1->SetActivePageIndex(0);
            SelectRequestedPlotAt(S, i, S.LedgerTargetId);
            // As a ledger request shows its plot: sorted, summarised, then shown.
            SelectionChanged();
            ShowCurrentHit();
            return;
        }
        return;
    }
    if (ShowHouseholdOfTarget(S, *this) == 0) return;
    // Shown: the request is answered, and no plot is in hand.
    S.LedgerTargetId = 0;
    S.CurrentHitIndex = -1;
}

void TForm_zumenn::RunStartupGuards() {
    if (GuardsRun) return;
    GuardsRun = true;
    const bool failed = S.StartupError == 1;
    if (failed) {
        S.Ui.Beep();
        S.Ui.MessageDlg(S.StartupErrorMessage, TMsgDlgType::mtWarning, mbAbort);
    }
    if (S.StandaloneStartFlag == 1) {
        S.Ui.Beep();
        S.Ui.MessageDlg(StandaloneMessage, TMsgDlgType::mtWarning, mbAbort);
    }
    if (failed || S.StandaloneStartFlag == 1) Close();
}

// ---------------------------------------------------------------------------------
// Closing

void TForm_zumenn::ShowFileError(const std::string& path, const TFileResult& result) {
    S.Ui.MessageDlg("ファイル " + path + " を保存できません。\r" + result.Message, TMsgDlgType::mtError, mbOK);
}

void TForm_zumenn::ShowDeleteError(const std::string& path, const TFileResult& result) {
    S.Ui.MessageDlg("ファイル " + path + " を削除できません。\r" + result.Message, TMsgDlgType::mtError, mbOK);
}

TForm_zumenn::TSaved TForm_zumenn::SaveDrawingAndHandover() {
    TSaved saved;
    // The name field can be pasted into or left without the key filter: check again,
    // so that a save never overwrites another drawing.
    const TDrawingNameProblem problem = CheckDrawingName(S, file_neisyo->Text());
    if (problem != TDrawingNameProblem::None) {
        S.Ui.MessageDlg(DrawingNameProblemMessage(problem), TMsgDlgType::mtWarning, mbOK);
        file_neisyo->SetText(S.CurrentDrawingName);
    }
    TakeViewFromForm();
    SaveProgressBar->SetPosition(0);
    const TSaveResult result = SaveDrawingFile(S, file_neisyo->Text(), [this](int max, int pos) {
        SaveProgressBar->SetMax(max);
        SaveProgressBar->SetPosition(pos);
    });
    if (!result.File) {
        ShowFileError(DrawingDataFileName(S, file_neisyo->Text()), result.File);
        return saved;
    }
    saved.Drawing = true;
    if (!result.OldFileRemoval) ShowDeleteError(result.OldFile, result.OldFileRemoval);
    file_neisyo->SetText(result.DrawingName);
    const TFileResult handover = WriteHandoverCsv(S);
    if (!handover)
        ShowFileError(S.ExeFolder + HandoverCsvFileName, handover);
    else
        saved.Handover = true;
    Edit1->SetFocus();
    S.LedgerUnchanged = 1;
    S.DrawingUnchanged = 1;
    return saved;
}

void TForm_zumenn::RemoveFile(const std::string& path) {
    if (const TFileResult r = DeleteFile(path); !r) ShowDeleteError(path, r);
}

void TForm_zumenn::RestoreNameViewOptions() {
    clip_Check->SetChecked(S.ClipNames != 0);
    UpDown1->SetPosition(S.NameTextSize);
}

void TForm_zumenn::FormClose() {
    if (Hako) Hako->Close();
    if (S.StandaloneStartFlag == 1 || S.StartupError == 1) return;
    const std::string& w = S.PlotKindWord;
    // The display settings of the drawing as it was opened. They are replaced (or
    // removed) only after the questions, so that a failed write leaves them whole.
    const std::string openedDisp = DisplaySettingsFileName(S, S.CurrentDrawingName);

    const bool renamed = file_neisyo->Text() != S.CurrentDrawingName;
    if (S.DrawingUnchanged == 0 && S.LedgerUnchanged == 1 && !renamed) {
        const int answer = S.Ui.MessageDlg(
            w + "台帳に変更はありませんが、図面に変更がありました。「" + w + "図面」を保存しますか？\r" +
                "　　　保存する[はい]　　　　保存せず元に戻す[いいえ]",
            TMsgDlgType::mtInformation, mbYes | mbNo);
        if (answer == mrYes) {
            if (SaveDrawingAndHandover().Drawing) S.HandoverStatus = "変更図";
        } else {
            RestoreNameViewOptions();
        }
    } else if (S.LedgerUnchanged == 0 || renamed) {
        const int answer = S.Ui.MessageDlg(
            w + "データに変更がありました。「" + w + "台帳」に反映させますか？\r" +
                "　　　反映させる[はい]　　　　反映させず元に戻す[いいえ]",
            TMsgDlgType::mtInformation, mbYes | mbNo);
        if (answer == mrYes) {
            // The status tells the ledger what reached the disk, never more.
            const TSaved saved = SaveDrawingAndHandover();
            S.HandoverStatus = saved.Drawing && saved.Handover ? "変更有" : saved.Drawing ? "変更図" : "取消し";
        } else {
            S.HandoverStatus = "取消し";
            RestoreNameViewOptions();
        }
    }

    const std::string disp = DisplaySettingsFileName(S, S.CurrentDrawingName);
    if (FileExists(DrawingDataFileName(S, S.CurrentDrawingName))) {
        TakeViewFromForm();
        const TFileResult r = SaveDisplaySettings(S, S.CurrentDrawingName);
        if (!r) ShowFileError(disp, r);
        // A renamed drawing's settings under the old name describe no drawing any more.
        if (r && openedDisp != disp) RemoveFile(openedDisp);
    } else {
        // No drawing file, so no settings of one either.
        RemoveFile(openedDisp);
    }
    const TFileResult answer = WriteDrawingRequestAnswer(S);
    if (!answer) ShowFileError(S.ExeFolder + SelectedDrawingFileName, answer);
}

void TForm_zumenn::BitBtn15Click() { Close(); }

// ---------------------------------------------------------------------------------
// Drawing name

void TForm_zumenn::file_neisyoEnter() { NameValidated = 0; }

void TForm_zumenn::file_neisyoKeyPress(char32_t& key) {
    if (key == 13) {
        key = 0;
        file_neisyoExit();
        return;
    }
    if (IsSymbolChar(key)) key = 0;
    else RefuseNonCp932Key(S, key);
}

void TForm_zumenn::file_neisyoExit() {
    if (NameValidated == 1) return;
    const TDrawingNameProblem problem = CheckDrawingName(S, file_neisyo->Text());
    if (problem != TDrawingNameProblem::None) {
        S.Ui.MessageDlg(DrawingNameProblemMessage(problem), TMsgDlgType::mtWarning, mbOK);
        file_neisyo->SetText(S.CurrentDrawingName);
    }
    NameValidated = 1;
}

void TForm_zumenn::clip_CheckClick() {
    S.DrawingUnchanged = 0;
    PaintBox1->Repaint();
}

// ---------------------------------------------------------------------------------
// TEditorView

void TForm_zumenn::HelpLineChanged(const std::string& text) {
    if (Label3) Label3->SetCaption(text);  // the tablet has no help line
}

void TForm_zumenn::SelectionCountChanged(int count) {
    // The tablet counts nothing it selects: its counters only go back to 0 when the
    // selection is cleared.
    if (Tablet() && count != 0) return;
    for (TMemo* m : {Memo2, Memo9, Memo12}) {
        if (!m) continue;  // the tablet has no drawing page counter
        std::vector<std::string> lines = m->Lines();
        if (lines.empty()) lines.emplace_back();
        lines[0] = IntToStr(count);
        m->SetLines(lines);
    }
}

void TForm_zumenn::RepaintMap() { PaintBox1->Invalidate(); }

int TForm_zumenn::ActivePageIndex() const { return PageControl1->ActivePageIndex(); }

}  // namespace tarvek
