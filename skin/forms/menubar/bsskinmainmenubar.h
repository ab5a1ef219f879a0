// The skinned main menu bar: a control at the top of the form that shows the top-level items of a
// main menu as light-weight objects it paints and drives itself, opens their submenus through the
// form engine's popup chain and walks them with the keyboard while the engine is in main-menu mode.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/core/timer.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/menus/menu.h"
#include "skin/controls/base/bsskincontrol.h"
#include "skin/core/bsskinrecordsobjects.h"
#include "skin/forms/engine/bsskinform.h"

class TbsSkinMainMenuBar;

// A main menu that also names the skin of its popups when opened from a caption button.
class TbsSkinMainMenu : public TMainMenu {
 public:
  using TMainMenu::TMainMenu;
  String ClassName() const override { return "TbsSkinMainMenu"; }
  TbsSkinData* SkinData() const { return FSD; }
  void SetSkinData(TbsSkinData* Value);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TbsSkinData* FSD = nullptr;
};

// Base of every object of the bar: state, hit rectangle, morphing between normal and active image.
class TbsMenuBarObject : public TObject {
 public:
  TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData);
  virtual void ReDraw();
  virtual void Draw(TCanvas* Cnvs) { (void)Cnvs; }
  virtual void MouseDown(Integer X, Integer Y, TMouseButton Button) { (void)X, (void)Y, (void)Button; }
  virtual void MouseUp(Integer X, Integer Y, TMouseButton Button) { (void)X, (void)Y, (void)Button; }
  virtual void DblClick() {}
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual bool CanMorphing();
  bool EnableMorphing() const;
  void DoMorphing();
  Double MorphKf() const { return FMorphKf; }
  void SetMorphKf(Double Value);

  TbsSkinMainMenuBar* Parent;
  bool FMouseIn = false;
  TBitmap* Picture = nullptr;
  bool FDown = false;
  Double FMorphKf = 0;
  String IDName;
  TRect SkinRect, ActiveSkinRect, DownRect, ObjectRect;
  bool Active = false;
  bool Enabled = true;
  bool Visible = true;
  bool Morphing = false;
  TbsMorphKind MorphKind = mkDefault;
};

// One button of a maximized MDI child at an end of the bar: system menu, minimize, restore, close.
class TbsSkinMainMenuBarButton : public TbsMenuBarObject {
 public:
  TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData);
  void Draw(TCanvas* Cnvs) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void DblClick() override;
  void MouseEnter() override;
  void MouseLeave() override;
  void DoCommand();

  bool FSkinSupport = false;
  TbsStdCommand Command = cmClose;

 private:
  void defaultDraw(TCanvas* Cnvs);
};

// One top-level menu item on the bar.
class TbsSkinMainMenuBarItem : public TbsMenuBarObject {
 public:
  TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* AParent, TbsDataSkinMainMenuItem* AData);
  void ReDraw() override;
  void Draw(TCanvas* Cnvs) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  bool EnableAnimation() const;
  void SetDown(bool Value);
  void TrackMenu();

  bool FSkinSupport = false;
  bool OldEnabled = true;
  // The item fits inside the bar (hides the base's Visible, which stays true).
  bool Visible = true;
  TMenuItem* MenuItem = nullptr;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor UnEnabledFontColor = 0, FontColor = 0, ActiveFontColor = 0, DownFontColor = 0;
  TRect TextRct;
  TRect DownRect;
  Integer LO = 0, RO = 0;
  bool StretchEffect = false;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  Integer CurrentFrame = 0;
  bool InActiveAnimation = false;

 private:
  bool layout(TCanvas* Measure);
  void defaultDraw(TCanvas* Cnvs);
  void skinDraw(TCanvas* Cnvs);
  void buildImage(TBitmap* B, TCanvas* Target, const TRect& S, bool A);
  void toolButtonImage(TBitmap* B, TCanvas* Target, bool A, bool D);
  TRect frameRect() const;
  void applyFont(TCanvas* C) const;
  Integer imageWidth() const;
  void drawImage(TCanvas* C, Integer X, Integer Y) const;
  Cardinal captionFlags() const;
  void releaseDownItem();
  void leaveOtherItems();
};

using TbsItemEnterEvent = std::function<void(TMenuItem* MenuItem)>;
using TbsItemLeaveEvent = std::function<void(TMenuItem* MenuItem)>;

class TbsSkinMainMenuBar : public TbsSkinControl {
 public:
  explicit TbsSkinMainMenuBar(TComponent* AOwner);
  ~TbsSkinMainMenuBar() override;
  String ClassName() const override { return "TbsSkinMainMenuBar"; }

  // ---- published ----
  bool ToolBarMode() const { return FToolBarMode; }
  void SetToolBarMode(bool Value) { FToolBarMode = Value; }
  bool ToolBarModeItemTransparent() const { return FToolBarModeItemTransparent; }
  void SetToolBarModeItemTransparent(bool Value) { FToolBarModeItemTransparent = Value; }
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  bool ScrollMenu() const { return FScrollMenu; }
  void SetScrollMenu(bool Value) { FScrollMenu = Value; }
  TFont* DefItemFont() const { return FDefItemFont.get(); }
  void SetDefItemFont(TFont* Value);
  Integer DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(Integer Value);
  Integer DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value);
  bool PopupToUp() const { return FPopupToUp; }
  void SetPopupToUp(bool Value) { FPopupToUp = Value; }
  TbsSkinForm* SkinForm() const { return BSF; }
  // Links both ways: the engine's menu tracking drives this bar's keyboard mode.
  void SetSkinForm(TbsSkinForm* Value);
  TMainMenu* MainMenu() const { return FMainMenu; }
  void SetMainMenu(TMainMenu* Value);
  TNotifyEvent OnMouseEnter, OnMouseLeave;
  TbsItemEnterEvent OnItemMouseEnter;
  TbsItemLeaveEvent OnItemMouseLeave;

  // ---- operations ----
  void CreateMenu();
  void UpDateItems();
  void UpDateEnabledItems();
  void Merge(TMainMenu* Menu);
  void UnMerge() { Merge(nullptr); }
  TMainMenu* GetChildMainMenu() const;
  bool FindHotKeyItem(Word Key);
  void NextMainMenuItem();
  void PriorMainMenuItem();
  bool ExecuteActiveItem();
  void MenuEnter();
  void MenuClose();
  void MenuExit();
  void DrawObject(TbsMenuBarObject* Obj);
  // The buttons of a maximized MDI child, at the head of the object list.
  void CreateChildButtons();
  void CheckChildButtons(TbsBorderIcons Icons);
  void MDIChildMaximize();
  void MDIChildRestore();
  // The form engine of the maximized child of the application's main form; null when none.
  TbsSkinForm* GetMaximizedMDIChildSkinForm() const;
  void GetSkinData() override;
  void BeforeChangeSkinData() override;
  void ChangeSkinData() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void TestActive(Integer X, Integer Y);
  void CalcRects();
  void PaintMenuBar(TCanvas* C);
  // The tool panel behind the items in tool-bar mode ("resizetoolpanel", else "panel").
  void CreateToolBarImage(TBitmap* B);
  TRect GetMarkerRect() const;
  void PopupHiddenItems();
  Integer ObjectCount() const { return Integer(ObjectList.size()); }
  TbsMenuBarObject* Objects(Integer Index) const { return ObjectList[size_t(Index)].get(); }
  TbsSkinMainMenuBarItem* Item(Integer Index) const;
  TTimer* MouseTimer() const { return FMouseTimer.get(); }
  TTimer* MorphTimer() const { return FMorphTimer.get(); }
  TTimer* AnimateTimer() const { return FAnimateTimer.get(); }

  bool FSkinSupport = false;
  Integer ButtonsCount = 0;
  bool FMDIChildMax = false;
  bool MenuActive = false;
  bool Scroll = false;
  bool MarkerActive = false;
  Integer ActiveObject = -1, OldActiveObject = -1, MouseCaptureObject = -1;
  TRect NewItemsRect;
  TRect SkinRect, ItemsRect;
  String MenuBarItem, MaxButton, MinButton, SysMenuButton, CloseButton;
  Integer TrackMarkColor = 0, TrackMarkActiveColor = 0;
  TBitmap* Picture = nullptr;
  bool StretchEffect = false;
  bool ItemTransparent = false;
  bool ChildMenuIn = false;

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void ClearObjects();
  void deleteChildButtons();
  void drawMarker(TCanvas* C);
  void flushCanvas();
  void mouseTimerProc();
  void morphTimerProc();
  void animateTimerProc();

  bool FToolBarMode = false;
  bool FToolBarModeItemTransparent = false;
  bool FScrollMenu = true;
  std::unique_ptr<TFont> FDefItemFont;
  bool FUseSkinFont = true;
  bool FUseSkinSize = true;
  bool FPopupToUp = false;
  TbsSkinForm* BSF = nullptr;
  TMainMenu* FMainMenu = nullptr;
  TMainMenu* FMergeMenu = nullptr;
  std::unique_ptr<TTimer> FMouseTimer, FMorphTimer, FAnimateTimer;
  Integer FDefaultWidth = 0, FDefaultHeight = 22;
  std::vector<std::unique_ptr<TbsMenuBarObject>> ObjectList;
};
