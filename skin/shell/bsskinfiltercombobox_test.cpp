#include "skin/shell/bsskinfiltercombobox.h"

#include <gtest/gtest.h>

#include "platform/shell/testkit/tempfolder.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/shell/bsskinfilelists.h"

namespace {

class SkinFilterCombo : public shelltest::TTempFolderTestOf<TSkinControlTest> {
 protected:
  static std::vector<String> LinesOf(TStrings* S) {
    std::vector<String> R;
    for (Integer i = 0; i < S->Count(); ++i) R.push_back(S->Strings(i));
    return R;
  }
  TbsSkinFilterComboBox* NewCombo(const String& Filter) {
    if (F == nullptr) F = NewForm();
    auto* C = NewControl<TbsSkinFilterComboBox>(F, Rect(10, 10, 200, 30));
    C->SetFilter(Filter);
    C->HandleNeeded();
    return C;
  }
  TbsSkinFileListBox* NewFileList() {
    if (F == nullptr) F = NewForm();
    auto* L = NewControl<TbsSkinFileListBox>(F, Rect(10, 40, 200, 200));
    L->SetDirectory(Dir);
    L->HandleNeeded();
    return L;
  }

  TForm* F = nullptr;
};

TEST_F(SkinFilterCombo, FilterTextBecomesDescriptionsAndMasks) {
  struct Case {
    String Filter;
    std::vector<String> Items, Masks;
    String Mask;
  };
  const std::vector<Case> Cases = {
      {"", {}, {}, "*.*"},
      {"NoBar", {}, {}, "*.*"},
      {"All files (*.*)|*.*", {"All files (*.*)"}, {"*.*"}, "*.*"},
      {"Text|*.txt|Pictures|*.bmp;*.png", {"Text", "Pictures"}, {"*.txt", "*.bmp;*.png"}, "*.txt"},
      // A trailing description without a mask is dropped.
      {"Text|*.txt|Orphan", {"Text"}, {"*.txt"}, "*.txt"},
      {"Nothing||Text|*.txt", {"Nothing", "Text"}, {"", "*.txt"}, ""},
      {"Last|", {"Last"}, {""}, ""},
      {"视频文件|*.mp4;*.avi|所有文件|*.*", {"视频文件", "所有文件"}, {"*.mp4;*.avi", "*.*"}, "*.mp4;*.avi"},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Filter);
    auto* C = NewCombo(K.Filter);
    EXPECT_EQ(LinesOf(C->Items()), K.Items);
    EXPECT_EQ(LinesOf(C->Masks()), K.Masks);
    EXPECT_EQ(C->ItemIndex(), K.Items.empty() ? -1 : 0);
    // Emptied items leave the shown text of the default filter built with the window.
    EXPECT_EQ(C->Text(), K.Items.empty() ? String("All files (*.*)") : K.Items[0]);
    EXPECT_EQ(C->GetMask(), K.Mask);
  }
}

TEST_F(SkinFilterCombo, DefaultFilterAndRebuildOnlyOnARealChange) {
  F = NewForm();
  auto* C = new TbsSkinFilterComboBox(F);
  EXPECT_EQ(C->Filter(), SbsDefaultFilter);
  // No window yet: nothing is built.
  C->SetFilter("Text|*.txt|Pictures|*.bmp");
  EXPECT_EQ(C->Items()->Count(), 0);
  C->SetBoundsRect(Rect(10, 10, 200, 30));
  C->SetParent(F);
  C->HandleNeeded();
  EXPECT_EQ(LinesOf(C->Items()), (std::vector<String>{"Text", "Pictures"}));
  C->SetItemIndex(1);
  Integer Clicks = 0, Changes = 0;
  C->OnClick = [&](TObject*) { ++Clicks; };
  C->OnChange = [&](TObject*) { ++Changes; };
  C->SetFilter("TEXT|*.TXT|PICTURES|*.BMP");
  EXPECT_EQ(C->Filter(), "Text|*.txt|Pictures|*.bmp");
  EXPECT_EQ(C->ItemIndex(), 1);
  EXPECT_EQ(Clicks + Changes, 0);
  // A new filter chooses its first description: OnClick once, OnChange for the new text.
  C->SetFilter("Video|*.mp4|Audio|*.mp3");
  EXPECT_EQ(C->Text(), "Video");
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Changes, 1);
  // With nothing chosen, asking for the mask chooses the last description.
  C->SetItemIndex(-1);
  EXPECT_EQ(C->GetMask(), "*.mp3");
  EXPECT_EQ(C->ItemIndex(), 1);
  EXPECT_EQ(C->Text(), "Audio");
}

TEST_F(SkinFilterCombo, ChoosingADescriptionMasksTheLinkedFileList) {
  for (const char* N : {"a.txt", "b.bmp", "c.png", "d.mp4"}) MakeFile(N);
  auto* L = NewFileList();
  auto* C = NewCombo("Text|*.txt|Pictures|*.bmp;*.png|All|*.*");
  C->SetFileList(L);
  EXPECT_EQ(L->FilterCombo(), C);
  EXPECT_EQ(L->Mask(), "*.*");
  C->SetItemIndex(1);
  EXPECT_EQ(L->Mask(), "*.bmp;*.png");
  EXPECT_EQ(LinesOf(L->Items()), (std::vector<String>{"b.bmp", "c.png"}));
  C->SetItemIndex(0);
  EXPECT_EQ(LinesOf(L->Items()), std::vector<String>{"a.txt"});
  // A new filter masks the list at once.
  C->SetFilter("Video|*.mp4");
  EXPECT_EQ(LinesOf(L->Items()), std::vector<String>{"d.mp4"});
  // Moving the link lets the old list go.
  auto* Other = NewFileList();
  C->SetFileList(Other);
  EXPECT_EQ(L->FilterCombo(), nullptr);
  EXPECT_EQ(Other->FilterCombo(), C);
}

TEST_F(SkinFilterCombo, AnEmptyFilterGivesEveryFileToTheLinkedList) {
  for (const char* N : {"a.txt", "b.bmp"}) MakeFile(N);
  auto* L = NewFileList();
  auto* C = NewCombo("Text|*.txt");
  C->SetFileList(L);
  C->SetItemIndex(0);
  ASSERT_EQ(L->Mask(), "*.txt");
  // Nothing to choose from: the mask is "*.*" and asking for it does not loop.
  C->SetFilter("");
  EXPECT_EQ(C->Items()->Count(), 0);
  EXPECT_EQ(L->Mask(), "*.*");
  EXPECT_EQ(LinesOf(L->Items()), (std::vector<String>{"a.txt", "b.bmp"}));
}

TEST_F(SkinFilterCombo, FreedPartnersAreForgottenBothWays) {
  MakeFile("a.txt");
  auto* L = NewFileList();
  auto* C = NewCombo("Text|*.txt");
  C->SetFileList(L);
  delete L;
  EXPECT_EQ(C->FileList(), nullptr);
  C->SetItemIndex(0);  // must not reach the freed list
  EXPECT_EQ(C->GetMask(), "*.txt");

  auto* L2 = NewFileList();
  C->SetFileList(L2);
  delete C;
  EXPECT_EQ(L2->FilterCombo(), nullptr);
}

}  // namespace
