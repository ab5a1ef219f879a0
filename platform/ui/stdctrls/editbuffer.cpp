#include "platform/ui/stdctrls/editbuffer.h"

#include <algorithm>

#include "platform/rtl/strings.h"

namespace {

enum class TCharKind { Blank, Word, Cjk, Symbol, Break };

TCharKind kindOf(char32_t C) {
  if (C == U'\n') return TCharKind::Break;
  if (C == U' ' || C == U'\t' || C == U'\r' || C == 0x3000 || C == 0xA0) return TCharKind::Blank;
  if ((C >= U'0' && C <= U'9') || (C >= U'A' && C <= U'Z') || (C >= U'a' && C <= U'z') || C == U'_')
    return TCharKind::Word;
  if ((C >= 0x2E80 && C <= 0x9FFF) || (C >= 0xAC00 && C <= 0xD7AF) || (C >= 0xF900 && C <= 0xFAFF) ||
      (C >= 0x20000 && C <= 0x3FFFF))
    return TCharKind::Cjk;
  if (C < 0x80 || (C >= 0x3000 && C <= 0x303F) || (C >= 0xFF00 && C <= 0xFF0F)) return TCharKind::Symbol;
  return TCharKind::Word;  // letters of other scripts
}

}  // namespace

String TEditBuffer::Text() const {
  return Utf32ToUtf8(FText);
}

std::u32string TEditBuffer::Decode(const String& S) const {
  std::u32string Out;
  Out.reserve(S.size());
  Integer Offset = 0;
  const Integer N = Integer(S.size());
  while (Offset < N) {
    Integer Size = 0;
    char32_t C = Utf8Decode(S, Offset, &Size);
    if (Size <= 0) break;
    Offset += Size;
    if (C == 0) break;
    if (FMultiline && C == U'\r') {
      if (Offset < N && S[Offset] == '\n') ++Offset;
      C = U'\n';
    }
    Out.push_back(C);
  }
  return Out;
}

bool TEditBuffer::SetText(const String& S) {
  std::u32string New = Decode(S);
  const bool Changed = New != FText;
  FText = std::move(New);
  FAnchor = FCaret = 0;
  FModified = false;
  EmptyUndoBuffer();
  return Changed;
}

bool TEditBuffer::AppendText(const String& S) {
  const std::u32string Tail = Decode(S);
  FText += Tail;
  FAnchor = FCaret = Length();
  FModified = false;
  EmptyUndoBuffer();
  return !Tail.empty();
}

String TEditBuffer::SelText() const {
  return Utf32ToUtf8(FText.substr(SelStart(), SelLength()));
}

Integer TEditBuffer::clamp(Integer Pos) const {
  return std::clamp(Pos, 0, Length());
}

void TEditBuffer::SetSel(Integer Start, Integer End) {
  FTyping = false;
  if (Start < 0) {  // no selection: the caret stays where it is
    FAnchor = FCaret;
    return;
  }
  FAnchor = clamp(Start);
  FCaret = End < 0 ? Length() : clamp(End);
}

void TEditBuffer::MoveTo(Integer Pos, bool Extend) {
  FTyping = false;
  FCaret = clamp(Pos);
  if (!Extend) FAnchor = FCaret;
}

void TEditBuffer::SelectWordAt(Integer Pos) {
  Pos = clamp(Pos);
  if (FText.empty()) return;
  Integer At = Pos < Length() ? Pos : Pos - 1;
  const TCharKind Kind = kindOf(FText[At]);
  Integer Start = At, End = At + 1;
  if (Kind != TCharKind::Break) {
    while (Start > 0 && kindOf(FText[Start - 1]) == Kind) --Start;
    while (End < Length() && kindOf(FText[End]) == Kind) ++End;
  }
  SetSel(Start, End);
}

void TEditBuffer::remember(TStep Kind) {
  if (Kind == TStep::Typing && FTyping && FHasUndo) return;  // typing goes on: one step
  FUndoText = FText;
  FUndoAnchor = FAnchor;
  FUndoCaret = FCaret;
  FHasUndo = true;
}

void TEditBuffer::replaceRange(Integer Start, Integer End, const std::u32string& Chars) {
  FText.replace(Start, End - Start, Chars);
  FAnchor = FCaret = Start + Integer(Chars.size());
  FModified = true;
}

bool TEditBuffer::ReplaceSel(const String& S, bool ByUser, bool CanUndo) {
  if (ByUser && FReadOnly) return false;
  std::u32string Chars = Decode(S);
  if (ByUser && !FMultiline) {
    // A single line takes a paste up to its first line break.
    size_t Break = Chars.find_first_of(U"\r\n");
    if (Break != std::u32string::npos) Chars.resize(Break);
  }
  if (ByUser && FMaxLength > 0) {
    const Integer Room = std::max(0, FMaxLength - (Length() - SelLength()));
    if (Integer(Chars.size()) > Room) Chars.resize(Room);
  }
  if (Chars.empty() && SelLength() == 0) return false;
  if (CanUndo) remember(TStep::Other);
  FTyping = false;
  replaceRange(SelStart(), SelEnd(), Chars);
  return true;
}

bool TEditBuffer::TypeChar(char32_t C) {
  if (FReadOnly) return false;
  if (C == U'\r') C = U'\n';
  if (C == 0 || (C == U'\n' && !FMultiline) || (C < 0x20 && C != U'\n' && C != U'\t') || C == 0x7F)
    return false;
  if (C >= 0xD800 && C <= 0xDFFF) C = 0xFFFD;
  if (FMaxLength > 0 && Length() - SelLength() >= FMaxLength) return false;
  remember(TStep::Typing);
  replaceRange(SelStart(), SelEnd(), std::u32string(1, C));
  FTyping = true;
  return true;
}

bool TEditBuffer::DeleteBack(bool Word) {
  if (FReadOnly) return false;
  Integer Start = SelStart(), End = SelEnd();
  if (Start == End) {
    if (Start == 0) return false;
    Start = Word ? WordLeft(Start) : Start - 1;
  }
  remember(TStep::Other);
  FTyping = false;
  replaceRange(Start, End, {});
  return true;
}

bool TEditBuffer::DeleteForward(bool Word) {
  if (FReadOnly) return false;
  Integer Start = SelStart(), End = SelEnd();
  if (Start == End) {
    if (End >= Length()) return false;
    End = Word ? WordRight(End) : End + 1;
  }
  remember(TStep::Other);
  FTyping = false;
  replaceRange(Start, End, {});
  return true;
}

bool TEditBuffer::Undo() {
  if (FReadOnly || !FHasUndo) return false;
  std::swap(FText, FUndoText);
  std::swap(FAnchor, FUndoAnchor);
  std::swap(FCaret, FUndoCaret);
  FAnchor = clamp(FAnchor);
  FCaret = clamp(FCaret);
  FTyping = false;
  FModified = true;
  return true;
}

Integer TEditBuffer::WordLeft(Integer Pos) const {
  Pos = clamp(Pos);
  while (Pos > 0 && kindOf(FText[Pos - 1]) == TCharKind::Blank) --Pos;
  if (Pos == 0) return 0;
  const TCharKind Kind = kindOf(FText[Pos - 1]);
  if (Kind == TCharKind::Break) return Pos - 1;
  while (Pos > 0 && kindOf(FText[Pos - 1]) == Kind) --Pos;
  return Pos;
}

Integer TEditBuffer::WordRight(Integer Pos) const {
  Pos = clamp(Pos);
  if (Pos >= Length()) return Length();
  const TCharKind Kind = kindOf(FText[Pos]);
  if (Kind == TCharKind::Break) return Pos + 1;
  if (Kind != TCharKind::Blank)
    while (Pos < Length() && kindOf(FText[Pos]) == Kind) ++Pos;
  while (Pos < Length() && kindOf(FText[Pos]) == TCharKind::Blank) ++Pos;
  return Pos;
}

// A single line is one line whatever it holds: line breaks set by code show as characters.
Integer TEditBuffer::LineCount() const {
  if (!FMultiline) return 1;
  return 1 + Integer(std::count(FText.begin(), FText.end(), U'\n'));
}

Integer TEditBuffer::LineFromChar(Integer Pos) const {
  if (!FMultiline) return 0;
  Pos = clamp(Pos);
  return Integer(std::count(FText.begin(), FText.begin() + Pos, U'\n'));
}

Integer TEditBuffer::LineStart(Integer Line) const {
  if (Line < 0 || (!FMultiline && Line > 0)) return -1;
  if (!FMultiline) return 0;
  Integer Pos = 0;
  for (Integer L = 0; L < Line; ++L) {
    size_t Next = FText.find(U'\n', Pos);
    if (Next == std::u32string::npos) return -1;
    Pos = Integer(Next) + 1;
  }
  return Pos;
}

Integer TEditBuffer::LineLength(Integer Line) const {
  const Integer Start = LineStart(Line);
  if (Start < 0) return 0;
  if (!FMultiline) return Length();
  size_t End = FText.find(U'\n', Start);
  return (End == std::u32string::npos ? Length() : Integer(End)) - Start;
}

std::u32string TEditBuffer::LineChars(Integer Line) const {
  const Integer Start = LineStart(Line);
  return Start < 0 ? std::u32string() : FText.substr(Start, LineLength(Line));
}
