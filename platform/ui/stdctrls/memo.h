// TMemo: lines of text in a framed, scrolling box. Lines added (Lines()->Add, or any change) bring the
// end into view, as a log wants. The arrow, page, Home and End keys and the wheel scroll; read-only
// memos take no typing, others take typing at the end of the text (characters, Enter, Backspace).
// No word wrap: a long line is clipped at the right.
#pragma once

#include <memory>

#include "platform/rtl/lists.h"
#include "platform/ui/core/customcontrol.h"

class TMemo : public TCustomControl {
 public:
  explicit TMemo(TComponent* AOwner);
  ~TMemo() override;
  String ClassName() const override { return "TMemo"; }

  TStrings* Lines() const { return FLines.get(); }
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);

  // The first line shown, and how many lines fit.
  Integer TopLine() const { return FTopLine; }
  void SetTopLine(Integer Value);
  Integer VisibleLineCount();
  Integer LineHeight();
  // Brings the last line into view.
  void ScrollToEnd();
  // The rectangle (client coordinates) that holds line Index while it is in view.
  TRect LineRect(Integer Index);

  TNotifyEvent OnChange;

 protected:
  String GetText() const override;
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  virtual void Change();

 private:
  void linesChanged(TObject* Sender);
  Integer maxTopLine();
  TRect textArea();

  std::unique_ptr<TStringList> FLines;
  bool FReadOnly = false;
  Integer FTopLine = 0;
};
