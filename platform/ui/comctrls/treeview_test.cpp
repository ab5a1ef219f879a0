#include "platform/ui/comctrls/treeview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "platform/rtl/sysutils.h"
#include "platform/ui/stdctrls/stdlook.h"
#include "platform/ui/testkit/stdcontrolstest.h"
#include "platform/ui/testkit/typeaheadscript.h"

namespace {

// A label editor that stands in for the edit controls' one: it records what it was given and lets
// the test finish it as a user would.
struct TFakeTreeEditor : ITreeLabelEditor {
  static inline TFakeTreeEditor* Current = nullptr;
  static inline Integer Cancels = 0;
  ~TFakeTreeEditor() override {
    if (Current == this) Current = nullptr;
  }
  void Start(TCustomTreeView*, const TRect& ABounds, const String& AText,
             std::function<void(bool, const String&)> AFinish) override {
    Bounds = ABounds;
    Text = AText;
    Finish = std::move(AFinish);
    Current = this;
  }
  void Cancel() override {
    ++Cancels;
    Current = nullptr;
  }
  TRect Bounds;
  String Text;
  std::function<void(bool, const String&)> Finish;
};

// TVM_GETITEMRECT takes the node in the first bytes of the rectangle it fills.
void SetItemOf(RECT& R, TTreeNode* Node) {
  std::memcpy(static_cast<void*>(&R), &Node, sizeof Node);
}

class TreeViewTest : public TStdControlsTest {
 protected:
  void SetUp() override {
    TStdControlsTest::SetUp();
    Form = NewForm(Rect(100, 100, 600, 500));
    TV = NewControl<TTreeView>(Form, Bounds(10, 10, 240, 200));
    TV->SetBorderVisible(false);
    TV->SetHideSelection(false);
    TV->OnChange = [this](TObject*, TTreeNode* Node) {
      Log.push_back("change " + (Node ? Node->Text() : "-"));
    };
  }
  void TearDown() override {
    TCustomTreeView::LabelEditorFactory = nullptr;
    TStdControlsTest::TearDown();
  }

  // Videos { 2024 { trip }, 2025 }, Music, and Lazy (children only when expanded).
  void BuildTree() {
    TTreeNodes* N = TV->Items();
    Videos = N->Add(nullptr, "Videos");
    Y2024 = N->AddChild(Videos, "2024");
    Trip = N->AddChild(Y2024, "trip");
    Y2025 = N->AddChild(Videos, "2025");
    Music = N->Add(nullptr, "Music");
    Lazy = N->Add(nullptr, "Lazy");
    Lazy->SetHasChildren(true);
  }
  std::vector<String> VisibleTexts() {
    std::vector<String> R;
    for (TTreeNode* N = TV->Items()->GetFirstNode(); N; N = N->GetNextVisible()) R.push_back(N->Text());
    return R;
  }
  TPoint LabelPoint(TTreeNode* Node) {
    TRect R = Node->DisplayRect(true);
    return At(TV, R.Left + 3, (R.Top + R.Bottom) / 2);
  }
  TPoint ButtonPoint(TTreeNode* Node) { return At(TV, ButtonPointClient(Node), RowMiddle(Node)); }
  Integer ButtonPointClient(TTreeNode* Node) { return (Node->Level() + 1) * TV->Indent() - TV->Indent() / 2; }
  Integer RowMiddle(TTreeNode* Node) {
    TRect R = Node->DisplayRect(false);
    return (R.Top + R.Bottom) / 2;
  }
  SCROLLINFO VertInfo() {
    SCROLLINFO SI;
    SI.fMask = SIF_ALL;
    GetScrollInfo(TV->Handle(), SB_VERT, &SI);
    return SI;
  }

  TForm* Form = nullptr;
  TTreeView* TV = nullptr;
  TTreeNode *Videos = nullptr, *Y2024 = nullptr, *Trip = nullptr, *Y2025 = nullptr, *Music = nullptr,
            *Lazy = nullptr;
  std::vector<String> Log;
};

TEST_F(TreeViewTest, NodesKeepTheirPlaceLevelAndOrder) {
  BuildTree();
  TTreeNodes* N = TV->Items();
  TTreeNode* First = N->AddChildFirst(Videos, "2023");
  TTreeNode* Before = N->Insert(Music, "Docs");
  EXPECT_EQ(N->Count(), 8);
  const char* Order[] = {"Videos", "2023", "2024", "trip", "2025", "Docs", "Music", "Lazy"};
  for (Integer i = 0; i < 8; ++i) {
    EXPECT_EQ(N->Item(i)->Text(), Order[i]);
    EXPECT_EQ(N->Item(i)->AbsoluteIndex(), i);
  }
  EXPECT_EQ(Trip->Level(), 2);
  EXPECT_EQ(Trip->Parent(), Y2024);
  EXPECT_EQ(Videos->Parent(), nullptr);
  EXPECT_EQ(First->Index(), 0);
  EXPECT_EQ(Before->getNextSibling(), Music);
  EXPECT_EQ(Music->GetPrev(), Before);
  EXPECT_TRUE(Trip->HasAsParent(Videos));
  EXPECT_FALSE(Music->HasAsParent(Videos));
  EXPECT_THROW(N->Item(8), EListError);
  EXPECT_THROW(Videos->Item(3), EListError);
  // Only top-level nodes show until something is expanded.
  EXPECT_EQ(VisibleTexts(), (std::vector<String>{"Videos", "Docs", "Music", "Lazy"}));
  EXPECT_EQ(SendMessage(TV->Handle(), TVM_GETCOUNT, 0, 0), 8);
  // Sorted by text: what is there now, and every node added or renamed later.
  TV->SetSortType(stText);
  EXPECT_EQ(VisibleTexts(), (std::vector<String>{"Docs", "Lazy", "Music", "Videos"}));
  N->Add(nullptr, "Apps");
  Music->SetText("Audio");
  EXPECT_EQ(VisibleTexts(), (std::vector<String>{"Apps", "Audio", "Docs", "Lazy", "Videos"}));
}

TEST_F(TreeViewTest, DeletingGoesChildrenFirstAndEndsASelectionInside) {
  BuildTree();
  std::vector<String> Deleted;
  TV->OnDeletion = [&](TObject*, TTreeNode* Node) { Deleted.push_back(Node->Text()); };
  TV->SetSelected(Trip);
  Log.clear();
  Videos->Delete();
  EXPECT_EQ(Deleted, (std::vector<String>{"2025", "trip", "2024", "Videos"}));
  EXPECT_EQ(TV->Selected(), nullptr);
  EXPECT_EQ(TV->Items()->Count(), 2);
  EXPECT_EQ(TV->Items()->GetFirstNode(), Music);
  Deleted.clear();
  TV->Items()->Clear();
  EXPECT_EQ(Deleted, (std::vector<String>{"Lazy", "Music"}));
  EXPECT_EQ(TV->Items()->Count(), 0);
  EXPECT_EQ(TV->Items()->GetFirstNode(), nullptr);
  // The nodes of a tree that goes are deleted too, so that their data can be freed.
  BuildTree();
  TV->SetSelected(Music);
  Deleted.clear();
  Log.clear();
  delete TV;
  TV = nullptr;
  EXPECT_EQ(Deleted.size(), 6u);
  EXPECT_TRUE(Log.empty());
}

TEST_F(TreeViewTest, LazyChildrenArriveWhenTheNodeIsFirstExpanded) {
  BuildTree();
  Integer Asked = 0;
  TV->OnExpanding = [&](TObject*, TTreeNode* Node, bool& Allow) {
    ++Asked;
    if (Node == Lazy && Node->Count() == 0)
      for (const char* S : {"a", "b"}) TV->Items()->AddChild(Node, S);
    Allow = Node != Music;
  };
  std::vector<String> Expanded;
  TV->OnExpanded = [&](TObject*, TTreeNode* Node) { Expanded.push_back(Node->Text()); };
  // The expand button shows before any child exists.
  EXPECT_TRUE(Lazy->HasChildren());
  EXPECT_EQ(Lazy->Count(), 0);
  EXPECT_EQ(TV->GetHitTestInfoAt(ButtonPointClient(Lazy), RowMiddle(Lazy)), THitTests({htOnButton}));
  wintest::Click(ButtonPoint(Lazy));
  EXPECT_EQ(Asked, 1);
  EXPECT_TRUE(Lazy->Expanded());
  EXPECT_EQ(VisibleTexts(), (std::vector<String>{"Videos", "Music", "Lazy", "a", "b"}));
  EXPECT_EQ(Expanded, (std::vector<String>{"Lazy"}));
  // Collapsing and expanding again asks again; the children are kept.
  wintest::Click(ButtonPoint(Lazy));
  EXPECT_FALSE(Lazy->Expanded());
  wintest::Click(ButtonPoint(Lazy));
  EXPECT_EQ(Lazy->Count(), 2);

  // A node that turns out to have no children loses its button; a refused expansion changes nothing.
  TTreeNode* Empty = TV->Items()->Add(nullptr, "Empty");
  Empty->SetHasChildren(true);
  Empty->Expand(false);
  EXPECT_FALSE(Empty->Expanded());
  EXPECT_FALSE(Empty->HasChildren());
  Music->SetHasChildren(true);
  TV->Items()->AddChild(Music, "song");
  Music->Expand(false);
  EXPECT_FALSE(Music->Expanded());
}

TEST_F(TreeViewTest, SelectionGoesThroughChangingAndChange) {
  BuildTree();
  TV->OnChanging = [&](TObject*, TTreeNode* Node, bool& Allow) { Allow = Node != Music; };
  TV->SetSelected(Videos);
  TV->SetSelected(Music);
  EXPECT_EQ(TV->Selected(), Videos);
  EXPECT_TRUE(Videos->Selected());
  // Selecting a hidden node opens its ancestors; collapsing them moves the selection up.
  Trip->SetSelected(true);
  EXPECT_TRUE(Videos->Expanded());
  EXPECT_TRUE(Y2024->Expanded());
  Videos->Collapse(false);
  EXPECT_EQ(TV->Selected(), Videos);
  EXPECT_EQ(Log, (std::vector<String>{"change Videos", "change trip", "change Videos"}));
}

TEST_F(TreeViewTest, KeysMoveExpandAndCollapse) {
  BuildTree();
  TV->SetFocus();
  TV->SetSelected(Videos);
  struct Step {
    Word Key;
    const char* Selected;
    bool VideosExpanded;
  } Steps[] = {
      {VK_RIGHT, "Videos", true},  // expands
      {VK_RIGHT, "2024", true},    // into the first child
      {VK_DOWN, "2025", true},        {VK_UP, "2024", true},      {VK_LEFT, "Videos", true},  // to the parent
      {VK_LEFT, "Videos", false},                                                             // collapses
      {VK_END, "Lazy", false},        {VK_HOME, "Videos", false}, {VK_ADD, "Videos", true},
      {VK_SUBTRACT, "Videos", false}, {VK_NEXT, "Lazy", false},   {VK_PRIOR, "Videos", false},
  };
  for (const Step& S : Steps) {
    wintest::KeyPress(S.Key);
    ASSERT_NE(TV->Selected(), nullptr) << S.Key;
    EXPECT_EQ(TV->Selected()->Text(), S.Selected) << "key " << S.Key;
    EXPECT_EQ(Videos->Expanded(), S.VideosExpanded) << "key " << S.Key;
  }
  // Typing a letter jumps to the next visible node starting with it.
  wintest::KeyPress('M', 'm');
  EXPECT_EQ(TV->Selected(), Music);
}

// Typing selects as in a desktop tree: the letters typed within the pause make one prefix looked for
// among the visible nodes from the selected one on, a pause starts a new prefix, and one letter typed
// again steps through the nodes beginning with it.
TEST_F(TreeViewTest, TypedLettersSelectTheNextVisibleNodeWithThatPrefix) {
  TTreeNodes* N = TV->Items();
  std::vector<TTreeNode*> Nodes;
  for (const char* C : typeahead::Names) Nodes.push_back(N->Add(nullptr, C));
  N->AddChild(Nodes[0], "bedroom");  // hidden under the collapsed Beta: never found
  TV->SetFocus();
  typeahead::RunScript(Clock(), [&] {
    const auto At = std::find(Nodes.begin(), Nodes.end(), TV->Selected());
    return At == Nodes.end() ? Integer(-1) : Integer(At - Nodes.begin());
  });
  // The numpad "+" that expands a node is no part of the prefix typed right after it; the node's
  // children are visible now and found.
  wintest::AdvanceTime(Clock(), TCustomTreeView::IncrementalSearchPause + 1);
  TV->SetSelected(Nodes[0]);
  wintest::KeyPress(VK_ADD);
  typeahead::Type("bedr");
  ASSERT_NE(TV->Selected(), nullptr);
  EXPECT_EQ(TV->Selected()->Text(), "bedroom");
}

TEST_F(TreeViewTest, ClicksSelectAndDoubleClicksToggle) {
  BuildTree();
  wintest::Click(LabelPoint(Music));
  EXPECT_EQ(TV->Selected(), Music);
  EXPECT_TRUE(TV->Focused());
  // Right of the label is no hit on the node.
  TRect R = Music->DisplayRect(true);
  wintest::Click(At(TV, R.Right + 30, (R.Top + R.Bottom) / 2));
  EXPECT_EQ(TV->Selected(), Music);
  EXPECT_EQ(TV->GetNodeAt(R.Right + 30, R.Top + 1), Music);
  EXPECT_EQ(TV->GetHitTestInfoAt(R.Right + 30, R.Top + 1), THitTests({htOnRight}));
  EXPECT_EQ(TV->GetHitTestInfoAt(R.Left + 1, R.Top + 1), THitTests({htOnItem, htOnLabel}));
  EXPECT_EQ(TV->GetHitTestInfoAt(5, 190), THitTests({htNowhere}));
  EXPECT_EQ(TV->GetNodeAt(5, 190), nullptr);
  // A double click on a label opens the node.
  wintest::Click(LabelPoint(Videos));
  wintest::Click(LabelPoint(Videos));
  EXPECT_TRUE(Videos->Expanded());
  // A right click selects only with RightClickSelect.
  wintest::Click(LabelPoint(Music), TInputButton::Right);
  EXPECT_EQ(TV->Selected(), Videos);
  TV->SetRightClickSelect(true);
  wintest::Click(LabelPoint(Music), TInputButton::Right);
  EXPECT_EQ(TV->Selected(), Music);
}

TEST_F(TreeViewTest, ScrollingFollowsTheRowsThroughTheScrollInfo) {
  TV->Items()->BeginUpdate();
  TTreeNode* Parent = TV->Items()->Add(nullptr, "many");
  for (Integer i = 0; i < 40; ++i) TV->Items()->AddChild(Parent, Format("clip%d", {i}));
  for (Integer i = 0; i < 5; ++i) TV->Items()->Add(nullptr, Format("top%d", {i}));
  TV->Items()->EndUpdate();
  const Integer Page = TV->VisibleCount();
  ASSERT_GT(Page, 3);
  EXPECT_EQ(SendMessage(TV->Handle(), TVM_GETVISIBLECOUNT, 0, 0), Page);
  EXPECT_EQ(VertInfo().nMax, 5);  // six rows
  Parent->Expand(false);
  SCROLLINFO SI = VertInfo();
  EXPECT_EQ(SI.nMax, 45);
  EXPECT_EQ(Integer(SI.nPage), Page);
  // A bar's thumb position scrolls to exactly that top row.
  SendMessage(TV->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 17), 0);
  EXPECT_EQ(TV->TopItem()->Text(), "clip16");
  EXPECT_EQ(VertInfo().nPos, 17);
  SendMessage(TV->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(VertInfo().nPos, 18);
  SendMessage(TV->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(VertInfo().nPos, 46 - Page);
  // Selecting a node out of view brings it in.
  TV->SetSelected(Parent);
  EXPECT_EQ(TV->TopItem(), Parent);
  TV->SetFocus();
  wintest::KeyPress(VK_END);
  EXPECT_EQ(TV->TopItem()->AbsoluteIndex(), 46 - Page);
  // A label wider than the tree scrolls sideways.
  TTreeNode* Wide = TV->Items()->Add(nullptr, String(60, 'w'));
  SCROLLINFO H;
  H.fMask = SIF_ALL;
  GetScrollInfo(TV->Handle(), SB_HORZ, &H);
  EXPECT_EQ(H.nMax + 1, Wide->DisplayRect(true).Right);
  const Integer Left = Wide->DisplayRect(true).Left;
  SendMessage(TV->Handle(), WM_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(TV->HorzScrollPos(), 16);
  EXPECT_EQ(Wide->DisplayRect(true).Left, Left - 16);
  Wide->Delete();
  // Collapsing shrinks the range and keeps the top row valid.
  Parent->Collapse(false);
  EXPECT_EQ(VertInfo().nMax, 5);
  EXPECT_EQ(TV->TopItem(), Parent);
}

TEST_F(TreeViewTest, ItemRectsAndImageListsThroughMessages) {
  BuildTree();
  TCustomImageList Images(nullptr, 16, 16);
  EXPECT_EQ(SendMessage(TV->Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(&Images)), 0);
  EXPECT_EQ(SendMessage(TV->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0), reinterpret_cast<LRESULT>(&Images));
  EXPECT_EQ(TV->Images(), &Images);
  RECT R{};
  SetItemOf(R, Music);
  ASSERT_EQ(SendMessage(TV->Handle(), TVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&R)), 1);
  EXPECT_EQ(TRect(R), Music->DisplayRect(true));
  // Label after the indent and the image: level 0 with ShowRoot is one indent in.
  EXPECT_EQ(R.Left, TV->Indent() + 16 + 3);
  SetItemOf(R, Music);
  ASSERT_EQ(SendMessage(TV->Handle(), TVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&R)), 1);
  EXPECT_EQ(R.Left, 0);
  EXPECT_EQ(R.Top, TV->ItemHeight());
  EXPECT_EQ(R.Right, TV->ClientWidth());
  SetItemOf(R, Trip);  // inside a collapsed node
  EXPECT_EQ(SendMessage(TV->Handle(), TVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&R)), 0);
  TV->SetShowRoot(false);
  EXPECT_EQ(Music->DisplayRect(true).Left, 16 + 3);
  TV->SetImages(nullptr);
}

TEST_F(TreeViewTest, LabelsAreEditedInPlace) {
  BuildTree();
  TV->SetFocus();
  TV->SetSelected(Music);
  wintest::KeyPress(VK_F2);
  EXPECT_FALSE(TV->IsEditing());  // no editor installed in this program
  TCustomTreeView::LabelEditorFactory = [] { return std::make_unique<TFakeTreeEditor>(); };
  TV->OnEditing = [&](TObject*, TTreeNode* Node, bool& Allow) { Allow = Node != Videos; };
  TV->OnEdited = [&](TObject*, TTreeNode*, String& S) { S = Trim(S); };
  wintest::KeyPress(VK_F2);
  ASSERT_NE(TFakeTreeEditor::Current, nullptr);
  EXPECT_EQ(TFakeTreeEditor::Current->Text, "Music");
  EXPECT_EQ(TFakeTreeEditor::Current->Bounds, Music->DisplayRect(true));
  TFakeTreeEditor::Current->Finish(true, "  歌曲 ");
  EXPECT_EQ(Music->Text(), "歌曲");
  EXPECT_FALSE(TV->IsEditing());
  // Cancelled: the text stays.
  Music->EditText();
  ASSERT_NE(TFakeTreeEditor::Current, nullptr);
  TFakeTreeEditor::Current->Finish(false, "other");
  EXPECT_EQ(Music->Text(), "歌曲");
  // OnEditing refuses; deleting the node being edited ends the editor.
  EXPECT_FALSE(Videos->EditText());
  const Integer Cancels = TFakeTreeEditor::Cancels;
  ASSERT_TRUE(Lazy->EditText());
  Lazy->Delete();
  EXPECT_EQ(TFakeTreeEditor::Cancels, Cancels + 1);
  EXPECT_FALSE(TV->IsEditing());
  // A second click on the selected label edits it.
  wintest::Click(LabelPoint(Music));
  EXPECT_TRUE(TV->IsEditing());
}

// A name longer than the tree is wide is cut with the ellipsis inside the tree: its highlight ends
// one pixel short of the edge instead of running off it.
TEST_F(TreeViewTest, ALongNameEndsInsideTheTree) {
  TTreeNode* Long = TV->Items()->Add(nullptr, String(80, 'w'));
  TV->SetFocus();
  TV->SetSelected(Long);
  wintest::Pump();
  const Integer Y = Long->DisplayRect(true).Top + 2, W = TV->ClientWidth();
  ASSERT_GT(Long->DisplayRect(true).Right, W) << "the name is longer than the tree";
  EXPECT_EQ(PixelOf(TV, W - 3, Y), Rgb(stdlook::Accent));
  EXPECT_EQ(PixelOf(TV, W - 1, Y), Rgb(TV->Color()));
}

TEST_F(TreeViewTest, CustomDrawMayReplaceANodeAndTheDefaultLookShowsSelectionAndButtons) {
  BuildTree();
  TV->SetFocus();
  TV->SetSelected(Music);
  wintest::Pump();
  const TRect Label = Music->DisplayRect(true);
  EXPECT_EQ(PixelOf(TV, Label.Right - 2, Label.Top + 2), Rgb(stdlook::Accent));
  // The collapsed Videos shows a box with a plus: its vertical stroke is there.
  const Integer CX = ButtonPointClient(Videos), CY = TV->ItemHeight() / 2;
  EXPECT_EQ(PixelOf(TV, CX, CY - 2), Rgb(stdlook::Text));
  EXPECT_EQ(PixelOf(TV, CX - 4, CY), Rgb(stdlook::FaceBorder));
  Videos->Expand(false);
  wintest::Pump();
  EXPECT_EQ(PixelOf(TV, CX, CY - 2), Rgb(stdlook::Surface));  // a minus now

  // The image queries run for every painted node; setting an image there does not paint again.
  Integer Queries = 0;
  TV->OnGetImageIndex = [&](TObject*, TTreeNode* Node) {
    ++Queries;
    Node->SetImageIndex(Node->Level());
  };
  TV->Invalidate();
  wintest::Pump();
  EXPECT_EQ(Queries, 5);
  EXPECT_EQ(Y2025->ImageIndex(), 1);
  TV->OnGetImageIndex = nullptr;

  std::vector<String> Stages;
  TV->OnAdvancedCustomDrawItem = [&](TCustomTreeView*, TTreeNode* Node, TCustomDrawState State,
                                     TCustomDrawStage Stage, bool&, bool& DefaultDraw) {
    Stages.push_back(Node->Text() + (Stage == cdPrePaint ? " pre" : " post") +
                     (State.Contains(cdsSelected) ? " selected" : ""));
    if (Node == Music) DefaultDraw = false;
  };
  TV->Invalidate();
  wintest::Pump();
  const std::vector<String> Painted = Stages;
  EXPECT_EQ(PixelOf(TV, Label.Right - 2, Music->DisplayRect(true).Top + 2), Rgb(TV->Color()));
  std::vector<String> Want;
  for (const char* N : {"Videos", "2024", "2025"}) {
    Want.push_back(String(N) + " pre");
    Want.push_back(String(N) + " post");
  }
  Want.push_back("Music pre selected");
  Want.push_back("Music post selected");
  Want.push_back("Lazy pre");
  Want.push_back("Lazy post");
  EXPECT_EQ(Painted, Want);
}

}  // namespace
