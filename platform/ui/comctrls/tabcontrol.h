// TCustomTabControl: the platform's tab control, a row (or rows) of tabs over a page area. It lays the
// tabs out, answers the TCM_ geometry messages, hit tests, scrolls a single row that does not fit with
// two arrows at the row's end, and paints a plain look unless the owner draws the tabs.
//
// Raw metrics (what the TCM_ messages answer; R is the client rectangle, H the item height, W a tab's
// width, "rows" the number of rows, or of columns for tabs on the left or right):
//   H = the item height set (TabHeight / TCM_SETITEMSIZE) when positive, else the font's line height or
//       the image list's height, whichever is larger, plus 6.
//   W = the item width set when positive, else the caption's width plus 12; the image list widens every
//       tab by its width (by its height for tabs on the left or right, which run downwards).
//   Tabs on top: the first row nearest the page starts at (2, 2 + (rows - 1) * H); each further tab
//   follows at the previous tab's right edge; a row wraps (MultiLine) before a tab that would pass
//   R.Right - 2; the row holding the selected tab is moved next to the page. Tabs at the bottom mirror
//   that from R.Bottom - 2. Tabs on the left / right stack downwards from y = 2 in columns H wide from
//   x = 2 / from R.Right - 2, and always wrap.
//   Page rectangle (TCM_ADJUSTRECT, wParam 0): R shrunk by 4 on each side, and on the tabs' side by
//   rows * H + 6 instead; wParam 1 turns a page rectangle back into the control's rectangle.
//   Scrolling (one row that does not fit): two arrows of ScrollArrowSize x H at the row's right end;
//   the tabs before the first shown one lie left of x = 2.
#pragma once

#include <functional>
#include <vector>

#include "platform/ui/core/customcontrol.h"

class TCustomImageList;

// The platform's tab control messages (Win32 values).
constexpr UINT TCM_FIRST = 0x1300;
constexpr UINT TCM_GETIMAGELIST = TCM_FIRST + 2;
constexpr UINT TCM_SETIMAGELIST = TCM_FIRST + 3;
constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
constexpr UINT TCM_GETITEMRECT = TCM_FIRST + 10;
constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;
constexpr UINT TCM_HITTEST = TCM_FIRST + 13;
constexpr UINT TCM_ADJUSTRECT = TCM_FIRST + 40;
constexpr UINT TCM_SETITEMSIZE = TCM_FIRST + 41;
constexpr UINT TCM_GETROWCOUNT = TCM_FIRST + 44;

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };

class TCustomTabControl;
using TDrawTabEvent =
    std::function<void(TCustomTabControl* Control, Integer TabIndex, const TRect& Rect, bool Active)>;
using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

struct TTabItem {
  String Caption;
  Integer ImageIndex = -1;
};

class TCustomTabControl : public TCustomControl {
 public:
  static constexpr Integer ScrollArrowSize = 16;

  explicit TCustomTabControl(TComponent* AOwner);
  String ClassName() const override { return "TCustomTabControl"; }

  Integer TabCount() const { return Integer(FItems.size()); }
  const TTabItem& Tab(Integer Index) const { return FItems.at(size_t(Index)); }
  // The selected tab; -1 = none. Setting it sends TCM_SETCURSEL and fires no event.
  Integer TabIndex() const { return FTabIndex; }
  void SetTabIndex(Integer Value);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  TTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(TTabPosition Value);
  TTabStyle Style() const { return FStyle; }
  void SetStyle(TTabStyle Value);
  Integer TabHeight() const { return FTabHeight; }
  void SetTabHeight(Integer Value);
  Integer TabWidth() const { return FTabWidth; }
  void SetTabWidth(Integer Value);
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);

  // Through the TCM_ messages, so a subclass's corrections apply.
  TRect TabRect(Integer Index);
  TRect DisplayRect();
  Integer IndexOfTabAt(Integer X, Integer Y);
  Integer RowCount();
  // The first tab shown of a scrolled row; 0 when the row fits.
  Integer FirstVisibleTab() const { return FFirstVisible; }
  bool Scrolling();
  // The index of the tab under the mouse while HotTrack is on; -1 = none.
  Integer HotTab() const { return FHotTab; }

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;
  TDrawTabEvent OnDrawTab;

 protected:
  void SetTabItems(std::vector<TTabItem> Items);
  virtual bool CanChange();
  virtual void Change();
  // A user's pick of tab Index: OnChanging may refuse it, then the selection moves and Change runs.
  bool SelectTab(Integer Index);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
  virtual void DrawTab(Integer TabIndex, const TRect& Rect, bool Active);
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseLeave(TMessage& Message) override;

 private:
  struct TLayout {
    std::vector<TRect> Rects;
    Integer Rows = 0;
    bool Scroll = false;
    TRect LeftArrow, RightArrow;
  };
  bool vertical() const { return FTabPosition == tpLeft || FTabPosition == tpRight; }
  Integer itemHeight();
  Integer itemWidth(const TTabItem& Item);
  TLayout layout();
  void layoutRows(TLayout& L, const std::vector<Integer>& Widths, Integer H);
  void scrollTo(Integer First);
  void ensureVisible(Integer Index);
  void adjustRect(bool Larger, TRect& R);
  TRect rawTabRect(Integer Index);

  std::vector<TTabItem> FItems;
  Integer FTabIndex = -1;
  Integer FFirstVisible = 0;
  Integer FHotTab = -1;
  bool FMultiLine = false;
  TTabPosition FTabPosition = tpTop;
  TTabStyle FStyle = tsTabs;
  Integer FTabHeight = 0;
  Integer FTabWidth = 0;
  bool FHotTrack = false;
  TCustomImageList* FImages = nullptr;
  bool FOwnerDraw = false;
};
