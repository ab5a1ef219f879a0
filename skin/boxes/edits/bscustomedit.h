// TbsCustomEdit: the single-line text box every skinned text input is built on, and TbsSkinNumEdit,
// its numeric variant.
//
// On top of the masked edit it adds: a context menu of its own shown as a skinned popup menu, with
// captions from the form's skin strings; a soft read-only mode (the window stays writable, every
// editing input is refused, selecting and copying still work); Enter and Esc go to the form's dialog
// keys instead of the text; an optional transparent mode that repaints through one off-screen
// bitmap over the parent's background; and OnEditCancelMode, telling the owner of an inner edit that
// another control took the mouse.
#pragma once

#include <functional>
#include <memory>

#include "platform/ui/stdctrls/edit.h"

class TbsSkinPopupMenu;

using TbsOnEditCancelMode = std::function<void(TControl* C)>;

class TbsCustomEdit : public TCustomMaskEdit {
 public:
  explicit TbsCustomEdit(TComponent* AOwner);
  ~TbsCustomEdit() override;
  String ClassName() const override { return "TbsCustomEdit"; }

  // The edit's own read-only flag; the platform edit underneath stays writable.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  bool EditTransparent() const { return FEditTransparent; }
  // Stores the value and makes the window anew.
  void SetEditTransparent(bool Value);

  // Repaints the whole control at once through an off-screen bitmap.
  virtual void RePaintBuffered();
  // The same pass, rendered into DC (which stays the caller's).
  virtual void PaintBufferedTo(HDC DC);

  // The context menu while it exists (from a context-menu request until its command ran).
  TbsSkinPopupMenu* SysPopupMenu() const { return FSysPopupMenu; }

  TbsOnEditCancelMode OnEditCancelMode;

 protected:
  void WndProc(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void Change() override;
  void ShowEditContextMenu(TPoint ScreenPos) override;
  void DestroyWnd() override;

  bool FStopDraw = false;

 private:
  void createSysPopupMenu(TPoint ScreenPos);
  void wmChar(TMessage& Message);
  bool paintMessage(TMessage& Message);

  // The focused window is being made anew: taking the focus back keeps the selection.
  bool FRefocusKeepsSel = false;
  bool FReadOnly = false;
  bool FEditTransparent = false;
  TbsSkinPopupMenu* FSysPopupMenu = nullptr;
};

class TbsSkinNumEdit : public TbsCustomEdit {
 public:
  explicit TbsSkinNumEdit(TComponent* AOwner);
  String ClassName() const override { return "TbsSkinNumEdit"; }

  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
  // Whether Key may go into the text as it stands now.
  bool IsValidChar(char32_t Key);

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  // The decimal separator is accepted.
  bool Float = false;

 protected:
  void WndProc(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;

 private:
  bool FEditorEnabled = true;
};

// The locale's decimal separator.
char32_t LocaleDecimalSeparator();
