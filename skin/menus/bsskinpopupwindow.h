// One open level of a skinned popup menu: a borderless tool window that never takes the focus,
// lists the visible children of one menu item (or of two, one after the other) as entries, sizes
// itself, places itself beside an anchor rectangle inside the work area, fades in, paints its
// background, entries and scroll markers, follows the cursor by polling and takes keys from its
// menu chain.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/core/customcontrol.h"
#include "platform/ui/core/timer.h"
#include "platform/ui/graphics/imagelist.h"
#include "platform/ui/menus/menuitem.h"
#include "skin/core/bsskindata.h"
#include "skin/menus/bsskinmenuitem.h"

class TbsSkinMenu;

class TbsSkinPopupWindow : public TCustomControl {
 public:
  TbsSkinPopupWindow(TComponent* AOwner, TbsSkinMenu* AParentMenu, TbsDataSkinPopupWindow* AData);
  ~TbsSkinPopupWindow() override;
  String ClassName() const override { return "TbsSkinPopupWindow"; }

  // R in screen coordinates; PopupByItem: a submenu beside its parent entry R; PopupUp: above R.
  void Show(TRect R, TMenuItem* AItem, Integer StartIndex, bool PopupByItem, bool PopupUp);
  void Show2(TRect R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex, bool PopupByItem,
             bool PopupUp);
  void Hide();
  void PaintMenu(HDC DC);
  // One key press (a virtual-key code).
  void PopupKeyDown(Integer CharCode);
  void CreateMenu(TMenuItem* AItem, Integer StartIndex);
  void CreateMenu2(TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex);
  void ArrangeItems();
  Integer GetMenuItemHeight();
  void CreateWindowImage(TBitmap* B, bool ADrawClient);
  void DrawUpMarker(TCanvas* Cnvs);
  void DrawDownMarker(TCanvas* Cnvs);
  void DrawItemBackground(TCanvas* Cnvs, TRect R);
  void SetMenuWindowRegion();

  // Mouse and keyboard.
  void MouseTimerProc(TObject* Sender);
  void MorphTimerProc(TObject* Sender);
  void TestActive(Integer X, Integer Y);
  bool InItemRect(Integer X, Integer Y);
  bool IsCursorInWindow(TPoint P);
  bool CanScroll(Integer AScrollCode);
  void StartScroll();
  void StopScroll();
  void ScrollUp(bool ACycle);
  void ScrollDown(bool ACycle);
  Integer LastPageStartIndex();
  void CloseSubLevels();

  Integer ItemCount() const { return Integer(ItemList.size()); }
  TbsSkinMenuItem* Item(Integer Index) const { return ItemList[size_t(Index)].get(); }

  TbsDataSkinMenuItem* DSMI = nullptr;
  Integer VisibleCount = 0;
  Integer VisibleStartIndex = 0;
  bool Scroll = false;
  bool Scroll2 = false;
  Integer ScrollCode = 0;
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  TRect NewItemsRect;
  HRGN FRgn = nullptr;
  Integer ShowX = 0, ShowY = 0;
  Integer OMX = -1, OMY = -1;
  TCustomImageList* ImgL = nullptr;
  Integer GlyphWidth = 19;
  TBitmap* WindowPicture = nullptr;
  TBitmap* MaskPicture = nullptr;
  Integer OldActiveItem = -1;
  TTimer* MouseTimer = nullptr;
  TTimer* MorphTimer = nullptr;
  TbsSkinMenu* ParentMenu;
  TbsSkinData* SD = nullptr;
  TbsDataSkinPopupWindow* PW = nullptr;
  std::vector<std::unique_ptr<TbsSkinMenuItem>> ItemList;
  Integer ActiveItem = -1;
  std::unique_ptr<TBitmap> FPaintBuffer;
  // The level's tooltip text: the hovered entry's hint.
  String Hint;
  // Set once the chain closed the level: it waits to be freed and reacts to nothing.
  bool FClosed = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  bool TopLevelWindow() const override { return true; }

 private:
  void buildItems(TMenuItem* AItem, Integer From);
  void prepareFont();
  void computeSize(bool TwoMenus);
  void computeGeometry();
  void place(const TRect& R, bool PopupByItem, bool PopupUp);
  void showLevel(const TRect& R, bool PopupByItem, bool PopupUp, const std::function<void()>& Build);
  bool usable(Integer Index) const;
  // Height of an entry in the skinned or the default layout.
  Integer entryHeight(Integer Index, bool Skinned);
  void selectNext();
  void selectPrior();
  void closeLastLevel();
  void wmTimer(TMessage& Message);
};
