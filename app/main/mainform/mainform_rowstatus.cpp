// What became of each job, where the person looks: the progress cell drawn as a thin bar with its
// text (accent while converting, green when done, red when failed), and a row that did not finish
// giving its cause as the row's hint.
#include <algorithm>

#include "app/formats/jobrow.h"
#include "app/main/mainform/mainform.h"
#include "engine/component/ffmpegconverter.h"
#include "engine/probe/avprobe.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/core/application.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/stdctrls/stdlook.h"
#include "skin/controls/views/bsskinlistview.h"

namespace {

constexpr Integer BarHeight = 4;
constexpr Integer CellPadding = 6;
constexpr Integer TextGap = 6;

// The percentage a progress text stands for; -1 when it is none ("失败", "N/A", "").
Integer PercentOf(const String& Text) {
  Integer Percent = -1;
  if (Text.size() < 2 || Text.back() != '%' || !TryStrToInt(Text.substr(0, Text.size() - 1), Percent))
    return -1;
  return std::clamp(Percent, 0, 100);
}

}  // namespace

TRect TForm1::jobCellRect(TListItem* Row, TJobColumn Column) const {
  const TRect Bounds = Row->DisplayRect(drBounds);
  Integer X = Bounds.Left;
  for (Integer C : lvFiles->ColumnOrder()) {
    const Integer W = lvFiles->Column(C)->Width();
    if (C == Column) return Rect(X, Bounds.Top, X + W, Bounds.Bottom);
    X += W;
  }
  return Rect(0, 0, 0, 0);
}

void TForm1::drawProgressCell(TListItem* Row, bool Selected) {
  const TRect Cell = jobCellRect(Row, colProgress);
  if (Cell.Right <= Cell.Left) return;
  TCanvas* C = lvFiles->Canvas();
  const String Text = JobCell(Row, colProgress);
  const bool SelectedFocused = Selected && lvFiles->Focused();
  const bool Failed = Text == FailedProgressText;
  const bool Stopped = Text == StoppedProgressText;
  const Integer Percent = PercentOf(Text);
  const TColor TextColor = SelectedFocused ? TColor(clHighlightText)
                           : Failed        ? stdlook::Error
                                           : stdlook::Text;
  const Integer TextW = Text.empty() ? 0 : C->TextWidth(Text);
  const TRect TextRect =
      Rect(Cell.Right - CellPadding - TextW, Cell.Top, Cell.Right - CellPadding, Cell.Bottom);
  stdlook::DrawTextIn(C, Text, TextRect, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, TextColor);
  // The bar only where there is progress to show: nothing before the row ever ran.
  if (Percent < 0 && !Failed && !Stopped) return;
  const Integer Left = Cell.Left + CellPadding, Right = TextRect.Left - TextGap;
  if (Right - Left < 8) return;
  const Integer Top = (Cell.Top + Cell.Bottom - BarHeight) / 2;
  const TRect Track = Rect(Left, Top, Right, Top + BarHeight);
  C->Brush()->SetColor(SelectedFocused ? stdlook::SelectionUnfocused : stdlook::Track);
  C->FillRect(Track);
  const Integer Done = Failed || Stopped ? (Percent >= 0 ? Percent : 100) : Percent;
  const TColor Fill = Failed                       ? stdlook::Error
                      : Percent >= 100 && !Stopped ? stdlook::Success
                      : Stopped                    ? stdlook::TextSecondary
                                                   : stdlook::Accent;
  const Integer FillRight = Left + (Right - Left) * Done / 100;
  if (FillRight > Left) {
    C->Brush()->SetColor(Fill);
    C->FillRect(Rect(Left, Top, FillRight, Top + BarHeight));
  }
}

void TForm1::setRowProblem(TListItem* Row, const String& Why) {
  if (Why.empty())
    FRowProblems.erase(Row);
  else
    FRowProblems[Row] = Why;
}

String TForm1::RowProblem(Integer Row) const {
  if (Row < 0 || Row >= lvFiles->Items()->Count()) return "";
  const auto At = FRowProblems.find(lvFiles->Items()->Item(Row));
  return At != FRowProblems.end() ? At->second : String();
}

void TForm1::rowHintShow(THintInfo& Info, bool& CanShow) {
  TListItem* Row = lvFiles->GetItemAt(Info.CursorPos.X, Info.CursorPos.Y);
  const auto At = Row != nullptr ? FRowProblems.find(Row) : FRowProblems.end();
  if (At == FRowProblems.end()) {
    CanShow = false;
    return;
  }
  Info.HintStr = At->second;
  // Moving onto another row asks again.
  const TRect R = Row->DisplayRect(drBounds);
  const TPoint TopLeft = lvFiles->ClientToScreen({R.Left, R.Top});
  Info.CursorRect = Bounds(TopLeft.X, TopLeft.Y, R.Width(), R.Height());
  CanShow = true;
}

void TForm1::bindRowStatus() {
  lvFiles->SetShowHint(true);
  lvFiles->OnCustomDrawSubItem = [this](TCustomListView*, TListItem* Item, Integer SubItem,
                                        TCustomDrawState State, bool& DefaultDraw) {
    if (SubItem != colProgress) return;
    DefaultDraw = false;
    drawProgressCell(Item, State.Contains(cdsSelected));
  };
  TWndMethod ListProc = lvFiles->WindowProc;
  lvFiles->WindowProc = [this, ListProc](TMessage& Message) {
    if (Message.Msg != CM_HINTSHOW) return ListProc(Message);
    bool CanShow = false;
    rowHintShow(*reinterpret_cast<THintInfo*>(Message.LParam), CanShow);
    Message.Result = CanShow ? 0 : 1;
  };
}

void TForm1::showFinishedRow(TListItem* Row) {
  setRowProblem(Row, "");
  SetJobCell(Row, colProgress, "100%");
  // What the file really holds: the last progress report rounds a 3 s clip down to 2 s.
  const String Output = FileOutPutPath + "/" + JobCell(Row, colOutputFile);
  TAVProbe* Probe = ZUVER->AVProbe();
  if (!FileExists(Output) || !Probe->LoadFile(Output)) return;
  const Int64 Duration = Probe->FileStreamInfo().Duration;
  if (Duration > 0) SetJobCell(Row, colCurrentTime, SecToDate(Integer((Duration + 500000) / 1000000)));
  SetJobCell(Row, colConvertedSize, FileSizeText(Probe->FileSize()));
  Probe->CloseFile();
}
