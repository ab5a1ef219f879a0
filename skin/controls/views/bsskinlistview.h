// The list view made to fit a skin: font and colours from the "listview" element, the platform's
// scroll bars replaced by two external skinned bars that mirror its scroll state, the column header
// window taken over (subclassed) and painted from a button element, and, with DrawSkin, items drawn
// from the skin's "listbox" and "checkbox" elements. The header part lives in bsskinlistheader.cpp.
#pragma once

#include <functional>
#include <memory>

#include "platform/ui/comctrls/listview.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsskinchangeable.h"
#include "skin/core/bsskindata.h"

class TbsDataSkinListBox;
class TbsDataSkinCheckRadioControl;

using TbsDrawSkinSubItemEvent =
    std::function<void(TCustomListView* Sender, TListItem* Item, Integer SubItemIndex, TCustomDrawState State,
                       TCanvas* ACanvas, const TRect& ADrawRect)>;
using TbsDrawHeaderSectionEvent =
    std::function<void(TCanvas* Cnvs, TListColumn* Column, bool Pressed, const TRect& R)>;

class TbsSkinCustomListView : public TCustomListView, public IbsSkinChangeable {
 public:
  explicit TbsSkinCustomListView(TComponent* AOwner);
  ~TbsSkinCustomListView() override;
  String ClassName() const override { return "TbsSkinCustomListView"; }

  // ---- skin ----
  TbsSkinData* SkinData() const override { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  const String& HeaderSkinDataName() const { return FHeaderSkinDataName; }
  void SetHeaderSkinDataName(const String& Value) { FHeaderSkinDataName = Value; }
  const String& ItemSkinDataName() const { return FItemSkinDataName; }
  void SetItemSkinDataName(const String& Value) { FItemSkinDataName = Value; }
  const String& CheckSkinDataName() const { return FCheckSkinDataName; }
  void SetCheckSkinDataName(const String& Value) { FCheckSkinDataName = Value; }
  bool DrawSkin() const { return FDrawSkin; }
  virtual void SetDrawSkin(bool Value);
  bool DrawSkinLines() const { return FDrawSkinLines; }
  void SetDrawSkinLines(bool Value);
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);
  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
  void SetVScrollBar(TbsSkinScrollBar* Value);
  TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
  void SetHScrollBar(TbsSkinScrollBar* Value);

  // Re-reads the skin: font, colours, grid line colour, then the bars and the header.
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override { FIndex = -1; }
  // Mirrors the list's scroll state onto the attached bars.
  void UpDateScrollBars();

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

  Integer SkinIndex() const { return FIndex; }
  TColor LineColor() const { return FLineColor; }

  TbsDrawSkinSubItemEvent OnDrawSkinSubItem;
  TbsDrawHeaderSectionEvent OnDrawHeaderSection;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void Change(TListItem* Item, TItemChange AChange) override;

 private:
  bool designing() const { return ComponentState().Contains(csDesigning); }
  void subclassHeader(HWND Header);
  void releaseHeader();
  void HeaderWndProc(TMessage& Message);
  void VScrollBarChange(TObject* Sender);
  void HScrollBarChange(TObject* Sender);
  void updateReportBars(bool& Changed);
  void updateListBars(bool& Changed);
  void updateIconBars(bool& Changed);
  void setBarVisible(TbsSkinScrollBar* Bar, bool Visible, bool& Changed);
  // Skinned items (bsskinlistitems.cpp).
  void DrawSkinItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw);
  void drawSkinSubItems(TCanvas* C, TListItem* Item, TCustomDrawState State, const TRect& Bounds,
                        Integer OffsetX, Integer OffsetY, bool InBitmap);
  void drawSkinGridLines(TListItem* Item, const TRect& Bounds);

  TbsSkinData* FSD = nullptr;
  String FSkinDataName = "listview";
  String FHeaderSkinDataName = "header";
  String FItemSkinDataName = "listbox";
  String FCheckSkinDataName = "checkbox";
  bool FDrawSkin = false;
  bool FDrawSkinLines = false;
  std::unique_ptr<TFont> FDefaultFont;
  TColor FDefaultColor = clWindow;
  bool FUseSkinFont = true;
  TbsSkinScrollBar* FVScrollBar = nullptr;
  TbsSkinScrollBar* FHScrollBar = nullptr;

  Integer FIndex = -1;
  TColor FLineColor = clBtnShadow;
  Integer FOldVScrollBarPos = 0;
  Integer FOldHScrollBarPos = 0;
  bool FInCheckScrollBars = false;
  bool FromSB = false;
  TCustomImageList* FThirdImages = nullptr;
  Integer FThirdImageWidth = 0, FThirdImageHeight = 0, FThirdImagesCount = 0;

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
