#include "tools/skingen/skingen.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "skin/core/bsskincontainer.h"
#include "skin/core/bsskindata.h"
#include "skin/core/bsskinlayout.h"
#include "skin/core/testkit/bsskintestkit.h"

namespace {

String descriptionOf(TbsSkinData& Skin) {
  TMemIniFile Ini("");
  Skin.WriteSkinDescription(&Ini);
  return SkinDescriptionText(&Ini);
}

// Same size, format and pixels.
::testing::AssertionResult samePicture(TBitmap* A, TBitmap* B) {
  if (A->Width() != B->Width() || A->Height() != B->Height() || A->PixelFormat() != B->PixelFormat())
    return ::testing::AssertionFailure()
           << A->Width() << "x" << A->Height() << " vs " << B->Width() << "x" << B->Height();
  for (Integer y = 0; y < A->Height(); ++y)
    if (std::memcmp(A->ScanLine(y), B->ScanLine(y), size_t(A->BytesPerScanLine())) != 0)
      return ::testing::AssertionFailure() << "row " << y << " differs";
  return ::testing::AssertionSuccess();
}

void expectSameSkin(TbsSkinData& Loaded, TbsSkinData& Built) {
  ASSERT_FALSE(Loaded.Empty);
  EXPECT_EQ(descriptionOf(Loaded), descriptionOf(Built));
  EXPECT_TRUE(samePicture(Loaded.FPicture.get(), Built.FPicture.get()));
  EXPECT_TRUE(Loaded.FMask->Empty());
  ASSERT_EQ(Loaded.PictureCount(), Built.PictureCount());
  for (Integer i = 0; i < Built.PictureCount(); ++i)
    EXPECT_TRUE(samePicture(Loaded.Picture(i), Built.Picture(i))) << "picture " << i;
  ASSERT_EQ(Loaded.CtrlCount(), Built.CtrlCount());
  for (Integer i = 0; i < Built.CtrlCount(); ++i)
    EXPECT_EQ(Loaded.Ctrls(i)->ClassName(), Built.Ctrls(i)->ClassName()) << Built.Ctrls(i)->IDName;
  ASSERT_EQ(Loaded.ObjectCount(), Built.ObjectCount());
  for (Integer i = 0; i < Built.ObjectCount(); ++i)
    EXPECT_EQ(Loaded.Objects(i)->ClassName(), Built.Objects(i)->ClassName()) << Built.Objects(i)->IDName;
}

}  // namespace

TEST(SkinGenerator, TheFolderFormLoadsBackIdentical) {
  TTempFolder Dir;
  const String Ini = WriteGeneratedSkinFolder(Dir.Root() + "/");
  TbsSkinData Built(nullptr), Loaded(nullptr);
  BuildGeneratedSkin(&Built);
  Loaded.LoadFromFile(Ini);
  expectSameSkin(Loaded, Built);
}

TEST(SkinGenerator, TheContainerLoadsBackIdentical) {
  TTempFolder Dir;
  WriteGeneratedSkinContainer(Dir / "nerivo.skn");
  TbsSkinData Built(nullptr), Loaded(nullptr);
  BuildGeneratedSkin(&Built);
  Loaded.LoadFromCompressedFile(Dir / "nerivo.skn");
  expectSameSkin(Loaded, Built);
  // And through a skin list, as the main window holds it.
  TbsCompressedStoredSkin Stored(nullptr);
  Stored.LoadFromCompressFile(Dir / "nerivo.skn");
  TbsCompressedSkinList List(nullptr);
  TMemoryStream Container;
  Stored.SaveToCompressStream(&Container);
  List.Skins()->Add()->ReadSkinStream(&Container);
  TbsSkinData FromList(nullptr);
  FromList.SetSkinList(&List);
  expectSameSkin(FromList, Built);
}

TEST(SkinGenerator, EveryStateAndSliceHasItsOwnColour) {
  TbsSkinData Skin(nullptr);
  BuildGeneratedSkin(&Skin);
  std::set<Cardinal> Colours;
  for (int e = 0; e < GeneratedSkinControlCount(); ++e) {
    const Integer Index = Skin.GetControlIndex(GeneratedSkinControlName(e));
    ASSERT_EQ(Index, e) << GeneratedSkinControlName(e);
    const TbsDataSkinControl* R = Skin.Ctrls(Index);
    TCanvas* Sheet = Skin.Picture(R->PictureIndex)->Canvas();
    for (int State = 0; State < 5; ++State) {
      // The middle pixel of each slice of the state's cell: corners are 6 pixels, the cell 48 x 24.
      const Integer Xs[3] = {3, 24, 45}, Ys[3] = {3, 12, 21};
      for (int Slice = 0; Slice < 9; ++Slice) {
        const Cardinal Want = GeneratedSkinSliceColor(e, State, Slice);
        const TPoint P{R->SkinRect.Left + State * 48 + Xs[Slice % 3], R->SkinRect.Top + Ys[Slice / 3]};
        EXPECT_EQ(Cardinal(Sheet->Pixels(P.X, P.Y)), Want)
            << GeneratedSkinControlName(e) << " " << State << " " << Slice;
        Colours.insert(Want);
      }
    }
  }
  EXPECT_EQ(Colours.size(), size_t(GeneratedSkinControlCount()) * 5 * 9);
  for (Cardinal C : Colours) EXPECT_FALSE((C & 0xFFFFFF) == 0x7F007F) << "the transparent key colour";
}

TEST(SkinGenerator, HoldsTheElementsTheWindowsLookUp) {
  TbsSkinData Skin(nullptr);
  BuildGeneratedSkin(&Skin);
  struct {
    const char* Name;
    const char* Class;
  } Controls[] = {
      {"button", "TbsDataSkinButtonControl"},
      {"panel", "TbsDataSkinPanelControl"},
      {"combobox", "TbsDataSkinComboBox"},
      {"edit", "TbsDataSkinEditControl"},
      {"checkbox", "TbsDataSkinCheckRadioControl"},
      {"radiobox", "TbsDataSkinCheckRadioControl"},
      {"hscrollbar", "TbsDataSkinScrollBarControl"},
      {"vscrollbar", "TbsDataSkinScrollBarControl"},
      {"slider", "TbsDataSkinSlider"},
      {"trackbar", "TbsDataSkinTrackBarControl"},
      {"listview", "TbsDataSkinListView"},
      {"statusbar", "TbsDataSkinPanelControl"},
      {"label", "TbsDataSkinLabelControl"},
      {"stdlabel", "TbsDataSkinStdLabelControl"},
      {"listbox", "TbsDataSkinListBox"},
      {"tab", "TbsDataSkinTabControl"},
      {"toolmenubutton", "TbsDataSkinMenuButtonControl"},
      {"memo", "TbsDataSkinMemoControl"},
  };
  for (const auto& C : Controls) {
    const Integer i = Skin.GetControlIndex(C.Name);
    ASSERT_GE(i, 0) << C.Name;
    EXPECT_EQ(Skin.Ctrls(i)->ClassName(), C.Class) << C.Name;
  }
  struct {
    const char* Name;
    const char* Class;
  } Objects[] = {
      {"caption", "TbsDataSkinCaption"},     {"closebutton", "TbsDataSkinStdButton"},
      {"minbutton", "TbsDataSkinStdButton"}, {"maxbutton", "TbsDataSkinStdButton"},
      {"menuitem", "TbsDataSkinMenuItem"},   {"mainmenubaritem", "TbsDataSkinMainMenuBarItem"},
  };
  for (const auto& O : Objects) {
    const Integer i = Skin.GetIndex(O.Name);
    ASSERT_GE(i, 0) << O.Name;
    EXPECT_EQ(Skin.Objects(i)->ClassName(), O.Class) << O.Name;
  }
  auto* Close = static_cast<TbsDataSkinStdButton*>(Skin.Objects(Skin.GetIndex("closebutton")));
  EXPECT_EQ(Close->Command, cmClose);
  EXPECT_EQ(Skin.GetControlIndex("Button"), -1);
}
