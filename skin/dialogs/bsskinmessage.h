// Skinned message boxes: TbsSkinMessage keeps the settings, and each of its MessageDlg calls builds a
// fresh TbsMessageForm in code (icon, message label, optional "do not show again" check box, one
// skinned button per requested button), shows it modally, frees it and returns the modal result. The
// form's modal loop keeps serving the main-thread call queue, so workers keep reporting behind a box.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/rtl/tset.h"
#include "platform/ui/core/form.h"
#include "platform/ui/graphics/imagelist.h"

class TbsSkinData;
class TbsSkinForm;
class TbsSkinCheckRadioBox;
class TbsSkinStdLabel;
class TbsSkinButton;

// The platform's message box enumerations (the values are the platform's).
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp,
  mbClose
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
constexpr Integer MsgDlgBtnCount = 12;

// Lets the owner move a box before it is shown.
using TbsMessageSetShowPosEvent =
    std::function<void(Integer& AX, Integer& AY, Integer AWidth, Integer AHeight)>;

// The button caption and the box caption of a type: from ASkinData's string table when it has one (an
// absent key gives ""), else the built-in text.
String GetMessageButtonCaption(TMsgDlgBtn Btn, TbsSkinData* ASkinData);
String GetMessageTypeCaption(TMsgDlgType DlgType, TbsSkinData* ASkinData);
// The control name and the modal result of a button (Help answers 0: it does not close the box).
String MessageButtonName(TMsgDlgBtn Btn);
TModalResult MessageButtonResult(TMsgDlgBtn Btn);

class TbsMessageForm : public TForm {
 public:
  // X below -10000 centres the form on the screen; otherwise it stands at X, Y.
  TbsMessageForm(TComponent* AOwner, Integer X, Integer Y);
  String ClassName() const override { return "TbsMessageForm"; }

  Integer HelpContext() const { return FHelpContext; }
  void SetHelpContext(Integer Value) { FHelpContext = Value; }
  const String& HelpFile() const { return FHelpFile; }
  void SetHelpFile(const String& Value) { FHelpFile = Value; }
  // Asks the help system for the topic of HelpContext (in HelpFile, else the application's).
  void HelpButtonClick(TObject* Sender);

  // The application's help system: the program ships none, so by default Help shows nothing.
  static inline std::function<void(const String& HelpFile, Integer HelpContext)> HelpHandler;

  TbsSkinForm* BSF = nullptr;
  TbsSkinCheckRadioBox* DisplayCheckBox = nullptr;
  TbsSkinStdLabel* Message = nullptr;

 private:
  Integer FHelpContext = 0;
  String FHelpFile;
};

class TbsSkinMessage : public TComponent {
 public:
  explicit TbsSkinMessage(TComponent* AOwner);
  ~TbsSkinMessage() override;
  String ClassName() const override { return "TbsSkinMessage"; }

  // ---- the boxes (each returns the modal result) ----
  Integer MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx);
  Integer MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                     TMsgDlgBtn DefaultButton);
  Integer MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                        Integer X, Integer Y);
  Integer MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                        Integer X, Integer Y, TMsgDlgBtn DefaultButton);
  Integer MessageDlgHelp(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                         const String& HelpFileName);
  Integer MessageDlg2(const String& Msg, const String& ACaption, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                      Integer HelpCtx);
  Integer MessageDlgHelp2(const String& Msg, const String& ACaption, TMsgDlgType DlgType,
                          TMsgDlgButtons Buttons, Integer HelpCtx, const String& HelpFileName);
  Integer CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                           Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx);
  Integer CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                           Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx,
                           TMsgDlgBtn DefaultButton);
  Integer CustomMessageDlgPos(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                              Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx, Integer X,
                              Integer Y);
  Integer CustomMessageDlgPos(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                              Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx, Integer X,
                              Integer Y, TMsgDlgBtn DefaultButton);
  Integer CustomMessageDlgHelp(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                               Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx,
                               const String& HelpFileName);
  // Our strings are UTF-8 already, so the wide-text boxes take the same text; they never carry the
  // check box and never ask OnSetShowPos.
  Integer WideMessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx);
  Integer WideMessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                            Integer X, Integer Y);

  // ---- published ----
  TbsSkinData* SkinData() const { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  TbsSkinData* CtrlSkinData() const { return FCtrlFSD; }
  void SetCtrlSkinData(TbsSkinData* Value);
  const String& ButtonSkinDataName() const { return FButtonSkinDataName; }
  void SetButtonSkinDataName(const String& Value) { FButtonSkinDataName = Value; }
  const String& MessageLabelSkinDataName() const { return FMessageLabelSkinDataName; }
  void SetMessageLabelSkinDataName(const String& Value) { FMessageLabelSkinDataName = Value; }
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  TFont* DefaultButtonFont() const { return FDefaultButtonFont.get(); }
  void SetDefaultButtonFont(TFont* Value) { FDefaultButtonFont->Assign(Value); }
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  bool ShowAgainFlag() const { return FShowAgainFlag; }
  void SetShowAgainFlag(bool Value) { FShowAgainFlag = Value; }
  bool ShowAgainFlagValue() const { return FShowAgainFlagValue; }
  void SetShowAgainFlagValue(bool Value) { FShowAgainFlagValue = Value; }
  TbsMessageSetShowPosEvent OnSetShowPos;

  // What one box shows: the caption (the type's when absent), the type's icon or an image of a list,
  // the buttons, the default button (the rule's when absent), the place (centred below -10000), and
  // whether it is a wide-text box (no check box).
  struct TBoxRequest {
    String Msg;
    std::optional<String> ACaption;
    TMsgDlgType DlgType = mtCustom;
    bool UseImageList = false;
    TCustomImageList* AImages = nullptr;
    Integer AImageIndex = -1;
    TMsgDlgButtons Buttons;
    std::optional<TMsgDlgBtn> DefaultButton;
    Integer X = -10001, Y = -10001;
    bool Wide = false;
  };
  // Builds a box as the MessageDlg calls do, without showing it (the caller frees it).
  TbsMessageForm* CreateMessageForm(const TBoxRequest& R);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // Shows a built box: help context and file, the position event, the modal loop; then, also when
  // showing fails, writes the check box back and frees the form.
  Integer showBox(const TBoxRequest& R, Integer HelpCtx, const std::optional<String>& HelpFileName,
                  bool FirePos);

  TbsSkinData* FSD = nullptr;
  TbsSkinData* FCtrlFSD = nullptr;
  String FButtonSkinDataName = "button";
  String FMessageLabelSkinDataName = "stdlabel";
  std::unique_ptr<TFont> FDefaultFont;
  std::unique_ptr<TFont> FDefaultButtonFont;
  bool FAlphaBlend = false;
  bool FAlphaBlendAnimation = false;
  Byte FAlphaBlendValue = 200;
  bool FUseSkinFont = true;
  bool FShowAgainFlag = false;
  bool FShowAgainFlagValue = false;
};
