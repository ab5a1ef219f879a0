// TEditBuffer: the text of an edit and what editing does to it, apart from any window. Positions
// count code points from 0; the selection runs from the anchor to the caret (either order).
//
// The rules, as a person expects them from a desktop edit:
// - Text comes in as UTF-8; a malformed byte becomes U+FFFD and a NUL byte ends the text (the
//   platform's strings end there). A multi-line buffer keeps line breaks as "\n" (CR LF and CR
//   become LF); a single-line buffer takes a paste only up to its first line break.
// - MaxLength (0: none) limits what the user adds: typing past it is refused, a paste is cut to
//   what fits. Text set by code is kept whole, as the platform's edit keeps it.
// - ReadOnly refuses every change the user makes (typing, deleting, cutting, pasting, undo) but
//   keeps moving and selecting; code writes still work.
// - Undo is one level deep and undoing twice redoes. Characters typed one after the other undo
//   together; a move of the caret or another kind of change starts a new step.
// - Words (Ctrl+arrows, double-click) are runs of letters and digits, of CJK characters, of other
//   symbols, or of blanks; Ctrl+Right goes to the start of the next word, Ctrl+Left to the start of
//   this or the previous one.
#pragma once

#include <string>

#include "platform/rtl/types.h"

class TEditBuffer {
 public:
  explicit TEditBuffer(bool Multiline = false) : FMultiline(Multiline) {}

  bool Multiline() const { return FMultiline; }
  void SetMultiline(bool Value) { FMultiline = Value; }
  Integer MaxLength() const { return FMaxLength; }
  void SetMaxLength(Integer Value) { FMaxLength = Value < 0 ? 0 : Value; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }

  // ---- the text ----
  String Text() const;
  const std::u32string& Chars() const { return FText; }
  Integer Length() const { return Integer(FText.size()); }
  // A code write: the whole text, the caret at 0, the undo step dropped. True when it changed.
  bool SetText(const String& S);
  // A code write of S (decoded) after the text, as SetText of the whole would leave it but costing
  // only what S costs: the caret at the new end, the undo step dropped. True when the text changed.
  bool AppendText(const String& S);
  // Decodes S as this buffer takes text (U+FFFD, NUL, line breaks; see above).
  std::u32string Decode(const String& S) const;

  // ---- selection ----
  Integer Anchor() const { return FAnchor; }
  Integer Caret() const { return FCaret; }
  Integer SelStart() const { return FAnchor < FCaret ? FAnchor : FCaret; }
  Integer SelEnd() const { return FAnchor < FCaret ? FCaret : FAnchor; }
  Integer SelLength() const { return SelEnd() - SelStart(); }
  String SelText() const;
  // Anchor at Start, caret at End, each clamped to the text; End -1 is the end of the text.
  void SetSel(Integer Start, Integer End);
  // Moves the caret; Extend keeps the anchor (Shift held).
  void MoveTo(Integer Pos, bool Extend);
  void SelectAll() { SetSel(0, Length()); }
  void SelectWordAt(Integer Pos);

  // ---- changes ----
  // Replaces the selection by S (decoded). ByUser applies ReadOnly and MaxLength; CanUndo records an
  // undo step. True when the text changed.
  bool ReplaceSel(const String& S, bool ByUser, bool CanUndo = true);
  // One typed character (Enter in a multi-line buffer is a line break). False when refused.
  bool TypeChar(char32_t C);
  // Backspace and Delete: the selection, else the character before / after the caret (Ctrl: the word).
  bool DeleteBack(bool Word = false);
  bool DeleteForward(bool Word = false);
  bool CanUndo() const { return FHasUndo; }
  bool Undo();
  void EmptyUndoBuffer() {
    FHasUndo = false;
    FTyping = false;
  }

  // ---- words and lines ----
  Integer WordLeft(Integer Pos) const;
  Integer WordRight(Integer Pos) const;
  Integer LineCount() const;
  Integer LineFromChar(Integer Pos) const;
  Integer LineStart(Integer Line) const;  // -1 for a line past the end
  Integer LineLength(Integer Line) const;
  std::u32string LineChars(Integer Line) const;

 private:
  enum class TStep { None, Typing, Other };
  void remember(TStep Kind);
  // Replaces [Start, End) by Chars and puts the caret after them.
  void replaceRange(Integer Start, Integer End, const std::u32string& Chars);
  Integer clamp(Integer Pos) const;

  std::u32string FText;
  Integer FAnchor = 0;
  Integer FCaret = 0;
  Integer FMaxLength = 0;
  bool FMultiline = false;
  bool FReadOnly = false;
  bool FModified = false;
  // The one undo step: the text and selection before the last change.
  std::u32string FUndoText;
  Integer FUndoAnchor = 0;
  Integer FUndoCaret = 0;
  bool FHasUndo = false;
  bool FTyping = false;  // the last change was typing that ended at FCaret
};
