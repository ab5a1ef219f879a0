#include "app/main/mainform/mainform.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>

#include "app/formats/formattables.h"
#include "app/formats/presets.h"
#include "app/formats/skinchoosers.h"
#include "app/main/mainform/makecontrol.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/dynlib.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/imagelist.h"
#include "platform/ui/graphics/picture.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/stdctrls/checkbox.h"
#include "platform/ui/stdctrls/combobox.h"
#include "platform/ui/stdctrls/memo.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/boxes/office/bsskinofficeitems.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/controls/views/bsskinlistview.h"
#include "skin/core/bspngimagelist.h"
#include "skin/core/bsskindata.h"
#include "skin/dialogs/bsskinmessage.h"
#include "skin/dialogs/bsskinopendialog.h"
#include "skin/dialogs/bsskinselectdirectorydialog.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/menubar/bsskinmainmenubar.h"
#include "skin/menus/bsskinmenu.h"

namespace {

constexpr Integer ClientW = 826;
constexpr Integer ClientH = 489;
constexpr Integer Margin = 8;
constexpr Integer MenuBarH = 24;
constexpr Integer ToolBarTop = 24;
constexpr Integer ToolBarH = 69;
constexpr Integer ToolButtonW = 56;
constexpr Integer ToolButtonH = 56;
constexpr Integer LeftW = 576;
constexpr Integer RightLeft = 592;
constexpr Integer RightW = 226;
constexpr Integer ListTop = 101;
constexpr Integer ListH = 252;
constexpr Integer IconButton = 28;
constexpr Integer FormatTop = 393;
constexpr Integer FormatH = 36;
constexpr Integer FolderTop = 437;
constexpr Integer FolderH = 44;
constexpr Integer ComboH = 26;
constexpr Integer ButtonH = 28;
constexpr Integer CommandH = 40;
constexpr Integer CategoryW = 170;
constexpr Integer JobRowHeight = 24;
// The choosers' pictures: one per family code, drawn for the 26-px choosers.
constexpr Integer ChooserPictureSize = 20;
constexpr Integer FamilyPictureCount = 24;

// A glyph picture of the product, beside the skin: <skin folder>/glyphs/<name>-24[-disabled].png.
String GlyphFile(const String& SkinFolder, const char* Name, bool Disabled) {
  return SkinFolder + "glyphs/" + Name + "-24" + (Disabled ? "-disabled" : "") + ".png";
}

bool LoadGlyph(const String& File, TBitmap& Into) {
  if (!FileExists(File)) return false;
  TPicture P;
  P.LoadFromFile(File);
  Into.Assign(P.Graphic());
  return !Into.Empty();
}

}  // namespace

TForm1* Form1 = nullptr;
TForm5* Form5 = nullptr;
TForm* Form6 = nullptr;

String ProductSkinFile() {
  return ProgramDir() + "skin/nerivo.skn";
}

TForm1::TForm1(TComponent* AOwner, const TOptionFile& AOptionFile, const String& ASkinFile)
    : TForm(AOwner), FOptionFile(AOptionFile), FSkinFile(ASkinFile) {
  createComponents();
  createMenus();
  createControls();
  createHiddenPanels();
  createPresetChoosers();
  createJobControls();
  createBatchControls();
  createPreviewControls();
  createMenuControls();
  createPresetControls();
  BeginLoading();
  setStoredValues();
  layOut();
  EndLoading();
  placeFolderLabel();
  loadGlyphs();
  bindHandlers();
}

TForm1::~TForm1() = default;

void TForm1::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FOptionsDialog) {
    FOptionsDialog = nullptr;
    FConversionOptions = nullptr;
  }
  if (Operation == opRemove && AComponent == FPresetDialogComponent) SetPresetDialog(nullptr);
}

void TForm1::createComponents() {
  SetName("Form1");
  bsSkinData1 = new TbsSkinData(this);
  bsSkinData1->SetName("bsSkinData1");
  bsSkinForm1 = new TbsSkinForm(this);
  bsSkinForm1->SetName("bsSkinForm1");
  ZUVER = new TFFmpegConverter(this);
  ZUVER->SetName("ZUVER");
  FFLogger = GetFFLogger();
  OpenDialog1 = new TbsSkinOpenDialog(this);
  OpenDialog1->SetName("OpenDialog1");
  OpenDialog2 = new TbsSkinOpenDialog(this);
  OpenDialog2->SetName("OpenDialog2");
  for (TbsSkinOpenDialog* D : {OpenDialog1, OpenDialog2}) {
    D->SetTitle("打开文件");
    D->SetFilterIndex(1);
    D->SetCheckFileExists(true);
  }
  OpenDialog2->SetMultiSelection(true);
  bsSkinSelectDirectoryDialog1 = new TbsSkinSelectDirectoryDialog(this);
  bsSkinSelectDirectoryDialog1->SetName("bsSkinSelectDirectoryDialog1");
  bsSkinSelectDirectoryDialog2 = new TbsSkinSelectDirectoryDialog(this);
  bsSkinSelectDirectoryDialog2->SetName("bsSkinSelectDirectoryDialog2");
  bsSkinSelectDirectoryDialog2->SetTitle("选择输出目录");
  bsSkinMessage1 = new TbsSkinMessage(this);
  bsSkinMessage1->SetName("bsSkinMessage1");
  bsPngImageList5 = new TbsPngImageList(this);
  bsPngImageList5->SetName("bsPngImageList5");
  bsPngImageList3 = new TbsPngImageList(this);
  bsPngImageList3->SetName("bsPngImageList3");
}

void TForm1::createMenus() {
  MainMenu1 = new TbsSkinMainMenu(this);
  MainMenu1->SetName("MainMenu1");
  auto add = [this](TMenuItem* Parent, const char* Name, const char* Caption) {
    auto* I = new TMenuItem(this);
    if (Name != nullptr) I->SetName(Name);
    I->SetCaption(Caption);
    Parent->Add(I);
    return I;
  };
  // The menu titles carry names of their own: N3 and N4 are items of the file menu.
  TMenuItem* File = add(MainMenu1->Items(), "N1", "文件");
  Item111 = add(File, "Item111", "添加一个文件");
  Item121 = add(File, "Item121", "添加多个文件");
  N21 = add(File, "N21", "添加整个目录");
  N3 = add(File, "N3", "-");
  N4 = add(File, "N4", "退出");
  TMenuItem* Edit = add(MainMenu1->Items(), "N2", "编辑");
  N111 = add(Edit, "N111", "上移文件");
  N2221 = add(Edit, "N2221", "下移文件");
  N12 = add(Edit, "N12", "-");
  N13 = add(Edit, "N13", "删除选择");
  N14 = add(Edit, "N14", "清空文件");
  N25 = add(Edit, "N25", "-");
  N26 = add(Edit, "N26", "重新命名");
  TMenuItem* Action = add(MainMenu1->Items(), "N6", "动作");
  N7 = add(Action, "N7", "开始转换");
  N8 = add(Action, "N8", "停止转换");
  N9 = add(Action, "N9", "-");
  N10 = add(Action, "N10", "暂停转换");
  N11 = add(Action, "N11", "继续继续");
  N23 = add(Action, "N23", "-");
  N24 = add(Action, "N24", "转换选项");
  TMenuItem* Help = add(MainMenu1->Items(), "N17", "帮助");
  N15 = add(Help, "N15", "帮助系统");
  N15->SetShortCut(ShortCut(VK_F1, {}));
  N16 = add(Help, "N16", "-");
  N19 = add(Help, "N19", "官方网站");
  EMAIL1 = add(Help, "EMAIL1", "联系邮箱");
  N5 = add(Help, "N5", "关于软件");

  bsSkinPopupMenu1 = new TbsSkinPopupMenu(this);
  bsSkinPopupMenu1->SetName("bsSkinPopupMenu1");
  N11111 = add(bsSkinPopupMenu1->Items(), "N11111", "添加一个文件");
  N2222 = add(bsSkinPopupMenu1->Items(), "N2222", "添加多个文件");
  N3331 = add(bsSkinPopupMenu1->Items(), "N3331", "添加整个目录");
}

void TForm1::createControls() {
  bsSkinMainMenuBar1 = Make<TbsSkinMainMenuBar>(this, this, "bsSkinMainMenuBar1");
  ToolBarPanel = Make<TbsSkinPanel>(this, this, "ToolBarPanel");
  bsSkinMenuSpeedButton1 = Make<TbsSkinMenuSpeedButton>(this, ToolBarPanel, "bsSkinMenuSpeedButton1");
  bsSkinButton7 = Make<TbsSkinButton>(this, ToolBarPanel, "bsSkinButton7");
  bsSkinButton8 = Make<TbsSkinButton>(this, ToolBarPanel, "bsSkinButton8");

  bsSkinPanel1 = Make<TbsSkinPanel>(this, this, "bsSkinPanel1");
  // The bars first: aligned to the panel's right and bottom, they leave the list the rest.
  bsSkinScrollBar2 = Make<TbsSkinScrollBar>(this, bsSkinPanel1, "bsSkinScrollBar2");
  bsSkinScrollBar1 = Make<TbsSkinScrollBar>(this, bsSkinPanel1, "bsSkinScrollBar1");
  lvFiles = Make<TbsSkinListView>(this, bsSkinPanel1, "lvFiles");
  bsSkinPanel5 = Make<TbsSkinPanel>(this, this, "bsSkinPanel5");
  Image1 = Make<TImage>(this, bsSkinPanel5, "Image1");
  bsSkinButton21 = Make<TbsSkinButton>(this, this, "bsSkinButton21");

  FormatPanel = Make<TbsSkinPanel>(this, this, "FormatPanel");
  bsSkinOfficeComboBox2 = Make<TbsSkinOfficeComboBox>(this, FormatPanel, "bsSkinOfficeComboBox2");
  bsSkinOfficeComboBox1 = Make<TbsSkinOfficeComboBox>(this, FormatPanel, "bsSkinOfficeComboBox1");

  bsSkinPanel2 = Make<TbsSkinPanel>(this, this, "bsSkinPanel2");
  OutputFolderLabel = Make<TbsSkinStdLabel>(this, bsSkinPanel2, "OutputFolderLabel");
  Video_OutPut_Folder_Edit = Make<TbsSkinEdit>(this, bsSkinPanel2, "Video_OutPut_Folder_Edit");
  bsSkinButton5 = Make<TbsSkinButton>(this, bsSkinPanel2, "bsSkinButton5");
  bsSkinButton6 = Make<TbsSkinButton>(this, bsSkinPanel2, "bsSkinButton6");

  CommandPanel = Make<TbsSkinPanel>(this, this, "CommandPanel");
  bsSkinButton2 = Make<TbsSkinButton>(this, CommandPanel, "bsSkinButton2");
  bsSkinButton10 = Make<TbsSkinButton>(this, CommandPanel, "bsSkinButton10");
  // Created first, so 暂停 lies above 继续.
  bsSkinButton12 = Make<TbsSkinButton>(this, CommandPanel, "bsSkinButton12");
  bsSkinButton11 = Make<TbsSkinButton>(this, CommandPanel, "bsSkinButton11");
}

void TForm1::createPresetChoosers() {
  bsSkinPanel4 = Make<TbsSkinPanel>(this, presetParent(), "bsSkinPanel4");
  const char* const ComboNames[PresetSlotCount] = {"bsSkinComboBox1", "bsSkinComboBox2", "bsSkinComboBox3",
                                                   "bsSkinComboBox4", "bsSkinComboBox9", "bsSkinComboBox10"};
  TbsSkinComboBox** Combos[PresetSlotCount] = {&bsSkinComboBox1, &bsSkinComboBox2, &bsSkinComboBox3,
                                               &bsSkinComboBox4, &bsSkinComboBox9, &bsSkinComboBox10};
  for (Integer I = 0; I < PresetSlotCount; ++I) {
    PresetLabels[I] =
        Make<TbsSkinStdLabel>(this, bsSkinPanel4, ("bsSkinStdLabel" + std::to_string(I + 1)).c_str());
    *Combos[I] = Make<TbsSkinComboBox>(this, bsSkinPanel4, ComboNames[I]);
    FPresetChoosers[I] = std::make_unique<TSkinPresetChooser>(*Combos[I]);
  }
  FFormatChooser = std::make_unique<TSkinFormatChooser>(bsSkinOfficeComboBox1);
}

void TForm1::setStoredValues() {
  SetCaption("NerivoAVI/MPEG格式转换器");
  SetBorderStyle(bsSingle);
  SetBorderIcons({});
  SetPosition(poDesktopCenter);
  SetClientWidth(ClientW);
  SetClientHeight(ClientH);
  SetShowHint(true);

  // A skin that cannot be read leaves the controls' own look; the window still opens.
  try {
    if (FileExists(FSkinFile)) bsSkinData1->LoadFromCompressedFile(FSkinFile);
  } catch (const Exception&) {
  }
  TbsSkinData* Skin = bsSkinData1;
  bsSkinForm1->SetBorderIcons({});
  bsSkinForm1->SetSkinData(Skin);

  bsSkinMainMenuBar1->SetSkinData(Skin);
  bsSkinMainMenuBar1->SetSkinForm(bsSkinForm1);
  bsSkinMainMenuBar1->SetMainMenu(MainMenu1);
  bsSkinPopupMenu1->SetSkinData(Skin);
  OpenDialog1->SetSkinData(Skin);
  OpenDialog1->SetCtrlSkinData(Skin);
  OpenDialog2->SetSkinData(Skin);
  OpenDialog2->SetCtrlSkinData(Skin);
  bsSkinSelectDirectoryDialog1->SetSkinData(Skin);
  bsSkinSelectDirectoryDialog1->SetCtrlSkinData(Skin);
  bsSkinSelectDirectoryDialog2->SetSkinData(Skin);
  bsSkinSelectDirectoryDialog2->SetCtrlSkinData(Skin);
  bsSkinMessage1->SetSkinData(Skin);
  bsSkinMessage1->SetCtrlSkinData(Skin);

  for (TbsSkinPanel* P :
       {ToolBarPanel, bsSkinPanel1, bsSkinPanel5, FormatPanel, bsSkinPanel2, CommandPanel, bsSkinPanel4})
    P->SetSkinData(Skin);

  bsSkinMenuSpeedButton1->SetCaption("添加");
  bsSkinMenuSpeedButton1->SetSkinPopupMenu(bsSkinPopupMenu1);
  bsSkinMenuSpeedButton1->SetLayout(blGlyphTop);
  bsSkinMenuSpeedButton1->SetSkinData(Skin);

  struct TSkinButton {
    TbsSkinButton* Button;
    const char* Caption;
    const char* Hint;
    TbsButtonLayout Layout;
  };
  const TSkinButton Buttons[] = {
      {bsSkinButton7, "删除", "", blGlyphTop},     {bsSkinButton8, "清空", "", blGlyphTop},
      {bsSkinButton21, "", "重命名", blGlyphLeft}, {bsSkinButton5, "浏览...", "", blGlyphLeft},
      {bsSkinButton6, "打开", "", blGlyphLeft},    {bsSkinButton2, "开始", "", blGlyphLeft},
      {bsSkinButton10, "停止", "", blGlyphLeft},   {bsSkinButton11, "暂停", "", blGlyphLeft},
      {bsSkinButton12, "继续", "", blGlyphLeft},
  };
  for (const TSkinButton& B : Buttons) {
    B.Button->SetCaption(B.Caption);
    B.Button->SetHint(B.Hint);
    B.Button->SetLayout(B.Layout);
    B.Button->SetSkinData(Skin);
  }
  bsSkinButton2->SetSkinDataName("defaultbutton");

  lvFiles->SetViewStyle(vsReport);
  // The rows take the height of their small pictures: an empty list of 1-px-wide ones gives the
  // product's roomier rows without an icon column.
  lvFiles->SetSmallImages(new TImageList(this, 1, JobRowHeight - 2));
  lvFiles->SetSkinData(Skin);
  bsSkinScrollBar1->SetKind(sbVertical);
  bsSkinScrollBar1->SetSkinDataName("vscrollbar");
  bsSkinScrollBar1->SetAlign(alRight);
  bsSkinScrollBar2->SetSkinDataName("hscrollbar");
  bsSkinScrollBar2->SetAlign(alBottom);
  for (TbsSkinScrollBar* Bar : {bsSkinScrollBar1, bsSkinScrollBar2}) Bar->SetSkinData(Skin);
  lvFiles->SetAlign(alClient);
  lvFiles->SetVScrollBar(bsSkinScrollBar1);
  lvFiles->SetHScrollBar(bsSkinScrollBar2);

  bsSkinOfficeComboBox2->SetSkinData(Skin);
  FillCategoryChooser(bsSkinOfficeComboBox2);
  bsSkinOfficeComboBox2->SetItemIndex(0);
  bsSkinOfficeComboBox1->SetSkinData(Skin);

  OutputFolderLabel->SetCaption("输出目录");
  OutputFolderLabel->SetSkinData(Skin);
  Video_OutPut_Folder_Edit->SetReadOnly(true);
  Video_OutPut_Folder_Edit->SetSkinData(Skin);

  const char* const Labels[PresetSlotCount] = {"视频分辨率：", "视频比特率：", "音频比特率：",
                                               "视频缩放：",   "视频帧率：",   "音频采样率："};
  for (Integer I = 0; I < PresetSlotCount; ++I) {
    PresetLabels[I]->SetCaption(Labels[I]);
    PresetLabels[I]->SetSkinData(Skin);
  }
  for (TbsSkinComboBox* C : {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox3, bsSkinComboBox4,
                             bsSkinComboBox9, bsSkinComboBox10}) {
    C->SetStyle(bscbFixedStyle);
    C->SetSkinData(Skin);
  }
}

void TForm1::layOut() {
  bsSkinMainMenuBar1->SetBounds(0, 0, ClientW, MenuBarH);
  ToolBarPanel->SetBounds(0, ToolBarTop, ClientW, ToolBarH);
  const Integer ToolTop = (ToolBarH - ToolButtonH) / 2;
  bsSkinMenuSpeedButton1->SetBounds(Margin, ToolTop, ToolButtonW + 16, ToolButtonH);
  bsSkinButton7->SetBounds(Margin + ToolButtonW + 16 + 4, ToolTop, ToolButtonW, ToolButtonH);
  bsSkinButton8->SetBounds(Margin + 2 * ToolButtonW + 16 + 8, ToolTop, ToolButtonW, ToolButtonH);

  bsSkinPanel1->SetBounds(Margin, ListTop, LeftW, ListH);
  bsSkinPanel5->SetBounds(Margin, ListTop, LeftW, ListH);
  Image1->SetBounds((LeftW - 160) / 2, (ListH - 120) / 2, 160, 120);
  Image1->SetCenter(true);
  Image1->SetTransparent(true);
  bsSkinButton21->SetBounds(Margin, ListTop + ListH + 4, IconButton, IconButton);
  bsSkinButton3->SetBounds(Margin + IconButton + 4, ListTop + ListH + 4, IconButton, IconButton);
  bsSkinButton4->SetBounds(Margin + 2 * (IconButton + 4), ListTop + ListH + 4, IconButton, IconButton);

  FormatPanel->SetBounds(Margin, FormatTop, LeftW, FormatH);
  const Integer ComboTop = (FormatH - ComboH) / 2;
  bsSkinOfficeComboBox2->SetBounds(Margin, ComboTop, CategoryW, ComboH);
  bsSkinOfficeComboBox1->SetBounds(2 * Margin + CategoryW, ComboTop,
                                   LeftW - 4 * Margin - CategoryW - PresetButtonWidth, ComboH);

  bsSkinPanel2->SetBounds(Margin, FolderTop, LeftW, FolderH);
  const Integer FolderRow = (FolderH - ComboH) / 2;
  OutputFolderLabel->SetAutoSize(true);
  OutputFolderLabel->SetLeft(Margin);
  const Integer BrowseW = 72, OpenW = 56;
  bsSkinButton6->SetBounds(LeftW - Margin - OpenW, (FolderH - ButtonH) / 2, OpenW, ButtonH);
  bsSkinButton5->SetBounds(bsSkinButton6->Left() - 4 - BrowseW, (FolderH - ButtonH) / 2, BrowseW, ButtonH);
  Video_OutPut_Folder_Edit->SetBounds(72, FolderRow, bsSkinButton5->Left() - Margin - 72, ComboH);

  CommandPanel->SetBounds(RightLeft, FormatTop, RightW, FolderTop + FolderH - FormatTop);
  const Integer CmdW = (RightW - 3 * Margin) / 2;
  bsSkinButton2->SetBounds(Margin, 0, CmdW, CommandH);
  bsSkinButton10->SetBounds(2 * Margin + CmdW, 0, CmdW, CommandH);
  bsSkinButton11->SetBounds(Margin, CommandH + Margin, CmdW, CommandH);
  bsSkinButton12->SetBounds(Margin, CommandH + Margin, CmdW, CommandH);

  bsSkinPanel4->SetBounds(0, 0, 300, 220);
  for (Integer I = 0; I < PresetSlotCount; ++I)
    PresetLabels[I]->SetBounds(Margin, Margin + I * 34 + 6, 90, 16);
  TbsSkinComboBox* Combos[PresetSlotCount] = {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox3,
                                              bsSkinComboBox4, bsSkinComboBox9, bsSkinComboBox10};
  for (Integer I = 0; I < PresetSlotCount; ++I) Combos[I]->SetBounds(104, Margin + I * 34, 180, ComboH);
}

void TForm1::placeFolderLabel() {
  // The label has its size from its font only now: the folder box follows it on the same line.
  OutputFolderLabel->SetAutoSize(false);
  OutputFolderLabel->SetAutoSize(true);
  OutputFolderLabel->SetTop((FolderH - OutputFolderLabel->Height()) / 2);
  const Integer EditLeft = Margin + OutputFolderLabel->Width() + Margin;
  Video_OutPut_Folder_Edit->SetBounds(EditLeft, (FolderH - ComboH) / 2,
                                      bsSkinButton5->Left() - Margin - EditLeft, ComboH);
}

void TForm1::loadGlyphs() {
  const String Folder = ExtractFilePath(FSkinFile);
  struct TGlyph {
    Integer Image;
    const char* Name;
    bool Disabled;
  };
  const TGlyph Glyphs[] = {{4, "start", true},    {5, "start", false},  {6, "pause", true},
                           {7, "pause", false},   {8, "resume", true},  {9, "resume", false},
                           {10, "stop", true},    {11, "stop", false},  {12, "clear", true},
                           {13, "clear", false},  {14, "remove", true}, {15, "remove", false},
                           {16, "rename", false}, {17, "rename", true}};
  // A missing picture leaves its image empty: the buttons then show their captions only.
  for (const TGlyph& G : Glyphs) try {
      const String File = GlyphFile(Folder, G.Name, G.Disabled);
      if (FileExists(File)) Images[G.Image]->Picture()->LoadFromFile(File);
    } catch (const Exception&) {
    }
  loadChooserPictures(bsPngImageList5, Folder + "pictures/category-", FamilyPictureCount);
  loadChooserPictures(bsPngImageList3, Folder + "pictures/format-", 2);
  bsSkinOfficeComboBox2->SetImages(bsPngImageList5);
  bsSkinOfficeComboBox1->SetImages(bsPngImageList3);
  try {
    const String Placeholder = Folder + "pictures/emptylist.png";
    if (FileExists(Placeholder)) Image1->Picture()->LoadFromFile(Placeholder);
  } catch (const Exception&) {
  }
  // Every group but add starts disabled.
  for (TJobCommand C : {jcRemove, jcRename, jcClear, jcStart, jcStop, jcPause, jcResume})
    SetCommandEnabled(C, false);
  try {
    TBitmap Normal, Greyed;
    if (LoadGlyph(GlyphFile(Folder, "add", false), Normal)) {
      // Its disabled frame beside the normal one, so the glyph greys with the caption.
      if (LoadGlyph(GlyphFile(Folder, "add", true), Greyed) && Greyed.Width() == Normal.Width() &&
          Greyed.Height() == Normal.Height() && Normal.PixelFormat() == pf32bit &&
          Greyed.PixelFormat() == pf32bit) {
        TBitmap Both;
        Both.SetPixelFormat(pf32bit);
        Both.SetSize(2 * Normal.Width(), Normal.Height());
        const Integer Row = 4 * Normal.Width();
        for (Integer Y = 0; Y < Normal.Height(); ++Y) {
          std::memcpy(Both.ScanLine(Y), Normal.ScanLine(Y), Row);
          std::memcpy(Both.ScanLine(Y) + Row, Greyed.ScanLine(Y), Row);
        }
        bsSkinMenuSpeedButton1->SetGlyph(&Both);
        bsSkinMenuSpeedButton1->SetNumGlyphs(2);
      } else {
        bsSkinMenuSpeedButton1->SetGlyph(&Normal);
      }
    }
  } catch (const Exception&) {
  }
}

void TForm1::loadChooserPictures(TbsPngImageList* List, const String& FilePrefix, Integer Count) {
  List->SetPngWidth(ChooserPictureSize);
  List->SetPngHeight(ChooserPictureSize);
  // All or none: a missing picture would shift the ones after it onto other families.
  for (Integer I = 0; I < Count; ++I)
    if (!FileExists(FilePrefix + IntToStr(I) + ".png")) return;
  try {
    for (Integer I = 0; I < Count; ++I) {
      TbsPngImage Png;
      Png.LoadFromFile(FilePrefix + IntToStr(I) + ".png");
      auto* Item = new TbsPngImageItem(List->PngImages());
      Item->SetPngImage(&Png);
    }
  } catch (const Exception&) {
    List->PngImages()->Clear();
  }
}

void TForm1::SetCommandEnabled(TJobCommand Command, bool Enabled) {
  struct TGroup {
    TButton* Routine;
    TbsSkinButton* Skin;
    Integer EnabledGlyph, DisabledGlyph;
    std::initializer_list<TMenuItem*> Items;
    bool Refresh;
  };
  const TGroup Groups[] = {
      {btnRemove, bsSkinButton7, 15, 14, {N13}, false}, {nullptr, bsSkinButton21, 16, 17, {N26}, false},
      {btnClear, bsSkinButton8, 13, 12, {N14}, false},  {btnStart, bsSkinButton2, 5, 4, {N7}, true},
      {btnStop, bsSkinButton10, 11, 10, {N8}, true},    {btnPause, bsSkinButton11, 7, 6, {N10}, true},
      {btnResume, bsSkinButton12, 9, 8, {N11}, true},
  };
  const TGroup& G = Groups[Command];
  if (G.Routine != nullptr) G.Routine->SetEnabled(Enabled);
  G.Skin->SetEnabled(Enabled);
  TImage* Picture = Images[Enabled ? G.EnabledGlyph : G.DisabledGlyph];
  if (Picture != nullptr && Picture->Picture()->Graphic() != nullptr) {
    TBitmap B;
    B.Assign(Picture->Picture()->Graphic());
    // The accent-faced default button writes in white.
    if (Enabled && G.Skin == bsSkinButton2) InkGlyph(B, clWhite);
    G.Skin->SetGlyph(&B);
  }
  if (G.Refresh) G.Skin->RefreshButton();
  for (TMenuItem* I : G.Items) I->SetEnabled(Enabled);
}

void InkGlyph(TBitmap& B, TColor Ink) {
  if (B.PixelFormat() != pf32bit) return;
  const Byte R = GetRValue(Ink), G = GetGValue(Ink), Bl = GetBValue(Ink);
  for (Integer Y = 0; Y < B.Height(); ++Y) {
    Byte* Row = B.ScanLine(Y);
    for (Integer X = 0; X < B.Width(); ++X) {
      Byte* P = Row + 4 * X;
      const bool Shown = P[3] != 0;
      P[0] = Shown ? Bl : 0;
      P[1] = Shown ? G : 0;
      P[2] = Shown ? R : 0;
    }
  }
}

String FileSizeText(Int64 Bytes) {
  // Halves round to even, as the default floating-point rounding does.
  const double Hundredths = std::nearbyint(static_cast<double>(Bytes) / 1024 / 1024 * 100);
  return FloatToStr(Hundredths / 100) + "MB";
}

String TForm1::SecToDate(Integer Sec) {
  const Integer M = ((Sec - Sec % 60) / 60) % 60;
  const Integer H = ((Sec - Sec % 60 - 60 * M) / 3600) % 24;
  return Format("%.2d:%.2d:%.2d", {H, M, Sec % 60});
}

TPresetChoosers TForm1::PresetChoosers() const {
  TPresetChoosers C{};
  for (Integer I = 0; I < PresetSlotCount; ++I) C[I] = FPresetChoosers[I].get();
  return C;
}

void TForm1::bindHandlers() {
  OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
  OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
  Button15->OnClick = [this](TObject* Sender) { Button15Click(Sender); };
  Button17->OnClick = [this](TObject* Sender) { Button17Click(Sender); };
  Button16->OnClick = [this](TObject* Sender) { Button16Click(Sender); };
  bsSkinButton5->OnClick = [this](TObject* Sender) { bsSkinButton5Click(Sender); };
  Button21->OnClick = [this](TObject* Sender) { Button21Click(Sender); };
  Button3->OnClick = [this](TObject* Sender) { Button3Click(Sender); };
  Button2->OnClick = [this](TObject* Sender) { Button2Click(Sender); };
  bindJobHandlers();
  bindBatchHandlers();
  bindRowStatus();
  bindPreviewHandlers();
  bindMenuHandlers();
  bindPresetHandlers();
}

// ---- handlers ----

void TForm1::FormCreate(TObject*) {
  Button15->Click();
  Button17->Click();
  Button21->Click();
  Button3->Click();
  Button2->Click();
  fillScreenChoices();
  prepareSnapshotDialog();
  bsSkinSlider1_down_UP = "UP";
}

void TForm1::fillScreenChoices() {
  cboScreens->Items()->Clear();
  cboScreens->Items()->Add("Panel6");
  for (Integer T = 0;; ++T) {
    TWinControl* Found = nullptr;
    for (Integer I = 0; I < ControlCount() && Found == nullptr; ++I)
      if (auto* W = dynamic_cast<TWinControl*>(Controls(I)); W != nullptr && W->TabOrder() == T) Found = W;
    if (Found == nullptr) break;
    cboScreens->Items()->Add(Found->Name());
  }
  cboScreens->SetItemIndex(0);
}

void TForm1::FormCloseQuery(TObject*, bool& CanClose) {
  RIVodero->OnHook = nullptr;
  RIVodero->OnPosition = nullptr;
  RIVodero->OnState = nullptr;
  ZUVER->OnCustomHook = nullptr;
  ZUVER->OnProgress = nullptr;
  ZUVER->OnTerminate = nullptr;
  ZUVER->Stop(true);
  FFLogger->OnLog = nullptr;
  CanClose = true;
}

void TForm1::bsSkinSpeedButton1Click(TObject*) {
  if (FOptionsDialog == nullptr) return;
  FOptionsDialog->ShowModal();
  // A change made while a batch runs reaches the tasks still to put their outputs in place.
  ZUVER->SetOverwriteOutput(OverwriteOutput());
}

void TForm1::Button15Click(TObject*) {
  for (TOutputOptions& O : OO1) O.AudioLanguage = FreeSlotMarker;
}

void TForm1::Button17Click(TObject*) {
  FileOutPutPath = LoadOutputFolder(FOptionFile);
  Video_OutPut_Folder_Edit->SetText(FileOutPutPath);
}

void TForm1::Button16Click(TObject*) {
  SaveOutputFolder(FOptionFile, FileOutPutPath);
}

namespace {

// Why outputs cannot be written into Folder ("" when they can): it is made when missing, then a file
// is created in it and removed again, which is the only test that sees read-only mounts, rights and
// full file tables alike.
String FolderWriteProblem(const String& Folder) {
  if (Folder.empty()) return "没有选择目录";
  if (!DirectoryExists(Folder) && !ForceDirectories(Folder)) return SysErrorMessage(errno);
  const String Probe = Folder + "/.nerivo-write-check-" + IntToStr(Integer(getpid()));
  const int Fd = ::open(Probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (Fd < 0) return SysErrorMessage(errno);
  ::close(Fd);
  ::unlink(Probe.c_str());
  return "";
}

}  // namespace

void TForm1::bsSkinButton5Click(TObject*) {
  bsSkinSelectDirectoryDialog2->SetDirectory(FileOutPutPath);
  // Cancel keeps the folder there is.
  if (!bsSkinSelectDirectoryDialog2->Execute()) return;
  const String Folder = ExcludeTrailingPathDelimiter(bsSkinSelectDirectoryDialog2->Directory());
  if (const String Problem = FolderWriteProblem(Folder); !Problem.empty()) {
    const String Text =
        "无法使用输出目录“" + Folder + "”：" + Problem + "。输出目录保持为“" + FileOutPutPath + "”。";
    mmoLog->Lines()->Add(Text);
    bsSkinMessage1->MessageDlg2(Text, "提示", mtWarning, {mbOK}, 0);
    return;
  }
  FileOutPutPath = Folder;
  Video_OutPut_Folder_Edit->SetText(Folder);
  Button16->Click();
  if (lvFiles->CanFocus()) lvFiles->SetFocus();
}

void TForm1::Button21Click(TObject*) {
  const String Filter = OpenDialogFilter();
  OpenDialog1->SetFilter(Filter);
  OpenDialog2->SetFilter(Filter);
}

void TForm1::Button3Click(TObject*) {
  // A skin that fails to load leaves the one shown; the window still opens.
  try {
    bsSkinData1->SetSkinIndex(LoadSkinChoice(FOptionFile, bsSkinData1->SkinIndex()));
  } catch (const Exception&) {
  }
}

void TForm1::Button2Click(TObject*) {
  FillFormatChooser(*FFormatChooser, bsSkinOfficeComboBox2->ItemIndex());
}
