#include "platform/ui/stdctrls/memo.h"

#include <algorithm>

#include "platform/rtl/strings.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/stdctrls/stdlook.h"

namespace {
constexpr Integer Padding = 4;         // between the border and the text
constexpr Integer IndicatorWidth = 4;  // the scroll position mark at the right edge

// A line that the text gives back unchanged when it is split again.
bool IsPlainLine(const String& S) {
  if (S.find_first_of(String("\r\n\0", 3)) != String::npos) return false;
  return Utf32ToUtf8(Utf8ToUtf32(S)) == S;
}
}  // namespace

// Lines that know whether they only grew at the end since the memo's text last matched them.
class TMemoStrings : public TStringList {
 public:
  // Lines [SyncedCount(), Count()) are new; none of the lines before them changed.
  bool OnlyAppended() const { return FOnlyAppended; }
  Integer SyncedCount() const { return FSyncedCount; }
  void MarkSynced() {
    FOnlyAppended = true;
    FSyncedCount = Count();
  }

 protected:
  void InsertItem(Integer Index, const String& S, TObject* AObject) override {
    FAppending = Index == Count();
    TStringList::InsertItem(Index, S, AObject);
    FAppending = false;
  }
  void Changing() override {
    if (!FAppending) FOnlyAppended = false;
    TStringList::Changing();
  }

 private:
  bool FAppending = false;
  bool FOnlyAppended = true;
  Integer FSyncedCount = 0;
};

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>()) {
  FControlStyle.Exclude(csFixedHeight);
  FAutoSize = false;
  FWidth = 185;
  FHeight = 89;
  FBuffer.SetMultiline(true);
  SetAutoSelect(false);
  SetWrapping(FWordWrap);
  FLines->OnChange = [this](TObject* Sender) { linesChanged(Sender); };
}

TCustomMemo::~TCustomMemo() {
  FLines->OnChange = nullptr;
}

TStrings* TCustomMemo::Lines() const {
  return FLines.get();
}

void TCustomMemo::SetLines(TStrings* Value) {
  FLines->Assign(Value);
}

void TCustomMemo::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE;
  if (FWantReturns) Params.Style |= ES_WANTRETURN;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if ((FScrollBars == ssHorizontal || FScrollBars == ssBoth) && !FWordWrap) Params.Style |= WS_HSCROLL;
  if (FWordWrap) Params.Style &= ~ES_AUTOHSCROLL;
}

void TCustomMemo::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  SetWrapping(Value);
  if (HandleAllocated()) RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomMemo::WndProc(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    TCustomEdit::WndProc(Message);
    if (FWantTabs) Message.Result |= DLGC_WANTTAB;
    if (!FWantReturns) Message.Result &= ~DLGC_WANTALLKEYS;
    return;
  }
  if (Message.Msg == WM_CHAR &&
      ((Message.WParam == '\t' && !FWantTabs) || (Message.WParam == '\r' && !FWantReturns)))
    return;
  TCustomEdit::WndProc(Message);
}

void TCustomMemo::SetTopLine(Integer Value) {
  SendMessage(Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, std::max(0, Value)), 0);
}

void TCustomMemo::ScrollToEnd() {
  SendMessage(Handle(), WM_VSCROLL, SB_BOTTOM, 0);
}

TRect TCustomMemo::LineRect(Integer Index) {
  const TRect Area = FormatRect();
  const Integer H = LineHeight();
  const Integer Start = FBuffer.LineStart(Index);
  const Integer Row = Start < 0 ? RowCount() + Index - FBuffer.LineCount() : RowFromChar(Start);
  const Integer Top = Area.Top + (Row - TopLine()) * H;
  return Rect(Area.Left, Top, Area.Right, Top + H);
}

void TCustomMemo::linesChanged(TObject*) {
  if (FSyncing) return;
  FSyncing = true;
  bool Appended = false;
  try {
    Appended = appendNewLines();
  } catch (...) {
    FSyncing = false;  // an OnChange handler raised: the memo still follows Lines afterwards
    throw;
  }
  FSyncing = false;
  if (Appended) return;
  // Lines joined by line breaks, without one after the last line.
  String S = FLines->Text();
  if (!S.empty() && S.back() == '\n') S.pop_back();
  if (S.size() >= 1 && S.back() == '\r') S.pop_back();
  FSyncing = true;
  const bool Changed = FBuffer.SetText(S);
  FSyncing = false;
  FBuffer.MoveTo(FBuffer.Length(), false);
  TextReplaced(Changed);
  FLines->MarkSynced();
}

bool TCustomMemo::appendNewLines() {
  const Integer From = FLines->SyncedCount(), To = FLines->Count();
  if (!FLines->OnlyAppended() || From >= To) return false;
  String Tail;
  for (Integer I = From; I < To; ++I) {
    const String Line = FLines->Strings(I);
    if (!IsPlainLine(Line)) return false;
    // The text holds the lines joined by line breaks: a break before each line but the first.
    if (I > 0) Tail += '\n';
    Tail += Line;
  }
  FLines->MarkSynced();
  // Lines and the text agree already, so the change that follows leaves Lines alone (FSyncing).
  AppendText(Tail);
  return true;
}

void TCustomMemo::Change() {
  if (!FSyncing) {
    FSyncing = true;
    // A list's text drops one line break at its end, so a last empty line needs its own.
    String S = FBuffer.Text();
    if (!S.empty() && S.back() == '\n') S += "\n";
    FLines->SetText(S);
    FLines->MarkSynced();
    FSyncing = false;
  }
  TCustomEdit::Change();
}

// ---- the product look ----

TMemo::TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {
  SetBorderStyle(bsNone);
  FColor = stdlook::Surface;
  SetEditColors(ColorToRGB(stdlook::Text), ColorToRGB(stdlook::Surface));
}

TRect TMemo::DefaultFormatRect() const {
  const TRect Client = TCustomMemo::DefaultFormatRect();
  return Rect(Padding, Padding, std::max(Padding, Client.Right - Padding - IndicatorWidth),
              std::max(Padding, Client.Bottom - Padding));
}

void TMemo::WndProc(TMessage& Message) {
  // Read-only or not, the memo keeps its white face (the platform would grey a read-only one).
  TCustomMemo::WndProc(Message);
  if (Message.Msg == WM_SETFOCUS || Message.Msg == WM_KILLFOCUS) Invalidate();
}

void TMemo::PaintFrame(HDC DC) {
  TCanvas C;
  C.SetHandle(DC);
  const TRect Client = ClientRect();
  const bool HasFocus = HandleAllocated() && GetFocus() == FHandle;
  const TColor Fill = FEnabled ? stdlook::Surface : stdlook::WindowBack;
  C.Brush()->SetColor(HasFocus ? stdlook::Accent : stdlook::FaceBorder);
  C.FrameRect(Client);
  if (HasFocus) stdlook::FocusRing(&C, Client);
  // Where the view stands in the text, when not everything fits.
  const Integer Count = RowCount(), Visible = VisibleLineCount();
  if (Count > Visible) {
    const Integer Track = Client.Height() - 4;
    const Integer Thumb = std::max(8, Track * Visible / Count);
    const Integer Top = 2 + (Track - Thumb) * TopLine() / std::max(1, Count - Visible);
    stdlook::RoundedBox(&C, Rect(Client.Right - 2 - IndicatorWidth, Top, Client.Right - 2, Top + Thumb),
                        stdlook::FaceBorder, clNone, Fill);
  }
  C.SetHandle(nullptr);
}
