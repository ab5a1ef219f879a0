// The list view's column header, taken over: its window procedure is replaced so that the list view
// paints every section and the strip right of the last one (from a skin button element, or a flat
// default look) and keeps the pressed section; sizing, dragging and clicks stay with the header.
#include <algorithm>
#include <vector>

#include "skin/controls/views/bsskinlistview.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskinrecordsbuttons.h"

namespace {

constexpr TColor PressedFrame = TColor(59 | (107 << 8) | (183 << 16));
constexpr TColor PressedFill = TColor(162 | (188 << 8) | (228 << 16));
constexpr Integer CaptionMargin = 5;
constexpr Integer ImageGap = 10;

bool isZero(const TPoint& P) {
  return P.X == 0 && P.Y == 0;
}

}  // namespace

void TbsSkinCustomListView::subclassHeader(HWND Header) {
  FHeaderHandle = Header;
  FDefHeaderProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(Header, GWL_WNDPROC));
  SetWindowLongPtr(Header, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FHeaderInstance));
}

void TbsSkinCustomListView::releaseHeader() {
  if (FHeaderHandle == nullptr) return;
  if (IsWindow(FHeaderHandle) && FDefHeaderProc)
    SetWindowLongPtr(FHeaderHandle, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FDefHeaderProc));
  FHeaderHandle = nullptr;
  FDefHeaderProc = nullptr;
  FActiveSection = -1;
  FHeaderDown = FDevDown = false;
}

void TbsSkinCustomListView::HeaderWndProc(TMessage& Message) {
  HWND Header = FHeaderHandle;
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGING: {
      // Wider than the list, so the header's right end never shows inside it.
      auto* Pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
      if (Pos && !(Pos->flags & SWP_NOSIZE)) Pos->cx += 25;
      return;
    }
    case WM_PAINT:
      PaintHeader(reinterpret_cast<HDC>(Message.WParam));
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    default:
      break;
  }
  WNDPROC Def = FDefHeaderProc;
  Message.Result = CallWindowProc(Def, Header, Message.Msg, Message.WParam, Message.LParam);
  switch (Message.Msg) {
    case WM_NCDESTROY:
      // The header went with its list (a view change or a new window): forget it.
      if (FHeaderHandle == Header) {
        FHeaderHandle = nullptr;
        FDefHeaderProc = nullptr;
      }
      return;
    case WM_MOUSEMOVE:
      if (FDevDown) RedrawWindow(Header, nullptr, nullptr, RDW_INVALIDATE);
      break;
    case WM_LBUTTONDOWN: {
      const TPoint P = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      FActiveSection = -1;
      for (Integer i = 0; i < Columns()->Count(); ++i) {
        TRect R;
        GetHeaderSectionRect(i, R);
        if (PtInRect(&R, P)) {
          FActiveSection = i;
          break;
        }
      }
      HDHITTESTINFO Info;
      Info.pt = P;
      SendMessage(Header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&Info));
      FDevDown = Info.flags == HHT_ONDIVIDER;
      FHeaderDown = !FDevDown;
      RedrawWindow(Header, nullptr, nullptr, RDW_INVALIDATE);
      break;
    }
    case WM_LBUTTONUP:
      FHeaderDown = false;
      FDevDown = false;
      FActiveSection = -1;
      RedrawWindow(Header, nullptr, nullptr, RDW_INVALIDATE);
      break;
    default:
      break;
  }
}

void TbsSkinCustomListView::GetHeaderSectionRect(Integer Index, TRect& R) {
  R = Rect(0, 0, 0, 0);
  if (FHeaderHandle == nullptr) return;
  Integer Item = Index;
  if (FullDrag()) {
    const Integer Count = Columns()->Count();
    std::vector<Integer> Order(size_t(std::max(Count, 1)));
    if (Count > 0 &&
        SendMessage(FHeaderHandle, HDM_GETORDERARRAY, WPARAM(Count),
                    reinterpret_cast<LPARAM>(Order.data())) &&
        Index >= 0 && Index < Count)
      Item = Order[Index];
  }
  SendMessage(FHeaderHandle, HDM_GETITEMRECT, WPARAM(Item), reinterpret_cast<LPARAM>(&R));
}

void TbsSkinCustomListView::GetHeaderSkinData() {
  if (FSD == nullptr || FSD->Empty) {
    FHIndex = -1;
  } else {
    FHIndex = FSD->GetControlIndex(FHeaderSkinDataName);
    if (FHIndex == -1) FHIndex = FSD->GetControlIndex("resizetoolbutton");
  }
  if (FHIndex == -1) return;
  auto* B = dynamic_cast<TbsDataSkinButtonControl*>(FSD->Ctrls(FHIndex));
  if (B == nullptr) {
    HPicture = nullptr;
    return;
  }
  HLTPt = B->LTPoint;
  HRTPt = B->RTPoint;
  HLBPt = B->LBPoint;
  HRBPt = B->RBPoint;
  HSkinRect = B->SkinRect;
  HClRect = B->ClRect;
  HStretchEffect = B->StretchEffect;
  HLeftStretch = B->LeftStretch;
  HTopStretch = B->TopStretch;
  HRightStretch = B->RightStretch;
  HBottomStretch = B->BottomStretch;
  HStretchType = B->StretchType;
  HPicture =
      B->PictureIndex >= 0 && B->PictureIndex < FSD->PictureCount() ? FSD->Picture(B->PictureIndex) : nullptr;
  HFontColor = B->FontColor;
  HActiveFontColor = B->ActiveFontColor;
  HDownFontColor = B->DownFontColor;
  HActiveSkinRect = B->ActiveSkinRect;
  HDownSkinRect = B->DownSkinRect;
  if (IsEmptyRect(HActiveSkinRect)) HActiveSkinRect = HSkinRect;
  if (IsEmptyRect(HDownSkinRect)) HDownSkinRect = HActiveSkinRect;
}

void TbsSkinCustomListView::PaintHeader(HDC DC) {
  HWND Header = FHeaderHandle;
  if (Header == nullptr) return;
  PAINTSTRUCT PS;
  const bool OwnPaint = DC == nullptr;
  if (OwnPaint) DC = BeginPaint(Header, &PS);
  if (DC == nullptr) return;
  TCanvas C;
  C.SetHandle(DC);
  Integer Right = 0;
  const Integer Count = Integer(SendMessage(Header, HDM_GETITEMCOUNT, 0, 0));
  // With moved columns the section at place i shows the column that is there, not column i.
  const std::vector<Integer> Order = FullDrag() ? ColumnOrder() : std::vector<Integer>();
  for (Integer i = 0; i < Count && i < Columns()->Count(); ++i) {
    TRect R;
    GetHeaderSectionRect(i, R);
    const Integer Shown = i < Integer(Order.size()) ? Order[i] : i;
    DrawHeaderSection(&C, Column(Shown), i == FActiveSection && FHeaderDown, R);
    Right = std::max(Right, R.Right);
  }
  RECT W;
  GetWindowRect(Header, &W);
  const TRect F = Rect(Right, 0, W.Width() + 1, W.Height());
  if (F.Right > F.Left && F.Bottom > F.Top) {
    if (FHIndex == -1 || HPicture == nullptr) {
      C.Brush()->SetStyle(bsSolid);
      C.Brush()->SetColor(clBtnFace);
      C.FillRect(F);
      C.Brush()->SetColor(clBtnShadow);
      C.FrameRect(F);
    } else {
      TBitmap B;
      const Integer W0 = F.Width(), H0 = F.Height();
      if (!isZero(HLBPt)) {
        const Integer dW = W0 - HSkinRect.Width(), dH = H0 - HSkinRect.Height();
        ComposeSkinImageNoRight(HLTPt, HRTPt, HLBPt, HRBPt, HClRect, HLTPt, Point(HRTPt.X + dW, HRTPt.Y),
                                Point(HLBPt.X, HLBPt.Y + dH), Point(HRBPt.X + dW, HRBPt.Y + dH),
                                Rect(HClRect.Left, HClRect.Top, HClRect.Right + dW, HClRect.Bottom + dH), &B,
                                HPicture, HSkinRect, W0, H0, true, HLeftStretch, HTopStretch, HRightStretch,
                                HBottomStretch, HStretchEffect, HStretchType);
        C.Draw(F.Left, F.Top, &B);
      } else {
        ComposeSkinImageHNoRight(HLTPt.X, HSkinRect.Width() - HRTPt.X, &B, HPicture, HSkinRect, W0, H0,
                                 HStretchEffect);
        C.StretchDraw(F, &B);
      }
    }
  }
  C.SetHandle(nullptr);
  if (OwnPaint)
    EndPaint(Header, &PS);
  else
    ReleaseDC(Header, DC);
}

void TbsSkinCustomListView::DrawHeaderSection(TCanvas* Canvas, TListColumn* Column, bool Pressed, TRect R) {
  if (R.Right <= R.Left || R.Bottom <= R.Top) return;
  GetHeaderSkinData();
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(R.Width(), R.Height());
  TCanvas* BC = B.Canvas();
  BC->Font()->Assign(Font());
  if (FHIndex == -1 || HPicture == nullptr) {
    BC->Brush()->SetStyle(bsSolid);
    BC->Brush()->SetColor(Pressed ? PressedFill : TColor(clBtnFace));
    BC->FillRect(Rect(0, 0, R.Width(), R.Height()));
    BC->Brush()->SetColor(Pressed ? PressedFrame : TColor(clBtnShadow));
    BC->FrameRect(Rect(0, 0, R.Width(), R.Height()));
    BC->Font()->SetColor(clBtnText);
  } else {
    const TRect State = Pressed ? HDownSkinRect : HSkinRect;
    BC->Font()->SetColor(Pressed ? HDownFontColor : HFontColor);
    TBitmap Face;
    if (!isZero(HLBPt)) {
      const Integer dW = R.Width() - HSkinRect.Width(), dH = R.Height() - HSkinRect.Height();
      HNewLTPoint = HLTPt;
      HNewRTPoint = Point(HRTPt.X + dW, HRTPt.Y);
      HNewLBPoint = Point(HLBPt.X, HLBPt.Y + dH);
      HNewRBPoint = Point(HRBPt.X + dW, HRBPt.Y + dH);
      HNewClRect = Rect(HClRect.Left, HClRect.Top, HClRect.Right + dW, HClRect.Bottom + dH);
      ComposeSkinImage(HLTPt, HRTPt, HLBPt, HRBPt, HClRect, HNewLTPoint, HNewRTPoint, HNewLBPoint,
                       HNewRBPoint, HNewClRect, &Face, HPicture, State, R.Width(), R.Height(), true,
                       HLeftStretch, HTopStretch, HRightStretch, HBottomStretch, HStretchEffect,
                       HStretchType);
      BC->Draw(0, 0, &Face);
    } else {
      ComposeSkinImageH(HLTPt.X, State.Width() - HRTPt.X, &Face, HPicture, State, R.Width(), R.Height(),
                        HStretchEffect);
      BC->StretchDraw(Rect(0, 0, R.Width(), R.Height()), &Face);
    }
  }
  if (OnDrawHeaderSection) {
    OnDrawHeaderSection(BC, Column, Pressed, Rect(0, 0, R.Width(), R.Height()));
  } else if (Column != nullptr) {
    BC->Brush()->SetStyle(bsClear);
    const TRect Area = Rect(CaptionMargin, 0, R.Width() - CaptionMargin, R.Height());
    String S = Column->Caption();
    Integer X = Area.Left;
    TCustomImageList* Images = SmallImages();
    const bool HasImage = Images && Column->ImageIndex() >= 0 && Column->ImageIndex() < Images->Count();
    if (HasImage) {
      const String Full = S;
      FitTextToWidth(BC, S, Area.Width() - Images->Width() - ImageGap);
      const Integer TW = BC->TextWidth(S);
      if (S == Full) {
        if (Column->Alignment() == taRightJustify)
          X = Area.Right - TW - Images->Width() - ImageGap;
        else if (Column->Alignment() == taCenter)
          X = (Area.Left + Area.Right) / 2 - (TW + Images->Width() + ImageGap) / 2;
      }
      Images->Draw(BC, X, (R.Height() - Images->Height()) / 2, Column->ImageIndex());
      X += Images->Width() + ImageGap;
    } else {
      FitTextToWidth(BC, S, Area.Width());
      const Integer TW = BC->TextWidth(S);
      if (Column->Alignment() == taRightJustify)
        X = Area.Right - TW;
      else if (Column->Alignment() == taCenter)
        X = (Area.Left + Area.Right) / 2 - TW / 2;
    }
    const Integer TH = BC->TextHeight(S);
    Integer Y = (R.Height() - TH) / 2;
    if (std::abs(BC->Font()->Height()) % 2 != 0) --Y;  // one pixel higher for an odd font height
    BC->TextRect(Area, X, Y, S);
  }
  Canvas->Draw(R.Left, R.Top, &B);
}
