#include "skin/boxes/edits/bsskinedit.h"

#include <gtest/gtest.h>

#include "platform/gdi/font.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsskincontainer.h"
#include "skin/core/bsskinrecordslists.h"
#include "skin/forms/engine/bsskinform.h"

namespace {

COLORREF RGBOf(TColor C) {
  return COLORREF(ColorToRGB(C));
}

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
  // Solid images of 8 x 20 pixels, one per colour.
  void addImages(std::initializer_list<TColor> Colours) {
    for (TColor C : Colours) {
      TBitmap B;
      B.SetPixelFormat(pf24bit);
      B.SetSize(8, 20);
      B.Canvas()->Brush()->SetColor(C);
      B.Canvas()->FillRect(Rect(0, 0, 8, 20));
      Images.AddMasked(&B, clNone);
    }
  }
  // A "buttonedit" element laid out as a real one: a fixed right part of 24 pixels holding the
  // button, the text area before it.
  TbsDataSkinEditControl* buttonEditLayout() {
    TbsDataSkinEditControl* E = element("buttonedit");
    const Integer W = RectWidth(E->SkinRect), H = RectHeight(E->SkinRect);
    E->RTPoint.X = E->RBPoint.X = W - 24;
    E->ClRect = Rect(6, 6, W - 26, H - 6);
    E->ButtonRect = Rect(W - 24, 0, W, H);
    return E;
  }
  COLORREF windowPixel(Integer X, Integer Y) {
    Application->ProcessMessages();
    RECT R;
    GetWindowRect(Edit->Handle(), &R);
    const TPoint O = Edit->ClientOrigin();
    return PixelOf(Edit, X - (O.X - R.Left), Y - (O.Y - R.Top));
  }
  LRESULT hitTest(TPoint Client) {
    const TPoint S = Edit->ClientToScreen(Client);
    return SendMessage(Edit->Handle(), WM_NCHITTEST, 0, MAKELPARAM(S.X, S.Y));
  }
  TCustomImageList Images{nullptr, 8, 20};
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

// A skin loaded while the program runs reaches the box through its form's engine: the font, the
// colours and the frame picture of the new skin, while a box of another skin keeps its look.
TEST_F(BsSkinEditTest, ASkinChangeReachesTheBoxThroughItsForm) {
  new TbsSkinForm(Form);
  TbsSkinData Other(nullptr);
  BuildGeneratedSkin(&Other);
  Edit->SetSkinData(Skin.get());
  auto* Elsewhere = NewControl<TbsSkinEdit>(Form, Bounds(10, 60, 200, 21));
  Elsewhere->SetSkinData(&Other);
  const Integer OldHeight = element()->FontHeight;
  ASSERT_EQ(Edit->Font()->Height(), OldHeight);
  ASSERT_EQ(windowPixel(1, 1), SliceColor("edit", 0, 0));

  // The new skin: a taller font in another colour, and the frame picture taken from another cell.
  TbsSkinData Next(nullptr);
  BuildGeneratedSkin(&Next);
  auto* E = dynamic_cast<TbsDataSkinEditControl*>(Next.Ctrls(Next.GetControlIndex("edit")));
  E->FontHeight = OldHeight + 7;
  E->FontColor = clGreen;
  OffsetRect(&E->SkinRect, 3 * RectWidth(E->SkinRect), 0);
  E->ActiveSkinRect = E->SkinRect;
  TbsCompressedStoredSkin Stored(nullptr);
  Stored.LoadFromSkinData(&Next);
  Skin->LoadCompressedStoredSkin(&Stored);

  EXPECT_EQ(Edit->Font()->Height(), E->FontHeight);
  EXPECT_EQ(Edit->Font()->Color(), clGreen);
  EXPECT_EQ(windowPixel(1, 1), SliceColor("edit", 3, 0));
  EXPECT_EQ(Elsewhere->Font()->Height(), OldHeight);
}

// A press on an MDI main form ends what its boxes were doing, as it does for its other skinned
// controls; a disabled box is left alone.
TEST_F(BsSkinEditTest, APressOnAnMDIMainFormCancelsTheModeOfItsBoxes) {
  TForm* Main;
  Application->CreateForm(Main);
  Main->SetFormStyle(fsMDIForm);
  Main->SetBoundsRect(Rect(50, 50, 650, 450));
  new TbsSkinForm(Main);
  auto* Box = new TbsSkinEdit(Main);
  Box->SetParent(Main);
  Box->SetBounds(10, 10, 120, 21);
  auto* Disabled = new TbsSkinEdit(Main);
  Disabled->SetParent(Main);
  Disabled->SetBounds(10, 40, 120, 21);
  Disabled->SetEnabled(false);
  Main->Show();
  wintest::Pump();
  Box->HandleNeeded();
  Disabled->HandleNeeded();
  Integer Cancelled = 0, DisabledCancelled = 0;
  Box->OnEditCancelMode = [&](TControl*) { ++Cancelled; };
  Disabled->OnEditCancelMode = [&](TControl*) { ++DisabledCancelled; };
  SendMessage(Main->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 300));
  SendMessage(Main->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(300, 300));
  EXPECT_EQ(Cancelled, 1);
  EXPECT_EQ(DisabledCancelled, 0);
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

TEST_F(BsSkinEditTest, ImageButtonsLayOutKeepTextOffAndShowTheirStates) {
  addImages({clRed, clLime, clBlue, clYellow});
  Edit->SetImages(&Images);
  Edit->SetLeftImageIndex(0);
  Edit->SetLeftImageHotIndex(1);
  Edit->SetLeftImageDownIndex(2);
  Edit->SetRightImageIndex(3);
  Edit->SetRightImageHotIndex(99);  // out of the list: the normal image stays
  // The images are taller than a line of the font: the box grows to them.
  EXPECT_EQ(Edit->Height(), std::max<Integer>(fontLineHeight() + 2, 20) + 4);
  const Integer CW = Edit->ClientWidth(), CH = Edit->ClientHeight();
  EXPECT_EQ(Edit->LeftButton.R, Rect(0, 0, 8, CH));
  EXPECT_EQ(Edit->RightButton.R, Rect(CW - 8, 0, CW, CH));
  RECT F;
  SendMessage(Edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&F));
  EXPECT_EQ(TRect(F), Rect(10, 0, CW - 10, CH));

  const Integer Y = CH / 2;
  EXPECT_EQ(PixelOf(Edit, 3, Y), RGBOf(clRed));
  EXPECT_EQ(PixelOf(Edit, CW - 3, Y), RGBOf(clYellow));
  EXPECT_EQ(hitTest({3, Y}), 104);
  EXPECT_EQ(PixelOf(Edit, 3, Y), RGBOf(clLime));
  // On its way to the right button the pointer crosses the text, which cools the left one.
  EXPECT_EQ(hitTest({CW / 2, Y}), HTCLIENT);
  EXPECT_EQ(PixelOf(Edit, 3, Y), RGBOf(clRed));
  EXPECT_EQ(hitTest({CW - 3, Y}), 105);
  EXPECT_TRUE(Edit->RightButton.MouseIn);
  EXPECT_EQ(PixelOf(Edit, CW - 3, Y), RGBOf(clYellow));
  EXPECT_EQ(hitTest({CW / 2, Y}), HTCLIENT);
  EXPECT_FALSE(Edit->RightButton.MouseIn);
}

// Image buttons need the 100 ms poll that finds the pointer gone: without them a plain box stays
// entered; with them the poll ends the hover and cools a hot image button.
TEST_F(BsSkinEditTest, ImageButtonsPollForThePointerLeaving) {
  addImages({clRed, clLime});
  int Enters = 0, Leaves = 0;
  Edit->OnMouseEnter = [&](TObject*) { ++Enters; };
  Edit->OnMouseLeave = [&](TObject*) { ++Leaves; };
  const Integer Y = Edit->ClientHeight() / 2;
  auto enterThenLeave = [&] {
    SetCursorPos(Edit->ClientToScreen({3, Y}).X, Edit->ClientToScreen({3, Y}).Y);
    hitTest({3, Y});
    SetCursorPos(500, 500);
    wintest::AdvanceTime(Clock(), 100);
  };
  enterThenLeave();
  EXPECT_EQ(Enters, 1);
  EXPECT_EQ(Leaves, 0);
  EXPECT_TRUE(Edit->MouseIn());

  Edit->RecreateWnd();  // a new window enters anew
  Application->ProcessMessages();
  Edit->SetImages(&Images);
  Edit->SetLeftImageIndex(0);
  Edit->SetLeftImageHotIndex(1);
  enterThenLeave();
  EXPECT_EQ(Enters, 2);
  EXPECT_EQ(Leaves, 1);
  EXPECT_FALSE(Edit->MouseIn());
  EXPECT_FALSE(Edit->LeftButton.MouseIn);
  EXPECT_EQ(PixelOf(Edit, 3, Y), RGBOf(clRed));
}

TEST_F(BsSkinEditTest, ImageButtonsClickOnlyAfterAPressOnThem) {
  addImages({clRed, clLime, clBlue});
  Edit->SetImages(&Images);
  Edit->SetLeftImageIndex(0);
  Edit->SetLeftImageHotIndex(1);
  Edit->SetLeftImageDownIndex(2);
  Edit->SetRightImageIndex(0);
  std::vector<String> Clicks;
  Edit->OnLeftButtonClick = [&](TObject* S) { Clicks.push_back(S == Edit ? "left" : "?"); };
  Edit->OnRightButtonClick = [&](TObject* S) { Clicks.push_back(S == Edit ? "right" : "?"); };
  const Integer CW = Edit->ClientWidth(), Y = Edit->ClientHeight() / 2;
  const HWND W = Edit->Handle();

  // A release over a button that was not pressed there does nothing.
  hitTest({CW - 3, Y});
  SendMessage(W, WM_NCLBUTTONUP, 105, 0);
  EXPECT_TRUE(Clicks.empty());
  // Pressed under the pointer: the pressed image; the press takes the focus.
  hitTest({3, Y});
  SendMessage(W, WM_NCLBUTTONDOWN, 104, 0);
  EXPECT_TRUE(Edit->LeftButton.Down);
  EXPECT_EQ(GetFocus(), W);
  EXPECT_EQ(PixelOf(Edit, 3, Y), RGBOf(clBlue));
  SendMessage(W, WM_NCLBUTTONUP, 104, 0);
  EXPECT_FALSE(Edit->LeftButton.Down);
  EXPECT_EQ(PixelOf(Edit, 3, Y), RGBOf(clLime));
  SendMessage(W, WM_NCLBUTTONDBLCLK, 105, 0);
  SendMessage(W, WM_NCLBUTTONUP, 105, 0);
  EXPECT_EQ(Clicks, (std::vector<String>{"left", "right"}));
  // The list going away takes the buttons with it.
  Edit->SetImages(nullptr);
  EXPECT_EQ(Edit->Images(), nullptr);
}

TEST_F(BsSkinEditTest, ImageListFreedBeforeTheBoxIsForgotten) {
  auto* L = new TCustomImageList(nullptr, 8, 8);
  Edit->SetImages(L);
  delete L;
  EXPECT_EQ(Edit->Images(), nullptr);
  Application->ProcessMessages();
  Edit->Invalidate();
  Application->ProcessMessages();
}

TEST_F(BsSkinEditTest, DefaultButtonCarriesItsImageCentred) {
  addImages({clRed, clFuchsia});
  Edit->SetImages(&Images);
  Edit->SetButtonMode(true);
  Edit->SetButtonImageIndex(1);
  const TRect B = Edit->ButtonRectNow();
  EXPECT_EQ(windowPixel(B.Left + RectWidth(B) / 2, B.Top + RectHeight(B) / 2), RGBOf(clFuchsia));
  EXPECT_EQ(windowPixel(B.Left + 1, B.Top + 1), RGBOf(clBtnFace));
  Edit->SetButtonImageIndex(7);  // not in the list: no glyph
  EXPECT_EQ(windowPixel(B.Left + RectWidth(B) / 2, B.Top + RectHeight(B) / 2), RGBOf(clBtnFace));
}

// The skinned box without the skin's font draws its button from the skin's separate button element,
// stretched to the button's place, in the element's rest, hot and pressed pictures.
TEST_F(BsSkinEditTest, SeparateEditButtonFollowsHotAndPressed) {
  buttonEditLayout();
  Edit->SetSkinDataName("buttonedit");
  Edit->SetUseSkinFont(false);
  Edit->SetButtonMode(true);
  Edit->SetSkinData(Skin.get());
  Edit->SetBounds(10, 10, 200, 40);
  const TRect B = Edit->ButtonRectNow();
  EXPECT_EQ(B.Right, Edit->Width());
  EXPECT_EQ(B.Bottom, Edit->Height());
  const TPoint Mid{B.Left + RectWidth(B) / 2, B.Top + RectHeight(B) / 2};
  struct Case {
    UINT Msg;
    WPARAM Hit;
    int State;
  };
  for (const Case& C : {Case{0, 0, 0}, Case{WM_NCMOUSEMOVE, HTHSCROLL, 1},
                        Case{WM_NCLBUTTONDOWN, HTHSCROLL, 2}, Case{WM_NCMOUSEMOVE, HTCLIENT, 0}}) {
    if (C.Msg != 0) SendMessage(Edit->Handle(), C.Msg, C.Hit, 0);
    EXPECT_EQ(windowPixel(Mid.X, Mid.Y), SliceColor("editbutton", C.State, 4)) << "state " << C.State;
    // The corner piece stays at its own size at the button's corner.
    EXPECT_EQ(windowPixel(B.Right - 1, B.Bottom - 1), SliceColor("editbutton", C.State, 8));
  }
}

// With the skin's font the resting button is part of the frame picture; hot, pressed and disabled
// looks are copied onto it from the element's own button pictures.
TEST_F(BsSkinEditTest, SkinFontButtonTakesElementButtonPictures) {
  TbsDataSkinEditControl* E = buttonEditLayout();
  Edit->SetSkinDataName("buttonedit");
  Edit->SetButtonMode(true);
  Edit->SetSkinData(Skin.get());
  const TRect B = Edit->ButtonRectNow();
  EXPECT_EQ(B, Rect(Edit->Width() - 24, 0, Edit->Width(), RectHeight(E->SkinRect)));
  const TPoint Mid{B.Left + RectWidth(B) / 2, B.Top + RectHeight(B) / 2};
  EXPECT_EQ(windowPixel(Mid.X, Mid.Y), SliceColor("buttonedit", 0, 4));
  SendMessage(Edit->Handle(), WM_NCMOUSEMOVE, HTHSCROLL, 0);
  EXPECT_EQ(windowPixel(Mid.X, Mid.Y), SliceColor("buttonedit", 1, 0));
  SendMessage(Edit->Handle(), WM_NCLBUTTONDOWN, HTHSCROLL, 0);
  EXPECT_EQ(windowPixel(Mid.X, Mid.Y), SliceColor("buttonedit", 2, 0));
  Edit->SetEnabled(false);
  EXPECT_EQ(windowPixel(Mid.X, Mid.Y), SliceColor("buttonedit", 3, 0));
  // Without a disabled picture the pressed-and-hot one still shows.
  E->UnEnabledButtonRect = TRect();
  Edit->RePaintFrame();
  EXPECT_EQ(windowPixel(Mid.X, Mid.Y), SliceColor("buttonedit", 2, 0));
}

TEST_F(BsSkinEditTest, PaintSkinToDrawsTheRestingLookWithTheGivenText) {
  addImages({clRed});
  Edit->SetImages(&Images);
  Edit->SetLeftImageIndex(0);
  Edit->SetButtonMode(true);
  SendMessage(Edit->Handle(), WM_NCMOUSEMOVE, HTHSCROLL, 0);  // a hot button does not show here
  TBitmap Out;
  Out.SetSize(Edit->Width() + 10, Edit->Height() + 10);
  Out.Canvas()->Brush()->SetColor(clLime);
  Out.Canvas()->FillRect(Rect(0, 0, Out.Width(), Out.Height()));
  Edit->PaintSkinTo(Out.Canvas(), 5, 5, "WWW");
  TCanvas* C = Out.Canvas();
  EXPECT_EQ(C->Pixels(5, 5), ColorToRGB(clBtnShadow));
  EXPECT_EQ(C->Pixels(6, 6), ColorToRGB(clBtnFace));
  EXPECT_EQ(C->Pixels(4, 4), ColorToRGB(clLime));
  const TRect B = Edit->ButtonRectNow();
  EXPECT_EQ(C->Pixels(5 + B.Left + RectWidth(B) / 2, 5 + B.Top + 3), ColorToRGB(clBtnFace));
  // The text starts after the left image and its gap.
  Integer First = -1;
  for (Integer X = 5; X < 5 + Edit->Width() && First < 0; ++X)
    for (Integer Y = 7; Y < 5 + Edit->Height() - 2; ++Y)
      if (COLORREF(C->Pixels(X, Y)) == RGBOf(clBlack)) {
        First = X - 5;
        break;
      }
  EXPECT_GE(First, 2 + 8 + 2 + 2);
  EXPECT_LT(First, 2 + 8 + 2 + 2 + 4);
  // Nothing when the box has no size.
  Edit->SetWidth(0);
  Out.Canvas()->FillRect(Rect(0, 0, Out.Width(), Out.Height()));
  Edit->PaintSkinTo(Out.Canvas(), 0, 0, "W");
  EXPECT_EQ(C->Pixels(0, 0), ColorToRGB(clLime));
}

}  // namespace
