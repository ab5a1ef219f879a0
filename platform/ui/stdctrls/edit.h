// TCustomEdit and TEdit: the platform edit, single- or multi-line (ES_MULTILINE in the window
// style), with TCustomMaskEdit on top. The window's default handling (DefaultHandler) is the
// platform edit itself, so a descendant's WndProc sees every message first and its "inherited"
// reaches the behaviour below, as controls built on the platform's edit expect.
//
// What the platform edit does, as a person expects it from a desktop edit:
// - Keys (WM_KEYDOWN): Left/Right by character, with Ctrl by word; Home/End to the line's ends, with
//   Ctrl to the text's ends; Up/Down and Page Up/Down by lines (multi-line); Shift extends the
//   selection from its anchor. Delete removes the selection or the next character (Ctrl: word),
//   Shift+Delete cuts, Ctrl+Insert copies, Shift+Insert pastes.
// - Characters (WM_CHAR): printable ones replace the selection; Backspace (8) deletes backwards,
//   Ctrl+A (1) selects all, Ctrl+C (3) copies, Ctrl+V (22) pastes, Ctrl+X (24) cuts, Ctrl+Z (26)
//   undoes; Enter (13) and Tab (9) insert a line break or a tab only in a multi-line edit. Text from
//   the input method arrives as characters too (CJK included).
// - The mouse: a press places the caret (Shift: extends), dragging selects and scrolls the text
//   when the pointer leaves the text area, a double-click selects the word.
// - Text rules (UTF-8, NUL, MaxLength, ReadOnly, undo, words): TEditBuffer.
// - WM_SETTEXT replaces the text, puts the caret at 0 and empties the undo buffer; every change of
//   the text, by the user or by code, calls Change (OnChange).
// - The formatting rectangle (EM_GETRECT / EM_SETRECT / EM_SETRECTNP, client coordinates) is where
//   text goes; it is the client area until set, and the margins (EM_SETMARGINS) lie inside it. One
//   line sits at its top, aligned by ES_LEFT / ES_CENTER / ES_RIGHT while it fits; the view scrolls
//   sideways (and by lines) to keep the caret inside.
// - Painting asks the parent for colours with WM_CTLCOLOREDIT (WM_CTLCOLORSTATIC when read-only or
//   disabled), reflected to the control as CN_CTLCOLOR*; an answer of the hollow brush leaves the
//   background alone. The selection shows in the highlight colours while focused, or always with
//   HideSelection off.
// - The caret is the platform caret: created on focus, destroyed when the focus goes.
// - WM_CONTEXTMENU without a PopupMenu shows the edit's own menu (Undo, Cut, Copy, Paste, Delete,
//   Select All with the class library's texts); ShowEditContextMenu is the hook to replace it.
// - A password edit shows every character as PasswordChar and refuses to copy or cut.
// - A multi-line edit keeps its vertical scroll state (SB_VERT: range 0 .. lines - 1, page = the
//   visible lines, position = the first visible line) when it has WS_VSCROLL, and follows
//   WM_VSCROLL and the wheel.
// - Word wrap (a multi-line edit whose owner asks for it): the text is shown in rows, each of the
//   buffer's lines broken inside the formatting rectangle's width. A row ends after the last blank
//   that fits (blanks after it hang past the edge), or between two characters where either is CJK;
//   a word longer than the width is broken where the width ends. The rows follow every change of
//   text, font, width or formatting rectangle. Lines, scrolling, the caret's Up/Down/Page keys,
//   Home/End and the mouse work on rows; nothing scrolls sideways. The caret at a row's soft end
//   shows at the start of the next row; End and a click past a soft row's end stop before its last
//   character when that is a blank. The EM_ line messages keep counting the buffer's lines.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/ui/core/form.h"
#include "platform/ui/core/wincontrol.h"
#include "platform/ui/stdctrls/editbuffer.h"
#include "platform/ui/stdctrls/textalign.h"

class TPopupMenu;

using TBorderStyle = TFormBorderStyle;
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;
  String ClassName() const override { return "TCustomEdit"; }

  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  Integer MaxLength() const { return FBuffer.MaxLength(); }
  void SetMaxLength(Integer Value);
  bool OEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool Value) { FOEMConvert = Value; }
  char32_t PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char32_t Value);
  bool ReadOnly() const { return FBuffer.ReadOnly(); }
  void SetReadOnly(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

  bool Modified() const { return FBuffer.Modified(); }
  void SetModified(bool Value) { FBuffer.SetModified(Value); }
  bool CanUndo() const { return FBuffer.CanUndo(); }
  Integer SelStart() const { return FBuffer.SelStart(); }
  void SetSelStart(Integer Value);
  Integer SelLength() const { return FBuffer.SelLength(); }
  void SetSelLength(Integer Value);
  String SelText() const { return FBuffer.SelText(); }
  void SetSelText(const String& Value);
  // The caret's end of the selection (the other end is the anchor).
  Integer CaretPos() const { return FBuffer.Caret(); }

  void Clear();
  void ClearSelection();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();
  void ClearUndo();
  void SelectAll();

  // ---- layout (client coordinates) ----
  TRect FormatRect() const;
  TPoint PosFromChar(Integer Pos);
  Integer CharFromPos(TPoint P);
  Integer FirstVisibleLine() const { return FTopLine; }
  Integer LineHeight();
  Integer VisibleLineCount();

  TNotifyEvent OnChange;

 protected:
  virtual void Change();
  // Shows the edit's own context menu at a screen point; a skinned edit puts its own menu here.
  virtual void ShowEditContextMenu(TPoint ScreenPos);
  // The items of the own context menu: built anew each time it opens.
  TPopupMenu* EditMenu() const { return FEditMenu.get(); }

  String GetText() const override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowCreated() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  void DoEnter() override;
  void CMFontChanged(TMessage& Message) override;
  // With AutoSize (on by default) a framed edit is one line of its font high, plus the frame.
  bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;
  void CMEnabledChanged(TMessage& Message) override;
  bool Multiline() const { return FBuffer.Multiline(); }
  // Word wrap of a multi-line edit (see above).
  bool Wrapping() const { return FWordWrap; }
  void SetWrapping(bool Value);
  // The rows as shown (the buffer's lines when not wrapping) and the row holding position Pos.
  Integer RowCount();
  Integer RowFromChar(Integer Pos);
  DWORD EditStyle() const;
  // The formatting rectangle until EM_SETRECT sets one: the client area.
  virtual TRect DefaultFormatRect() const;
  // Paints over the edit after its text (a frame of a descendant's look); clipping is back to the client.
  virtual void PaintFrame(HDC DC) { (void)DC; }
  // The text colours of the edit's parent (WM_CTLCOLOR*) have the last word unless this answers them.
  void SetEditColors(COLORREF Text, COLORREF Back);
  // The extents cache and the scroll state after the text changed from outside the edit's own paths.
  void TextReplaced(bool TextChanged) { edited(TextChanged); }
  // A code write of S after the text (TEditBuffer::AppendText), then what a change does: the caret
  // into view, a repaint, OnChange. The rows before the last line are kept, so a log that grows by a
  // line costs that line and the rows on view, not the whole text.
  void AppendText(const String& S);

  TEditBuffer FBuffer;

 private:
  // ---- the platform edit (edit.cpp) ----
  bool handleEditMessage(TMessage& Message);
  bool handleEmMessage(TMessage& Message);
  void handleKeyDown(Word Key);
  void handleChar(char32_t C);
  void mouseDown(TPoint P, bool Shift, bool Double);
  void mouseMove(TPoint P);
  void mouseUp();
  void autoScrollTick();
  void vscroll(Word Code, Integer Pos);
  // After the text or selection changed: caret into view, repaint, OnChange when the text changed.
  void edited(bool TextChanged);
  void textChanged();
  void copySelection();
  bool pasteText();
  void setLimit(Integer Value);
  void updateCaret();
  void ensureCaretVisible();
  void updateScrollInfo();
  void moveVertically(Integer Lines, bool Extend);
  char32_t applyCase(char32_t C) const;

  // ---- layout and painting (edit_paint.cpp) ----
  struct TRow {
    Integer Start = 0;
    Integer Length = 0;  // without the line break
    bool Soft = false;   // ends in a wrap, not in a line break or the text's end
  };
  const std::vector<TRow>& rows();
  // Rows (and their unmeasured extents) for the text from From, which starts a line, to its end.
  void addRows(Integer From);
  // After text was added at the end: the rows of the old last line and of the new text.
  void rowsAppended();
  void buildWrappedRows(const std::u32string& Line, Integer Start, Integer Width);
  // Where the caret goes for End (and a click past the row's end).
  Integer rowEnd(Integer Row);
  // Extents of the shown characters of a row: Ext[i] = width of its first i + 1 characters.
  const std::vector<Integer>& lineExtents(Integer Row);
  std::u32string shownChars(Integer Row);
  TRect textArea() const;
  Integer lineOffset(Integer Line);  // alignment offset of a line inside the text area
  void paintEdit(HDC DC);
  HBRUSH ctlColor(HDC DC);
  void paintLine(HDC DC, Integer Line, Integer Y, const TRect& Area, COLORREF Ink, bool ShowSel);
  void invalidateLayout() {
    FExtents.clear();
    FExtentsMeasured.clear();
    FLineHeight = 0;
    FRows.clear();
    FRowsValid = false;
  }
  HFONT editFont() { return FEditFont ? FEditFont : FFont->Handle(); }

  bool FAutoSelect = true;
  TBorderStyle FBorderStyle = bsSingle;
  TEditCharCase FCharCase = ecNormal;
  bool FHideSelection = true;
  bool FOEMConvert = false;
  char32_t FPasswordChar = 0;
  TAlignment FAlignment = taLeftJustify;
  DWORD FWindowStyle = 0;  // the edit style bits of the live window
  TRect FRect;             // the formatting rectangle when set
  bool FRectSet = false;
  Integer FLeftMargin = 1;
  Integer FRightMargin = 1;
  Integer FScrollX = 0;
  Integer FTopLine = 0;
  bool FSelecting = false;
  bool FRefocus = false;
  TPoint FMousePos;
  std::vector<std::vector<Integer>> FExtents;
  std::vector<bool> FExtentsMeasured;
  std::vector<TRow> FRows;
  bool FRowsValid = false;
  bool FWordWrap = false;
  std::unique_ptr<TPopupMenu> FEditMenu;
  HBRUSH FBrush = nullptr;    // the answer to CN_CTLCOLOR*
  HFONT FEditFont = nullptr;  // the window's font (WM_SETFONT)
  bool FOwnColors = false;    // SetEditColors decides the colours
  COLORREF FOwnText = 0;
  COLORREF FOwnBack = 0;
  HBRUSH FOwnBrush = nullptr;
  Integer FLineHeight = 0;  // of that font, 0 until measured
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
  String ClassName() const override { return "TEdit"; }
};

// The masked edit: an edit with an input mask. An empty mask (the default) leaves it a plain edit.
// The rules, as a person expects them from a desktop masked edit:
// - EditMask is "mask[;save[;blank]]". save "0" leaves the literal characters out of Text; anything
//   else (the default) keeps them. blank (default '_') is what an empty input position shows.
// - Input positions: '0' digit (required), '9' digit, '#' digit, '+' or '-', 'L' letter (required),
//   'l' letter, 'A' letter or digit (required), 'a' letter or digit, 'C' any character (required),
//   'c' any character. Letters are anything alphabetic, non-ASCII included. '>' makes the positions
//   after it upper case, '<' lower case, "<>" neither. '\' makes the next character a literal, '_'
//   is a literal space, ':' and '/' are the time and date separators (here ':' and '/'); '!' is
//   accepted and changes nothing. Every other character is a literal.
// - EditText is the text as shown: every literal in place, blank in the empty positions. Text is
//   EditText with the blanks as spaces, without the literals when save is "0". Text set by code (or
//   EditText) fills the input positions in order; a literal of the mask met at its place is taken as
//   that literal, a blank or space leaves the position empty, a misfit leaves it empty.
// - Typing overwrites the input position at the caret (literals before it are stepped over) and
//   moves the caret past the literals after it; a character that does not fit beeps and changes
//   nothing. A selection is blanked before the typed character goes into its first position.
//   Backspace blanks the input position before the caret, Delete the selection or the one at the
//   caret; nothing ever shifts. Left and Right step over literals; Home goes to the first input
//   position. A paste fills the positions from the caret with the pasted characters that fit,
//   skipping misfits; a cut copies the selection and blanks it.
// - Esc takes back what was typed since the edit got the focus. Leaving the edit after typing
//   validates it: a required position left blank keeps the focus in the edit with the caret there
//   and reports EDBEditError "Invalid input value.  Use escape key to abandon changes" through the
//   application's exception handling. ValidateEdit runs the same check on demand and raises.
NERIVO_EXCEPTION_CLASS(EDBEditError, Exception);

class TCustomMaskEdit : public TCustomEdit {
 public:
  explicit TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
  String ClassName() const override { return "TCustomMaskEdit"; }
  String EditMask() const { return FEditMask; }
  void SetEditMask(const String& Value);
  bool IsMasked() const { return !FMask.empty(); }
  // The text as shown, literals and blanks included.
  String EditText() const { return TCustomEdit::GetText(); }
  void SetEditText(const String& Value);
  // Raises EDBEditError when a required position is blank (caret and focus put there first).
  void ValidateEdit();
  // Puts back the text the edit had when it got the focus.
  void Reset();

 protected:
  String GetText() const override;
  void WndProc(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void DoEnter() override;

 private:
  struct TMaskChar {
    char32_t Literal = 0;  // 0: an input position
    char Kind = 0;         // the mask character of an input position
    char Case = 0;         // '>' upper, '<' lower, 0 as typed
  };
  bool isInput(Integer Pos) const {
    return Pos >= 0 && Pos < Integer(FMask.size()) && FMask[Pos].Literal == 0;
  }
  // The first input position at or after Pos (the mask's length when none).
  Integer nextInput(Integer Pos) const;
  // C as it goes into position Pos (case applied); 0 when it does not fit there.
  char32_t fit(Integer Pos, char32_t C) const;
  std::u32string formatText(const String& S) const;
  // Blanks [Start, End) and puts the caret at Caret.
  void blankRange(Integer Start, Integer End, Integer Caret);
  // Replaces the shown text by Chars as the user's change, the caret at Caret.
  void userEdit(const std::u32string& Chars, Integer Caret);
  void pasteMasked();
  void cutMasked();
  Integer firstInvalid() const;

  String FEditMask;
  std::vector<TMaskChar> FMask;
  bool FSaveLiterals = true;
  char32_t FBlank = U'_';
  String FOldValue;  // the shown text when the focus came
};

class TMaskEdit : public TCustomMaskEdit {
 public:
  explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
  String ClassName() const override { return "TMaskEdit"; }
};
