// The namespace over temporary folders: a fake home with xdg user folders and a mount table, and
// folders holding the awkward entries a real disk has (broken and looping links, names that are not
// UTF-8, huge and sparse files, folders that vanish or cannot be read).
#include "platform/shell/shellnamespace.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <map>

#include "platform/shell/testkit/tempfolder.h"
#include "platform/ui/graphics/imagelist.h"

namespace {

struct TIDs {
  std::vector<PItemIDList> Items;
  ~TIDs() {
    for (PItemIDList id : Items) ILFree(id);
  }
};

class ShellNamespaceTest : public shelltest::TTempFolderTest {
 protected:
  void SetUp() override {
    shelltest::TTempFolderTest::SetUp();
    MakeDir("home");
    MakeDir("home/Documents");
    MakeDir("home/视频");
    MakeDir("home/work");
    MakeDir("home/Pictures");  // exists, but the user's pictures live in 图片
    MakeDir("home/图片");
    std::ofstream(Path("user-dirs.dirs")) << "# written by xdg-user-dirs-update\n"
                                          << "XDG_VIDEOS_DIR=\"$HOME/视频\"\n"
                                          << "XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n"
                                          << "XDG_PICTURES_DIR=\"$HOME/图片/\"\n"
                                          << "XDG_MUSIC_DIR=\"$HOME/Missing\"\n"
                                          << "XDG_PUBLICSHARE_DIR=\"$HOME/\"\n";
    std::ofstream(Path("mounts")) << "proc /proc proc rw 0 0\n"
                                  << "tmpfs /run tmpfs rw 0 0\n"
                                  << "/dev/sda1 / ext4 rw 0 0\n"
                                  << "/dev/sdb1 /media/my\\040stick vfat rw 0 0\n"
                                  << "sysfs /sys sysfs rw 0 0\n"
                                  << "/dev/sdc1 /srv/data xfs rw 0 0\n";
    SetShellNamespaceSources({Path("home"), Path("user-dirs.dirs"), Path("mounts")});
    ASSERT_EQ(SHGetDesktopFolder(Desktop), S_OK);
  }
  void TearDown() override {
    SetShellNamespaceSources({});
    shelltest::TTempFolderTest::TearDown();
  }

  // The folder object of an absolute path, through the desktop.
  IShellFolderPtr FolderOf(const String& AbsPath) {
    PItemIDList id = nullptr;
    EXPECT_EQ(Desktop->ParseDisplayName(AbsPath, id), S_OK) << AbsPath;
    IShellFolderPtr folder;
    if (id) {
      EXPECT_EQ(Desktop->BindToObject(id, folder), S_OK);
    }
    ILFree(id);
    return folder;
  }
  // Every item of a folder, sorted by the folder's own order.
  static void List(IShellFolder& F, Cardinal Flags, TIDs& Out) {
    std::unique_ptr<IEnumIDList> e;
    ASSERT_EQ(F.EnumObjects(Flags, e), S_OK);
    PItemIDList id;
    while (e->Next(id) == S_OK) Out.Items.push_back(id);
    std::stable_sort(Out.Items.begin(), Out.Items.end(),
                     [&](PItemIDList a, PItemIDList b) { return F.CompareIDs(0, a, b) < 0; });
  }
  static String Name(IShellFolder& F, PCItemIDList ID, Cardinal Flags = SHGDN_INFOLDER) {
    STRRET s;
    EXPECT_EQ(F.GetDisplayNameOf(ID, Flags, s), S_OK);
    return s.str;
  }
  static Cardinal Attributes(IShellFolder& F, PCItemIDList ID, Cardinal Asked = 0) {
    Cardinal a = Asked;
    EXPECT_EQ(F.GetAttributesOf(1, &ID, a), S_OK);
    return a;
  }

  IShellFolderPtr Desktop;
};

TEST_F(ShellNamespaceTest, IdentifierListsFollowTheItemLayout) {
  EXPECT_EQ(ILGetSize(nullptr), 0u);
  PItemIDList empty = ILClone(nullptr);
  EXPECT_EQ(ILGetSize(empty), 2u);
  EXPECT_EQ(ILItemCount(empty), 0u);
  PItemIDList a = ILMakeItem('d', "abc");
  const Byte* raw = reinterpret_cast<const Byte*>(a);
  EXPECT_EQ(raw[0] | (raw[1] << 8), 6);  // count, kind and three name bytes
  EXPECT_EQ(raw[2], 'd');
  EXPECT_EQ(raw[6] | raw[7], 0);  // terminator
  PItemIDList ab = ILCombine(a, a);
  EXPECT_EQ(ILGetSize(ab), 14u);
  EXPECT_EQ(ILItemCount(ab), 2u);
  PItemIDList copy = ILCombine(nullptr, a);
  EXPECT_EQ(std::memcmp(copy, a, ILGetSize(a)), 0);
  PItemIDList same = ILCombine(empty, a);
  EXPECT_EQ(std::memcmp(same, a, ILGetSize(a)), 0);
  for (PItemIDList p : {empty, a, ab, copy, same}) ILFree(p);
}

TEST_F(ShellNamespaceTest, DesktopHoldsHomeUserFoldersRootAndRealVolumes) {
  std::vector<TShellRootEntry> roots = ShellRootEntries();
  std::vector<std::pair<char, String>> got;
  for (auto& r : roots) got.emplace_back(r.Kind, r.Path);
  // Pictures comes before videos whatever the file's order; the user's 图片 wins over ~/Pictures.
  std::vector<std::pair<char, String>> want = {
      {'h', Path("home")}, {'u', Path("home/Documents")}, {'u', Path("home/图片")}, {'u', Path("home/视频")},
      {'r', "/"},          {'v', "/media/my stick"},      {'v', "/srv/data"}};
  EXPECT_EQ(got, want);

  TIDs items;
  List(*Desktop, SHCONTF_FOLDERS, items);
  ASSERT_EQ(items.Items.size(), want.size());
  EXPECT_EQ(Name(*Desktop, items.Items[0]), "home");
  EXPECT_EQ(Name(*Desktop, items.Items[3]), "视频");
  EXPECT_EQ(Name(*Desktop, items.Items[4]), "/");
  EXPECT_EQ(Name(*Desktop, items.Items[5], SHGDN_FORPARSING), "/media/my stick");
  EXPECT_TRUE(Attributes(*Desktop, items.Items[5]) & SFGAO_REMOVABLE);
  EXPECT_FALSE(Attributes(*Desktop, items.Items[0]) & SFGAO_CANRENAME);
  // The desktop itself (its empty identifier) is a folder with subfolders, so a tree rooted at it opens.
  PItemIDList self = ILClone(nullptr);
  EXPECT_EQ(Attributes(*Desktop, self, SFGAO_HASSUBFOLDER) & (SFGAO_FOLDER | SFGAO_HASSUBFOLDER),
            SFGAO_FOLDER | SFGAO_HASSUBFOLDER);
  EXPECT_FALSE(Attributes(*Desktop, self) & SFGAO_HASSUBFOLDER) << "looked for only when asked";
  ILFree(self);
}

TEST_F(ShellNamespaceTest, PathsParseToTheDeepestDesktopItemAndBack) {
  MakeFile("home/视频/clip.mp4");
  struct Case {
    String Path;
    char FirstKind;
    UINT Items;
  } cases[] = {{Path("home/视频/clip.mp4"), 'u', 2},
               {Path("home/work"), 'h', 2},
               {Path("home"), 'h', 1},
               {"/tmp", 'r', 2}};
  for (const Case& c : cases) {
    PItemIDList id = nullptr;
    ASSERT_EQ(Desktop->ParseDisplayName(c.Path, id), S_OK) << c.Path;
    EXPECT_EQ(reinterpret_cast<const Byte*>(id)[2], c.FirstKind) << c.Path;
    EXPECT_EQ(ILItemCount(id), c.Items) << c.Path;
    String back;
    EXPECT_TRUE(SHGetPathFromIDList(id, back));
    EXPECT_EQ(back, c.Path);
    ILFree(id);
  }
  PItemIDList id = nullptr;
  EXPECT_FALSE(Succeeded(Desktop->ParseDisplayName(Path("home/nothing"), id)));
  EXPECT_EQ(id, nullptr);
  EXPECT_FALSE(Succeeded(Desktop->ParseDisplayName("relative/name", id)));
  EXPECT_FALSE(Succeeded(Desktop->ParseDisplayName(Path("home/../home"), id)));
  String none;
  PItemIDList empty = ILClone(nullptr);
  EXPECT_FALSE(SHGetPathFromIDList(empty, none));
  ILFree(empty);
}

TEST_F(ShellNamespaceTest, ListingSortsFoldersFirstThenNamesAsAPersonReadsThem) {
  MakeDir("d");
  MakeDir("d/Zeta");
  MakeDir("d/alpha");
  for (const char* f : {"file10.txt", "File2.txt", "file2.txt", "b.txt", ".hidden", "Ärger.txt", "apple"})
    MakeFile(String("d/") + f);
  IShellFolderPtr d = FolderOf(Path("d"));
  ASSERT_TRUE(d);
  TIDs items;
  List(*d, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items);
  std::vector<String> names;
  for (PItemIDList id : items.Items) names.push_back(Name(*d, id));
  // "File2" and "file2" are the same to a person; the bytes settle them the same way every time.
  std::vector<String> want = {"alpha", "Zeta",      "apple",     "Ärger.txt",
                              "b.txt", "File2.txt", "file2.txt", "file10.txt"};
  EXPECT_EQ(names, want);

  TIDs withHidden;
  List(*d, SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, withHidden);
  ASSERT_EQ(withHidden.Items.size(), 7u);
  EXPECT_EQ(Name(*d, withHidden.Items[0]), ".hidden");
  EXPECT_TRUE(Attributes(*d, withHidden.Items[0]) & SFGAO_HIDDEN);
  EXPECT_FALSE(Attributes(*d, withHidden.Items[1]) & SFGAO_HIDDEN);
}

TEST_F(ShellNamespaceTest, AwkwardEntriesAreListedWithoutCrashOrHang) {
  MakeDir("d");
  MakeDir("d/sub");
  MakeFile("d/plain.txt");
  ASSERT_EQ(symlink("nowhere", Path("d/broken").c_str()), 0);
  ASSERT_EQ(symlink("loop2", Path("d/loop1").c_str()), 0);
  ASSERT_EQ(symlink("loop1", Path("d/loop2").c_str()), 0);
  ASSERT_EQ(symlink(".", Path("d/self").c_str()), 0);  // a folder link that leads into itself
  String latin1 = "caf\xE9.txt";
  MakeFile("d/" + latin1, "bytes");
  int fd = open(Path("d/huge.mkv").c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, (Int64(5) << 30) + 1), 0);  // sparse, over 4 GiB
  close(fd);

  IShellFolderPtr d = FolderOf(Path("d"));
  ASSERT_TRUE(d);
  TIDs items;
  List(*d, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items);
  std::map<String, PItemIDList> byName;
  for (PItemIDList id : items.Items) byName[Name(*d, id)] = id;
  ASSERT_EQ(byName.size(), 8u);
  // Not valid UTF-8: shown with U+FFFD, opened by its bytes.
  ASSERT_TRUE(byName.count("caf\xEF\xBF\xBD.txt"));
  PCItemIDList odd = byName["caf\xEF\xBF\xBD.txt"];
  String parsing = Name(*d, odd, SHGDN_FORPARSING);
  EXPECT_EQ(parsing, Path("d/" + latin1));
  std::ifstream in(parsing);
  String body;
  in >> body;
  EXPECT_EQ(body, "bytes");
  EXPECT_EQ(Name(*d, odd, SHGDN_FORPARSING | SHGDN_INFOLDER), latin1);

  EXPECT_EQ(Attributes(*d, byName["broken"]) & (SFGAO_LINK | SFGAO_FOLDER), SFGAO_LINK);
  EXPECT_EQ(Attributes(*d, byName["loop1"]) & (SFGAO_LINK | SFGAO_FOLDER), SFGAO_LINK);
  EXPECT_EQ(Attributes(*d, byName["self"]) & (SFGAO_LINK | SFGAO_FOLDER), SFGAO_LINK | SFGAO_FOLDER);
  EXPECT_EQ(Attributes(*d, byName["huge.mkv"]) & SFGAO_FOLDER, 0u);
  EXPECT_EQ(SHGetIconIndex(nullptr, false), siFolder);
  // Folders sort first; the loop and the dangling link are plain entries.
  EXPECT_EQ(Name(*d, items.Items[0]), "self");
  EXPECT_EQ(Name(*d, items.Items[1]), "sub");

  // A folder link into itself binds (one level at a time, so nothing recurses).
  IShellFolderPtr self;
  EXPECT_EQ(d->BindToObject(byName["self"], self), S_OK);
  IShellFolderPtr none;
  EXPECT_FALSE(Succeeded(d->BindToObject(byName["loop1"], none)));
  EXPECT_FALSE(none);

  PItemIDList full = nullptr;
  ASSERT_EQ(Desktop->ParseDisplayName(Path("d/huge.mkv"), full), S_OK);
  EXPECT_EQ(SHGetIconIndex(full, false), siVideo);
  ILFree(full);
  ASSERT_EQ(Desktop->ParseDisplayName(Path("d/broken"), full), S_OK);
  EXPECT_EQ(SHGetIconIndex(full, false), siLink);
  ILFree(full);
}

TEST_F(ShellNamespaceTest, SubfolderAttributeIsFoundOnlyWhenAskedAndChildrenComeLazily) {
  MakeDir("d");
  MakeDir("d/withsub");
  MakeDir("d/withsub/inner");
  MakeDir("d/empty");
  MakeFile("d/withsub/file");
  IShellFolderPtr d = FolderOf(Path("d"));
  TIDs items;
  List(*d, SHCONTF_FOLDERS, items);
  ASSERT_EQ(items.Items.size(), 2u);
  EXPECT_EQ(Name(*d, items.Items[1]), "withsub");
  EXPECT_EQ(Attributes(*d, items.Items[1], SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER, SFGAO_HASSUBFOLDER);
  EXPECT_EQ(Attributes(*d, items.Items[1]) & SFGAO_HASSUBFOLDER, 0u);
  EXPECT_EQ(Attributes(*d, items.Items[0], SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER, 0u);
  Cardinal both = SFGAO_FOLDER;
  PCItemIDList two[] = {items.Items[0], items.Items[1]};
  EXPECT_EQ(d->GetAttributesOf(2, two, both), S_OK);
  EXPECT_TRUE(both & SFGAO_FOLDER);

  IShellFolderPtr sub;
  ASSERT_EQ(d->BindToObject(items.Items[1], sub), S_OK);
  TIDs inner;
  List(*sub, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, inner);
  ASSERT_EQ(inner.Items.size(), 2u);
  EXPECT_EQ(Name(*sub, inner.Items[0]), "inner");
  EXPECT_EQ(Name(*sub, inner.Items[1], SHGDN_FORPARSING), Path("d/withsub/file"));
}

TEST_F(ShellNamespaceTest, FoldersThatVanishOrCannotBeReadFailCleanly) {
  MakeDir("gone");
  for (int i = 0; i < 50; ++i) MakeFile("gone/f" + std::to_string(i));
  IShellFolderPtr gone = FolderOf(Path("gone"));
  ASSERT_TRUE(gone);
  std::unique_ptr<IEnumIDList> e;
  ASSERT_EQ(gone->EnumObjects(SHCONTF_NONFOLDERS, e), S_OK);
  PItemIDList first;
  ASSERT_EQ(e->Next(first), S_OK);
  ILFree(first);
  ASSERT_EQ(system(("rm -rf '" + Path("gone") + "'").c_str()), 0);
  Integer rest = 0;
  for (PItemIDList id; e->Next(id) == S_OK && rest < 100; ++rest) ILFree(id);
  EXPECT_LT(rest, 50);  // the listing ends; it never runs on
  std::unique_ptr<IEnumIDList> again;
  EXPECT_EQ(gone->EnumObjects(SHCONTF_NONFOLDERS, again), HResultFromErrno(ENOENT));
  EXPECT_FALSE(again);

  MakeDir("locked");
  MakeFile("locked/secret");
  IShellFolderPtr locked = FolderOf(Path("locked"));
  MakeDir("plain");
  MakeFile("plain/shared.txt");
  IShellFolderPtr plain = FolderOf(Path("plain"));
  PItemIDList shared = nullptr;
  ASSERT_EQ(plain->ParseDisplayName("shared.txt", shared), S_OK);
  Cardinal mine = 0;
  PCItemIDList sharedId = shared;
  ASSERT_EQ(plain->GetAttributesOf(1, &sharedId, mine), S_OK);
  EXPECT_EQ(mine & (SFGAO_READONLY | SFGAO_CANRENAME), SFGAO_CANRENAME);
  ASSERT_EQ(chmod(Path("plain/shared.txt").c_str(), 0444), 0);
  ASSERT_EQ(chmod(Path("plain").c_str(), 0555), 0);
  ASSERT_EQ(chmod(Path("locked").c_str(), 0), 0);
  // Root reads every folder: the check runs as an ordinary user in a child process.
  EXPECT_EXIT(
      {
        if (geteuid() == 0 && setuid(65534) != 0) _exit(3);
        std::unique_ptr<IEnumIDList> denied;
        HRESULT hr = locked->EnumObjects(SHCONTF_NONFOLDERS, denied);
        if (hr != HResultFromErrno(EACCES) || denied) _exit(1);
        // Another user's file cannot be written, renamed or deleted from its folder.
        PCItemIDList id = shared;
        Cardinal a = 0;
        if (plain->GetAttributesOf(1, &id, a) != S_OK) _exit(2);
        _exit((a & SFGAO_READONLY) && !(a & SFGAO_CANRENAME) ? 0 : 4);
      },
      ::testing::ExitedWithCode(0), "");
  ILFree(shared);
}

TEST_F(ShellNamespaceTest, AHundredThousandEntriesAreListed) {
  MakeDir("many");
  for (int i = 0; i < 100000; ++i) {
    int fd = open(Path("many/e" + std::to_string(i)).c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    close(fd);
  }
  IShellFolderPtr many = FolderOf(Path("many"));
  std::unique_ptr<IEnumIDList> e;
  ASSERT_EQ(many->EnumObjects(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, e), S_OK);
  Integer count = 0;
  for (PItemIDList id; e->Next(id) == S_OK; ++count) ILFree(id);
  EXPECT_EQ(count, 100000);
}

TEST_F(ShellNamespaceTest, RenameKeepsOtherEntriesAndRefusesBadNames) {
  MakeDir("d");
  MakeFile("d/old.txt", "old");
  MakeFile("d/taken.txt", "keep");
  IShellFolderPtr d = FolderOf(Path("d"));
  PItemIDList old = nullptr;
  ASSERT_EQ(d->ParseDisplayName("old.txt", old), S_OK);
  EXPECT_TRUE(Attributes(*d, old) & SFGAO_CANRENAME);

  PItemIDList out = nullptr;
  EXPECT_EQ(d->SetNameOf(nullptr, old, "taken.txt", 0, &out), HResultFromErrno(EEXIST));
  EXPECT_EQ(out, nullptr);
  std::ifstream taken(Path("d/taken.txt"));
  String body;
  taken >> body;
  EXPECT_EQ(body, "keep");
  for (const char* bad : {"", ".", "..", "a/b"})
    EXPECT_FALSE(Succeeded(d->SetNameOf(nullptr, old, bad, 0, &out))) << bad;

  ASSERT_EQ(d->SetNameOf(nullptr, old, "新名字.txt", 0, &out), S_OK);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(Name(*d, out), "新名字.txt");
  EXPECT_TRUE(access(Path("d/新名字.txt").c_str(), F_OK) == 0);
  EXPECT_FALSE(access(Path("d/old.txt").c_str(), F_OK) == 0);
  ILFree(out);
  ILFree(old);

  TIDs roots;
  List(*Desktop, SHCONTF_FOLDERS, roots);
  EXPECT_FALSE(Succeeded(Desktop->SetNameOf(nullptr, roots.Items[0], "x", 0, &out)));
}

TEST_F(ShellNamespaceTest, SpecialFoldersAndSystemImages) {
  struct Case {
    Integer Csidl;
    String Path;
  } cases[] = {{17, "/"}, {5, Path("home/Documents")}, {39, Path("home/图片")}};
  for (const Case& c : cases) {
    PItemIDList id = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, c.Csidl, id), S_OK) << c.Csidl;
    String p;
    EXPECT_TRUE(SHGetPathFromIDList(id, p));
    EXPECT_EQ(p, c.Path);
    EXPECT_EQ(SHGetIconIndex(id, false), c.Csidl == 17 ? siRoot : siFolder);
    EXPECT_EQ(SHGetIconIndex(id, true), c.Csidl == 17 ? siRoot : siFolderOpen);
    ILFree(id);
  }
  PItemIDList desk = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, 0, desk), S_OK);
  EXPECT_EQ(ILGetSize(desk), 2u);
  ILFree(desk);
  PItemIDList none = nullptr;
  EXPECT_FALSE(Succeeded(SHGetSpecialFolderLocation(nullptr, 4, none)));  // printers
  EXPECT_EQ(none, nullptr);

  TCustomImageList* small = SHGetSystemImageList(false);
  TCustomImageList* large = SHGetSystemImageList(true);
  EXPECT_EQ(small->Width(), 16);
  EXPECT_EQ(large->Width(), 32);
  EXPECT_EQ(small->Count(), Integer(siCount));
  EXPECT_EQ(large->Count(), Integer(siCount));
}

TEST(ShellNames, CompareAndDisplayText) {
  struct Case {
    String A, B;
    Integer Sign;
  } cases[] = {{"a2", "a10", -1},   {"A10", "a9", 1},  {"abc", "ABD", -1}, {"File", "file", -1},
               {"file", "file", 0}, {"x01", "x1", -1}, {"é", "É", 1},      {"b", "ä", 1},
               {"a", "ä", -1},      {"ä", "ab", -1}};
  for (const Case& c : cases) {
    Integer r = ShellCompareNames(c.A, c.B);
    EXPECT_EQ((r > 0) - (r < 0), c.Sign) << c.A << " vs " << c.B;
    Integer back = ShellCompareNames(c.B, c.A);
    EXPECT_EQ((back > 0) - (back < 0), -c.Sign) << c.B << " vs " << c.A;
  }
  EXPECT_EQ(ShellDisplayText("ok\xFF\xFEz"), "ok\xEF\xBF\xBD\xEF\xBF\xBDz");
  EXPECT_EQ(ShellDisplayText("视频"), "视频");
}

}  // namespace
