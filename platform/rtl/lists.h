// TList (a list of pointers), TStrings (the abstract list of strings with objects) and
// TStringList (its concrete, optionally sorted form).
#pragma once

#include <functional>
#include <vector>

#include "platform/rtl/component.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"
#include "platform/rtl/types.h"

class TStream;

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// Negative when Item1 sorts before Item2, 0 when equal, positive after.
using TListSortCompare = std::function<Integer(void* Item1, void* Item2)>;

class TList : public TObject {
 public:
  TList() = default;
  ~TList() override;
  String ClassName() const override { return "TList"; }

  Integer Add(void* Item);
  void Insert(Integer Index, void* Item);
  void Delete(Integer Index);
  // Deletes the first occurrence of Item; returns its former index or -1.
  Integer Remove(void* Item);
  // Removes the first occurrence of Item without deleting it (notifies lnExtracted); returns Item or
  // nullptr when absent.
  void* Extract(void* Item);
  Integer IndexOf(void* Item) const;
  void Exchange(Integer Index1, Integer Index2);
  void Move(Integer CurIndex, Integer NewIndex);
  virtual void Clear();
  void* First() const;
  void* Last() const;
  // Removes every nullptr entry.
  void Pack();
  void Sort(const TListSortCompare& Compare);

  Integer Count() const { return static_cast<Integer>(FList.size()); }
  void SetCount(Integer NewCount);
  Integer Capacity() const { return static_cast<Integer>(FList.capacity()); }
  void SetCapacity(Integer NewCapacity);
  // Items(i)/Put(i, p); both raise EListError "List index out of bounds (%d)".
  void* Items(Integer Index) const;
  void Put(Integer Index, void* Item);
  void* operator[](Integer Index) const { return Items(Index); }
  void** List() { return FList.data(); }

  [[noreturn]] static void Error(const String& Msg, Integer Data);

 protected:
  // Called after an item was added and before one is removed from the list.
  virtual void Notify(void* Ptr, TListNotification Action);

 private:
  void checkIndex(Integer Index) const;
  std::vector<void*> FList;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
 public:
  TStrings() = default;
  String ClassName() const override { return "TStrings"; }

  virtual Integer Add(const String& S);
  virtual Integer AddObject(const String& S, TObject* AObject);
  void Append(const String& S) { Add(S); }
  virtual void AddStrings(TStrings* Strings);
  // Copies the lines, objects and separators of another TStrings; other sources per TPersistent.
  void Assign(TPersistent* Source) override;
  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }
  virtual void Clear() = 0;
  virtual void Delete(Integer Index) = 0;
  // Same count and the same lines in the same order (exact comparison).
  bool Equals(TStrings* Strings);
  virtual void Exchange(Integer Index1, Integer Index2);
  virtual Integer IndexOf(const String& S);
  // Index of the first line whose part before NameValueSeparator equals Name; -1 when none.
  virtual Integer IndexOfName(const String& Name);
  Integer IndexOfObject(TObject* AObject);
  virtual void Insert(Integer Index, const String& S) = 0;
  void InsertObject(Integer Index, const String& S, TObject* AObject);
  virtual void Move(Integer CurIndex, Integer NewIndex);

  // UTF-8 text; a leading UTF-8 byte-order mark is dropped. File errors raise EFOpenError/EFCreateError.
  virtual void LoadFromFile(const String& FileName);
  virtual void LoadFromStream(TStream* Stream);
  virtual void SaveToFile(const String& FileName);
  virtual void SaveToStream(TStream* Stream);

  Integer Count() { return GetCount(); }
  String Strings(Integer Index) { return Get(Index); }
  void SetStrings(Integer Index, const String& S) { Put(Index, S); }
  TObject* Objects(Integer Index) { return GetObject(Index); }
  void SetObjects(Integer Index, TObject* AObject) { PutObject(Index, AObject); }
  String operator[](Integer Index) { return Get(Index); }

  // The part before the first NameValueSeparator; "" for a line without one.
  String Names(Integer Index);
  // The part after the first NameValueSeparator; "" for a line without one.
  String ValueFromIndex(Integer Index);
  // Empty Value deletes the line; a missing name is appended.
  void SetValueFromIndex(Integer Index, const String& Value);
  String Values(const String& Name);
  void SetValues(const String& Name, const String& Value);

  // Every line followed by "\n". Setting splits at "\r\n", "\r" and "\n".
  String Text() { return GetTextStr(); }
  void SetText(const String& Value) { SetTextStr(Value); }
  // Lines joined by Delimiter; a line holding a blank or control character (not with
  // StrictDelimiter), QuoteChar or Delimiter is quoted, QuoteChar doubled inside.
  String DelimitedText();
  // Without StrictDelimiter blanks separate items as well as Delimiter.
  void SetDelimitedText(const String& Value);
  // DelimitedText with ',' and '"', blanks separating, whatever the list's own settings.
  String CommaText();
  void SetCommaText(const String& Value);

  char Delimiter() const { return FDelimiter; }
  void SetDelimiter(char Value) { FDelimiter = Value; }
  char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char Value) { FQuoteChar = Value; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }
  char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char Value) { FNameValueSeparator = Value; }

  Integer Capacity() { return GetCapacity(); }
  void SetCapacity(Integer NewCapacity) { SetCapacityImpl(NewCapacity); }

 protected:
  [[noreturn]] void Error(const String& Msg, Integer Data);
  virtual String Get(Integer Index) = 0;
  virtual Integer GetCount() = 0;
  virtual TObject* GetObject(Integer Index);
  virtual void Put(Integer Index, const String& S);
  virtual void PutObject(Integer Index, TObject* AObject);
  virtual Integer GetCapacity() { return GetCount(); }
  virtual void SetCapacityImpl(Integer) {}
  virtual String GetTextStr();
  virtual void SetTextStr(const String& Value);
  // Called with true when the outermost BeginUpdate starts, false when the outermost EndUpdate ends.
  virtual void SetUpdateState(bool Updating);
  // Case-insensitive by default; TStringList follows its CaseSensitive.
  virtual Integer CompareStrings(const String& S1, const String& S2);

 private:
  Integer FUpdateCount = 0;
  char FDelimiter = ',';
  char FQuoteChar = '"';
  char FNameValueSeparator = '=';
  bool FStrictDelimiter = false;
};

class TStringList;
using TStringListSortCompare = std::function<Integer(TStringList* List, Integer Index1, Integer Index2)>;

class TStringList : public TStrings {
 public:
  explicit TStringList(bool OwnsObjects = false) : FOwnsObjects(OwnsObjects) {}
  ~TStringList() override;
  String ClassName() const override { return "TStringList"; }

  // On a sorted list Add inserts at the sorted place; a duplicate is then ignored (dupIgnore,
  // returning the existing index), accepted, or refused with EStringListError (dupError).
  Integer Add(const String& S) override;
  Integer AddObject(const String& S, TObject* AObject) override;
  void Clear() override;
  void Delete(Integer Index) override;
  void Exchange(Integer Index1, Integer Index2) override;
  // Binary search of a sorted list: true when found, Index = first match or insertion place.
  virtual bool Find(const String& S, Integer& Index);
  Integer IndexOf(const String& S) override;
  // EStringListError on a sorted list.
  void Insert(Integer Index, const String& S) override;
  // EStringListError on a sorted list.
  void Move(Integer CurIndex, Integer NewIndex) override;
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& Compare);

  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  // Owned objects are freed by Delete, Clear and the destructor.
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  // Fired around every change outside BeginUpdate/EndUpdate. Inside an update OnChanging fires before
  // the first change and OnChange once at the outermost EndUpdate, both only when something changed.
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  String Get(Integer Index) override;
  Integer GetCount() override { return static_cast<Integer>(FList.size()); }
  TObject* GetObject(Integer Index) override;
  void Put(Integer Index, const String& S) override;
  void PutObject(Integer Index, TObject* AObject) override;
  Integer GetCapacity() override { return static_cast<Integer>(FList.capacity()); }
  void SetCapacityImpl(Integer NewCapacity) override;
  void SetUpdateState(bool Updating) override;
  Integer CompareStrings(const String& S1, const String& S2) override;
  virtual void Changed();
  virtual void Changing();
  virtual void InsertItem(Integer Index, const String& S, TObject* AObject);

 private:
  struct TStringItem {
    String FString;
    TObject* FObject = nullptr;
  };
  void checkIndex(Integer Index);
  void freeObject(TObject* AObject);

  std::vector<TStringItem> FList;
  TDuplicates FDuplicates = dupIgnore;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
  bool FChangingFired = false;
  bool FChangedInUpdate = false;
};
