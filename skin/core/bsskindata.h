// The loaded skin: pictures, form-frame geometry, the form-level records and the two element lists that
// every skinned form and control finds its look in by name. Loading and clearing are announced to all
// forms with the skin-change messages, so the form engine can drop and rebuild what it drew from the
// old skin.
#pragma once

#include <memory>

#include "platform/rtl/component.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/lists.h"
#include "platform/ui/graphics/bitmap.h"
#include "skin/core/bsmessages.h"
#include "skin/core/bsskinrecords.h"
#include "skin/core/bsstrings.h"

class TbsCompressedStoredSkin;
class TbsCompressedSkinList;

class TbsSkinData : public TComponent {
 public:
  explicit TbsSkinData(TComponent* AOwner);
  // Frees the skin without announcing anything.
  ~TbsSkinData() override;
  String ClassName() const override { return "TbsSkinData"; }

  // The skin folder form: the description file with its BMP files beside it. A file that is missing or
  // is no skin description is ignored (nothing changes, nothing is sent).
  void LoadFromFile(const String& FileName);
  // An empty stored skin is ignored. A payload this reader does not know (version above 3) raises
  // EReadError before anything changes.
  void LoadCompressedStoredSkin(TbsCompressedStoredSkin* AStoredSkin);
  // EFOpenError when the file cannot be opened; an unsupported container is ignored.
  void LoadFromCompressedFile(const String& FileName);
  void SaveToCompressedFile(const String& FileName);
  // Writes the description into the file, keeping the sections the description does not use.
  void SaveToFile(const String& FileName);
  // SaveToFile, then every named picture as a BMP file beside the description.
  void StoreToDisk(const String& FileName);
  // Clears and announces the change (1225, 1226, 1227) without calling OnLoadData.
  void ClearSkin();
  void ClearAll();
  void ClearObjects();

  // Position of the first record whose IDName equals AName exactly; -1 when none.
  Integer GetIndex(const String& AName) const;
  Integer GetControlIndex(const String& AName) const;

  void SendSkinDataMessage(UINT M);
  // Appends the picture of a BMP file under its bare file name; the new picture index is the old count.
  void AddBitMap(const String& FileName);
  // EListError for an index outside the pictures; element records keep their indexes.
  void DeleteBitMap(Integer Index);
  void GlobalChangeFont(const String& ANewFontName, Integer AFontHeightCorrection);

  // Writes every section of the description into IniFile, each erased first. EInvalidOperation, before
  // anything is written, when two elements (or an element and a skin-wide section) would share a
  // section, or when an element name cannot stand in an element list.
  void WriteSkinDescription(TCustomIniFile* IniFile);

  void Notification(TComponent* AComponent, TOperation Operation) override;

  // ---- published ----
  TNotifyEvent OnLoadData;
  TbsCompressedSkinList* SkinList() const { return FSkinList; }
  void SetSkinList(TbsCompressedSkinList* Value);
  Integer SkinIndex() const { return FSkinIndex; }
  void SetSkinIndex(Integer Value);
  bool SkinnableForm() const { return FSkinnableForm; }
  void SetSkinnableForm(bool Value);
  bool EnableSkinEffects() const { return FEnableSkinEffects; }
  void SetEnableSkinEffects(bool Value) { FEnableSkinEffects = Value; }
  TbsCompressedStoredSkin* CompressedStoredSkin() const { return FCompressedStoredSkin; }
  void SetCompressedStoredSkin(TbsCompressedStoredSkin* Value);
  // The user-interface strings: the table the application gave, else the one the loaded skin carries
  // (SkinStrData); null when there is neither, and the users take their built-in texts.
  TbsResourceStrData* ResourceStrData() const {
    return FResourceStrData != nullptr ? FResourceStrData : FSkinStrData.get();
  }
  void SetResourceStrData(TbsResourceStrData* Value);
  // The string table the loaded skin carries in its description (section STRINGS: its character set
  // and its lines in order); null when the skin carries none. It goes with the skin: a load or clear
  // replaces it.
  TbsResourceStrData* SkinStrData() const { return FSkinStrData.get(); }
  // Gives the skin a table of its own (the skin generator builds the product's texts this way); it is
  // written with the description. Null takes it away.
  void SetSkinStrData(std::unique_ptr<TbsResourceStrData> Value) { FSkinStrData = std::move(Value); }
  TbsSkinColors* SkinColors() const { return FSkinColors.get(); }
  bool ShowButtonGlowFrames() const { return FShowButtonGlowFrames; }
  void SetShowButtonGlowFrames(bool Value) { FShowButtonGlowFrames = Value; }
  bool ShowCaptionButtonGlowFrames() const { return FShowCaptionButtonGlowFrames; }
  void SetShowCaptionButtonGlowFrames(bool Value) { FShowCaptionButtonGlowFrames = Value; }
  bool ShowLayeredBorders() const { return FShowLayeredBorders; }
  void SetShowLayeredBorders(bool Value);
  bool AeroBlurEnabled() const { return FAeroBlurEnabled; }
  void SetAeroBlurEnabled(bool Value);
  bool AnimationForAllWindows() const { return FAnimationForAllWindows; }
  void SetAnimationForAllWindows(bool Value) { FAnimationForAllWindows = Value; }
  bool DlgTreeViewDrawSkin() const { return FDlgTreeViewDrawSkin; }
  void SetDlgTreeViewDrawSkin(bool Value) { FDlgTreeViewDrawSkin = Value; }
  const String& DlgTreeViewItemSkinDataName() const { return FDlgTreeViewItemSkinDataName; }
  void SetDlgTreeViewItemSkinDataName(const String& Value) { FDlgTreeViewItemSkinDataName = Value; }
  bool DlgListViewDrawSkin() const { return FDlgListViewDrawSkin; }
  void SetDlgListViewDrawSkin(bool Value) { FDlgListViewDrawSkin = Value; }
  const String& DlgListViewItemSkinDataName() const { return FDlgListViewItemSkinDataName; }
  void SetDlgListViewItemSkinDataName(const String& Value) { FDlgListViewItemSkinDataName = Value; }

  // ---- the loaded skin ----
  bool FBuilderMode = false;
  TRect ButtonsRect;
  TRect CaptionRect;
  Integer ButtonsOffset = 0;
  bool CapButtonsInLeft = false;
  bool AutoRenderingInActiveImage = false;
  TbsInActiveEffect InActiveEffect = ieBrightness;
  std::unique_ptr<TbsDataSkinPopupWindow> PopupWindow;
  std::unique_ptr<TbsDataSkinLayerFrame> LayerFrame;
  std::unique_ptr<TbsDataSkinHintWindow> HintWindow;
  bool Empty = true;
  std::unique_ptr<TBitmap> FPicture;
  std::unique_ptr<TBitmap> FInActivePicture;
  std::unique_ptr<TBitmap> FMask;
  // TBitmap*, owned: the numbered pictures.
  std::unique_ptr<TList> FActivePictures;
  String FPictureName;
  String FInActivePictureName;
  String FMaskName;
  std::unique_ptr<TStringList> FActivePicturesNames;
  // TbsDataSkinObject*, owned, in description order.
  std::unique_ptr<TList> ObjectList;
  // TbsDataSkinControl*, owned, in description order.
  std::unique_ptr<TList> CtrlList;
  TPoint LTPoint;
  TPoint RTPoint;
  TPoint LBPoint;
  TPoint RBPoint;
  Integer BGPictureIndex = -1;
  Integer MDIBGPictureIndex = -1;
  bool MainMenuPopupUp = false;
  TRect MaskRectArea;
  TPoint HitTestLTPoint;
  TPoint HitTestRTPoint;
  TPoint HitTestLBPoint;
  TPoint HitTestRBPoint;
  TRect ClRect;
  Integer BorderW = 0;
  Integer FormMinWidth = 0;
  Integer FormMinHeight = 0;
  bool MDITabsTransparent = false;
  bool MainMenuBarTransparent = false;
  bool TopStretch = false;
  bool LeftStretch = false;
  bool RightStretch = false;
  bool BottomStretch = false;
  bool StretchEffect = false;
  TbsStretchType StretchType = bsstFull;
  bool MDIBGStretchEffect = false;
  TbsStretchType MDIBGStretchType = bsstFull;
  String SkinName;
  String SkinAuthor;
  String AuthorURL;
  String AuthorEmail;
  String SkinComments;
  // Set from the announcement of a change until just before WM_SKINCHANGED.
  bool ChangeSkinDataProcess = false;

  // Typed access to the lists.
  Integer PictureCount() const { return FActivePictures->Count(); }
  TBitmap* Picture(Integer Index) const { return static_cast<TBitmap*>(FActivePictures->Items(Index)); }
  Integer ObjectCount() const { return ObjectList->Count(); }
  TbsDataSkinObject* Objects(Integer Index) const {
    return static_cast<TbsDataSkinObject*>(ObjectList->Items(Index));
  }
  Integer CtrlCount() const { return CtrlList->Count(); }
  TbsDataSkinControl* Ctrls(Integer Index) const {
    return static_cast<TbsDataSkinControl*>(CtrlList->Items(Index));
  }
  // Appends a record the skin then owns (the skin generator builds skins this way).
  void AddObject(std::unique_ptr<TbsDataSkinObject> Record);
  void AddCtrl(std::unique_ptr<TbsDataSkinControl> Record);
  // Appends a picture the skin then owns, under Name.
  void AddPicture(std::unique_ptr<TBitmap> Bitmap, const String& Name);

 private:
  friend class TbsCompressedStoredSkin;

  bool designing() const { return ComponentState().Contains(csDesigning); }
  bool loading() const { return ComponentState().Contains(csLoading); }
  // Announces the change, clears the skin, runs ReadSkin and closes the change. A failing ReadSkin
  // still closes the change (with an empty skin) before its exception goes on.
  template <class F>
  void changeSkin(F ReadSkin);
  void loadPayload(TStream* Payload);

  // The description readers and writers (bsskinlayout.cpp).
  void ReadVersion(TCustomIniFile* IniFile);
  void ReadPictureNames(TCustomIniFile* IniFile);
  void ReadFormInfo(TCustomIniFile* IniFile);
  void WriteFormInfo(TCustomIniFile* IniFile);
  void ReadObjects(TCustomIniFile* IniFile);
  void WriteObjects(TCustomIniFile* IniFile);
  void ReadCtrls(TCustomIniFile* IniFile);
  void WriteCtrls(TCustomIniFile* IniFile);
  // Folder: where the BMP files lie; empty when the pictures came with the payload.
  void ReadActivePictures(TCustomIniFile* IniFile, const String& Folder);
  void WriteActivePicturesNames(TCustomIniFile* IniFile);
  void ReadStringTable(TCustomIniFile* IniFile);
  void WriteStringTable(TCustomIniFile* IniFile);
  // The form-level records and both element lists, in reading order.
  void ReadSkinRecords(TCustomIniFile* IniFile);
  void checkElementNames() const;

  TbsCompressedSkinList* FSkinList = nullptr;
  Integer FSkinIndex = 0;
  bool FSkinnableForm = true;
  bool FEnableSkinEffects = true;
  TbsCompressedStoredSkin* FCompressedStoredSkin = nullptr;
  TbsResourceStrData* FResourceStrData = nullptr;
  std::unique_ptr<TbsSkinColors> FSkinColors;
  std::unique_ptr<TbsResourceStrData> FSkinStrData;
  bool FShowButtonGlowFrames = true;
  bool FShowCaptionButtonGlowFrames = true;
  bool FShowLayeredBorders = true;
  bool FAeroBlurEnabled = true;
  bool FAnimationForAllWindows = false;
  bool FDlgTreeViewDrawSkin = true;
  String FDlgTreeViewItemSkinDataName = "listbox";
  bool FDlgListViewDrawSkin = true;
  String FDlgListViewItemSkinDataName = "listbox";
};
