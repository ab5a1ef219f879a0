#include "skin/menus/bsskinmenuitem.h"

#include <map>
#include <memory>

#include "platform/ui/graphics/imagelist.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bseffectbmp.h"
#include "skin/core/bsglyphs.h"
#include "skin/core/bsskindata.h"
#include "skin/core/bsskinrecordsbuttons.h"
#include "skin/menus/bsskinmenu.h"
#include "skin/menus/bsskinpopupwindow.h"

namespace {

// DT_CENTER | DT_VCENTER, the flags every caption of an entry is drawn with.
constexpr Cardinal CaptionFlags = 5;

std::map<TMenuItem*, TbsSkinMenuItemDrawEvent>& drawHandlers() {
  static std::map<TMenuItem*, TbsSkinMenuItemDrawEvent> Handlers;
  return Handlers;
}

bool oddFontHeight(TCanvas* C) {
  return C->Font()->Height() % 2 != 0;
}

std::unique_ptr<TBitmap> newBitmap(Integer W, Integer H) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W > 0 ? W : 0, H > 0 ? H : 0);
  return B;
}

// The header element of the skin: "menuheader", else "label".
TbsDataSkinLabelControl* headerElement(TbsSkinData* SD) {
  if (SD == nullptr) return nullptr;
  Integer i = SD->GetControlIndex("menuheader");
  if (i == -1) i = SD->GetControlIndex("label");
  if (i == -1) return nullptr;
  return dynamic_cast<TbsDataSkinLabelControl*>(SD->Ctrls(i));
}

TBitmap* skinPicture(TbsSkinData* SD, Integer Index) {
  if (SD == nullptr || Index < 0 || Index >= SD->PictureCount()) return nullptr;
  return SD->Picture(Index);
}

String headerCaption(const String& Caption) {
  return Caption.size() >= 2 ? Caption.substr(1, Caption.size() - 2) : String();
}

}  // namespace

void SetSkinMenuItemDrawHandler(TMenuItem* Item, TbsSkinMenuItemDrawEvent Handler) {
  if (Handler)
    drawHandlers()[Item] = std::move(Handler);
  else
    drawHandlers().erase(Item);
}

TbsSkinMenuItemDrawEvent SkinMenuItemDrawHandler(TMenuItem* Item) {
  auto It = drawHandlers().find(Item);
  return It == drawHandlers().end() ? TbsSkinMenuItemDrawEvent() : It->second;
}

TbsMenuEntryKind MenuEntryKindOf(TMenuItem* Item) {
  const String& C = Item->Caption();
  if (C == "-") return TbsMenuEntryKind::Separator;
  if (C.size() >= 2 && C.front() == '-' && C.back() == '-' && !Item->Enabled())
    return TbsMenuEntryKind::Header;
  return TbsMenuEntryKind::Command;
}

void DrawRadioMark(TCanvas* Cnvs, Integer X, Integer Y, TColor Color) {
  // The filled circle of a 6 x 6 box: full rows in the middle, the corners cut.
  Cnvs->Brush()->SetStyle(bsSolid);
  Cnvs->Brush()->SetColor(Color);
  Cnvs->FillRect(Rect(X + 1, Y, X + 5, Y + 6));
  Cnvs->FillRect(Rect(X, Y + 1, X + 6, Y + 5));
}

void DrawSubMenuArrow(TCanvas* Cnvs, Integer X, Integer Y, TColor Color) {
  Cnvs->Pen()->SetColor(Color);
  for (Integer i = 0; i <= 3; ++i) {
    Cnvs->MoveTo(X + i, Y + i);
    Cnvs->LineTo(X + i, Y + 7 - i);
  }
}

TbsSkinMenuItem::TbsSkinMenuItem(TbsSkinPopupWindow* AParent, TMenuItem* AMenuItem,
                                 TbsDataSkinMenuItem* AData)
    : Parent(AParent), MI(AData), MenuItem(AMenuItem) {
  if (AData == nullptr) return;
  TbsSkinData* SD = AParent != nullptr ? AParent->SD : nullptr;
  ActivePicture = skinPicture(SD, AData->ActivePictureIndex);
  if (ActivePicture == nullptr) {
    AData->SkinRect = TRect{};
    AData->ActiveSkinRect = TRect{};
  }
}

bool TbsSkinMenuItem::EnableMorphing() const {
  TbsSkinData* SD = Parent->SD;
  return MI != nullptr && MI->Morphing && SD != nullptr && !SD->Empty && SD->EnableSkinEffects();
}

bool TbsSkinMenuItem::EnableAnimation() const {
  TbsSkinData* SD = Parent->SD;
  return MI != nullptr && !IsEmptyRect(MI->AnimateSkinRect) && SD != nullptr && !SD->Empty &&
         SD->EnableSkinEffects();
}

bool TbsSkinMenuItem::CanMorphing() {
  if (!FVisible && FMorphKf != 0) {
    Active = false;
    Down = false;
    FMorphKf = 0;
  }
  const bool H = Highlighted();
  return FVisible && ((H && FMorphKf < 1) || (!H && FMorphKf > 0));
}

void TbsSkinMenuItem::SetMorphKf(double Value) {
  FMorphKf = Value < 0 ? 0 : (Value > 1 ? 1 : Value);
}

void TbsSkinMenuItem::DoMorphing() {
  SetMorphKf(Highlighted() ? FMorphKf + 0.2 : FMorphKf - 0.2);
  Draw(Parent->Canvas());
}

void TbsSkinMenuItem::ReDraw() {
  if (EnableAnimation()) {
    if (Parent->MorphTimer->Interval() != Cardinal(MI->AnimateInterval))
      Parent->MorphTimer->SetInterval(Cardinal(MI->AnimateInterval));
    if (MI->InActiveAnimation || Active) {
      Parent->MorphTimer->SetEnabled(true);
    } else {
      CurrentFrame = 0;
      Draw(Parent->Canvas());
    }
  } else if (EnableMorphing()) {
    Parent->MorphTimer->SetInterval(20);
    Parent->MorphTimer->SetEnabled(true);
  } else {
    Draw(Parent->Canvas());
  }
}

void TbsSkinMenuItem::MouseEnter(bool Kb) {
  Active = true;
  if (EnableAnimation()) CurrentFrame = 0;
  for (Integer i = 0; i < Parent->ItemCount(); ++i) {
    TbsSkinMenuItem* Other = Parent->Item(i);
    if (Other != this && Other->Down) {
      Other->Down = false;
      Other->ReDraw();
    }
  }
  TbsSkinMenu* Menu = Parent->ParentMenu;
  if (WaitCommand && !Kb) {
    ReDraw();
  } else if (Down) {
    const Integer i = Menu->GetPopupIndex(Parent);
    if (i + 2 < Menu->PopupCount()) Menu->PopupLevel(i + 1)->CloseSubLevels();
  } else {
    ReDraw();
    Menu->CheckItem(Parent, this, Kb, false);
  }
  // The level may have been closed by the check above; the hint is the level's own field.
  if (Parent->Hint != MenuItem->Hint()) Parent->Hint = MenuItem->Hint();
}

void TbsSkinMenuItem::MouseLeave() {
  Active = false;
  if (EnableAnimation()) CurrentFrame = MI->FrameCount + 1;
  WaitCommand = false;
  if (!Down) ReDraw();
  TbsSkinMenu* Menu = Parent->ParentMenu;
  if (Menu->WItem == this) {
    Menu->WaitTimer->SetEnabled(false);
    Menu->WItem = nullptr;
  }
}

void TbsSkinMenuItem::MouseDown(Integer, Integer) {
  WaitCommand = false;
  if (!Down && MenuItem->Enabled()) Parent->ParentMenu->CheckItem(Parent, this, false, true);
}

// ---- drawing ----

void TbsSkinMenuItem::Draw(TCanvas* Cnvs) {
  if (!FVisible) return;
  if (MI == nullptr) {
    DefaultDraw(Cnvs);
    return;
  }
  if (Parent != nullptr && Parent->ParentMenu != nullptr && !Parent->ParentMenu->UseSkinSize()) {
    ResizeDraw(Cnvs);
    return;
  }
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  if (W <= 0 || H <= 0) return;
  auto B = newBitmap(W, H);
  if (MenuEntryKindOf(MenuItem) == TbsMenuEntryKind::Separator) {
    ComposeSkinImageH(MI->DividerLO, MI->DividerRO, B.get(), ActivePicture, MI->DividerRect, W, H,
                      MI->DividerStretchEffect);
  } else {
    drawSkinItem(B.get(), false);
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

void TbsSkinMenuItem::ResizeDraw(TCanvas* Cnvs) {
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  if (W <= 0 || H <= 0) return;
  auto B = newBitmap(W, H);
  if (MenuEntryKindOf(MenuItem) == TbsMenuEntryKind::Separator) {
    ComposeSkinImageH(MI->DividerLO, MI->DividerRO, B.get(), ActivePicture, MI->DividerRect, W, H,
                      MI->DividerStretchEffect);
  } else {
    drawSkinItem(B.get(), true);
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

TRect TbsSkinMenuItem::animationFrameRect() const {
  const TRect& A = MI->AnimateSkinRect;
  const Integer n = CurrentFrame;
  if (MI->SkinRect.Height() < A.Height()) {
    const Integer h = A.Height() / MI->FrameCount;
    return Rect(A.Left, A.Top + h * (n - 1), A.Right, A.Top + h * n);
  }
  const Integer w = A.Width() / MI->FrameCount;
  return Rect(A.Left + w * (n - 1), A.Top, A.Left + w * n, A.Bottom);
}

// The entry in state H (or blended between the two states while morphing) into B.
void TbsSkinMenuItem::drawSkinItem(TBitmap* B, bool Resized) {
  const bool H = Highlighted();
  if (EnableAnimation() && CurrentFrame > 0 && CurrentFrame <= MI->FrameCount) {
    const TRect FR = animationFrameRect();
    drawSkinImage(B, H, &FR, Resized);
  } else if (EnableMorphing() && (H || FMorphKf != 0) && !(H && FMorphKf == 1)) {
    auto Normal = newBitmap(B->Width(), B->Height());
    auto Hot = newBitmap(B->Width(), B->Height());
    drawSkinImage(Normal.get(), false, nullptr, Resized);
    drawSkinImage(Hot.get(), true, nullptr, Resized);
    auto E1 = TbsEffectBmp::CreateFromhWnd(Normal->Handle());
    auto E2 = TbsEffectBmp::CreateFromhWnd(Hot->Handle());
    switch (MI->MorphKind) {
      case mkGradient:
        E1->MorphGrad(E2.get(), FMorphKf);
        break;
      case mkLeftGradient:
        E1->MorphLeftGrad(E2.get(), FMorphKf);
        break;
      case mkRightGradient:
        E1->MorphRightGrad(E2.get(), FMorphKf);
        break;
      case mkLeftSlide:
        E1->MorphLeftSlide(E2.get(), FMorphKf);
        break;
      case mkRightSlide:
        E1->MorphRightSlide(E2.get(), FMorphKf);
        break;
      case mkPush:
        E1->MorphPush(E2.get(), FMorphKf);
        break;
      default:
        E1->Morph(E2.get(), FMorphKf);
        break;
    }
    B->SetSize(Normal->Width(), Normal->Height());
    E1->Draw(B->Canvas()->Handle(), 0, 0);
  } else {
    drawSkinImage(B, H, nullptr, Resized);
  }
}

void TbsSkinMenuItem::drawSkinImage(TBitmap* B, bool A, const TRect* FrameRect, bool Resized) {
  TbsSkinMenu* Menu = Parent->ParentMenu;
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  // 1. background
  TRect SR = FrameRect != nullptr ? *FrameRect : (A ? MI->ActiveSkinRect : MI->SkinRect);
  bool Stretch = A ? MI->StretchEffect : MI->InActiveStretchEffect;
  if (FrameRect != nullptr && !MI->InActiveStretchEffect && MI->StretchEffect) Stretch = true;
  if (!A && MI->InActiveTransparent && Parent->FPaintBuffer != nullptr) {
    B->SetSize(W, H);
    B->Canvas()->CopyRect(Rect(0, 0, W, H), Parent->FPaintBuffer->Canvas(), ObjectRect);
  } else if (Resized) {
    B->SetSize(W, H);
    ComposeStretchedSkinImage(
        B, ActivePicture, SR,
        Rect(MI->ItemLO, SR.Height() / 4, SR.Width() - MI->ItemRO, SR.Height() - SR.Height() / 4), true);
  } else {
    ComposeSkinImageH(MI->ItemLO, MI->ItemRO, B, ActivePicture, SR, W, H, Stretch);
  }
  TCanvas* C = B->Canvas();
  // 3. glyph column, 4. text rectangle
  Integer G = Parent->ImgL != nullptr ? Parent->GlyphWidth : 16;
  if (!IsEmptyRect(MI->ImageRct)) G = 0;
  TRect TR = MI->TextRct;
  TR.Right = B->Width() + MI->TextRct.Right - MI->SkinRect.Width();
  TRect IR = MI->ImageRct;
  if (Resized) {
    TR.Bottom = B->Height() + MI->TextRct.Bottom - MI->SkinRect.Height();
    if (!IsEmptyRect(IR)) IR.Bottom = MI->ImageRct.Bottom + B->Height() - MI->SkinRect.Height();
  }
  // 5. font
  C->Brush()->SetStyle(bsClear);
  if (Menu->UseSkinFont()) {
    C->Font()->SetName(MI->FontName);
    C->Font()->SetStyle(MI->FontStyle);
    C->Font()->SetHeight(MI->FontHeight);
  } else {
    C->Font()->Assign(Menu->DefaultMenuItemFont());
  }
  TColor FontColor = A ? MI->ActiveFontColor : (MenuItem->Enabled() ? MI->FontColor : MI->UnEnabledFontColor);
  C->Font()->SetColor(FontColor);
  // 6. owner drawing
  if (auto Handler = SkinMenuItemDrawHandler(MenuItem)) {
    Handler(this, C, TR, A);
    return;
  }
  // 7. header
  if (MenuEntryKindOf(MenuItem) == TbsMenuEntryKind::Header) {
    drawHeader(C, Resized);
    return;
  }
  const bool Odd = oddFontHeight(C);
  // 8. caption
  TRect R = Rect(TR.Left + G, 0, TR.Right - 16, 0);
  DrawWideText(C, MenuItem->Caption(), R, DT_CALCRECT);
  const Integer TextH = R.Bottom;
  R.Top = TR.Height() / 2 + TR.Top - TextH / 2;
  R.Bottom = R.Top + TextH;
  R.Right += 2;
  if (Odd) R.Top -= 1;
  DrawWideText(C, MenuItem->Caption(), R, CaptionFlags);
  // 9. shortcut
  if (MenuItem->ShortCut() != 0) {
    const String S = ShortCutToText(MenuItem->ShortCut());
    TRect SR2 = Rect(0, 0, 0, 0);
    DrawWideText(C, S, SR2, DT_CALCRECT);
    TRect SCR = Rect(TR.Right - SR2.Width() - 16, R.Top, TR.Right - 16, R.Bottom);
    if (Odd) SCR.Top -= 1;
    DrawWideText(C, S, SCR, CaptionFlags);
  }
  // 10. submenu arrow
  if (MenuItem->Count() > 0) {
    if (IsEmptyRect(MI->ArrowImageRect))
      DrawSubMenuArrow(C, TR.Right - 7, TR.Height() / 2 + TR.Top - 4, FontColor);
    else
      DrawArrowImage(C, Rect(TR.Right - MI->ArrowImageRect.Width() - 5, TR.Top, TR.Right, TR.Bottom), A);
  }
  // 11.-14. image or mark
  TCustomImageList* ImgL = Parent->ImgL;
  const bool OwnBitmap = !MenuItem->Bitmap()->Empty();
  const bool HasImage =
      OwnBitmap || (ImgL != nullptr && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < ImgL->Count());
  TColor MarkColor = FontColor;
  if (MI->UseImageColor) MarkColor = A ? MI->ActiveImageColor : MI->ImageColor;
  if (HasImage) {
    const Integer IW = OwnBitmap ? MenuItem->Bitmap()->Width() : ImgL->Width();
    const Integer IH = OwnBitmap ? MenuItem->Bitmap()->Height() : ImgL->Height();
    Integer X, CL;
    if (IsEmptyRect(IR)) {
      X = TR.Left + 2;
      CL = TR.Height() / 2 + TR.Top;
    } else {
      X = IR.Width() / 2 + IR.Left - IW / 2;
      CL = IR.Height() / 2 + IR.Top;
    }
    const Integer Y = CL - IH / 2;
    if (MenuItem->Checked()) {
      C->Brush()->SetStyle(bsClear);
      C->Pen()->SetColor(MarkColor);
      C->Rectangle(X - 1, Y - 1, X + IW + 1, Y + IH + 1);
    }
    if (OwnBitmap)
      C->Draw(X, Y, MenuItem->Bitmap());
    else
      ImgL->Draw(C, X, Y, MenuItem->ImageIndex(), MenuItem->Enabled());
    return;
  }
  Integer X, Y;
  if (IsEmptyRect(IR)) {
    X = TR.Left + 2;
    Y = TR.Height() / 2 + TR.Top - 4;
  } else {
    X = IR.Width() / 2 + IR.Left - 4;
    Y = IR.Height() / 2 + IR.Top - 4;
  }
  const String& N = MenuItem->Name();
  if (N == "BSF_CLOSE" || N == "TRAY_BSF_CLOSE")
    DrawCloseGlyph(C, X, Y, MarkColor);
  else if (N == "BSF_MINITEM")
    DrawMinimizeGlyph(C, X, Y, MarkColor);
  else if (N == "BSF_MAXITEM")
    DrawMaximizeGlyph(C, X, Y, MarkColor);
  else if (N == "BSF_RESTORE" || N == "TRAY_BSF_RESTORE")
    DrawRestoreGlyph(C, X, Y, MarkColor);
  else if (N == "BSF_ROLLUP")
    DrawRollUpGlyph(C, X, Y, MarkColor);
  else if (N == "BSF_MINTOTRAY")
    DrawMinimizeToTrayGlyph(C, X, Y, MarkColor);
  else if (MenuItem->Checked()) {
    const TRect MarkR = !IsEmptyRect(IR) ? IR
                                         : Rect(MI->TextRct.Left + 2, MI->TextRct.Top, MI->TextRct.Left + 16,
                                                MI->TextRct.Bottom);
    if (MenuItem->RadioItem()) {
      if (IsEmptyRect(MI->RadioImageRect))
        DrawRadioMark(C, X, Y + 1, MarkColor);
      else
        DrawRadioImage(C, MarkR, A);
    } else {
      if (IsEmptyRect(MI->CheckImageRect))
        DrawCheckMark(C, X, Y, MarkColor);
      else
        DrawCheckImage(C, MarkR, A);
    }
  }
}

void TbsSkinMenuItem::drawHeader(TCanvas* Cnvs, bool Resized) {
  if (Parent->PW == nullptr) return;
  TbsDataSkinLabelControl* L = headerElement(Parent->SD);
  if (L == nullptr) return;
  TBitmap* Pic = skinPicture(Parent->SD, L->PictureIndex);
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  const String Text = headerCaption(MenuItem->Caption());
  const TRect& SR = L->SkinRect;
  if (!Resized) {
    auto HB = newBitmap(W, SR.Height());
    ComposeSkinImageH(L->LTPoint.X, SR.Width() - L->RTPoint.X, HB.get(), Pic, SR, W, SR.Height(),
                      L->StretchEffect);
    TCanvas* C = HB->Canvas();
    C->Font()->SetColor(L->FontColor);
    C->Font()->SetName(L->FontName);
    C->Font()->SetHeight(L->FontHeight);
    C->Font()->SetStyle(L->FontStyle);
    C->Brush()->SetStyle(bsClear);
    TRect T = Rect(L->ClRect.Left, L->ClRect.Top, HB->Width() + L->ClRect.Right - SR.Width(), HB->Height());
    if (oddFontHeight(C)) T.Top -= 1;
    DrawWideText(C, Text, T, CaptionFlags);
    Cnvs->Draw(0, H / 2 - HB->Height() / 2, HB.get());
  } else {
    auto HB = newBitmap(W, H);
    ComposeStretchedSkinImage(
        HB.get(), Pic, SR, Rect(L->LTPoint.X, SR.Height() / 4, L->RTPoint.X, SR.Height() - SR.Height() / 4),
        true);
    TCanvas* C = HB->Canvas();
    C->Font()->Assign(Parent->ParentMenu->DefaultMenuItemFont());
    C->Font()->SetColor(L->FontColor);
    C->Brush()->SetStyle(bsClear);
    TRect T = Rect(L->ClRect.Left, L->ClRect.Top, W + L->ClRect.Right - SR.Width(),
                   H + L->ClRect.Bottom - SR.Height());
    if (oddFontHeight(C)) T.Top -= 1;
    TRect M = Rect(0, 0, T.Width(), 0);
    DrawWideText(C, Text, M, DT_CALCRECT);
    T.Top = T.Height() / 2 + T.Top - M.Height() / 2;
    T.Bottom = T.Top + M.Height();
    DrawWideText(C, Text, T, CaptionFlags);
    Cnvs->Draw(0, 0, HB.get());
  }
}

void TbsSkinMenuItem::DefaultDraw(TCanvas* Cnvs) {
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  if (W <= 0 || H <= 0) return;
  TbsSkinMenu* Menu = Parent->ParentMenu;
  auto B = newBitmap(W, H);
  TCanvas* C = B->Canvas();
  const TbsMenuEntryKind Kind = MenuEntryKindOf(MenuItem);
  TCustomImageList* ImgL = Parent->ImgL;
  const Integer G = ImgL != nullptr ? Parent->GlyphWidth : 19;
  C->Font()->Assign(Menu->DefaultMenuItemFont());
  TColor FontColor;
  C->Brush()->SetStyle(bsSolid);
  if (Highlighted() && Kind != TbsMenuEntryKind::Separator) {
    C->Brush()->SetColor(TColor(RGB(193, 212, 243)));
    C->FillRect(Rect(0, 0, W, H));
    FontColor = clWindowText;
  } else {
    C->Brush()->SetColor(clWindow);
    C->FillRect(Rect(0, 0, G, H));
    C->FillRect(Rect(G, 0, W, H));
    FontColor = MenuItem->Enabled() ? clWindowText : clBtnShadow;
  }
  C->Font()->SetColor(FontColor);
  if (Kind == TbsMenuEntryKind::Separator) {
    DrawFrame3D(C, Rect(0, H / 2, W, H / 2 + 1), clBtnShadow, clBtnShadow);
  } else if (Kind == TbsMenuEntryKind::Header) {
    C->Brush()->SetColor(clBtnShadow);
    C->FillRect(Rect(0, 0, W, H));
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetColor(clBtnHighlight);
    TRect T = Rect(2, 2, W - 2, H - 2);
    DrawWideText(C, headerCaption(MenuItem->Caption()), T, CaptionFlags);
  } else {
    C->Brush()->SetStyle(bsClear);
    const TRect R2 = Rect(2, 2, W - 2, H - 2);
    TRect R = Rect(R2.Left + G, 0, R2.Right - 19, 0);
    DrawWideText(C, MenuItem->Caption(), R, DT_CALCRECT);
    const Integer TextH = R.Bottom;
    R.Top = R2.Height() / 2 + R2.Top - TextH / 2;
    R.Bottom = R.Top + TextH;
    R.Right += 2;
    DrawWideText(C, MenuItem->Caption(), R, CaptionFlags);
    if (MenuItem->ShortCut() != 0) {
      const String S = ShortCutToText(MenuItem->ShortCut());
      TRect SR = Rect(0, 0, 0, 0);
      DrawWideText(C, S, SR, DT_CALCRECT);
      TRect SCR = Rect(R2.Right - SR.Width() - 19, R.Top, R2.Right - 19, R.Bottom);
      DrawWideText(C, S, SCR, CaptionFlags);
    }
    if (MenuItem->Count() > 0) DrawSubMenuArrow(C, R2.Right - 7, R2.Height() / 2 + R2.Top - 4, FontColor);
    const bool OwnBitmap = !MenuItem->Bitmap()->Empty();
    const bool HasImage = OwnBitmap || (ImgL != nullptr && MenuItem->ImageIndex() >= 0 &&
                                        MenuItem->ImageIndex() < ImgL->Count());
    if (HasImage) {
      const Integer IW = OwnBitmap ? MenuItem->Bitmap()->Width() : ImgL->Width();
      const Integer IH = OwnBitmap ? MenuItem->Bitmap()->Height() : ImgL->Height();
      const Integer X = R2.Left + 2, Y = R2.Height() / 2 + R2.Top - IH / 2;
      if (MenuItem->Checked()) {
        C->Brush()->SetStyle(bsClear);
        C->Pen()->SetColor(FontColor);
        C->Rectangle(X - 1, Y - 1, X + IW + 1, Y + IH + 1);
      }
      if (OwnBitmap)
        C->Draw(X, Y, MenuItem->Bitmap());
      else
        ImgL->Draw(C, X, Y, MenuItem->ImageIndex(), MenuItem->Enabled());
    } else {
      const Integer X = R2.Left + 2, Y = R2.Height() / 2 + R2.Top - 4;
      const String& N = MenuItem->Name();
      if (N == "BSF_CLOSE" || N == "TRAY_BSF_CLOSE")
        DrawCloseGlyph(C, X, Y, FontColor);
      else if (N == "BSF_MINITEM")
        DrawMinimizeGlyph(C, X, Y, FontColor);
      else if (N == "BSF_MAXITEM")
        DrawMaximizeGlyph(C, X, Y, FontColor);
      else if (N == "BSF_RESTORE" || N == "TRAY_BSF_RESTORE")
        DrawRestoreGlyph(C, X, Y, FontColor);
      else if (N == "BSF_ROLLUP")
        DrawRollUpGlyph(C, X, Y, FontColor);
      else if (N == "BSF_MINTOTRAY")
        DrawMinimizeToTrayGlyph(C, X, Y, FontColor);
      else if (MenuItem->Checked()) {
        if (MenuItem->RadioItem())
          DrawRadioMark(C, R2.Left + 3, Y, FontColor);
        else
          DrawCheckMark(C, R2.Left + 3, Y, FontColor);
      }
    }
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

void TbsSkinMenuItem::drawMarkPicture(TCanvas* Cnvs, TRect R, const TRect& Src) {
  if (ActivePicture == nullptr || IsEmptyRect(Src)) return;
  auto B = newBitmap(Src.Width(), Src.Height());
  B->Canvas()->CopyRect(Rect(0, 0, Src.Width(), Src.Height()), ActivePicture->Canvas(), Src);
  B->SetTransparent(true);
  Integer X = R.Left + R.Width() / 2 - Src.Width() / 2;
  Integer Y = R.Top + R.Height() / 2 - Src.Height() / 2;
  if (X < R.Left) X = R.Left;
  if (Y < R.Top) Y = R.Top;
  Cnvs->Draw(X, Y, B.get());
}

void TbsSkinMenuItem::DrawCheckImage(TCanvas* Cnvs, TRect R, bool AActive) {
  drawMarkPicture(Cnvs, R, AActive ? MI->ActiveCheckImageRect : MI->CheckImageRect);
}

void TbsSkinMenuItem::DrawRadioImage(TCanvas* Cnvs, TRect R, bool AActive) {
  drawMarkPicture(Cnvs, R, AActive ? MI->ActiveRadioImageRect : MI->RadioImageRect);
}

void TbsSkinMenuItem::DrawArrowImage(TCanvas* Cnvs, TRect R, bool AActive) {
  drawMarkPicture(Cnvs, R, AActive ? MI->ActiveArrowImageRect : MI->ArrowImageRect);
}
