#include "skin/controls/base/bsgraphicskincontrol.h"

#include "skin/core/bsdraw.h"

// ---- TbsGraphicSkinControl ----

TbsGraphicSkinControl::TbsGraphicSkinControl(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csOpaque);
}

TbsGraphicSkinControl::~TbsGraphicSkinControl() {
  if (FSD) FSD->RemoveFreeNotification(this);
  if (FHintImageList) FHintImageList->RemoveFreeNotification(this);
}

void TbsGraphicSkinControl::SetSkinData(TbsSkinData* Value) {
  if (FSD != Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
  }
  if (Value != nullptr && !Value->Empty && !designing()) ChangeSkinData();
}

void TbsGraphicSkinControl::SetHintImageList(TCustomImageList* Value) {
  if (FHintImageList == Value) return;
  if (FHintImageList) FHintImageList->RemoveFreeNotification(this);
  FHintImageList = Value;
  if (FHintImageList) FHintImageList->FreeNotification(this);
}

void TbsGraphicSkinControl::GetSkinData() {
  if (FSD == nullptr || FSD->Empty)
    FIndex = -1;
  else
    FIndex = FSD->GetControlIndex(FSkinDataName);
}

void TbsGraphicSkinControl::ChangeSkinData() {
  GetSkinData();
  Repaint();
}

void TbsGraphicSkinControl::BeforeChangeSkinData() {
  FIndex = -1;
}

void TbsGraphicSkinControl::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  TBitmap B;
  B.SetSize(Width(), Height());
  if (FIndex == -1)
    CreateControlDefaultImage(&B);
  else
    CreateControlSkinImage(&B);
  Canvas()->Draw(0, 0, &B);
}

void TbsGraphicSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FHintImageList) FHintImageList = nullptr;
}

// ---- TbsGraphicSkinCustomControl ----

TbsGraphicSkinCustomControl::TbsGraphicSkinCustomControl(TComponent* AOwner)
    : TbsGraphicSkinControl(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  FDefaultFont->SetName("Tahoma");
  FDefaultFont->SetStyle({});
  FDefaultFont->SetHeight(13);
  FDefaultFont->OnChange = [this](TObject*) {
    DefaultFontChanged();
    if (FIndex == -1) Repaint();
  };
}

TbsGraphicSkinCustomControl::~TbsGraphicSkinCustomControl() {
  FDefaultFont->OnChange = nullptr;
}

void TbsGraphicSkinCustomControl::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  DefaultFontChanged();
}

void TbsGraphicSkinCustomControl::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  if (FIndex == -1 && Value > 0) SetWidth(Value);
}

void TbsGraphicSkinCustomControl::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (FIndex == -1 && Value > 0) SetHeight(Value);
}

void TbsGraphicSkinCustomControl::GetSkinData() {
  TbsGraphicSkinControl::GetSkinData();
  if (FIndex == -1) return;
  auto* Record = dynamic_cast<TbsDataSkinCustomControl*>(FSD->Ctrls(FIndex));
  if (Record == nullptr) {
    ResizeMode = 0;
    Picture = nullptr;
    return;
  }
  CopyGeometry(Record);
  Picture = SkinPictureAt(FSD, Record->PictureIndex);
}

void TbsGraphicSkinCustomControl::CalcSize(Integer& AWidth, Integer& AHeight) {
  CalcGeometry(AWidth, AHeight, FIndex != -1);
}

void TbsGraphicSkinCustomControl::GetNewPartRect(const TRect& R, TRect& NewR) const {
  TbsSkinGeometry::GetNewPartRect(R, NewR, FWidth, FHeight);
}

void TbsGraphicSkinCustomControl::CreateSkinImage(TBitmap* Dest, TBitmap* Source, const TRect& R) {
  if (ResizeMode == -1) return;
  if (!ComposeImage(Dest, Source, R, Width(), Height())) CreateControlDefaultImage(Dest);
}

void TbsGraphicSkinCustomControl::CreateControlDefaultImage(TBitmap* B) {
  B->Canvas()->Brush()->SetColor(clBtnFace);
  B->Canvas()->FillRect(Rect(0, 0, Width(), Height()));
}

void TbsGraphicSkinCustomControl::CreateControlSkinImage(TBitmap* B) {
  CreateSkinImage(B, Picture, SkinRect);
}

void TbsGraphicSkinCustomControl::ChangeSkinData() {
  GetSkinData();
  if (FIndex == -1) {
    const Integer W = FDefaultWidth > 0 ? FDefaultWidth : Width();
    const Integer H = FDefaultHeight > 0 ? FDefaultHeight : Height();
    if (W != Width() || H != Height()) SetBounds(Left(), Top(), W, H);
    Repaint();
    return;
  }
  Integer W = Width(), H = Height();
  CalcSize(W, H);
  if (W != Width() || H != Height())
    SetBounds(Left(), Top(), W, H);
  else
    Repaint();
}

void TbsGraphicSkinCustomControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  GetSkinData();
  const bool Changed = (AWidth != Width() || AHeight != Height()) && FIndex != -1;
  if (Changed) {
    CalcSize(AWidth, AHeight);
    if (ResizeMode == 0) NewClRect = ClRect;
  }
  ATop = AdjustedChildTop(Parent(), ATop, AHeight);
  TbsGraphicSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Changed) Repaint();
}
