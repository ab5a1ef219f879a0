#include "skin/boxes/edits/bsskinedit.h"

#include <gtest/gtest.h>

#include "platform/gdi/font.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsskinrecordslists.h"

namespace {

class BsSkinEditTest : public TSkinControlTest {
 protected:
  void SetUp() override {
    TSkinControlTest::SetUp();
    SetTestFontMode(true);
    Form = NewForm();
    Edit = NewControl<TbsSkinEdit>(Form, Bounds(10, 10, 200, 21));
  }
  void TearDown() override {
    SetTestFontMode(false);
    TSkinControlTest::TearDown();
  }
  TbsDataSkinEditControl* element(const String& Name = "edit") {
    return dynamic_cast<TbsDataSkinEditControl*>(Skin->Ctrls(Skin->GetControlIndex(Name)));
  }
  Integer fontLineHeight() {
    TBitmap B;
    B.Canvas()->Font()->Assign(Edit->Font());
    TEXTMETRIC TM;
    GetTextMetrics(B.Canvas()->Handle(), &TM);
    return TM.tmHeight;
  }
  TForm* Form = nullptr;
  TbsSkinEdit* Edit = nullptr;
};

TEST_F(BsSkinEditTest, UnskinnedHeightFollowsTheFontUnlessAlignedToFill) {
  const Integer H = fontLineHeight() + 2 + 4;
  Edit->SetBounds(10, 10, 150, 60);
  EXPECT_EQ(Edit->Height(), H);
  EXPECT_EQ(Edit->Width(), 150);
  Edit->SetAlign(alClient);
  EXPECT_GT(Edit->Height(), H);
}

TEST_F(BsSkinEditTest, DefaultButtonModeGeometryHitTestAndClick) {
  Edit->SetButtonMode(true);
  Edit->SetBounds(10, 10, 150, 60);
  const Integer W = Edit->Width(), H = Edit->Height();
  EXPECT_EQ(Edit->ButtonRectNow(), Rect(W - H, 0, W, H));
  EXPECT_EQ(Edit->EditRectNow(), Rect(2, 2, W - H - 2, H - 2));
  // The client area ends before the button.
  EXPECT_EQ(Edit->ClientWidth(), W - 2 - (H + 2));

  int Clicks = 0;
  Edit->OnButtonClick = [&](TObject* S) { Clicks += S == Edit ? 1 : 100; };
  const TPoint OnButton = Edit->ClientToScreen(TPoint{W - H / 2 - 2, H / 2 - 2});
  const LRESULT Hit = SendMessage(Edit->Handle(), WM_NCHITTEST, 0, MAKELPARAM(OnButton.X, OnButton.Y));
  EXPECT_EQ(Hit, HTHSCROLL);
  const TPoint OnText = Edit->ClientToScreen(TPoint{5, 3});
  EXPECT_EQ(SendMessage(Edit->Handle(), WM_NCHITTEST, 0, MAKELPARAM(OnText.X, OnText.Y)), HTCLIENT);
  // A release over the button fires whether or not the press began there.
  SendMessage(Edit->Handle(), WM_NCLBUTTONUP, HTHSCROLL, MAKELPARAM(OnButton.X, OnButton.Y));
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(GetFocus(), Edit->Handle());
  SendMessage(Edit->Handle(), WM_NCLBUTTONUP, HTCLIENT, 0);
  EXPECT_EQ(Clicks, 1);
}

TEST_F(BsSkinEditTest, DefaultLookOnScreenFollowsButtonHotAndPressed) {
  Edit->SetButtonMode(true);
  Edit->SetBounds(10, 10, 150, 60);
  Edit->SetText("text");
  Application->ProcessMessages();
  const Integer W = Edit->Width(), H = Edit->Height();
  // Client coordinates: the frame starts 2 pixels before the client's origin.
  auto buttonFill = [&] {
    Application->ProcessMessages();
    return PixelOf(Edit, W - H / 2 - 2, H / 2 - 2);
  };
  EXPECT_EQ(PixelOf(Edit, -2, 3), COLORREF(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(PixelOf(Edit, 60, 1), COLORREF(ColorToRGB(clWindow)));
  EXPECT_EQ(buttonFill(), COLORREF(ColorToRGB(clBtnFace)));
  SendMessage(Edit->Handle(), WM_NCMOUSEMOVE, HTHSCROLL, 0);
  EXPECT_EQ(buttonFill(), RGB(193, 212, 243));
  SendMessage(Edit->Handle(), WM_NCLBUTTONDOWN, HTHSCROLL, 0);
  EXPECT_EQ(buttonFill(), RGB(162, 188, 228));
}

TEST_F(BsSkinEditTest, SkinnedBoxTakesElementHeightFontAndFocusColours) {
  TbsDataSkinEditControl* E = element();
  ASSERT_NE(E, nullptr);
  E->FontColor = clRed;
  E->ActiveFontColor = clBlue;
  Edit->SetSkinData(Skin.get());
  EXPECT_NE(Edit->SkinIndex(), -1);
  EXPECT_EQ(Edit->Height(), RectHeight(E->SkinRect));
  EXPECT_EQ(Edit->Font()->Color(), clRed);
  // A requested height gives way to the picture's.
  Edit->SetBounds(10, 10, 180, RectHeight(E->SkinRect) + 30);
  EXPECT_EQ(Edit->Height(), RectHeight(E->SkinRect));
  Edit->SetFocus();
  EXPECT_EQ(Edit->Font()->Color(), clBlue);
  auto* Other = NewControl<TbsCustomEdit>(Form, Bounds(10, 60, 100, 20));
  Other->SetFocus();
  EXPECT_EQ(Edit->Font()->Color(), clRed);
  // The client is inset by the element's client rectangle.
  EXPECT_EQ(Edit->ClientHeight(), RectHeight(E->ClRect));
}

TEST_F(BsSkinEditTest, PrivateFramePaintRequestsAnswerAsAgreed) {
  const HWND W = Edit->Handle();
  EXPECT_EQ(SendMessage(W, 0xB1C9, 0, 0), 0);
  EXPECT_EQ(SendMessage(W, 0xBC4B, 0, 16802), 16802);
  EXPECT_EQ(SendMessage(W, 0xBC4B, 0, 1), 0);
  // Into a given context the default frame is drawn: the outer ring in the shadow colour.
  TBitmap B;
  B.SetSize(Edit->Width(), Edit->Height());
  B.Canvas()->Brush()->SetColor(clLime);
  B.Canvas()->FillRect(Rect(0, 0, B.Width(), B.Height()));
  EXPECT_EQ(SendMessage(W, 0xB1C9, reinterpret_cast<WPARAM>(B.Canvas()->Handle()), 0), 12851);
  EXPECT_EQ(B.Canvas()->Pixels(0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(B.Canvas()->Pixels(Edit->Width() / 2, Edit->Height() / 2), ColorToRGB(clWindow));
}

TEST_F(BsSkinEditTest, DisabledBoxDrawsItsTextInGrayAsAligned) {
  Edit->SetText("WWWW");
  Edit->SetBounds(10, 10, 150, 20);
  auto darkColumns = [&] {
    Application->ProcessMessages();
    std::vector<Integer> Xs;
    for (Integer X = 0; X < Edit->ClientWidth(); ++X)
      for (Integer Y = 0; Y < Edit->ClientHeight(); ++Y)
        if (PixelOf(Edit, X, Y) == COLORREF(ColorToRGB(clGrayText))) {
          Xs.push_back(X);
          break;
        }
    return Xs;
  };
  Edit->SetEnabled(false);
  const std::vector<Integer> Left = darkColumns();
  ASSERT_FALSE(Left.empty());
  EXPECT_LT(Left.front(), 6);
  Edit->SetAlignment(taRightJustify);
  const std::vector<Integer> Right = darkColumns();
  ASSERT_FALSE(Right.empty());
  EXPECT_GT(Right.front(), Edit->ClientWidth() / 2);
}

}  // namespace
