#include "skin/dialogs/bsskinpicturedialogs.h"

#include "platform/rtl/files.h"
#include "platform/ui/core/application.h"
#include "platform/ui/extctrls/image.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/boxes/scroll/bsskinscrollbox.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/bars/bsskintoolbar.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskinspeedbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/panels/bsskinsplitter.h"
#include "skin/core/bspngimagelist.h"
#include "skin/core/bsskindata.h"
#include "skin/dialogs/bsdialogtoolpictures.h"
#include "skin/shell/bsshelllistview.h"
#include "skin/shell/bsskinfiltercombobox.h"

// ---- the form ----

TbsOpenPictureDlgForm::TbsOpenPictureDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData,
                                             bool AToolButtonsTransparent,
                                             TCustomImageList* AToolBarImageList)
    : TbsOpenDlgForm(AOwner, ASaveMode, ACtrlSkinData, AToolButtonsTransparent, AToolBarImageList) {
  AddOpenDlgToolImages(PngImgList, true);

  StretchButton =
      newToolButton("StretchButton", 4, "MSG_BTN_STRETCH_HINT", "Stretch Picture", AToolButtonsTransparent);
  StretchButton->SetGroupIndex(2);
  StretchButton->SetAllowAllUp(true);
  StretchButton->OnClick = [this](TObject* S) { StretchButtonClick(S); };

  // The splitter goes in first: the control placed last takes the right edge.
  Splitter = new TbsSkinSplitter(this);
  Splitter->SetName("Splitter");
  Splitter->SetDefaultSize(10);
  Splitter->SetBeveled(false);
  Splitter->SetWidth(10);
  Splitter->SetAlign(alRight);
  Splitter->SetParent(this);

  ImagePanel = new TbsSkinPanel(this);
  ImagePanel->SetName("ImagePanel");
  ImagePanel->SetBorderStyle(bvFrame);
  ImagePanel->SetWidth(200);
  ImagePanel->SetAlign(alRight);
  ImagePanel->SetParent(this);

  SBVScrollBar = new TbsSkinScrollBar(this);
  SBVScrollBar->SetName("SBVScrollBar");
  SBVScrollBar->SetKind(sbVertical);
  SBVScrollBar->SetDefaultWidth(19);
  SBVScrollBar->SetEnabled(false);
  SBVScrollBar->SetSkinDataName("vscrollbar");
  SBVScrollBar->SetAlign(alRight);
  SBVScrollBar->SetParent(ImagePanel);

  SBHScrollBar = new TbsSkinScrollBar(this);
  SBHScrollBar->SetName("SBHScrollBar");
  SBHScrollBar->SetDefaultHeight(19);
  SBHScrollBar->SetBothMarkerWidth(19);
  SBHScrollBar->SetEnabled(false);
  SBHScrollBar->SetSkinDataName("hscrollbar");
  SBHScrollBar->SetAlign(alBottom);
  SBHScrollBar->SetParent(ImagePanel);

  ScrollBox = new TbsSkinScrollBox(this);
  ScrollBox->SetName("ScrollBox");
  ScrollBox->SetBorderStyle(bvNone);
  ScrollBox->SetAlign(alClient);
  ScrollBox->SetParent(ImagePanel);
  ScrollBox->SetHScrollBar(SBHScrollBar);
  ScrollBox->SetVScrollBar(SBVScrollBar);

  Image = new TImage(this);
  Image->SetName("Image");
  Image->SetBounds(0, 0, 0, 0);
  Image->SetParent(ScrollBox);

  PlaceBottomControls();
}

void TbsOpenPictureDlgForm::PlaceBottomControls() {
  // Fixed places: the list and the preview take what the form gains.
  const TAnchors Fixed{akLeft, akTop};
  FileNameEdit->SetAnchors(Fixed);
  FilterComboBox->SetAnchors(Fixed);
  OpenButton->SetAnchors(Fixed);
  CancelButton->SetAnchors(Fixed);
  const Integer Left = FieldsLeft();
  FileNameEdit->SetBounds(Left, 10, 350 - Left, FileNameEdit->Height());
  FilterComboBox->SetBounds(Left, 45, 350 - Left, FileNameEdit->Height());
  OpenButton->SetBounds(370, 10, 70, OpenButton->Height());
  CancelButton->SetBounds(370, 45, 70, CancelButton->Height());
  CentreLabels();
}

void TbsOpenPictureDlgForm::fitImageToPicture() {
  if (Image->Stretch()) return;
  Image->SetWidth(Image->Picture()->Width());
  Image->SetHeight(Image->Picture()->Height());
  ScrollBox->UpDateScrollRange();
}

void TbsOpenPictureDlgForm::LoadPreview(const String& FileName) {
  try {
    Image->Picture()->LoadFromFile(FileName);
  } catch (...) {
    fitImageToPicture();
    throw;
  }
  fitImageToPicture();
}

void TbsOpenPictureDlgForm::FLVChange(TObject*, TListItem*, TItemChange) {
  const String Name = ExtractFileName(FileListView->GetSelectedFile());
  FileNameEdit->SetText(Name);
  if (Name.empty()) {
    Image->SetWidth(0);
    Image->SetHeight(0);
    return;
  }
  LoadPreview(FolderPrefix() + Name);
}

void TbsOpenPictureDlgForm::StretchPreview() {
  Image->SetVisible(false);
  ScrollBox->UpDateScrollRange();
  Image->SetStretch(true);
  Image->SetAlign(alClient);
  Image->SetVisible(true);
}

void TbsOpenPictureDlgForm::StretchButtonClick(TObject*) {
  if (StretchButton->Down()) {
    StretchPreview();
    return;
  }
  Image->SetVisible(false);
  Image->SetAlign(alNone);
  Image->SetWidth(Image->Picture()->Width());
  Image->SetHeight(Image->Picture()->Height());
  Image->SetStretch(false);
  Image->SetVisible(true);
  ScrollBox->UpDateScrollRange();
}

// ---- the components ----

TbsSkinOpenPictureDialog::TbsSkinOpenPictureDialog(TComponent* AOwner) : TbsSkinOpenDialog(AOwner) {
  FTitle = "Open picture";
  FFilter =
      "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
      "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";
  FAlphaBlendValue = 200;
}

TbsOpenDlgForm* TbsSkinOpenPictureDialog::CreateDlgForm() {
  return new TbsOpenPictureDlgForm(Application, FSaveMode, FCtrlFSD, FToolButtonsTransparent,
                                   FToolBarImageList);
}

void TbsSkinOpenPictureDialog::CopySettingsToForm() {
  FDlgFrm->CheckFileExists = FCheckFileExists;
  FDlgFrm->OverwritePromt = FOverwritePromt;
}

void TbsSkinOpenPictureDialog::BeforePanelsSkin() {
  TbsOpenPictureDlgForm* F = PictureForm();
  F->ImagePanel->SetWidth(ImagePanelWidth);
  F->ImagePanel->SetSkinData(FCtrlFSD);
  F->ScrollBox->SetSkinData(FCtrlFSD);
  F->SBVScrollBar->SetSkinData(FCtrlFSD);
  F->SBHScrollBar->SetSkinData(FCtrlFSD);
  F->Splitter->SetSkinData(FCtrlFSD);
  F->FilterComboBox->SetFilter(FFilter);
  F->FilterComboBox->SetItemIndex(FFilterIndex - 1);
}

void TbsSkinOpenPictureDialog::ApplyToolButtonsSkin() {
  TbsSkinOpenDialog::ApplyToolButtonsSkin();
  TbsOpenPictureDlgForm* F = PictureForm();
  if (FCtrlFSD != nullptr && !FCtrlFSD->Empty && FCtrlFSD->GetControlIndex("resizetoolbutton") != -1)
    F->StretchButton->SetSkinDataName("resizetoolbutton");
  F->StretchButton->SetSkinData(FCtrlFSD);
}

void TbsSkinOpenPictureDialog::AfterClientSize() {
  TbsOpenPictureDlgForm* F = PictureForm();
  if (FStretchPicture || DialogStretch) F->StretchButton->SetDown(true);
  if (F->StretchButton->Down()) F->StretchPreview();
}

void TbsSkinOpenPictureDialog::BeforeFileNameEdit() {
  if (FileExists(FFileName)) PictureForm()->LoadPreview(FFileName);
}

void TbsSkinOpenPictureDialog::CopyStateBack() {
  TbsOpenPictureDlgForm* F = PictureForm();
  DialogStretch = F->StretchButton->Down();
  ImagePanelWidth = F->ImagePanel->Width();
}

TbsSkinSavePictureDialog::TbsSkinSavePictureDialog(TComponent* AOwner) : TbsSkinOpenPictureDialog(AOwner) {
  FTitle = "Save file";
  FSaveMode = true;
}
