// A folder tree on a real display: a tree view fed lazily from the namespace over a temporary folder
// (Chinese names, a name that is not UTF-8, hidden entries), with the system's small icons, one node
// expanded and one selected. The screenshot is written beside the test program as shelltree_display.png.
#if NERIVO_X11_TESTS

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/gdi/codecs.h"
#include "platform/shell/shellnamespace.h"
#include "platform/ui/comctrls/treeview.h"
#include "platform/ui/core/form.h"
#include "platform/ui/stdctrls/stdlook.h"
#include "platform/ui/testkit/displaytest.h"
#include "platform/ui/testkit/stdcontrolstest.h"

namespace {

class ShellTreeDisplay : public TDisplayTest<TStdControlsTest> {
 protected:
  void SetUp() override {
    TDisplayTest::SetUp();
    SetTestFontMode(false);
    char tmpl[] = "/tmp/nerivo-tree-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    Dir = tmpl;
    for (const char* d : {"视频", "视频/旅行", "Documents", "Documents/2024", "Music", ".cache", "caf\xE9"})
      ASSERT_EQ(mkdir((Dir + "/" + d).c_str(), 0755), 0) << d;
    std::ofstream(Dir + "/视频/clip.mp4") << "x";
    SetShellNamespaceSources({Dir, Dir + "/no-user-dirs", Dir + "/no-mounts"});
    SHGetDesktopFolder(Desktop);
  }
  void TearDown() override {
    TDisplayTest::TearDown();
    SetShellNamespaceSources({});
    std::filesystem::remove_all(Dir);
  }

  // The absolute identifier a node stands for lives in its Data and goes with the node.
  void Wire(TTreeView* TV) {
    TV->OnDeletion = [](TObject*, TTreeNode* Node) { ILFree(static_cast<PItemIDList>(Node->Data())); };
    TV->OnExpanding = [this, TV](TObject*, TTreeNode* Node, bool&) {
      if (Node->Count() == 0) Fill(TV, Node);
    };
  }
  TTreeNode* AddNode(TTreeView* TV, TTreeNode* Parent, PItemIDList Absolute, const String& Text) {
    TTreeNode* N = TV->Items()->AddChildObject(Parent, Text, Absolute);
    N->SetImageIndex(SHGetIconIndex(Absolute, false));
    N->SetSelectedIndex(SHGetIconIndex(Absolute, true));
    // An absolute identifier is relative to the desktop.
    Cardinal A = SFGAO_HASSUBFOLDER;
    PCItemIDList One = Absolute;
    Desktop->GetAttributesOf(1, &One, A);
    N->SetHasChildren((A & SFGAO_HASSUBFOLDER) != 0);
    return N;
  }
  // The folders below Node, in the namespace's order.
  void Fill(TTreeView* TV, TTreeNode* Node) {
    auto* Abs = static_cast<PItemIDList>(Node->Data());
    IShellFolderPtr F;
    if (Desktop->BindToObject(Abs, F) != S_OK) return;
    std::unique_ptr<IEnumIDList> E;
    if (F->EnumObjects(SHCONTF_FOLDERS, E) != S_OK) return;
    std::vector<PItemIDList> Items;
    for (PItemIDList Id; E->Next(Id) == S_OK;) Items.push_back(Id);
    std::sort(Items.begin(), Items.end(),
              [&](PItemIDList A, PItemIDList B) { return F->CompareIDs(0, A, B) < 0; });
    for (PItemIDList Id : Items) {
      STRRET Name;
      F->GetDisplayNameOf(Id, SHGDN_INFOLDER, Name);
      AddNode(TV, Node, ILCombine(Abs, Id), Name.str);
      ILFree(Id);
    }
  }

  String Dir;
  IShellFolderPtr Desktop;
};

TEST_F(ShellTreeDisplay, AFolderTreeShowsIconsNamesExpansionAndSelection) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 300, 260);
  F->SetColor(stdlook::WindowBack);
  F->SetCaption("Nerivo");
  auto* TV = NewControl<TTreeView>(F, Bounds(10, 10, 270, 230));
  TV->Font()->SetName("WenQuanYi Micro Hei");
  TV->Font()->SetHeight(-12);
  TV->SetHideSelection(false);
  TV->SetImages(SHGetSystemImageList(false));
  Wire(TV);
  PItemIDList RootId = nullptr;
  ASSERT_EQ(Desktop->ParseDisplayName(Dir, RootId), S_OK);
  TTreeNode* Root = AddNode(TV, nullptr, RootId, "home");
  ASSERT_TRUE(Root->HasChildren());
  EXPECT_EQ(Root->Count(), 0);  // nothing read before the first expansion
  Root->Expand(false);
  std::vector<String> Names;
  for (Integer i = 0; i < Root->Count(); ++i) Names.push_back(Root->Item(i)->Text());
  // Hidden folders are left out; the Latin-1 name shows U+FFFD; folders sort as a person reads them.
  EXPECT_EQ(Names, (std::vector<String>{"caf\xEF\xBF\xBD", "Documents", "Music", "视频"}));
  TTreeNode* Videos = Root->Item(3);
  EXPECT_TRUE(Videos->HasChildren());
  EXPECT_FALSE(Root->Item(2)->HasChildren());  // Music holds no folder: no button
  Videos->Expand(false);
  ASSERT_EQ(Videos->Count(), 1);
  EXPECT_EQ(Videos->Item(0)->Text(), "旅行");
  F->Show();
  TV->SetFocus();
  TV->SetSelected(Root->Item(1));

  const TRect Sel = Root->Item(1)->DisplayRect(true);
  const bool Shown =
      PumpUntil([&] { return ScreenAt(TV, Sel.Right - 2, Sel.Top + 3) == Rgb(stdlook::Accent); });
  TRect W;
  GetWindowRect(F->Handle(), &W);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "shelltree_display.png");
  ASSERT_TRUE(Shown);
  // The folder icon's face beside the unselected Music node.
  const TRect Music = Root->Item(2)->DisplayRect(true);
  const Integer IconX = Music.Left - 3 - 16;
  EXPECT_EQ(ScreenAt(TV, IconX + 8, (Music.Top + Music.Bottom) / 2 + 2), Rgb(TColor(0x50C8F0)));
  // The expanded 视频 node shows a minus: the box's top edge is there, its vertical stroke is not.
  const TRect VideosRow = Videos->DisplayRect(false);
  const Integer BX = (Videos->Level() + 1) * TV->Indent() - TV->Indent() / 2;
  const Integer BY = (VideosRow.Top + VideosRow.Bottom) / 2;
  EXPECT_EQ(ScreenAt(TV, BX, BY - 4), Rgb(stdlook::FaceBorder));
  EXPECT_EQ(ScreenAt(TV, BX, BY - 2), Rgb(stdlook::Surface));
  EXPECT_EQ(ScreenAt(TV, BX, BY), Rgb(stdlook::Text));
  // Chinese text is drawn in the 旅行 label.
  const TRect Trip = Videos->Item(0)->DisplayRect(true);
  Integer Ink = 0;
  for (Integer y = Trip.Top + 1; y < Trip.Bottom - 1; ++y)
    for (Integer x = Trip.Left + 2; x < Trip.Right - 2; ++x) {
      const uint32_t C = ScreenAt(TV, x, y);
      Ink += std::max({C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF}) < 110;
    }
  EXPECT_GT(Ink, 20);
}

}  // namespace

#endif
