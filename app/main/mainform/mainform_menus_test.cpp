// The main window's row selection, in-place rename, menus and skin choice, driven as a person drives
// them: a row selected, a name typed and the box left, a menu item run, the skin chooser answered.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "app/formats/formattables.h"
#include "app/main/about/aboutbox.h"
#include "app/main/mainform/mainform.h"
#include "app/main/mainform/makecontrol.h"
#include "app/main/options/optionsdialog.h"
#include "app/main/testkit/mainformtestkit.h"
#include "app/main/testkit/menustestkit.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/rtl/convert.h"
#include "platform/shell/testkit/fakes.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/button.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/boxes/lists/bsskinlistbox.h"
#include "skin/boxes/office/bsskinofficeitems.h"
#include "skin/controls/bars/bsskinslider.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/controls/panels/bsskinlinklabel.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/core/bsskincontainer.h"
#include "skin/dialogs/bsskinselectskindialog.h"
#include "skin/dialogs/testkit/skindialogstestkit.h"
#include "skin/forms/menubar/bsskinmainmenubar.h"

namespace {

using menustest::AddJobRow;
using menustest::ChooserPositions;
using menustest::PresetCombos;
using menustest::TChooserPositions;

class MainFormMenus : public mainformtest::TMainFormTest {
 protected:
  // The rows of these tests name no real files: the preview that a selection runs would stop on its
  // message box, so it is left out (tests that count its runs bind their own handler).
  TForm1* Create() {
    TForm1* F = TMainFormTest::Create();
    F->Button31->OnClick = nullptr;
    return F;
  }
  TForm1* CreateShown() {
    TForm1* F = Create();
    F->Show();
    WinProcessMessages();
    return F;
  }
  // Runs Act; a message box it shows is read and closed with Enter. "" when none showed.
  template <class A>
  String MessageOf(A Act, String* Caption = nullptr) {
    String Text;
    bool Shown = false;
    wintest::OnNextModalLoop([&] {
      if (TbsMessageForm* B = dialogstest::ShowingBox()) {
        Text = B->Message->Caption();
        if (Caption != nullptr) *Caption = B->Caption();
      }
      Shown = true;
      wintest::KeyPress(VK_RETURN);
    });
    Act();
    EXPECT_TRUE(Shown) << "a message box";
    return Text;
  }
};

// ---- row selection ----

TEST_F(MainFormMenus, SelectingARowPutsEveryChooserBackToTheRowsPositionsAndOpensItsInput) {
  TForm1* F = Create();
  Integer Opened = 0;
  String OpenedFile;
  F->Button31->OnClick = [&](TObject*) {
    ++Opened;
    OpenedFile = F->T_Movie_PLayer_FileName;
  };
  // Rows written from real choices of different categories, formats and presets.
  struct TCase {
    Integer Category, Format;
    Integer Preset[PresetSlotCount];  // -1: the chooser's last entry
  };
  const TCase Cases[] = {
      {2, 7, {0, 5, 12, 3, 0, 2}},
      {0, 0, {-1, -1, -1, -1, -1, -1}},
      {14, 1, {1, 0, 1, 0, 1, 0}},
      {5, 3, {0, 1, 2, 0, 1, 2}},
  };
  std::vector<TChooserPositions> Stored;
  for (const TCase& C : Cases) {
    F->bsSkinOfficeComboBox2->SetItemIndex(C.Category);
    if (F->bsSkinOfficeComboBox1->Items()->Count() <= C.Format) continue;
    F->bsSkinOfficeComboBox1->SetItemIndex(C.Format);
    const TPresetChoosers Ch = F->PresetChoosers();
    TChooserPositions P = ChooserPositions(F);
    for (Integer I = 0; I < PresetSlotCount; ++I) {
      const Integer Count = PresetCombos(F)[I]->Items()->Count();
      const Integer Want = C.Preset[I] < 0 ? Count - 1 : std::min(C.Preset[I], Count - 1);
      Ch[I]->SetItemIndex(Want);
      P[2 + I] = Ch[I]->ItemIndex();
    }
    Stored.push_back(P);
    const Integer Code = 100 * (P[0] + 1) + P[1];
    AddJobRow(F, "/in/clip" + IntToStr(Integer(Stored.size())) + ".avi", "clip.avi", IntToStr(Code),
              PresetIndexCodeOf(F->PresetChoosers()));
  }
  ASSERT_EQ(Stored.size(), std::size(Cases));
  EXPECT_EQ(F->lvFiles->Items()->Item(0)->SubItems()->Strings(8), "307");

  // The preview's position slider (a stand-in of its name where the preview has none yet).
  auto* Slider = dynamic_cast<TbsSkinSlider*>(F->FindComponent("bsSkinSlider1"));
  if (Slider == nullptr) Slider = Make<TbsSkinSlider>(F, F, "bsSkinSlider1");
  Slider->SetMaxValue(100);

  // Selecting each row from another row's state brings its own positions back.
  for (Integer R : {0, 1, 2, 3, 0, 2}) {
    SCOPED_TRACE(R);
    const Integer Before = Opened;
    Slider->SetValue(40);
    F->lvFiles->SetItemIndex(R);
    EXPECT_EQ(Slider->Value(), 0) << "the preview starts at its beginning";
    EXPECT_EQ(ChooserPositions(F), Stored[R]);
    EXPECT_EQ(F->T_Movie_PLayer_FileName, "/in/clip" + IntToStr(R + 1) + ".avi");
    EXPECT_EQ(OpenedFile, F->T_Movie_PLayer_FileName) << "the preview opens after the path is set";
    EXPECT_EQ(Opened, Before + 1);
  }
}

TEST_F(MainFormMenus, TheRowOfTheExampleCodesGivesItsPositions) {
  TForm1* F = Create();
  AddJobRow(F, "/in/a.avi", "a.avi", "307", "000512030002");
  F->lvFiles->SetItemIndex(0);
  const TChooserPositions Want{2, 7, 0, 5, 12, 3, 0, 2};
  const TChooserPositions Got = ChooserPositions(F);
  // A position the format's list lacks cannot be taken; the others must be.
  for (Integer I = 0; I < 8; ++I) {
    if (I >= 2) {
      if (Want[I] >= PresetCombos(F)[I - 2]->Items()->Count()) continue;
    }
    EXPECT_EQ(Got[I], Want[I]) << I;
  }
}

TEST_F(MainFormMenus, ARowWhoseCodesDoNotReadChangesNothingAndOpensNothing) {
  TForm1* F = Create();
  Integer Opened = 0;
  F->Button31->OnClick = [&](TObject*) { ++Opened; };
  struct TCase {
    const char* Format;
    const char* Presets;
  };
  const TCase Cases[] = {{"abc", "000000000000"},
                         {"", "000000000000"},
                         {"307", "00xx00000000"},
                         {"307", "0005"},
                         {"307", "0-10000000000"}};
  for (const TCase& C : Cases)
    AddJobRow(F, String("/in/") + C.Format + C.Presets, "x.avi", C.Format, C.Presets);
  F->T_Movie_PLayer_FileName = "/before.avi";
  const TChooserPositions Before = ChooserPositions(F);
  for (Integer R = 0; R < Integer(std::size(Cases)); ++R) {
    F->lvFiles->SetItemIndex(R);
    EXPECT_EQ(ChooserPositions(F), Before) << Cases[R].Format << " " << Cases[R].Presets;
  }
  EXPECT_EQ(F->T_Movie_PLayer_FileName, "/before.avi");
  EXPECT_EQ(Opened, 0);
  // A selection that goes away (no row selected when the event comes) does nothing either.
  AddJobRow(F, "/in/good.avi", "good.avi", "101", "000000000000");
  F->lvFiles->SetItemIndex(Integer(std::size(Cases)));
  ASSERT_EQ(Opened, 1);
  F->lvFiles->Selected()->SetSelected(false);
  EXPECT_EQ(Opened, 1);
}

}  // namespace

// ---- in-place rename ----

namespace {

// The category and format positions of the first format whose caption ends in Ending.
bool FindFormat(const String& Ending, Integer& Category, Integer& Format) {
  for (Category = 0; Category < CategoryPositionCount; ++Category) {
    const Integer Family = CategoryCodeOfPosition(Category);
    for (Format = 0; Format < FamilyFormatCount(Family); ++Format) {
      const String C = FormatCaption(Family, Format);
      if (C.size() >= Ending.size() && C.compare(C.size() - Ending.size(), Ending.size(), Ending) == 0)
        return true;
    }
  }
  return false;
}

}  // namespace

class MainFormRename : public MainFormMenus {
 protected:
  // A shown window whose current format writes flac, with three rows of that choice; row 1 selected.
  TForm1* CreateWithRows() {
    TForm1* F = CreateShown();
    menustest::EnsureLeadingColumns(F);
    Integer C = 0, Fm = 0;
    EXPECT_TRUE(FindFormat("(*.flac)", C, Fm));
    F->bsSkinOfficeComboBox2->SetItemIndex(C);
    F->Button2->Click();
    F->bsSkinOfficeComboBox1->SetItemIndex(Fm);
    const String Format = IntToStr(100 * (C + 1) + Fm), Presets = PresetIndexCodeOf(F->PresetChoosers());
    AddJobRow(F, "/in/a.avi", "a.flac", Format, Presets);
    AddJobRow(F, "/in/clip.avi", "clip.flac", Format, Presets);
    AddJobRow(F, "/in/b.avi", "taken.flac", Format, Presets);
    F->lvFiles->SetItemIndex(1);
    F->OO1[1].FileName = "/old/clip.avi";
    return F;
  }
  // Types Name into the box and moves the focus to the list, as a click on it does.
  void TypeAndLeave(TForm1* F, const String& Name) {
    F->edt->SetText(Name);
    F->lvFiles->SetFocus();
    WinProcessMessages();
  }
  String OutputName(TForm1* F, Integer Row) { return F->lvFiles->Items()->Item(Row)->SubItems()->Strings(2); }
};

TEST_F(MainFormRename, TheBoxOpensOverTheOutputNameWithTheNameLessItsExtension) {
  TForm1* F = CreateWithRows();
  F->bsSkinButton21->Click();
  TbsSkinEdit* E = F->edt;
  ASSERT_TRUE(E->Visible());
  EXPECT_EQ(E->Parent(), F->lvFiles);
  EXPECT_TRUE(E->Focused());
  EXPECT_EQ(E->Text(), "clip");
  // The box lies in the list, 3 pixels into the output name's column.
  const Integer Left =
      F->lvFiles->Column(0)->Width() + F->lvFiles->Column(1)->Width() + F->lvFiles->Column(2)->Width() + 3;
  EXPECT_EQ(E->Left(), Left);
  EXPECT_EQ(E->Top(), F->lvFiles->Items()->Item(1)->Top());
  EXPECT_EQ(E->Width(), F->lvFiles->Column(3)->Width());

  // A name column reaching past the list's edge is cut at the edge.
  F->lvFiles->Column(3)->SetWidth(2000);
  F->lvFiles->SetItemIndex(2);
  F->lvFiles->OnDblClick(F->lvFiles);
  EXPECT_EQ(E->Text(), "taken") << "a new start refills the box for the selected row";
  EXPECT_EQ(E->Top(), F->lvFiles->Items()->Item(2)->Top());
  EXPECT_EQ(E->Left() + E->Width(), F->lvFiles->ClientWidth());
}

TEST_F(MainFormRename, ClickingAnotherRowGivesTheTypedNameToTheRowBeingRenamed) {
  TForm1* F = CreateWithRows();
  F->bsSkinButton21->Click();
  F->edt->SetText("holiday");
  // The click selects the other row first; the box loses the focus after that.
  F->lvFiles->SetItemIndex(2);
  F->lvFiles->SetFocus();
  WinProcessMessages();
  EXPECT_FALSE(F->edt->Visible());
  EXPECT_EQ(OutputName(F, 1), "holiday.flac");
  EXPECT_EQ(OutputName(F, 2), "taken.flac");
  EXPECT_EQ(F->OO1[1].FileName, F->Video_OutPut_Folder_Edit->Text() + "/holiday.flac");
}

TEST_F(MainFormRename, ANewNameTakesTheFormatsExtensionAndBecomesTheSlotsOutputFile) {
  TForm1* F = CreateWithRows();
  F->SetCommandEnabled(jcRename, true);
  F->N26->Click();
  ASSERT_TRUE(F->edt->Visible());
  TypeAndLeave(F, "holiday");
  EXPECT_EQ(OutputName(F, 1), "holiday.flac");
  EXPECT_FALSE(F->edt->Visible());
  EXPECT_EQ(F->OO1[1].FileName, F->Video_OutPut_Folder_Edit->Text() + "/holiday.flac");
  EXPECT_EQ(OutputName(F, 0), "a.flac");
  // Its own name again is no clash.
  F->bsSkinButton21->Click();
  TypeAndLeave(F, "holiday");
  EXPECT_EQ(OutputName(F, 1), "holiday.flac");
}

TEST_F(MainFormRename, ARefusedNameIsSaidAndTheRowKeepsItsName) {
  TForm1* F = CreateWithRows();
  struct TCase {
    const char* Typed;
    const char* Message;
  };
  const TCase Cases[] = {
      {"", "输出文件名不能为空！"},
      {"a/b", "输出文件名中不能含有“/”或“\\”！"},
      {"..\\up", "输出文件名中不能含有“/”或“\\”！"},
      {"taken", "列表中已有名为“taken.flac”的输出文件，请换一个名称！"},
  };
  F->bsSkinButton21->Click();
  ASSERT_TRUE(F->edt->Focused());
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Typed);
    String Caption;
    EXPECT_EQ(MessageOf([&] { TypeAndLeave(F, C.Typed); }, &Caption), C.Message);
    EXPECT_EQ(Caption, "提示");
    EXPECT_EQ(OutputName(F, 1), "clip.flac");
    EXPECT_EQ(F->OO1[1].FileName, "/old/clip.avi");
    EXPECT_TRUE(F->edt->Visible()) << "the box stays for another try";
    EXPECT_TRUE(F->edt->Focused()) << "and takes the keys again, its refused name selected";
    EXPECT_EQ(F->edt->SelLength(), Integer(F->edt->Text().size()));
  }
  // The next try in the same box with a good name takes it.
  TypeAndLeave(F, "fine");
  EXPECT_EQ(OutputName(F, 1), "fine.flac");
}

TEST_F(MainFormRename, EnterTakesTheNameAndEscLeavesTheOldOne) {
  TForm1* F = CreateWithRows();
  F->bsSkinButton21->Click();
  F->edt->SetText("");
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_FALSE(F->edt->Visible()) << "Esc leaves even an empty box";
  EXPECT_EQ(OutputName(F, 1), "clip.flac");
  EXPECT_EQ(F->OO1[1].FileName, "/old/clip.avi");
  EXPECT_TRUE(F->lvFiles->Focused());

  F->bsSkinButton21->Click();
  F->edt->SetText("party");
  wintest::KeyPress(VK_RETURN);
  EXPECT_FALSE(F->edt->Visible());
  EXPECT_EQ(OutputName(F, 1), "party.flac");
  EXPECT_TRUE(F->lvFiles->Focused());
  // Leaving after a cancel takes the next name again.
  F->bsSkinButton21->Click();
  TypeAndLeave(F, "later");
  EXPECT_EQ(OutputName(F, 1), "later.flac");
}

TEST_F(MainFormRename, WithoutASelectedRowTheButtonAsksForOneAndTheDoubleClickDoesNothing) {
  TForm1* F = CreateShown();
  AddJobRow(F, "/in/a.avi", "a.avi", "101", "000000000000");
  String Caption;
  EXPECT_EQ(MessageOf([&] { F->bsSkinButton21->Click(); }, &Caption), "请先选中您需要重命名的项目！");
  EXPECT_EQ(Caption, "提示");
  F->SetCommandEnabled(jcRename, true);
  EXPECT_EQ(MessageOf([&] { F->N26->Click(); }), "请先选中您需要重命名的项目！");
  F->lvFiles->OnDblClick(F->lvFiles);
  EXPECT_FALSE(F->edt->Visible());
}

// ---- menus ----

namespace {

// What each command's own button does, counted: the menus must run these, whoever binds them.
struct TButtonSpies {
  std::map<String, Integer> Runs;
  void Watch(TControl* Button) {
    const String Name = Button->Name();
    Button->OnClick = [this, Name](TObject*) { ++Runs[Name]; };
  }
  // The one button that ran since the last call ("" for none, "+" for more than one).
  String Ran() {
    String Which;
    Integer Total = 0;
    for (auto& [Name, N] : Runs) {
      if (N > 0) Which = Name;
      Total += N;
      N = 0;
    }
    return Total == 0 ? "" : Total == 1 ? Which : "+";
  }
};

}  // namespace

TEST_F(MainFormMenus, EveryMenuItemShowsItsCaptionAndRunsItsCommand) {
  TForm1* F = Create();
  // The move buttons come with the job list's controls; stand-ins of the same name where they are not.
  for (const char* Name : {"bsSkinButton3", "bsSkinButton4"})
    if (F->FindComponent(Name) == nullptr) Make<TbsSkinButton>(F, F, Name);
  TButtonSpies Spies;
  for (TControl* B : std::initializer_list<TControl*>{
           F->btnAdd, F->Button8, F->Button12, F->bsSkinButton7, F->bsSkinButton8, F->bsSkinButton2,
           F->bsSkinButton10, F->bsSkinButton11, F->bsSkinButton12,
           dynamic_cast<TControl*>(F->FindComponent("bsSkinButton3")),
           dynamic_cast<TControl*>(F->FindComponent("bsSkinButton4"))})
    Spies.Watch(B);
  for (TJobCommand C : {jcRemove, jcRename, jcClear, jcStart, jcStop, jcPause, jcResume})
    F->SetCommandEnabled(C, true);

  struct TItem {
    TMenuItem* Item;
    const char* Caption;
    const char* Runs;  // the button whose command it runs; "" for none
  };
  const TItem Items[] = {
      {F->Item111, "添加一个文件", "btnAdd"},
      {F->Item121, "添加多个文件", "Button8"},
      {F->N21, "添加整个目录", "Button12"},
      {F->N3, "-", ""},
      {F->N111, "上移文件", "bsSkinButton3"},
      {F->N2221, "下移文件", "bsSkinButton4"},
      {F->N12, "-", ""},
      {F->N13, "删除选择", "bsSkinButton7"},
      {F->N14, "清空文件", "bsSkinButton8"},
      {F->N25, "-", ""},
      {F->N7, "开始转换", "bsSkinButton2"},
      {F->N8, "停止转换", "bsSkinButton10"},
      {F->N9, "-", ""},
      {F->N10, "暂停转换", "bsSkinButton11"},
      {F->N11, "继续继续", "bsSkinButton12"},
      {F->N23, "-", ""},
      {F->N16, "-", ""},
      {F->N11111, "添加一个文件", "btnAdd"},
      {F->N2222, "添加多个文件", "Button8"},
      {F->N3331, "添加整个目录", "Button12"},
  };
  for (const TItem& I : Items) {
    SCOPED_TRACE(I.Item->Name());
    EXPECT_EQ(I.Item->Caption(), I.Caption);
    I.Item->Click();
    EXPECT_EQ(Spies.Ran(), I.Runs);
  }
  // The menus in their order, each item where the bar shows it.
  const std::vector<std::vector<String>> Menus = {
      {"文件", "添加一个文件", "添加多个文件", "添加整个目录", "-", "退出"},
      {"编辑", "上移文件", "下移文件", "-", "删除选择", "清空文件", "-", "重新命名"},
      {"动作", "开始转换", "停止转换", "-", "暂停转换", "继续继续", "-", "转换选项"},
      {"帮助", "帮助系统", "-", "官方网站", "联系邮箱", "关于软件"}};
  TMenuItem* Root = F->MainMenu1->Items();
  ASSERT_EQ(Root->Count(), Integer(Menus.size()));
  for (Integer M = 0; M < Root->Count(); ++M) {
    std::vector<String> Shown{Root->Items(M)->Caption()};
    for (Integer I = 0; I < Root->Items(M)->Count(); ++I)
      Shown.push_back(Root->Items(M)->Items(I)->Caption());
    EXPECT_EQ(Shown, Menus[M]);
  }
  EXPECT_EQ(F->N15->ShortCut(), ShortCut(VK_F1, {}));
}

TEST_F(MainFormMenus, CommandItemsStayOffUntilTheirCommandIsOnButOptionsAndAboutAreAlwaysThere) {
  TForm1* F = Create();
  for (TMenuItem* I : {F->N13, F->N14, F->N26, F->N7, F->N8, F->N10, F->N11})
    EXPECT_FALSE(I->Enabled()) << I->Name();
  for (TMenuItem* I : {F->Item111, F->Item121, F->N21, F->N4, F->N111, F->N2221, F->N24, F->N15, F->N19,
                       F->EMAIL1, F->N5, F->N11111, F->N2222, F->N3331})
    EXPECT_TRUE(I->Enabled()) << I->Name();
  // An item that is off runs nothing.
  Integer Removes = 0;
  F->bsSkinButton7->OnClick = [&](TObject*) { ++Removes; };
  F->N13->Click();
  EXPECT_EQ(Removes, 0);
}

TEST_F(MainFormMenus, HelpItemsOpenTheMakersPagesAndF1OpensTheHelpPageFromAnywhere) {
  shelltest::TShellFakes Fakes;
  TForm1* F = CreateShown();
  struct TCase {
    TMenuItem* Item;
    const char* Caption;
    String Target;
  };
  const TCase Cases[] = {{F->N15, "帮助系统", ProductQuestionPage},
                         {F->N19, "官方网站", ProductHomePage},
                         {F->EMAIL1, "联系邮箱", String("mailto:") + ProductSupportMail}};
  for (const TCase& C : Cases) {
    EXPECT_EQ(C.Item->Caption(), C.Caption);
    C.Item->Click();
    ASSERT_FALSE(Fakes.Open().Targets.empty());
    EXPECT_EQ(Fakes.Open().Targets.back(), C.Target) << C.Caption;
  }
  // F1 with the focus on the list, then on the folder box: the question page, never a help file.
  Fakes.Open().Targets.clear();
  for (TWinControl* C : std::initializer_list<TWinControl*>{F->lvFiles, F->Video_OutPut_Folder_Edit}) {
    C->SetFocus();
    wintest::KeyPress(VK_F1);
  }
  EXPECT_EQ(Fakes.Open().Targets, (std::vector<String>{ProductQuestionPage, ProductQuestionPage}));
}

TEST_F(MainFormMenus, OptionsAboutAndExitShowAndCloseTheirWindows) {
  TForm1* F = CreateShown();
  auto* Options = new TForm5(Application, F->bsSkinData1, F->ZUVER, File());
  Options->AfterConstruction();
  F->SetOptionsDialog(Options);
  Form2 = new TForm2(Application, F->bsSkinData1, Temp.Root() + "/nerivo.skn");
  Form2->AfterConstruction();
  // Each opens its window modally; the person closes it with Esc.
  struct TCase {
    std::function<void()> Run;
    TForm* Shows;
  };
  const TCase Cases[] = {{[&] { F->N24->Click(); }, Options},
                         {[&] { F->bsSkinButton19->Click(); }, Options},
                         {[&] { F->N5->Click(); }, Form2}};
  for (const TCase& C : Cases) {
    TForm* Seen = nullptr;
    wintest::OnNextModalLoop([&] {
      Seen = dynamic_cast<TForm*>(FindControl(GetActiveWindow()));
      C.Shows->Close();
    });
    C.Run();
    EXPECT_EQ(Seen, C.Shows) << C.Shows->Caption();
    EXPECT_FALSE(C.Shows->Visible());
  }
  EXPECT_EQ(F->bsSkinButton19->Caption(), "选项");
  EXPECT_EQ(F->bsSkinButton19->Parent(), F->ToolBarPanel);
  EXPECT_EQ(F->N24->Caption(), "转换选项");
  EXPECT_EQ(F->N5->Caption(), "关于软件");

  // 退出 closes the main window.
  EXPECT_EQ(F->N4->Caption(), "退出");
  bool Closed = false;
  F->OnClose = [&](TObject*, TCloseAction&) { Closed = true; };
  F->N4->Click();
  EXPECT_TRUE(Closed);
  EXPECT_FALSE(F->Visible());
  delete Form2;
  EXPECT_EQ(Form2, nullptr);
}

TEST_F(MainFormMenus, AClickOnTheFolderBoxGivesTheListTheFocus) {
  TForm1* F = CreateShown();
  F->Video_OutPut_Folder_Edit->SetFocus();
  F->Video_OutPut_Folder_Edit->OnClick(F->Video_OutPut_Folder_Edit);
  EXPECT_TRUE(F->lvFiles->Focused());
}

TEST(AboutBox, ShowsTheProgramsTitleVersionAndLinks) {
  TForm2 B(nullptr, nullptr, "/no/skin/here.skn");
  EXPECT_EQ(B.Caption(), "关于");
  EXPECT_EQ(B.ClientWidth(), 368);
  EXPECT_EQ(B.ClientHeight(), 238);
  EXPECT_EQ(B.bsSkinStdLabel3->Caption(), "NerivoAVI/MPEG格式转换器");
  EXPECT_EQ(B.bsSkinStdLabel4->Caption(), "Ver:1.00.102");
  EXPECT_EQ(B.bsSkinStdLabel1->Caption(), "了解更多请访问：");
  EXPECT_EQ(B.bsSkinStdLabel2->Caption(), "联系邮箱：");
  EXPECT_EQ(B.bsSkinLinkLabel1->Caption(), ProductHomePage);
  EXPECT_EQ(B.bsSkinLinkLabel2->Caption(), ProductSupportMail);
  // A click on a link opens what it shows.
  shelltest::TShellFakes Fakes;
  B.bsSkinLinkLabel1->Click();
  B.bsSkinLinkLabel2->Click();
  EXPECT_EQ(Fakes.Open().Targets,
            (std::vector<String>{ProductHomePage, String("mailto:") + ProductSupportMail}));
  EXPECT_EQ(B.bsSkinButton1->Caption(), "确定");
  EXPECT_EQ(B.Image1->Width(), 87);
  EXPECT_EQ(B.Image1->Height(), 83);
}

// ---- skin choice ----

class MainFormSkinChoice : public MainFormMenus {
 protected:
  // The window with a second skin, "Green", offered beside the product's.
  TForm1* CreateWithTwoSkins() {
    TForm1* F = Create();
    TbsSkinListItem* Green = F->bsCompressedSkinList1->Skins()->Add();
    Green->SetDescription("Green");
    StoreVariantSkin(Green->Skin(), "Green", clGreen);
    F->bsSkinData1->OnLoadData = [this](TObject*) { ++Loads; };
    return F;
  }
  Integer Loads = 0;
};

TEST_F(MainFormSkinChoice, TheChooserOffersTheProductSkinStartingAtTheCurrentOne) {
  TForm1* F = Create();
  ASSERT_EQ(F->bsCompressedSkinList1->Skins()->Count(), 1);
  EXPECT_FALSE(F->bsCompressedSkinList1->Skins()->GetItem(0)->Skin()->Empty());
  EXPECT_EQ(F->bsSelectSkinDialog1->Title(), "Select skin");
  Integer Start = -2;
  wintest::OnNextModalLoop([&] {
    Start = F->bsSelectSkinDialog1->DlgFrm()->SkinsListBox->ItemIndex();
    wintest::KeyPress(VK_ESCAPE);
  });
  F->bsSkinButton9->Click();
  EXPECT_EQ(Start, 0);
  EXPECT_EQ(F->bsSkinButton9->Caption(), "皮肤");
  EXPECT_GE(F->bsSkinButton9->ClientToScreen({0, 0}).X - F->ClientToScreen({0, 0}).X, 1276) << "off-screen";
}

TEST_F(MainFormSkinChoice, ConfirmingAnotherSkinLoadsItEverywhereAndStoresItsIndex) {
  TForm1* F = CreateWithTwoSkins();
  wintest::OnNextModalLoop([&] {
    dialogstest::Press(VK_DOWN);
    wintest::KeyPress(VK_RETURN);
  });
  F->bsSkinButton9->Click();
  EXPECT_EQ(F->bsSkinData1->SkinIndex(), 1);
  EXPECT_EQ(F->bsSkinData1->SkinName, "Green");
  EXPECT_EQ(Loads, 1);
  EXPECT_EQ(File().Read(SkinSection, SetSkinKey), "1");

  // Back to the product skin through the other entry point.
  wintest::OnNextModalLoop([&] {
    dialogstest::Press(VK_UP);
    wintest::KeyPress(VK_RETURN);
  });
  F->N23Click(nullptr);
  EXPECT_EQ(F->bsSkinData1->SkinIndex(), 0);
  EXPECT_NE(F->bsSkinData1->SkinName, "Green");
  EXPECT_EQ(File().Read(SkinSection, SetSkinKey), "0");
}

TEST_F(MainFormSkinChoice, CancellingOrConfirmingTheSameSkinKeepsItAndStillStoresTheIndex) {
  struct TCase {
    const char* What;
    std::function<void()> Answer;
  };
  const TCase Cases[] = {
      {"Esc", [] { wintest::KeyPress(VK_ESCAPE); }},
      {"another, then Esc",
       [] {
         dialogstest::Press(VK_DOWN);
         wintest::KeyPress(VK_ESCAPE);
       }},
      {"the same, Enter", [] { wintest::KeyPress(VK_RETURN); }},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    TForm1* F = CreateWithTwoSkins();
    Loads = 0;
    File().Write(SkinSection, SetSkinKey, "7");
    const String Name = F->bsSkinData1->SkinName;
    wintest::OnNextModalLoop(C.Answer);
    F->bsSkinButton9->Click();
    EXPECT_EQ(F->bsSkinData1->SkinIndex(), 0);
    EXPECT_EQ(F->bsSkinData1->SkinName, Name);
    EXPECT_EQ(Loads, 0);
    EXPECT_EQ(File().Read(SkinSection, SetSkinKey), "0") << "the current index is written";
    delete F;
  }
}

TEST_F(MainFormSkinChoice, AStoredIndexTheListLacksIsKeptUntilAChoiceReplacesIt) {
  // The layout's own index 1 and any other beyond the list: the skin read beside the program stays.
  WriteIni("[Skin]\nSetSkin=1\n");
  TForm1* F = CreateWithTwoSkins();
  F->bsCompressedSkinList1->Skins()->Delete(1);
  EXPECT_EQ(F->bsSkinData1->SkinIndex(), 1);
  EXPECT_FALSE(F->bsSkinData1->Empty) << "the window still wears the product skin";
  wintest::OnNextModalLoop([] { wintest::KeyPress(VK_ESCAPE); });
  F->bsSkinButton9->Click();
  EXPECT_EQ(File().Read(SkinSection, SetSkinKey), "1");
  // Picking the one skin there is replaces the index.
  wintest::OnNextModalLoop([&] {
    dialogstest::Press(VK_HOME);
    wintest::KeyPress(VK_RETURN);
  });
  F->bsSkinButton9->Click();
  EXPECT_EQ(F->bsSkinData1->SkinIndex(), 0);
  EXPECT_EQ(File().Read(SkinSection, SetSkinKey), "0");
}
