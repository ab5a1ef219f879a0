#include "skin/controls/views/bsskintreeview.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/stdctrls/stdlook.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsglyphs.h"
#include "skin/core/bsmessages.h"
#include "skin/core/bsskinrecordslists.h"

namespace {

TEST(FadeLine, OpaqueFirstHalfThenFadesToTransparent) {
  struct Case {
    Integer Length;
    std::vector<Byte> Alphas;
  };
  const Case Cases[] = {
      {0, {}},
      {1, {255}},
      {2, {255, 255}},
      {3, {255, 255, 0}},
      {4, {255, 255, 255, 127}},
      {10, {255, 255, 255, 255, 255, 255, 204, 153, 102, 51}},
  };
  for (const Case& C : Cases) {
    TbsBitmap B;
    MakeFadeLine(B, C.Length, TColor(RGB(10, 20, 30)));
    if (C.Alphas.empty()) {
      EXPECT_TRUE(B.Empty()) << C.Length;
      continue;
    }
    ASSERT_EQ(B.Width(), C.Length);
    ASSERT_EQ(B.Height(), 1);
    for (Integer X = 0; X < C.Length; ++X) {
      const TbsColor P = *B.GetPixelPtr(X, 0);
      EXPECT_EQ(P >> 24, C.Alphas[size_t(X)]) << "length " << C.Length << " pixel " << X;
      EXPECT_EQ(P & 0xFFFFFF, 0x0A141EU) << "length " << C.Length << " pixel " << X;
    }
  }
}

class SkinTreeView : public TSkinControlTest {
 protected:
  void SetUp() override {
    TSkinControlTest::SetUp();
    SetTestFontMode(true);
    Form = NewForm(Rect(50, 50, 650, 550));
  }
  void TearDown() override {
    SetTestFontMode(false);
    TSkinControlTest::TearDown();
  }
  TbsSkinCustomTreeView* NewTree(Integer Width, Integer Height, bool Skinned) {
    auto* T = new TbsSkinCustomTreeView(Form);
    T->SetBounds(10, 10, Width, Height);
    T->SetParent(Form);
    if (Skinned) T->SetSkinData(Skin.get());
    return T;
  }
  TbsSkinScrollBar* NewBar(TScrollBarKind Kind) {
    auto* B = new TbsSkinScrollBar(Form);
    B->SetKind(Kind);
    B->SetBounds(0, 400, Kind == sbVertical ? 16 : 300, Kind == sbVertical ? 300 : 16);
    B->SetParent(Form);
    return B;
  }
  TbsDataSkinTreeView* TreeElement() {
    return dynamic_cast<TbsDataSkinTreeView*>(Skin->Ctrls(Skin->GetControlIndex("treeview")));
  }
  static COLORREF Pixel(TWinControl* T, Integer X, Integer Y) { return PaintedPixel(T->Handle(), X, Y); }

  TForm* Form = nullptr;
};

TEST_F(SkinTreeView, DefaultsBeforeAnySkin) {
  auto* T = NewTree(200, 100, false);
  EXPECT_EQ(T->SkinDataName(), "treeview");
  EXPECT_EQ(T->ItemSkinDataName(), "listbox");
  EXPECT_EQ(T->CheckSkinDataName(), "checkbox");
  EXPECT_FALSE(T->DrawSkin());
  EXPECT_TRUE(T->UseSkinFont());
  EXPECT_EQ(T->DefaultFont()->Name(), "Tahoma");
  EXPECT_EQ(T->DefaultFont()->Height(), 13);
  EXPECT_EQ(T->DefaultColor(), clWindow);
  EXPECT_EQ(T->ButtonExpandImageIndex(), 1);
  EXPECT_EQ(T->ButtonNoExpandImageIndex(), 0);
  EXPECT_EQ(T->ButtonImageList(), nullptr);
  EXPECT_EQ(T->LineColor(), clBlack);
  EXPECT_EQ(T->ButtonColor(), clBlack);
  EXPECT_EQ(T->ButtonSize(), 5);
  EXPECT_TRUE(T->ExpandImage()->Empty());
  // No platform bars, no frame: the whole window is client and the frame messages are answered.
  EXPECT_EQ(GetWindowLong(T->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
  EXPECT_EQ(T->ClientWidth(), 200);
  EXPECT_EQ(SendMessage(T->Handle(), WM_NCHITTEST, 0, MAKELPARAM(70, 70)), HTCLIENT);
  EXPECT_EQ(SendMessage(T->Handle(), CM_PAINTNC, 0, 0), PaintNCDone);
}

TEST_F(SkinTreeView, TakesFontColoursAndExpandPicturesFromTheElement) {
  auto* R = TreeElement();
  ASSERT_NE(R, nullptr);
  R->FontColor = RGB(0, 0, 200);
  R->BGColor = RGB(240, 240, 240);
  R->FontHeight = 15;
  R->ExpandImageRect = Rect(0, 0, 13, 13);
  R->NoExpandImageRect = Rect(13, 0, 26, 13);
  auto* T = NewTree(200, 100, false);
  T->SetDefaultColor(RGB(10, 20, 30));
  EXPECT_EQ(T->Color(), TColor(RGB(10, 20, 30)));
  T->SetSkinData(Skin.get());
  EXPECT_EQ(T->Color(), TColor(RGB(240, 240, 240)));
  EXPECT_EQ(T->Font()->Color(), TColor(RGB(0, 0, 200)));
  EXPECT_EQ(T->Font()->Height(), 15);
  EXPECT_EQ(T->LineColor(),
            AverageColor(AverageColor(RGB(0, 0, 200), RGB(240, 240, 240)), RGB(240, 240, 240)));
  EXPECT_EQ(T->ButtonColor(), AverageColor(RGB(0, 0, 200), RGB(240, 240, 240)));
  ASSERT_FALSE(T->ExpandImage()->Empty());
  EXPECT_EQ(T->ExpandImage()->Width(), 13);
  EXPECT_EQ(T->NoExpandImage()->Height(), 13);
  EXPECT_TRUE(T->ExpandImage()->Transparent());
  // A default colour set while an element is in use waits for the element to go.
  T->SetDefaultColor(RGB(1, 2, 3));
  EXPECT_EQ(T->Color(), TColor(RGB(240, 240, 240)));
  // Without the font from the skin the default font returns, the colour still the element's.
  T->SetUseSkinFont(false);
  T->ChangeSkinData();
  EXPECT_EQ(T->Font()->Height(), 13);
  EXPECT_EQ(T->Font()->Color(), TColor(RGB(0, 0, 200)));
  // An empty rectangle empties both pictures.
  R->NoExpandImageRect = Rect(0, 0, 0, 0);
  T->ChangeSkinData();
  EXPECT_TRUE(T->ExpandImage()->Empty());
  EXPECT_TRUE(T->NoExpandImage()->Empty());
  // A missing element: the defaults and grey lines.
  T->SetSkinDataName("nosuchelement");
  T->ChangeSkinData();
  EXPECT_EQ(T->SkinIndex(), -1);
  EXPECT_EQ(T->Color(), TColor(RGB(1, 2, 3)));
  EXPECT_EQ(T->LineColor(), clGray);
  // An element of another class leaves font and colours as they are.
  T->SetSkinDataName("listbox");
  T->Font()->SetColor(RGB(7, 7, 7));
  T->ChangeSkinData();
  EXPECT_EQ(T->Color(), TColor(RGB(1, 2, 3)));
  EXPECT_EQ(T->Font()->Color(), TColor(RGB(7, 7, 7)));
}

TEST_F(SkinTreeView, TheVerticalBarShowsOnceExpandedRowsNoLongerFitAndBothFollows) {
  // Rows of 17 pixels: 5 rows fit in 90.
  auto* T = NewTree(200, 90, true);
  auto* V = NewBar(sbVertical);
  auto* H = NewBar(sbHorizontal);
  T->SetVScrollBar(V);
  T->SetHScrollBar(H);
  ASSERT_FALSE(V->Visible());
  TTreeNode* Root = T->Items()->Add(nullptr, "root");
  for (int i = 0; i < 10; ++i) T->Items()->AddChild(Root, "child");
  T->Items()->Add(nullptr, "second");
  T->Repaint();
  EXPECT_FALSE(V->Visible());
  EXPECT_FALSE(H->Both());
  Root->Expand(false);
  T->Repaint();
  ASSERT_TRUE(V->Visible());
  EXPECT_EQ(V->Min(), 0);
  EXPECT_EQ(V->Max(), 11);
  EXPECT_EQ(V->PageSize(), T->VisibleCount());
  EXPECT_TRUE(H->Both());
  EXPECT_FALSE(H->Visible());
  // Moving the bar scrolls to exactly that top row.
  V->SetPosition(4);
  EXPECT_EQ(T->TopItem(), T->Items()->Item(4));
  V->SetPosition(2);
  EXPECT_EQ(T->TopItem(), T->Items()->Item(2));
  // Collapsing again hides the bar.
  Root->Collapse(false);
  T->Repaint();
  EXPECT_FALSE(V->Visible());
  EXPECT_FALSE(H->Both());
  // The bars follow the tree's visibility.
  Root->Expand(false);
  T->Repaint();
  T->SetVisible(false);
  EXPECT_FALSE(V->Visible());
  T->SetVisible(true);
  EXPECT_TRUE(V->Visible());
}

TEST_F(SkinTreeView, FreedPartnersAreForgotten) {
  auto* T = NewTree(200, 90, true);
  auto* V = NewBar(sbVertical);
  auto* Images = new TImageList(Form);
  T->SetVScrollBar(V);
  T->SetButtonImageList(Images);
  delete V;
  delete Images;
  EXPECT_EQ(T->VScrollBar(), nullptr);
  EXPECT_EQ(T->ButtonImageList(), nullptr);
  Skin.reset();
  EXPECT_EQ(T->SkinData(), nullptr);
  T->Repaint();
}

TEST_F(SkinTreeView, DrawSkinPaintsButtonsAndTheSelectionFromTheSkin) {
  auto* R = TreeElement();
  R->FontColor = RGB(0, 0, 0);
  R->BGColor = RGB(255, 255, 255);
  auto* T = NewTree(200, 120, true);
  T->SetDrawSkin(true);
  TTreeNode* Root = T->Items()->Add(nullptr, "root");
  T->Items()->AddChild(Root, "child");
  TTreeNode* Second = T->Items()->Add(nullptr, "second");
  T->SetFocus();
  T->SetSelected(Second);
  T->Repaint();
  // The collapsed root's button box: half side 5 around x0 = Indent div 2 on the first row's middle.
  const Integer X0 = T->Indent() / 2, Yc = T->ItemHeight() / 2;
  EXPECT_EQ(Pixel(T, X0 - 5, Yc), COLORREF(ColorToRGB(T->ButtonColor())));
  // Its plus: the vertical stroke in the font colour.
  EXPECT_EQ(Pixel(T, X0 - 1, Yc - 5 + 3), RGB(0, 0, 0));
  // The selected node's label on the listbox element's focus picture.
  const TRect Label = Second->DisplayRect(true);
  std::vector<COLORREF> Focus;
  for (int Slice = 0; Slice < 9; ++Slice) Focus.push_back(SliceColor("listbox", 4, Slice));
  const COLORREF Sel = Pixel(T, Label.Left + Label.Width() / 2, Label.Top + 1);
  EXPECT_NE(std::find(Focus.begin(), Focus.end(), Sel), Focus.end()) << std::hex << Sel;
  // Expanded: the plus loses its vertical stroke.
  Root->Expand(false);
  T->Repaint();
  EXPECT_EQ(Pixel(T, X0 - 1, Yc - 5 + 3), RGB(255, 255, 255));
  EXPECT_EQ(Pixel(T, X0 - 5, Yc), COLORREF(ColorToRGB(T->ButtonColor())));
  // With ShowRoot off every row starts one indent further left: the child, given children of its
  // own, shows its box where the root's was.
  TTreeNode* Child = Root->getFirstChild();
  T->Items()->AddChild(Child, "grandchild");
  T->Repaint();
  const Integer Row1 = T->ItemHeight() + Yc - 5;  // the top edge of the second row's box
  EXPECT_EQ(Pixel(T, X0 + T->Indent() - 5, Row1), COLORREF(ColorToRGB(T->ButtonColor())));
  EXPECT_EQ(Pixel(T, X0 - 5, Row1), RGB(255, 255, 255));
  T->SetShowRoot(false);
  T->Repaint();
  EXPECT_EQ(Pixel(T, X0 - 5, Row1), COLORREF(ColorToRGB(T->ButtonColor())));
  EXPECT_EQ(Pixel(T, X0 + T->Indent() - 5, Row1), RGB(255, 255, 255));
  // Without the selection element the platform draws the selected node in its own accent.
  T->SetItemSkinDataName("nosuchelement");
  T->Repaint();
  const TRect L2 = Second->DisplayRect(true);
  EXPECT_EQ(Pixel(T, L2.Left + 1, L2.Top + 1), COLORREF(ColorToRGB(stdlook::Accent)));
}

// A skinned tree keeps showing its selected node when another control has the focus.
TEST_F(SkinTreeView, TheSelectedNodeShowsAlsoWithoutTheFocus) {
  auto* T = NewTree(200, 120, true);
  T->Items()->Add(nullptr, "first");
  TTreeNode* Second = T->Items()->Add(nullptr, "second");
  auto* Other = NewControl<TRecordingControl>(Form, Rect(400, 10, 450, 40));
  T->SetFocus();
  T->SetSelected(Second);
  Other->SetFocus();
  T->Repaint();
  const TRect Label = Second->DisplayRect(true);
  EXPECT_EQ(Pixel(T, Label.Left + 1, Label.Top + 1), COLORREF(ColorToRGB(stdlook::SelectionUnfocused)));
}

}  // namespace
