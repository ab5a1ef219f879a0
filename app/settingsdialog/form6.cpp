#include "app/settingsdialog/form6.h"

#include <array>

#include "app/formats/skinchoosers.h"
#include "app/settingsdialog/form6pictures.h"
#include "app/settingsdialog/settingscatalogue.h"
#include "app/settingsdialog/settingsroutines.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/ui/graphics/imagelist.h"
#include "platform/ui/stdctrls/button.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/pages/bsskinpagecontrol.h"
#include "skin/controls/panels/bsskinlabels.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/forms/engine/bsskinform.h"

struct TForm6::TChooserAdapters {
  explicit TChooserAdapters(TForm6& F)
      : FrameSize(F.bsSkinComboBox1),
        VideoBitrate(F.bsSkinComboBox2),
        AudioBitrate(F.bsSkinComboBox3),
        Aspect(F.bsSkinComboBox4),
        FrameRate(F.bsSkinComboBox9),
        SampleRate(F.bsSkinComboBox10) {}
  TSkinPresetChooser FrameSize, VideoBitrate, AudioBitrate, Aspect, FrameRate, SampleRate;
};

namespace {

void setFont(TFont* F, const char* Name, Integer Height, TColor Color = clWindowText) {
  F->SetName(Name);
  F->SetHeight(Height);
  F->SetColor(Color);
}

TbsSkinTextLabel* newLabel(TForm6* Owner, TWinControl* Parent, const char* Name, const char* Text,
                           Integer Left, Integer Top, Integer Width, TbsSkinData* Skin) {
  auto* L = new TbsSkinTextLabel(Owner);
  L->SetName(Name);
  L->SetParent(Parent);
  L->SetBounds(Left, Top, Width, 13);
  L->Lines()->SetText(Text);
  L->SetSkinDataName("stdlabel");
  L->SetUseSkinFont(true);
  L->SetUseSkinColor(true);
  setFont(L->Font(), "Arial", 14, clBtnText);
  setFont(L->DefaultFont(), "MS Sans Serif", -11);
  L->SetSkinData(Skin);
  return L;
}

TbsSkinTabSheet* newSheet(TForm6* Owner, TbsSkinPageControl* Pages, const char* Name, const char* Caption) {
  auto* S = new TbsSkinTabSheet(Owner);
  if (Name) S->SetName(Name);
  S->SetPageControl(Pages);
  S->SetCaption(Caption);
  return S;
}

}  // namespace

TForm6::TForm6(TComponent* AOwner, IJobParametersHost& Host) : TForm(AOwner), FHost(Host) {
  // The stored layout goes in under the loading state, so no chooser event runs on a half-built
  // window; the handlers are bound afterwards and OnCreate runs last.
  BeginLoading();
  buildWindow();
  buildUpperPanel();
  buildPages();
  buildPresetChoosers();
  buildButtons();
  buildProcedurePanel();
  EndLoading();
  FAdapters = std::make_unique<TChooserAdapters>(*this);
  bindHandlers();
  AfterConstruction();
}

TForm6::~TForm6() = default;

void TForm6::buildWindow() {
  SetName("Form6");
  SetCaption("设置选项");
  SetLeft(197);
  SetTop(218);
  SetBorderStyle(bsSingle);
  SetBorderIcons(TBorderIcons{});
  SetClientWidth(1078);
  SetClientHeight(474);
  SetPosition(poMainFormCenter);
  SetColor(clBtnFace);
  setFont(Font(), "Tahoma", -11);

  bsSkinForm1 = new TbsSkinForm(this);
  bsSkinForm1->SetName("bsSkinForm1");
  bsSkinForm1->SetBorderIcons(TbsBorderIcons{TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize,
                                             TbsBorderIcon::biMaximize, TbsBorderIcon::biRollUp});
  bsSkinForm1->SetShowIcon(false);
  bsSkinForm1->SetUseDefaultSysMenu(true);
  TFont Caption;
  setFont(&Caption, "Arial", 14, clBtnText);
  Caption.SetStyle(TFontStyles{fsBold});
  bsSkinForm1->SetDefCaptionFont(&Caption);
  Caption.SetColor(clBtnShadow);
  bsSkinForm1->SetDefInActiveCaptionFont(&Caption);
  TFont MenuItem;
  setFont(&MenuItem, "Arial", 14);
  bsSkinForm1->SetDefMenuItemFont(&MenuItem);
  bsSkinForm1->SetDefMenuItemHeight(20);
  bsSkinForm1->SetAlphaBlend(false);
  bsSkinForm1->SetAlphaBlendValue(200);
  bsSkinForm1->SetMenusAlphaBlend(false);
  bsSkinForm1->SetMenusAlphaBlendValue(200);
  bsSkinForm1->SetMagnetic(false);
  bsSkinForm1->SetMagneticSize(5);
  bsSkinForm1->SetSkinData(FHost.SkinData());

  ZUVER = new TFFmpegConverter(this);
  ZUVER->SetName("ZUVER");

  ImageList1 = new TImageList(this, 32, 32);
  ImageList1->SetName("ImageList1");
  AddCategoryIcons(ImageList1, SettingsCategoryCount);
  ImageList2 = new TImageList(this, 32, 32);
  ImageList2->SetName("ImageList2");
}

void TForm6::buildUpperPanel() {
  TbsSkinData* Skin = FHost.SkinData();
  bsSkinPanel2 = new TbsSkinPanel(this);
  bsSkinPanel2->SetName("bsSkinPanel2");
  bsSkinPanel2->SetParent(this);
  bsSkinPanel2->SetBounds(157, 20, 625, 109);
  bsSkinPanel2->SetTabOrder(0);
  bsSkinPanel2->SetSkinDataName("panel");
  bsSkinPanel2->SetBorderStyle(bvFrame);
  bsSkinPanel2->SetCaptionMode(false);
  bsSkinPanel2->SetCaption("bsSkinPanel2");
  setFont(bsSkinPanel2->DefaultFont(), "Arial", 14);
  bsSkinPanel2->SetSkinData(Skin);

  bsSkinTextLabel5 = newLabel(this, bsSkinPanel2, "bsSkinTextLabel5", "输出格式：", 17, 48, 60, Skin);

  // The two choosers differ in their list's look and font source; the rest of their layout is shared.
  struct TOfficeLook {
    Integer ItemHeight;
    const char* ListElement;
    bool TitlesAndLines;
    bool SkinFont;
  };
  auto officeChooser = [&](const char* Name, Integer Left, Integer Width, Integer TabOrder,
                           const TOfficeLook& L) {
    auto* C = new TbsSkinOfficeComboBox(this);
    C->SetName(Name);
    C->SetParent(bsSkinPanel2);
    C->SetBounds(Left, 33, Width, 51);
    C->SetTabOrder(TabOrder);
    C->SetDropDownCount(4);
    C->SetToolButtonStyle(true);
    C->SetListBoxItemHeight(L.ItemHeight);
    C->SetListBoxHeaderHeight(20);
    C->SetListBoxSkinDataName(L.ListElement);
    C->SetListBoxShowItemTitles(L.TitlesAndLines);
    C->SetListBoxShowLines(L.TitlesAndLines);
    C->SetUseSkinFont(L.SkinFont);
    setFont(C->DefaultFont(), "宋体", -12);
    C->SetListBoxUseSkinFont(L.SkinFont);
    setFont(C->ListBoxDefaultFont(), "宋体", -12);
    return C;
  };

  bsSkinOfficeComboBox2 =
      officeChooser("bsSkinOfficeComboBox2", 83, 126, 1, {50, "resizetoolpanel", false, false});
  TbsSkinOfficeComboBox* Category = bsSkinOfficeComboBox2;
  Category->SetImages(ImageList1);
  Category->SetListBoxWidth(119);
  for (Integer i = 0; i < SettingsCategoryCount; ++i) {
    TbsSkinOfficeItem* Item = Category->Items()->Add();
    Item->SetCaption(SettingsCategoryCaptions[i]);
    Item->SetImageIndex(i);
  }
  Category->SetItemIndex(0);
  Category->SetSkinData(Skin);

  bsSkinOfficeComboBox1 = officeChooser("bsSkinOfficeComboBox1", 215, 400, 0, {60, "listbox", true, true});
  TbsSkinOfficeComboBox* Formats = bsSkinOfficeComboBox1;
  Formats->SetAlphaBlendAnimation(true);
  Formats->SetAlphaBlend(false);
  Formats->SetShowItemTitle(true);
  Formats->SetShowItemImage(true);
  Formats->SetShowItemText(true);
  Formats->SetSkinData(Skin);

  bsSkinButton1 = new TbsSkinButton(this);
  bsSkinButton1->SetName("bsSkinButton1");
  bsSkinButton1->SetParent(bsSkinPanel2);
  bsSkinButton1->SetBounds(621, 139, 55, 51);
  bsSkinButton1->SetTabOrder(2);
  bsSkinButton1->SetVisible(false);
  bsSkinButton1->SetCaption("设置");
  bsSkinButton1->SetSkinDataName("resizebutton");
}

void TForm6::buildPages() {
  bsSkinPageControl1 = new TbsSkinPageControl(this);
  TbsSkinPageControl* Pages = bsSkinPageControl1;
  Pages->SetName("bsSkinPageControl1");
  Pages->SetParent(this);
  Pages->SetBounds(38, 175, 625, 222);
  Pages->SetTabOrder(2);
  Pages->SkinDataName = "tab";
  Pages->ButtonTabSkinDataName = "resizetoolbutton";
  Pages->SetTabSpacing(1);
  Pages->SetTabsOffset(0);
  Pages->SetDefaultItemHeight(20);
  setFont(Pages->DefaultFont(), "Arial", 14, clBtnText);
  Pages->UseSkinFont = true;
  bsSkinTabSheet1 = newSheet(this, Pages, "bsSkinTabSheet1", "标准参数设置");
  bsSkinTabSheet2 = newSheet(this, Pages, "bsSkinTabSheet2", "剪辑设置");
  // The stored name of this page is its caption, which is no identifier of our component names.
  滤镜设置 = newSheet(this, Pages, nullptr, "滤镜设置");
  bsSkinTabSheet3 = newSheet(this, Pages, "bsSkinTabSheet3", "文字水印");
  Pages->SetActivePage(bsSkinTabSheet1);
  Pages->SetSkinData(FHost.SkinData());
}

void TForm6::buildPresetChoosers() {
  TbsSkinData* Skin = FHost.SkinData();
  TbsSkinTabSheet* Sheet = bsSkinTabSheet1;
  auto chooser = [&](const char* Name, Integer Left, Integer Top, Integer Width, Integer TabOrder) {
    auto* C = new TbsSkinComboBox(this);
    C->SetName(Name);
    C->SetParent(Sheet);
    C->SetBounds(Left, Top, Width, 20);
    C->SetTabOrder(TabOrder);
    C->SetStyle(bscbFixedStyle);
    C->SetItemIndex(-1);
    C->SetDropDownCount(8);
    C->SetSkinDataName("combobox");
    setFont(C->DefaultFont(), "Arial", 14);
    setFont(C->ListBoxDefaultFont(), "Arial", 14);
    C->SetListBoxDefaultItemHeight(20);
    C->SetSkinData(Skin);
    return C;
  };
  bsSkinTextLabel3 = newLabel(this, Sheet, "bsSkinTextLabel3", "视频分辨率：", 19, 24, 72, Skin);
  bsSkinComboBox1 = chooser("bsSkinComboBox1", 16, 43, 289, 0);
  bsSkinTextLabel2 = newLabel(this, Sheet, "bsSkinTextLabel2", "视频比特率：", 342, 24, 72, Skin);
  bsSkinTextLabel6 = newLabel(this, Sheet, "bsSkinTextLabel6", "视频帧率：", 16, 69, 60, Skin);
  bsSkinComboBox2 = chooser("bsSkinComboBox2", 342, 43, 251, 1);
  bsSkinComboBox9 = chooser("bsSkinComboBox9", 14, 88, 291, 2);
  bsSkinTextLabel4 = newLabel(this, Sheet, "bsSkinTextLabel4", "音频比特率：", 16, 114, 72, Skin);
  bsSkinTextLabel7 = newLabel(this, Sheet, "bsSkinTextLabel7", "音频采样率：", 342, 114, 72, Skin);
  bsSkinComboBox3 = chooser("bsSkinComboBox3", 16, 133, 289, 3);
  bsSkinComboBox10 = chooser("bsSkinComboBox10", 342, 133, 251, 4);
  bsSkinTextLabel9 = newLabel(this, Sheet, "bsSkinTextLabel9", "视频缩放：", 342, 69, 60, Skin);
  bsSkinComboBox4 = chooser("bsSkinComboBox4", 342, 88, 251, 5);
}

void TForm6::buildButtons() {
  auto button = [&](const char* Name, const char* Caption, Integer Left, Integer TabOrder) {
    auto* B = new TbsSkinButton(this);
    B->SetName(Name);
    B->SetParent(this);
    B->SetBounds(Left, 416, 69, 25);
    B->SetTabOrder(TabOrder);
    B->SetCaption(Caption);
    B->SetSkinDataName("button");
    B->SetUseSkinFont(false);
    setFont(B->DefaultFont(), "宋体", -12);
    B->SetDefaultHeight(25);
    B->SetSpacing(10);
    B->SetSkinData(FHost.SkinData());
    return B;
  };
  bsSkinButton3 = button("bsSkinButton3", "取消", 594, 3);
  bsSkinButton2 = button("bsSkinButton2", "确定", 480, 4);
}

void TForm6::bindHandlers() {
  OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
  bsSkinOfficeComboBox2->OnChange = [this](TObject* Sender) { bsSkinOfficeComboBox2Change(Sender); };
  bsSkinOfficeComboBox1->OnClick = [this](TObject* Sender) { bsSkinOfficeComboBox1Click(Sender); };
  bsSkinButton2->OnClick = [this](TObject* Sender) { bsSkinButton2Click(Sender); };
  bsSkinButton3->OnClick = [this](TObject* Sender) { bsSkinButton3Click(Sender); };
  Button6->OnClick = [this](TObject* Sender) { Button6Click(Sender); };
  Button5->OnClick = [this](TObject* Sender) { Button5Click(Sender); };
  Button2->OnClick = [this](TObject* Sender) { Button2Click(Sender); };
  Button13->OnClick = [this](TObject* Sender) { Button13Click(Sender); };
  Button18->OnClick = [this](TObject* Sender) { Button18Click(Sender); };
}

TPresetChoosers TForm6::PresetChoosers() const {
  TChooserAdapters& A = *FAdapters;
  TPresetChoosers C{};
  C[psFrameSize] = &A.FrameSize;
  C[psVideoBitrate] = &A.VideoBitrate;
  C[psAudioBitrate] = &A.AudioBitrate;
  C[psAspect] = &A.Aspect;
  C[psFrameRate] = &A.FrameRate;
  C[psSampleRate] = &A.SampleRate;
  return C;
}

// ---- handlers -----------------------------------------------------------------------------------

void TForm6::FormCreate(TObject*) {
  Button2->Click();
}

void TForm6::bsSkinOfficeComboBox2Change(TObject*) {
  Button2->Click();
}

void TForm6::bsSkinOfficeComboBox1Click(TObject*) {
  Button18->Click();
}

void TForm6::bsSkinButton2Click(TObject*) {
  Button5->Click();
  Button13->Click();
  Close();
}

void TForm6::bsSkinButton3Click(TObject*) {
  Close();
}

void TForm6::Button2Click(TObject*) {
  TbsSkinOfficeComboBox* Formats = bsSkinOfficeComboBox1;
  Formats->Items()->Clear();
  Formats->Refresh();
  Formats->Repaint();
  const Integer Category = bsSkinOfficeComboBox2->ItemIndex();
  if (Category >= 0 && Category < SettingsCategoryCount) {
    for (Integer p = 0; p < SettingsFormatCount(Category); ++p) {
      TbsSkinOfficeItem* Item = Formats->Items()->Add();
      Item->SetTitle(SettingsFormatTitle(Category, p));
      Item->SetCaption(SettingsFormatDescription(Category, p));
      Item->SetImageIndex(p);
    }
    Formats->Refresh();
    Formats->Repaint();
  } else {
    // Position 0 of an empty chooser is no item; select nothing rather than raise the list's index
    // error out of the category change.
    Formats->SetItemIndex(-1);
    return;
  }
  Formats->SetItemIndex(0);
}

void TForm6::Button18Click(TObject*) {
  FillSettingsPresetChoosers(PresetChoosers(), bsSkinOfficeComboBox2->ItemIndex(),
                             bsSkinOfficeComboBox1->ItemIndex(), FHost.JobParameters());
}

void TForm6::Button13Click(TObject*) {
  ReadSettingsPresetChoosers(PresetChoosers(), FHost.JobParameters());
}

void TForm6::Button6Click(TObject*) {
  ResetJobParameters(FHost.JobParameters());
}

void TForm6::Button5Click(TObject*) {
  ApplySettingsFormatParameters(FHost.JobParameters(), bsSkinOfficeComboBox2->ItemIndex(),
                                bsSkinOfficeComboBox1->ItemIndex(), FHost.OutputFolder(),
                                FHost.OverwriteOutput());
}
