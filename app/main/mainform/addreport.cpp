#include "app/main/mainform/addreport.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"

namespace {

// Beyond this many files the box shows counts per cause, not every name.
constexpr Integer ListedFiles = 12;
constexpr Integer NamesPerCause = 3;

}  // namespace

void TAddReport::Refuse(TAddRefusal Cause, const String& Path, const String& Detail) {
  FEntries.push_back({Cause, ExtractFileName(Path), Detail});
}

bool TAddReport::Has(TAddRefusal Cause) const {
  for (const TEntry& E : FEntries)
    if (E.Cause == Cause) return true;
  return false;
}

String TAddReport::CauseText(TAddRefusal Cause) {
  switch (Cause) {
    case arGone:
      return "文件已不存在";
    case arUnreadable:
      return "无法读取该文件";
    case arNotMedia:
      return "不是可以转换的视频或音频文件";
    case arNoStream:
      return "文件中没有所选格式需要的音频";
    case arCannotOpen:
      return "无法打开该文件";
    case arOutputRefused:
      return "输出文件不能使用";
    case arJobLimit:
      return "列表中的任务已达上限";
  }
  return "";
}

String TAddReport::Text(const String& Heading) const {
  String T = Heading.empty() ? String() : Heading + "\n\n";
  T += "有 " + IntToStr(Count()) + " 个文件没有添加到列表：\n";
  if (Count() <= ListedFiles) {
    for (const TEntry& E : FEntries)
      T += "\n" + E.Name + "：" + CauseText(E.Cause) + (E.Detail.empty() ? String() : "（" + E.Detail + "）");
    return T;
  }
  for (Integer C = arGone; C <= arJobLimit; ++C) {
    Integer Count = 0;
    String Names;
    for (const TEntry& E : FEntries) {
      if (E.Cause != C) continue;
      if (Count < NamesPerCause) Names += (Count > 0 ? "、" : "") + E.Name;
      ++Count;
    }
    if (Count == 0) continue;
    T += "\n" + CauseText(TAddRefusal(C)) + "：" + IntToStr(Count) + " 个，如 " + Names +
         (Count > NamesPerCause ? " 等" : "");
  }
  return T;
}
