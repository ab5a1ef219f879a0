#include "platform/rtl/streams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <limits>

#include "platform/rtl/testkit/rtl_test_util.h"

namespace {

class StreamFiles : public ::testing::Test {
 protected:
  String path(const String& Name) const { return Dir.Path(Name); }
  TTempFolder Dir{"rtl-streams"};
};

TEST(Stream, ShortReadReturnsTheCountButReadBufferRaises) {
  TStringStream S("abcde");
  char Buf[8] = {};
  EXPECT_EQ(S.Read(Buf, 3), 3);
  EXPECT_EQ(S.Read(Buf, 8), 2);
  EXPECT_EQ(String(Buf, 2), "de");
  EXPECT_EQ(S.Read(Buf, 8), 0);
  S.SetPosition(2);
  try {
    S.ReadBuffer(Buf, 4);
    ADD_FAILURE();
  } catch (const EReadError& E) {
    EXPECT_EQ(E.Message(), "Stream read error");
  }
  S.SetPosition(0);
  S.ReadBuffer(Buf, 5);
  EXPECT_EQ(String(Buf, 5), "abcde");
}

TEST(Stream, MemoryStreamGrowsWithZeroGapsAndSeeksFromEachOrigin) {
  TMemoryStream M;
  M.WriteBuffer("abc", 3);
  EXPECT_EQ(M.Seek(2, soFromCurrent), 5);
  M.WriteBuffer("Z", 1);
  EXPECT_EQ(M.Size(), 6);
  EXPECT_EQ(std::memcmp(M.Memory(), "abc\0\0Z", 6), 0);
  EXPECT_EQ(M.Seek(-2, soFromEnd), 4);
  EXPECT_EQ(M.Seek(1, soFromBeginning), 1);
  M.SetSize(2);
  EXPECT_EQ(M.Position(), 1);
  M.SetPosition(10);
  char C;
  EXPECT_EQ(M.Read(&C, 1), 0);
  M.Clear();
  EXPECT_EQ(M.Size(), 0);
  EXPECT_EQ(M.Position(), 0);
}

// A seek past the range of a position stops at its end, and nothing can be written there.
TEST(Stream, SeeksBeyondTheRangeSaturateAndWritesThereFail) {
  constexpr Int64 Max = std::numeric_limits<Int64>::max(), Min = std::numeric_limits<Int64>::min();
  TMemoryStream M;
  M.WriteBuffer("abc", 3);
  EXPECT_EQ(M.Seek(Max, soFromCurrent), Max);
  EXPECT_EQ(M.Seek(Max, soFromEnd), Max);
  EXPECT_EQ(M.Seek(1, soFromCurrent), Max);
  EXPECT_EQ(M.Write("Z", 1), 0);
  EXPECT_THROW(M.WriteBuffer("Z", 1), EWriteError);
  EXPECT_EQ(M.Size(), 3);
  M.SetPosition(-1);
  EXPECT_EQ(M.Seek(Min, soFromCurrent), Min);
  EXPECT_EQ(M.Write("Z", 1), 0);
  // The string stream keeps its position inside the string.
  TStringStream S("abc");
  EXPECT_EQ(S.Seek(Max, soFromEnd), 3);
  EXPECT_EQ(S.Seek(Min, soFromCurrent), 0);
}

TEST(Stream, CopyFromZeroCopiesTheWholeSourceFromItsStart) {
  TStringStream Src("0123456789");
  Src.SetPosition(7);
  TMemoryStream Dst;
  EXPECT_EQ(Dst.CopyFrom(&Src, 0), 10);
  EXPECT_EQ(String(static_cast<char*>(Dst.Memory()), 10), "0123456789");
  Src.SetPosition(8);
  EXPECT_THROW(Dst.CopyFrom(&Src, 5), EReadError);
  TStringStream Part;
  Src.SetPosition(2);
  EXPECT_EQ(Part.CopyFrom(&Src, 3), 3);
  EXPECT_EQ(Part.DataString(), "234");
}

TEST_F(StreamFiles, FileStreamModesAndErrors) {
  String Name = path("f.bin");
  {
    TFileStream F(Name, fmCreate);
    F.WriteBuffer("hello", 5);
  }
  {
    TFileStream F(Name, fmOpenReadWrite | fmShareDenyNone);
    EXPECT_EQ(F.Size(), 5);
    F.Seek(0, soFromEnd);
    F.WriteBuffer("!", 1);
  }
  {
    TFileStream F(Name, fmOpenRead | fmShareExclusive);
    char Buf[6];
    F.ReadBuffer(Buf, 6);
    EXPECT_EQ(String(Buf, 6), "hello!");
    EXPECT_EQ(F.Write("x", 1), 0);  // opened for reading only
    EXPECT_EQ(F.FileName(), Name);
  }
  {
    TFileStream F(Name, fmCreate);  // truncates
    EXPECT_EQ(F.Size(), 0);
  }

  String Missing = path("none.bin");
  try {
    TFileStream F(Missing, fmOpenRead);
    ADD_FAILURE();
  } catch (const EFOpenError& E) {
    EXPECT_EQ(E.Message(), "Cannot open file \"" + Missing + "\". No such file or directory");
  }
  String InMissingFolder = path("no/dir.bin");
  try {
    TFileStream F(InMissingFolder, fmCreate);
    ADD_FAILURE();
  } catch (const EFCreateError& E) {
    EXPECT_EQ(E.Message(), "Cannot create file \"" + InMissingFolder + "\". No such file or directory");
  }
  EXPECT_THROW(TFileStream(Dir.Root(), fmOpenRead), EFOpenError);
}

TEST_F(StreamFiles, FileSizesAndPositionsAre64Bit) {
  TFileStream F(path("big.bin"), fmCreate);
  const Int64 Big = (Int64(5) << 30) + 3;  // sparse: no disk space is used
  F.SetSize(Big);
  EXPECT_EQ(F.Size(), Big);
  EXPECT_EQ(F.Seek(-1, soFromEnd), Big - 1);
  F.WriteBuffer("x", 1);
  EXPECT_EQ(F.Position(), Big);
}

TEST_F(StreamFiles, MemoryStreamFileRoundTrip) {
  TMemoryStream M;
  M.WriteBuffer("\x00\x01\xFF", 3);
  M.SaveToFile(path("m.bin"));
  TMemoryStream N;
  N.WriteBuffer("old contents", 12);
  N.LoadFromFile(path("m.bin"));
  EXPECT_EQ(N.Size(), 3);
  EXPECT_EQ(N.Position(), 0);
  EXPECT_EQ(std::memcmp(N.Memory(), "\x00\x01\xFF", 3), 0);
}

}  // namespace
