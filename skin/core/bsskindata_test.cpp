#include "skin/core/bsskindata.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ui/core/form.h"
#include "platform/ui/core/screen.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/colors.h"
#include "platform/win/testkit/testkit.h"
#include "skin/core/bsskincontainer.h"
#include "skin/core/bsskinlayout.h"
#include "skin/core/testkit/bsskintestkit.h"

namespace {

std::unique_ptr<TBitmap> solidBitmap(Integer W, Integer H, TColor Color) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(Color);
  B->Canvas()->FillRect(Rect(0, 0, W, H));
  return B;
}

void writeFile(const String& Path, const String& Text) {
  WriteSkinFileBytes(Path, Text);
}

// A small description written by hand, in the folder form, with two pictures beside it.
const char* const HandSkin =
    "; a comment line\r\n"
    "[VERSION]\r\nver=1\r\nskinname=Hand\r\nskinauthor=Us\r\n\r\n"
    "[PICTURES]\r\npicture=frame.bmp\r\ninactivepicture=\r\nmask=\r\n"
    "activepicturescount=2\r\n0=sheet0.bmp\r\n1=sheet1.bmp\r\n\r\n"
    "[FORMINFO]\r\nlefttoppoint=10,20\r\nrightbottompoint=90,70\r\nclientrect=5,22,95,80\r\n"
    "buttonsrect=1,2,3,4\r\nbordERwidth=4\r\ninactiveeffect=iedarkness\r\n\r\n"
    "[skinobjects]\r\ncount=3\r\n0=caption:caption\r\n1=x:frobnicate\r\n2=closebutton:stdbutton\r\n\r\n"
    "[caption]\r\nskinrect=0,0,50,20\r\n\r\n"
    "[closebutton]\r\nskinrect=1,1,9,9\r\ncommand=cmclose\r\n\r\n"
    "[SKINCONTROLS]\r\ncount=7\r\n0=panel:panel\r\n1=a:b:c\r\n2=btn:Button\r\n3=button:button\r\n"
    "4=panel:button\r\n5=mb:menubutton\r\n6=nocolon\r\n\r\n"
    "[panel]\r\nskinrect=0,0,30,30\r\npictureindex=1\r\n\r\n"
    "[button]\r\nskinrect=2,2,40,20\r\nfontheight=11\r\n\r\n";

void writeHandSkin(const TTempFolder& Dir, const String& Text = HandSkin) {
  writeFile(Dir / "skin.ini", Text);
  solidBitmap(100, 90, 0x204060)->SaveToFile(Dir / "frame.bmp");
  solidBitmap(8, 8, 0x0000FF)->SaveToFile(Dir / "sheet0.bmp");
  solidBitmap(16, 4, 0x00FF00)->SaveToFile(Dir / "sheet1.bmp");
}

// The hand skin names "panel" twice, which a reader takes but a writer refuses.
void dropSecondPanel(TbsSkinData& Skin) {
  ASSERT_EQ(Skin.Ctrls(2)->IDName, "panel");
  delete Skin.Ctrls(2);
  Skin.CtrlList->Delete(2);
}

// The description a skin writes of itself: equal texts mean equal skins.
String descriptionOf(TbsSkinData& Skin) {
  TMemIniFile Ini("");
  Skin.WriteSkinDescription(&Ini);
  return SkinDescriptionText(&Ini);
}

class TbsFormLayerWindow : public TForm {
 public:
  using TForm::TForm;
  String ClassName() const override { return "TbsFormLayerWindow"; }
};

// A window layer, a screen and forms that a spy can watch.
class SkinDataMessages : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!Screen) OwnScreen = std::make_unique<TScreen>(nullptr);
  }
  void TearDown() override {
    Forms.clear();
    OwnScreen.reset();
  }
  template <class T = TForm>
  T* newForm() {
    auto F = std::make_unique<T>(nullptr);
    T* Raw = F.get();
    F->Handle();
    Forms.push_back(std::move(F));
    return Raw;
  }
  std::vector<HWND> handles() {
    std::vector<HWND> H;
    for (auto& F : Forms) H.push_back(F->Handle());
    return H;
  }

  wintest::TWinTestEnvironment Env;
  std::unique_ptr<TScreen> OwnScreen;
  std::vector<std::unique_ptr<TForm>> Forms;
};

const std::vector<UINT> SkinMessages = {WM_SKINCHANGING,         WM_SKINCHANGE,
                                        WM_SKINCHANGED,          WM_SKINSTRINGSCHANGED,
                                        WM_SKINNABLEFORMCHANGED, WM_LAYEREDBORDERSCHANGED,
                                        WM_AEROBLURCHANGED};

// A stored skin over a raw payload, compressed as a writer would.
void storePayload(TbsCompressedStoredSkin& Stored, const String& Payload) {
  TStringStream In(Payload);
  TMemoryStream Block;
  CompressSkinPayload(&In, &Block);
  Block.SetPosition(0);
  Stored.ReadCompressedStream(&Block);
}

String bmpBytes(TBitmap* B) {
  TStringStream S;
  B->SaveToStream(&S);
  return S.DataString();
}

const char* const MinimalDescription =
    "[VERSION]\r\nskinname=Tiny\r\n[PICTURES]\r\nactivepicturescount=1\r\n0=p.bmp\r\n"
    "[FORMINFO]\r\nborderwidth=3\r\n[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=1\r\n0=edit:edit\r\n";

}  // namespace

// ---- the folder form ----

TEST(SkinDataFolder, ReadsPicturesFormInfoAndBothElementLists) {
  TTempFolder Dir;
  writeHandSkin(Dir);
  TbsSkinData Skin(nullptr);
  Skin.LoadFromFile(Dir / "skin.ini");

  ASSERT_FALSE(Skin.Empty);
  EXPECT_EQ(Skin.SkinName, "Hand");
  EXPECT_EQ(Skin.FPicture->Width(), 100);
  EXPECT_TRUE(Skin.FInActivePicture->Empty());
  ASSERT_EQ(Skin.PictureCount(), 2);
  EXPECT_EQ(Skin.Picture(1)->Width(), 16);
  EXPECT_EQ(Skin.FActivePicturesNames->Strings(1), "sheet1.bmp");
  EXPECT_EQ(Skin.BorderW, 4);  // key names ignore case
  EXPECT_EQ(Skin.InActiveEffect, ieDarkness);
  EXPECT_EQ(Skin.ButtonsRect, Rect(1, 2, 3, 4));
  EXPECT_EQ(Skin.BGPictureIndex, -1);
  // Corner points are pulled into the client rectangle.
  EXPECT_EQ(Skin.LTPoint, TPoint(10, 22));
  EXPECT_EQ(Skin.RBPoint, TPoint(90, 70));

  // Objects: the unknown type word is skipped, the rest keep their order.
  ASSERT_EQ(Skin.ObjectCount(), 2);
  EXPECT_EQ(Skin.Objects(0)->ClassName(), "TbsDataSkinCaption");
  EXPECT_EQ(Skin.Objects(0)->SkinRect, Rect(0, 0, 50, 20));
  EXPECT_EQ(Skin.Objects(1)->ClassName(), "TbsDataSkinStdButton");
  // Controls: "a:b:c", "Button" and an entry without colon create nothing; names may repeat.
  ASSERT_EQ(Skin.CtrlCount(), 4);
  EXPECT_EQ(Skin.Ctrls(0)->ClassName(), "TbsDataSkinPanelControl");
  EXPECT_EQ(Skin.Ctrls(0)->PictureIndex, 1);
  EXPECT_EQ(Skin.Ctrls(1)->ClassName(), "TbsDataSkinButtonControl");
  EXPECT_EQ(static_cast<TbsDataSkinButtonControl*>(Skin.Ctrls(1))->FontHeight, 11);
  EXPECT_EQ(Skin.Ctrls(2)->ClassName(), "TbsDataSkinButtonControl");
  EXPECT_EQ(Skin.Ctrls(2)->IDName, "panel");
  EXPECT_EQ(Skin.Ctrls(3)->ClassName(), "TbsDataSkinMenuButtonControl");
}

TEST(SkinDataFolder, FindsElementsByExactNameFirstMatchFirst) {
  TTempFolder Dir;
  writeHandSkin(Dir);
  TbsSkinData Skin(nullptr);
  Skin.LoadFromFile(Dir / "skin.ini");
  struct {
    const char* Name;
    Integer Control;
    Integer Object;
  } Cases[] = {
      {"panel", 0, -1},   {"button", 1, -1},      {"Button", -1, -1}, {"mb", 3, -1},      {"btn", -1, -1},
      {"caption", -1, 0}, {"closebutton", -1, 1}, {"", -1, -1},       {"panel ", -1, -1},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(Skin.GetControlIndex(C.Name), C.Control) << C.Name;
    EXPECT_EQ(Skin.GetIndex(C.Name), C.Object) << C.Name;
  }
}

TEST(SkinDataFolder, MaskRulesApplyOnlyWithAMaskPicture) {
  struct {
    const char* Mask;
    const char* MaskRect;
    TRect Expected;
    TPoint HitTestLT;
  } Cases[] = {
      {"", "5,25,100,100", Rect(5, 25, 100, 100), TPoint(0, 7)},
      {"m.bmp", "0,0,0,0", Rect(3, 21, 143, 115), TPoint(1, 1)},
      {"m.bmp", "3,3,143,119", Rect(3, 3, 143, 119), TPoint(1, 1)},
      {"m.bmp", "5,25,100,100", Rect(3, 21, 143, 115), TPoint(1, 1)},
  };
  for (const auto& C : Cases) {
    TTempFolder Dir;
    solidBitmap(4, 4, 0)->SaveToFile(Dir / "m.bmp");
    writeFile(Dir / "skin.ini", String("[VERSION]\nskinname=m\n[PICTURES]\nmask=") + C.Mask +
                                    "\n[FORMINFO]\nclientrect=3,21,143,115\nlefttoppoint=1,1\n"
                                    "rightbottompoint=1,50\nhittestlefttoppoint=0,7\nmaskrectarea=" +
                                    C.MaskRect + "\n[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=0\n");
    TbsSkinData Skin(nullptr);
    Skin.LoadFromFile(Dir / "skin.ini");
    ASSERT_FALSE(Skin.Empty) << C.Mask << " " << C.MaskRect;
    EXPECT_EQ(Skin.MaskRectArea, C.Expected) << C.Mask << " " << C.MaskRect;
    EXPECT_EQ(Skin.HitTestLTPoint, C.HitTestLT) << C.Mask;
    // Same x for LTPoint and RBPoint: the corners stay outside the client rectangle.
    EXPECT_EQ(Skin.LTPoint, TPoint(1, 1));
  }
}

TEST(SkinDataFolder, AnInvalidOrMissingDescriptionChangesNothing) {
  TTempFolder Dir;
  writeHandSkin(Dir);
  TbsSkinData Skin(nullptr);
  Skin.LoadFromFile(Dir / "skin.ini");
  writeFile(Dir / "broken.ini",
            "[VERSION]\nskinname=x\n[PICTURES]\npicture=\n[FORMINFO]\nborderwidth=1\n"
            "[SKINOBJECTS]\ncount=0\n");
  Skin.LoadFromFile(Dir / "broken.ini");
  Skin.LoadFromFile(Dir / "missing.ini");
  EXPECT_FALSE(Skin.Empty);
  EXPECT_EQ(Skin.SkinName, "Hand");
  EXPECT_EQ(Skin.CtrlCount(), 4);
}

TEST(SkinDataFolder, WrittenAndReadBackGivesTheSameSkin) {
  TTempFolder Dir;
  writeHandSkin(Dir);
  TbsSkinData Skin(nullptr);
  Skin.LoadFromFile(Dir / "skin.ini");
  dropSecondPanel(Skin);
  Skin.SkinComments = "two\r\nlines";
  TTempFolder Out;
  writeFile(Out / "skin.ini", "[KEEPME]\nx=1\n[FORMINFO]\nstale=1\n");
  Skin.StoreToDisk(Out / "skin.ini");

  TbsSkinData Again(nullptr);
  Again.LoadFromFile(Out / "skin.ini");
  ASSERT_FALSE(Again.Empty);
  EXPECT_EQ(descriptionOf(Again), descriptionOf(Skin));
  EXPECT_EQ(Again.SkinComments, "two  lines");
  EXPECT_EQ(Again.Ctrls(2)->ClassName(), "TbsDataSkinMenuButtonControl");
  EXPECT_EQ(Again.Picture(0)->Canvas()->Pixels(3, 3), Skin.Picture(0)->Canvas()->Pixels(3, 3));
  // Sections the writer does not use survive; those it writes are replaced whole.
  TMemIniFile Written(Out / "skin.ini");
  EXPECT_EQ(Written.ReadString("KEEPME", "x", ""), "1");
  EXPECT_FALSE(Written.ValueExists("FORMINFO", "stale"));
}

TEST(SkinDataFolder, SavingRefusesElementsThatWouldShareASection) {
  struct {
    const char* First;
    const char* Second;
    bool Refused;
  } Cases[] = {
      {"panel", "panel", true}, {"Panel", "panel", true},   {"forminfo", "x", true},
      {"a:b", "x", true},       {"panel", "panel2", false},
  };
  for (const auto& C : Cases) {
    TbsSkinData Skin(nullptr);
    Skin.AddCtrl(std::make_unique<TbsDataSkinPanelControl>(C.First));
    Skin.AddObject(std::make_unique<TbsDataSkinCaption>(C.Second));
    TMemIniFile Ini("");
    Ini.WriteString("FORMINFO", "borderwidth", "9");
    if (C.Refused) {
      EXPECT_THROW(Skin.WriteSkinDescription(&Ini), EInvalidOperation) << C.First << " " << C.Second;
      EXPECT_EQ(Ini.ReadString("FORMINFO", "borderwidth", ""), "9") << "nothing written before refusing";
    } else {
      EXPECT_NO_THROW(Skin.WriteSkinDescription(&Ini));
      EXPECT_EQ(Ini.ReadString("SKINCONTROLS", "0", ""), String(C.First) + ":panel");
      EXPECT_EQ(Ini.ReadString("SKINOBJECTS", "0", ""), String(C.Second) + ":caption");
      EXPECT_TRUE(Ini.SectionExists(C.First));
      EXPECT_TRUE(Ini.SectionExists(C.Second));
    }
  }
}

TEST(SkinDataFolder, StoreToDiskRefusesPictureNamesOutsideItsFolder) {
  TbsSkinData Skin(nullptr);
  Skin.AddPicture(solidBitmap(2, 2, 0), "../escape.bmp");
  TTempFolder Out;
  EXPECT_THROW(Skin.StoreToDisk(Out / "skin.ini"), EInvalidOperation);
  EXPECT_FALSE(std::filesystem::exists(Out / "skin.ini"));
}

// ---- the compressed form ----

TEST(SkinDataCompressed, ContainerRoundTripKeepsTheSkin) {
  TTempFolder Dir;
  writeHandSkin(Dir);
  TbsSkinData Skin(nullptr);
  Skin.LoadFromFile(Dir / "skin.ini");
  dropSecondPanel(Skin);
  Skin.SaveToCompressedFile(Dir / "skin.skn");

  TbsSkinData Again(nullptr);
  Again.LoadFromCompressedFile(Dir / "skin.skn");
  ASSERT_FALSE(Again.Empty);
  EXPECT_EQ(descriptionOf(Again), descriptionOf(Skin));
  ASSERT_EQ(Again.PictureCount(), 2);
  EXPECT_EQ(Again.FPicture->Height(), 90);
  EXPECT_EQ(Again.Picture(1)->Canvas()->Pixels(0, 0), TColor(0x00FF00));

  // The folder itself builds the same skin as the loaded one.
  TbsCompressedStoredSkin FromFolder(nullptr);
  FromFolder.LoadFromIniFile(Dir / "skin.ini");
  TbsSkinData Third(nullptr);
  Third.LoadCompressedStoredSkin(&FromFolder);
  ASSERT_EQ(Third.CtrlCount(), 4);
  dropSecondPanel(Third);
  EXPECT_EQ(descriptionOf(Third), descriptionOf(Skin));
}

TEST(SkinDataCompressed, PayloadVersionsAndSlots) {
  auto Pic = solidBitmap(3, 2, 0x123456);
  const String Image = bmpBytes(Pic.get());
  const String Tail = le32(1) + Image + MinimalDescription;
  struct {
    const char* Name;
    String Payload;
    Integer FrameWidth;
  } Cases[] = {
      {"version 3", le32(3) + String(1, '\0') + Image + "\x01\x01" + Tail, 3},
      {"version 2 drops two extra slots",
       le32(2) + String("\x01\x01\x01", 3) + String(1, '\0') + Image + "\x01" + Tail, 0},
      {"non-zero flags mean no picture", le32(3) + "\x07\x01\x01" + Tail, 0},
  };
  for (const auto& C : Cases) {
    TbsCompressedStoredSkin Stored(nullptr);
    storePayload(Stored, C.Payload);
    TbsSkinData Skin(nullptr);
    Skin.LoadCompressedStoredSkin(&Stored);
    ASSERT_FALSE(Skin.Empty) << C.Name;
    EXPECT_EQ(Skin.FPicture->Width(), C.FrameWidth) << C.Name;
    ASSERT_EQ(Skin.PictureCount(), 1) << C.Name;
    EXPECT_EQ(Skin.Picture(0)->Canvas()->Pixels(2, 1), TColor(0x123456)) << C.Name;
    EXPECT_EQ(Skin.SkinName, "Tiny") << C.Name;
    EXPECT_EQ(Skin.GetControlIndex("edit"), 0) << C.Name;
  }
  // No pictures and no description: an empty but loaded skin.
  TbsCompressedStoredSkin Bare(nullptr);
  storePayload(Bare, le32(3) + String("\x01\x01\x01", 3) + le32(0));
  TbsSkinData Skin(nullptr);
  Skin.LoadCompressedStoredSkin(&Bare);
  EXPECT_FALSE(Skin.Empty);
  EXPECT_EQ(Skin.CtrlCount(), 0);
}

TEST(SkinDataCompressed, AnUnknownPayloadVersionFailsBeforeAnythingChanges) {
  TbsCompressedStoredSkin Good(nullptr), Newer(nullptr);
  storePayload(Good, le32(3) + String("\x01\x01\x01", 3) + le32(0) + MinimalDescription);
  storePayload(Newer, le32(4) + String("\x01\x01\x01", 3) + le32(0));
  TbsSkinData Skin(nullptr);
  Skin.LoadCompressedStoredSkin(&Good);
  EXPECT_THROW(Skin.LoadCompressedStoredSkin(&Newer), EReadError);
  EXPECT_FALSE(Skin.Empty);
  EXPECT_EQ(Skin.SkinName, "Tiny");
}

TEST(SkinDataCompressed, HugeEntryCountsDoNotRunAway) {
  TbsCompressedStoredSkin Stored(nullptr);
  storePayload(Stored, le32(3) + String("\x01\x01\x01", 3) + le32(0) +
                           "[VERSION]\r\nx=1\r\n[PICTURES]\r\nactivepicturescount=2000000000\r\n0=a.bmp\r\n"
                           "[SKINCONTROLS]\r\ncount=2147483647\r\n1=edit:edit\r\n"
                           "[SKINOBJECTS]\r\ncount=1999999999\r\n");
  TbsSkinData Skin(nullptr);
  Skin.LoadCompressedStoredSkin(&Stored);
  EXPECT_EQ(Skin.FActivePicturesNames->Count(), 1);
  ASSERT_EQ(Skin.CtrlCount(), 1);
  EXPECT_EQ(Skin.Ctrls(0)->IDName, "edit");
}

TEST(SkinDataCompressed, DescriptionEncodingsByByteOrderMark) {
  const String Ascii = "[VERSION]\r\nskinname=Caf\xC3\xA9\r\n";
  String Utf16 = "\xFF\xFE";
  for (unsigned char c : String("[VERSION]\r\nskinname=Caf")) Utf16 += String{char(c), '\0'};
  Utf16 += String("\xE9\x00", 2);
  struct {
    const char* Name;
    String Text;
  } Cases[] = {{"plain", Ascii}, {"utf-8 mark", "\xEF\xBB\xBF" + Ascii}, {"utf-16 mark", Utf16}};
  for (const auto& C : Cases) {
    TMemIniFile Ini("");
    LoadSkinDescriptionText(&Ini, C.Text);
    EXPECT_EQ(Ini.ReadString("VERSION", "skinname", ""), "Caf\xC3\xA9") << C.Name;
  }
}

// ---- properties, lists and fonts ----

TEST(SkinDataProperties, SkinIndexAndListFollowTheirRules) {
  TbsCompressedSkinList List(nullptr);
  TbsCompressedStoredSkin Stored(nullptr);
  storePayload(Stored, le32(3) + String("\x01\x01\x01", 3) + le32(0) + MinimalDescription);
  TbsSkinListItem* Item = List.Skins()->Add();
  TMemoryStream Container;
  Stored.SaveToCompressStream(&Container);
  Item->ReadSkinStream(&Container);

  TbsSkinData Skin(nullptr);
  Integer Loads = 0;
  Skin.OnLoadData = [&](TObject*) { ++Loads; };
  Skin.SetSkinIndex(1);  // no list yet: stored as it is
  EXPECT_EQ(Skin.SkinIndex(), 1);
  Skin.SetSkinList(&List);
  EXPECT_EQ(Loads, 0);
  EXPECT_TRUE(Skin.Empty);
  Skin.SetSkinIndex(5);  // outside the list: ignored
  EXPECT_EQ(Skin.SkinIndex(), 1);
  Skin.SetSkinIndex(0);
  EXPECT_EQ(Loads, 1);
  EXPECT_FALSE(Skin.Empty);
  Skin.SetSkinIndex(0);  // unchanged: no load
  EXPECT_EQ(Loads, 1);
  Skin.SetSkinList(&List);  // the same list again loads again
  EXPECT_EQ(Loads, 2);
}

TEST(SkinDataProperties, ReferencesAreDroppedWhenTheirComponentGoes) {
  TbsSkinData Skin(nullptr);
  auto Strings = std::make_unique<TbsResourceStrData>(nullptr);
  auto List = std::make_unique<TbsCompressedSkinList>(nullptr);
  auto Stored = std::make_unique<TbsCompressedStoredSkin>(nullptr);
  Skin.SetResourceStrData(Strings.get());
  Skin.SetSkinList(List.get());
  Skin.SetCompressedStoredSkin(Stored.get());
  Strings.reset();
  List.reset();
  Stored.reset();
  EXPECT_EQ(Skin.ResourceStrData(), nullptr);
  EXPECT_EQ(Skin.SkinList(), nullptr);
  EXPECT_EQ(Skin.CompressedStoredSkin(), nullptr);
}

// A skin may carry the library's texts in its own language: its table answers every user of the skin
// unless the application gives one, and it comes and goes with the skin in both forms.
TEST(SkinDataProperties, ASkinCarriesItsOwnStringTable) {
  TTempFolder Dir;
  writeHandSkin(Dir, String(HandSkin) +
                         "[STRINGS]\r\ncharset=134\r\nstringscount=3\r\n0=MSG_BTN_OK=确定\r\n"
                         "1=MSG_BTN_YES=是(&Y)\r\n2=FIND_WHAT=a=b\r\n\r\n");
  TbsSkinData Skin(nullptr);
  Skin.LoadFromFile(Dir / "skin.ini");
  ASSERT_NE(Skin.ResourceStrData(), nullptr);
  EXPECT_EQ(Skin.ResourceStrData(), Skin.SkinStrData());
  EXPECT_EQ(Skin.ResourceStrData()->GetResStr("msg_btn_ok"), "确定");
  EXPECT_EQ(Skin.ResourceStrData()->GetResStr("MSG_BTN_YES"), "是(&Y)");
  EXPECT_EQ(Skin.ResourceStrData()->GetResStr("FIND_WHAT"), "a=b");
  EXPECT_EQ(Skin.ResourceStrData()->GetResStr("MSG_BTN_CANCEL"), "") << "only the lines it carries";
  EXPECT_EQ(Skin.ResourceStrData()->CharSet(), 134);

  // The application's own table comes first.
  TbsResourceStrData English(nullptr);
  Skin.SetResourceStrData(&English);
  EXPECT_EQ(Skin.ResourceStrData()->GetResStr("MSG_BTN_OK"), "OK");
  Skin.SetResourceStrData(nullptr);
  EXPECT_EQ(Skin.ResourceStrData()->GetResStr("MSG_BTN_OK"), "确定");

  // The compressed form keeps it.
  dropSecondPanel(Skin);
  Skin.SaveToCompressedFile(Dir / "skin.skn");
  TbsSkinData Again(nullptr);
  Again.LoadFromCompressedFile(Dir / "skin.skn");
  ASSERT_NE(Again.SkinStrData(), nullptr);
  EXPECT_EQ(Again.SkinStrData()->ResStrings()->Text(), Skin.SkinStrData()->ResStrings()->Text());
  EXPECT_EQ(Again.SkinStrData()->CharSet(), 134);
  EXPECT_EQ(descriptionOf(Again), descriptionOf(Skin));

  // A skin that carries none replaces it with none; whoever referred to the old table lets it go.
  TbsSkinData Preview(nullptr);
  Preview.SetResourceStrData(Again.ResourceStrData());
  writeHandSkin(Dir);
  Again.LoadFromFile(Dir / "skin.ini");
  EXPECT_EQ(Again.ResourceStrData(), nullptr);
  EXPECT_EQ(Preview.ResourceStrData(), nullptr);
  Skin.ClearSkin();
  EXPECT_EQ(Skin.ResourceStrData(), nullptr);
}

TEST(SkinDataProperties, GlobalChangeFontTouchesTheFontsOfTextElementsOnly) {
  TbsSkinData Skin(nullptr);
  auto Check = std::make_unique<TbsDataSkinCheckListBox>("clb");
  auto Grid = std::make_unique<TbsDataSkinGridControl>("grid");
  auto Memo = std::make_unique<TbsDataSkinMemoControl>("memo");
  auto Bevel = std::make_unique<TbsDataSkinBevel>("bevel");
  auto Caption = std::make_unique<TbsDataSkinCaption>("caption");
  auto* C = Check.get();
  auto* G = Grid.get();
  auto* M = Memo.get();
  auto* Cap = Caption.get();
  Skin.AddCtrl(std::move(Check));
  Skin.AddCtrl(std::move(Grid));
  Skin.AddCtrl(std::move(Memo));
  Skin.AddCtrl(std::move(Bevel));
  Skin.AddObject(std::move(Caption));
  const String BevelBefore = [&] {
    TMemIniFile Ini("");
    Skin.Ctrls(3)->SaveToFile(&Ini);
    return SkinDescriptionText(&Ini);
  }();
  Skin.GlobalChangeFont("Arial", -2);
  EXPECT_EQ(C->FontName, "Arial");
  EXPECT_EQ(C->FontHeight, 11);
  EXPECT_EQ(C->CaptionFontHeight, 11);
  EXPECT_EQ(G->FixedFontName, "Arial");
  EXPECT_EQ(G->FixedFontHeight, 11);
  EXPECT_EQ(M->FontHeight, 11);
  EXPECT_EQ(Cap->FontHeight, -2);
  EXPECT_EQ(Skin.HintWindow->FontHeight, 11);
  TMemIniFile Ini("");
  Skin.Ctrls(3)->SaveToFile(&Ini);
  EXPECT_EQ(SkinDescriptionText(&Ini), BevelBefore);
}

TEST(SkinDataProperties, PicturesAddAndDeleteTogetherWithTheirNames) {
  TTempFolder Dir;
  solidBitmap(5, 5, 0xFF)->SaveToFile(Dir / "a.bmp");
  writeFile(Dir / "bad.bmp", "not a bitmap");
  TbsSkinData Skin(nullptr);
  Skin.AddBitMap(Dir / "a.bmp");
  EXPECT_ANY_THROW(Skin.AddBitMap(Dir / "bad.bmp"));
  Skin.AddBitMap(Dir / "a.bmp");
  ASSERT_EQ(Skin.PictureCount(), 2);
  ASSERT_EQ(Skin.FActivePicturesNames->Count(), 2);
  EXPECT_EQ(Skin.FActivePicturesNames->Strings(0), "a.bmp");
  Skin.DeleteBitMap(0);
  EXPECT_EQ(Skin.PictureCount(), 1);
  EXPECT_EQ(Skin.FActivePicturesNames->Count(), 1);
  EXPECT_THROW(Skin.DeleteBitMap(1), EListError);
}

// ---- announcements ----

TEST_F(SkinDataMessages, ALoadIsAnnouncedToEveryFormInOrder) {
  TForm* A = newForm();
  TForm* B = newForm();
  newForm<TbsFormLayerWindow>();
  TTempFolder Dir;
  writeHandSkin(Dir);
  TbsSkinData Skin(nullptr);
  std::vector<bool> Seen;  // ChangeSkinDataProcess while each load is handled
  Skin.OnLoadData = [&](TObject*) { Seen.push_back(Skin.ChangeSkinDataProcess); };
  wintest::TMessageSpy Spy(handles());
  Skin.LoadFromFile(Dir / "skin.ini");

  const auto Sequence = Spy.Sequence(SkinMessages);
  const std::vector<std::pair<HWND, UINT>> Expected = {
      {A->Handle(), WM_SKINCHANGING}, {B->Handle(), WM_SKINCHANGING}, {A->Handle(), WM_SKINCHANGE},
      {B->Handle(), WM_SKINCHANGE},   {A->Handle(), WM_SKINCHANGED},  {B->Handle(), WM_SKINCHANGED}};
  EXPECT_EQ(Sequence, Expected);
  for (const auto& M : Spy.Messages()) {
    if (std::find(SkinMessages.begin(), SkinMessages.end(), M.Msg) == SkinMessages.end()) continue;
    EXPECT_EQ(M.WParam, reinterpret_cast<WPARAM>(&Skin));
    EXPECT_EQ(M.LParam, 1000);
  }
  ASSERT_EQ(Seen.size(), 1u);
  EXPECT_TRUE(Seen[0]);
  EXPECT_FALSE(Skin.ChangeSkinDataProcess);
}

TEST_F(SkinDataMessages, OwnerFirstOrReverseOrderByLayeredBorders) {
  TForm* Owner = newForm();
  TForm* B = newForm();
  TForm* C = newForm();
  TbsSkinData* Skin = new TbsSkinData(Owner);
  wintest::TMessageSpy Spy(handles());

  Skin->SetShowLayeredBorders(false);
  EXPECT_EQ(Spy.Sequence(SkinMessages),
            (std::vector<std::pair<HWND, UINT>>{{Owner->Handle(), WM_LAYEREDBORDERSCHANGED},
                                                {B->Handle(), WM_LAYEREDBORDERSCHANGED},
                                                {C->Handle(), WM_LAYEREDBORDERSCHANGED}}));
  Spy.Clear();
  Skin->SetShowLayeredBorders(true);
  // Layered borders on, but the skin has none: screen order.
  EXPECT_EQ(Spy.Sequence(SkinMessages).front().first, Owner->Handle());
  Spy.Clear();
  Skin->LayerFrame->PictureIndex = 0;
  Skin->SetAeroBlurEnabled(false);
  EXPECT_EQ(Spy.Sequence(SkinMessages),
            (std::vector<std::pair<HWND, UINT>>{{C->Handle(), WM_AEROBLURCHANGED},
                                                {B->Handle(), WM_AEROBLURCHANGED},
                                                {Owner->Handle(), WM_AEROBLURCHANGED}}));
  Spy.Clear();
  Skin->SetAeroBlurEnabled(false);  // unchanged
  Skin->SetSkinnableForm(true);     // unchanged
  EXPECT_TRUE(Spy.Sequence(SkinMessages).empty());
  Skin->SetSkinnableForm(false);
  Skin->SetResourceStrData(nullptr);
  EXPECT_EQ(Spy.MessagesOf(B->Handle(), SkinMessages),
            (std::vector<UINT>{WM_SKINNABLEFORMCHANGED, WM_SKINSTRINGSCHANGED}));
  Spy.Clear();
  Skin->FBuilderMode = true;
  Skin->SetSkinnableForm(true);
  EXPECT_TRUE(Spy.Sequence(SkinMessages).empty());
}

TEST_F(SkinDataMessages, ClearSkinSendsTheThreeMessagesWhileEmpty) {
  TForm* A = newForm();
  TTempFolder Dir;
  writeHandSkin(Dir);
  TbsSkinData Skin(nullptr);
  Skin.LoadFromFile(Dir / "skin.ini");
  wintest::TMessageSpy Spy(handles());
  Skin.ClearSkin();
  EXPECT_EQ(Spy.MessagesOf(A->Handle(), SkinMessages),
            (std::vector<UINT>{WM_SKINCHANGING, WM_SKINCHANGE, WM_SKINCHANGED}));
  EXPECT_TRUE(Skin.Empty);
  EXPECT_EQ(Skin.CtrlCount(), 0);
  EXPECT_EQ(Skin.PictureCount(), 0);
}

TEST_F(SkinDataMessages, AFailedLoadStillClosesTheAnnouncedChange) {
  TForm* A = newForm();
  TTempFolder Dir;
  writeHandSkin(Dir);
  struct {
    const char* Name;
    std::function<void(TbsSkinData&)> Load;
  } Cases[] = {
      {"malformed rectangle in the folder form",
       [&](TbsSkinData& Skin) {
         writeFile(Dir / "bad.ini", String(HandSkin) + "[FORMINFO]\r\ncaptionrect=1,2\r\n");
         Skin.LoadFromFile(Dir / "bad.ini");
       }},
      {"missing picture file",
       [&](TbsSkinData& Skin) {
         std::filesystem::remove(Dir / "sheet1.bmp");
         Skin.LoadFromFile(Dir / "skin.ini");
       }},
  };
  for (auto& C : Cases) {
    TbsSkinData Skin(nullptr);
    Skin.LoadFromFile(Dir / "skin.ini");
    wintest::TMessageSpy Spy(handles());
    EXPECT_ANY_THROW(C.Load(Skin)) << C.Name;
    EXPECT_EQ(Spy.MessagesOf(A->Handle(), SkinMessages),
              (std::vector<UINT>{WM_SKINCHANGING, WM_SKINCHANGE, WM_SKINCHANGED}))
        << C.Name;
    EXPECT_FALSE(Skin.ChangeSkinDataProcess) << C.Name;
    EXPECT_TRUE(Skin.Empty) << C.Name;
    EXPECT_EQ(Skin.CtrlCount(), 0) << C.Name;
  }
}

TEST_F(SkinDataMessages, APayloadThatCannotBeReadLeavesTheCurrentSkinAndItsIndex) {
  TForm* A = newForm();
  auto Pic = solidBitmap(3, 2, 0);
  const String Image = bmpBytes(Pic.get());
  String Broken = Image;
  Broken[0] = 'X';  // the first numbered picture is no bitmap
  struct {
    const char* Name;
    String Payload;
  } Cases[] = {
      {"damaged picture", le32(3) + String("\x01\x01\x01", 3) + le32(1) + Broken + MinimalDescription},
      {"cut in a picture", le32(3) + String("\x01\x01\x01", 3) + le32(1) + Image.substr(0, Image.size() / 2)},
      {"more pictures than it holds", le32(3) + String("\x01\x01\x01", 3) + le32(400) + Image},
  };
  for (auto& C : Cases) {
    // A list of a good skin and the damaged one; the good one is loaded.
    TbsCompressedSkinList List(nullptr);
    for (const String& Payload :
         {le32(3) + String("\x01\x01\x01", 3) + le32(1) + Image + MinimalDescription, C.Payload}) {
      TbsCompressedStoredSkin Stored(nullptr);
      storePayload(Stored, Payload);
      TMemoryStream Container;
      Stored.SaveToCompressStream(&Container);
      List.Skins()->Add()->ReadSkinStream(&Container);
    }
    TbsSkinData Skin(nullptr);
    Skin.SetSkinList(&List);
    Skin.SetSkinIndex(0);
    ASSERT_FALSE(Skin.Empty) << C.Name;
    ASSERT_EQ(Skin.PictureCount(), 1) << C.Name;
    wintest::TMessageSpy Spy(handles());
    EXPECT_ANY_THROW(Skin.SetSkinIndex(1)) << C.Name;
    EXPECT_TRUE(Spy.MessagesOf(A->Handle(), SkinMessages).empty()) << C.Name;
    EXPECT_FALSE(Skin.Empty) << C.Name;
    EXPECT_EQ(Skin.PictureCount(), 1) << C.Name;
    EXPECT_EQ(Skin.SkinIndex(), 0) << C.Name;  // the skin that is still loaded
  }
}
