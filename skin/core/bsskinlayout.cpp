#include "skin/core/bsskinlayout.h"

#include <algorithm>

#include "platform/rtl/codepage.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/strings.h"
#include "skin/core/bsskindata.h"

const char* const SkinDescriptionSections[10] = {"VERSION",     "PICTURES",    "FORMINFO",   "POPUPWINDOW",
                                                 "LAYERFRAME",  "HINTWINDOW",  "SKINCOLORS", "STRINGS",
                                                 "SKINOBJECTS", "SKINCONTROLS"};

namespace {

void appendUtf8(String& Out, uint32_t C) {
  if (C < 0x80) {
    Out += char(C);
  } else if (C < 0x800) {
    Out += char(0xC0 | (C >> 6));
    Out += char(0x80 | (C & 0x3F));
  } else if (C < 0x10000) {
    Out += char(0xE0 | (C >> 12));
    Out += char(0x80 | ((C >> 6) & 0x3F));
    Out += char(0x80 | (C & 0x3F));
  } else {
    Out += char(0xF0 | (C >> 18));
    Out += char(0x80 | ((C >> 12) & 0x3F));
    Out += char(0x80 | ((C >> 6) & 0x3F));
    Out += char(0x80 | (C & 0x3F));
  }
}

// Unpaired surrogates and a trailing odd byte become U+FFFD.
String utf16ToUtf8(const String& Bytes, size_t Start, bool BigEndian) {
  String Out;
  Out.reserve(Bytes.size() - Start);
  auto unit = [&](size_t i) -> uint32_t {
    const uint32_t a = Byte(Bytes[i]), b = Byte(Bytes[i + 1]);
    return BigEndian ? (a << 8) | b : (b << 8) | a;
  };
  size_t i = Start;
  for (; i + 1 < Bytes.size(); i += 2) {
    uint32_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < Bytes.size()) {
      const uint32_t d = unit(i + 2);
      if (d >= 0xDC00 && d < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00);
        i += 2;
      } else {
        c = 0xFFFD;
      }
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    appendUtf8(Out, c);
  }
  if (i < Bytes.size()) appendUtf8(Out, 0xFFFD);
  return Out;
}

bool startsWith(const String& S, const char* Prefix, size_t N) {
  return S.size() >= N && S.compare(0, N, Prefix, N) == 0;
}

// Entries stand under the keys "0" ... count-1, so keys past the highest numbered one are all
// missing: a crafted count of two thousand million need not be walked.
Integer boundedEntryCount(TCustomIniFile* IniFile, const String& Section, Integer Count) {
  if (Count < 1) return 0;
  TStringList Keys;
  IniFile->ReadSection(Section, &Keys);
  Integer Highest = -1;
  for (Integer i = 0; i < Keys.Count(); ++i) {
    const String K = Keys.Strings(i);
    if (K.empty() || K.size() > 10 ||
        !std::all_of(K.begin(), K.end(), [](char c) { return c >= '0' && c <= '9'; }))
      continue;
    const Int64 V = std::stoll(K);
    if (V < Count) Highest = std::max<Integer>(Highest, Integer(V));
  }
  return Highest + 1;
}

// The description has no escape for line breaks; a text that holds one is written on one line.
String oneLine(String S) {
  std::replace(S.begin(), S.end(), '\r', ' ');
  std::replace(S.begin(), S.end(), '\n', ' ');
  return S;
}

}  // namespace

void SplitElementEntry(const String& Entry, String& IDName, String& TypeWord) {
  const size_t Colon = Entry.find(':');
  if (Colon == String::npos) {
    IDName.clear();
    TypeWord.clear();
    return;
  }
  IDName = Entry.substr(0, Colon);
  TypeWord = Entry.substr(Colon + 1);
}

String DecodeSkinDescription(const String& Bytes) {
  if (startsWith(Bytes, "\xEF\xBB\xBF", 3)) return Bytes.substr(3);
  if (startsWith(Bytes, "\xFF\xFE", 2)) return utf16ToUtf8(Bytes, 2, false);
  if (startsWith(Bytes, "\xFE\xFF", 2)) return utf16ToUtf8(Bytes, 2, true);
  if (SystemCodePageIsUtf8()) return Bytes;
  String Utf8;
  SystemToUtf8(Bytes, Utf8);
  return Utf8;
}

String EncodeSkinDescription(TStrings* Lines) {
  String Utf8;
  for (Integer i = 0; i < Lines->Count(); ++i) {
    Utf8 += Lines->Strings(i);
    Utf8 += "\r\n";
  }
  if (SystemCodePageIsUtf8()) return Utf8;
  String Out;
  Utf8ToSystem(Utf8, Out);
  return Out;
}

void LoadSkinDescriptionText(TMemIniFile* IniFile, const String& Text) {
  TStringList Lines;
  Lines.SetText(DecodeSkinDescription(Text));
  IniFile->SetStrings(&Lines);
}

String SkinDescriptionText(TMemIniFile* IniFile) {
  TStringList Lines;
  IniFile->GetStrings(&Lines);
  return EncodeSkinDescription(&Lines);
}

String ReadSkinFileBytes(const String& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  String Bytes(size_t(Stream.Size()), '\0');
  if (!Bytes.empty()) Stream.ReadBuffer(Bytes.data(), Int64(Bytes.size()));
  return Bytes;
}

void WriteSkinFileBytes(const String& FileName, const String& Bytes) {
  TFileStream Stream(FileName, fmCreate);
  if (!Bytes.empty()) Stream.WriteBuffer(Bytes.data(), Int64(Bytes.size()));
}

// ---- TbsSkinData: the description's sections ----

void TbsSkinData::ReadVersion(TCustomIniFile* IniFile) {
  SkinName = IniFile->ReadString("VERSION", "skinname", "");
  SkinAuthor = IniFile->ReadString("VERSION", "skinauthor", "");
  AuthorEmail = IniFile->ReadString("VERSION", "authoremail", "");
  AuthorURL = IniFile->ReadString("VERSION", "authorurl", "");
  SkinComments = IniFile->ReadString("VERSION", "skincomments", "");
}

void TbsSkinData::ReadPictureNames(TCustomIniFile* IniFile) {
  FPictureName = IniFile->ReadString("PICTURES", "picture", "");
  FInActivePictureName = IniFile->ReadString("PICTURES", "inactivepicture", "");
  FMaskName = IniFile->ReadString("PICTURES", "mask", "");
}

void TbsSkinData::ReadActivePictures(TCustomIniFile* IniFile, const String& Folder) {
  const Integer Count =
      boundedEntryCount(IniFile, "PICTURES", IniFile->ReadInteger("PICTURES", "activepicturescount", 0));
  for (Integer i = 0; i < Count; ++i)
    FActivePicturesNames->Add(IniFile->ReadString("PICTURES", IntToStr(i), ""));
  if (Folder.empty()) return;
  for (Integer i = 0; i < FActivePicturesNames->Count(); ++i) {
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->LoadFromFile(Folder + FActivePicturesNames->Strings(i));
    FActivePictures->Add(Bitmap.release());
  }
}

void TbsSkinData::WriteActivePicturesNames(TCustomIniFile* IniFile) {
  WriteSkinStrings(IniFile, "PICTURES", "activepictures", FActivePicturesNames.get());
}

// ---- the skin's own string table ----

void TbsSkinData::ReadStringTable(TCustomIniFile* IniFile) {
  FSkinStrData.reset();
  if (!IniFile->SectionExists("STRINGS")) return;
  auto Table = std::make_unique<TbsResourceStrData>(nullptr);
  Table->SetCharSet(TFontCharset(IniFile->ReadInteger("STRINGS", "charset", DEFAULT_CHARSET)));
  TStringList Lines;
  const Integer Count =
      boundedEntryCount(IniFile, "STRINGS", IniFile->ReadInteger("STRINGS", "stringscount", 0));
  for (Integer i = 0; i < Count; ++i) Lines.Add(IniFile->ReadString("STRINGS", IntToStr(i), ""));
  Table->SetResStrings(&Lines);
  FSkinStrData = std::move(Table);
}

void TbsSkinData::WriteStringTable(TCustomIniFile* IniFile) {
  IniFile->EraseSection("STRINGS");
  if (!FSkinStrData) return;
  IniFile->WriteInteger("STRINGS", "charset", FSkinStrData->CharSet());
  TStringList Lines;
  for (Integer i = 0; i < FSkinStrData->ResStrings()->Count(); ++i)
    Lines.Add(oneLine(FSkinStrData->ResStrings()->Strings(i)));
  WriteSkinStrings(IniFile, "STRINGS", "strings", &Lines);
}

void TbsSkinData::ReadFormInfo(TCustomIniFile* IniFile) {
  const String S = "FORMINFO";
  LTPoint = ReadSkinPoint(IniFile, S, "lefttoppoint");
  RTPoint = ReadSkinPoint(IniFile, S, "righttoppoint");
  LBPoint = ReadSkinPoint(IniFile, S, "leftbottompoint");
  RBPoint = ReadSkinPoint(IniFile, S, "rightbottompoint");
  ClRect = ReadSkinRect(IniFile, S, "clientrect");
  BGPictureIndex = IniFile->ReadInteger(S, "bgpictureindex", -1);
  MDIBGPictureIndex = IniFile->ReadInteger(S, "mdibgpictureindex", -1);
  LeftStretch = ReadSkinBool(IniFile, S, "leftstretch");
  RightStretch = ReadSkinBool(IniFile, S, "rightstretch");
  TopStretch = ReadSkinBool(IniFile, S, "topstretch");
  BottomStretch = ReadSkinBool(IniFile, S, "bottomstretch");
  StretchEffect = ReadSkinBool(IniFile, S, "stretcheffect");
  StretchType = ReadSkinStretchType(IniFile, S, "stretchtype");
  MDIBGStretchEffect = ReadSkinBool(IniFile, S, "mdibgstretcheffect");
  MDIBGStretchType = ReadSkinStretchType(IniFile, S, "mdibgstretchtype");
  MaskRectArea = ReadSkinRect(IniFile, S, "maskrectarea");
  HitTestLTPoint = ReadSkinPoint(IniFile, S, "hittestlefttoppoint");
  HitTestRTPoint = ReadSkinPoint(IniFile, S, "hittestrighttoppoint");
  HitTestLBPoint = ReadSkinPoint(IniFile, S, "hittestleftbottompoint");
  HitTestRBPoint = ReadSkinPoint(IniFile, S, "hittestrightbottompoint");
  ButtonsRect = ReadSkinRect(IniFile, S, "buttonsrect");
  CaptionRect = ReadSkinRect(IniFile, S, "captionrect");
  ButtonsOffset = IniFile->ReadInteger(S, "buttonsoffset", 0);
  CapButtonsInLeft = ReadSkinBool(IniFile, S, "buttonsinleft");
  MainMenuPopupUp = ReadSkinBool(IniFile, S, "mainmenupopupup");
  BorderW = IniFile->ReadInteger(S, "borderwidth", 0);
  AutoRenderingInActiveImage = ReadSkinBool(IniFile, S, "autorenderinginactiveimage");
  InActiveEffect = ReadSkinInActiveEffect(IniFile, S, "inactiveeffect");
  FormMinWidth = IniFile->ReadInteger(S, "formminwidth", 0);
  FormMinHeight = IniFile->ReadInteger(S, "formminheight", 0);
  MDITabsTransparent = ReadSkinBool(IniFile, S, "mditabstransparent");
  MainMenuBarTransparent = ReadSkinBool(IniFile, S, "mainmenubartransparent");

  if (!FMaskName.empty()) {
    if (MaskRectArea.Width() <= 0 || MaskRectArea.Height() <= 0) {
      MaskRectArea = ClRect;
    } else {
      MaskRectArea.Left = std::min(MaskRectArea.Left, ClRect.Left);
      MaskRectArea.Top = std::min(MaskRectArea.Top, ClRect.Top);
      MaskRectArea.Right = std::max(MaskRectArea.Right, ClRect.Right);
      MaskRectArea.Bottom = std::max(MaskRectArea.Bottom, ClRect.Bottom);
    }
    auto fromCorner = [](TPoint& HitTest, const TPoint& Corner) {
      if (HitTest.X == 0 || HitTest.Y == 0) HitTest = Corner;
    };
    fromCorner(HitTestLTPoint, LTPoint);
    fromCorner(HitTestRTPoint, RTPoint);
    fromCorner(HitTestLBPoint, LBPoint);
    fromCorner(HitTestRBPoint, RBPoint);
  }
  if (RBPoint.X != LTPoint.X && RBPoint.Y != LTPoint.Y) {
    LTPoint.X = std::max(LTPoint.X, ClRect.Left);
    LTPoint.Y = std::max(LTPoint.Y, ClRect.Top);
    RTPoint.X = std::min(RTPoint.X, ClRect.Right);
    RTPoint.Y = std::max(RTPoint.Y, ClRect.Top);
    LBPoint.X = std::max(LBPoint.X, ClRect.Left);
    LBPoint.Y = std::min(LBPoint.Y, ClRect.Bottom);
    RBPoint.X = std::min(RBPoint.X, ClRect.Right);
    RBPoint.Y = std::min(RBPoint.Y, ClRect.Bottom);
  }
}

void TbsSkinData::WriteFormInfo(TCustomIniFile* IniFile) {
  const String S = "FORMINFO";
  WriteSkinPoint(IniFile, S, "lefttoppoint", LTPoint);
  WriteSkinPoint(IniFile, S, "righttoppoint", RTPoint);
  WriteSkinPoint(IniFile, S, "leftbottompoint", LBPoint);
  WriteSkinPoint(IniFile, S, "rightbottompoint", RBPoint);
  WriteSkinRect(IniFile, S, "clientrect", ClRect);
  IniFile->WriteInteger(S, "bgpictureindex", BGPictureIndex);
  IniFile->WriteInteger(S, "mdibgpictureindex", MDIBGPictureIndex);
  WriteSkinBool(IniFile, S, "leftstretch", LeftStretch);
  WriteSkinBool(IniFile, S, "rightstretch", RightStretch);
  WriteSkinBool(IniFile, S, "topstretch", TopStretch);
  WriteSkinBool(IniFile, S, "bottomstretch", BottomStretch);
  WriteSkinBool(IniFile, S, "stretcheffect", StretchEffect);
  WriteSkinStretchType(IniFile, S, "stretchtype", StretchType);
  WriteSkinBool(IniFile, S, "mdibgstretcheffect", MDIBGStretchEffect);
  WriteSkinStretchType(IniFile, S, "mdibgstretchtype", MDIBGStretchType);
  WriteSkinRect(IniFile, S, "maskrectarea", MaskRectArea);
  WriteSkinPoint(IniFile, S, "hittestlefttoppoint", HitTestLTPoint);
  WriteSkinPoint(IniFile, S, "hittestrighttoppoint", HitTestRTPoint);
  WriteSkinPoint(IniFile, S, "hittestleftbottompoint", HitTestLBPoint);
  WriteSkinPoint(IniFile, S, "hittestrightbottompoint", HitTestRBPoint);
  WriteSkinRect(IniFile, S, "buttonsrect", ButtonsRect);
  WriteSkinRect(IniFile, S, "captionrect", CaptionRect);
  IniFile->WriteInteger(S, "buttonsoffset", ButtonsOffset);
  WriteSkinBool(IniFile, S, "buttonsinleft", CapButtonsInLeft);
  WriteSkinBool(IniFile, S, "mainmenupopupup", MainMenuPopupUp);
  IniFile->WriteInteger(S, "borderwidth", BorderW);
  WriteSkinBool(IniFile, S, "autorenderinginactiveimage", AutoRenderingInActiveImage);
  WriteSkinInActiveEffect(IniFile, S, "inactiveeffect", InActiveEffect);
  IniFile->WriteInteger(S, "formminwidth", FormMinWidth);
  IniFile->WriteInteger(S, "formminheight", FormMinHeight);
  WriteSkinBool(IniFile, S, "mditabstransparent", MDITabsTransparent);
  WriteSkinBool(IniFile, S, "mainmenubartransparent", MainMenuBarTransparent);
}

void TbsSkinData::ReadObjects(TCustomIniFile* IniFile) {
  const Integer Count =
      boundedEntryCount(IniFile, "SKINOBJECTS", IniFile->ReadInteger("SKINOBJECTS", "count", 0));
  for (Integer i = 0; i < Count; ++i) {
    String Name, Word;
    SplitElementEntry(IniFile->ReadString("SKINOBJECTS", IntToStr(i), ""), Name, Word);
    auto Record = CreateSkinObjectRecord(Word, Name);
    if (!Record) continue;
    TbsDataSkinObject* R = Record.get();
    ObjectList->Add(Record.release());
    R->LoadFromFile(IniFile);
    R->InitAlphaImages(FActivePictures.get(), LayerFrame.get());
  }
}

void TbsSkinData::ReadCtrls(TCustomIniFile* IniFile) {
  const Integer Count =
      boundedEntryCount(IniFile, "SKINCONTROLS", IniFile->ReadInteger("SKINCONTROLS", "count", 0));
  for (Integer i = 0; i < Count; ++i) {
    String Name, Word;
    SplitElementEntry(IniFile->ReadString("SKINCONTROLS", IntToStr(i), ""), Name, Word);
    auto Record = CreateSkinControlRecord(Word, Name);
    if (!Record) continue;
    TbsDataSkinControl* R = Record.get();
    CtrlList->Add(Record.release());
    R->LoadFromFile(IniFile);
  }
}

void TbsSkinData::WriteObjects(TCustomIniFile* IniFile) {
  IniFile->WriteInteger("SKINOBJECTS", "count", ObjectCount());
  for (Integer i = 0; i < ObjectCount(); ++i) {
    TbsDataSkinObject* R = Objects(i);
    IniFile->WriteString("SKINOBJECTS", IntToStr(i), R->IDName + ":" + SkinObjectTypeWord(R));
    R->SaveToFile(IniFile);
  }
}

void TbsSkinData::WriteCtrls(TCustomIniFile* IniFile) {
  IniFile->WriteInteger("SKINCONTROLS", "count", CtrlCount());
  for (Integer i = 0; i < CtrlCount(); ++i) {
    TbsDataSkinControl* R = Ctrls(i);
    IniFile->WriteString("SKINCONTROLS", IntToStr(i), R->IDName + ":" + SkinControlTypeWord(R));
    R->SaveToFile(IniFile);
  }
}

void TbsSkinData::ReadSkinRecords(TCustomIniFile* IniFile) {
  ReadFormInfo(IniFile);
  PopupWindow->LoadFromFile(IniFile);
  LayerFrame->LoadFromFile(IniFile);
  LayerFrame->InitAlphaImages(FActivePictures.get());
  HintWindow->LoadFromFile(IniFile);
  FSkinColors->LoadFromFile(IniFile);
  ReadStringTable(IniFile);
  ReadObjects(IniFile);
  ReadCtrls(IniFile);
}

// Sections compare without regard to case, so "Panel" and "panel" would share one: the second
// element written would erase the first. Such a skin is refused rather than saved damaged.
void TbsSkinData::checkElementNames() const {
  std::vector<String> Taken;
  for (const char* S : SkinDescriptionSections) Taken.push_back(UpperCase(S));
  auto take = [&](const String& Name) {
    if (Name.find(':') != String::npos || Name.find('\r') != String::npos || Name.find('\n') != String::npos)
      throw EInvalidOperation("Skin element name \"" + Name + "\" cannot be saved");
    const String Key = UpperCase(Name);
    if (std::find(Taken.begin(), Taken.end(), Key) != Taken.end())
      throw EInvalidOperation("Skin element name \"" + Name + "\" is used twice");
    Taken.push_back(Key);
  };
  for (Integer i = 0; i < ObjectCount(); ++i) take(Objects(i)->IDName);
  for (Integer i = 0; i < CtrlCount(); ++i) take(Ctrls(i)->IDName);
}

void TbsSkinData::WriteSkinDescription(TCustomIniFile* IniFile) {
  checkElementNames();
  IniFile->EraseSection("VERSION");
  IniFile->WriteInteger("VERSION", "ver", 1);
  IniFile->WriteString("VERSION", "skinname", oneLine(SkinName));
  IniFile->WriteString("VERSION", "skinauthor", oneLine(SkinAuthor));
  IniFile->WriteString("VERSION", "authoremail", oneLine(AuthorEmail));
  IniFile->WriteString("VERSION", "authorurl", oneLine(AuthorURL));
  IniFile->WriteString("VERSION", "skincomments", oneLine(SkinComments));

  IniFile->EraseSection("PICTURES");
  IniFile->WriteString("PICTURES", "picture", FPictureName);
  IniFile->WriteString("PICTURES", "inactivepicture", FInActivePictureName);
  IniFile->WriteString("PICTURES", "mask", FMaskName);
  WriteActivePicturesNames(IniFile);

  IniFile->EraseSection("FORMINFO");
  WriteFormInfo(IniFile);
  PopupWindow->SaveToFile(IniFile);
  LayerFrame->SaveToFile(IniFile);
  HintWindow->SaveToFile(IniFile);
  IniFile->EraseSection("SKINCOLORS");
  FSkinColors->SaveToFile(IniFile);
  WriteStringTable(IniFile);

  IniFile->EraseSection("SKINOBJECTS");
  WriteObjects(IniFile);
  IniFile->EraseSection("SKINCONTROLS");
  WriteCtrls(IniFile);
}
