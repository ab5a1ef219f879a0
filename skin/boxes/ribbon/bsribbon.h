// The ribbon: a top-aligned bar with an application button at its left end, a strip of tabs each owning
// one page of controls (only the selected page shows), optional image buttons at the right end of the
// strip and the caption buttons of a maximized MDI child. Tabs and pages stay paired: adding a tab at
// run time creates its page, deleting it frees the page. The application button opens the application
// menu (bsappmenu.h) over the form; that lives in bsribbon_appmenu.cpp, painting in bsribbon_paint.cpp.
#pragma once

#include "platform/rtl/collection.h"
#include "platform/ui/core/application.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/boxes/ribbon/bsribbonpages.h"
#include "skin/controls/base/bsskincontrol.h"
#include "skin/controls/buttons/bsskinmenubutton.h"
#include "skin/core/bsskinrecordsbars.h"
#include "skin/forms/engine/bsformribbon.h"

class TbsAppMenu;
class TbsAppMenuItem;
class TbsRibbon;
class TbsRibbonPage;
class TbsRibbonTabs;
class TbsSkinHint;
class TbsSkinPopupMenu;

// One tab of the ribbon; its caption is its page's caption.
class TbsRibbonTab : public TCollectionItem {
 public:
  explicit TbsRibbonTab(TCollection* Collection);
  ~TbsRibbonTab() override;
  String ClassName() const override { return "TbsRibbonTab"; }
  void Assign(TPersistent* Source) override;

  TbsRibbonPage* Page() const { return FPage; }
  void SetPage(TbsRibbonPage* Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  // Written by the ribbon's hover tracking and layout.
  bool Active = false;
  TRect ItemRect{};
  Integer Width = 0;

 private:
  friend class TbsRibbon;
  friend class TbsRibbonTabs;
  friend class TbsRibbonPage;
  TbsRibbon* ribbon() const;
  void CreateTabPage();

  TbsRibbonPage* FPage = nullptr;
  bool FVisible = true;
};

class TbsRibbonTabs : public TCollection {
 public:
  explicit TbsRibbonTabs(TbsRibbon* ARibbon);
  String ClassName() const override { return "TbsRibbonTabs"; }

  TbsRibbonTab* Add();
  TbsRibbonTab* Insert(Integer Index);
  void Delete(Integer Index);
  void Clear();
  TbsRibbonTab* Items(Integer Index) const { return static_cast<TbsRibbonTab*>(TCollection::Items(Index)); }
  TbsRibbonTab* operator[](Integer Index) const { return Items(Index); }

  TbsRibbon* Ribbon;
  // The page of a tab just deleted in the designer, freed at the next Update.
  TbsRibbonPage* DestroyPage = nullptr;

 protected:
  TPersistent* GetOwner() override;
  void Update(TCollectionItem* Item) override;
};

// A small image button of the ribbon: a user button at the right end of the strip, or (Code 1 close,
// 2 restore, 3 minimize) a caption button of a maximized MDI child.
class TbsRibbonButtonItem : public TCollectionItem {
 public:
  explicit TbsRibbonButtonItem(TCollection* Collection);
  String ClassName() const override { return "TbsRibbonButtonItem"; }
  void Assign(TPersistent* Source) override;

  Integer ImageIndex() const { return FImageIndex; }
  virtual void SetImageIndex(Integer Value);
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  TbsSkinPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TbsSkinPopupMenu* Value) { FPopupMenu = Value; }

  TNotifyEvent OnClick;

  // Written by the ribbon only.
  TRect ItemRect{};
  bool Active = false;
  bool Down = false;
  Integer Code = 0;

 private:
  Integer FImageIndex = -1;
  String FHint;
  bool FEnabled = true;
  bool FVisible = true;
  TbsSkinPopupMenu* FPopupMenu = nullptr;
};

class TbsRibbonButtonItems : public TCollection {
 public:
  explicit TbsRibbonButtonItems(TbsRibbon* ARibbon);
  String ClassName() const override { return "TbsRibbonButtonItems"; }

  TbsRibbonButtonItem* Add() { return static_cast<TbsRibbonButtonItem*>(TCollection::Add()); }
  TbsRibbonButtonItem* Insert(Integer Index) {
    return static_cast<TbsRibbonButtonItem*>(TCollection::Insert(Index));
  }
  TbsRibbonButtonItem* Items(Integer Index) const {
    return static_cast<TbsRibbonButtonItem*>(TCollection::Items(Index));
  }
  TbsRibbonButtonItem* operator[](Integer Index) const { return Items(Index); }

  TbsRibbon* Ribbon;

 protected:
  TPersistent* GetOwner() override;
  void Update(TCollectionItem* Item) override;
};

class TbsRibbonPage : public TbsRibbonCustomPage {
 public:
  explicit TbsRibbonPage(TComponent* AOwner);
  ~TbsRibbonPage() override;
  String ClassName() const override { return "TbsRibbonPage"; }

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  // Attached to a ribbon, the page always takes the ribbon's page rectangle.
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

 protected:
  void WMSize(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;

 private:
  String FCaption;
};

// The button at the ribbon's left end: it opens the ribbon's application menu, or, without one, drops
// the ribbon's application popup menu like any skinned menu button.
class TbsAppButton : public TbsSkinMenuButton {
 public:
  explicit TbsAppButton(TComponent* AOwner) : TbsSkinMenuButton(AOwner) {}
  String ClassName() const override { return "TbsAppButton"; }

  bool CanMenuTrack(Integer X, Integer Y) override;
  void TrackMenu() override;
  // The menu was closed: the button lets go of its pressed look.
  void ReleaseMenu();
  bool DownState() const { return FDownState; }

  TbsRibbon* Ribbon = nullptr;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void Dispatch(TMessage& Message) override;

 private:
  bool hasAppMenu() const;
};

class TbsRibbon : public TbsSkinControl, public IbsFormRibbon {
 public:
  explicit TbsRibbon(TComponent* AOwner);
  ~TbsRibbon() override;
  String ClassName() const override { return "TbsRibbon"; }

  // ---- published ----
  TbsRibbonTabs* Tabs() const { return FTabs.get(); }
  void SetTabs(TbsRibbonTabs* Value);
  TbsRibbonButtonItems* Buttons() const { return FButtons.get(); }
  void SetButtons(TbsRibbonButtonItems* Value);
  TCustomImageList* ButtonsImageList() const { return FButtonsImageList; }
  void SetButtonsImageList(TCustomImageList* Value);
  bool ButtonsShowHint() const { return FButtonsShowHint; }
  void SetButtonsShowHint(bool Value) { FButtonsShowHint = Value; }
  TbsSkinHint* SkinHint() const { return FSkinHint; }
  void SetSkinHint(TbsSkinHint* Value);
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  Integer TabIndex() const { return FTabIndex; }
  void SetTabIndex(Integer Value);
  TbsRibbonPage* ActivePage() const;
  void SetActivePage(TbsRibbonPage* Value);
  bool TabBoldStyle() const { return FTabBoldStyle; }
  void SetTabBoldStyle(bool Value);
  Integer AppButtonWidth() const { return FAppButtonWidth; }
  void SetAppButtonWidth(Integer Value);
  TbsAppButton* AppButton() const { return FAppButton; }
  TCustomImageList* AppButtonImageList() const { return FAppButtonImageList; }
  void SetAppButtonImageList(TCustomImageList* Value);
  Integer AppButtonImageIndex() const { return FAppButtonImageIndex; }
  void SetAppButtonImageIndex(Integer Value);
  TbsSkinPopupMenu* AppButtonPopupMenu() const { return FAppButtonPopupMenu; }
  void SetAppButtonPopupMenu(TbsSkinPopupMenu* Value);
  String AppButtonCaption() const;
  void SetAppButtonCaption(const String& Value);
  Integer AppButtonMargin() const;
  void SetAppButtonMargin(Integer Value);
  Integer AppButtonSpacing() const;
  void SetAppButtonSpacing(Integer Value);

  TbsAppMenu* AppMenu() const { return FAppMenu; }
  void SetAppMenu(TbsAppMenu* Value);

  TNotifyEvent OnChangePage;
  TNotifyEvent OnChangingPage;
  TNotifyEvent OnMenuClose;

  // ---- operations ----
  void SetSkinData(TbsSkinData* Value) override;
  void GetSkinData() override;
  void ChangeSkinData() override;
  void Loaded() override;
  // Lays the application menu over the form's client area and gives it the focus.
  void ShowAppMenu();
  // Closes the application menu; Item, when given, then runs its command.
  void HideAppMenu(TbsAppMenuItem* Item);
  bool AppMenuShown() const;
  bool InAppHook() const { return FInAppHook; }
  void MDIChildMaximize() override;
  void MDIChildRestore() override;

  // ---- what a linked form engine asks ----
  TComponent* RibbonComponent() override { return this; }
  TComponent* LinkedSkinForm() const override { return BSF; }
  void LinkSkinForm(TComponent* AEngine) override { BSF = AEngine; }
  IbsFormAppMenu* FormAppMenu() const override;
  void CloseAppMenu() override { HideAppMenu(nullptr); }
  TMenu* AppButtonShortCutMenu() const override;
  bool HasTabs() const override { return FTabs->Count() > 0; }
  bool SelectTabByAccel(Word Key) override;
  void FocusRibbon() override;
  // The area under the strip that every page takes.
  void GetPageRect(Integer& ALeft, Integer& ATop, Integer& AWidth, Integer& AHeight);
  Integer GetTabsHeight();
  // Lays out buttons, MDI buttons and tabs; Cnvs measures the tab captions.
  void CalcItemRects(TCanvas* Cnvs);
  // The whole ribbon on Cnvs, skinned or in the default look.
  void PaintRibbon(TCanvas* Cnvs);
  void PaintEmptyPageArea(TCanvas* Cnvs, const TRect& R);
  // Lays the page background picture (tiled or stretched by the element) into R of Cnvs.
  void DrawPageBackground(TCanvas* Cnvs, const TRect& R);

  TbsRibbonButtonItems* MDIButtons() const { return FMDIButtons.get(); }
  bool ShowDivider() const { return FShowDivider; }
  Integer LeftOffset() const { return FLeftOffset; }
  Integer RightOffset() const { return FRightOffset; }
  Integer TabActive() const { return FTabActive; }
  Integer PopupButton() const { return FPopupButton; }
  TbsDataSkinTabControl* Data() const { return FData; }
  TBitmap* DataPicture() const { return FDataPicture; }

  bool WMEraseReady = false;
  bool FStopCheckTabIndex = false;
  TComponent* BSF = nullptr;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  void CreateAppButton();
  void placeAppMenu();
  void installAppHook();
  void removeAppHook();
  void appMessage(MSG& Msg, bool& Handled);
  bool formActive();
  void UpdateActiveItems(Integer X, Integer Y);
  bool anyTabVisible() const;
  Integer nextVisibleTab(Integer From, Integer Step) const;
  void selectNeighbour(Integer Step, bool FocusAppButtonAtStart);
  void mdiCommand(Integer Code);
  void releaseCapturedButton(TbsRibbonButtonItems* Items, Integer Capture);

  // painting
  void DrawDefaultTab(TCanvas* Cnvs, Integer Index);
  void DrawSkinTab(TCanvas* Cnvs, Integer Index);
  void DrawPictureTab(TCanvas* Cnvs, Integer Index, const TRect& Piece, TColor FontColor, bool Bold,
                      Integer BottomInset);
  void DrawMDIButton(TCanvas* Cnvs, Integer Index);
  void DrawButton(TCanvas* Cnvs, Integer Index);
  // Lays the strip out on Cnvs and draws its tabs and buttons there.
  void DrawStripItems(TCanvas* Cnvs, bool Skinned);
  void PaintDefault(TCanvas* Cnvs);
  void PaintSkinned(TCanvas* Cnvs);
  void LayoutPicture(TCanvas* Cnvs, const TRect& R, TBitmap* Source, const TRect& SourceRect);

  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  bool FInAppHook = false;
  TbsAppMenu* FAppMenu = nullptr;
  TMessageEvent OldAppMessage;
  std::unique_ptr<TbsRibbonButtonItems> FMDIButtons;
  std::unique_ptr<TbsRibbonButtonItems> FButtons;
  TCustomImageList* FButtonsImageList = nullptr;
  bool FButtonsShowHint = false;
  TbsSkinHint* FSkinHint = nullptr;
  bool FShowDivider = false;
  bool FUseSkinFont = true;
  std::unique_ptr<TbsRibbonTabs> FTabs;
  Integer FTabIndex = -1;
  Integer FLeftOffset = 57;
  Integer FRightOffset = 5;
  Integer FOldTabActive = -1, FTabActive = -1;
  Integer FActiveButton = -1, FOldActiveButton = -1, FMDIActiveButton = -1, FMDIOldActiveButton = -1;
  Integer FAppButtonWidth = 54;
  TbsAppButton* FAppButton = nullptr;
  TCustomImageList* FAppButtonImageList = nullptr;
  Integer FAppButtonImageIndex = 0;
  TbsSkinPopupMenu* FAppButtonPopupMenu = nullptr;
  Integer FMouseCaptureButton = -1, FMouseCaptureMDIButton = -1;
  Integer FPopupButton = -1;
  bool FTabBoldStyle = false;
  TbsDataSkinTabControl* FData = nullptr;
  TBitmap* FDataPicture = nullptr;
};

// Format(Pattern, [n]) for the first n from 1 that names no component of Form (case-insensitive).
String MakeUniqueComponentName(const String& Pattern, TComponent* Form);
