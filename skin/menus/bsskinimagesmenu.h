// A drop-down picker of images: entries (image index, caption, hint) over an image list, shown as a
// grid of ColumnsCount cells per row in a borderless popup window, with full-width caption rows and
// section headers. Independent of the form engine: while open, the grid captures the mouse and takes
// the application's messages itself.
#pragma once

#include <memory>

#include "platform/rtl/collection.h"
#include "platform/ui/core/application.h"
#include "platform/ui/core/customcontrol.h"
#include "platform/ui/graphics/graphicsobjects.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/core/bsskindata.h"
#include "skin/menus/bsskinmenuhost.h"

class TbsSkinImagesMenu;

class TbsImagesMenuItem : public TCollectionItem {
 public:
  explicit TbsImagesMenuItem(TCollection* Collection);
  String ClassName() const override { return "TbsImagesMenuItem"; }
  // From another entry: ImageIndex, Caption, Button and Hint.
  void Assign(TPersistent* Source) override;

  Integer ImageIndex() const { return FImageIndex; }
  virtual void SetImageIndex(Integer Value) { FImageIndex = Value; }
  const String& Caption() const { return FCaption; }
  virtual void SetCaption(const String& Value) { FCaption = Value; }
  bool Button() const { return FButton; }
  void SetButton(bool Value) { FButton = Value; }
  bool Header() const { return FHeader; }
  void SetHeader(bool Value) { FHeader = Value; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  // Fired with the images menu as Sender when this entry is picked.
  TNotifyEvent OnClick;

  TRect ItemRect;

 private:
  Integer FImageIndex = -1;
  String FCaption;
  bool FButton = false;
  bool FHeader = false;
  String FHint;
};

class TbsImagesMenuItems : public TCollection {
 public:
  explicit TbsImagesMenuItems(TbsSkinImagesMenu* AImagesMenu);
  String ClassName() const override { return "TbsImagesMenuItems"; }
  TPersistent* GetOwner() override;
  TbsImagesMenuItem* GetItem(Integer Index) const { return static_cast<TbsImagesMenuItem*>(Items(Index)); }
  TbsImagesMenuItem* AddItem() { return static_cast<TbsImagesMenuItem*>(Add()); }

  TbsSkinImagesMenu* ImagesMenu;
};

class TbsSkinImagesMenuPopupWindow;

class TbsSkinImagesMenu : public TComponent {
 public:
  explicit TbsSkinImagesMenu(TComponent* AOwner);
  // An open grid closes without events.
  ~TbsSkinImagesMenu() override;
  String ClassName() const override { return "TbsSkinImagesMenu"; }

  // Opens the grid below the screen point / rectangle.
  void Popup(Integer X, Integer Y);
  void PopupFromRect(TRect R);
  // Closes an open grid without picking.
  void Hide();
  // Frees the grid window and fires the closing (and, when asked, the picking) events.
  void ProcessEvents(bool AProcessEvents);

  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TbsImagesMenuItems* ImagesItems() const { return FImagesItems.get(); }
  void SetImagesItems(TbsImagesMenuItems* Value) { FImagesItems->Assign(Value); }
  Integer ItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer Value) { FItemIndex = Value; }
  // The entry at ItemIndex; null when ItemIndex is outside the entries.
  TbsImagesMenuItem* SelectedItem() const;
  Integer ColumnsCount() const { return FColumnsCount; }
  // 1..50; other values are ignored.
  void SetColumnsCount(Integer Value);
  TbsSkinData* SkinData() const { return FSkinData; }
  void SetSkinData(TbsSkinData* Value);
  bool ShowSelectedItem() const { return FShowSelectedItem; }
  void SetShowSelectedItem(bool Value) { FShowSelectedItem = Value; }
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  // The hint component (a component that implements IbsSkinHintLink).
  TComponent* SkinHint() const { return FSkinHint; }
  void SetSkinHint(TComponent* Value);
  bool ShowHints() const { return FShowHints; }
  void SetShowHints(bool Value) { FShowHints = Value; }
  // The open grid; null when closed.
  TbsSkinImagesMenuPopupWindow* PopupWindow() const { return FPopupWindow; }

  TNotifyEvent OnItemClick;
  TNotifyEvent OnChange;
  TNotifyEvent OnInternalChange;
  TNotifyEvent OnMenuClose;
  TNotifyEvent OnMenuPopup;
  TNotifyEvent OnInternalMenuClose;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TbsSkinImagesMenuPopupWindow;
  IbsSkinHintLink* hintLink() const;

  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TbsImagesMenuItems> FImagesItems;
  Integer FItemIndex = -1;
  Integer FColumnsCount = 1;
  TbsSkinData* FSkinData = nullptr;
  TbsSkinImagesMenuPopupWindow* FPopupWindow = nullptr;
  bool FShowSelectedItem = true;
  Integer FOldItemIndex = -1;
  bool FAlphaBlend = false;
  bool FAlphaBlendAnimation = false;
  Byte FAlphaBlendValue = 200;
  std::unique_ptr<TFont> FDefaultFont;
  bool FUseSkinFont = true;
  TComponent* FSkinHint = nullptr;
  bool FShowHints = true;
};

class TbsSkinImagesMenuPopupWindow : public TCustomControl {
 public:
  explicit TbsSkinImagesMenuPopupWindow(TComponent* AOwner);
  ~TbsSkinImagesMenuPopupWindow() override;
  String ClassName() const override { return "TbsSkinImagesMenuPopupWindow"; }

  void Show(TRect PopupRect);
  // Closes; the window is freed before this returns.
  void Hide(bool AProcessEvents);
  void ProcessKey(Integer KeyCode);
  // Gives the application's messages and the mouse back; the grid's own hooks only.
  void releaseHooks();
  // The first non-header entry at the client point; -1 for none.
  Integer ItemAtPos(Integer X, Integer Y);
  void CalcItemRects();
  void CreateWindowImage();
  void DrawItems(Integer AActiveIndex, Integer ASelectedIndex, TCanvas* Cnvs);

  bool FSkinSupport = false;
  TMessageEvent OldAppMessage;
  TbsSkinImagesMenu* ImagesMenu;
  HRGN FRgn = nullptr;
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  TRect NewItemsRect;
  TBitmap* WindowPicture = nullptr;
  TBitmap* MaskPicture = nullptr;
  Integer MouseInItem = -1;
  Integer OldMouseInItem = -1;
  bool FDown = false;
  bool FItemDown = false;
  // Set once the grid closed: nothing of it runs again while it waits to be freed.
  bool FClosed = false;
  bool FHooked = false;

 protected:
  void WndProc(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  bool TopLevelWindow() const override { return true; }

 private:
  void AppMessage(MSG& Msg, bool& Handled);
  void TestActive(Integer X, Integer Y);
  void SetMenuWindowRegion();
  void DrawItemFrame(TRect R, TCanvas* Cnvs, bool ADown);
  void DrawButtonCaption(const String& Caption, TRect R, bool ADown, bool AActive, TCanvas* Cnvs);
  void DrawHeaderCaption(const String& Caption, TRect R, TCanvas* Cnvs);
  void moveHover(Integer NewItem);
  bool isHeader(Integer Index) const;
  void hideHint();
};
