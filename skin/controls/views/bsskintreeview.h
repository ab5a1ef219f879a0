// The tree view made to fit a skin, twin of the skinned list view: font and colours from the
// "treeview" element, the platform's scroll bars replaced by two external skinned bars that mirror its
// scroll state, and, with DrawSkin, nodes drawn here: fading tree lines, expand buttons as boxes, from
// a button image list or from the skin's expand pictures, node images, and the selection on the
// "listbox" element's item picture.
#pragma once

#include <memory>

#include "platform/ui/comctrls/treeview.h"
#include "skin/controls/views/bsskinviewbase.h"
#include "skin/core/bsbitmap.h"

// A one-pixel line of Length in Color: opaque for its first half, then fading by an even step per
// pixel down to transparent. Empty for a length below 1.
void MakeFadeLine(TbsBitmap& Line, Integer Length, TColor Color);
// The line alpha-blended onto Canvas from (X, Y) to the right.
void DrawFadeLine(TCanvas* Canvas, Integer X, Integer Y, Integer Length, TColor Color);

class TbsSkinCustomTreeView : public TbsSkinViewBase<TCustomTreeView> {
 public:
  explicit TbsSkinCustomTreeView(TComponent* AOwner);
  ~TbsSkinCustomTreeView() override;
  String ClassName() const override { return "TbsSkinCustomTreeView"; }

  virtual void SetDrawSkin(bool Value);
  TCustomImageList* ButtonImageList() const { return FButtonImageList; }
  void SetButtonImageList(TCustomImageList* Value);
  Integer ButtonExpandImageIndex() const { return FButtonExpandImageIndex; }
  void SetButtonExpandImageIndex(Integer Value) { FButtonExpandImageIndex = Value; }
  Integer ButtonNoExpandImageIndex() const { return FButtonNoExpandImageIndex; }
  void SetButtonNoExpandImageIndex(Integer Value) { FButtonNoExpandImageIndex = Value; }

  // Re-reads the skin: font, colours, line and button colours, the expand pictures, then the bars.
  void ChangeSkinData() override;
  // Mirrors the tree's scroll state onto the attached bars.
  void UpDateScrollBars() override;

  TColor ButtonColor() const { return FButtonColor; }
  Integer ButtonSize() const { return FButtonSize; }
  TBitmap* ExpandImage() const { return FExpandImage.get(); }
  TBitmap* NoExpandImage() const { return FNoExpandImage.get(); }

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void Change(TTreeNode* Node) override;

 private:
  bool loading() const { return ComponentState().Contains(csLoading); }
  void VScrollBarChange(TObject* Sender) override;
  void HScrollBarChange(TObject* Sender) override;
  void readExpandImages(const TRect& ExpandRect, const TRect& NoExpandRect, Integer PictureIndex);
  void DrawSkinItem(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                    bool& PaintImages, bool& DefaultDraw);
  void DrawNodeLines(TRect R, TTreeNode* Node);
  void DrawNodeImage(const TRect& R, Integer Index);

  TCustomImageList* FButtonImageList = nullptr;
  Integer FButtonExpandImageIndex = 1;
  Integer FButtonNoExpandImageIndex = 0;

  TColor FButtonColor = clBlack;
  Integer FButtonSize = 5;
  std::unique_ptr<TBitmap> FExpandImage;
  std::unique_ptr<TBitmap> FNoExpandImage;
};
