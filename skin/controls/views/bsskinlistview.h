// The list view made to fit a skin: font and colours from the "listview" element, the platform's
// scroll bars replaced by two external skinned bars that mirror its scroll state, the column header
// window taken over (subclassed) and painted from a button element, and, with DrawSkin, items drawn
// from the skin's "listbox" and "checkbox" elements. The header part lives in bsskinlistheader.cpp.
#pragma once

#include <functional>
#include <memory>

#include "platform/ui/comctrls/listview.h"
#include "skin/controls/views/bsskinviewbase.h"
#include "skin/core/bscompose.h"

class TbsDataSkinListBox;
class TbsDataSkinCheckRadioControl;

using TbsDrawSkinSubItemEvent =
    std::function<void(TCustomListView* Sender, TListItem* Item, Integer SubItemIndex, TCustomDrawState State,
                       TCanvas* ACanvas, const TRect& ADrawRect)>;
using TbsDrawHeaderSectionEvent =
    std::function<void(TCanvas* Cnvs, TListColumn* Column, bool Pressed, const TRect& R)>;

class TbsSkinCustomListView : public TbsSkinViewBase<TCustomListView> {
 public:
  explicit TbsSkinCustomListView(TComponent* AOwner);
  ~TbsSkinCustomListView() override;
  String ClassName() const override { return "TbsSkinCustomListView"; }

  // ---- skin ----
  const String& HeaderSkinDataName() const { return FHeaderSkinDataName; }
  void SetHeaderSkinDataName(const String& Value) { FHeaderSkinDataName = Value; }
  virtual void SetDrawSkin(bool Value);
  bool DrawSkinLines() const { return FDrawSkinLines; }
  void SetDrawSkinLines(bool Value);

  // Re-reads the skin: font, colours, grid line colour, then the bars and the header.
  void ChangeSkinData() override;
  // Mirrors the list's scroll state onto the attached bars.
  void UpDateScrollBars() override;

  // ---- the column header (bsskinlistheader.cpp) ----
  HWND SubclassedHeader() const { return FHeaderHandle; }
  Integer ActiveSection() const { return FActiveSection; }
  bool HeaderDown() const { return FHeaderDown; }
  bool DevDown() const { return FDevDown; }
  Integer HeaderSkinIndex() const { return FHIndex; }
  void PaintHeader(HDC DC);
  void DrawHeaderSection(TCanvas* Canvas, TListColumn* Column, bool Pressed, TRect R);
  void GetHeaderSectionRect(Integer Index, TRect& R);
  void GetHeaderSkinData();

  TbsDrawSkinSubItemEvent OnDrawSkinSubItem;
  TbsDrawHeaderSectionEvent OnDrawHeaderSection;

 protected:
  void Loaded() override;
  void WndProc(TMessage& Message) override;
  void Change(TListItem* Item, TItemChange AChange) override;

 private:
  void subclassHeader(HWND Header);
  void releaseHeader();
  void HeaderWndProc(TMessage& Message);
  void VScrollBarChange(TObject* Sender) override;
  void HScrollBarChange(TObject* Sender) override;
  void updateReportBars(bool& Changed);
  void updateListBars(bool& Changed);
  void updateIconBars(bool& Changed);
  // Skinned items (bsskinlistitems.cpp).
  void DrawSkinItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw);
  void drawSkinSubItems(TCanvas* C, TListItem* Item, TCustomDrawState State, const TRect& Bounds,
                        Integer OffsetX, Integer OffsetY, bool InBitmap);
  void drawSkinGridLines(TListItem* Item, const TRect& Bounds);

  String FHeaderSkinDataName = "header";
  bool FDrawSkinLines = false;
  // The bars' positions the view last scrolled to, so a bar's move scrolls by the difference.
  Integer FOldVScrollBarPos = 0, FOldHScrollBarPos = 0;
  bool FromSB = false;

  // Header subclass and its element copy.
  HWND FHeaderHandle = nullptr;
  WNDPROC FHeaderInstance = nullptr;
  WNDPROC FDefHeaderProc = nullptr;
  Integer FActiveSection = -1;
  bool FHeaderDown = false;
  bool FDevDown = false;
  Integer FHIndex = -1;
  TPoint HLTPt{}, HRTPt{}, HLBPt{}, HRBPt{};
  TRect HSkinRect{}, HClRect{};
  bool HStretchEffect = false, HLeftStretch = false, HTopStretch = false, HRightStretch = false,
       HBottomStretch = false;
  TbsStretchType HStretchType = bsstFull;
  TBitmap* HPicture = nullptr;
  TColor HFontColor = clBtnText, HActiveFontColor = clBtnText, HDownFontColor = clBtnText;
  TRect HActiveSkinRect{}, HDownSkinRect{};
  TPoint HNewLTPoint{}, HNewRTPoint{}, HNewLBPoint{}, HNewRBPoint{};
  TRect HNewClRect{};
};

class TbsSkinListView : public TbsSkinCustomListView {
 public:
  explicit TbsSkinListView(TComponent* AOwner) : TbsSkinCustomListView(AOwner) {}
  String ClassName() const override { return "TbsSkinListView"; }
};
