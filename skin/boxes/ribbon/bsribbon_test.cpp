#include "skin/boxes/ribbon/bsribbon.h"

#include <gtest/gtest.h>

#include "platform/ui/core/form.h"
#include "skin/controls/hints/bsskinhint.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/menus/bsskinmenu.h"

namespace {

using wintest::ScreenPoint;

class Ribbon : public TSkinControlTest {
 protected:
  // A ribbon across a form, with tabs captioned as given.
  TbsRibbon* NewRibbon(std::initializer_list<const char*> Captions, Integer FormWidth = 500) {
    Form = NewForm(Rect(100, 100, 100 + FormWidth, 400));
    auto* R = new TbsRibbon(Form);
    R->SetParent(Form);
    for (const char* C : Captions) R->Tabs()->Add()->Page()->SetCaption(C);
    R->OnChangingPage = [this](TObject*) { Log.push_back("changing"); };
    R->OnChangePage = [this](TObject*) { Log.push_back("change"); };
    return R;
  }
  // Lays the ribbon out as its next paint would.
  static void Layout(TbsRibbon* R) {
    TBitmap B;
    B.SetSize(1, 1);
    B.Canvas()->SetFont(R->Font());
    R->CalcItemRects(B.Canvas());
  }
  static Integer CaptionWidth(TbsRibbon* R, const String& S) {
    TBitmap B;
    B.SetSize(1, 1);
    B.Canvas()->SetFont(R->Font());
    TRect M = Rect(0, 0, 0, 0);
    DrawText(B.Canvas()->Handle(), S, &M, DT_CALCRECT | DT_SINGLELINE);
    return RectWidth(M);
  }
  static void ClickAt(TbsRibbon* R, const TRect& Where) {
    wintest::Click(ScreenPoint(R->Handle(), Where.Left + 2, Where.Top + 2));
  }

  TForm* Form = nullptr;
  std::vector<String> Log;
};

TEST_F(Ribbon, ANewRibbonHasItsDefaultGeometry) {
  TbsRibbon* R = NewRibbon({});
  EXPECT_EQ(R->Height(), 115);
  EXPECT_EQ(R->Align(), alTop);
  EXPECT_EQ(R->Width(), Form->ClientWidth());
  EXPECT_EQ(R->SkinDataName(), "officetab");
  EXPECT_EQ(R->TabIndex(), -1);
  EXPECT_EQ(R->ActivePage(), nullptr);
  EXPECT_TRUE(R->UseSkinFont());
  EXPECT_FALSE(R->ButtonsShowHint());
  EXPECT_EQ(R->AppButtonImageIndex(), 0);
  TbsAppButton* A = R->AppButton();
  ASSERT_NE(A, nullptr);
  EXPECT_EQ(A->Ribbon, R);
  EXPECT_EQ(A->BoundsRect(), Rect(0, 1, 54, 25));
  EXPECT_EQ(A->SkinDataName(), "officemenubutton");
  EXPECT_FALSE(A->TabStop());
  EXPECT_EQ(R->LeftOffset(), 57);
  R->SetAppButtonWidth(30);
  EXPECT_EQ(A->Width(), 54);
  R->SetAppButtonWidth(80);
  EXPECT_EQ(A->Width(), 80);
  R->Tabs()->Add();
  Layout(R);
  EXPECT_EQ(R->Tabs()->Items(0)->ItemRect.Left, 83);
  R->SetAppButtonCaption("文件");
  EXPECT_EQ(R->AppButtonCaption(), "文件");
  R->SetAppButtonImageIndex(-4);
  EXPECT_EQ(R->AppButtonImageIndex(), 0);
}

TEST_F(Ribbon, AddingATabAtRunTimeMakesANamedPageAndSelectsIt) {
  TbsRibbon* R = NewRibbon({});
  // Names the pattern would give first are taken already.
  (new TComponent(Form))->SetName("bsRibbonPage1");
  (new TComponent(Form))->SetName("BSRIBBONPAGE2");
  TbsRibbonTab* T = R->Tabs()->Add();
  TbsRibbonPage* P = T->Page();
  ASSERT_NE(P, nullptr);
  EXPECT_EQ(P->Name(), "bsRibbonPage3");
  EXPECT_EQ(P->Caption(), "bsRibbonPage3");
  EXPECT_EQ(P->Owner(), Form);
  EXPECT_EQ(P->Parent(), R);
  EXPECT_EQ(P->Ribbon, R);
  EXPECT_EQ(R->TabIndex(), 0);
  EXPECT_EQ(R->ActivePage(), P);
  EXPECT_TRUE(P->Visible());
  EXPECT_EQ(Log, (std::vector<String>{"changing", "change"}));
  // The page keeps to the area under the strip whatever bounds it is given.
  P->SetBounds(5, 5, 10, 10);
  EXPECT_EQ(P->BoundsRect(), Rect(1, 26, 1 + R->Width() - 2, 26 + 115 - 24 - 5));
  EXPECT_EQ(MakeUniqueComponentName("bsRibbonPage%d", nullptr), "bsRibbonPage1");
}

TEST_F(Ribbon, DeleteFreesThePageButClearLeavesThePagesOnTheRibbon) {
  TbsRibbon* R = NewRibbon({"a", "b", "c"});
  TbsRibbonPage* B = R->Tabs()->Items(1)->Page();
  R->Tabs()->Delete(0);
  EXPECT_EQ(Form->FindComponent("bsRibbonPage1"), nullptr);
  EXPECT_EQ(R->Tabs()->Items(0)->Page(), B);
  R->Tabs()->Clear();
  EXPECT_EQ(B->Parent(), R);
  EXPECT_EQ(Form->FindComponent(B->Name()), B);
}

TEST_F(Ribbon, AssigningTabsSharesThePages) {
  TbsRibbon* R = NewRibbon({"a", "b"});
  TbsRibbonTabs Copy(nullptr);
  Copy.Assign(R->Tabs());
  ASSERT_EQ(Copy.Count(), 2);
  EXPECT_EQ(Copy.Items(1)->Page(), R->Tabs()->Items(1)->Page());
  TbsRibbonButtonItems Buttons(nullptr);
  TbsRibbonButtonItem* Src = R->Buttons()->Add();
  Src->SetImageIndex(3);
  Src->SetHint("h");
  Src->SetEnabled(false);
  Src->Code = 2;
  TbsRibbonButtonItem* Dst = Buttons.Add();
  Dst->Assign(Src);
  EXPECT_EQ(Dst->ImageIndex(), 3);
  EXPECT_EQ(Dst->Hint(), "h");
  EXPECT_FALSE(Dst->Enabled());
  EXPECT_EQ(Dst->Code, 0);
}

// Hiding the selected tab moves the selection right, else left, else keeps it.
TEST_F(Ribbon, HidingTabsMovesTheSelectionAsATable) {
  struct Case {
    std::vector<bool> Visible;
    Integer Selected, Hide, Expected;
  } Cases[] = {
      {{true, true, true, true}, 1, 1, 2},  {{true, true, false, true}, 1, 1, 3},
      {{true, true, true, false}, 2, 2, 1}, {{false, true, false, false}, 1, 1, 1},
      {{true, true, true, true}, 1, 3, 1},
  };
  for (const Case& C : Cases) {
    TbsRibbon* R = NewRibbon({"a", "b", "c", "d"});
    R->SetTabIndex(C.Selected);
    for (Integer i = 0; i < 4; ++i)
      if (!C.Visible[i]) R->Tabs()->Items(i)->SetVisible(false);
    R->Tabs()->Items(C.Hide)->SetVisible(false);
    EXPECT_EQ(R->TabIndex(), C.Expected) << "hide " << C.Hide << " of selected " << C.Selected;
    EXPECT_FALSE(R->Tabs()->Items(C.Hide)->Page()->Visible());
    Form->Release();
  }
}

TEST_F(Ribbon, TabWidthsFollowTheirCaptionsAndAreSqueezedWhenTheyDoNotFit) {
  // Wide: every tab its caption + 30, side by side from the application button.
  TbsRibbon* R = NewRibbon({"视频", "音频", "Settings"}, 600);
  Layout(R);
  Integer X = 57;
  for (Integer i = 0; i < 3; ++i) {
    TbsRibbonTab* T = R->Tabs()->Items(i);
    const Integer W = CaptionWidth(R, T->Page()->Caption()) + 30;
    EXPECT_EQ(T->ItemRect, Rect(X, 1, X + W, 25)) << i;
    X += W;
  }
  EXPECT_FALSE(R->ShowDivider());
  // Narrower than the tabs: each gets its share of the room, at least 15, and dividers show.
  R->SetAlign(alNone);
  R->SetWidth(57 + 5 + 60);
  Layout(R);
  Integer Sum = 0;
  for (Integer i = 0; i < 3; ++i) Sum += CaptionWidth(R, R->Tabs()->Items(i)->Page()->Caption()) + 30;
  X = 57;
  for (Integer i = 0; i < 3; ++i) {
    TbsRibbonTab* T = R->Tabs()->Items(i);
    const Integer Natural = CaptionWidth(R, T->Page()->Caption()) + 30;
    const Integer W = std::max(15, Integer(60 * (Double(Natural) / Sum)));
    EXPECT_EQ(T->ItemRect, Rect(X, 1, X + W, 25)) << i;
    X += W;
  }
  EXPECT_TRUE(R->ShowDivider());
  // A hidden tab takes no room.
  R->Tabs()->Items(1)->SetVisible(false);
  R->SetWidth(600);
  Layout(R);
  EXPECT_EQ(R->Tabs()->Items(2)->ItemRect.Left, R->Tabs()->Items(0)->ItemRect.Right);
}

TEST_F(Ribbon, ButtonsAndMDIButtonsAreLaidOutFromTheRightEnd) {
  TbsRibbon* R = NewRibbon({"a"});
  TImageList Images(nullptr);
  Images.SetWidth(16);
  Images.SetHeight(16);
  R->SetButtonsImageList(&Images);
  for (Integer i = 0; i < 3; ++i) R->Buttons()->Add();
  R->Buttons()->Items(1)->SetVisible(false);
  R->MDIChildMaximize();
  R->MDIChildMaximize();
  ASSERT_EQ(R->MDIButtons()->Count(), 3);
  Layout(R);
  const Integer W = R->Width();
  EXPECT_EQ(R->Buttons()->Items(2)->ItemRect, Rect(W - 2 - 22, 1, W - 2, 23));
  EXPECT_EQ(R->Buttons()->Items(0)->ItemRect, Rect(W - 2 - 44, 1, W - 2 - 22, 23));
  const Integer Right = W - (W - (W - 2 - 44) + 2);
  for (Integer i = 0; i < 3; ++i) {
    EXPECT_EQ(R->MDIButtons()->Items(i)->Code, i + 1);
    EXPECT_EQ(R->MDIButtons()->Items(i)->ItemRect, Rect(Right - 22 * (i + 1), 1, Right - 22 * i, 23)) << i;
  }
  EXPECT_EQ(R->RightOffset(), W - (Right - 66) + 2);
  R->SetButtonsImageList(nullptr);
}

TEST_F(Ribbon, KeysMoveBetweenVisibleTabsAndLeftOfTheFirstReachesTheAppButton) {
  TbsRibbon* R = NewRibbon({"a", "b", "c", "d"});
  R->Tabs()->Items(2)->SetVisible(false);
  R->SetTabIndex(0);
  R->SetFocus();
  ASSERT_TRUE(R->Focused());
  struct Step {
    Word Key;
    Integer Expected;
  } Steps[] = {{VK_NEXT, 3},  {VK_LEFT, 1}, {VK_RIGHT, 3}, {VK_RIGHT, 3},
               {VK_PRIOR, 0}, {VK_DOWN, 1}, {VK_UP, 0}};
  for (const Step& S : Steps) {
    wintest::KeyPress(S.Key);
    EXPECT_EQ(R->TabIndex(), S.Expected) << S.Key;
  }
  EXPECT_TRUE(R->Focused());
  wintest::KeyPress(VK_LEFT);
  EXPECT_EQ(R->TabIndex(), 0);
  EXPECT_TRUE(R->AppButton()->Focused());
  // The wheel moves only while the ribbon has the focus.
  wintest::MouseWheel(-120, ScreenPoint(R->Handle(), 200, 60));
  EXPECT_EQ(R->TabIndex(), 0);
  R->SetFocus();
  wintest::MouseWheel(-120, ScreenPoint(R->Handle(), 200, 60));
  EXPECT_EQ(R->TabIndex(), 1);
}

TEST_F(Ribbon, ClickingATabSelectsItAndFocusesTheRibbon) {
  TbsRibbon* R = NewRibbon({"a", "b"});
  R->SetTabIndex(0);
  R->Repaint();
  Log.clear();
  ClickAt(R, R->Tabs()->Items(1)->ItemRect);
  EXPECT_EQ(R->TabIndex(), 1);
  EXPECT_TRUE(R->Focused());
  EXPECT_FALSE(R->Tabs()->Items(0)->Page()->Visible());
  EXPECT_TRUE(R->Tabs()->Items(1)->Page()->Visible());
  EXPECT_EQ(Log, (std::vector<String>{"changing", "change"}));
  // Clicking the selected tab again fires nothing.
  ClickAt(R, R->Tabs()->Items(1)->ItemRect);
  EXPECT_EQ(Log.size(), 2u);
  EXPECT_EQ(R->TabActive(), 1);
}

TEST_F(Ribbon, AButtonClickFiresOnlyWhenPressedAndReleasedOnIt) {
  TbsRibbon* R = NewRibbon({"a"});
  TImageList Images(nullptr);
  R->SetButtonsImageList(&Images);
  TObject* Sender = nullptr;
  Integer Clicks = 0;
  TbsRibbonButtonItem* B = R->Buttons()->Add();
  B->OnClick = [&](TObject* S) {
    Sender = S;
    ++Clicks;
  };
  R->Repaint();
  const TRect IR = B->ItemRect;
  ClickAt(R, IR);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Sender, R);
  EXPECT_FALSE(B->Down);
  // Pressed, then released away: no click, the button is released.
  wintest::MouseDown(ScreenPoint(R->Handle(), IR.Left + 2, IR.Top + 2));
  EXPECT_TRUE(B->Down);
  wintest::MouseMove(ScreenPoint(R->Handle(), 10, 80));
  wintest::MouseUp(ScreenPoint(R->Handle(), 10, 80));
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(B->Down);
  EXPECT_FALSE(B->Active);
  // A disabled button takes no hover and so no press.
  B->SetEnabled(false);
  ClickAt(R, IR);
  EXPECT_EQ(Clicks, 1);
  R->SetButtonsImageList(nullptr);
}

TEST_F(Ribbon, AButtonWithAPopupMenuStaysPressedUntilTheMenuCloses) {
  TbsRibbon* R = NewRibbon({"a"});
  TImageList Images(nullptr);
  R->SetButtonsImageList(&Images);
  TbsSkinPopupMenu Menu(Form);
  Integer Clicks = 0;
  TbsRibbonButtonItem* Other = R->Buttons()->Add();
  TbsRibbonButtonItem* B = R->Buttons()->Add();
  B->SetPopupMenu(&Menu);
  B->OnClick = [&](TObject*) { ++Clicks; };
  R->Repaint();
  ClickAt(R, B->ItemRect);
  EXPECT_EQ(R->PopupButton(), 1);
  EXPECT_TRUE(B->Down);
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(Other->Down);
  R->Perform(WM_CLOSESKINMENU, 0, 0);
  EXPECT_FALSE(B->Down);
  EXPECT_EQ(R->PopupButton(), -1);
  R->SetButtonsImageList(nullptr);
}

TEST_F(Ribbon, ARibbonWithoutTabsTracksNoHoverSoItsButtonsCannotBePressed) {
  TbsRibbon* R = NewRibbon({});
  TImageList Images(nullptr);
  R->SetButtonsImageList(&Images);
  Integer Clicks = 0;
  TbsRibbonButtonItem* B = R->Buttons()->Add();
  B->OnClick = [&](TObject*) { ++Clicks; };
  R->Repaint();
  ClickAt(R, B->ItemRect);
  EXPECT_EQ(Clicks, 0);
  EXPECT_FALSE(B->Down);
  R->SetButtonsImageList(nullptr);
}

TEST_F(Ribbon, SettingTheActivePageShowsAHiddenTab) {
  TbsRibbon* R = NewRibbon({"a", "b"});
  TbsRibbonPage* A = R->Tabs()->Items(0)->Page();
  R->Tabs()->Items(0)->SetVisible(false);
  EXPECT_EQ(R->TabIndex(), 1);
  R->SetActivePage(A);
  EXPECT_EQ(R->TabIndex(), 0);
  EXPECT_TRUE(R->Tabs()->Items(0)->Visible());
  EXPECT_TRUE(A->Visible());
  // Out-of-range indexes change nothing.
  R->SetTabIndex(7);
  EXPECT_EQ(R->TabIndex(), 0);
}

TEST_F(Ribbon, TheDefaultLookShowsTheSelectedTabOnTheFaceColourOverAShadowStrip) {
  TbsRibbon* R = NewRibbon({"常用", "工具"});
  R->SetTabIndex(0);
  TBitmap B;
  B.SetSize(R->Width(), R->Height());
  R->PaintRibbon(B.Canvas());
  const TRect Sel = R->Tabs()->Items(0)->ItemRect;
  const TRect Other = R->Tabs()->Items(1)->ItemRect;
  auto px = [&](Integer X, Integer Y) { return COLORREF(B.Canvas()->Pixels(X, Y)) & 0xFFFFFF; };
  const COLORREF Shadow = ColorToRGB(clBtnShadow), Face = ColorToRGB(clBtnFace);
  EXPECT_EQ(px(Sel.Left + 1, Sel.Top + 1), Face);
  EXPECT_EQ(px(Other.Left + 1, Other.Top + 1), Shadow);
  EXPECT_EQ(px(R->Width() - 3, 5), Shadow);
  // The unselected caption is drawn in the highlight colour (grey anti-aliased, so nearly white at its
  // cores) inside its tab; the selected one in the text colour.
  auto has = [&](const TRect& R, auto Pred) {
    for (Integer X = R.Left; X < R.Right; ++X)
      for (Integer Y = R.Top; Y < R.Bottom; ++Y)
        if (Pred(px(X, Y))) return true;
    return false;
  };
  const bool Highlight = has(Other, [](COLORREF C) { return GetRValue(C) >= 0xF0 && GetGValue(C) >= 0xF0; });
  EXPECT_TRUE(has(Sel, [](COLORREF C) { return GetRValue(C) < 0x40; }));
  EXPECT_FALSE(has(Other, [](COLORREF C) { return GetRValue(C) < 0x40; }));
  EXPECT_TRUE(Highlight);
}

TEST_F(Ribbon, TheSkinnedLookDrawsTheSelectedTabFromItsPicture) {
  TbsRibbon* R = NewRibbon({"常用", "工具"});
  R->SetSkinData(Skin.get());
  R->SetTabIndex(0);
  TBitmap B;
  B.SetSize(R->Width(), R->Height());
  R->PaintRibbon(B.Canvas());
  ASSERT_NE(R->Data(), nullptr);
  const TRect Sel = R->Tabs()->Items(0)->ItemRect;
  auto px = [&](Integer X, Integer Y) { return COLORREF(B.Canvas()->Pixels(X, Y)) & 0xFFFFFF; };
  // The generated skin's selected tab picture is its "down" cell; its left column is slice 0.
  EXPECT_EQ(px(Sel.Left, Sel.Top + 1), SliceColor("officetab", 2, 0));
  EXPECT_EQ(R->GetTabsHeight(), RectHeight(R->Data()->TabRect) + 1);
}

// Records what the ribbon asks of its hint component.
class TRecordingHint : public TbsSkinHint {
 public:
  using TbsSkinHint::TbsSkinHint;
  void ActivateHint2(const String& AHint) override { Log.push_back("show " + AHint); }
  void HideHint() override { Log.push_back("hide"); }
  std::vector<String> Log;
};

TEST_F(Ribbon, HoveringAButtonShowsItsHintAndLeavingItHidesIt) {
  TbsRibbon* R = NewRibbon({"a"});
  TImageList Images(nullptr);
  R->SetButtonsImageList(&Images);
  TRecordingHint Hint(Form);
  R->SetSkinHint(&Hint);
  R->SetButtonsShowHint(true);
  TbsRibbonButtonItem* B = R->Buttons()->Add();
  B->SetHint("打开");
  R->Buttons()->Add();  // no hint of its own
  R->Repaint();
  const TRect IR = B->ItemRect;
  wintest::MouseMove(ScreenPoint(R->Handle(), IR.Left + 3, IR.Top + 3));
  wintest::MouseMove(ScreenPoint(R->Handle(), 10, 80));
  const TRect Quiet = R->Buttons()->Items(1)->ItemRect;
  wintest::MouseMove(ScreenPoint(R->Handle(), Quiet.Left + 3, Quiet.Top + 3));
  EXPECT_EQ(Hint.Log, (std::vector<String>{"show 打开", "hide"}));
  R->SetButtonsShowHint(false);
  Hint.Log.clear();
  wintest::MouseMove(ScreenPoint(R->Handle(), IR.Left + 3, IR.Top + 3));
  EXPECT_TRUE(Hint.Log.empty());
  R->SetSkinHint(nullptr);
  R->SetButtonsImageList(nullptr);
}

TEST_F(Ribbon, InTheDesignerTabsAndPagesDeleteEachOther) {
  TbsRibbon* R = NewRibbon({});
  R->SetDesigning(true);
  TbsRibbonTab* T0 = R->Tabs()->Add();
  R->Tabs()->Add();
  R->Tabs()->Add();
  ASSERT_NE(T0->Page(), nullptr);
  const String Name0 = T0->Page()->Name();
  // Deleting a tab frees its page once the collection has been updated.
  R->Tabs()->Delete(0);
  EXPECT_EQ(Form->FindComponent(Name0), nullptr);
  EXPECT_EQ(R->Tabs()->DestroyPage, nullptr);
  // A left click over a tab in the designer selects it.
  Layout(R);
  const TRect Second = R->Tabs()->Items(1)->ItemRect;
  R->Perform(CM_DESIGNHITTEST, MK_LBUTTON, MAKELPARAM(Second.Left + 2, Second.Top + 2));
  EXPECT_EQ(R->TabIndex(), 1);
  // Deleting the selected tab's page deletes the tab and selects the nearest visible tab after it.
  R->SetTabIndex(0);
  delete R->Tabs()->Items(0)->Page();
  ASSERT_EQ(R->Tabs()->Count(), 1);
  EXPECT_EQ(R->TabIndex(), 0);
  R->SetDesigning(false);
}

TEST_F(Ribbon, LoadingCreatesNoPagesAndLoadedAttachesTheStoredOnes) {
  TbsRibbon* R = NewRibbon({});
  auto* A = new TbsRibbonPage(Form);
  auto* B = new TbsRibbonPage(Form);
  A->SetParent(R);
  B->SetParent(R);
  R->BeginLoading();
  TbsRibbonTab* TA = R->Tabs()->Add();
  TbsRibbonTab* TB = R->Tabs()->Add();
  EXPECT_EQ(TA->Page(), nullptr);
  TA->SetPage(A);
  TB->SetPage(B);
  R->EndLoading();
  EXPECT_EQ(A->Ribbon, R);
  EXPECT_EQ(B->Ribbon, R);
  EXPECT_FALSE(A->Visible());
  EXPECT_FALSE(B->Visible());
  R->SetTabIndex(1);
  EXPECT_TRUE(B->Visible());
  // A page set once the tab's page is attached selects that tab.
  TA->SetPage(nullptr);
  TA->SetPage(A);
  EXPECT_EQ(R->TabIndex(), 0);
}

TEST_F(Ribbon, APageFreedAtRunTimeLeavesItsTabWithoutAPage) {
  TbsRibbon* R = NewRibbon({"a", "b"});
  delete R->Tabs()->Items(1)->Page();
  ASSERT_EQ(R->Tabs()->Count(), 2);
  EXPECT_EQ(R->Tabs()->Items(1)->Page(), nullptr);
  EXPECT_EQ(R->ActivePage(), nullptr);
  R->Repaint();
  R->SetTabIndex(0);
  EXPECT_TRUE(R->Tabs()->Items(0)->Page()->Visible());
  delete R;
}

TEST_F(Ribbon, MDIButtonsComeAndGoWithTheMessagesAndDoNothingWithoutAChild) {
  TbsRibbon* R = NewRibbon({"a"});
  R->Perform(WM_MDICHILDMAXIMIZE, 0, 0);
  ASSERT_EQ(R->MDIButtons()->Count(), 3);
  R->Repaint();
  // No maximized child: the buttons click without effect.
  for (Integer i = 0; i < 3; ++i) ClickAt(R, R->MDIButtons()->Items(i)->ItemRect);
  EXPECT_TRUE(Form->Visible());
  R->Perform(WM_MDICHILDRESTORE, 0, 0);
  EXPECT_EQ(R->MDIButtons()->Count(), 0);
}

TEST_F(Ribbon, APaintAfterAnEraseIsSkippedAndThePageErasesToTheFaceColour) {
  TbsRibbon* R = NewRibbon({"a"});
  TBitmap B;
  B.SetSize(R->Width(), R->Height());
  R->Perform(WM_ERASEBKGND, WPARAM(B.Canvas()->Handle()), 0);
  EXPECT_TRUE(R->WMEraseReady);
  R->Repaint();
  EXPECT_FALSE(R->WMEraseReady);
  TbsRibbonPage* P = R->ActivePage();
  TBitmap PB;
  PB.SetSize(P->Width(), P->Height());
  P->Perform(WM_ERASEBKGND, WPARAM(PB.Canvas()->Handle()), 0);
  EXPECT_EQ(COLORREF(PB.Canvas()->Pixels(P->Width() / 2, P->Height() / 2)) & 0xFFFFFF, ColorToRGB(clBtnFace));
}

}  // namespace
