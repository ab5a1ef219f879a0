#include "platform/rtl/lists.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "platform/rtl/collection.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/testkit/rtl_test_util.h"

namespace {

std::vector<String> lines(TStrings& L) {
  std::vector<String> R;
  for (Integer i = 0; i < L.Count(); ++i) R.push_back(L.Strings(i));
  return R;
}

void fill(TStrings& L, const std::vector<String>& Items) {
  L.Clear();
  for (const String& S : Items) L.Add(S);
}

// ---- TList -------------------------------------------------------------------------------------

TEST(List, EditsKeepOrderAndBadIndexesRaise) {
  int V[5];
  TList L;
  for (int& X : V) L.Add(&X);
  L.Move(0, 4);                        // 1 2 3 4 0
  L.Exchange(0, 1);                    // 2 1 3 4 0
  EXPECT_EQ(L.Extract(&V[3]), &V[3]);  // 2 1 3 0
  EXPECT_EQ(L.Extract(&V[3]), nullptr);
  EXPECT_EQ(L.Remove(&V[1]), 1);  // 2 3 0
  L.Insert(1, nullptr);           // 2 nil 3 0
  L.Pack();                       // 2 3 0
  std::vector<void*> Got;
  for (Integer i = 0; i < L.Count(); ++i) Got.push_back(L.Items(i));
  EXPECT_EQ(Got, (std::vector<void*>{&V[2], &V[4], &V[0]}));
  EXPECT_EQ(L.First(), &V[2]);
  EXPECT_EQ(L.Last(), &V[0]);

  for (Integer Bad : {-1, 3}) {
    try {
      L.Items(Bad);
      ADD_FAILURE();
    } catch (const EListError& E) {
      EXPECT_EQ(E.Message(), "List index out of bounds (" + std::to_string(Bad) + ")");
    }
  }
  EXPECT_THROW(L.Delete(3), EListError);
  EXPECT_THROW(L.Insert(5, nullptr), EListError);
  L.Clear();
  EXPECT_THROW(L.First(), EListError);
}

TEST(List, SortUsesTheCompareFunction) {
  int V[] = {5, 1, 4, 1, 3};
  TList L;
  for (int& X : V) L.Add(&X);
  L.Sort([](void* A, void* B) { return *static_cast<int*>(A) - *static_cast<int*>(B); });
  std::vector<int> Got;
  for (Integer i = 0; i < L.Count(); ++i) Got.push_back(*static_cast<int*>(L.Items(i)));
  EXPECT_EQ(Got, (std::vector<int>{1, 1, 3, 4, 5}));
}

// ---- TStringList -------------------------------------------------------------------------------

TEST(StringList, SortedAddFollowsDuplicates) {
  struct Case {
    TDuplicates Dup;
    std::vector<String> Expected;
    bool Raises;
  };
  const Case Cases[] = {
      {dupIgnore, {"apple", "Banana", "cherry"}, false},
      {dupAccept, {"apple", "BANANA", "Banana", "cherry"}, false},  // before the equal line
      {dupError, {"apple", "Banana", "cherry"}, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Dup);
    TStringList L;
    L.SetSorted(true);
    L.SetDuplicates(C.Dup);
    L.Add("cherry");
    L.Add("Banana");
    L.Add("apple");
    if (C.Raises) {
      try {
        L.Add("BANANA");
        ADD_FAILURE();
      } catch (const EStringListError& E) {
        EXPECT_EQ(E.Message(), "String list does not allow duplicates");
      }
    } else {
      EXPECT_EQ(L.Add("BANANA"), 1);  // the place of the existing line
    }
    EXPECT_EQ(lines(L), C.Expected);
    Integer Index = -1;
    EXPECT_TRUE(L.Find("banana", Index));
    EXPECT_EQ(Index, 1);
    EXPECT_FALSE(L.Find("blueberry", Index));
    EXPECT_EQ(Index, static_cast<Integer>(C.Expected.size()) - 1);
  }
}

TEST(StringList, CaseSensitivityGovernsLookupAndOrder) {
  TStringList L;
  fill(L, {"b", "B", "a"});
  EXPECT_EQ(L.IndexOf("B"), 0);
  L.SetCaseSensitive(true);
  EXPECT_EQ(L.IndexOf("B"), 1);
  L.SetSorted(true);
  EXPECT_EQ(lines(L), (std::vector<String>{"B", "a", "b"}));
  L.SetCaseSensitive(false);  // re-sorts
  EXPECT_EQ(L.Strings(0), "a");
  EXPECT_THROW(L.Insert(0, "z"), EStringListError);
  EXPECT_THROW(L.Move(0, 2), EStringListError);
  EXPECT_EQ(L.Count(), 3);  // nothing lost by the refused move
}

TEST(StringList, NamesAndValues) {
  TStringList L;
  fill(L, {"Width=10", "height = 20", "plain", "Mode=a=b"});
  EXPECT_EQ(L.Values("WIDTH"), "10");
  EXPECT_EQ(L.Values("height "), " 20");  // no trimming
  EXPECT_EQ(L.Values("height"), "");
  EXPECT_EQ(L.Values("Mode"), "a=b");
  EXPECT_EQ(L.Names(2), "");
  EXPECT_EQ(L.ValueFromIndex(2), "");
  EXPECT_EQ(L.IndexOfName("mode"), 3);

  L.SetValues("width", "11");  // replaces, spelled as given
  L.SetValues("Depth", "5");   // appended
  L.SetValues("height ", "");  // deleted
  L.SetValueFromIndex(0, "12");
  EXPECT_EQ(lines(L), (std::vector<String>{"width=12", "plain", "Mode=a=b", "Depth=5"}));
  L.SetNameValueSeparator(':');
  L.Add("Key:v");
  EXPECT_EQ(L.Values("key"), "v");
}

TEST(StringList, CommaTextBothWays) {
  struct Case {
    std::vector<String> Items;
    String Text;
  };
  const Case Cases[] = {
      {{"a", "b", "c"}, "a,b,c"},
      {{"a b", "c,d", "say \"hi\"", ""}, "\"a b\",\"c,d\",\"say \"\"hi\"\"\","},
      {{""}, "\"\""},
      {{}, ""},
      {{"中文", "x"}, "中文,x"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    TStringList L;
    fill(L, C.Items);
    EXPECT_EQ(L.CommaText(), C.Text);
    TStringList Back;
    Back.SetCommaText(C.Text);
    EXPECT_EQ(lines(Back), C.Items);
  }

  const std::pair<String, std::vector<String>> Parse[] = {
      {"  a b ,c", {"a", "b", "c"}},  // blanks separate too
      {"a,,b", {"a", "", "b"}},
      {"\"x\"\"y\" z", {"x\"y", "z"}},
      {"\"open", {"open"}},
  };
  for (const auto& [Text, Items] : Parse) {
    SCOPED_TRACE(Text);
    TStringList L;
    L.SetCommaText(Text);
    EXPECT_EQ(lines(L), Items);
  }
}

TEST(StringList, DelimitedTextWithStrictDelimiter) {
  TStringList L;
  L.SetDelimiter(';');
  L.SetQuoteChar('\'');
  L.SetStrictDelimiter(true);
  L.SetDelimitedText(" a b;c;'d;e'");
  EXPECT_EQ(lines(L), (std::vector<String>{" a b", "c", "d;e"}));
  EXPECT_EQ(L.DelimitedText(), " a b;c;'d;e'");
  EXPECT_EQ(L.CommaText(), "\" a b\",c,d;e");
}

TEST(StringList, TextSplitsAtEveryLineBreakKind) {
  const std::pair<String, std::vector<String>> Cases[] = {
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"a\n", {"a"}},
      {"a\n\nb", {"a", "", "b"}},
      {"\n", {""}},
      {"a\n\r", {"a", ""}},
      {"", {}},
  };
  for (const auto& [Text, Items] : Cases) {
    TStringList L;
    L.SetText(Text);
    EXPECT_EQ(lines(L), Items);
  }
  TStringList L;
  fill(L, {"x", "", "y"});
  EXPECT_EQ(L.Text(), "x\n\ny\n");
}

TEST(StringList, OnChangeFiresOnceForAnUpdateThatChangedSomething) {
  TStringList L;
  int Changing = 0, Change = 0;
  std::vector<Integer> CountAtChanging;
  L.OnChanging = [&](TObject*) {
    ++Changing;
    CountAtChanging.push_back(L.Count());
  };
  L.OnChange = [&](TObject*) { ++Change; };
  L.Add("a");
  EXPECT_EQ(Change, 1);
  L.BeginUpdate();
  L.BeginUpdate();
  L.Add("b");
  L.Add("c");
  L.EndUpdate();
  EXPECT_EQ(Change, 1);
  L.EndUpdate();
  EXPECT_EQ(Change, 2);
  EXPECT_EQ(Changing, 2);
  EXPECT_EQ(CountAtChanging, (std::vector<Integer>{0, 1}));  // before the first change
  L.BeginUpdate();
  L.IndexOf("b");
  L.EndUpdate();
  EXPECT_EQ(Change, 2);
}

struct TCounted : TObject {
  explicit TCounted(int* ALive) : Live(ALive) { ++*Live; }
  ~TCounted() override { --*Live; }
  int* Live;
};

TEST(StringList, OwnedObjectsAreFreedAndTravelWithTheirLines) {
  int Live = 0;
  {
    TStringList L(true);
    L.AddObject("a", new TCounted(&Live));
    L.AddObject("b", new TCounted(&Live));
    L.AddObject("c", new TCounted(&Live));
    TObject* B = L.Objects(1);
    L.Move(1, 0);
    L.Exchange(1, 2);
    EXPECT_EQ(lines(L), (std::vector<String>{"b", "c", "a"}));
    EXPECT_EQ(L.Objects(0), B);
    L.Delete(0);
    EXPECT_EQ(Live, 2);
  }
  EXPECT_EQ(Live, 0);
}

TEST(StringList, AssignCopiesLinesAndObjects) {
  TStringList Src;
  TObject Tag;
  Src.AddObject("one", &Tag);
  Src.Add("two");
  TStringList Dst;
  Dst.Add("old");
  Dst.Assign(&Src);
  EXPECT_EQ(lines(Dst), lines(Src));
  EXPECT_EQ(Dst.Objects(0), &Tag);
  EXPECT_TRUE(Dst.Equals(&Src));
}

TEST(StringList, FilesAreUtf8WithoutByteOrderMark) {
  TTempFolder Dir("rtl-lists");
  String Path = Dir.Path("l.txt");
  {
    std::ofstream F(Path, std::ios::binary);
    F << "\xEF\xBB\xBF"
      << "第一\r\nsecond";
  }
  TStringList L;
  L.LoadFromFile(Path);
  EXPECT_EQ(lines(L), (std::vector<String>{"第一", "second"}));
  L.SaveToFile(Path);
  TMemoryStream M;
  M.LoadFromFile(Path);
  EXPECT_EQ(String(static_cast<char*>(M.Memory()), M.Size()), "第一\nsecond\n");
  EXPECT_THROW(L.LoadFromFile(Dir.Path("missing.txt")), EFOpenError);
}

// ---- TCollection -------------------------------------------------------------------------------

class TNamedItem : public TCollectionItem {
 public:
  explicit TNamedItem(TCollection* Collection)
      : TCollectionItem(Collection), FName("Item" + std::to_string(Index())) {}
  String ClassName() const override { return "TNamedItem"; }
  void Assign(TPersistent* Source) override {
    if (auto* S = dynamic_cast<TNamedItem*>(Source)) {
      FName = S->FName + "'";
      return;
    }
    TCollectionItem::Assign(Source);
  }
  String FName;

 protected:
  String GetDisplayName() override { return FName; }
};

class TWatchedItems : public TCollection {
 public:
  explicit TWatchedItems(TPersistent* AOwner)
      : TCollection(CollectionItemClass<TNamedItem>()), FOwner(AOwner) {}
  TPersistent* GetOwner() override { return FOwner; }
  std::vector<String> Log;

 protected:
  void Update(TCollectionItem* Item) override {
    // Reads every item: an item must be complete when this runs.
    String S = Item ? "update " + Item->DisplayName() : "update all";
    for (Integer i = 0; i < Count(); ++i) S += " " + Items(i)->DisplayName();
    Log.push_back(S);
  }
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
    // By ID: cnExtracting also comes from an item's destructor, when only its base part is left.
    const char* What = Action == cnAdded ? "added #" : Action == cnDeleting ? "deleting #" : "extracting #";
    Log.push_back(What + std::to_string(Item->ID()));
  }

 private:
  TPersistent* FOwner;
};

TEST(Collection, AddReportsTheItemOnceBuiltAndKeepsIndexAndID) {
  TComponent Owner(nullptr);
  TWatchedItems C(&Owner);
  EXPECT_EQ(C.Owner(), &Owner);
  C.Add();
  C.Add();
  auto* Third = static_cast<TNamedItem*>(C.Insert(0));
  EXPECT_EQ(C.Log, (std::vector<String>{"added #0", "update all Item0", "added #1", "update all Item0 Item1",
                                        "added #2", "update all Item0 Item1 Item2",
                                        "update all Item2 Item0 Item1"}));
  EXPECT_EQ(Third->Index(), 0);
  EXPECT_EQ(Third->ID(), 2);
  EXPECT_EQ(Third->Collection(), &C);
  EXPECT_EQ(Third->GetOwner(), &C);
  EXPECT_EQ(C.FindItemID(1), C.Items(2));

  C.Log.clear();
  C.Delete(1);
  EXPECT_EQ(C.Log, (std::vector<String>{"deleting #0", "extracting #0", "update all Item2 Item1"}));
  EXPECT_THROW(C.Items(2), EListError);
  EXPECT_THROW(C.Delete(-1), EListError);
}

TEST(Collection, UpdatesWaitForTheOutermostEndUpdate) {
  TWatchedItems C(nullptr);
  C.BeginUpdate();
  C.BeginUpdate();
  C.Add();
  C.Add()->SetIndex(0);
  C.EndUpdate();
  C.Log.clear();
  C.EndUpdate();
  EXPECT_EQ(C.Log, (std::vector<String>{"update all Item1 Item0"}));
  C.Log.clear();
  C.Items(0)->SetDisplayName("x");
  EXPECT_EQ(C.Log, (std::vector<String>{"update Item1 Item1 Item0"}));
}

TEST(Collection, AssignCopiesItemByItemAndItemsMayChangeCollection) {
  TWatchedItems A(nullptr), B(nullptr);
  A.Add();
  A.Add();
  B.Add();
  B.Assign(&A);
  ASSERT_EQ(B.Count(), 2);
  EXPECT_EQ(B.Items(1)->DisplayName(), "Item1'");

  TCollectionItem* Moved = A.Items(0);
  Moved->SetCollection(&B);
  EXPECT_EQ(A.Count(), 1);
  EXPECT_EQ(B.Items(2), Moved);
  delete Moved;
  EXPECT_EQ(B.Count(), 2);

  TCollection Plain(CollectionItemClass<TCollectionItem>());
  EXPECT_THROW(Plain.Add()->Assign(A.Items(0)), EConvertError);
}

}  // namespace
