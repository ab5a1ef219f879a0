// The skin chooser: TbsSelectSkinDialog keeps the settings and the last result, and each Execute builds a
// fresh TbsSelectSkinDlgForm in code: the list of skins, a disabled preview window with a skin data and
// a sample button of its own (so a click on a name reskins only the preview), and OK and Cancel. The
// skins come either from a compressed skin list (chosen by index) or from the stored skins that the
// dialog's owner owns (chosen by object). The caller applies the chosen skin itself.
#pragma once

#include <functional>
#include <memory>

#include "platform/rtl/lists.h"
#include "platform/ui/core/form.h"
#include "skin/dialogs/bsskindialogcomponent.h"

class TbsSkinData;
class TbsSkinForm;
class TbsSkinButton;
class TbsSkinListBox;
class TbsSkinStdLabel;
class TbsCompressedSkinList;
class TbsCompressedStoredSkin;

class TbsSelectSkinDlgForm : public TForm {
 public:
  // Stored-skin mode: the TbsCompressedStoredSkin components of AForm (none without AForm), starting at
  // ADefaultSkin (at the first when it is not among them).
  static TbsSelectSkinDlgForm* CreateEx(TComponent* AOwner, TComponent* AForm,
                                        TbsCompressedStoredSkin* ADefaultSkin, TbsSkinData* ACtrlSkinData);
  // List mode: the skins of ASkinList, starting at ASkinIndex.
  static TbsSelectSkinDlgForm* CreateEx2(TComponent* AOwner, TbsCompressedSkinList* ASkinList,
                                         Integer ASkinIndex, TbsSkinData* ACtrlSkinData);
  ~TbsSelectSkinDlgForm() override;
  String ClassName() const override { return "TbsSelectSkinDlgForm"; }

  // The stored skin shown in the preview.
  TbsCompressedStoredSkin* SelectedSkin() const { return GetSelectedSkin(); }
  TbsCompressedStoredSkin* GetSelectedSkin() const;
  // The list's click: the clicked entry goes into the preview.
  void SLBOnChange(TObject* Sender);
  // The list's double click: accepted as OK.
  void SLBOnDblClick(TObject* Sender);

  // The entry in the preview could not be read (a damaged or empty skin): the preview shows no skin and
  // says so in PreviewMessage instead of the sample button, and the entry cannot be accepted, so the
  // caller never gets a skin it cannot load.
  bool PreviewDamaged() const { return FPreviewDamaged; }

  TbsCompressedSkinList* FCSkinList = nullptr;
  Integer FCSkinIndex = -1;
  TbsSkinForm* BSF = nullptr;
  TbsSkinButton* OpenButton = nullptr;
  TbsSkinButton* CancelButton = nullptr;
  TForm* PreviewForm = nullptr;
  TbsSkinForm* PreviewBSF = nullptr;
  TbsSkinData* PreviewSkinData = nullptr;
  TbsSkinButton* PreviewButton = nullptr;
  TbsSkinListBox* SkinsListBox = nullptr;
  // On PreviewForm, shown only while PreviewDamaged.
  TbsSkinStdLabel* PreviewMessage = nullptr;
  // Stored-skin mode: the offered skins in list order (not owned); null in list mode.
  std::unique_ptr<TList> SkinList;

 private:
  explicit TbsSelectSkinDlgForm(TComponent* AOwner);
  void buildLayout(TbsSkinData* ACtrlSkinData);
  // Runs Load on the preview skin data; a skin that cannot be read (or has nothing to read) leaves the
  // preview empty with the damaged-skin text, and the OK button off.
  template <class F>
  void loadPreview(F Load, bool HasSkin);
  void showPreviewState(bool Damaged);
  // The preview is shown and the list takes the focus.
  void finishConstruction();

  bool FPreviewDamaged = false;
};

class TbsSelectSkinDialog : public TbsSkinDialogComponent {
 public:
  explicit TbsSelectSkinDialog(TComponent* AOwner);
  ~TbsSelectSkinDialog() override;
  String ClassName() const override { return "TbsSelectSkinDialog"; }

  // List mode over SkinList; false at once without a list. On true SelectedSkinIndex is the choice.
  bool Execute(Integer SkinIndex);
  // Stored-skin mode over the owner's stored skins. On true SelectedSkin is the choice.
  bool Execute(TbsCompressedStoredSkin* DefaultCompressedSkin);

  TbsSelectSkinDlgForm* DlgFrm() const { return FDlgFrm; }
  TbsCompressedStoredSkin* SelectedSkin() const { return FSelectedSkin; }
  Integer SelectedSkinIndex() const { return FSelectedSkinIndex; }

  // ---- published ----
  TbsCompressedSkinList* SkinList() const { return FSkinList; }
  void SetSkinList(TbsCompressedSkinList* Value);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // Steps shared by both modes once the form exists: settings in, results cleared, the modal loop,
  // Accepted on OK while the form still stands, and the form freed however the loop ends.
  bool showForm(TbsSelectSkinDlgForm* Form, bool ListMode,
                const std::function<void(TbsSelectSkinDlgForm*)>& Accepted);

  TbsCompressedSkinList* FSkinList = nullptr;
  TbsSelectSkinDlgForm* FDlgFrm = nullptr;
  TbsCompressedStoredSkin* FSelectedSkin = nullptr;
  Integer FSelectedSkinIndex = -1;
};
