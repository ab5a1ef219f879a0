#include "app/settingsdialog/form6.h"

#include <gtest/gtest.h>

#include "app/settingsdialog/settingscatalogue.h"
#include "app/settingsdialog/testkit/settingshost.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/graphics/imagelist.h"
#include "platform/ui/graphics/picture.h"
#include "platform/ui/graphics/pngimage.h"
#include "platform/ui/stdctrls/button.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/pages/bsskinpagecontrol.h"
#include "skin/controls/panels/bsskinlabels.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class SettingsDialog : public TSkinControlTest {
 protected:
  TForm6* create() {
    Host = std::make_unique<settingstest::TJobParametersHost>(P, Skin.get(), "/out");
    Form6 = new TForm6(Application, *Host);
    return Form6;
  }
  // The texts the six choosers show, in TPresetSlot order.
  std::vector<String> shown() const {
    std::vector<String> T;
    for (IPresetChooser* C : Form6->PresetChoosers()) T.push_back(C->Text());
    return T;
  }
  // What the fill of a code shows, in TPresetSlot order.
  static std::vector<String> defaultsOf(Integer Code) {
    const TPresetRow& Row = *FindSettingsPresetRow(Code);
    std::vector<String> T;
    for (Integer s = 0; s < PresetSlotCount; ++s) {
      const TPresetList& L = PresetListOf(Row, TPresetSlot(s));
      T.push_back(L.Entries[Row.Choices[s].Default]);
    }
    return T;
  }
  void expectCategory(Integer Category) {
    TbsSkinOfficeItems* Items = Form6->bsSkinOfficeComboBox1->Items();
    ASSERT_EQ(Items->Count(), SettingsFormatCount(Category));
    for (Integer p = 0; p < Items->Count(); ++p) {
      EXPECT_EQ(Items->Items(p)->Title(), SettingsFormatTitle(Category, p)) << p;
      EXPECT_EQ(Items->Items(p)->Caption(), SettingsFormatDescription(Category, p)) << p;
    }
    EXPECT_EQ(Form6->bsSkinOfficeComboBox1->ItemIndex(), 0);
  }
  TJobParameters P;
  std::unique_ptr<settingstest::TJobParametersHost> Host;
  TForm6* Form6 = nullptr;
};

TEST_F(SettingsDialog, CreationFillsTheFirstCategoryAndStoresCode100WithoutShowing) {
  P.All_Trant_Number = 7;
  P.Video_DisableVideo = true;
  create();
  EXPECT_FALSE(Form6->Visible());
  EXPECT_EQ(Form6->Caption(), "设置选项");
  EXPECT_EQ(Form6->ClientWidth(), 1078);
  EXPECT_EQ(Form6->ClientHeight(), 474);
  EXPECT_EQ(P.All_Trant_Number, 100);
  EXPECT_FALSE(P.Video_DisableVideo);
  expectCategory(0);
  EXPECT_EQ(Form6->bsSkinOfficeComboBox1->Items()->Items(0)->Title(), "AVI - 音频视频交错格式(*.avi)");
  EXPECT_EQ(shown(), defaultsOf(100));
  EXPECT_EQ(Form6->bsSkinComboBox1->Items()->Count(), PresetListOf(*FindPresetRow(100), psFrameSize).Count)
      << "filled once";

  TbsSkinOfficeComboBox* Category = Form6->bsSkinOfficeComboBox2;
  ASSERT_EQ(Category->Items()->Count(), 12);
  EXPECT_EQ(Category->ItemIndex(), 0);
  EXPECT_EQ(Category->Items()->Items(6)->Caption(), "3GP视频");
  EXPECT_EQ(Category->Items()->Items(11)->ImageIndex(), 11);
  EXPECT_EQ(Category->Images(), Form6->ImageList1);
  EXPECT_EQ(Form6->ImageList1->Count(), 12);
  EXPECT_EQ(Form6->ImageList2->Count(), 0);

  TbsSkinPageControl* Pages = Form6->bsSkinPageControl1;
  ASSERT_EQ(Pages->PageCount(), 4);
  EXPECT_EQ(Pages->ActivePage(), Form6->bsSkinTabSheet1);
  EXPECT_EQ(Pages->Pages(2), Form6->滤镜设置);
  EXPECT_EQ(Form6->滤镜设置->Caption(), "滤镜设置");
  EXPECT_EQ(Form6->bsSkinComboBox9->Parent(), Form6->bsSkinTabSheet1);
  EXPECT_EQ(Form6->bsSkinTextLabel9->Lines()->Text(), "视频缩放：\n");
  EXPECT_EQ(Form6->bsSkinButton2->Caption(), "确定");
  EXPECT_FALSE(Form6->bsSkinButton1->Visible());
  EXPECT_EQ(Form6->Button18->Caption(), "根据combox添加预设选项");
  EXPECT_EQ(Form6->ZUVER->Owner(), Form6);
  EXPECT_EQ(Form6->ZUVER->CustomMaxFiles(), 20);
  auto* Picture = dynamic_cast<TPngImage*>(Form6->Image1->Picture()->Graphic());
  ASSERT_NE(Picture, nullptr);
  EXPECT_EQ(Picture->Width(), 128);
  EXPECT_EQ(Picture->Height(), 128);
  EXPECT_EQ(Picture->AlphaAt(0, 0), 0) << "transparent around the drawing";
  EXPECT_EQ(Picture->AlphaAt(20, 80), 255) << "the folder";

  const std::vector<TWinControl*> WindowTabs = {
      Form6->bsSkinPanel2, dynamic_cast<TWinControl*>(Form6->FindComponent("Panel1")),
      Form6->bsSkinPageControl1, Form6->bsSkinButton3, Form6->bsSkinButton2};
  for (Integer i = 0; i < Integer(WindowTabs.size()); ++i) EXPECT_EQ(WindowTabs[i]->TabOrder(), i);
  EXPECT_EQ(Form6->bsSkinOfficeComboBox1->TabOrder(), 0);
  EXPECT_EQ(Form6->bsSkinOfficeComboBox2->TabOrder(), 1);
  EXPECT_EQ(Form6->bsSkinComboBox4->TabOrder(), 5);
  EXPECT_EQ(Form6->Button18->TabOrder(), 6);
}

TEST_F(SettingsDialog, PickingACategoryRefillsTheFormatsWithTheirDescriptionsAndRunsThePresetLists) {
  create();
  for (Integer Category : {2, 2, 6, 1, 11, 0}) {
    SCOPED_TRACE(Category);
    Form6->bsSkinOfficeComboBox2->SetItemIndex(Category);
    expectCategory(Category);
    EXPECT_EQ(P.All_Trant_Number, SettingsFormatCode(Category, 0));
    EXPECT_EQ(shown(), defaultsOf(SettingsFormatCode(Category, 0)));
    EXPECT_EQ(Form6->bsSkinComboBox1->Enabled(), Category != 1);
  }
  // Picking a format runs the preset lists for it.
  Form6->bsSkinOfficeComboBox2->SetItemIndex(6);
  Form6->bsSkinOfficeComboBox1->SetItemIndex(8);
  EXPECT_EQ(P.All_Trant_Number, 708);
  EXPECT_FALSE(Form6->bsSkinComboBox2->Enabled());
  EXPECT_EQ(Form6->bsSkinComboBox3->Items()->Count(), 8);
}

TEST_F(SettingsDialog, NoCategoryLeavesTheFormatChooserEmptyWithoutAnError) {
  create();
  EXPECT_NO_THROW(Form6->bsSkinOfficeComboBox2->SetItemIndex(-1));
  EXPECT_EQ(Form6->bsSkinOfficeComboBox1->Items()->Count(), 0);
  EXPECT_EQ(Form6->bsSkinOfficeComboBox1->ItemIndex(), -1);
  EXPECT_EQ(P.All_Trant_Number, -1);
  EXPECT_EQ(Form6->bsSkinComboBox1->Items()->Count(), 0);
  EXPECT_TRUE(Form6->bsSkinComboBox1->Enabled());
}

TEST_F(SettingsDialog, OkAppliesTheFormatThenTheChooserTextsAndCloses) {
  create();
  P.Video_AddFileName = "/films/a.mkv";
  Form6->bsSkinOfficeComboBox2->SetItemIndex(6);
  Form6->bsSkinOfficeComboBox1->SetItemIndex(2);  // 702
  Form6->bsSkinComboBox3->SetItemIndex(1);        // "6 kbps"
  Form6->Show();
  Form6->bsSkinButton2->Click();
  EXPECT_FALSE(Form6->Visible());
  EXPECT_EQ(P.All_Trant_Number, 702);
  EXPECT_EQ(P.Video_FileExt, ".3gp");
  EXPECT_EQ(P.Video_AudioCodec, "libamr_nb");
  EXPECT_EQ(P.Video_OutPutFileName, "/out/a.3gp");
  EXPECT_EQ(P.Video_AudioBitrate, 6000) << "the chooser's text over the row's 12000";
}

TEST_F(SettingsDialog, OkWithAnAudioTextThatFailsStaysOpenWithWhatWasWritten) {
  create();
  P.Video_AddFileName = "/films/a.mkv";
  Form6->bsSkinComboBox3->Items()->Add("abc kbps");
  Form6->bsSkinComboBox3->SetItemIndex(Form6->bsSkinComboBox3->Items()->Count() - 1);
  Form6->bsSkinComboBox1->SetItemIndex(0);
  Form6->Show();
  EXPECT_THROW(Form6->bsSkinButton2->Click(), EConvertError);
  EXPECT_TRUE(Form6->Visible());
  TJobParameters Want;
  Want.Video_AddFileName = "/films/a.mkv";
  ApplyParameterRow(*FindSettingsParameterRow(100), Want);
  Want.All_Trant_Number = 100;
  Want.Video_OutPutFileName = "/out/a.avi";
  Want.Video_FrameSize =
      Form6->bsSkinComboBox1->Text() == "保持原分辨率" ? "" : Form6->bsSkinComboBox1->Text();
  Want.Video_FrameRate =
      Form6->bsSkinComboBox9->Text() == "保持原帧速率" ? "" : Form6->bsSkinComboBox9->Text();
  Want.Video_AudioSampleRate = Form6->bsSkinComboBox10->Text();
  EXPECT_EQ(P, Want);

  // Cancel closes it and changes nothing.
  const TJobParameters Before = P;
  Form6->bsSkinButton3->Click();
  EXPECT_FALSE(Form6->Visible());
  EXPECT_EQ(P, Before);
}

TEST_F(SettingsDialog, ProcedureButtonsRunTheirRoutines) {
  create();
  P.Video_AddFileName = "/films/a.mkv";
  Form6->Button5->Click();
  EXPECT_EQ(P.Video_VideoCodec, "mpeg4");
  P.Video_TimeStart = 12;
  Form6->Button6->Click();
  TJobParameters Want;
  Want.Video_AddFileName = "/films/a.mkv";
  Want.All_Trant_Number = 100;
  EXPECT_EQ(P, Want);
  Form6->Button7->Click();  // no handler
  Form6->Button11->Click();
  EXPECT_EQ(P, Want);
  Form6->Button13->Click();
  EXPECT_EQ(P.Video_VideoBitrate, 816000);
}

}  // namespace
