// What the windowed and the windowless skinned control bases share: the skin and hint image list
// they follow, the lookup of their element by name and painting through one off-screen bitmap; and,
// one level up, the element's slice geometry, the default font and size, and the default look.
#pragma once

#include <memory>

#include "platform/ui/core/customcontrol.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/controls/base/bsskingeometry.h"
#include "skin/core/bsskinchangeable.h"
#include "skin/core/bsskindata.h"

// One step of a hover cross-fade: 0.2 towards 1 while hovered, towards 0 otherwise. Five steps of 0.2
// miss 1 and 0 by a hair in binary floating point; the result lands on them exactly.
inline Double StepMorphKf(Double Kf, bool Hovered) {
  constexpr Double Step = 0.2;
  if (Hovered && Kf < 1)
    Kf += Step;
  else if (!Hovered && Kf > 0)
    Kf -= Step;
  if (Kf > 1 - 1e-9) Kf = 1;
  if (Kf < 1e-9) Kf = 0;
  return Kf;
}

// Field set to Value, the free notification moved along with it.
inline void LinkSkinData(TComponent* Self, TbsSkinData*& Field, TbsSkinData* Value) {
  if (Field == Value) return;
  if (Field) Field->RemoveFreeNotification(Self);
  Field = Value;
  if (Field) Field->FreeNotification(Self);
}

template <class TBase>
class TbsSkinControlBase : public TBase, public IbsSkinChangeable {
 public:
  explicit TbsSkinControlBase(TComponent* AOwner) : TBase(AOwner) {}
  ~TbsSkinControlBase() override {
    if (FSD) FSD->RemoveFreeNotification(this);
    if (FHintImageList) FHintImageList->RemoveFreeNotification(this);
  }

  TbsSkinData* SkinData() const override { return FSD; }
  virtual void SetSkinData(TbsSkinData* Value) {
    LinkSkinData(this, FSD, Value);
    if (Value != nullptr && !Value->Empty && !designing()) ChangeSkinData();
  }
  const String& SkinDataName() const { return FSkinDataName; }

  const String& HintTitle() const { return FHintTitle; }
  void SetHintTitle(const String& Value) { FHintTitle = Value; }
  Integer HintImageIndex() const { return FHintImageIndex; }
  void SetHintImageIndex(Integer Value) { FHintImageIndex = Value; }
  TCustomImageList* HintImageList() const { return FHintImageList; }
  void SetHintImageList(TCustomImageList* Value) {
    if (FHintImageList == Value) return;
    if (FHintImageList) FHintImageList->RemoveFreeNotification(this);
    FHintImageList = Value;
    if (FHintImageList) FHintImageList->FreeNotification(this);
  }

  // Index of the resolved element in the skin's control list; -1 for the default look.
  Integer SkinIndex() const { return FIndex; }

  // Resolves the element (descendants copy their record's fields after the inherited lookup).
  virtual void GetSkinData() {
    if (FSD == nullptr || FSD->Empty)
      FIndex = -1;
    else
      FIndex = FSD->GetControlIndex(FSkinDataName);
  }
  void ChangeSkinData() override {
    GetSkinData();
    this->Repaint();
  }
  void BeforeChangeSkinData() override { FIndex = -1; }

 protected:
  virtual void CreateControlDefaultImage(TBitmap* B) { (void)B; }
  virtual void CreateControlSkinImage(TBitmap* B) { (void)B; }

  // The whole control's picture, in the skin's look or the default one, into B (sized to the control).
  void CreateControlImage(TBitmap* B) {
    GetSkinData();
    B->SetSize(this->Width(), this->Height());
    if (FIndex == -1)
      CreateControlDefaultImage(B);
    else
      CreateControlSkinImage(B);
  }
  void Paint() override {
    if (this->Width() <= 0 || this->Height() <= 0) return;
    TBitmap B;
    CreateControlImage(&B);
    this->Canvas()->Draw(0, 0, &B);
  }
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TBase::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FHintImageList) FHintImageList = nullptr;
  }
  bool designing() const { return this->ComponentState().Contains(csDesigning); }

  TbsSkinData* FSD = nullptr;
  String FSkinDataName;
  String FHintTitle;
  Integer FHintImageIndex = 0;
  TCustomImageList* FHintImageList = nullptr;
  Integer FIndex = -1;
};

template <class TBase>
class TbsSkinCustomControlBase : public TBase, public TbsSkinGeometry {
 public:
  explicit TbsSkinCustomControlBase(TComponent* AOwner)
      : TBase(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName("Tahoma");
    FDefaultFont->SetStyle({});
    FDefaultFont->SetHeight(13);
    FDefaultFont->OnChange = [this](TObject* Sender) { OnDefaultFontChange(Sender); };
  }
  ~TbsSkinCustomControlBase() override { FDefaultFont->OnChange = nullptr; }

  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) {
    FDefaultFont->Assign(Value);
    DefaultFontChanged();
  }
  Integer DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(Integer Value) {
    FDefaultWidth = Value;
    if (this->FIndex == -1 && Value > 0) this->SetWidth(Value);
  }
  Integer DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value) {
    FDefaultHeight = Value;
    if (this->FIndex == -1 && Value > 0) this->SetHeight(Value);
  }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  TRect RealClientRect() const { return NewClRect; }

  // Applies the size rule to a proposed size and computes the geometry for it.
  virtual void CalcSize(Integer& AWidth, Integer& AHeight) {
    CalcGeometry(AWidth, AHeight, this->FIndex != -1);
  }
  // A rectangle in element coordinates mapped to the control's current size.
  void GetNewPartRect(const TRect& R, TRect& NewR) const {
    TbsSkinGeometry::GetNewPartRect(R, NewR, this->FWidth, this->FHeight);
  }

 protected:
  void CreateControlDefaultImage(TBitmap* B) override {
    B->Canvas()->Brush()->SetColor(clBtnFace);
    B->Canvas()->FillRect(Rect(0, 0, this->Width(), this->Height()));
  }
  virtual void DefaultFontChanged() {}
  // The element's font (or the default font when the skin's is not used) in the skin's character set.
  void ApplySkinFont(TCanvas* C, const String& Name, Integer Height, TFontStyles Style) const {
    if (FUseSkinFont) {
      C->Font()->SetName(Name);
      C->Font()->SetHeight(Height);
      C->Font()->SetStyle(Style);
    } else {
      C->SetFont(FDefaultFont.get());
    }
    if (this->FSD != nullptr && this->FSD->ResourceStrData() != nullptr)
      C->Font()->SetCharset(this->FSD->ResourceStrData()->CharSet());
    else
      C->Font()->SetCharset(FDefaultFont->Charset());
  }
  void OnDefaultFontChange(TObject*) {
    DefaultFontChanged();
    if (this->FIndex == -1) this->Repaint();
  }
  // The element lookup and, when its record is a custom control's, its geometry and picture; the
  // record, or nullptr when there is none to copy (no element, or a record of another kind).
  const TbsDataSkinCustomControl* TakeSkinGeometry() {
    TBase::GetSkinData();
    if (this->FIndex == -1) return nullptr;
    auto* Record = dynamic_cast<TbsDataSkinCustomControl*>(this->FSD->Ctrls(this->FIndex));
    if (Record == nullptr) {
      ResizeMode = 0;
      Picture = nullptr;
      return nullptr;
    }
    CopyGeometry(Record);
    Picture = SkinPictureAt(this->FSD, Record->PictureIndex);
    return Record;
  }

  Integer FDefaultWidth = 0;
  Integer FDefaultHeight = 0;
  std::unique_ptr<TFont> FDefaultFont;
  bool FUseSkinFont = true;
};
