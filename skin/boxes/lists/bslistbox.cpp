// The inner list of the skinned list box: window shape, input hooks, and every pixel it paints.
#include <algorithm>
#include <climits>
#include <vector>

#include "platform/gdi/text.h"
#include "skin/boxes/lists/bsskinlistbox.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsglyphs.h"
#include "skin/core/bsmessages.h"
#include "skin/core/bsskindata.h"

namespace {
constexpr Integer MaxTabStops = 10;
}  // namespace

Integer ParseTabStop(const String& S) {
  if (S.empty()) return 0;
  int64_t V = 0;
  for (char C : S) {
    if (C < '0' || C > '9') return 0;
    V = V * 10 + (C - '0');
    if (V > INT32_MAX) return 0;
  }
  return Integer(V);
}

TbsListBox::TbsListBox(TComponent* AOwner) : TListBox(AOwner) {
  FControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks};
}

void TbsListBox::SetHorizontalExtentValue(Integer Value) {
  FHorizontalExtentValue = std::max(0, Value);
}

Integer TbsListBox::ownerIndex() const {
  return SkinListBox ? SkinListBox->SkinIndex() : -1;
}

void TbsListBox::CreateParams(TCreateParams& Params) {
  TListBox::CreateParams(Params);
  Params.Style &= ~DWORD(WS_BORDER);
  Params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
  Params.WindowClass.style = CS_DBLCLKS;
  Params.Style |= WS_TABSTOP;
}

void TbsListBox::CreateWnd() {
  TListBox::CreateWnd();
  if (SkinListBox) SkinListBox->ListBoxCreateWnd();
}

void TbsListBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const Integer OldWidth = Width();
  TListBox::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Width() != OldWidth && FHorizontalExtentValue > 0) {
    // A wider list scrolls back by what it grew.
    FHorizontalExtentValue = std::max(0, FHorizontalExtentValue + OldWidth - Width());
    Invalidate();
  }
}

TOwnerDrawState TbsListBox::GetItemState(Integer Index) {
  TOwnerDrawState S;
  if (Index == ItemIndex()) {
    S.Include(odSelected);
    if (Focused()) S.Include(odFocused);
  } else if (SelCount() >= 1 && Selected(Index)) {
    S.Include(odSelected);
  }
  return S;
}

// ---- messages ----

void TbsListBox::WndProc(TMessage& Message) {
  if (SkinListBox) {
    bool PassOn = true;
    SkinListBox->ListBoxWProc(Message, PassOn);
    if (!PassOn) return;
  }
  TListBox::WndProc(Message);
  if (SkinListBox == nullptr) return;
  switch (Message.Msg) {
    case WM_ERASEBKGND:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
      SkinListBox->UpDateScrollBar();
      break;
    case WM_LBUTTONDBLCLK:
      SkinListBox->ListBoxDblClick();
      break;
    case WM_MOUSEWHEEL:
      if (SkinListBox->ScrollBar) {
        const bool Up = GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0;
        Perform(WM_VSCROLL, Up ? SB_LINEUP : SB_LINEDOWN, 0);
        SkinListBox->UpDateScrollBar();
      } else if (TbsSkinScrollBar* H = SkinListBox->HScrollBar) {
        const bool Left = int32_t(uint32_t(Message.WParam)) > 0;
        H->SetPosition(H->Position() + (Left ? -H->SmallChange() : H->SmallChange()));
      }
      break;
    case CN_PAINTLISTBACKGROUND:
      if (Message.LParam == PaintNCNotifyCode && Count() == 0) {
        if (Message.WParam != 0) PaintBackground(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = PaintNCNotifyCode;
      }
      break;
    default:
      break;
  }
}

void TbsListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      // The platform list's own painting is never used.
      PaintHandler(Message);
      return;
    case WM_ERASEBKGND:
      if (Width() > 0 && Height() > 0) PaintBackground(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case WM_NCCALCSIZE:
      Message.Result = 0;
      return;
    case WM_NCHITTEST:
      Message.Result = HTCLIENT;
      return;
    case CM_PAINTNC:
      Message.Result = PaintNCDone;
      return;
    case CN_DRAWITEM: {
      auto* DIS = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
      TOwnerDrawState State;
      if (DIS->itemState & ODS_SELECTED) State.Include(odSelected);
      if (DIS->itemState & ODS_FOCUS) State.Include(odFocused);
      if (DIS->itemState & ODS_DISABLED) State.Include(odDisabled);
      TCanvas* C = Canvas();
      C->SetHandle(DIS->hDC);
      C->Font()->Assign(Font());
      C->Brush()->SetColor(Color());
      try {
        DrawItemAs(C, Integer(DIS->itemID), DIS->rcItem, State);
      } catch (...) {
        C->SetHandle(nullptr);
        throw;
      }
      C->SetHandle(nullptr);
      Message.Result = 1;
      return;
    }
    default:
      break;
  }
  TListBox::Dispatch(Message);
}

// ---- input hooks: the owner first, then the list's own processing ----

void TbsListBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (SkinListBox) SkinListBox->ListBoxMouseDown(Button, Shift, X, Y);
  TListBox::MouseDown(Button, Shift, X, Y);
}

void TbsListBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (SkinListBox) SkinListBox->ListBoxMouseUp(Button, Shift, X, Y);
  TListBox::MouseUp(Button, Shift, X, Y);
}

void TbsListBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (SkinListBox) SkinListBox->ListBoxMouseMove(Shift, X, Y);
  TListBox::MouseMove(Shift, X, Y);
}

void TbsListBox::KeyDown(Word& Key, TShiftState Shift) {
  if (SkinListBox) {
    SkinListBox->ListBoxKeyDown(Key, Shift);
    if (TbsSkinScrollBar* H = SkinListBox->HScrollBar) {
      if (Key == VK_LEFT) {
        H->SetPosition(H->Position() - H->SmallChange());
        Key = 0;
      } else if (Key == VK_RIGHT) {
        H->SetPosition(H->Position() + H->SmallChange());
        Key = 0;
      }
    }
  }
  TListBox::KeyDown(Key, Shift);
}

void TbsListBox::KeyUp(Word& Key, TShiftState Shift) {
  if (SkinListBox) SkinListBox->ListBoxKeyUp(Key, Shift);
  TListBox::KeyUp(Key, Shift);
}

void TbsListBox::KeyPress(char32_t& Key) {
  if (SkinListBox) SkinListBox->ListBoxKeyPress(Key);
  TListBox::KeyPress(Key);
}

void TbsListBox::Click() {
  if (SkinListBox) SkinListBox->ListBoxClick();
  TListBox::Click();
}

void TbsListBox::CMEnter(TMessage& Message) {
  if (SkinListBox) SkinListBox->ListBoxEnter();
  TListBox::CMEnter(Message);
}

void TbsListBox::CMExit(TMessage& Message) {
  if (SkinListBox) SkinListBox->ListBoxExit();
  TListBox::CMExit(Message);
}

// ---- painting ----

void TbsListBox::PaintWindow(HDC DC) {
  if (Width() <= 0 || Height() <= 0) return;
  const Integer Saved = SaveDC(DC);
  try {
    if (Columns() <= 0)
      PaintRows(DC);
    else
      PaintColumns(DC);
  } catch (...) {
    RestoreDC(DC, Saved);
    throw;
  }
  RestoreDC(DC, Saved);
}

void TbsListBox::PaintRows(HDC DC) {
  TCanvas C;
  C.SetHandle(DC);
  const Integer IH = std::max(1, ItemHeight());
  const Integer Last = std::min(TopIndex() + Height() / IH, Count() - 1);
  Integer Bottom = 0;
  for (Integer I = TopIndex(); I <= Last; ++I) {
    const TRect R = ItemRect(I);
    DrawItemAs(&C, I, R, GetItemState(I));
    Bottom = R.Bottom;
  }
  if (Bottom < Height()) {
    if (SkinListBox) SkinListBox->GetSkinData();
    if (ownerIndex() == -1) {
      C.Brush()->SetStyle(bsSolid);
      C.Brush()->SetColor(clWindow);
      C.FillRect(Rect(0, Bottom, Width(), Height()));
    } else {
      DrawSkinBackground(&C, Width(), Height() - Bottom, 0, Bottom);
    }
  }
  C.SetHandle(nullptr);
}

void TbsListBox::PaintColumns(HDC DC) {
  TCanvas C;
  C.SetHandle(DC);
  const Integer IH = std::max(1, ItemHeight());
  const Integer Last = std::min(TopIndex() + (Height() / IH) * Columns(), Count() - 1);
  for (Integer I = TopIndex(); I <= Last; ++I) DrawItemAs(&C, I, ItemRect(I), GetItemState(I));
  C.SetHandle(nullptr);
}

void TbsListBox::PaintBackground(HDC DC) {
  if (SkinListBox) SkinListBox->GetSkinData();
  TCanvas C;
  C.SetHandle(DC);
  if (ownerIndex() == -1) {
    C.Brush()->SetStyle(bsSolid);
    C.Brush()->SetColor(clWindow);
    C.FillRect(Rect(0, 0, Width(), Height()));
  } else {
    DrawSkinBackground(&C, Width(), Height(), 0, 0);
  }
  C.SetHandle(nullptr);
}

void TbsListBox::DrawSkinBackground(TCanvas* Cnvs, Integer AWidth, Integer AHeight, Integer X, Integer Y) {
  TbsSkinCustomListBox* O = SkinListBox;
  if (O == nullptr || O->Picture == nullptr || AWidth <= 0 || AHeight <= 0) return;
  const Integer TW = RectWidth(O->ClRect), TH = RectHeight(O->ClRect);
  TBitmap B;
  B.SetSize(AWidth, AHeight);
  if (TW <= 0 || TH <= 0) {
    // No client tile to repeat: the window colour.
    B.Canvas()->Brush()->SetColor(clWindow);
    B.Canvas()->FillRect(Rect(0, 0, AWidth, AHeight));
  } else {
    const Integer SX = O->SkinRect.Left + O->ClRect.Left, SY = O->SkinRect.Top + O->ClRect.Top;
    for (Integer Col = 0; Col <= AWidth / TW; ++Col)
      for (Integer Row = 0; Row <= AHeight / TH; ++Row) {
        const Integer DX = Col * TW, DY = Row * TH;
        // A tile past the edge is cut, never scaled.
        const Integer W = std::min(TW, AWidth - DX), H = std::min(TH, AHeight - DY);
        if (W <= 0 || H <= 0) continue;
        B.Canvas()->CopyRect(Bounds(DX, DY, W, H), O->Picture->Canvas(), Bounds(SX, SY, W, H));
      }
  }
  Cnvs->Draw(X, Y, &B);
}

void TbsListBox::DrawItemAs(TCanvas* Cnvs, Integer Index, const TRect& R, TOwnerDrawState State) {
  if (ownerIndex() == -1)
    DrawDefaultItem(Cnvs, Index, R, State);
  else if (SkinListBox->UseSkinItemHeight())
    DrawSkinItem(Cnvs, Index, R, State);
  else
    DrawStretchedSkinItem(Cnvs, Index, R, State);
}

void TbsListBox::setItemCharset(TFont* F) {
  TbsSkinData* SD = SkinListBox ? SkinListBox->SkinData() : nullptr;
  if (SD != nullptr && SD->ResourceStrData() != nullptr)
    F->SetCharset(SD->ResourceStrData()->CharSet());
  else
    F->SetCharset(SkinListBox ? SkinListBox->DefaultFont()->Charset() : Font()->Charset());
}

void TbsListBox::drawItemContents(TBitmap* B, Integer Index, const TRect& TR, TOwnerDrawState State) {
  TCanvas* C = B->Canvas();
  TbsSkinCustomListBox* O = SkinListBox;
  if (O && O->OnDrawItem) {
    O->OnDrawItem(C, Index, B->Width(), B->Height(), TR, State);
    return;
  }
  C->Brush()->SetStyle(bsClear);
  Integer Indent = 0;
  if (O && O->Images()) {
    TCustomImageList* IL = O->Images();
    const Integer ImgIndex = O->ImageIndex() > -1 ? O->ImageIndex() : Index;
    if (ImgIndex < IL->Count())
      IL->Draw(C, TR.Left - FHorizontalExtentValue, TR.Top + RectHeight(TR) / 2 - IL->Height() / 2, ImgIndex,
               true);
    Indent = IL->Width() + 2;
  }
  const String Text = Items()->Strings(Index);
  if (O && O->TabWidths()->Count() > 0 && Columns() == 0)
    DrawTabbedText(Text, O->TabWidths(), Indent, TR, C);
  else
    TextRectLeftIndent(C, Text, TR, Indent - FHorizontalExtentValue);
}

void TbsListBox::DrawDefaultItem(TCanvas* Cnvs, Integer Index, const TRect& R, TOwnerDrawState State) {
  if (Index < 0 || Index > Count() - 1) return;
  TBitmap B;
  B.SetSize(RectWidth(R), RectHeight(R));
  TCanvas* C = B.Canvas();
  TFont* OwnerFont = SkinListBox ? SkinListBox->Font() : Font();
  C->Font()->SetName(OwnerFont->Name());
  C->Font()->SetStyle(OwnerFont->Style());
  C->Font()->SetHeight(OwnerFont->Height());
  setItemCharset(C->Font());
  if (State.Contains(odSelected)) {
    C->Brush()->SetColor(clHighlight);
    C->Font()->SetColor(clHighlightText);
  } else {
    C->Brush()->SetColor(clWindow);
    C->Font()->SetColor(OwnerFont->Color());
  }
  C->FillRect(Rect(0, 0, B.Width(), B.Height()));
  const TRect TR = Rect(2, 0, B.Width() - 2, B.Height());
  drawItemContents(&B, Index, TR, State);
  if (State.Contains(odFocused)) {
    C->Brush()->SetStyle(bsSolid);
    C->DrawFocusRect(Rect(0, 0, B.Width(), B.Height()));
  }
  Cnvs->Draw(R.Left, R.Top, &B);
}

void TbsListBox::finishSkinItem(TBitmap* B, Integer Index, const TRect& TR, TOwnerDrawState State,
                                TColor TextColor) {
  TbsSkinCustomListBox* O = SkinListBox;
  TCanvas* C = B->Canvas();
  if (O->UseSkinFont()) {
    C->Font()->SetName(O->FontName);
    C->Font()->SetStyle(O->FontStyle);
    C->Font()->SetHeight(O->FontHeight);
  } else {
    C->Font()->Assign(O->DefaultFont());
  }
  setItemCharset(C->Font());
  C->Font()->SetColor(TextColor);
  if (State.Contains(odFocused) && O->ShowFocus && !O->OnDrawItem)
    DrawDottedFocusRect(C, Rect(0, 0, B->Width(), B->Height()));
  drawItemContents(B, Index, TR, State);
}

void TbsListBox::DrawSkinItem(TCanvas* Cnvs, Integer Index, const TRect& R, TOwnerDrawState State) {
  TbsSkinCustomListBox* O = SkinListBox;
  if (Index < 0 || Index > Count() - 1 || O == nullptr || O->Picture == nullptr) return;
  const Integer RW = RectWidth(R);
  const bool Focus = State.Contains(odFocused), Sel = State.Contains(odSelected);
  TRect Source = O->SItemRect;
  bool Stretch = O->StretchEffect;
  TColor TextColor = O->FontColor;
  if (Focus && Sel) {
    Source = O->FocusItemRect;
    TextColor = O->FocusFontColor;
  } else if (Sel) {
    Source = O->ActiveItemRect;
    TextColor = O->ActiveFontColor;
  } else if (!Focus) {
    Stretch = false;
  }
  TBitmap B;
  ComposeSkinImageH(O->ItemLeftOffset, O->ItemRightOffset, &B, O->Picture, Source, RW,
                    RectHeight(O->SItemRect), Stretch);
  TCanvas* C = B.Canvas();
  if (Focus && !Sel) {
    C->Font()->SetColor(clWindowText);
    DrawDottedFocusRect(C, Rect(0, 0, B.Width(), B.Height()));
  }
  TRect TR = O->ItemTextRect;
  TR.Right += RW - RectWidth(O->SItemRect);
  finishSkinItem(&B, Index, TR, State, TextColor);
  Cnvs->Draw(R.Left, R.Top, &B);
}

void TbsListBox::DrawStretchedSkinItem(TCanvas* Cnvs, Integer Index, const TRect& R, TOwnerDrawState State) {
  TbsSkinCustomListBox* O = SkinListBox;
  if (Index < 0 || Index > Count() - 1 || O == nullptr || O->Picture == nullptr) return;
  const bool Focus = State.Contains(odFocused), Sel = State.Contains(odSelected);
  const TRect Source = Focus ? O->FocusItemRect : Sel ? O->ActiveItemRect : O->SItemRect;
  const TColor TextColor = Focus ? O->FocusFontColor : Sel ? O->ActiveFontColor : O->FontColor;
  TBitmap B;
  B.SetSize(RectWidth(R), RectHeight(R));
  TRect Corners = O->ItemTextRect;
  InflateRect(&Corners, -1, -1);
  ComposeStretchedSkinImage(&B, O->Picture, Source, Corners, true);
  TRect TR = O->ItemTextRect;
  TR.Right += RectWidth(R) - RectWidth(O->SItemRect);
  TR.Bottom += RectHeight(R) - RectHeight(O->SItemRect);
  finishSkinItem(&B, Index, TR, State, TextColor);
  Cnvs->Draw(R.Left, R.Top, &B);
}

void TbsListBox::DrawTabbedText(const String& Text, TStrings* TabWidths, Integer Indent, const TRect& TR,
                                TCanvas* Cnvs) {
  const Integer N = std::min(TabWidths->Count(), MaxTabStops);
  std::vector<Integer> Stops(size_t(std::max(N, 1)), 0);
  for (Integer I = 0; I < N; ++I) Stops[size_t(I)] = ParseTabStop(TabWidths->Strings(I));
  const Integer X = TR.Left + Indent + 2;
  Integer Y = TR.Top + RectHeight(TR) / 2 - Cnvs->TextHeight(Text) / 2;
  if (Cnvs->Font()->Height() % 2 != 0) --Y;
  HDC DC = Cnvs->Handle();
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, ColorToRGB(Cnvs->Font()->Color()));
  TabbedTextOut(DC, X, Y, Text, N, Stops.data(), 0);
}
