// The picture open and save dialogs: the open dialog with a preview of the chosen picture on the right
// (a scroll box holding an image, behind a splitter) and a stretch button on the tool bar. The save
// dialog is the same in save mode. The preview's width and stretch state last for the run.
#pragma once

#include "skin/dialogs/bsskinopendialog.h"

class TImage;
class TbsSkinScrollBox;
class TbsSkinSplitter;

class TbsOpenPictureDlgForm : public TbsOpenDlgForm {
 public:
  TbsOpenPictureDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData,
                        bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList);
  String ClassName() const override { return "TbsOpenPictureDlgForm"; }

  TbsSkinPanel* ImagePanel = nullptr;
  TImage* Image = nullptr;
  TbsSkinScrollBox* ScrollBox = nullptr;
  TbsSkinScrollBar* SBVScrollBar = nullptr;
  TbsSkinScrollBar* SBHScrollBar = nullptr;
  TbsSkinSpeedButton* StretchButton = nullptr;
  TbsSkinSplitter* Splitter = nullptr;

  void FLVChange(TObject* Sender, TListItem* Item, TItemChange Change) override;
  void StretchButtonClick(TObject* Sender);
  // Loads FileName into the preview; whether or not that succeeds, an unstretched image then takes the
  // picture's size. A file the picture class cannot read raises its error and keeps the old picture.
  void LoadPreview(const String& FileName);
  // The stretched look: the image fills the scroll box.
  void StretchPreview();

 protected:
  void PlaceBottomControls() override;

 private:
  void fitImageToPicture();
};

class TbsSkinOpenPictureDialog : public TbsSkinOpenDialog {
 public:
  explicit TbsSkinOpenPictureDialog(TComponent* AOwner);
  String ClassName() const override { return "TbsSkinOpenPictureDialog"; }

  bool StretchPicture() const { return FStretchPicture; }
  void SetStretchPicture(bool Value) { FStretchPicture = Value; }
  // A plain field here: the picture form's edit is not written through.
  void SetFileName(const String& Value) override {
    FFileName = Value;
    FFileNameFromCaller = true;
  }
  TbsOpenPictureDlgForm* PictureForm() const { return static_cast<TbsOpenPictureDlgForm*>(FDlgFrm); }

  Integer ImagePanelWidth = 190;
  bool DialogStretch = false;

 protected:
  TbsOpenDlgForm* CreateDlgForm() override;
  void CopySettingsToForm() override;
  void BeforePanelsSkin() override;
  void ApplyToolButtonsSkin() override;
  TPoint DefaultClientSize() const override { return TPoint{550, 290}; }
  void AfterClientSize() override;
  void BeforeFileNameEdit() override;
  void CopyStateBack() override;

  bool FStretchPicture = false;

 private:
  // The picture dialogs have no default extension and no folder event.
  using TbsSkinOpenDialog::DefaultExt;
  using TbsSkinOpenDialog::OnFolderChange;
  using TbsSkinOpenDialog::SetDefaultExt;
};

class TbsSkinSavePictureDialog : public TbsSkinOpenPictureDialog {
 public:
  explicit TbsSkinSavePictureDialog(TComponent* AOwner);
  String ClassName() const override { return "TbsSkinSavePictureDialog"; }
};
