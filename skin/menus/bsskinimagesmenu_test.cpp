#include "skin/menus/bsskinimagesmenu.h"

#include <gtest/gtest.h>

#include "platform/ui/testkit/ui_test_util.h"
#include "skin/menus/testkit/skinmenustestkit.h"

namespace {

// Records what the images menu asks of the hint component.
class TFakeHint : public TComponent, public IbsSkinHintLink {
 public:
  using TComponent::TComponent;
  void ActivateHint2(const String& AHint) override { Shown.push_back(AHint); }
  void HideHint() override { ++Hides; }
  std::vector<String> Shown;
  Integer Hides = 0;
};

class SkinImagesMenu : public TSkinMenuTest {
 protected:
  void SetUp() override {
    TSkinMenuTest::SetUp();
    Images = new TCustomImageList(Form, 16, 16);
    for (TColor C : {clRed, clLime, clBlue, clYellow, clFuchsia}) {
      auto B = FilledBitmap(16, 16, pf24bit, C);
      Images->Add(B.get(), nullptr);
    }
    IM = new TbsSkinImagesMenu(Form);
    IM->SetImages(Images);
    IM->SetColumnsCount(3);
    for (Integer i = 0; i < 5; ++i) {
      TbsImagesMenuItem* E = IM->ImagesItems()->AddItem();
      E->SetImageIndex(i);
      E->SetHint("Image " + std::to_string(i));
    }
    IM->OnInternalMenuClose = [this](TObject*) { Log.push_back("internal close"); };
    IM->OnMenuClose = [this](TObject*) { Log.push_back("close"); };
    IM->OnItemClick = [this](TObject*) { Log.push_back("item click"); };
    IM->OnInternalChange = [this](TObject*) { Log.push_back("internal change"); };
    IM->OnChange = [this](TObject*) { Log.push_back("change"); };
  }
  // The screen point at the middle of an entry of the open grid.
  TPoint EntryAt(Integer Index) {
    TbsSkinImagesMenuPopupWindow* W = IM->PopupWindow();
    const TRect& R = IM->ImagesItems()->GetItem(Index)->ItemRect;
    return TPoint{W->Left() + (R.Left + R.Right) / 2, W->Top() + (R.Top + R.Bottom) / 2};
  }
  TCustomImageList* Images = nullptr;
  TbsSkinImagesMenu* IM = nullptr;
  std::vector<String> Log;
};

TEST_F(SkinImagesMenu, DefaultsAndTheColumnLimits) {
  TbsSkinImagesMenu Fresh(nullptr);
  EXPECT_EQ(Fresh.ItemIndex(), -1);
  EXPECT_EQ(Fresh.SelectedItem(), nullptr);
  EXPECT_EQ(Fresh.ColumnsCount(), 1);
  EXPECT_TRUE(Fresh.ShowSelectedItem());
  EXPECT_TRUE(Fresh.UseSkinFont());
  EXPECT_TRUE(Fresh.ShowHints());
  EXPECT_EQ(Fresh.AlphaBlendValue(), 200);
  EXPECT_EQ(Fresh.DefaultFont()->Name(), "Tahoma");
  EXPECT_EQ(Fresh.DefaultFont()->Height(), 13);
  for (Integer Bad : {0, 51, -3}) {
    Fresh.SetColumnsCount(7);
    Fresh.SetColumnsCount(Bad);
    EXPECT_EQ(Fresh.ColumnsCount(), 7) << Bad;
  }
  Fresh.SetColumnsCount(50);
  EXPECT_EQ(Fresh.ColumnsCount(), 50);
}

TEST_F(SkinImagesMenu, GridRowsCellsAndAFullWidthButtonRow) {
  TbsImagesMenuItem* B = IM->ImagesItems()->AddItem();
  B->SetButton(true);
  B->SetCaption("More colours");
  IM->Popup(200, 150);
  TbsSkinImagesMenuPopupWindow* W = IM->PopupWindow();
  ASSERT_NE(W, nullptr);
  auto rect = [&](Integer i) { return IM->ImagesItems()->GetItem(i)->ItemRect; };
  // Cells 26 x 26 touching in a row, rows 1 pixel apart, the button row after the started row.
  EXPECT_EQ(rect(0), Rect(5, 5, 31, 31));
  EXPECT_EQ(rect(2), Rect(57, 5, 83, 31));
  EXPECT_EQ(rect(3), Rect(5, 32, 31, 58));
  EXPECT_EQ(rect(4), Rect(31, 32, 57, 58));
  EXPECT_EQ(rect(5), Rect(5, 59, 83, 85));
  EXPECT_EQ(W->Width(), 3 * 26 + 10);
  EXPECT_EQ(W->Height(), 85 - 5 + 10);
  EXPECT_EQ(W->Left(), 200);
  EXPECT_EQ(W->Top(), 150);
  // The images are drawn 5 pixels into their cells.
  EXPECT_EQ(PaintedPixel(W->Handle(), 31 + 5 + 8, 32 + 5 + 8), RGB(255, 0, 255));
  EXPECT_EQ(PaintedPixel(W->Handle(), 5 + 5 + 8, 32 + 5 + 8), RGB(255, 255, 0));
  IM->Hide();
}

TEST_F(SkinImagesMenu, OpensOnlyWithImagesAndStaysOnTheWorkArea) {
  Integer Popups = 0;
  IM->OnMenuPopup = [&](TObject*) { ++Popups; };
  TCustomImageList None(nullptr, 16, 16);
  IM->SetImages(&None);
  IM->Popup(10, 10);
  EXPECT_EQ(Popups, 1);
  EXPECT_EQ(IM->PopupWindow(), nullptr);
  IM->SetImages(Images);
  const TRect WA = WorkArea();
  IM->Popup(WA.Right - 5, WA.Bottom - 5);
  TbsSkinImagesMenuPopupWindow* W = IM->PopupWindow();
  ASSERT_NE(W, nullptr);
  EXPECT_EQ(W->Left(), WA.Right - W->Width());
  EXPECT_EQ(W->Top(), WA.Bottom - 5 - W->Height());
  EXPECT_EQ(GetCapture(), W->Handle());
  IM->Hide();
  EXPECT_EQ(Log, (std::vector<String>{"internal close", "close"}));
}

TEST_F(SkinImagesMenu, PickingAnEntryFiresItsEventsInOrder) {
  TObject* Sender = nullptr;
  IM->ImagesItems()->GetItem(1)->OnClick = [&](TObject* S) {
    Sender = S;
    Log.push_back("click");
  };
  IM->Popup(200, 150);
  wintest::Click(EntryAt(1));
  EXPECT_EQ(IM->PopupWindow(), nullptr);
  EXPECT_EQ(IM->ItemIndex(), 1);
  EXPECT_EQ(IM->SelectedItem(), IM->ImagesItems()->GetItem(1));
  EXPECT_EQ(Sender, IM);
  EXPECT_EQ(Log, (std::vector<String>{"internal close", "close", "click", "item click", "internal change",
                                      "change"}));
  // The same entry again: no change reported.
  Log.clear();
  IM->Popup(200, 150);
  wintest::Click(EntryAt(1));
  EXPECT_EQ(Log, (std::vector<String>{"internal close", "close", "click", "item click"}));
  // The mouse and the application's messages are back.
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SkinImagesMenu, HeadersAndGapsKeepTheGridOpenAClickOutsideClosesItARightClickPicks) {
  TbsImagesMenuItem* H = IM->ImagesItems()->AddItem();
  H->SetHeader(true);
  H->SetCaption("Recent");
  IM->Popup(200, 150);
  TbsSkinImagesMenuPopupWindow* W = IM->PopupWindow();
  wintest::Click(EntryAt(5));
  // The gap after the second row's two cells.
  wintest::Click(TPoint{W->Left() + 57 + 13, W->Top() + 32 + 13});
  EXPECT_EQ(IM->PopupWindow(), W);
  EXPECT_EQ(GetCapture(), W->Handle());
  EXPECT_TRUE(Log.empty());
  wintest::Click(EntryAt(2), TInputButton::Right);
  EXPECT_EQ(IM->ItemIndex(), 2);
  EXPECT_EQ(IM->PopupWindow(), nullptr);
  Log.clear();
  IM->Popup(200, 150);
  wintest::Click(TPoint{600, 600});
  EXPECT_EQ(IM->PopupWindow(), nullptr);
  EXPECT_EQ(IM->ItemIndex(), 2);
  EXPECT_EQ(Log, (std::vector<String>{"internal close", "close"}));
}

TEST_F(SkinImagesMenu, KeysMoveThroughTheGridAndPickThroughTheApplication) {
  bool WheelReached = false;
  auto* Target = NewControl<TRecordingControl>(Form, Bounds(300, 10, 50, 50));
  IM->Popup(200, 150);
  TbsSkinImagesMenuPopupWindow* W = IM->PopupWindow();
  Form->SetFocus();
  wintest::KeyPress(VK_DOWN);
  EXPECT_EQ(W->MouseInItem, 0);
  wintest::KeyPress(VK_DOWN);
  EXPECT_EQ(W->MouseInItem, 3);
  wintest::KeyPress(VK_RIGHT);
  EXPECT_EQ(W->MouseInItem, 4);
  wintest::KeyPress(VK_RIGHT);
  EXPECT_EQ(W->MouseInItem, 0);
  wintest::KeyPress(VK_LEFT);
  EXPECT_EQ(W->MouseInItem, 4);
  wintest::KeyPress(VK_UP);
  EXPECT_EQ(W->MouseInItem, 1);
  wintest::MouseWheel(120, wintest::ScreenPoint(Target->Handle(), 5, 5));
  WheelReached = Target->CountOf(WM_MOUSEWHEEL) > 0;
  EXPECT_FALSE(WheelReached);
  wintest::KeyPress(VK_RETURN);
  EXPECT_EQ(IM->ItemIndex(), 1);
  EXPECT_EQ(IM->PopupWindow(), nullptr);
  // Escape closes without a pick.
  IM->Popup(200, 150);
  wintest::KeyPress(VK_DOWN);
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_EQ(IM->PopupWindow(), nullptr);
  EXPECT_EQ(IM->ItemIndex(), 1);
}

TEST_F(SkinImagesMenu, HoveringShowsTheEntrysHint) {
  auto* Hint = new TFakeHint(Form);
  IM->SetSkinHint(Hint);
  IM->Popup(200, 150);
  wintest::MouseMove(EntryAt(2));
  ASSERT_EQ(Hint->Shown.size(), 1u);
  EXPECT_EQ(Hint->Shown[0], "Image 2");
  wintest::MouseMove(EntryAt(2));
  EXPECT_EQ(Hint->Shown.size(), 1u);
  IM->Hide();
  delete Hint;
  EXPECT_EQ(IM->SkinHint(), nullptr);
}

TEST_F(SkinImagesMenu, FreeingTheMenuWhileOpenGivesBackTheMouseAndTheMessages) {
  bool OtherHandlerRan = false;
  Application->OnMessage = [&](MSG&, bool&) { OtherHandlerRan = true; };
  IM->Popup(200, 150);
  delete IM;
  IM = nullptr;
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(Log.empty());
  Form->SetFocus();
  wintest::KeyPress(VK_DOWN);
  EXPECT_TRUE(OtherHandlerRan);
  Application->OnMessage = nullptr;
}

}  // namespace
