// The preview group "视频预览": the player RIVodero drawing into Panel6, its buttons and position
// slider, the hidden player options, and the snapshots of the picture on screen.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "app/main/mainform/mainform.h"
#include "app/main/mainform/makecontrol.h"
#include "app/main/mainform/previewlayout.h"
#include "engine/base/engineutils.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/rtl/consts.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/rtl/partialfile.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/strings.h"
#include "platform/shell/shellopen.h"
#include "platform/ui/comctrls/trackbar.h"
#include "platform/ui/core/application.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/graphics/gifimage.h"
#include "platform/ui/graphics/graphicsobjects.h"
#include "platform/ui/graphics/icon.h"
#include "platform/ui/graphics/jpegimage.h"
#include "platform/ui/graphics/picture.h"
#include "platform/ui/graphics/pngimage.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/stdctrls/checkbox.h"
#include "platform/ui/stdctrls/combobox.h"
#include "platform/ui/stdctrls/label.h"
#include "platform/ui/stdctrls/memo.h"
#include "skin/controls/bars/bsskinslider.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/views/bsskinlistview.h"
#include "skin/core/bsskindata.h"
#include "skin/dialogs/bsskinmessage.h"
#include "skin/dialogs/bsskinpicturedialogs.h"
#include "skin/dialogs/bsskinselectdirectorydialog.h"
#include "skin/menus/bsskinmenu.h"

namespace {

using namespace previewlayout;

// The muted state's glyph (the speaker with a cross) in the accent colour.
constexpr TColor MutedInk = TColor(RGB(0x2F, 0x6F, 0xDE));

struct TSnapShotFormat {
  const char* Picture;  // value of "Picture"
  const char* Ext;
};
constexpr TSnapShotFormat SnapShotFormats[] = {
    {"BMP", ".bmp"}, {"JPG", ".jpg"}, {"GIF", ".gif"}, {"PNG", ".png"}};

// A control of the group, placed by its window coordinates.
void PlaceInGroup(TControl* C, Integer X, Integer Y, Integer W, Integer H) {
  C->SetBounds(X - GroupBounds.Left, Y - GroupBounds.Top, W, H);
}

// A 24-px product glyph beside the skin; false when it is missing or unreadable.
bool LoadGlyph(const String& SkinFolder, const char* Name, TBitmap& Out) {
  const String File = SkinFolder + "glyphs/" + Name + "-24.png";
  try {
    if (!FileExists(File)) return false;
    TPicture P;
    P.LoadFromFile(File);
    Out.Assign(P.Graphic());
    return !Out.Empty();
  } catch (const Exception&) {
    return false;
  }
}

String SelectedText(TComboBox* C) {
  const Integer I = C->ItemIndex();
  return I >= 0 && I < C->Items()->Count() ? C->Items()->Strings(I) : C->Text();
}

}  // namespace

// ---- controls ----

void TForm1::createPreviewControls() {
  RIVodero = new TRIVodero(this);
  RIVodero->SetName("RIVodero");
  SavePictureDialog1 = new TbsSkinSavePictureDialog(this);
  SavePictureDialog1->SetName("SavePictureDialog1");

  bsSkinGroupBox1 = Make<TbsSkinGroupBox>(this, this, "bsSkinGroupBox1");
  bsSkinButton13 = Make<TbsSkinButton>(this, bsSkinGroupBox1, "bsSkinButton13");
  bsSkinButton14 = Make<TbsSkinButton>(this, bsSkinGroupBox1, "bsSkinButton14");
  bsSkinButton15 = Make<TbsSkinButton>(this, bsSkinGroupBox1, "bsSkinButton15");
  bsSkinButton16 = Make<TbsSkinButton>(this, bsSkinGroupBox1, "bsSkinButton16");
  bsSkinButton20 = Make<TbsSkinButton>(this, bsSkinGroupBox1, "bsSkinButton20");
  bsSkinSlider1 = Make<TbsSkinSlider>(this, bsSkinGroupBox1, "bsSkinSlider1");
  bsSkinButton22 = Make<TbsSkinButton>(this, bsSkinGroupBox1, "bsSkinButton22");
  bsSkinButton23 = Make<TbsSkinButton>(this, bsSkinGroupBox1, "bsSkinButton23");

  bsSkinPopupMenu2 = new TbsSkinPopupMenu(this);
  bsSkinPopupMenu2->SetName("bsSkinPopupMenu2");
  auto add = [this](TMenuItem* Parent, const char* Name, const char* Caption) {
    auto* I = new TMenuItem(this);
    I->SetName(Name);
    I->SetCaption(Caption);
    Parent->Add(I);
    return I;
  };
  MenuItem1 = add(bsSkinPopupMenu2->Items(), "MenuItem1", "打开快照目录");
  MenuItem2 = add(bsSkinPopupMenu2->Items(), "MenuItem2", "设置快照目录");
  MenuItem3 = add(bsSkinPopupMenu2->Items(), "MenuItem3", "-");
  N27 = add(bsSkinPopupMenu2->Items(), "N27", "快照保存类型");
  BMP1 = add(N27, "BMP1", "BMP文件");
  JPG1 = add(N27, "JPG1", "JPG文件");
  GIF1 = add(N27, "GIF1", "GIF文件");
  PNG1 = add(N27, "PNG1", "PNG文件");
  for (TMenuItem* I : {BMP1, JPG1, GIF1, PNG1}) {
    I->SetRadioItem(true);
    I->SetGroupIndex(1);
  }
  BMP1->SetChecked(true);

  createPreviewScreen();
}

void TForm1::bindPreviewHandlers() {
  // The skin data is loaded only after the controls are made: their look and pictures follow here.
  layOutPreview();
  loadPreviewPictures();

  Button31->OnClick = [this](TObject* S) { Button31Click(S); };
  RIVodero->OnFileOpen = [this](TObject* S, const Int64 ADuration, const Integer AW, const Integer AH,
                                Integer& ASW,
                                Integer& ASH) { RIVoderoFileOpen(S, ADuration, AW, AH, ASW, ASH); };
  RIVodero->OnPosition = [this](TObject* S, const Int64 APTS) { RIVoderoPosition(S, APTS); };
  RIVodero->OnState = [this](TObject* S, const TPlayState AState) { RIVoderoState(S, AState); };
  RIVodero->OnHook = [this](TObject* S, TBitmap* B, const Int64 APTS) { RIVoderoHook(S, B, APTS); };
  bsSkinButton13->OnClick = [this](TObject* S) { bsSkinButton13Click(S); };
  bsSkinButton14->OnClick = [this](TObject* S) { bsSkinButton14Click(S); };
  bsSkinButton15->OnClick = [this](TObject* S) { bsSkinButton15Click(S); };
  bsSkinButton16->OnClick = [this](TObject* S) { bsSkinButton16Click(S); };
  bsSkinButton20->OnClick = [this](TObject* S) { bsSkinButton20Click(S); };
  bsSkinSlider1->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
    bsSkinSlider1MouseDown(S, B, Sh, X, Y);
  };
  bsSkinSlider1->OnMouseUp = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
    bsSkinSlider1MouseUp(S, B, Sh, X, Y);
  };
  TrackBar2->OnChange = [this](TObject* S) { TrackBar2Change(S); };
  chkPreview->OnClick = [this](TObject* S) { chkPreviewClick(S); };

  bsSkinButton22->OnClick = [this](TObject* S) { bsSkinButton22Click(S); };
  bsSkinButton23->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
    bsSkinButton23MouseDown(S, B, Sh, X, Y);
  };
  bsSkinButton23->OnClick = [this](TObject* S) { bsSkinButton23Click(S); };
  MenuItem1->OnClick = [this](TObject* S) { MenuItem1Click(S); };
  MenuItem2->OnClick = [this](TObject* S) { MenuItem2Click(S); };
  BMP1->OnClick = [this](TObject* S) { BMP1Click(S); };
  JPG1->OnClick = [this](TObject* S) { JPG1Click(S); };
  GIF1->OnClick = [this](TObject* S) { GIF1Click(S); };
  PNG1->OnClick = [this](TObject* S) { PNG1Click(S); };
  btnCapture->OnClick = [this](TObject* S) { btnCaptureClick(S); };
}

void TForm1::layOutPreview() {
  TbsSkinData* Skin = bsSkinData1;
  bsSkinGroupBox1->SetCaption("视频预览");
  bsSkinGroupBox1->SetSkinData(Skin);
  bsSkinGroupBox1->SetBounds(GroupBounds.Left, GroupBounds.Top, GroupBounds.Width(), GroupBounds.Height());

  layOutPreviewScreen();

  struct TPreviewButton {
    TbsSkinButton* Button;
    const char* Caption;
    const char* Hint;
    Integer X, Y, W;
  };
  const Integer Right = ScreenBounds.Right;
  const TPreviewButton Buttons[] = {
      {bsSkinButton13, "", "播放", ScreenBounds.Left, ButtonRowTop, IconButton},
      {bsSkinButton14, "", "暂停", ScreenBounds.Left + IconButton + 4, ButtonRowTop, IconButton},
      {bsSkinButton15, "", "停止", ScreenBounds.Left + 2 * (IconButton + 4), ButtonRowTop, IconButton},
      {bsSkinButton16, "", "静音", Right - IconButton, ButtonRowTop, IconButton},
      {bsSkinButton20, "", "静音", Right - IconButton, ButtonRowTop, IconButton},
      {bsSkinButton22, "快照", "快照", ScreenBounds.Left, SnapRowTop, SnapButtonW},
      {bsSkinButton23, "", "设置", ScreenBounds.Left + SnapButtonW + 4, SnapRowTop, IconButton},
  };
  for (const TPreviewButton& B : Buttons) {
    B.Button->SetCaption(B.Caption);
    B.Button->SetHint(B.Hint);
    B.Button->SetShowHint(true);
    B.Button->SetLayout(blGlyphLeft);
    B.Button->SetSkinData(Skin);
    PlaceInGroup(B.Button, B.X, B.Y, B.W, IconButton);
  }
  bsSkinButton20->SetVisible(false);
  bsSkinButton23->SetPopupMenu(bsSkinPopupMenu2);
  bsSkinPopupMenu2->SetSkinData(Skin);
  SavePictureDialog1->SetSkinData(Skin);
  SavePictureDialog1->SetCtrlSkinData(Skin);

  // A position bar: no tick points.
  bsSkinSlider1->SetOptions(TbsSliderOptions{soShowFocus, soSmooth});
  bsSkinSlider1->SetSkinData(Skin);
  PlaceInGroup(bsSkinSlider1, SliderLeft, SliderTop, SliderW, SliderH);
}

void TForm1::loadPreviewPictures() {
  const String Folder = ExtractFilePath(FSkinFile);
  try {
    const String Placeholder = Folder + "pictures/previewstopped.png";
    if (FileExists(Placeholder)) Image18->Picture()->LoadFromFile(Placeholder);
  } catch (const Exception&) {
  }
  // A missing glyph leaves its button with its hint (and caption) only.
  const struct {
    TbsSkinButton* Button;
    const char* Glyph;
  } Glyphs[] = {{bsSkinButton13, "play"},    {bsSkinButton14, "pause"}, {bsSkinButton15, "stop"},
                {bsSkinButton16, "volume"},  {bsSkinButton20, "mute"},  {bsSkinButton22, "snapshot"},
                {bsSkinButton23, "settings"}};
  for (const auto& G : Glyphs) {
    TBitmap B;
    if (!LoadGlyph(Folder, G.Glyph, B)) continue;
    if (G.Button == bsSkinButton20) InkGlyph(B, MutedInk);
    G.Button->SetGlyph(&B);
  }
}

void TForm1::prepareSnapshotDialog() {
  // The skinned picture dialog prompts before overwriting, lists existing folders only and can be
  // sized; its default extension is reached through its base.
  SavePictureDialog1->SetOverwritePromt(true);
  SavePictureDialog1->SetFilter("Bitmaps (*.bmp)|*.bmp|JPEG Image File |*.jpg;*.jpeg");
  static_cast<TbsSkinOpenDialog*>(SavePictureDialog1)->SetDefaultExt("bmp");
}

TWinControl* TForm1::FindWinControlByName(const String& AName) {
  for (Integer I = 0; I < ControlCount(); ++I)
    if (auto* W = dynamic_cast<TWinControl*>(Controls(I)); W != nullptr && W->Name() == AName) return W;
  return nullptr;
}

void TForm1::Dispatch(TMessage& Message) {
  TForm::Dispatch(Message);
  if ((Message.Msg == WM_WINDOWPOSCHANGED || Message.Msg == WM_WINDOWPOSCHANGING) && RIVodero != nullptr)
    RIVodero->UpdateScreenPosition();
}

void TForm1::showPreviewError(const String& Text) {
  mmoLog->Lines()->Add(Text);
  bsSkinMessage1->MessageDlg2(Text, "视频预览", mtError, {mbOK}, 0);
}

// ---- opening ----

bool TForm1::openPreview() {
  const bool Opened =
      RIVodero->Open(T_Movie_PLayer_FileName, previewScreenHandle(), chkOpenPaused->Checked());
  if (!Opened) mmoLog->Lines()->Add(RIVodero->LastErrMsg());
  return Opened;
}

void TForm1::Button31Click(TObject*) {
  if (!RIVodero->AVLibLoaded() && !RIVodero->LoadAVLib(GetExePath() + "LibAV")) {
    mmoLog->Lines()->Add(RIVodero->LastErrMsg());
    return;
  }
  // Opening stops what plays first: a file that vanished since it was added would leave an empty
  // screen with the reason only in the log.
  if (T_Movie_PLayer_FileName.empty()) return;  // nothing chosen: what shows stays
  if (!FileExists(T_Movie_PLayer_FileName)) {
    showPreviewError(Format("无法预览：文件“%s”不存在。", {T_Movie_PLayer_FileName}));
    return;
  }
  FScreenControl = FindWinControlByName(SelectedText(cboScreens));
  const TVideoDriver Video[] = {vdDefault, vdDirectDraw, vdGDI};
  const TAudioDriver Audio[] = {adDefault, adDirectSound, adWaveOut};
  const Integer V = cboVideoDriver->ItemIndex(), A = cboAudioDriver->ItemIndex();
  RIVodero->SetVideoDriver(V == 1 || V == 2 ? Video[V] : vdDefault);
  RIVodero->SetAudioDriver(A == 1 || A == 2 ? Audio[A] : adDefault);
  openPreview();
}

void TForm1::RIVoderoFileOpen(TObject*, Int64 ADuration, Integer AFrameWidth, Integer AFrameHeight,
                              Integer& AScreenWidth, Integer& AScreenHeight) {
  mmoLog->Lines()->Add(RIVodero->AVProbe()->FileInfoText());
  mmoLog->Lines()->Add(Format("duration: %f, frame size: %dx%d",
                              {static_cast<double>(ADuration) / 1000000, AFrameWidth, AFrameHeight}));
  if (FScreenControl != nullptr) {
    AScreenWidth = FScreenControl->Width();
    AScreenHeight = FScreenControl->Height();
  } else {
    AScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    AScreenHeight = GetSystemMetrics(SM_CYSCREEN);
  }
  FDuration = ADuration;
  Label2->SetCaption(Format("%f", {static_cast<double>(ADuration) / 1000000}));
  Label3->SetCaption("0.0");
  bsSkinSlider1->SetIncrement(5);
  bsSkinSlider1->SetMaxValue(bsSkinSlider1->Width());
  bsSkinSlider1->SetValue(0);
  fillStreamLists();
}

void TForm1::fillStreamLists() {
  TComboBox* const Lists[] = {cboVideo, cboAudio, cboSubtitle};
  for (TComboBox* L : Lists) {
    L->Items()->BeginUpdate();
    L->Items()->Clear();
  }
  TAVProbe* Probe = RIVodero->AVProbe();
  for (Integer I = 0; I < Probe->StreamCount(); ++I) {
    if (Probe->IsVideoStream(I)) cboVideo->Items()->Add(Format("Video#%d", {I}));
    if (Probe->IsAudioStream(I)) cboAudio->Items()->Add(Format("Audio#%d", {I}));
    if (Probe->IsSubtitleStream(I)) cboSubtitle->Items()->Add(Format("Subtitle#%d", {I}));
  }
  const bool ShowsVideo = RIVodero->VideoStreamIndex() >= 0;
  cboVideo->SetEnabled(cboVideo->Items()->Count() >= 2 && ShowsVideo);
  if (cboVideo->Enabled())
    cboVideo->SetItemIndex(cboVideo->Items()->IndexOf(Format("Video#%d", {RIVodero->VideoStreamIndex()})));
  cboAudio->SetEnabled(cboAudio->Items()->Count() >= 2 && RIVodero->AudioStreamIndex() >= 0);
  if (cboAudio->Enabled())
    cboAudio->SetItemIndex(cboAudio->Items()->IndexOf(Format("Audio#%d", {RIVodero->AudioStreamIndex()})));
  cboSubtitle->SetEnabled(cboSubtitle->Items()->Count() >= 1 && ShowsVideo);
  if (cboSubtitle->Enabled()) {
    cboSubtitle->Items()->Insert(0, "Subtitle#-1");
    cboSubtitle->SetItemIndex(
        cboSubtitle->Items()->IndexOf(Format("Subtitle#%d", {RIVodero->SubtitleStreamIndex()})));
  }
  for (TComboBox* L : Lists) L->Items()->EndUpdate();
}

// ---- events ----

void TForm1::RIVoderoPosition(TObject*, Int64 APTS) {
  if (bsSkinSlider1_down_UP != "UP") return;
  Label3->SetCaption(Format("%f", {static_cast<double>(APTS) / 1000000}));
  if (APTS >= 0 && FDuration > 0)
    bsSkinSlider1->SetValue(static_cast<Integer>(Int64(bsSkinSlider1->MaxValue()) * APTS / FDuration));
}

void TForm1::RIVoderoState(TObject*, TPlayState AState) {
  static const char* const Names[] = {"Play", "Pause", "Resume", "Step", "Stop", "End"};
  mmoLog->Lines()->Add(Names[AState]);
  switch (AState) {
    case psPlay:
    case psResume:
      if (chkStayOnTop->Checked()) SetFormStyle(fsStayOnTop);
      break;
    case psPause:
    case psStep:
      SetFormStyle(fsNormal);
      break;
    case psStop:
      SetFormStyle(fsNormal);
      // The panel repaints without the last picture.
      if (HWND Screen = RIVodero->ScreenHandle(); Screen != nullptr && IsWindow(Screen)) {
        PostMessage(Screen, CM_INVALIDATE, 0, 0);
        UpdateWindow(Screen);
      }
      break;
    case psEnd:
      // Back to the first picture, waiting. Paused first: a seek asked while paused shows the picture
      // it lands on, one asked before the pause would leave the last picture on screen.
      RIVodero->Pause();
      RIVodero->Seek(Int64(0), TSeekFlags{sfAny}, false);
      break;
  }
}

void TForm1::RIVoderoHook(TObject*, TBitmap* ABitmap, Int64 APTS) {
  TCanvas* C = ABitmap->Canvas();
  C->Font()->SetColor(clWhite);
  C->Font()->SetName("Tahoma");
  C->Font()->SetSize(12);
  C->Font()->SetStyle({fsBold, fsUnderline});
  C->TextOut(10, 10, Format("ZUVER - Time Stamp: %d", {APTS}));
  TIcon* Icon = Application->Icon();
  if (Icon != nullptr && !Icon->Empty())
    C->Draw(ABitmap->Width() - Icon->Width() - 10, ABitmap->Height() - Icon->Height() - 10, Icon);
}

// ---- buttons, slider, volume ----

void TForm1::bsSkinButton13Click(TObject*) {
  RIVodero->Resume();
  lvFiles->SetFocus();
}

void TForm1::bsSkinButton14Click(TObject*) {
  RIVodero->Pause();
  lvFiles->SetFocus();
}

void TForm1::bsSkinButton15Click(TObject*) {
  if (lvFiles->Selected() == nullptr) return;
  try {
    RIVodero->Stop(true);
    openPreview();
    lvFiles->SetFocus();
  } catch (const Exception&) {
    RIVodero->Stop(true);
  }
}

void TForm1::bsSkinButton16Click(TObject*) {
  RIVodero->SetMute(true);
  bsSkinButton20->SetVisible(true);
  bsSkinButton16->SetVisible(false);
}

void TForm1::bsSkinButton20Click(TObject*) {
  RIVodero->SetMute(false);
  bsSkinButton16->SetVisible(true);
  bsSkinButton20->SetVisible(false);
}

void TForm1::bsSkinSlider1MouseDown(TObject*, TMouseButton, TShiftState, Integer, Integer) {
  bsSkinSlider1_down_UP = "Down";
  RIVodero->Pause();
}

void TForm1::bsSkinSlider1MouseUp(TObject*, TMouseButton, TShiftState, Integer, Integer) {
  RIVodero->Pause();
  const Integer Max = bsSkinSlider1->MaxValue();
  const Int64 Target = Max != 0 ? FDuration * bsSkinSlider1->Value() / Max : 0;
  RIVodero->Seek(Target, TSeekFlags{}, false);
  RIVodero->Resume();
  bsSkinSlider1_down_UP = "UP";
}

void TForm1::TrackBar2Change(TObject*) {
  RIVodero->SetAudioVolume(TrackBar2->Position());
}

void TForm1::chkPreviewClick(TObject*) {
  ZUVER->SetPreview(chkPreview->Checked());
}

// ---- snapshots ----

namespace {

// The picture as the bytes of its file type: BMP directly; JPG, GIF and PNG through an image object
// of that format that first takes over the bitmap.
void EncodeSnapShot(TBitmap& Picture, Integer Type, TMemoryStream& Out) {
  switch (Type) {
    case 0:
      Picture.SaveToStream(&Out);
      break;
    case 1: {
      TJPEGImage J;
      J.Assign(&Picture);
      J.SetCompressionQuality(90);
      J.SetGrayscale(false);
      J.SetProgressiveEncoding(false);
      J.SaveToStream(&Out);
      break;
    }
    case 2: {
      TGIFImage G;
      G.Assign(&Picture);
      G.SaveToStream(&Out);
      break;
    }
    default: {
      TPngImage P;
      P.Assign(&Picture);
      P.SaveToStream(&Out);
      break;
    }
  }
}

// Writes the file whole or not at all (through a partial file beside it), and never over a file
// unless Replace: 0 or the errno code.
int WriteSnapShotFile(TMemoryStream& Data, const String& FileName, bool Replace) {
  return WriteWholeFileSafely(FileName, Data.Memory(), size_t(Data.Size()), Replace);
}

[[noreturn]] void RaiseSnapShotError(const String& FileName, int Error) {
  throw EFCreateError(Format(SFCreateError, {FileName, String(std::strerror(Error))}));
}

// Any entry takes a name, a link included (even one that leads nowhere). A name that cannot be
// looked at (its folder missing or no folder) is free: the saving then says why.
bool NameTaken(const String& FileName) {
  struct stat St;
  return ::lstat(FileName.c_str(), &St) == 0;
}

}  // namespace

String TForm1::SnapShotFolder() {
  String Folder;
  const auto make = [](const String& F) {
    try {
      if (!DirectoryExists(F)) ForceDirectories(F);
    } catch (const Exception&) {
    }
  };
  if (!FOptionFile.Exists() || !FOptionFile.ReadSetting(SnapShotSection, SnapShotDirKey, Folder)) {
    Folder = DefaultSnapShotFolder();
    make(Folder);
    FOptionFile.Write(SnapShotSection, SnapShotDirKey, Folder);
  } else {
    // A relative folder lies beside the program; it is taken even when it cannot be made: the
    // saving then says why.
    Folder = FOptionFile.ResolvePath(Folder);
    make(Folder);
  }
  return Folder;
}

TForm1::TSnapShotType TForm1::SnapShotType() {
  TMenuItem* const Items[] = {BMP1, JPG1, GIF1, PNG1};
  if (FOptionFile.Exists()) {
    const String Value = FOptionFile.Read(SnapShotSection, SnapShotPictureKey);
    for (Integer T = stBMP; T <= stPNG; ++T)
      if (Value == SnapShotFormats[T].Picture) {
        Items[T]->SetChecked(true);
        return TSnapShotType(T);
      }
  }
  FOptionFile.Write(SnapShotSection, SnapShotPictureKey, DefaultSnapShotPicture);
  BMP1->SetChecked(true);
  return stBMP;
}

String TForm1::NextSnapShotName(const String& Folder, TSnapShotType Type) const {
  const String Base =
      IncludeTrailingPathDelimiter(Folder) + ChangeFileExt(ExtractFileName(T_Movie_PLayer_FileName), "");
  for (Integer N = 1;; ++N) {
    const String Name = Base + "_" + IntToStr(N) + SnapShotFormats[Type].Ext;
    if (!NameTaken(Name)) return Name;
  }
}

void TForm1::saveSnapShot(TBitmap& Picture, const String& FileName, TSnapShotType Type) {
  // A name chosen in the save dialog, which asked before a file was overwritten.
  TMemoryStream Data;
  EncodeSnapShot(Picture, Type, Data);
  if (const int Error = WriteSnapShotFile(Data, FileName, true)) RaiseSnapShotError(FileName, Error);
}

bool TForm1::trySaveSnapShot(TBitmap& Picture, const String& FileName, TSnapShotType Type) {
  try {
    saveSnapShot(Picture, FileName, Type);
    return true;
  } catch (const Exception& E) {
    // Nothing to remove: a file is written whole or not at all, and a file it did not make stays.
    showPreviewError(Format("快照无法保存为“%s”：%s", {FileName, E.Message()}));
    return false;
  }
}

void TForm1::bsSkinButton22Click(TObject*) {
  TBitmap Picture;
  Picture.Assign(RIVodero->CurrentFrame());
  const String Folder = SnapShotFolder();
  const TSnapShotType Type = SnapShotType();
  if (Picture.Width() == 0) return;
  // The first free name, made only if it is still free when the file is complete: a name taken
  // meanwhile (a file, or a link that would lead out of the folder) gives way to the next one.
  String Name = NextSnapShotName(Folder, Type);
  try {
    TMemoryStream Data;
    EncodeSnapShot(Picture, Type, Data);
    int Error = WriteSnapShotFile(Data, Name, false);
    for (Integer Tries = 0; Error == EEXIST && Tries < 100; ++Tries) {
      Name = NextSnapShotName(Folder, Type);
      Error = WriteSnapShotFile(Data, Name, false);
    }
    if (Error != 0) RaiseSnapShotError(Name, Error);
  } catch (const Exception& E) {
    showPreviewError(Format("快照无法保存为“%s”：%s", {Name, E.Message()}));
  }
}

void TForm1::bsSkinButton23MouseDown(TObject*, TMouseButton Button, TShiftState, Integer, Integer) {
  if (Button != mbLeft) return;
  POINT P{};
  GetCursorPos(&P);
  bsSkinPopupMenu2->Popup(P.X, P.Y);
}

void TForm1::bsSkinButton23Click(TObject*) {
  SnapShotType();
}

void TForm1::MenuItem1Click(TObject*) {
  const String Folder = SnapShotFolder();
  if (!ShellOpen(Folder)) showPreviewError(Format("无法打开快照目录“%s”。", {Folder}));
}

void TForm1::MenuItem2Click(TObject*) {
  bsSkinSelectDirectoryDialog2->Execute();
  const String Folder = bsSkinSelectDirectoryDialog2->Directory();
  if (!Folder.empty() && DirectoryExists(Folder)) FOptionFile.Write(SnapShotSection, SnapShotDirKey, Folder);
}

void TForm1::chooseSnapShotType(TSnapShotType Type) {
  TMenuItem* const Items[] = {BMP1, JPG1, GIF1, PNG1};
  FOptionFile.Write(SnapShotSection, SnapShotPictureKey, SnapShotFormats[Type].Picture);
  Items[Type]->SetChecked(true);
}

void TForm1::BMP1Click(TObject*) {
  chooseSnapShotType(stBMP);
}
void TForm1::JPG1Click(TObject*) {
  chooseSnapShotType(stJPG);
}
void TForm1::GIF1Click(TObject*) {
  chooseSnapShotType(stGIF);
}
void TForm1::PNG1Click(TObject*) {
  chooseSnapShotType(stPNG);
}

void TForm1::btnCaptureClick(TObject*) {
  TBitmap Picture;
  Picture.Assign(RIVodero->CurrentFrame());
  if (Picture.Width() <= 0 || !SavePictureDialog1->Execute()) return;
  const String Name = SavePictureDialog1->FileName();
  trySaveSnapShot(Picture, Name, LowerCase(ExtractFileExt(Name)) == ".bmp" ? stBMP : stJPG);
}
