#include "skin/dialogs/bsskinselectskindialog.h"

#include "platform/ui/core/application.h"
#include "skin/boxes/lists/bsskinlistbox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/core/bsskincontainer.h"
#include "skin/core/bsskindata.h"
#include "skin/dialogs/bsskinmessage.h"
#include "skin/forms/engine/bsskinform.h"

namespace {

constexpr const char* PreviewSkinKey = "MSG_PREVIEWSKIN";
constexpr const char* PreviewSkinFallback = "Preview";
constexpr const char* PreviewButtonKey = "MSG_PREVIEWBUTTON";
constexpr const char* PreviewButtonFallback = "Button";
// Not a text of the stock string tables: a table without the key still shows the built-in text, so
// the damage is never reported by an empty text.
constexpr const char* DamagedSkinKey = "MSG_SKINDAMAGED";
constexpr const char* DamagedSkinFallback = "The skin cannot be read";

constexpr Integer DefaultClientWidth = 420;
constexpr Integer DefaultClientHeight = 240;

TbsResourceStrData* StringTableOf(TbsSkinData* ASkinData) {
  return ASkinData != nullptr ? ASkinData->ResourceStrData() : nullptr;
}

String TableText(TbsSkinData* ASkinData, const char* Key, const char* Fallback) {
  if (TbsResourceStrData* Strings = StringTableOf(ASkinData)) return Strings->GetResStr(Key);
  return Fallback;
}

String ListedName(const String& Description, const String& Name) {
  return Description.empty() ? Name : Description;
}

}  // namespace

// ---- the form ----

TbsSelectSkinDlgForm::TbsSelectSkinDlgForm(TComponent* AOwner) : TForm(AOwner) {}

TbsSelectSkinDlgForm::~TbsSelectSkinDlgForm() {
  if (SkinList) SkinList->Clear();
  SkinList.reset();
}

void TbsSelectSkinDlgForm::buildLayout(TbsSkinData* ACtrlSkinData) {
  SetBorderStyle(bsSingle);
  SetPosition(poScreenCenter);
  BSF = new TbsSkinForm(this);

  PreviewSkinData = new TbsSkinData(this);
  if (TbsResourceStrData* Strings = StringTableOf(ACtrlSkinData))
    PreviewSkinData->SetResourceStrData(Strings);

  SkinsListBox = new TbsSkinListBox(this);
  SkinsListBox->SetName("SkinsListBox");
  SkinsListBox->SetParent(this);
  SkinsListBox->SetBounds(10, 10, 170, 170);
  SkinsListBox->OnListBoxClick = [this](TObject* Sender) { SLBOnChange(Sender); };
  SkinsListBox->OnListBoxDblClick = [this](TObject* Sender) { SLBOnDblClick(Sender); };

  PreviewForm = new TForm(this);
  PreviewForm->SetName("PreviewForm");
  PreviewForm->SetParent(this);
  PreviewForm->SetBounds(190, 10, 220, 170);
  PreviewForm->SetEnabled(false);
  PreviewForm->SetCaption(TableText(ACtrlSkinData, PreviewSkinKey, PreviewSkinFallback));
  PreviewBSF = new TbsSkinForm(PreviewForm);
  PreviewBSF->SetSkinData(PreviewSkinData);
  PreviewBSF->SetPreviewMode(true);

  PreviewButton = new TbsSkinButton(this);
  PreviewButton->SetName("PreviewButton");
  PreviewButton->SetParent(PreviewForm);
  PreviewButton->SetBounds(20, 20, 100, PreviewButton->Height());
  PreviewButton->SetCaption(TableText(ACtrlSkinData, PreviewButtonKey, PreviewButtonFallback));
  PreviewButton->SetSkinData(PreviewSkinData);

  // In the default look: it is shown only while the preview has no skin.
  PreviewMessage = new TbsSkinStdLabel(this);
  PreviewMessage->SetName("PreviewMessage");
  PreviewMessage->SetParent(PreviewForm);
  PreviewMessage->SetVisible(false);
  PreviewMessage->SetAutoSize(false);
  PreviewMessage->SetWordWrap(true);
  PreviewMessage->SetBounds(20, 20, 180, 60);
  String Damaged = TableText(ACtrlSkinData, DamagedSkinKey, DamagedSkinFallback);
  PreviewMessage->SetCaption(Damaged.empty() ? String(DamagedSkinFallback) : Damaged);

  OpenButton = new TbsSkinButton(this);
  OpenButton->SetName("OpenButton");
  OpenButton->SetParent(this);
  OpenButton->SetDefaultHeight(25);
  OpenButton->SetBounds(260, 200, 70, 25);
  OpenButton->SetDefault(true);
  OpenButton->SetCanFocused(true);
  OpenButton->SetModalResult(mrOk);
  OpenButton->SetCaption(GetMessageButtonCaption(mbOK, ACtrlSkinData));

  CancelButton = new TbsSkinButton(this);
  CancelButton->SetName("CancelButton");
  CancelButton->SetParent(this);
  CancelButton->SetDefaultHeight(25);
  CancelButton->SetBounds(340, 200, 70, 25);
  CancelButton->SetCanFocused(true);
  CancelButton->SetModalResult(mrCancel);
  CancelButton->SetCancel(true);
  CancelButton->SetCaption(GetMessageButtonCaption(mbCancel, ACtrlSkinData));
}

TbsSelectSkinDlgForm* TbsSelectSkinDlgForm::CreateEx(TComponent* AOwner, TComponent* AForm,
                                                     TbsCompressedStoredSkin* ADefaultSkin,
                                                     TbsSkinData* ACtrlSkinData) {
  std::unique_ptr<TbsSelectSkinDlgForm> Form(new TbsSelectSkinDlgForm(AOwner));
  Form->FCSkinList = nullptr;
  Form->FCSkinIndex = -1;
  Form->SkinList = std::make_unique<TList>();
  Form->buildLayout(ACtrlSkinData);
  Integer Start = 0;
  if (AForm != nullptr) {
    for (Integer i = 0; i < AForm->ComponentCount(); ++i) {
      auto* Stored = dynamic_cast<TbsCompressedStoredSkin*>(AForm->Components(i));
      if (Stored == nullptr) continue;
      if (Stored == ADefaultSkin) Start = Form->SkinList->Count();
      Form->SkinList->Add(Stored);
      Form->SkinsListBox->Items()->Add(ListedName(Stored->Description(), Stored->Name()));
    }
  }
  Form->SkinsListBox->SetItemIndex(Start);
  if (Form->SkinList->Count() > 0) {
    auto* Stored =
        static_cast<TbsCompressedStoredSkin*>(Form->SkinList->Items(Form->SkinsListBox->ItemIndex()));
    Form->loadPreview([&] { Form->PreviewSkinData->SetCompressedStoredSkin(Stored); }, !Stored->Empty());
  }
  Form->finishConstruction();
  return Form.release();
}

TbsSelectSkinDlgForm* TbsSelectSkinDlgForm::CreateEx2(TComponent* AOwner, TbsCompressedSkinList* ASkinList,
                                                      Integer ASkinIndex, TbsSkinData* ACtrlSkinData) {
  std::unique_ptr<TbsSelectSkinDlgForm> Form(new TbsSelectSkinDlgForm(AOwner));
  Form->FCSkinList = ASkinList;
  Form->FCSkinIndex = ASkinIndex;
  Form->buildLayout(ACtrlSkinData);
  TbsSkinListItems* Skins = ASkinList->Skins();
  for (Integer i = 0; i < Skins->Count(); ++i) {
    TbsSkinListItem* Item = Skins->GetItem(i);
    Form->SkinsListBox->Items()->Add(ListedName(Item->Description(), Item->Name()));
  }
  Form->SkinsListBox->SetItemIndex(ASkinIndex);
  Form->PreviewSkinData->SetSkinIndex(ASkinIndex);
  // Taking the list loads the start skin when the index lies within it; outside, nothing is loaded.
  const bool Inside = ASkinIndex >= 0 && ASkinIndex < Skins->Count();
  Form->loadPreview([&] { Form->PreviewSkinData->SetSkinList(ASkinList); },
                    !Inside || !Skins->GetItem(ASkinIndex)->Skin()->Empty());
  Form->finishConstruction();
  return Form.release();
}

void TbsSelectSkinDlgForm::finishConstruction() {
  PreviewForm->SetVisible(true);
  SetActiveControl(SkinsListBox->ListBox);
}

template <class F>
void TbsSelectSkinDlgForm::loadPreview(F Load, bool HasSkin) {
  bool Damaged = !HasSkin;
  try {
    Load();
  } catch (const Exception&) {
    Damaged = true;
  }
  // A block that does not inflate fails before anything changes, and an empty one is not read at all,
  // so the last skin would still show.
  if (Damaged && !PreviewSkinData->Empty) PreviewSkinData->ClearSkin();
  showPreviewState(Damaged);
}

void TbsSelectSkinDlgForm::showPreviewState(bool Damaged) {
  FPreviewDamaged = Damaged;
  PreviewButton->SetVisible(!Damaged);
  PreviewMessage->SetVisible(Damaged);
  OpenButton->SetEnabled(!Damaged);
}

TbsCompressedStoredSkin* TbsSelectSkinDlgForm::GetSelectedSkin() const {
  return PreviewSkinData->CompressedStoredSkin();
}

void TbsSelectSkinDlgForm::SLBOnChange(TObject*) {
  const Integer Index = SkinsListBox->ItemIndex();
  if (FCSkinList != nullptr) {
    // The skin data takes no index outside the list, and does not read again the one it holds (also
    // when that one could not be read), so neither changes what the preview shows.
    if (Index < 0 || Index >= FCSkinList->Skins()->Count() || Index == PreviewSkinData->SkinIndex()) return;
    TbsCompressedStoredSkin* Stored = FCSkinList->Skins()->GetItem(Index)->Skin();
    loadPreview([&] { PreviewSkinData->SetSkinIndex(Index); }, !Stored->Empty());
  } else if (SkinList) {
    if (Index < 0 || Index >= SkinList->Count()) return;
    auto* Stored = static_cast<TbsCompressedStoredSkin*>(SkinList->Items(Index));
    loadPreview([&] { PreviewSkinData->SetCompressedStoredSkin(Stored); }, !Stored->Empty());
  }
}

void TbsSelectSkinDlgForm::SLBOnDblClick(TObject*) {
  if (FPreviewDamaged) return;
  SetModalResult(mrOk);
}

// ---- the component ----

TbsSelectSkinDialog::TbsSelectSkinDialog(TComponent* AOwner)
    : TbsSkinDialogComponent(AOwner, "Select skin", 200) {}

TbsSelectSkinDialog::~TbsSelectSkinDialog() = default;

void TbsSelectSkinDialog::SetSkinList(TbsCompressedSkinList* Value) {
  refer(FSkinList, Value);
}

void TbsSelectSkinDialog::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinDialogComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSkinList) FSkinList = nullptr;
  // The result names a stored skin; one that goes is no longer a result anyone could apply.
  if (AComponent == FSelectedSkin) FSelectedSkin = nullptr;
}

bool TbsSelectSkinDialog::showForm(TbsSelectSkinDlgForm* Form, bool ListMode,
                                   const std::function<void(TbsSelectSkinDlgForm*)>& Accepted) {
  FDlgFrm = Form;
  struct TFreeForm {
    TbsSelectSkinDialog* Owner;
    ~TFreeForm() {
      delete Owner->FDlgFrm;
      Owner->FDlgFrm = nullptr;
    }
  } Guard{this};
  Form->SetCaption(FTitle);
  TbsSkinForm* Engine = Form->BSF;
  Engine->SetBorderIcons({});
  Engine->SetSkinData(FSD);
  Engine->SetMenusSkinData(FCtrlFSD);
  Engine->SetAlphaBlend(FAlphaBlend);
  Engine->SetAlphaBlendAnimation(FAlphaBlendAnimation);
  Engine->SetAlphaBlendValue(FAlphaBlendValue);
  for (TbsSkinCustomControl* C : {static_cast<TbsSkinCustomControl*>(Form->OpenButton),
                                  static_cast<TbsSkinCustomControl*>(Form->CancelButton),
                                  static_cast<TbsSkinCustomControl*>(Form->SkinsListBox)}) {
    C->SetDefaultFont(FDefaultFont.get());
    C->SetSkinData(FCtrlFSD);
  }
  // The client size goes through the engine's frame, which a window must exist for.
  Form->HandleNeeded();
  if (FSD == nullptr || FSD->Empty) {
    Form->SetClientWidth(DefaultClientWidth);
    Form->SetClientHeight(DefaultClientHeight);
  } else {
    Form->SetClientWidth(std::max(DefaultClientWidth, Engine->GetMinWidth()));
    Form->SetClientHeight(std::max(DefaultClientHeight, Engine->GetMinHeight()));
  }
  // The stored-skin mode keeps the index of an earlier list-mode choice.
  FSelectedSkin = nullptr;
  if (ListMode) FSelectedSkinIndex = -1;
  if (Form->ShowModal() != mrOk) return false;
  Accepted(Form);
  return true;
}

bool TbsSelectSkinDialog::Execute(Integer SkinIndex) {
  if (FSkinList == nullptr) return false;
  // The index the preview took last.
  return showForm(
      TbsSelectSkinDlgForm::CreateEx2(Application, FSkinList, SkinIndex, FCtrlFSD), true,
      [this](TbsSelectSkinDlgForm* Form) { FSelectedSkinIndex = Form->PreviewSkinData->SkinIndex(); });
}

bool TbsSelectSkinDialog::Execute(TbsCompressedStoredSkin* DefaultCompressedSkin) {
  return showForm(TbsSelectSkinDlgForm::CreateEx(Application, Owner(), DefaultCompressedSkin, FCtrlFSD),
                  false, [this](TbsSelectSkinDlgForm* Form) { refer(FSelectedSkin, Form->SelectedSkin()); });
}
