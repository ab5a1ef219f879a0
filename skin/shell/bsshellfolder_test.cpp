#include "skin/shell/bsshellfolder.h"

#include <gtest/gtest.h>

#include "platform/shell/testkit/tempfolder.h"

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

}  // namespace
