// A ribbon linked to its form's skinning engine: the link both ways, the keyboard, the MDI buttons and
// the application menu's caption picture in the skinned frame.
#include <gtest/gtest.h>

#include "platform/ui/core/form.h"
#include "platform/ui/graphics/imagelist.h"
#include "platform/ui/menus/menuitem.h"
#include "skin/boxes/ribbon/bsappmenu.h"
#include "skin/boxes/ribbon/bsribbon.h"
#include "skin/boxes/ribbon/ribbontestskin.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/frame/bsskincaptionobject.h"
#include "skin/forms/menubar/bsskinmainmenubar.h"
#include "skin/menus/bsskinmenu.h"

namespace {

using wintest::ScreenPoint;

constexpr TColor CaptionPicture = TColor(RGB(0xA0, 0x00, 0xA0));

class RibbonLink : public TSkinControlTest {
 protected:
  // A skinned form with an engine, a ribbon with two tabs and an application menu, linked.
  void Build(bool Link = true) {
    Form = NewForm(Rect(100, 100, 700, 460));
    Engine = new TbsSkinForm(Form);
    Engine->SetSkinData(Skin.get());
    Ribbon = new TbsRibbon(Form);
    Ribbon->SetParent(Form);
    for (const char* C : {"&Home", "&View"}) Ribbon->Tabs()->Add()->Page()->SetCaption(C);
    Ribbon->SetTabIndex(0);
    Menu = new TbsAppMenu(Form);
    Menu->SetItemWidth(120);
    Menu->Items()->Add()->SetCaption("打开");
    Ribbon->SetAppMenu(Menu);
    Ribbon->OnMenuClose = [this](TObject*) { Log.push_back("close"); };
    Other = NewControl<TRecordingControl>(Form, Rect(300, 200, 380, 240));
    if (Link) Engine->SetSkinRibbon(Ribbon);
    wintest::Pump();
  }
  // Gives the skin's application-menu element a caption picture of one colour.
  TbsDataSkinAppMenu* UseCaptionPicture(Integer LeftOffset) {
    Skin->AddPicture(SolidPicture(CaptionPicture, 50, 20), "appmenu-caption.bmp");
    auto* D = dynamic_cast<TbsDataSkinAppMenu*>(Skin->Ctrls(Skin->GetControlIndex("appmenu")));
    EXPECT_NE(D, nullptr);
    D->PictureIndex = Skin->PictureCount() - 1;
    D->CaptionRect = Rect(0, 0, 50, 20);
    D->CaptionLeftOffset = LeftOffset;
    D->CaptionTopOffset = 0;
    Menu->SetSkinData(Skin.get());
    return D;
  }
  TbsSkinCaptionObject* Caption() const {
    return dynamic_cast<TbsSkinCaptionObject*>(Engine->Objects(Engine->GetIndex("caption")));
  }
  // The frame as the engine paints it, in window coordinates.
  void PaintFrame(TBitmap& B) {
    B.SetPixelFormat(pf24bit);
    B.SetSize(Form->Width(), Form->Height());
    Engine->PaintNCSkin(B.Canvas()->Handle(), true);
  }

  TForm* Form = nullptr;
  TbsSkinForm* Engine = nullptr;
  TbsRibbon* Ribbon = nullptr;
  TbsAppMenu* Menu = nullptr;
  TRecordingControl* Other = nullptr;
  std::vector<String> Log;
};

TEST_F(RibbonLink, LinkingWritesTheEngineIntoTheRibbonAndEitherSideGoingUndoesIt) {
  Build(false);
  EXPECT_EQ(Engine->SkinRibbon(), nullptr);
  EXPECT_EQ(Ribbon->BSF, nullptr);
  Engine->SetSkinRibbon(Ribbon);
  EXPECT_EQ(Engine->SkinRibbon(), Ribbon);
  EXPECT_EQ(Ribbon->BSF, Engine);

  // Another ribbon takes the link; the first no longer reaches the engine.
  auto* Second = new TbsRibbon(Form);
  Engine->SetSkinRibbon(Second);
  EXPECT_EQ(Second->BSF, Engine);
  EXPECT_EQ(Ribbon->BSF, nullptr);
  // The linked ribbon freed: the engine lets go of it and the frame still paints.
  delete Second;
  EXPECT_EQ(Engine->SkinRibbon(), nullptr);
  EXPECT_FALSE(Engine->CanShowAppMenuCaption());
  EXPECT_EQ(Engine->GetAppMenuCaptionOffsetOf(), 0);
  TBitmap B;
  PaintFrame(B);
  SendMessage(Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);

  // The engine freed first: the ribbon is left without one.
  Engine->SetSkinRibbon(Ribbon);
  delete Engine;
  Engine = nullptr;
  EXPECT_EQ(Ribbon->BSF, nullptr);
  Ribbon->ShowAppMenu();
  Ribbon->HideAppMenu(nullptr);
}

TEST_F(RibbonLink, TheKeyboardMenuCommandClosesTheApplicationMenuAndFocusesTheRibbon) {
  Build();
  Ribbon->ShowAppMenu();
  ASSERT_TRUE(Menu->Visible());
  SendMessage(Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_FALSE(Menu->Visible());
  EXPECT_FALSE(Ribbon->InAppHook());
  EXPECT_EQ(Log, std::vector<String>{"close"});
  EXPECT_TRUE(Ribbon->Focused());

  // With the menu closed the command only moves the focus; an open skinned menu of the form closes.
  Other->SetFocus();
  auto* Popup = new TPopupMenu(Form);
  Popup->Items()->Add(new TMenuItem(Popup));
  Popup->Items()->Items(0)->SetCaption("一");
  Engine->SkinMenu()->Popup(nullptr, Skin.get(), 0, Rect(200, 200, 200, 200), Popup->Items(), false);
  ASSERT_TRUE(Engine->SkinMenu()->Visible());
  SendMessage(Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  WinRunDeferredActions();
  EXPECT_FALSE(Engine->SkinMenu()->Visible());
  EXPECT_EQ(Log.size(), 1u) << "no application menu was closed again";
  EXPECT_TRUE(Ribbon->Focused());

  // A menu bar that takes the keyboard keeps it: the ribbon stays unfocused until the bar lets go.
  auto* MainMenu = new TbsSkinMainMenu(Form);
  auto* File = new TMenuItem(Form);
  File->SetCaption("&File");
  MainMenu->Items()->Add(File);
  auto* Bar = NewControl<TbsSkinMainMenuBar>(Form, Rect(0, 0, 400, 22));
  Bar->SetSkinForm(Engine);
  Bar->SetMainMenu(MainMenu);
  Other->SetFocus();
  SendMessage(Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_TRUE(Engine->Mode().InMainMenu);
  EXPECT_TRUE(Other->Focused());
  SendMessage(Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_FALSE(Engine->Mode().InMainMenu);
  EXPECT_TRUE(Other->Focused());
  delete Bar;

  // An unlinked ribbon is left alone.
  Engine->SetSkinRibbon(nullptr);
  Other->SetFocus();
  SendMessage(Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_TRUE(Other->Focused());
}

TEST_F(RibbonLink, ShortcutsReachTheAppButtonMenuAndAltLetterSelectsATab) {
  Build();
  auto* P = new TbsSkinPopupMenu(Form);
  auto* Item = new TMenuItem(P);
  Item->SetCaption("保存");
  Item->SetShortCut(ShortCut('S', TShiftState{ssCtrl}));
  Integer Clicks = 0;
  Item->OnClick = [&](TObject*) { ++Clicks; };
  P->Items()->Add(Item);
  Ribbon->SetAppButtonPopupMenu(P);

  struct Case {
    Word Key;
    bool Ctrl, Alt;
    bool Handled;
    Integer TabIndex, Clicks;
  };
  // Alt+V picks the second tab without taking the key; without Alt it picks nothing; Ctrl+S runs the
  // application button menu's item.
  const Case Cases[] = {{'V', false, false, false, 0, 0},
                        {'V', false, true, false, 1, 0},
                        {'H', false, true, false, 0, 0},
                        {'Q', false, true, false, 0, 0},
                        {'S', true, false, true, 0, 1}};
  for (const Case& C : Cases) {
    if (C.Ctrl) wintest::KeyDown(VK_CONTROL);
    if (C.Alt) wintest::KeyDown(VK_MENU);
    TWMKey Msg{C.Alt ? WM_SYSKEYDOWN : WM_KEYDOWN, C.Key, C.Alt ? LPARAM(0x20000000) : 0, 0};
    bool Handled = false;
    Engine->FormShortCut(Msg, Handled);
    if (C.Alt) wintest::KeyUp(VK_MENU);
    if (C.Ctrl) wintest::KeyUp(VK_CONTROL);
    EXPECT_EQ(Handled, C.Handled) << char(C.Key);
    EXPECT_EQ(Ribbon->TabIndex(), C.TabIndex) << char(C.Key);
    EXPECT_EQ(Clicks, C.Clicks) << char(C.Key);
  }

  // Typed on the form, Alt+V reaches the same handler.
  Other->SetFocus();
  wintest::KeyPress('V', 0, true);
  EXPECT_EQ(Ribbon->TabIndex(), 1);
  Ribbon->SetTabIndex(0);

  // A hidden tab's accelerator shows it again.
  Ribbon->Tabs()->Items(1)->SetVisible(false);
  wintest::KeyDown(VK_MENU);
  TWMKey Msg{WM_SYSKEYDOWN, 'V', LPARAM(0x20000000), 0};
  bool Handled = false;
  Engine->FormShortCut(Msg, Handled);
  wintest::KeyUp(VK_MENU);
  EXPECT_EQ(Ribbon->TabIndex(), 1);
  EXPECT_TRUE(Ribbon->Tabs()->Items(1)->Visible());
}

TEST_F(RibbonLink, WhileTheMenuIsOpenItsCaptionPictureTakesTheCaptionsLeftPart) {
  Build();
  UseCaptionPicture(7);
  TCustomImageList Images(nullptr, 10, 10);
  Engine->SetQuickImageList(&Images);
  for (int i = 0; i < 2; ++i) Engine->QuickButtons()->Add()->SetImageIndex(0);
  TbsSkinCaptionObject* C = Caption();
  ASSERT_NE(C, nullptr);
  TBitmap Closed;
  PaintFrame(Closed);
  const TRect CR = C->ObjectRect;
  // The quick buttons hold the caption's left part: a point there is no caption.
  const TPoint OnQuick{CR.Left + 3, CR.Top + RectHeight(CR) / 2};
  EXPECT_FALSE(Engine->CanShowAppMenuCaption());
  EXPECT_FALSE(Engine->PtInCaptionArea(OnQuick));
  EXPECT_EQ(Engine->GetAppMenuCaptionOffsetOf(), 127) << "offset plus item width, open or not";

  Ribbon->ShowAppMenu();
  EXPECT_TRUE(Engine->CanShowAppMenuCaption());
  EXPECT_TRUE(Engine->PtInCaptionArea(OnQuick)) << "no quick buttons while the menu is open";
  C->ActiveQuickButton = 0;
  C->TestActiveQuickButton(OnQuick.X, OnQuick.Y);
  EXPECT_EQ(C->ActiveQuickButton, -1);
  TBitmap Open;
  PaintFrame(Open);
  // The picture is stretched over the item column, moved right by its offset.
  EXPECT_EQ(ColorToRGB(Open.Canvas()->Pixels(7 + 2, 3)), ColorToRGB(CaptionPicture));
  EXPECT_EQ(ColorToRGB(Open.Canvas()->Pixels(7 + 117, 3)), ColorToRGB(CaptionPicture));
  EXPECT_NE(ColorToRGB(Open.Canvas()->Pixels(7 + 121, 3)), ColorToRGB(CaptionPicture));
  EXPECT_NE(ColorToRGB(Closed.Canvas()->Pixels(7 + 2, 3)), ColorToRGB(CaptionPicture));

  // Without a picture in the skin the frame stays as it was, quick buttons and all.
  auto* D = dynamic_cast<TbsDataSkinAppMenu*>(Skin->Ctrls(Skin->GetControlIndex("appmenu")));
  D->CaptionRect = TRect{};
  EXPECT_FALSE(Engine->CanShowAppMenuCaption());
  EXPECT_FALSE(Engine->PtInCaptionArea(OnQuick));
  // The menu freed while open: the frame no longer asks for it.
  D->CaptionRect = Rect(0, 0, 50, 20);
  ASSERT_TRUE(Engine->CanShowAppMenuCaption());
  delete Menu;
  EXPECT_EQ(Ribbon->AppMenu(), nullptr);
  EXPECT_FALSE(Engine->CanShowAppMenuCaption());
  EXPECT_EQ(Engine->GetAppMenuCaptionOffsetOf(), 0);
  TBitmap After;
  PaintFrame(After);
  EXPECT_NE(ColorToRGB(After.Canvas()->Pixels(7 + 2, 3)), ColorToRGB(CaptionPicture));
  Engine->SetQuickImageList(nullptr);
}

TEST_F(RibbonLink, TheCaptionTextMovesRightOfTheMenuPicture) {
  Build();
  UseCaptionPicture(0);
  Form->SetCaption("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
  TbsSkinCaptionObject* C = Caption();
  ASSERT_NE(C, nullptr);
  ASSERT_FALSE(IsEmptyRect(C->TextRct));
  // Where the closed frame's text starts, the open one shows the picture; the text follows it.
  Menu->SetItemWidth(60);
  TBitmap Closed, Open;
  PaintFrame(Closed);
  Ribbon->ShowAppMenu();
  PaintFrame(Open);
  Ribbon->HideAppMenu(nullptr);
  auto textColumns = [&](TBitmap& B, Integer From, Integer To) {
    Integer N = 0;
    const COLORREF Back = ColorToRGB(B.Canvas()->Pixels(C->ObjectRect.Right - 1, C->ObjectRect.Top + 1));
    for (Integer X = From; X < To; ++X)
      for (Integer Y = C->ObjectRect.Top; Y < C->ObjectRect.Bottom; ++Y) {
        const COLORREF P = ColorToRGB(B.Canvas()->Pixels(X, Y));
        if (P != Back && P != ColorToRGB(CaptionPicture)) {
          ++N;
          break;
        }
      }
    return N;
  };
  const Integer Left = C->ObjectRect.Left + C->TextRct.Left;
  ASSERT_LT(Left, 60);
  EXPECT_GT(textColumns(Closed, Left, 60), 0);
  EXPECT_EQ(textColumns(Open, Left, 60), 0);
  EXPECT_GT(textColumns(Open, 60, C->ObjectRect.Right), 0);
}

TEST_F(RibbonLink, AFormThatUsesTheRibbonKeepsTheSystemFrame) {
  Build();
  ASSERT_TRUE(Engine->GetSkinnableForm());
  Engine->SetUseRibbon(true);
  EXPECT_FALSE(Engine->GetSkinnableForm());
  EXPECT_EQ(Engine->ObjectCount(), 0) << "no frame objects without the engine's frame";
  // Neither the engine's own switch nor the skin's brings the engine frame back.
  Engine->SetSkinnableForm(true);
  EXPECT_FALSE(Engine->GetSkinnableForm());
  Skin->SetSkinnableForm(false);
  Skin->SetSkinnableForm(true);
  wintest::Pump();
  EXPECT_FALSE(Engine->GetSkinnableForm());
  // Without it the skin's switch is followed again.
  Engine->SetUseRibbon(false);
  Skin->SetSkinnableForm(false);
  Skin->SetSkinnableForm(true);
  wintest::Pump();
  EXPECT_TRUE(Engine->GetSkinnableForm());
}

// ---- MDI ----

class RibbonLinkMDI : public TSkinControlTest {};

TEST_F(RibbonLinkMDI, MaximizingAndRestoringAChildTellsTheRibbon) {
  TForm* Main = nullptr;
  Application->CreateForm(Main);
  Main->SetFormStyle(fsMDIForm);
  Main->SetBoundsRect(Rect(50, 50, 650, 450));
  auto* MainEngine = new TbsSkinForm(Main);
  auto* R = new TbsRibbon(Main);
  R->SetParent(Main);
  R->Tabs()->Add()->Page()->SetCaption("开始");
  MainEngine->SetSkinRibbon(R);
  Main->Show();
  wintest::Pump();
  auto* Child = new TForm(Application);
  Child->AfterConstruction();
  Child->SetFormStyle(fsMDIChild);
  Child->SetBoundsRect(Rect(10, 10, 210, 160));
  auto* ChildEngine = new TbsSkinForm(Child);
  Child->Show();
  wintest::Pump();
  EXPECT_EQ(R->MDIButtons()->Count(), 0);
  ChildEngine->SetWindowState(wsMaximized);
  wintest::Pump();
  ASSERT_TRUE(MainEngine->GetMDIChildMaximized());
  EXPECT_EQ(R->MDIButtons()->Count(), 3);
  ChildEngine->SetWindowState(wsNormal);
  wintest::Pump();
  EXPECT_EQ(R->MDIButtons()->Count(), 0);
  // A maximized child that goes takes the buttons with it.
  ChildEngine->SetWindowState(wsMaximized);
  wintest::Pump();
  ASSERT_EQ(R->MDIButtons()->Count(), 3);
  delete Child;
  wintest::Pump();
  EXPECT_EQ(R->MDIButtons()->Count(), 0);
}

}  // namespace
