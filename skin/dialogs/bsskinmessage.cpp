#include "skin/dialogs/bsskinmessage.h"

#include "platform/ui/core/application.h"
#include "platform/ui/extctrls/image.h"
#include "platform/win/icon.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskincheckradiobox.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/core/bsskindata.h"
#include "skin/core/bsskinrecordsbuttons.h"
#include "skin/forms/engine/bsskinform.h"

namespace {

struct TButtonEntry {
  const char* Name;
  const char* Key;
  const char* Fallback;
  TModalResult Result;
};

// In TMsgDlgBtn order. The fallbacks are the program's own texts for a box without a string table.
constexpr TButtonEntry ButtonTable[MsgDlgBtnCount] = {
    {"Yes", "MSG_BTN_YES", "&Yes", mrYes},
    {"No", "MSG_BTN_NO", "&No", mrNo},
    {"OK", "MSG_BTN_OK", "OK", mrOk},
    {"Cancel", "MSG_BTN_CANCEL", "Cancel", mrCancel},
    {"Abort", "MSG_BTN_ABORT", "&Abort", mrAbort},
    {"Retry", "MSG_BTN_RETRY", "&Retry", mrRetry},
    {"Ignore", "MSG_BTN_IGNORE", "&Ignore", mrIgnore},
    {"All", "MSG_BTN_ALL", "&All", mrAll},
    {"NoToAll", "MSG_BTN_NOTOALL", "N&oToAll", mrNoToAll},
    {"YesToAll", "MSG_BTN_YESTOALL", "&YesToAll", mrYesToAll},
    {"Help", "MSG_BTN_HELP", "&Help", mrNone},
    {"Close", "MSG_BTN_CLOSE", "Close", 11},
};

struct TTypeEntry {
  const char* Key;  // null: no caption of its own
  const char* Fallback;
  uintptr_t Icon;  // 0: no icon
};

constexpr TTypeEntry TypeTable[] = {
    {"MSG_CAP_WARNING", "Warning", IDI_WARNING},
    {"MSG_CAP_ERROR", "Error", IDI_ERROR},
    {"MSG_CAP_INFORMATION", "Information", IDI_INFORMATION},
    {"MSG_CAP_CONFIRM", "Confirm", IDI_QUESTION},
    {nullptr, "", 0},
};

constexpr const char* ShowFlagKey = "MSG_CAP_SHOWFLAG";
constexpr const char* ShowFlagFallback = "Do not display this message again";

constexpr Integer ButtonWidth = 70;
constexpr Integer ButtonGap = 10;
constexpr Integer DefaultButtonHeight = 25;

TbsResourceStrData* StringTableOf(TbsSkinData* ASkinData) {
  return ASkinData != nullptr ? ASkinData->ResourceStrData() : nullptr;
}

// The button height of the box: the skin's button element picture, else 25.
Integer ButtonHeightOf(TbsSkinData* CtrlSkinData, const String& ButtonSkinDataName) {
  if (CtrlSkinData == nullptr || CtrlSkinData->Empty) return DefaultButtonHeight;
  const Integer Index = CtrlSkinData->GetControlIndex(ButtonSkinDataName);
  if (Index < 0) return DefaultButtonHeight;
  auto* Element = dynamic_cast<TbsDataSkinButtonControl*>(CtrlSkinData->Ctrls(Index));
  return Element != nullptr ? RectHeight(Element->SkinRect) : DefaultButtonHeight;
}

// The default button when the caller names none, and the cancel button; either may name a button
// that is not in the box, which then marks nothing.
TMsgDlgBtn DefaultButtonRule(TMsgDlgButtons Buttons) {
  if (Buttons.Contains(mbOK)) return mbOK;
  if (Buttons.Contains(mbYes)) return mbYes;
  return mbRetry;
}
TMsgDlgBtn CancelButtonRule(TMsgDlgButtons Buttons) {
  if (Buttons.Contains(mbCancel)) return mbCancel;
  if (Buttons.Contains(mbNo)) return mbNo;
  return mbOK;
}

}  // namespace

String GetMessageButtonCaption(TMsgDlgBtn Btn, TbsSkinData* ASkinData) {
  const TButtonEntry& E = ButtonTable[Btn];
  if (TbsResourceStrData* Strings = StringTableOf(ASkinData)) return Strings->GetResStr(E.Key);
  return E.Fallback;
}

String GetMessageTypeCaption(TMsgDlgType DlgType, TbsSkinData* ASkinData) {
  const TTypeEntry& E = TypeTable[DlgType];
  if (TbsResourceStrData* Strings = StringTableOf(ASkinData))
    return E.Key != nullptr ? Strings->GetResStr(E.Key) : String();
  return E.Fallback;
}

String MessageButtonName(TMsgDlgBtn Btn) {
  return ButtonTable[Btn].Name;
}

TModalResult MessageButtonResult(TMsgDlgBtn Btn) {
  return ButtonTable[Btn].Result;
}

// ---- the form ----

TbsMessageForm::TbsMessageForm(TComponent* AOwner, Integer X, Integer Y) : TForm(AOwner) {
  SetBorderStyle(bsDialog);
  SetKeyPreview(true);
  if (X < -10000) {
    SetPosition(poScreenCenter);
  } else {
    SetPosition(poDesigned);
    SetLeft(X);
    SetTop(Y);
  }
  BSF = new TbsSkinForm(this);
  BSF->SetBorderIcons({});
}

void TbsMessageForm::HelpButtonClick(TObject*) {
  if (!HelpHandler) return;
  HelpHandler(FHelpFile.empty() ? Application->HelpFile() : FHelpFile, FHelpContext);
}

// ---- the component ----

TbsSkinMessage::TbsSkinMessage(TComponent* AOwner)
    : TComponent(AOwner),
      FDefaultFont(std::make_unique<TFont>()),
      FDefaultButtonFont(std::make_unique<TFont>()) {
  for (TFont* F : {FDefaultFont.get(), FDefaultButtonFont.get()}) {
    F->SetName("Tahoma");
    F->SetHeight(13);
    F->SetStyle({});
  }
}

TbsSkinMessage::~TbsSkinMessage() = default;

void TbsSkinMessage::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinMessage::SetCtrlSkinData(TbsSkinData* Value) {
  FCtrlFSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinMessage::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FCtrlFSD) FCtrlFSD = nullptr;
}

TbsMessageForm* TbsSkinMessage::CreateMessageForm(const TBoxRequest& R) {
  auto Form = std::make_unique<TbsMessageForm>(Application, R.X, R.Y);
  TbsSkinForm* Engine = Form->BSF;
  Engine->SetSkinData(FSD);
  Engine->SetMenusSkinData(FCtrlFSD);
  Engine->SetAlphaBlend(FAlphaBlend);
  Engine->SetAlphaBlendAnimation(FAlphaBlendAnimation);
  Engine->SetAlphaBlendValue(FAlphaBlendValue);
  // The client sizes below are the engine's (its frame and caption), which a window must exist for.
  Form->HandleNeeded();

  const Integer Hb = ButtonHeightOf(FCtrlFSD, FButtonSkinDataName);
  Integer N = 0;
  for (Integer B = 0; B < MsgDlgBtnCount; ++B) N += R.Buttons.Contains(TMsgDlgBtn(B));
  const Integer Wr = N > 0 ? N * ButtonWidth + (N - 1) * ButtonGap : 0;

  if (R.ACaption)
    Form->SetCaption(*R.ACaption);
  else if (R.DlgType == mtCustom)
    Form->SetCaption(Application->Title());
  else
    Form->SetCaption(GetMessageTypeCaption(R.DlgType, FCtrlFSD));

  auto* Label = new TbsSkinStdLabel(Form.get());
  Form->Message = Label;
  Label->Font()->Assign(FDefaultFont.get());
  Label->SetDefaultFont(FDefaultFont.get());
  Label->SetUseSkinFont(FUseSkinFont);
  Label->SetSkinDataName(FMessageLabelSkinDataName);
  Label->SetSkinData(FCtrlFSD);
  Label->SetName("Message");
  Label->SetParent(Form.get());
  Label->SetAutoSize(true);
  Label->SetCaption(R.Msg);
  Label->SetLeft(50);
  Label->SetTop(15);
  const Integer Lr = Label->Left() + Label->Width();
  const Integer IconTop = Label->Top() + Label->Height() / 2 - 16;

  if (!R.UseImageList) {
    auto* Image = new TImage(Form.get());
    Image->SetName("Image");
    Image->SetParent(Form.get());
    if (const uintptr_t Id = TypeTable[R.DlgType].Icon)
      Image->Picture()->Icon()->SetHandle(LoadIcon(nullptr, Id));
    Image->SetBounds(5, std::max(IconTop, 10), 32, 32);
  } else if (R.AImages != nullptr && R.AImageIndex >= 0 && R.AImageIndex <= R.AImages->Count() - 1) {
    auto* Image = new TImage(Form.get());
    Image->SetName("Image");
    Image->SetParent(Form.get());
    Image->SetTransparent(true);
    Image->SetBounds(5, IconTop, R.AImages->Width(), R.AImages->Height());
    R.AImages->GetIcon(R.AImageIndex, Image->Picture()->Icon());
  }

  Form->SetClientHeight(Hb + Label->Height() + 50);
  Form->SetClientWidth(std::max(Wr, Lr) + 40);

  if (FShowAgainFlag && !R.Wide) {
    Form->SetClientHeight(Form->ClientHeight() + 40);
    auto* Box = new TbsSkinCheckRadioBox(Form.get());
    Form->DisplayCheckBox = Box;
    Box->SetName("checkbox");
    Box->SetDefaultHeight(30);
    Box->SetChecked(!FShowAgainFlagValue);
    Box->SetParent(Form.get());
    Box->SetDefaultFont(FDefaultFont.get());
    Box->SetUseSkinFont(FUseSkinFont);
    Box->SetSkinData(FCtrlFSD);
    const Integer Tc = Form->ClientHeight() - Hb - 50;
    String Caption = ShowFlagFallback;
    if (TbsResourceStrData* Strings = StringTableOf(FCtrlFSD)) {
      const String S = Strings->GetResStr(ShowFlagKey);
      if (!S.empty()) Caption = S;
    }
    Box->SetCaption(Caption);
    TCanvas* C = Form->Canvas();
    if (Box->SkinIndex() != -1 && FUseSkinFont) {
      C->Font()->SetName(Box->FontName);
      C->Font()->SetHeight(Box->FontHeight);
    } else {
      C->Font()->Assign(FDefaultFont.get());
    }
    const Integer Tw = C->TextWidth(Caption);
    if (Form->ClientWidth() < Tw + 60) Form->SetClientWidth(Tw + 60);
    Box->SetBounds(5, Tc, Tw + 55, Box->DefaultHeight());
  }

  if (Engine->GetMaxWidth() < Form->Width())
    Form->SetWidth(Engine->GetMaxWidth());
  else if (Engine->GetMinWidth() > Form->Width())
    Form->SetWidth(Engine->GetMinWidth());

  const TMsgDlgBtn Default = R.DefaultButton.value_or(DefaultButtonRule(R.Buttons));
  const TMsgDlgBtn Cancel = CancelButtonRule(R.Buttons);
  Integer X = (Form->ClientWidth() - Wr) / 2;
  for (Integer B = 0; B < MsgDlgBtnCount; ++B) {
    const auto Btn = TMsgDlgBtn(B);
    if (!R.Buttons.Contains(Btn)) continue;
    auto* Button = new TbsSkinButton(Form.get());
    Button->SetParent(Form.get());
    Button->SetName(MessageButtonName(Btn));
    Button->SetCanFocused(true);
    Button->SetCaption(GetMessageButtonCaption(Btn, FCtrlFSD));
    Button->SetModalResult(MessageButtonResult(Btn));
    if (Btn == Default) {
      Button->SetDefault(true);
      // The caller's default button waits with the focus; otherwise the first button has it.
      if (R.DefaultButton) Form->SetActiveControl(Button);
    }
    if (Btn == Cancel) Button->SetCancel(true);
    Button->SetDefaultHeight(Hb);
    Button->SetBounds(X, Form->ClientHeight() - Hb - 10, ButtonWidth, Hb);
    Button->SetDefaultFont(FDefaultButtonFont.get());
    Button->SetUseSkinFont(FUseSkinFont);
    X += ButtonWidth + ButtonGap;
    if (Btn == mbHelp) Button->OnClick = [F = Form.get()](TObject* Sender) { F->HelpButtonClick(Sender); };
    Button->SetSkinDataName(FButtonSkinDataName);
    Button->SetSkinData(FCtrlFSD);
  }
  return Form.release();
}

Integer TbsSkinMessage::showBox(const TBoxRequest& R, Integer HelpCtx,
                                const std::optional<String>& HelpFileName, bool FirePos) {
  std::unique_ptr<TbsMessageForm> Form(CreateMessageForm(R));
  // Runs however the modal loop ends: the only value a box writes back is the check box's.
  struct TWriteBack {
    TbsSkinMessage* Owner;
    TbsMessageForm* Form;
    ~TWriteBack() {
      if (Form->DisplayCheckBox != nullptr) Owner->FShowAgainFlagValue = !Form->DisplayCheckBox->Checked();
    }
  } WriteBack{this, Form.get()};
  Form->SetHelpContext(HelpCtx);
  if (HelpFileName) Form->SetHelpFile(*HelpFileName);
  if (FirePos && OnSetShowPos) {
    Integer AX = Form->Left(), AY = Form->Top();
    OnSetShowPos(AX, AY, Form->Width(), Form->Height());
    Form->SetLeft(AX);
    Form->SetTop(AY);
  }
  return Form->ShowModal();
}

// ---- the call family ----

namespace {

TbsSkinMessage::TBoxRequest TypeBox(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
  TbsSkinMessage::TBoxRequest R;
  R.Msg = Msg;
  R.DlgType = DlgType;
  R.Buttons = Buttons;
  return R;
}

TbsSkinMessage::TBoxRequest ImageBox(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                     Integer AImageIndex, TMsgDlgButtons Buttons) {
  TbsSkinMessage::TBoxRequest R;
  R.Msg = Msg;
  R.ACaption = ACaption;
  R.UseImageList = true;
  R.AImages = AImages;
  R.AImageIndex = AImageIndex;
  R.Buttons = Buttons;
  return R;
}

TbsSkinMessage::TBoxRequest At(TbsSkinMessage::TBoxRequest R, Integer X, Integer Y) {
  R.X = X;
  R.Y = Y;
  return R;
}

TbsSkinMessage::TBoxRequest WithDefault(TbsSkinMessage::TBoxRequest R, TMsgDlgBtn DefaultButton) {
  R.DefaultButton = DefaultButton;
  return R;
}

}  // namespace

Integer TbsSkinMessage::MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                   Integer HelpCtx) {
  return showBox(TypeBox(Msg, DlgType, Buttons), HelpCtx, std::nullopt, false);
}

Integer TbsSkinMessage::MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                   Integer HelpCtx, TMsgDlgBtn DefaultButton) {
  return showBox(WithDefault(TypeBox(Msg, DlgType, Buttons), DefaultButton), HelpCtx, std::nullopt, false);
}

Integer TbsSkinMessage::MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                      Integer HelpCtx, Integer X, Integer Y) {
  return showBox(At(TypeBox(Msg, DlgType, Buttons), X, Y), HelpCtx, std::nullopt, true);
}

Integer TbsSkinMessage::MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                      Integer HelpCtx, Integer X, Integer Y, TMsgDlgBtn DefaultButton) {
  return showBox(WithDefault(At(TypeBox(Msg, DlgType, Buttons), X, Y), DefaultButton), HelpCtx, std::nullopt,
                 true);
}

Integer TbsSkinMessage::MessageDlgHelp(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                       Integer HelpCtx, const String& HelpFileName) {
  return showBox(TypeBox(Msg, DlgType, Buttons), HelpCtx, HelpFileName, false);
}

Integer TbsSkinMessage::MessageDlg2(const String& Msg, const String& ACaption, TMsgDlgType DlgType,
                                    TMsgDlgButtons Buttons, Integer HelpCtx) {
  TBoxRequest R = TypeBox(Msg, DlgType, Buttons);
  R.ACaption = ACaption;
  return showBox(R, HelpCtx, std::nullopt, false);
}

Integer TbsSkinMessage::MessageDlgHelp2(const String& Msg, const String& ACaption, TMsgDlgType DlgType,
                                        TMsgDlgButtons Buttons, Integer HelpCtx, const String& HelpFileName) {
  TBoxRequest R = TypeBox(Msg, DlgType, Buttons);
  R.ACaption = ACaption;
  return showBox(R, HelpCtx, HelpFileName, false);
}

Integer TbsSkinMessage::CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                         Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx) {
  return showBox(ImageBox(Msg, ACaption, AImages, AImageIndex, Buttons), HelpCtx, std::nullopt, false);
}

Integer TbsSkinMessage::CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                         Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx,
                                         TMsgDlgBtn DefaultButton) {
  return showBox(WithDefault(ImageBox(Msg, ACaption, AImages, AImageIndex, Buttons), DefaultButton), HelpCtx,
                 std::nullopt, false);
}

Integer TbsSkinMessage::CustomMessageDlgPos(const String& Msg, const String& ACaption,
                                            TCustomImageList* AImages, Integer AImageIndex,
                                            TMsgDlgButtons Buttons, Integer HelpCtx, Integer X, Integer Y) {
  return showBox(At(ImageBox(Msg, ACaption, AImages, AImageIndex, Buttons), X, Y), HelpCtx, std::nullopt,
                 true);
}

Integer TbsSkinMessage::CustomMessageDlgPos(const String& Msg, const String& ACaption,
                                            TCustomImageList* AImages, Integer AImageIndex,
                                            TMsgDlgButtons Buttons, Integer HelpCtx, Integer X, Integer Y,
                                            TMsgDlgBtn DefaultButton) {
  return showBox(WithDefault(At(ImageBox(Msg, ACaption, AImages, AImageIndex, Buttons), X, Y), DefaultButton),
                 HelpCtx, std::nullopt, true);
}

Integer TbsSkinMessage::CustomMessageDlgHelp(const String& Msg, const String& ACaption,
                                             TCustomImageList* AImages, Integer AImageIndex,
                                             TMsgDlgButtons Buttons, Integer HelpCtx,
                                             const String& HelpFileName) {
  return showBox(ImageBox(Msg, ACaption, AImages, AImageIndex, Buttons), HelpCtx, HelpFileName, false);
}

Integer TbsSkinMessage::WideMessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                       Integer HelpCtx) {
  TBoxRequest R = TypeBox(Msg, DlgType, Buttons);
  R.Wide = true;
  return showBox(R, HelpCtx, std::nullopt, false);
}

Integer TbsSkinMessage::WideMessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                          Integer HelpCtx, Integer X, Integer Y) {
  TBoxRequest R = At(TypeBox(Msg, DlgType, Buttons), X, Y);
  R.Wide = true;
  return showBox(R, HelpCtx, std::nullopt, false);
}
