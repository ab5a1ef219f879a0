#include "platform/rtl/lists.h"

#include <algorithm>

#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"

// ---- TList -------------------------------------------------------------------------------------

TList::~TList() {
  Clear();
}

void TList::Error(const String& Msg, Integer Data) {
  throw EListError(Format(Msg, Data));
}

void TList::checkIndex(Integer Index) const {
  if (Index < 0 || Index >= Count()) Error(SListIndexError, Index);
}

void TList::Notify(void*, TListNotification) {}

Integer TList::Add(void* Item) {
  FList.push_back(Item);
  if (Item != nullptr) Notify(Item, lnAdded);
  return Count() - 1;
}

void TList::Insert(Integer Index, void* Item) {
  if (Index < 0 || Index > Count()) Error(SListIndexError, Index);
  FList.insert(FList.begin() + Index, Item);
  if (Item != nullptr) Notify(Item, lnAdded);
}

void TList::Delete(Integer Index) {
  checkIndex(Index);
  void* Item = FList[static_cast<size_t>(Index)];
  FList.erase(FList.begin() + Index);
  if (Item != nullptr) Notify(Item, lnDeleted);
}

Integer TList::Remove(void* Item) {
  Integer Index = IndexOf(Item);
  if (Index >= 0) Delete(Index);
  return Index;
}

void* TList::Extract(void* Item) {
  Integer Index = IndexOf(Item);
  if (Index < 0) return nullptr;
  FList.erase(FList.begin() + Index);
  Notify(Item, lnExtracted);
  return Item;
}

Integer TList::IndexOf(void* Item) const {
  auto it = std::find(FList.begin(), FList.end(), Item);
  return it == FList.end() ? -1 : static_cast<Integer>(it - FList.begin());
}

void TList::Exchange(Integer Index1, Integer Index2) {
  checkIndex(Index1);
  checkIndex(Index2);
  std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
}

void TList::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  checkIndex(CurIndex);
  checkIndex(NewIndex);
  void* Item = FList[static_cast<size_t>(CurIndex)];
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, Item);
}

void TList::Clear() {
  // Notify per item, last first, so a descendant that frees its items sees a consistent list.
  while (!FList.empty()) Delete(Count() - 1);
  FList.shrink_to_fit();
}

void* TList::First() const {
  checkIndex(0);
  return FList.front();
}

void* TList::Last() const {
  checkIndex(Count() - 1);
  return FList.back();
}

void TList::Pack() {
  std::erase(FList, nullptr);
}

void TList::Sort(const TListSortCompare& Compare) {
  std::stable_sort(FList.begin(), FList.end(), [&](void* A, void* B) { return Compare(A, B) < 0; });
}

void TList::SetCount(Integer NewCount) {
  if (NewCount < 0) Error(SListCountError, NewCount);
  while (Count() > NewCount) Delete(Count() - 1);
  FList.resize(static_cast<size_t>(NewCount), nullptr);
}

void TList::SetCapacity(Integer NewCapacity) {
  if (NewCapacity < Count()) Error(SListCapacityError, NewCapacity);
  if (NewCapacity > Capacity())
    FList.reserve(static_cast<size_t>(NewCapacity));
  else
    FList.shrink_to_fit();
}

void* TList::Items(Integer Index) const {
  checkIndex(Index);
  return FList[static_cast<size_t>(Index)];
}

void TList::Put(Integer Index, void* Item) {
  checkIndex(Index);
  void* Old = FList[static_cast<size_t>(Index)];
  if (Old == Item) return;
  FList[static_cast<size_t>(Index)] = Item;
  if (Old != nullptr) Notify(Old, lnDeleted);
  if (Item != nullptr) Notify(Item, lnAdded);
}

// ---- TStrings ----------------------------------------------------------------------------------

void TStrings::Error(const String& Msg, Integer Data) {
  throw EStringListError(Format(Msg, Data));
}

Integer TStrings::Add(const String& S) {
  Integer Result = GetCount();
  Insert(Result, S);
  return Result;
}

Integer TStrings::AddObject(const String& S, TObject* AObject) {
  Integer Result = Add(S);
  PutObject(Result, AObject);
  return Result;
}

void TStrings::AddStrings(TStrings* Strings) {
  if (Strings == nullptr) return;
  BeginUpdate();
  try {
    Integer N = Strings->Count();
    for (Integer i = 0; i < N; ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Assign(TPersistent* Source) {
  auto* Strings = dynamic_cast<TStrings*>(Source);
  if (Strings == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  if (Strings == this) return;
  BeginUpdate();
  try {
    Clear();
    FDelimiter = Strings->FDelimiter;
    FQuoteChar = Strings->FQuoteChar;
    FNameValueSeparator = Strings->FNameValueSeparator;
    FStrictDelimiter = Strings->FStrictDelimiter;
    AddStrings(Strings);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

bool TStrings::Equals(TStrings* Strings) {
  if (Strings == nullptr) return false;
  Integer N = GetCount();
  if (N != Strings->GetCount()) return false;
  for (Integer i = 0; i < N; ++i)
    if (Get(i) != Strings->Get(i)) return false;
  return true;
}

void TStrings::Exchange(Integer Index1, Integer Index2) {
  BeginUpdate();
  try {
    String TempString = Get(Index1);
    TObject* TempObject = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, TempString);
    PutObject(Index2, TempObject);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

Integer TStrings::CompareStrings(const String& S1, const String& S2) {
  return AnsiCompareText(S1, S2);
}

Integer TStrings::IndexOf(const String& S) {
  Integer N = GetCount();
  for (Integer i = 0; i < N; ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

Integer TStrings::IndexOfName(const String& Name) {
  Integer N = GetCount();
  for (Integer i = 0; i < N; ++i) {
    String S = Get(i);
    size_t P = S.find(FNameValueSeparator);
    if (P != String::npos && CompareStrings(S.substr(0, P), Name) == 0) return i;
  }
  return -1;
}

Integer TStrings::IndexOfObject(TObject* AObject) {
  Integer N = GetCount();
  for (Integer i = 0; i < N; ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

void TStrings::InsertObject(Integer Index, const String& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  try {
    String TempString = Get(CurIndex);
    TObject* TempObject = GetObject(CurIndex);
    if (NewIndex < 0 || NewIndex >= GetCount()) Error(SListIndexError, NewIndex);
    PutObject(CurIndex, nullptr);  // the object travels with its line; keep an owning list from freeing it
    Delete(CurIndex);
    InsertObject(NewIndex, TempString, TempObject);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TObject* TStrings::GetObject(Integer) {
  return nullptr;
}

void TStrings::Put(Integer Index, const String& S) {
  TObject* TempObject = GetObject(Index);
  PutObject(Index, nullptr);
  Delete(Index);
  InsertObject(Index, S, TempObject);
}

void TStrings::PutObject(Integer, TObject*) {}

String TStrings::Names(Integer Index) {
  String S = Get(Index);
  size_t P = S.find(FNameValueSeparator);
  return P == String::npos ? String() : S.substr(0, P);
}

String TStrings::ValueFromIndex(Integer Index) {
  if (Index < 0) return String();
  String S = Get(Index);
  size_t P = S.find(FNameValueSeparator);
  return P == String::npos ? String() : S.substr(P + 1);
}

void TStrings::SetValueFromIndex(Integer Index, const String& Value) {
  if (!Value.empty()) {
    if (Index < 0) Index = Add(String());
    Put(Index, Names(Index) + FNameValueSeparator + Value);
  } else if (Index >= 0) {
    Delete(Index);
  }
}

String TStrings::Values(const String& Name) {
  return ValueFromIndex(IndexOfName(Name));
}

void TStrings::SetValues(const String& Name, const String& Value) {
  Integer Index = IndexOfName(Name);
  if (!Value.empty()) {
    String Line = Name + FNameValueSeparator + Value;
    if (Index < 0)
      Add(Line);
    else
      Put(Index, Line);
  } else if (Index >= 0) {
    Delete(Index);
  }
}

String TStrings::GetTextStr() {
  String Result;
  Integer N = GetCount();
  for (Integer i = 0; i < N; ++i) {
    Result += Get(i);
    Result += '\n';
  }
  return Result;
}

void TStrings::SetTextStr(const String& Value) {
  BeginUpdate();
  try {
    Clear();
    size_t P = 0;
    const size_t N = Value.size();
    while (P < N) {
      size_t Start = P;
      while (P < N && Value[P] != '\r' && Value[P] != '\n') ++P;
      Add(Value.substr(Start, P - Start));
      if (P < N && Value[P] == '\r') ++P;
      if (P < N && Value[P] == '\n') ++P;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

String TStrings::DelimitedText() {
  Integer N = GetCount();
  if (N == 1 && Get(0).empty()) return String(2, FQuoteChar);
  String Result;
  for (Integer i = 0; i < N; ++i) {
    String S = Get(i);
    bool Quote = false;
    for (unsigned char c : S) {
      if (c == static_cast<unsigned char>(FQuoteChar) || c == static_cast<unsigned char>(FDelimiter) ||
          c == 0 || (!FStrictDelimiter && c <= ' ')) {
        Quote = true;
        break;
      }
    }
    if (i > 0) Result += FDelimiter;
    Result += Quote ? AnsiQuotedStr(S, FQuoteChar) : S;
  }
  return Result;
}

void TStrings::SetDelimitedText(const String& Value) {
  auto blank = [](char c) { return c > 0 && static_cast<unsigned char>(c) <= ' '; };
  const size_t N = Value.size();
  size_t P = 0;
  auto skipBlanks = [&] {
    if (!FStrictDelimiter)
      while (P < N && blank(Value[P])) ++P;
  };
  BeginUpdate();
  try {
    Clear();
    skipBlanks();
    while (P < N) {
      String S;
      if (Value[P] == FQuoteChar) {
        // Quoted item: doubled quotes stand for one; an unclosed quote runs to the end.
        ++P;
        while (P < N) {
          if (Value[P] == FQuoteChar) {
            if (P + 1 < N && Value[P + 1] == FQuoteChar) {
              S += FQuoteChar;
              P += 2;
              continue;
            }
            ++P;
            break;
          }
          S += Value[P++];
        }
      } else {
        size_t Start = P;
        while (P < N && Value[P] != FDelimiter && (FStrictDelimiter || !blank(Value[P]))) ++P;
        S = Value.substr(Start, P - Start);
      }
      Add(S);
      skipBlanks();
      if (P < N && Value[P] == FDelimiter) {
        ++P;
        if (P == N) Add(String());
        skipBlanks();
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

String TStrings::CommaText() {
  char OldDelimiter = FDelimiter, OldQuote = FQuoteChar;
  bool OldStrict = FStrictDelimiter;
  FDelimiter = ',';
  FQuoteChar = '"';
  FStrictDelimiter = false;
  String Result = DelimitedText();
  FDelimiter = OldDelimiter;
  FQuoteChar = OldQuote;
  FStrictDelimiter = OldStrict;
  return Result;
}

void TStrings::SetCommaText(const String& Value) {
  char OldDelimiter = FDelimiter, OldQuote = FQuoteChar;
  bool OldStrict = FStrictDelimiter;
  FDelimiter = ',';
  FQuoteChar = '"';
  FStrictDelimiter = false;
  try {
    SetDelimitedText(Value);
  } catch (...) {
    FDelimiter = OldDelimiter;
    FQuoteChar = OldQuote;
    FStrictDelimiter = OldStrict;
    throw;
  }
  FDelimiter = OldDelimiter;
  FQuoteChar = OldQuote;
  FStrictDelimiter = OldStrict;
}

void TStrings::LoadFromFile(const String& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

void TStrings::LoadFromStream(TStream* Stream) {
  Int64 Size = Stream->Size() - Stream->Position();
  String S;
  if (Size > 0) {
    S.resize(static_cast<size_t>(Size));
    S.resize(static_cast<size_t>(Stream->Read(S.data(), Size)));
  }
  if (S.size() >= 3 && S.compare(0, 3, "\xEF\xBB\xBF") == 0) S.erase(0, 3);
  SetTextStr(S);
}

void TStrings::SaveToFile(const String& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream);
}

void TStrings::SaveToStream(TStream* Stream) {
  String S = GetTextStr();
  Stream->WriteBuffer(S.data(), static_cast<Int64>(S.size()));
}

// ---- TStringList -------------------------------------------------------------------------------

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (auto& Item : FList) freeObject(Item.FObject);
}

void TStringList::freeObject(TObject* AObject) {
  delete AObject;
}

void TStringList::checkIndex(Integer Index) {
  if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
}

void TStringList::Changing() {
  if (UpdateCount() == 0) {
    if (OnChanging) OnChanging(this);
    return;
  }
  if (!FChangingFired) {
    FChangingFired = true;
    if (OnChanging) OnChanging(this);
  }
}

void TStringList::Changed() {
  if (UpdateCount() == 0) {
    if (OnChange) OnChange(this);
    return;
  }
  FChangedInUpdate = true;
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) {
    FChangingFired = false;
    FChangedInUpdate = false;
    return;
  }
  bool Fire = FChangedInUpdate;
  FChangingFired = false;
  FChangedInUpdate = false;
  if (Fire && OnChange) OnChange(this);
}

Integer TStringList::Add(const String& S) {
  return AddObject(S, nullptr);
}

Integer TStringList::AddObject(const String& S, TObject* AObject) {
  Integer Result;
  if (!FSorted) {
    Result = GetCount();
  } else if (Find(S, Result)) {
    switch (FDuplicates) {
      case dupIgnore:
        return Result;
      case dupError:
        throw EStringListError(SDuplicateString);
      case dupAccept:
        break;
    }
  }
  InsertItem(Result, S, AObject);
  return Result;
}

void TStringList::InsertItem(Integer Index, const String& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TStringItem> Old;
  Old.swap(FList);
  if (FOwnsObjects)
    for (auto& Item : Old) freeObject(Item.FObject);
  Changed();
}

void TStringList::Delete(Integer Index) {
  checkIndex(Index);
  Changing();
  TObject* Obj = FList[static_cast<size_t>(Index)].FObject;
  FList.erase(FList.begin() + Index);
  if (FOwnsObjects) freeObject(Obj);
  Changed();
}

void TStringList::Exchange(Integer Index1, Integer Index2) {
  checkIndex(Index1);
  checkIndex(Index2);
  Changing();
  std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
  Changed();
}

bool TStringList::Find(const String& S, Integer& Index) {
  if (!FSorted) {
    Index = IndexOf(S);
    if (Index >= 0) return true;
    Index = GetCount();
    return false;
  }
  bool Result = false;
  Integer L = 0, H = GetCount() - 1;
  while (L <= H) {
    Integer I = L + (H - L) / 2;
    Integer C = CompareStrings(FList[static_cast<size_t>(I)].FString, S);
    if (C < 0) {
      L = I + 1;
    } else {
      H = I - 1;
      if (C == 0) {
        Result = true;
        // With dupAccept keep going left to the first equal line.
        if (FDuplicates != dupAccept) L = I;
      }
    }
  }
  Index = L;
  return Result;
}

Integer TStringList::IndexOf(const String& S) {
  if (!FSorted) return TStrings::IndexOf(S);
  Integer Result;
  return Find(S, Result) ? Result : -1;
}

void TStringList::Move(Integer CurIndex, Integer NewIndex) {
  // Refuse before the line is taken out, or it would be lost.
  if (FSorted && CurIndex != NewIndex) throw EStringListError(SSortedListError);
  TStrings::Move(CurIndex, NewIndex);
}

void TStringList::Insert(Integer Index, const String& S) {
  if (FSorted) throw EStringListError(SSortedListError);
  if (Index < 0 || Index > GetCount()) Error(SListIndexError, Index);
  InsertItem(Index, S, nullptr);
}

String TStringList::Get(Integer Index) {
  checkIndex(Index);
  return FList[static_cast<size_t>(Index)].FString;
}

TObject* TStringList::GetObject(Integer Index) {
  checkIndex(Index);
  return FList[static_cast<size_t>(Index)].FObject;
}

void TStringList::Put(Integer Index, const String& S) {
  if (FSorted) throw EStringListError(SSortedListError);
  checkIndex(Index);
  Changing();
  FList[static_cast<size_t>(Index)].FString = S;
  Changed();
}

void TStringList::PutObject(Integer Index, TObject* AObject) {
  checkIndex(Index);
  Changing();
  FList[static_cast<size_t>(Index)].FObject = AObject;
  Changed();
}

void TStringList::SetCapacityImpl(Integer NewCapacity) {
  if (NewCapacity < GetCount()) Error(SListCapacityError, NewCapacity);
  FList.reserve(static_cast<size_t>(NewCapacity));
}

Integer TStringList::CompareStrings(const String& S1, const String& S2) {
  return FCaseSensitive ? CompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

void TStringList::Sort() {
  CustomSort([](TStringList* List, Integer I1, Integer I2) {
    return List->CompareStrings(List->FList[static_cast<size_t>(I1)].FString,
                                List->FList[static_cast<size_t>(I2)].FString);
  });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  if (GetCount() <= 1) return;
  Changing();
  // The compare function reads the list by index, so sort a permutation and apply it afterwards.
  std::vector<Integer> Order(FList.size());
  for (size_t i = 0; i < Order.size(); ++i) Order[i] = static_cast<Integer>(i);
  std::stable_sort(Order.begin(), Order.end(), [&](Integer A, Integer B) { return Compare(this, A, B) < 0; });
  std::vector<TStringItem> Sorted;
  Sorted.reserve(FList.size());
  for (Integer i : Order) Sorted.push_back(std::move(FList[static_cast<size_t>(i)]));
  FList.swap(Sorted);
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) Sort();
}
