// The tree view made to fit a skin, twin of the skinned list view: font and colours from the
// "treeview" element, the platform's scroll bars replaced by two external skinned bars that mirror its
// scroll state, and, with DrawSkin, nodes drawn here: fading tree lines, expand buttons as boxes, from
// a button image list or from the skin's expand pictures, node images, and the selection on the
// "listbox" element's item picture.
#pragma once

#include <memory>

#include "platform/ui/comctrls/treeview.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/core/bsbitmap.h"
#include "skin/core/bsskinchangeable.h"
#include "skin/core/bsskindata.h"

// A one-pixel line of Length in Color: opaque for its first half, then fading by an even step per
// pixel down to transparent. Empty for a length below 1.
void MakeFadeLine(TbsBitmap& Line, Integer Length, TColor Color);
// The line alpha-blended onto Canvas from (X, Y) to the right.
void DrawFadeLine(TCanvas* Canvas, Integer X, Integer Y, Integer Length, TColor Color);

class TbsSkinCustomTreeView : public TCustomTreeView, public IbsSkinChangeable {
 public:
  explicit TbsSkinCustomTreeView(TComponent* AOwner);
  ~TbsSkinCustomTreeView() override;
  String ClassName() const override { return "TbsSkinCustomTreeView"; }

  TbsSkinData* SkinData() const override { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  const String& ItemSkinDataName() const { return FItemSkinDataName; }
  void SetItemSkinDataName(const String& Value) { FItemSkinDataName = Value; }
  const String& CheckSkinDataName() const { return FCheckSkinDataName; }
  void SetCheckSkinDataName(const String& Value) { FCheckSkinDataName = Value; }
  bool DrawSkin() const { return FDrawSkin; }
  virtual void SetDrawSkin(bool Value);
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);
  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  TCustomImageList* ButtonImageList() const { return FButtonImageList; }
  void SetButtonImageList(TCustomImageList* Value);
  Integer ButtonExpandImageIndex() const { return FButtonExpandImageIndex; }
  void SetButtonExpandImageIndex(Integer Value) { FButtonExpandImageIndex = Value; }
  Integer ButtonNoExpandImageIndex() const { return FButtonNoExpandImageIndex; }
  void SetButtonNoExpandImageIndex(Integer Value) { FButtonNoExpandImageIndex = Value; }
  TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
  void SetVScrollBar(TbsSkinScrollBar* Value);
  TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
  void SetHScrollBar(TbsSkinScrollBar* Value);

  // Re-reads the skin: font, colours, line and button colours, the expand pictures, then the bars.
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override { FIndex = -1; }
  // Mirrors the tree's scroll state onto the attached bars.
  void UpDateScrollBars();

  Integer SkinIndex() const { return FIndex; }
  TColor LineColor() const { return FLineColor; }
  TColor ButtonColor() const { return FButtonColor; }
  Integer ButtonSize() const { return FButtonSize; }
  TBitmap* ExpandImage() const { return FExpandImage.get(); }
  TBitmap* NoExpandImage() const { return FNoExpandImage.get(); }

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void Change(TTreeNode* Node) override;

 private:
  bool designing() const { return ComponentState().Contains(csDesigning); }
  bool loading() const { return ComponentState().Contains(csLoading); }
  void VScrollBarChange(TObject* Sender);
  void HScrollBarChange(TObject* Sender);
  void setBarVisible(TbsSkinScrollBar* Bar, bool Visible, bool& Changed);
  void readExpandImages(const TRect& ExpandRect, const TRect& NoExpandRect, Integer PictureIndex);
  void DrawSkinItem(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                    bool& PaintImages, bool& DefaultDraw);
  void DrawNodeLines(TRect R, TTreeNode* Node);
  void DrawNodeImage(const TRect& R, Integer Index);

  TbsSkinData* FSD = nullptr;
  String FSkinDataName = "treeview";
  String FItemSkinDataName = "listbox";
  String FCheckSkinDataName = "checkbox";
  bool FDrawSkin = false;
  std::unique_ptr<TFont> FDefaultFont;
  TColor FDefaultColor = clWindow;
  bool FUseSkinFont = true;
  TCustomImageList* FButtonImageList = nullptr;
  Integer FButtonExpandImageIndex = 1;
  Integer FButtonNoExpandImageIndex = 0;
  TbsSkinScrollBar* FVScrollBar = nullptr;
  TbsSkinScrollBar* FHScrollBar = nullptr;

  Integer FIndex = -1;
  TColor FLineColor = clBlack;
  TColor FButtonColor = clBlack;
  Integer FButtonSize = 5;
  std::unique_ptr<TBitmap> FExpandImage;
  std::unique_ptr<TBitmap> FNoExpandImage;
  TCustomImageList* FThirdImages = nullptr;
  Integer FThirdImageWidth = 0, FThirdImageHeight = 0, FThirdImagesCount = 0;
  bool FInCheckScrollBars = false;
};
