#include "skin/controls/panels/bsskinlinklabel.h"

#include <gtest/gtest.h>

#include "platform/shell/testkit/fakes.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsskinrecordsbuttons.h"

namespace {

const TColor SkinText = TColor(RGB(10, 120, 10));
const TColor SkinHover = TColor(RGB(200, 0, 0));

class SkinLinkLabel : public TSkinControlTest {
 protected:
  TbsSkinLinkLabel* NewLabel(bool Skinned) {
    TForm* F = NewForm();
    auto* L = new TbsSkinLinkLabel(F);
    L->SetParent(F);
    L->SetAutoSize(false);
    L->SetBounds(10, 10, 200, 60);
    L->SetCaption("MMMM");
    TFont Big;
    Big.SetName("NerivoTest");  // solid glyph boxes: exact pixels
    Big.SetHeight(20);
    L->SetDefaultFont(&Big);
    if (Skinned) {
      auto* R = dynamic_cast<TbsDataSkinStdLabelControl*>(Skin->Ctrls(Skin->GetControlIndex("stdlabel")));
      R->FontName = "NerivoTest";
      R->FontHeight = 20;
      R->FontColor = SkinText;
      R->ActiveFontColor = SkinHover;
      L->SetSkinData(Skin.get());
    }
    L->OnClick = [this](TObject*) { Log.push_back("click " + std::to_string(Fakes.Open().Targets.size())); };
    return L;
  }
  // The pixels of the label in one colour: their count per row (index = row).
  std::vector<Integer> RowsOf(TbsSkinLinkLabel* L, TColor Color) {
    // One painting of the form, read pixel by pixel.
    TWinControl* P = L->Parent();
    HBITMAP Shot = wintest::PaintWindowToBitmap(P->Handle());
    const TPoint Client = P->ClientOrigin();
    RECT W;
    GetWindowRect(P->Handle(), &W);
    const Integer DX = Client.X - W.Left + L->Left(), DY = Client.Y - W.Top + L->Top();
    std::vector<Integer> Rows(L->Height(), 0);
    for (Integer Y = 0; Y < L->Height(); ++Y)
      for (Integer X = 0; X < L->Width(); ++X)
        Rows[Y] += wintest::BitmapPixel(Shot, X + DX, Y + DY) == COLORREF(ColorToRGB(Color));
    DeleteObject(Shot);
    return Rows;
  }
  static Integer Total(const std::vector<Integer>& Rows) {
    Integer N = 0;
    for (Integer R : Rows) N += R;
    return N;
  }
  static Integer FirstRow(const std::vector<Integer>& Rows) {
    for (size_t i = 0; i < Rows.size(); ++i)
      if (Rows[i] > 0) return Integer(i);
    return -1;
  }
  static Integer LastRow(const std::vector<Integer>& Rows) {
    for (size_t i = Rows.size(); i-- > 0;)
      if (Rows[i] > 0) return Integer(i);
    return -1;
  }

  shelltest::TShellFakes Fakes;
  std::vector<String> Log;
};

TEST_F(SkinLinkLabel, Defaults) {
  TbsSkinLinkLabel L(nullptr);
  EXPECT_FALSE(L.GlowEffect());
  EXPECT_EQ(L.GlowSize(), 7);
  EXPECT_TRUE(L.UseUnderLine());
  EXPECT_TRUE(L.UseSkinFont());
  EXPECT_EQ(L.DefaultActiveFontColor(), clBlue);
  EXPECT_EQ(L.SkinDataName(), "stdlabel");
  EXPECT_TRUE(L.URL().empty());
  EXPECT_TRUE(L.Transparent());
  EXPECT_EQ(L.Cursor(), crHandPoint);
  EXPECT_EQ(L.Font()->Name(), "Tahoma");
  EXPECT_TRUE(L.Font()->Style().Contains(fsUnderline));
  EXPECT_EQ(L.SkinIndex(), -1);
}

TEST_F(SkinLinkLabel, AClickHandsTheAddressToTheOpenerAsOneArgument) {
  const String Addresses[] = {"https://nerivo.example/下载 页面?a=1&b=2", "mailto:support@nerivo.example",
                              "/home/user/My Videos/输出; rm -rf ~"};
  for (const String& A : Addresses) {
    TbsSkinLinkLabel* L = NewLabel(false);
    L->SetURL(A);
    Fakes.Open().Targets.clear();
    Log.clear();
    wintest::Click(wintest::ScreenPoint(L->Parent()->Handle(), L->Left() + 5, L->Top() + 5));
    EXPECT_EQ(Fakes.Open().Targets, std::vector<String>{A});
    EXPECT_EQ(Log, std::vector<String>{"click 0"});  // OnClick first, then the opener
  }
  TbsSkinLinkLabel* L = NewLabel(false);
  Fakes.Open().Targets.clear();
  Log.clear();
  L->Click();
  EXPECT_TRUE(Fakes.Open().Targets.empty());
  EXPECT_EQ(Log, std::vector<String>{"click 0"});
}

TEST_F(SkinLinkLabel, HoverColoursAndGlow) {
  TbsSkinLinkLabel* S = NewLabel(true);
  EXPECT_NE(S->SkinIndex(), -1);
  EXPECT_GT(Total(RowsOf(S, SkinText)), 0);
  S->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_GT(Total(RowsOf(S, SkinHover)), 0);  // glow off: the text turns the hover colour
  EXPECT_EQ(Total(RowsOf(S, SkinText)), 0);
  S->SetGlowEffect(true);
  EXPECT_GT(Total(RowsOf(S, SkinText)), 0);  // glow on: the text keeps its colour
  S->Perform(CM_MOUSELEAVE, 0, 0);

  TbsSkinLinkLabel* D = NewLabel(false);
  D->SetGlowEffect(true);
  D->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_GT(Total(RowsOf(D, clBlue)), 0);
}

TEST_F(SkinLinkLabel, UnderlineAndTheGlowOffset) {
  for (bool Skinned : {false, true}) {
    TbsSkinLinkLabel* L = NewLabel(Skinned);
    const TColor Text = Skinned ? SkinText : clBlack;
    const std::vector<Integer> Under = RowsOf(L, Text);
    L->SetUseUnderLine(false);
    const std::vector<Integer> Plain = RowsOf(L, Text);
    // The underline is one long row below the glyphs.
    EXPECT_GT(Under[LastRow(Under)], Plain[LastRow(Plain)]) << Skinned;
    EXPECT_GT(LastRow(Under), LastRow(Plain)) << Skinned;
    L->SetGlowEffect(true);
    L->SetGlowSize(6);
    EXPECT_EQ(FirstRow(RowsOf(L, Text)), FirstRow(Plain) + 6) << Skinned;
  }
}

TEST_F(SkinLinkLabel, AutoSizeFitsTheTextAndTheGlowOffset) {
  TbsSkinLinkLabel* L = NewLabel(false);
  L->SetAutoSize(true);
  const Integer W = L->Width(), H = L->Height();
  EXPECT_GT(W, 0);
  EXPECT_GT(H, 0);
  EXPECT_LT(W, 200);
  L->SetGlowEffect(true);
  L->SetCaption("MMMMM");  // a text change sizes again, now with room for the moved text
  EXPECT_GT(L->Width(), W);
  EXPECT_EQ(L->Height(), H + 7);
  L->SetCaption("");
  EXPECT_GT(L->Height(), 7);  // an empty text still measures one line
}

TEST_F(SkinLinkLabel, ADisabledLabelIsEmbossed) {
  TbsSkinLinkLabel* L = NewLabel(false);
  L->SetEnabled(false);
  const std::vector<Integer> Light = RowsOf(L, clBtnHighlight);
  const std::vector<Integer> Dark = RowsOf(L, clBtnShadow);
  ASSERT_GT(Total(Dark), 0);
  ASSERT_GT(Total(Light), 0);
  EXPECT_EQ(LastRow(Light), LastRow(Dark) + 1);
  EXPECT_EQ(FirstRow(Light), FirstRow(Dark) + 1);
}

}  // namespace
