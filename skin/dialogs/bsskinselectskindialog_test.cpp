#include "skin/dialogs/bsskinselectskindialog.h"

#include <gtest/gtest.h>

#include "platform/ui/core/screen.h"
#include "skin/boxes/lists/bsskinlistbox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsskincontainer.h"
#include "skin/dialogs/testkit/skindialogstestkit.h"
#include "skin/forms/engine/bsskinform.h"

using dialogstest::Press;

namespace {

class SelectSkinDialogTest : public TSkinControlTest {
 protected:
  void SetUp() override {
    TSkinControlTest::SetUp();
    SetTestFontMode(true);
    List = std::make_unique<TbsCompressedSkinList>(nullptr);
    Dialog = std::make_unique<TbsSelectSkinDialog>(nullptr);
    Dialog->SetSkinData(Skin.get());
    Dialog->SetCtrlSkinData(Skin.get());
    Dialog->SetSkinList(List.get());
  }
  void TearDown() override {
    Dialog.reset();
    List.reset();
    SetTestFontMode(false);
    TSkinControlTest::TearDown();
  }

  // Appends a skin named Name whose frame is FrameColor, listed as Description.
  void AddSkin(const String& Name, const String& Description, TColor FrameColor) {
    TbsSkinListItem* Item = List->Skins()->Add();
    Item->SetDescription(Description);
    StoreVariantSkin(Item->Skin(), Name, FrameColor);
  }
  void AddThreeSkins() {
    AddSkin("Blue", "蓝色", clBlue);
    AddSkin("Green", "绿色", clGreen);
    AddSkin("Red", "红色", clRed);
  }

  TbsSelectSkinDlgForm* Form() const { return Dialog->DlgFrm(); }
  TbsSkinData* Preview() const { return Form()->PreviewSkinData; }
  // What the preview shows: the name of its loaded skin, "" for none.
  String PreviewName() const { return Preview()->Empty ? String() : Preview()->SkinName; }

  // Input inside a scripted modal loop is only queued; these hand it to the loop at once, so a test
  // sees its effect. The clock moves on first, so two clicks are a double click only when meant.
  void ClickAt(TWinControl* C, Integer X, Integer Y) {
    Clock().Advance(1000);
    wintest::Click(wintest::ScreenPoint(C->Handle(), X, Y));
    WinProcessMessages();
  }
  // An entry scrolled out of sight is scrolled to first, as a person would.
  void ClickEntry(Integer Index, TbsSelectSkinDlgForm* F = nullptr) {
    TbsSkinListBox* L = (F ? F : Form())->SkinsListBox;
    TRect R = L->ItemRect(Index);
    if (R.Top < 0 || R.Bottom > L->ListBox->ClientHeight()) {
      L->SetTopIndex(Index);
      R = L->ItemRect(Index);
    }
    ClickAt(L->ListBox, R.Left + 5, R.Top + 3);
  }
  void DoubleClickEntry(Integer Index) {
    TbsListBox* In = Form()->SkinsListBox->ListBox;
    const TRect R = In->ItemRect(Index);
    ClickAt(In, R.Left + 5, R.Top + 3);
    wintest::Click(wintest::ScreenPoint(In->Handle(), R.Left + 5, R.Top + 3));
    WinProcessMessages();
  }
  void ClickButton(TbsSkinButton* B) { ClickAt(B, 10, 10); }
  static Integer LiveForms() {
    Integer N = 0;
    for (Integer i = 0; i < Application->ComponentCount(); ++i)
      N += dynamic_cast<TbsSelectSkinDlgForm*>(Application->Components(i)) != nullptr;
    return N;
  }

  std::unique_ptr<TbsCompressedSkinList> List;
  std::unique_ptr<TbsSelectSkinDialog> Dialog;
};

TEST_F(SelectSkinDialogTest, DefaultsOfTheComponent) {
  TbsSelectSkinDialog D(nullptr);
  EXPECT_EQ(D.Title(), "Select skin");
  EXPECT_EQ(D.SkinList(), nullptr);
  EXPECT_EQ(D.SkinData(), nullptr);
  EXPECT_EQ(D.CtrlSkinData(), nullptr);
  EXPECT_EQ(D.DefaultFont()->Name(), "Tahoma");
  EXPECT_EQ(D.DefaultFont()->Height(), 13);
  EXPECT_TRUE(D.DefaultFont()->Style().Empty());
  EXPECT_FALSE(D.AlphaBlend());
  EXPECT_EQ(D.AlphaBlendValue(), 200);
  EXPECT_FALSE(D.AlphaBlendAnimation());
  EXPECT_EQ(D.SelectedSkin(), nullptr);
  EXPECT_EQ(D.SelectedSkinIndex(), -1);
  EXPECT_EQ(D.DlgFrm(), nullptr);
  // Components it refers to clear their reference when they go.
  auto Frame = std::make_unique<TbsSkinData>(nullptr);
  auto Controls = std::make_unique<TbsSkinData>(nullptr);
  D.SetSkinData(Frame.get());
  D.SetCtrlSkinData(Controls.get());
  Frame.reset();
  EXPECT_EQ(D.SkinData(), nullptr);
  EXPECT_EQ(D.CtrlSkinData(), Controls.get());
  Controls.reset();
  EXPECT_EQ(D.CtrlSkinData(), nullptr);
}

TEST_F(SelectSkinDialogTest, ChoosingTheThirdOfThreeSkins) {
  AddThreeSkins();
  Skin->SetSkinIndex(7);  // the caller's own skin and index stay what they are
  bool Checked = false;
  wintest::OnNextModalLoop([&] {
    ASSERT_NE(Form(), nullptr);
    EXPECT_EQ(Form()->SkinsListBox->ItemIndex(), 1);
    EXPECT_EQ(PreviewName(), "Green");
    EXPECT_EQ(PaintedPixel(Form()->PreviewForm->Handle(), 3, 3), COLORREF(ColorToRGB(clGreen)))
        << "the preview window wears the preview skin's frame";
    EXPECT_TRUE(Form()->SkinsListBox->ListBox->Focused()) << "the list has the keyboard focus";
    // The arrow keys move the list's selection, each move reloading the preview.
    Press(VK_DOWN);
    EXPECT_EQ(Form()->SkinsListBox->ItemIndex(), 2);
    EXPECT_EQ(PreviewName(), "Red");
    Press(VK_UP);
    EXPECT_EQ(Form()->SkinsListBox->ItemIndex(), 1);
    EXPECT_EQ(PreviewName(), "Green");
    ClickEntry(2);
    EXPECT_EQ(Form()->SkinsListBox->ItemIndex(), 2);
    EXPECT_EQ(PreviewName(), "Red") << "a click reloads the preview";
    EXPECT_EQ(PaintedPixel(Form()->PreviewForm->Handle(), 3, 3), COLORREF(ColorToRGB(clRed)));
    EXPECT_EQ(PaintedPixel(Form()->Handle(), 3, 3), COLORREF(GeneratedSkinSliceColor(63, 0, 0)))
        << "the dialog keeps the caller's frame";
    EXPECT_EQ(Skin->SkinName, "Nerivo") << "only the preview changes skin";
    EXPECT_FALSE(Form()->PreviewDamaged());
    Checked = true;
    ClickButton(Form()->OpenButton);
  });
  EXPECT_TRUE(Dialog->Execute(1));
  EXPECT_TRUE(Checked);
  EXPECT_EQ(Dialog->SelectedSkinIndex(), 2);
  EXPECT_EQ(Dialog->SelectedSkin(), nullptr);
  EXPECT_EQ(Skin->SkinName, "Nerivo");
  EXPECT_EQ(Skin->SkinIndex(), 7);
  EXPECT_EQ(Dialog->DlgFrm(), nullptr);
  EXPECT_EQ(LiveForms(), 0) << "the form is freed";
}

TEST_F(SelectSkinDialogTest, CancelAndEscapeReportNothing) {
  AddThreeSkins();
  // A choice of an earlier run is cleared by the next one, whatever it ends with.
  wintest::OnNextModalLoops({[&] { wintest::KeyPress(VK_RETURN); },
                             [&] {
                               ClickEntry(0);
                               ClickButton(Form()->CancelButton);
                             },
                             [&] {
                               ClickEntry(2);
                               wintest::KeyPress(VK_ESCAPE);
                             }});
  EXPECT_TRUE(Dialog->Execute(1)) << "Enter presses OK";
  EXPECT_EQ(Dialog->SelectedSkinIndex(), 1);
  EXPECT_FALSE(Dialog->Execute(1));
  EXPECT_EQ(Dialog->SelectedSkinIndex(), -1);
  EXPECT_FALSE(Dialog->Execute(1));
  EXPECT_EQ(Dialog->SelectedSkinIndex(), -1);
  EXPECT_EQ(Skin->SkinName, "Nerivo");
  EXPECT_EQ(LiveForms(), 0);
}

TEST_F(SelectSkinDialogTest, DoubleClickAcceptsThatEntry) {
  AddThreeSkins();
  wintest::OnNextModalLoop([&] { DoubleClickEntry(0); });
  EXPECT_TRUE(Dialog->Execute(2));
  EXPECT_EQ(Dialog->SelectedSkinIndex(), 0);
}

TEST_F(SelectSkinDialogTest, BuildsItsLayoutAndTexts) {
  AddSkin("Blue", "蓝色", clBlue);
  AddSkin("Plain", "", clGray);
  std::unique_ptr<TbsSelectSkinDlgForm> F(
      TbsSelectSkinDlgForm::CreateEx2(Application, List.get(), 0, nullptr));
  EXPECT_EQ(F->FCSkinList, List.get());
  EXPECT_EQ(F->FCSkinIndex, 0);
  EXPECT_EQ(F->SkinList, nullptr);
  EXPECT_EQ(F->Owner(), Application);
  EXPECT_EQ(F->BorderStyle(), bsSingle);
  EXPECT_EQ(F->Position(), poScreenCenter);
  TStrings* Items = F->SkinsListBox->Items();
  ASSERT_EQ(Items->Count(), 2);
  EXPECT_EQ(Items->Strings(0), "蓝色");
  EXPECT_EQ(Items->Strings(1), "bsSkin1") << "an empty description lists the name";

  EXPECT_EQ(F->SkinsListBox->BoundsRect(), Bounds(10, 10, 170, 170));
  EXPECT_EQ(F->SkinsListBox->Parent(), F.get());
  EXPECT_EQ(F->PreviewForm->BoundsRect(), Bounds(190, 10, 220, 170));
  EXPECT_EQ(F->PreviewForm->Parent(), F.get());
  EXPECT_TRUE(GetWindowLong(F->PreviewForm->Handle(), GWL_STYLE) & WS_CHILD);
  EXPECT_FALSE(F->PreviewForm->Enabled());
  EXPECT_TRUE(F->PreviewForm->Visible());
  EXPECT_EQ(F->PreviewForm->Caption(), "Preview");
  EXPECT_EQ(F->PreviewBSF->Owner(), F->PreviewForm);
  EXPECT_EQ(F->PreviewBSF->SkinData(), F->PreviewSkinData);
  EXPECT_TRUE(F->PreviewBSF->PreviewMode());
  EXPECT_EQ(F->PreviewSkinData->Owner(), F.get());
  EXPECT_EQ(F->PreviewSkinData->ResourceStrData(), nullptr);
  EXPECT_EQ(F->PreviewButton->Owner(), F.get());
  EXPECT_EQ(F->PreviewButton->Parent(), F->PreviewForm);
  EXPECT_EQ(F->PreviewButton->Left(), 20);
  EXPECT_EQ(F->PreviewButton->Top(), 20);
  EXPECT_EQ(F->PreviewButton->Width(), 100);
  EXPECT_EQ(F->PreviewButton->Caption(), "Button");
  EXPECT_EQ(F->PreviewButton->SkinData(), F->PreviewSkinData);
  EXPECT_EQ(F->BSF->Owner(), F.get());
  EXPECT_EQ(F->PreviewMessage->Parent(), F->PreviewForm);
  EXPECT_FALSE(F->PreviewMessage->Visible()) << "shown only for a skin that cannot be read";
  EXPECT_EQ(F->PreviewMessage->Caption(), "The skin cannot be read");

  struct {
    TbsSkinButton* B;
    TRect Bounds;
    const char* Caption;
    TModalResult Result;
    bool Default, Cancel;
  } Buttons[] = {{F->OpenButton, Bounds(260, 200, 70, 25), "OK", mrOk, true, false},
                 {F->CancelButton, Bounds(340, 200, 70, 25), "Cancel", mrCancel, false, true}};
  for (const auto& C : Buttons) {
    EXPECT_EQ(C.B->Parent(), F.get());
    EXPECT_EQ(C.B->BoundsRect(), C.Bounds) << C.Caption;
    EXPECT_EQ(C.B->DefaultHeight(), 25);
    EXPECT_EQ(C.B->Caption(), C.Caption);
    EXPECT_EQ(C.B->ModalResult(), C.Result);
    EXPECT_EQ(C.B->Default(), C.Default);
    EXPECT_EQ(C.B->Cancel(), C.Cancel);
    EXPECT_TRUE(C.B->CanFocused());
    EXPECT_TRUE(C.B->Enabled());
  }

  // With a string table every text comes from it, a missing key as an empty text, and the table
  // becomes the preview skin's.
  TbsResourceStrData Strings(nullptr);
  TStringList Lines;
  for (const char* S : {"MSG_PREVIEWSKIN=预览", "MSG_BTN_OK=确定", "MSG_BTN_CANCEL=取消"}) Lines.Add(S);
  Strings.SetResStrings(&Lines);
  TbsSkinData Controls(nullptr);
  Controls.SetResourceStrData(&Strings);
  F.reset(TbsSelectSkinDlgForm::CreateEx2(Application, List.get(), 0, &Controls));
  EXPECT_EQ(F->PreviewForm->Caption(), "预览");
  EXPECT_EQ(F->PreviewButton->Caption(), "");
  EXPECT_EQ(F->OpenButton->Caption(), "确定");
  EXPECT_EQ(F->CancelButton->Caption(), "取消");
  EXPECT_EQ(F->PreviewSkinData->ResourceStrData(), &Strings);
  EXPECT_EQ(F->PreviewMessage->Caption(), "The skin cannot be read") << "never an empty warning";
  Lines.Add("MSG_SKINDAMAGED=皮肤文件已损坏");
  Strings.SetResStrings(&Lines);
  F.reset(TbsSelectSkinDlgForm::CreateEx2(Application, List.get(), 0, &Controls));
  EXPECT_EQ(F->PreviewMessage->Caption(), "皮肤文件已损坏");
}

TEST_F(SelectSkinDialogTest, HandsItsSettingsToTheForm) {
  AddThreeSkins();
  TbsSkinData Controls(nullptr);
  BuildGeneratedSkin(&Controls);
  Dialog->SetCtrlSkinData(&Controls);
  Dialog->SetTitle("选择皮肤");
  Dialog->SetAlphaBlend(true);
  Dialog->SetAlphaBlendAnimation(true);
  Dialog->SetAlphaBlendValue(150);
  Dialog->DefaultFont()->SetName("Arial");
  Dialog->DefaultFont()->SetHeight(14);
  wintest::OnNextModalLoop([&] {
    TbsSelectSkinDlgForm* F = Form();
    EXPECT_EQ(F->Caption(), "选择皮肤");
    EXPECT_TRUE(F->BSF->BorderIcons().Empty());
    EXPECT_EQ(F->BSF->SkinData(), Skin.get());
    EXPECT_EQ(F->BSF->MenusSkinData(), &Controls);
    EXPECT_TRUE(F->BSF->AlphaBlend());
    EXPECT_TRUE(F->BSF->AlphaBlendAnimation());
    EXPECT_EQ(F->BSF->AlphaBlendValue(), 150);
    for (TbsSkinCustomControl* C :
         std::initializer_list<TbsSkinCustomControl*>{F->OpenButton, F->CancelButton, F->SkinsListBox}) {
      EXPECT_EQ(C->SkinData(), &Controls) << C->Name();
      EXPECT_EQ(C->DefaultFont()->Name(), "Arial") << C->Name();
      EXPECT_EQ(C->DefaultFont()->Height(), 14) << C->Name();
    }
    EXPECT_EQ(F->PreviewButton->SkinData(), F->PreviewSkinData) << "the sample keeps the preview skin";
    wintest::KeyPress(VK_ESCAPE);
  });
  EXPECT_FALSE(Dialog->Execute(0));
}

TEST_F(SelectSkinDialogTest, ClientSizeIsTheDefaultRaisedToTheSkinsMinimum) {
  AddThreeSkins();
  struct {
    const char* Name;
    bool WithSkin;
    Integer MinW, MinH;
    Integer W, H;
  } Cases[] = {
      {"no skin", false, 0, 0, 420, 240},
      {"a small skin minimum", true, 120, 60, 420, 240},
      {"a skin minimum of 500 x 300", true, 500, 300, 500, 300},
      {"only taller", true, 300, 280, 420, 280},
  };
  for (const auto& C : Cases) {
    Skin->FormMinWidth = C.MinW;
    Skin->FormMinHeight = C.MinH;
    Dialog->SetSkinData(C.WithSkin ? Skin.get() : nullptr);
    Integer W = 0, H = 0;
    wintest::OnNextModalLoop([&] {
      W = Form()->ClientWidth();
      H = Form()->ClientHeight();
      wintest::KeyPress(VK_ESCAPE);
    });
    Dialog->Execute(0);
    EXPECT_EQ(W, C.W) << C.Name;
    EXPECT_EQ(H, C.H) << C.Name;
  }
  // An empty skin counts as none.
  TbsSkinData Empty(nullptr);
  Dialog->SetSkinData(&Empty);
  Integer W = 0;
  wintest::OnNextModalLoop([&] {
    W = Form()->ClientWidth();
    wintest::KeyPress(VK_ESCAPE);
  });
  Dialog->Execute(0);
  EXPECT_EQ(W, 420);
}

TEST_F(SelectSkinDialogTest, WithoutASkinListNothingIsShown) {
  Dialog->SetSkinList(nullptr);
  const Integer Forms = Screen->FormCount();
  EXPECT_FALSE(Dialog->Execute(0));
  EXPECT_EQ(Screen->FormCount(), Forms);
  EXPECT_EQ(LiveForms(), 0);
  // A list that goes clears the reference, and Execute then refuses again.
  AddThreeSkins();
  Dialog->SetSkinList(List.get());
  List.reset();
  EXPECT_EQ(Dialog->SkinList(), nullptr);
  EXPECT_FALSE(Dialog->Execute(0));
}

TEST_F(SelectSkinDialogTest, AStartIndexOutsideTheListSelectsNothing) {
  AddThreeSkins();
  for (Integer Start : {5, -1}) {
    wintest::OnNextModalLoop([&] {
      EXPECT_EQ(Form()->SkinsListBox->ItemIndex(), -1);
      EXPECT_TRUE(Preview()->Empty) << "the preview keeps the empty skin";
      EXPECT_TRUE(Form()->OpenButton->Enabled());
      ClickButton(Form()->OpenButton);
    });
    EXPECT_TRUE(Dialog->Execute(Start));
    EXPECT_EQ(Dialog->SelectedSkinIndex(), Start) << "OK reports the start index unchanged";
  }
  // A click on an entry then loads it.
  wintest::OnNextModalLoop([&] {
    ClickEntry(0);
    EXPECT_EQ(PreviewName(), "Blue");
    wintest::KeyPress(VK_RETURN);
  });
  EXPECT_TRUE(Dialog->Execute(5));
  EXPECT_EQ(Dialog->SelectedSkinIndex(), 0);
}

TEST_F(SelectSkinDialogTest, StoredSkinsOfTheOwner) {
  TForm* Owner = NewForm();
  auto* Dark = new TbsCompressedStoredSkin(Owner);
  Dark->SetName("DarkSkin");
  Dark->SetDescription("深色");
  StoreVariantSkin(Dark, "Dark", clBlack);
  new TbsSkinData(Owner);  // not a stored skin: not listed
  auto* Light = new TbsCompressedStoredSkin(Owner);
  Light->SetName("LightSkin");
  StoreVariantSkin(Light, "Light", clWhite);
  auto* Warm = new TbsCompressedStoredSkin(Owner);
  Warm->SetName("WarmSkin");
  Warm->SetDescription("暖色");
  StoreVariantSkin(Warm, "Warm", clMaroon);
  auto* D = new TbsSelectSkinDialog(Owner);
  D->SetSkinData(Skin.get());

  wintest::OnNextModalLoop([&] {
    TbsSelectSkinDlgForm* F = D->DlgFrm();
    EXPECT_EQ(F->FCSkinList, nullptr);
    EXPECT_EQ(F->FCSkinIndex, -1);
    TStrings* Items = F->SkinsListBox->Items();
    ASSERT_EQ(Items->Count(), 3);
    EXPECT_EQ(Items->Strings(0), "深色");
    EXPECT_EQ(Items->Strings(1), "LightSkin");
    EXPECT_EQ(Items->Strings(2), "暖色");
    ASSERT_NE(F->SkinList, nullptr);
    EXPECT_EQ(F->SkinList->Items(2), Warm);
    EXPECT_EQ(F->SkinsListBox->ItemIndex(), 1);
    EXPECT_EQ(F->PreviewSkinData->SkinName, "Light");
    EXPECT_EQ(F->SelectedSkin(), Light);
    Dialog.reset();  // keep the fixture's own dialog out of the owner search
    ClickEntry(2, F);
    EXPECT_EQ(F->PreviewSkinData->SkinName, "Warm");
    wintest::KeyPress(VK_RETURN);
  });
  EXPECT_TRUE(D->Execute(Light));
  EXPECT_EQ(D->SelectedSkin(), Warm);
  EXPECT_EQ(D->SelectedSkinIndex(), -1);

  // A default that is not among them starts at the first; cancel clears the result.
  wintest::OnNextModalLoop([&] {
    EXPECT_EQ(D->DlgFrm()->SkinsListBox->ItemIndex(), 0);
    EXPECT_EQ(D->DlgFrm()->PreviewSkinData->SkinName, "Dark");
    wintest::KeyPress(VK_ESCAPE);
  });
  EXPECT_FALSE(D->Execute(nullptr));
  EXPECT_EQ(D->SelectedSkin(), nullptr);

  // A chosen skin that goes is no longer reported.
  wintest::OnNextModalLoop([&] { wintest::KeyPress(VK_RETURN); });
  EXPECT_TRUE(D->Execute(Dark));
  EXPECT_EQ(D->SelectedSkin(), Dark);
  delete Dark;
  EXPECT_EQ(D->SelectedSkin(), nullptr);
}

TEST_F(SelectSkinDialogTest, StoredSkinsWithoutAnyToOffer) {
  TForm* Owner = NewForm();
  auto* WithOwner = new TbsSelectSkinDialog(Owner);
  TbsSelectSkinDialog NoOwner(nullptr);
  for (TbsSelectSkinDialog* D : {WithOwner, &NoOwner}) {
    wintest::OnNextModalLoop([&] {
      EXPECT_EQ(D->DlgFrm()->SkinsListBox->Items()->Count(), 0);
      EXPECT_TRUE(D->DlgFrm()->PreviewSkinData->Empty);
      wintest::KeyPress(VK_RETURN);
    });
    EXPECT_TRUE(D->Execute(nullptr));
    EXPECT_EQ(D->SelectedSkin(), nullptr);
  }
}

// A damaged skin in the list: the preview shows no skin and says so, the entry cannot be accepted,
// and the caller's skin is never touched; a good entry afterwards works as before.
TEST_F(SelectSkinDialogTest, ADamagedSkinShowsNoPreviewAndCannotBeChosen) {
  AddThreeSkins();
  StoreDamagedSkin(List->Skins()->Add()->Skin(), TDamage::NotCompressed);  // 3
  StoreDamagedSkin(List->Skins()->Add()->Skin(), TDamage::CutPayload);     // 4
  List->Skins()->Add();                                                    // 5: no skin data at all
  StoreDamagedSkin(List->Skins()->Add()->Skin(), TDamage::DamagedFile);    // 6
  ASSERT_FALSE(List->Skins()->GetItem(6)->Skin()->Empty()) << "the damage shows only when read";
  for (Integer Bad : {3, 4, 5, 6}) {
    bool Checked = false;
    wintest::OnNextModalLoop([&] {
      TbsSelectSkinDlgForm* F = Form();
      ClickEntry(Bad);
      EXPECT_TRUE(F->PreviewDamaged()) << Bad;
      EXPECT_TRUE(Preview()->Empty) << "no preview, not the last skin: " << Bad;
      EXPECT_EQ(F->PreviewForm->Caption(), "Preview");
      EXPECT_TRUE(F->PreviewMessage->Visible());
      EXPECT_EQ(F->PreviewMessage->Caption(), "The skin cannot be read");
      EXPECT_FALSE(F->PreviewButton->Visible());
      EXPECT_FALSE(F->OpenButton->Enabled());
      // Neither Enter, a double click nor the OK button accepts it.
      Press(VK_RETURN);
      DoubleClickEntry(Bad);
      ClickButton(F->OpenButton);
      ASSERT_EQ(Form(), F) << "the dialog is still open";
      // Clicking it again changes nothing; a good entry brings the preview back.
      ClickEntry(Bad);
      EXPECT_TRUE(F->PreviewDamaged());
      ClickEntry(0);
      EXPECT_EQ(PreviewName(), "Blue");
      EXPECT_FALSE(F->PreviewDamaged());
      EXPECT_FALSE(F->PreviewMessage->Visible());
      EXPECT_TRUE(F->PreviewButton->Visible());
      EXPECT_TRUE(F->OpenButton->Enabled());
      ClickEntry(Bad);
      Checked = true;
      wintest::KeyPress(VK_ESCAPE);
    });
    EXPECT_FALSE(Dialog->Execute(1)) << Bad;
    EXPECT_TRUE(Checked);
    EXPECT_EQ(Dialog->SelectedSkinIndex(), -1);
    EXPECT_EQ(Skin->SkinName, "Nerivo") << "the caller's skin stays";
    EXPECT_FALSE(Skin->Empty);
  }
  // Starting on a damaged entry: the same state from the start.
  wintest::OnNextModalLoop([&] {
    EXPECT_TRUE(Form()->PreviewDamaged());
    EXPECT_TRUE(Preview()->Empty);
    EXPECT_EQ(Form()->SkinsListBox->ItemIndex(), 4);
    ClickEntry(2);
    ClickButton(Form()->OpenButton);
  });
  EXPECT_TRUE(Dialog->Execute(4));
  EXPECT_EQ(Dialog->SelectedSkinIndex(), 2);
}

TEST_F(SelectSkinDialogTest, ADamagedStoredSkinIsNotReported) {
  TForm* Owner = NewForm();
  auto* Good = new TbsCompressedStoredSkin(Owner);
  StoreVariantSkin(Good, "Good", clTeal);
  auto* Bad = new TbsCompressedStoredSkin(Owner);
  Bad->SetName("Bad");
  StoreDamagedSkin(Bad, TDamage::NotCompressed);
  auto* D = new TbsSelectSkinDialog(Owner);
  wintest::OnNextModalLoop([&] {
    TbsSelectSkinDlgForm* F = D->DlgFrm();
    EXPECT_TRUE(F->PreviewDamaged());
    EXPECT_TRUE(F->PreviewSkinData->Empty);
    Press(VK_RETURN);
    ASSERT_EQ(D->DlgFrm(), F);
    ClickEntry(0, F);
    EXPECT_EQ(F->PreviewSkinData->SkinName, "Good");
    wintest::KeyPress(VK_RETURN);
  });
  EXPECT_TRUE(D->Execute(Bad));
  EXPECT_EQ(D->SelectedSkin(), Good);
}

}  // namespace
