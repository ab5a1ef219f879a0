#include "app/main/mainform/addreport.h"

#include <gtest/gtest.h>

#include "platform/rtl/convert.h"

namespace {

TEST(AddReport, AFewFilesAreListedEachWithItsCause) {
  TAddReport R;
  R.Refuse(arNotMedia, "/in/notes.avi");
  R.Refuse(arUnreadable, "/in/locked.mkv", "Permission denied");
  EXPECT_EQ(R.Text(),
            "有 2 个文件没有添加到列表：\n\nnotes.avi：不是可以转换的视频或音频文件\n"
            "locked.mkv：无法读取该文件（Permission denied）");
  EXPECT_EQ(R.Text("开头").rfind("开头\n\n有 2 个", 0), 0u);
}

TEST(AddReport, ALongListIsSummarisedByCauseWithTheFirstNames) {
  TAddReport R;
  for (Integer I = 0; I < 9500; ++I) R.Refuse(arJobLimit, "/big/f" + IntToStr(I) + ".avi", "最多 501 个");
  R.Refuse(arNotMedia, "/big/readme.txt");
  const String T = R.Text();
  EXPECT_EQ(T,
            "有 9501 个文件没有添加到列表：\n\n"
            "不是可以转换的视频或音频文件：1 个，如 readme.txt\n"
            "列表中的任务已达上限：9500 个，如 f0.avi、f1.avi、f2.avi 等");
}

}  // namespace
