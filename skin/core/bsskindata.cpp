#include "skin/core/bsskindata.h"

#include <cstring>
#include <vector>

#include "platform/rtl/files.h"
#include "platform/ui/core/form.h"
#include "platform/ui/core/screen.h"
#include "platform/ui/graphics/bitmap.h"
#include "skin/core/bsskincontainer.h"
#include "skin/core/bsskinlayout.h"

namespace {

// A picture inside a payload: a whole BMP file whose length its own header gives.
std::unique_ptr<TBitmap> readPayloadImage(TStream* Payload) {
  Byte Header[14];
  Payload->ReadBuffer(Header, sizeof Header);
  const Cardinal FileSize = Cardinal(Header[2]) | (Cardinal(Header[3]) << 8) | (Cardinal(Header[4]) << 16) |
                            (Cardinal(Header[5]) << 24);
  if (Header[0] != 'B' || Header[1] != 'M' || FileSize < 26)
    throw EInvalidGraphic("Bitmap image is not valid");
  if (Int64(FileSize) - 14 > Payload->Size() - Payload->Position()) throw EReadError("Stream read error");
  TMemoryStream Image;
  Image.SetSize(FileSize);
  std::memcpy(Image.Memory(), Header, sizeof Header);
  Payload->ReadBuffer(static_cast<Byte*>(Image.Memory()) + sizeof Header, Int64(FileSize) - 14);
  auto Bitmap = std::make_unique<TBitmap>();
  Bitmap->LoadFromStream(&Image);
  return Bitmap;
}

Integer readPayloadInteger(TStream* Payload) {
  Byte B[4];
  Payload->ReadBuffer(B, 4);
  return Integer(Cardinal(B[0]) | (Cardinal(B[1]) << 8) | (Cardinal(B[2]) << 16) | (Cardinal(B[3]) << 24));
}

// A slot: flag 0 and an image, or any other flag and nothing.
void readPayloadSlot(TStream* Payload, TBitmap* Into) {
  Byte Flag = 0;
  Payload->ReadBuffer(&Flag, 1);
  if (Flag != 0) {
    Into->SetSize(0, 0);
    return;
  }
  Into->Assign(readPayloadImage(Payload).get());
}

}  // namespace

TbsSkinData::TbsSkinData(TComponent* AOwner)
    : TComponent(AOwner),
      PopupWindow(std::make_unique<TbsDataSkinPopupWindow>()),
      LayerFrame(std::make_unique<TbsDataSkinLayerFrame>()),
      HintWindow(std::make_unique<TbsDataSkinHintWindow>()),
      FPicture(std::make_unique<TBitmap>()),
      FInActivePicture(std::make_unique<TBitmap>()),
      FMask(std::make_unique<TBitmap>()),
      FActivePictures(std::make_unique<TList>()),
      FActivePicturesNames(std::make_unique<TStringList>()),
      ObjectList(std::make_unique<TList>()),
      CtrlList(std::make_unique<TList>()),
      FSkinColors(std::make_unique<TbsSkinColors>()) {}

TbsSkinData::~TbsSkinData() {
  Empty = true;
  ClearObjects();
}

void TbsSkinData::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FCompressedStoredSkin) FCompressedStoredSkin = nullptr;
  if (AComponent == FResourceStrData) FResourceStrData = nullptr;
  if (AComponent == FSkinList) FSkinList = nullptr;
}

// ---- property setters ----

void TbsSkinData::SetSkinList(TbsCompressedSkinList* Value) {
  if (FSkinList && FSkinList != Value) FSkinList->RemoveFreeNotification(this);
  FSkinList = Value;
  if (Value) Value->FreeNotification(this);
  if (designing() || !Value || FSkinIndex < 0) return;
  if (FSkinIndex < Value->Skins()->Count())
    LoadCompressedStoredSkin(Value->Skins()->GetItem(FSkinIndex)->Skin());
}

void TbsSkinData::SetSkinIndex(Integer Value) {
  if (Value == FSkinIndex) return;
  if (!FSkinList) {
    FSkinIndex = Value;
    return;
  }
  if (Value < 0 || Value >= FSkinList->Skins()->Count()) return;
  const Integer Old = FSkinIndex;
  FSkinIndex = Value;
  if (designing()) return;
  try {
    LoadCompressedStoredSkin(FSkinList->Skins()->GetItem(Value)->Skin());
  } catch (...) {
    // The index names the skin that is loaded: the old one when it stayed, none when it went.
    FSkinIndex = Empty ? -1 : Old;
    throw;
  }
}

void TbsSkinData::SetCompressedStoredSkin(TbsCompressedStoredSkin* Value) {
  if (FCompressedStoredSkin && FCompressedStoredSkin != Value)
    FCompressedStoredSkin->RemoveFreeNotification(this);
  FCompressedStoredSkin = Value;
  if (Value) Value->FreeNotification(this);
  if (!designing() && Value) LoadCompressedStoredSkin(Value);
}

void TbsSkinData::SetResourceStrData(TbsResourceStrData* Value) {
  if (FResourceStrData && FResourceStrData != Value) FResourceStrData->RemoveFreeNotification(this);
  FResourceStrData = Value;
  if (Value) Value->FreeNotification(this);
  if (!designing()) SendSkinDataMessage(WM_SKINSTRINGSCHANGED);
}

void TbsSkinData::SetSkinnableForm(bool Value) {
  if (Value == FSkinnableForm) return;
  FSkinnableForm = Value;
  if (!designing() && !loading()) SendSkinDataMessage(WM_SKINNABLEFORMCHANGED);
}

void TbsSkinData::SetShowLayeredBorders(bool Value) {
  if (Value == FShowLayeredBorders) return;
  FShowLayeredBorders = Value;
  if (!designing() && !loading()) SendSkinDataMessage(WM_LAYEREDBORDERSCHANGED);
}

void TbsSkinData::SetAeroBlurEnabled(bool Value) {
  if (Value == FAeroBlurEnabled) return;
  FAeroBlurEnabled = Value;
  if (!designing() && !loading()) SendSkinDataMessage(WM_AEROBLURCHANGED);
}

// ---- messages ----

void TbsSkinData::SendSkinDataMessage(UINT M) {
  if (FBuilderMode) return;
  const WPARAM W = reinterpret_cast<WPARAM>(this);
  auto* OwnerForm = dynamic_cast<TForm*>(Owner());
  const bool OwnerFirst = OwnerForm && !FShowLayeredBorders;
  if (OwnerFirst) SendMessage(OwnerForm->Handle(), M, W, SkinMessageLParam);
  std::vector<HWND> Handles;
  if (Screen) {
    for (Integer i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* F = Screen->Forms(i);
      if ((OwnerFirst && F == OwnerForm) || F->ClassName() == "TbsFormLayerWindow") continue;
      Handles.push_back(F->Handle());
    }
  }
  if (FShowLayeredBorders && LayerFrame->PictureIndex != -1) {
    for (auto It = Handles.rbegin(); It != Handles.rend(); ++It) SendMessage(*It, M, W, SkinMessageLParam);
  } else {
    for (HWND H : Handles) SendMessage(H, M, W, SkinMessageLParam);
  }
}

// ---- loading ----

template <class F>
void TbsSkinData::changeSkin(F ReadSkin) {
  Empty = true;
  ChangeSkinDataProcess = true;
  SendSkinDataMessage(WM_SKINCHANGING);
  try {
    ClearAll();
    ReadSkin();
  } catch (...) {
    // Every announced change is closed, or the forms would keep their frames unpainted; what was read
    // of the broken skin goes, so nobody draws from half a skin.
    ClearAll();
    SendSkinDataMessage(WM_SKINCHANGE);
    ChangeSkinDataProcess = false;
    SendSkinDataMessage(WM_SKINCHANGED);
    throw;
  }
  Empty = false;
  if (OnLoadData) OnLoadData(this);
  SendSkinDataMessage(WM_SKINCHANGE);
  ChangeSkinDataProcess = false;
  SendSkinDataMessage(WM_SKINCHANGED);
}

void TbsSkinData::LoadFromFile(const String& FileName) {
  if (!FileExists(FileName)) return;
  TMemIniFile Ini("");
  LoadSkinDescriptionText(&Ini, ReadSkinFileBytes(FileName));
  if (!IsValidSkinIni(&Ini)) return;
  const String Folder = ExtractFilePath(FileName);
  changeSkin([&] {
    ReadVersion(&Ini);
    ReadPictureNames(&Ini);
    auto loadMain = [&](const String& Name, TBitmap* Into) {
      if (Name.empty())
        Into->SetSize(0, 0);
      else
        Into->LoadFromFile(Folder + Name);
    };
    loadMain(FPictureName, FPicture.get());
    loadMain(FInActivePictureName, FInActivePicture.get());
    loadMain(FMaskName, FMask.get());
    ReadActivePictures(&Ini, Folder);
    ReadSkinRecords(&Ini);
  });
}

void TbsSkinData::LoadCompressedStoredSkin(TbsCompressedStoredSkin* AStoredSkin) {
  if (!AStoredSkin || AStoredSkin->Empty()) return;
  // Inflated and version-checked before the change is announced, so a block that cannot be read
  // leaves the current skin in place.
  TMemoryStream Payload;
  AStoredSkin->DeCompressToStream(&Payload);
  Payload.SetPosition(0);
  const Integer Version = readPayloadInteger(&Payload);
  if (Version > SkinFormatVersion)
    throw EReadError("Skin data version " + std::to_string(Version) + " is not supported");
  // The pictures are read before the change is announced too: a cut or damaged payload leaves the
  // current skin in place instead of an empty one.
  TBitmap Picture, InActivePicture, Mask;
  readPayloadSlot(&Payload, &Picture);
  readPayloadSlot(&Payload, &InActivePicture);
  readPayloadSlot(&Payload, &Mask);
  if (Version == 2) {
    TBitmap Scratch;
    readPayloadSlot(&Payload, &Scratch);
    readPayloadSlot(&Payload, &Scratch);
  }
  const Integer N = readPayloadInteger(&Payload);
  std::vector<std::unique_ptr<TBitmap>> Pictures;
  for (Integer i = 0; i < N; ++i) Pictures.push_back(readPayloadImage(&Payload));
  const Int64 Rest = Payload.Size() - Payload.Position();
  String Text(size_t(Rest), '\0');
  if (Rest > 0) Payload.ReadBuffer(Text.data(), Rest);
  changeSkin([&] {
    FPicture->Assign(&Picture);
    FInActivePicture->Assign(&InActivePicture);
    FMask->Assign(&Mask);
    for (auto& P : Pictures) FActivePictures->Add(P.release());
    TMemIniFile Ini("");
    LoadSkinDescriptionText(&Ini, Text);
    ReadVersion(&Ini);
    ReadPictureNames(&Ini);
    ReadActivePictures(&Ini, String());
    ReadSkinRecords(&Ini);
  });
}

void TbsSkinData::LoadFromCompressedFile(const String& FileName) {
  TbsCompressedStoredSkin* Stored = new TbsCompressedStoredSkin(this);
  std::unique_ptr<TbsCompressedStoredSkin> Owned(Stored);
  Stored->LoadFromCompressFile(FileName);
  if (!Stored->Empty()) LoadCompressedStoredSkin(Stored);
}

void TbsSkinData::SaveToCompressedFile(const String& FileName) {
  TbsCompressedStoredSkin Stored(nullptr);
  Stored.LoadFromSkinData(this);
  Stored.SaveToCompressFile(FileName);
}

void TbsSkinData::SaveToFile(const String& FileName) {
  TMemIniFile Ini("");
  if (FileExists(FileName)) LoadSkinDescriptionText(&Ini, ReadSkinFileBytes(FileName));
  WriteSkinDescription(&Ini);
  WriteSkinFileBytes(FileName, SkinDescriptionText(&Ini));
}

void TbsSkinData::StoreToDisk(const String& FileName) {
  // Picture names come from the skin itself; one that reaches outside the description's folder would
  // let a skin overwrite any file, so such a skin is refused before anything is written.
  auto checkName = [](const String& Name) {
    if (Name.find('/') != String::npos || Name.find('\\') != String::npos || Name == "." || Name == "..")
      throw EInvalidOperation("Skin picture name \"" + Name + "\" is not a bare file name");
  };
  for (const String& Name : {FPictureName, FInActivePictureName, FMaskName}) checkName(Name);
  for (Integer i = 0; i < FActivePicturesNames->Count(); ++i) checkName(FActivePicturesNames->Strings(i));

  SaveToFile(FileName);
  const String Folder = ExtractFilePath(FileName);
  if (!FPictureName.empty() && !FPicture->Empty()) FPicture->SaveToFile(Folder + FPictureName);
  if (!FInActivePictureName.empty() && !FInActivePicture->Empty())
    FInActivePicture->SaveToFile(Folder + FInActivePictureName);
  if (!FMaskName.empty() && !FMask->Empty()) FMask->SaveToFile(Folder + FMaskName);
  if (FActivePicturesNames->Count() > 0)
    for (Integer i = 0; i < PictureCount(); ++i)
      Picture(i)->SaveToFile(Folder + FActivePicturesNames->Strings(i));
}

void TbsSkinData::ClearSkin() {
  ClearAll();
  SendSkinDataMessage(WM_SKINCHANGING);
  SendSkinDataMessage(WM_SKINCHANGE);
  SendSkinDataMessage(WM_SKINCHANGED);
}

void TbsSkinData::ClearAll() {
  ClearObjects();
  FPicture->SetSize(0, 0);
  FInActivePicture->SetSize(0, 0);
  FMask->SetSize(0, 0);
  FPictureName.clear();
  FInActivePictureName.clear();
  FMaskName.clear();
  FSkinStrData.reset();
  Empty = true;
}

void TbsSkinData::ClearObjects() {
  for (Integer i = 0; i < ObjectCount(); ++i) delete Objects(i);
  ObjectList->Clear();
  for (Integer i = 0; i < CtrlCount(); ++i) delete Ctrls(i);
  CtrlList->Clear();
  for (Integer i = 0; i < PictureCount(); ++i) delete Picture(i);
  LayerFrame->PictureIndex = -1;
  LayerFrame->InActivePictureIndex = -1;
  FActivePictures->Clear();
  LayerFrame->InitAlphaImages(FActivePictures.get());
  PopupWindow->WindowPictureIndex = -1;
  HintWindow->WindowPictureIndex = -1;
  FActivePicturesNames->Clear();
  FSkinColors->SetColorsToDefault();
}

// ---- lookups and pictures ----

Integer TbsSkinData::GetIndex(const String& AName) const {
  for (Integer i = 0; i < ObjectCount(); ++i)
    if (Objects(i)->IDName == AName) return i;
  return -1;
}

Integer TbsSkinData::GetControlIndex(const String& AName) const {
  for (Integer i = 0; i < CtrlCount(); ++i)
    if (Ctrls(i)->IDName == AName) return i;
  return -1;
}

void TbsSkinData::AddBitMap(const String& FileName) {
  // Loaded first: a file that fails must not leave a name without its picture.
  auto Bitmap = std::make_unique<TBitmap>();
  Bitmap->LoadFromFile(FileName);
  AddPicture(std::move(Bitmap), ExtractFileName(FileName));
}

void TbsSkinData::DeleteBitMap(Integer Index) {
  TBitmap* Bitmap = Picture(Index);
  if (Index < FActivePicturesNames->Count()) FActivePicturesNames->Delete(Index);
  FActivePictures->Delete(Index);
  delete Bitmap;
}

void TbsSkinData::AddPicture(std::unique_ptr<TBitmap> Bitmap, const String& Name) {
  FActivePicturesNames->Add(Name);
  FActivePictures->Add(Bitmap.release());
}

void TbsSkinData::AddObject(std::unique_ptr<TbsDataSkinObject> Record) {
  ObjectList->Add(Record.release());
}

void TbsSkinData::AddCtrl(std::unique_ptr<TbsDataSkinControl> Record) {
  CtrlList->Add(Record.release());
}

void TbsSkinData::GlobalChangeFont(const String& ANewFontName, Integer AFontHeightCorrection) {
  HintWindow->FontName = ANewFontName;
  HintWindow->FontHeight += AFontHeightCorrection;
  auto change = [&](auto* R) {
    R->FontName = ANewFontName;
    R->FontHeight += AFontHeightCorrection;
  };
  for (Integer i = 0; i < ObjectCount(); ++i) {
    TbsDataSkinObject* O = Objects(i);
    if (auto* R = dynamic_cast<TbsDataSkinMenuItem*>(O))
      change(R);
    else if (auto* R = dynamic_cast<TbsDataSkinMainMenuBarItem*>(O))
      change(R);
    else if (auto* R = dynamic_cast<TbsDataSkinCaption*>(O))
      change(R);
  }
  for (Integer i = 0; i < CtrlCount(); ++i) {
    TbsDataSkinControl* C = Ctrls(i);
    if (auto* R = dynamic_cast<TbsDataSkinTreeView*>(C)) {
      change(R);
    } else if (auto* R = dynamic_cast<TbsDataSkinListView*>(C)) {
      change(R);
    } else if (auto* R = dynamic_cast<TbsDataSkinRichEdit*>(C)) {
      change(R);
    } else if (auto* R = dynamic_cast<TbsDataSkinTabControl*>(C)) {
      change(R);
    } else if (auto* R = dynamic_cast<TbsDataSkinGridControl*>(C)) {
      change(R);
      R->FixedFontName = ANewFontName;
      R->FixedFontHeight += AFontHeightCorrection;
    } else if (auto* R = dynamic_cast<TbsDataSkinAppMenu*>(C)) {
      change(R);
    } else if (auto* R = dynamic_cast<TbsDataSkinComboBox*>(C)) {
      change(R);
    } else if (auto* R = dynamic_cast<TbsDataSkinListBox*>(C)) {
      change(R);
      R->CaptionFontName = ANewFontName;
      R->CaptionFontHeight += AFontHeightCorrection;
    } else if (auto* R = dynamic_cast<TbsDataSkinSpinEditControl*>(C)) {
      change(R);
    } else if (auto* R = dynamic_cast<TbsDataSkinEditControl*>(C)) {
      change(R);
    } else if (auto* R = dynamic_cast<TbsDataSkinStdLabelControl*>(C)) {
      change(R);
    } else if (auto* R = dynamic_cast<TbsDataSkinLabelControl*>(C)) {
      change(R);
    } else if (auto* R = dynamic_cast<TbsDataSkinGaugeControl*>(C)) {
      change(R);
    } else if (auto* R = dynamic_cast<TbsDataSkinButtonControl*>(C)) {
      change(R);
    } else if (auto* R = dynamic_cast<TbsDataSkinCheckRadioControl*>(C)) {
      change(R);
    } else if (auto* R = dynamic_cast<TbsDataSkinPanelControl*>(C)) {
      change(R);
    } else if (auto* R = dynamic_cast<TbsDataSkinExPanelControl*>(C)) {
      change(R);
    }
  }
}
