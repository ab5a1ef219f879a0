// TCustomMemo and TMemo: the multi-line platform edit (TCustomEdit with ES_MULTILINE) with its text
// as Lines. Lines and the text are one: changing either shows in the other, and adding lines by code
// moves the caret to the end and brings the end into view, as a log wants. Enter makes a new line
// (WantReturns, on by default), Tab moves the focus on unless WantTabs. WordWrap (on by default)
// breaks long lines into rows at word boundaries inside the client width and re-wraps them on every
// resize (the platform edit's word wrap); Lines keeps the lines as typed, never the rows. While
// wrapping there is no horizontal scroll bar. With WordWrap off a long line scrolls sideways with
// the caret. TMemo keeps the product look: a 1-pixel frame, the accent ring
// while focused, 4 pixels of padding and a thin mark of the scroll position at the right edge.
#pragma once

#include <memory>

#include "platform/rtl/lists.h"
#include "platform/ui/stdctrls/edit.h"

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemoStrings;

class TCustomMemo : public TCustomEdit {
 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;
  String ClassName() const override { return "TCustomMemo"; }

  TStrings* Lines() const;
  void SetLines(TStrings* Value);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);

  // The first line shown, and how many lines fit.
  Integer TopLine() const { return FirstVisibleLine(); }
  void SetTopLine(Integer Value);
  // Brings the last line into view.
  void ScrollToEnd();
  // The rectangle (client coordinates) that holds the first row of line Index while it is in view.
  TRect LineRect(Integer Index);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void Change() override;

 private:
  void linesChanged(TObject* Sender);
  // Lines added at the end since the text last matched Lines go after the text; false when Lines
  // changed otherwise or a new line would not read back as it is (a line break, a NUL, bad UTF-8).
  bool appendNewLines();

  std::unique_ptr<TMemoStrings> FLines;
  bool FWantReturns = true;
  bool FWantTabs = false;
  bool FWordWrap = true;
  TScrollStyle FScrollBars = ssNone;
  bool FSyncing = false;  // Lines and the text are being brought together
};

class TMemo : public TCustomMemo {
 public:
  explicit TMemo(TComponent* AOwner);
  String ClassName() const override { return "TMemo"; }

 protected:
  TRect DefaultFormatRect() const override;
  void PaintFrame(HDC DC) override;
  void WndProc(TMessage& Message) override;
};
