#include "skin/shell/bsshellfolder.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/shell/testkit/fakes.h"
#include "platform/shell/testkit/tempfolder.h"
#include "skin/shell/bsshellviews_test_util.h"

namespace {

class ShellFolder : public shelltest::TTempFolderTest {
 protected:
  PItemIDList Parse(const String& Name) {
    PItemIDList ID = nullptr;
    EXPECT_TRUE(Succeeded(DesktopIShellFolder()->ParseDisplayName(Name, ID))) << Name;
    return ID;
  }
};

TEST(ItemIDLists, SizesCopiesConcatenationAndChains) {
  PItemIDList Desktop = DesktopItemIDList();
  EXPECT_EQ(ItemIDListSize(Desktop), 2);
  EXPECT_EQ(ItemIDListSize(nullptr), 0);
  PItemIDList A = ILMakeItem('d', "alpha");
  PItemIDList B = ILMakeItem('d', "be");
  PItemIDList C = ILMakeItem('f', "c.txt");
  PItemIDList AB = ConcatItemIDLists(A, B);
  PItemIDList ABC = ConcatItemIDLists(AB, C);
  EXPECT_EQ(ItemIDCount(ABC), 3);
  EXPECT_EQ(ItemIDListSize(ABC), ItemIDListSize(A) + ItemIDListSize(B) + ItemIDListSize(C) - 4);
  // Nil or the desktop in front change nothing.
  for (PCItemIDList Front : {PCItemIDList(nullptr), PCItemIDList(Desktop)}) {
    PItemIDList Same = ConcatItemIDLists(Front, ABC);
    ASSERT_EQ(ItemIDListSize(Same), ItemIDListSize(ABC));
    EXPECT_EQ(memcmp(Same, ABC, size_t(ItemIDListSize(ABC))), 0);
    FreeItemIDList(Same);
  }
  // The chain: the proper prefixes, shortest first.
  std::vector<PItemIDList> Chain = ItemIDChain(ABC);
  ASSERT_EQ(Chain.size(), 3u);
  for (Integer i = 0; i < 3; ++i) EXPECT_EQ(ItemIDCount(Chain[size_t(i)]), i);
  EXPECT_EQ(memcmp(Chain[2], AB, size_t(ItemIDListSize(AB))), 0);
  FreeItemIDChain(Chain);
  EXPECT_TRUE(ItemIDChain(Desktop).empty());
  // The last item alone, and the list without it.
  PItemIDList Last = LastItemIDCopy(ABC);
  EXPECT_EQ(memcmp(Last, C, size_t(ItemIDListSize(C))), 0);
  StripLastItemID(ABC);
  EXPECT_EQ(ItemIDCount(ABC), 2);
  StripLastItemID(Desktop);
  EXPECT_EQ(ItemIDCount(Desktop), 0);
  for (PItemIDList P : {Desktop, A, B, C, AB, ABC, Last}) FreeItemIDList(P);
}

TEST(ShellText, QuestionMarksBeforeADigitGoAndClassNamesAskAgain) {
  struct Case {
    const char* In;
    const char* Out;
  } Cases[] = {{"?1?2 name?", "12 name"}, {"?a?b", "?a?b"}, {"?", "?"}, {"plain", "plain"}};
  for (const Case& C : Cases) {
    STRRET R;
    R.uType = STRRET_CSTR;
    R.str = C.In;
    EXPECT_EQ(StrRetText(nullptr, R), C.Out) << C.In;
  }
  // An offset answer: the bytes of the first item from the offset to its end.
  PItemIDList Item = ILMakeItem('f', "name.txt");
  STRRET R;
  R.uType = STRRET_OFFSET;
  R.uOffset = 3;
  EXPECT_EQ(StrRetText(Item, R), "name.txt");
  FreeItemIDList(Item);
  EXPECT_EQ(ItemDisplayName(nullptr, nullptr, 0), "parentfolder = nil");
  EXPECT_EQ(ShellObjectFlags({otFolders, otHidden}), 0xA0u);
  EXPECT_EQ(RootFolderIndex("rfMyComputer"), Integer(rfMyComputer));
  EXPECT_EQ(RootFolderCSIDL(rfTemplates), 21);
  EXPECT_LT(RootFolderIndex("/tmp"), 0);
}

TEST_F(ShellFolder, LevelsNamesFoldersAndArchives) {
  MakeDir("sub");
  MakeFile("sub/clip.ZIP");
  MakeFile("sub/a.txt");
  TRoot Root = Dir;
  TbsShellFolder* Top = CreateRootShellFolder(nullptr, "", Root);
  EXPECT_EQ(Top->Parent(), DesktopShellFolder());
  EXPECT_EQ(Top->Level(), 0);
  EXPECT_EQ(Top->PathName(), Dir);
  EXPECT_TRUE(Top->IsFolder());
  EXPECT_TRUE(Top->SubFolders());
  PItemIDList SubID = nullptr;
  ASSERT_TRUE(Succeeded(Top->ShellFolder()->ParseDisplayName("sub", SubID)));
  IShellFolderPtr SubSF;
  ASSERT_TRUE(Succeeded(Top->ShellFolder()->BindToObject(SubID, SubSF)));
  TbsShellFolder Sub(Top, SubID, SubSF);
  EXPECT_EQ(Sub.Level(), 1);
  EXPECT_EQ(Sub.DisplayName(), "sub");
  EXPECT_EQ(Sub.FullObjectName(), Path("sub"));
  EXPECT_FALSE(Sub.SubFolders());
  for (const char* Name : {"clip.ZIP", "a.txt"}) {
    PItemIDList FileID = nullptr;
    ASSERT_TRUE(Succeeded(SubSF->ParseDisplayName(Name, FileID)));
    TbsShellFolder File(&Sub, FileID, nullptr);
    EXPECT_EQ(File.Level(), 2);
    EXPECT_FALSE(File.IsFolder()) << Name;
    EXPECT_TRUE(File.Properties().Contains(fpFileSystem));
    FreeItemIDList(FileID);
  }
  FreeItemIDList(SubID);
  delete Top;
}

TEST_F(ShellFolder, RenameUpdatesBothIdentifiersAndRefusalsRaise) {
  MakeDir("sub");
  MakeFile("sub/old.txt");
  MakeFile("sub/taken.txt");
  TRoot Root = Path("sub");
  TbsShellFolder* Top = CreateRootShellFolder(nullptr, "", Root);
  PItemIDList ID = nullptr;
  ASSERT_TRUE(Succeeded(Top->ShellFolder()->ParseDisplayName("old.txt", ID)));
  TbsShellFolder File(Top, ID, nullptr);
  FreeItemIDList(ID);
  ASSERT_TRUE(File.Capabilities().Contains(fcCanRename));
  EXPECT_TRUE(File.Rename("new.txt"));
  EXPECT_EQ(File.PathName(), Path("sub/new.txt"));
  EXPECT_EQ(File.DisplayName(), "new.txt");
  EXPECT_EQ(access(Path("sub/new.txt").c_str(), F_OK), 0);
  try {
    File.Rename("taken.txt");
    ADD_FAILURE() << "a rename over an existing file went through";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Rename to taken.txt failed");
  }
  EXPECT_EQ(File.PathName(), Path("sub/new.txt"));
  delete Top;
}

TEST_F(ShellFolder, ABadRootRaisesAndHandsTheOldRootBack) {
  TRoot Good = Dir;
  TbsShellFolder* Old = CreateRootShellFolder(nullptr, "", Good);
  for (const String& Bad : {String(""), Path("missing")}) {
    TRoot NewRoot = Bad;
    try {
      CreateRootShellFolder(Old, Dir, NewRoot);
      ADD_FAILURE() << Bad;
    } catch (const Exception& E) {
      EXPECT_EQ(E.Message(), "Error setting path: \"" + Bad + "\"");
    }
    EXPECT_EQ(NewRoot, Dir);
  }
  EXPECT_EQ(Old->PathName(), Dir);  // still alive
  TRoot Computer = "rfMyComputer";
  TbsShellFolder* Top = CreateRootShellFolder(Old, Dir, Computer);
  EXPECT_EQ(Top->FullObjectName(), "/");
  delete Top;
}

TEST_F(ShellFolder, FileSystemDetailsCoverAwkwardEntries) {
  MakeDir("sub");
  MakeFile("clip.mp4", "12345");
  {
    // Sparse: the size is only recorded, nothing is written.
    std::ofstream Big(Path("big.bin"));
    Big.seekp((Int64(5) << 30) - 1);
    Big.put('x');
  }
  ASSERT_EQ(symlink(Path("gone").c_str(), Path("broken").c_str()), 0);
  ASSERT_EQ(symlink(Path("loop2").c_str(), Path("loop1").c_str()), 0);
  ASSERT_EQ(symlink(Path("loop1").c_str(), Path("loop2").c_str()), 0);
  const String BadName = "bad\xff\xfename.txt";
  MakeFile(BadName, "abc");
  TRoot Root = Dir;
  TbsShellFolder* Top = CreateRootShellFolder(nullptr, "", Root);
  EXPECT_FALSE(Top->ShellFolder2());
  EXPECT_FALSE(Top->ShellDetails());
  struct Case {
    String Name;
    String Size;
    String Ext;
    bool HasTime;
  } Cases[] = {{"clip.mp4", "5", ".mp4", true}, {"big.bin", "5368709120", ".bin", true},
               {"sub", "", "", false},          {"broken", "", "", true},
               {"loop1", "", "", true},         {BadName, "3", ".txt", true}};
  for (const Case& C : Cases) {
    PItemIDList ID = nullptr;
    ASSERT_TRUE(Succeeded(Top->ShellFolder()->ParseDisplayName(C.Name, ID))) << C.Name;
    TbsShellFolder Item(Top, ID, nullptr);
    FreeItemIDList(ID);
    try {
      Item.Details(1);
      ADD_FAILURE() << "details before loading";
    } catch (const Exception& E) {
      EXPECT_EQ(E.Message(), Item.DisplayName() + ": Missing call to LoadColumnDetails");
    }
    Item.LoadColumnDetails(Top, 7, 4);
    EXPECT_EQ(Item.DetailCount(), 4);
    EXPECT_EQ(Item.ViewHandle(), 7u);
    if (C.Name != "broken" && C.Name != "loop1") {
      EXPECT_EQ(Item.Details(1), C.Size) << C.Name;  // a folder shows no size
    }
    EXPECT_EQ(Item.Details(2), C.Ext) << C.Name;
    EXPECT_EQ(!Item.Details(3).empty(), C.HasTime) << C.Name;
    EXPECT_FALSE(Item.Details(4).empty()) << C.Name;
  }
  // The odd name is shown with a replacement character but read by its bytes (size 3 above).
  PItemIDList ID = nullptr;
  ASSERT_TRUE(Succeeded(Top->ShellFolder()->ParseDisplayName(BadName, ID)));
  TbsShellFolder Odd(Top, ID, nullptr);
  FreeItemIDList(ID);
  EXPECT_NE(Odd.DisplayName().find("\xEF\xBF\xBD"), String::npos);
  EXPECT_EQ(Odd.PathName(), Path(BadName));
  delete Top;
}

TEST_F(ShellFolder, AnEntryThatWentAwayRaisesTheDetailsError) {
  MakeFile("vanishing.txt");
  TRoot Root = Dir;
  TbsShellFolder* Top = CreateRootShellFolder(nullptr, "", Root);
  PItemIDList ID = nullptr;
  ASSERT_TRUE(Succeeded(Top->ShellFolder()->ParseDisplayName("vanishing.txt", ID)));
  TbsShellFolder Item(Top, ID, nullptr);
  FreeItemIDList(ID);
  ASSERT_EQ(unlink(Path("vanishing.txt").c_str()), 0);
  try {
    Item.LoadColumnDetails(Top, 0, 4);
    ADD_FAILURE() << "details of a deleted file";
  } catch (const EInvalidPath& E) {
    EXPECT_EQ(E.Message(), "Unable to retrieve folder details for \"vanishing.txt\". Error code $2");
  }
  delete Top;
}

// A namespace folder that describes its items itself.
class TDescribingFolder : public TForwardingFolder, public IShellFolder2 {
 public:
  using TForwardingFolder::TForwardingFolder;
  HRESULT GetDetailsOf(PCItemIDList ID, UINT Column, SHELLDETAILS& D) override {
    if (Column == 3) return E_FAIL;
    D.str.str = (ID ? "item" : "caption") + std::to_string(Column);
    return S_OK;
  }
  HRESULT GetDefaultColumnState(UINT, Cardinal& Flags) override {
    Flags = SHCOLSTATE_ONBYDEFAULT;
    return S_OK;
  }
};

TEST_F(ShellFolder, AFolderThatDescribesItsItemsIsAskedColumnByColumn) {
  MakeFile("a.txt");
  TRoot Root = Dir;
  TbsShellFolder* Plain = CreateRootShellFolder(nullptr, "", Root);
  TbsShellFolder Top(nullptr, Plain->AbsoluteID(), std::make_shared<TDescribingFolder>(Plain->ShellFolder()));
  ASSERT_TRUE(Top.ShellFolder2());
  EXPECT_FALSE(Top.ShellDetails());
  PItemIDList ID = nullptr;
  ASSERT_TRUE(Succeeded(Top.ShellFolder()->ParseDisplayName("a.txt", ID)));
  TbsShellFolder Item(&Top, ID, nullptr);
  FreeItemIDList(ID);
  Item.LoadColumnDetails(&Top, 0, 4);
  EXPECT_EQ(Item.Details(1), "item1");
  EXPECT_EQ(Item.Details(3), "");  // the folder had no answer
  EXPECT_EQ(Item.Details(4), "item4");
  // Loaded once per column count: fewer columns ask nothing again.
  Item.LoadColumnDetails(&Top, 0, 2);
  EXPECT_EQ(Item.DetailCount(), 4);
  delete Plain;
}

TEST_F(ShellFolder, OpenGoesToTheDesktopOpenerAndPropertiesDoNothing) {
  shelltest::TShellFakes Fakes;
  MakeFile("clip.mp4");
  TRoot Root = Dir;
  TbsShellFolder* Top = CreateRootShellFolder(nullptr, "", Root);
  PItemIDList ID = nullptr;
  ASSERT_TRUE(Succeeded(Top->ShellFolder()->ParseDisplayName("clip.mp4", ID)));
  TbsShellFolder Item(Top, ID, nullptr);
  FreeItemIDList(ID);
  InvokeShellVerb(&Item, "Open");
  InvokeShellVerb(&Item, "properties");
  InvokeShellVerb(nullptr, "open");
  EXPECT_EQ(Fakes.Open().Targets, std::vector<String>{Path("clip.mp4")});
  Fakes.Open().Result = false;
  EXPECT_EQ(Item.ExecuteDefault(), 0);
  delete Top;
}

}  // namespace
