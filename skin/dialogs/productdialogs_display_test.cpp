// The open and select-folder dialogs on the product skin, on a real display, as a person meets them in
// the program: the texts in Chinese from the skin's string table, a name too long for its place ending
// in the ellipsis inside the list and the tree, the folders by name, and the expand chevrons (down
// beside an open folder, right beside a closed one) standing clear of the lines, pictures and names.
// The screenshots are written beside the test program as productdialogs_open.png and
// productdialogs_selectfolder.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include "platform/shell/testkit/tempfolder.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskinspeedbutton.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/dialogs/bsskinopendialog.h"
#include "skin/dialogs/bsskinselectdirectorydialog.h"
#include "skin/dialogs/testkit/skindialogstestkit.h"
#include "skin/shell/bsshelllistview.h"
#include "skin/shell/bsshelltreeview.h"
#include "skin/shell/bsskinfiltercombobox.h"
#include "tools/skingen/skingen.h"

namespace {

const String LongName =
    "a very long name of a family holiday clip taken at the seaside in the summer of 2023";

class ProductDialogsDisplay : public shelltest::TTempFolderTestOf<TDisplayTest<TSkinControlTest>> {
 protected:
  void SetUp() override {
    shelltest::TTempFolderTestOf<TDisplayTest<TSkinControlTest>>::SetUp();
    BuildProductSkin(Skin.get());
    // The product's texts for the keys these dialogs read.
    dialogstest::UseStringTable(
        Skin.get(), Strings,
        {"FLV_LOOKIN=查找范围：", "MSG_FILENAME=文件名：", "MSG_FILETYPE=文件类型：", "MSG_BTN_OPEN=打开(&O)",
         "MSG_BTN_CANCEL=取消", "MSG_BTN_OK=确定", "MSG_BTN_BACK_HINT=返回上一个文件夹",
         "MSG_BTN_UP_HINT=向上一级", "MSG_BTN_NEWFOLDER_HINT=新建文件夹", "MSG_BTN_VIEWMENU_HINT=查看菜单",
         "MSG_LV_LIST=列表", "MSG_LV_DETAILS=详细信息"});
  }
  void TearDown() override {
    Skin->SetResourceStrData(nullptr);
    Strings.reset();
    shelltest::TTempFolderTestOf<TDisplayTest<TSkinControlTest>>::TearDown();
  }

  // The columns x in [Left, Right) of row [Top, Bottom) of C that hold anything but Background, as
  // the rectangle around them; empty when there is none.
  TRect InkIn(TControl* C, Integer Left, Integer Top, Integer Right, Integer Bottom, uint32_t Background) {
    TRect Ink = Rect(Right, Bottom, Left, Top);
    for (Integer Y = Top; Y < Bottom; ++Y)
      for (Integer X = Left; X < Right; ++X)
        if (ScreenAt(C, X, Y) != Background) {
          Ink.Left = std::min(Ink.Left, X);
          Ink.Top = std::min(Ink.Top, Y);
          Ink.Right = std::max(Ink.Right, X + 1);
          Ink.Bottom = std::max(Ink.Bottom, Y + 1);
        }
    return Ink.Left < Ink.Right ? Ink : TRect{};
  }
  // Whether the text in row [Top, Bottom) of C ends before the control's edge in the ellipsis: its
  // last three marks (runs of inked columns) are dots on the base line, no letter.
  bool EndsInEllipsisInside(TControl* C, Integer Left, Integer Top, Integer Bottom, uint32_t Background) {
    const Integer Edge = C->ClientWidth();
    const TRect All = InkIn(C, Left, Top, Edge, Bottom, Background);
    if (All.Right == 0 || All.Right >= Edge - 1) return false;
    Integer X = All.Right;
    for (int Mark = 0; Mark < 3; ++Mark) {
      const Integer End = X;
      while (X > All.Left && InkIn(C, X - 1, Top, X, Bottom, Background).Right > 0) --X;
      const TRect Dot = InkIn(C, X, Top, End, Bottom, Background);
      if (End - X > 3 || Dot.Height() > 3 || Dot.Bottom <= (Top + Bottom) / 2) return false;
      while (X > All.Left && InkIn(C, X - 1, Top, X, Bottom, Background).Right == 0) --X;
    }
    return true;
  }

  std::unique_ptr<TbsResourceStrData> Strings;
};

TEST_F(ProductDialogsDisplay, TheOpenDialogSpeaksChineseAndCutsALongNameWithTheEllipsis) {
  MakeDir("albums");
  for (const String& F : {LongName + ".avi", String("cat.avi"), String("clip.avi")}) MakeFile(F);
  TbsSkinOpenDialog Dlg(nullptr);
  Dlg.SetSkinData(Skin.get());
  Dlg.SetCtrlSkinData(Skin.get());
  Dlg.SetTitle("打开文件");
  Dlg.SetInitialDir(Dir);
  std::vector<String> Captions;
  bool Shown = false, Cut = false, LabelsClear = false, FilterWhole = false;
  wintest::OnNextModalLoop([&] {
    TbsOpenDlgForm* F = Dlg.DlgFrm();
    TbsCustomShellListView* L = F->FileListView;
    Captions = {F->Drivelabel->Caption(), F->OpenFileLabel->Caption(), F->FileTypeLabel->Caption(),
                F->OpenButton->Caption(), F->CancelButton->Caption(),  F->UpToolButton->Hint()};
    ASSERT_EQ(L->FolderCount(), 4);
    ASSERT_EQ(L->Folders(1)->DisplayName(), LongName + ".avi");
    const uint32_t Back = COLORREF(ColorToRGB(L->Color()));
    const TRect Row = L->Items()->Item(1)->DisplayRect(drBounds);
    Shown = PumpUntil([&] { return InkIn(L, Row.Left, Row.Top, Row.Left + 60, Row.Bottom, Back).Right > 0; });
    Cut = EndsInEllipsisInside(L, Row.Left, Row.Top, Row.Bottom, Back);
    // The labels of the bottom row end before their edit and filter box.
    LabelsClear = F->OpenFileLabel->BoundsRect().Right <= F->FileNameEdit->Left() &&
                  F->FileTypeLabel->BoundsRect().Right <= F->FileNameEdit->Left();
    // The filter box shows whole: its frame's bottom line is drawn.
    TbsSkinFilterComboBox* Filter = F->FilterComboBox;
    FilterWhole = InkIn(Filter, Filter->Width() / 2, Filter->Height() - 2, Filter->Width() / 2 + 1,
                        Filter->Height(), COLORREF(ColorToRGB(clWhite)))
                      .Right > 0;
    EXPECT_TRUE(SaveWindowShot(F->Handle(), "productdialogs_open.png"));
    F->SetModalResult(mrCancel);
  });
  EXPECT_FALSE(Dlg.Execute());
  EXPECT_EQ(Captions,
            (std::vector<String>{"查找范围：", "文件名：", "文件类型：", "打开(&O)", "取消", "向上一级"}));
  EXPECT_TRUE(Shown) << "the names in the list";
  EXPECT_TRUE(Cut) << "the long name ends in the ellipsis inside the list";
  EXPECT_TRUE(LabelsClear);
  EXPECT_TRUE(FilterWhole);
}

TEST_F(ProductDialogsDisplay, TheFolderTreeIsSortedWithItsChevronsClearAndALongNameCut) {
  for (const char* D : {"banana", "Apple", "Apple/2023", "cherry", "apple pie", "Zeta"}) MakeDir(D);
  MakeDir(LongName);
  TbsSkinSelectDirectoryDialog Dialog(nullptr);
  Dialog.SetSkinData(Skin.get());
  Dialog.SetCtrlSkinData(Skin.get());
  Dialog.SetTitle("选择目录");
  Dialog.SetDialogWidth(300);
  Dialog.SetDialogHeight(360);
  Dialog.SetDirectory(Dir);
  std::vector<String> Order, Buttons;
  TRect OpenInk, ClosedInk, OpenPlace, ClosedPlace;
  Integer ClosedPictureLeft = 0, ClosedLabelLeft = 0;
  bool Cut = false;
  wintest::OnNextModalLoop([&] {
    TbsSelDirDlgForm* F = Dialog.DlgFrm();
    TbsSkinDirTreeView* T = F->DirTreeView;
    Buttons = {F->OkButton->Caption(), F->CancelButton->Caption()};
    TTreeNode* Open = T->Selected();
    ASSERT_NE(Open, nullptr);
    ASSERT_TRUE(Open->Expanded());
    TTreeNode* Closed = nullptr;
    for (TTreeNode* C = Open->getFirstChild(); C; C = C->getNextSibling()) {
      Order.push_back(C->Text());
      if (C->Text() == "Apple") Closed = C;
    }
    ASSERT_NE(Closed, nullptr);
    ASSERT_TRUE(Closed->HasChildren());
    T->SetSelected(nullptr);  // no highlight over the rows probed
    T->Repaint();
    const uint32_t Back = COLORREF(ColorToRGB(T->Color()));
    // Where a node's chevron picture stands: centred on its button, as the tree places it.
    const auto ChevronPlace = [T](TTreeNode* N) {
      const TRect Row = N->DisplayRect(false);
      const Integer X0 = Row.Left + (N->Level() - 1) * T->Indent() + T->Indent() / 2;
      const Integer Yc = Row.Top + Row.Height() / 2, S = T->ButtonSize();
      return Bounds(X0 - S - 3, Yc - S - 3, 12, 12);
    };
    OpenPlace = ChevronPlace(Open);
    ClosedPlace = ChevronPlace(Closed);
    PumpUntil([&] {
      return InkIn(T, OpenPlace.Left, OpenPlace.Top, OpenPlace.Right, OpenPlace.Bottom, Back).Right > 0;
    });
    OpenInk = InkIn(T, OpenPlace.Left, OpenPlace.Top, OpenPlace.Right, OpenPlace.Bottom, Back);
    ClosedInk = InkIn(T, ClosedPlace.Left, ClosedPlace.Top, ClosedPlace.Right, ClosedPlace.Bottom, Back);
    const TRect ClosedRow = Closed->DisplayRect(false);
    ClosedPictureLeft =
        InkIn(T, ClosedPlace.Right, ClosedRow.Top + 2, ClosedPlace.Right + 30, ClosedRow.Bottom - 2, Back)
            .Left;
    ClosedLabelLeft = Closed->DisplayRect(true).Left;
    TTreeNode* Long = Open->getFirstChild();
    while (Long && Long->Text() != LongName) Long = Long->getNextSibling();
    ASSERT_NE(Long, nullptr);
    const TRect LongRow = Long->DisplayRect(true);
    Cut = EndsInEllipsisInside(T, LongRow.Left, LongRow.Top, LongRow.Bottom, Back);
    EXPECT_TRUE(SaveWindowShot(F->Handle(), "productdialogs_selectfolder.png"));
    wintest::KeyPress(VK_ESCAPE, 27);
  });
  EXPECT_FALSE(Dialog.Execute());
  EXPECT_EQ(Buttons, (std::vector<String>{"确定", "取消"}));
  EXPECT_EQ(Order, (std::vector<String>{LongName, "Apple", "apple pie", "banana", "cherry", "Zeta"}));
  // The open folder's chevron points down (wider than tall), the closed one's right (taller than wide).
  ASSERT_GT(OpenInk.Width(), 0);
  ASSERT_GT(ClosedInk.Width(), 0);
  EXPECT_GT(OpenInk.Width(), OpenInk.Height());
  EXPECT_GT(ClosedInk.Height(), ClosedInk.Width());
  // Nothing but the chevron in its place: no line or box edge reaches the picture's border.
  for (const auto& [Ink, Place] : {std::pair{OpenInk, OpenPlace}, std::pair{ClosedInk, ClosedPlace}}) {
    EXPECT_GT(Ink.Left, Place.Left);
    EXPECT_GT(Ink.Top, Place.Top);
    EXPECT_LT(Ink.Right, Place.Right);
    EXPECT_LT(Ink.Bottom, Place.Bottom);
  }
  // The folder picture and the name stand right of the chevron.
  EXPECT_GT(ClosedPictureLeft, ClosedInk.Right);
  EXPECT_GT(ClosedLabelLeft, ClosedInk.Right);
  EXPECT_TRUE(Cut) << "the long folder name ends in the ellipsis inside the tree";
}

}  // namespace

#endif
