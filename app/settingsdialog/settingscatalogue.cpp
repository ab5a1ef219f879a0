#include "app/settingsdialog/settingscatalogue.h"

#include <array>
#include <iterator>

namespace {

// One line under each title: the device or use the format is tuned for, the codec, the variant.
const char* const Category0Descriptions[] = {
    "AVI最常用的视频格式,语音和影像同步组合在一起的文件格式",
    "MPEG-4视频格式,体积小画质好,电脑和各种播放器都能播放.(MPEG-4视频编码)",
    "DivX编码的AVI视频格式,画质接近DVD,体积只有DVD的几分之一.(DivX视频编码)",
    "苹果QuickTime播放器使用的视频格式,适合在苹果电脑上播放.(MPEG-4视频编码)",
    "XviD编码的AVI视频格式,开放源码的MPEG-4编码,画质清晰.(XviD视频编码)",
    "Matroska多媒体容器格式,可容纳多条音轨和字幕.(H264视频编码)",
    "MPEG-1视频格式,VCD使用的视频压缩标准,兼容性好.(MPEG-1视频编码)",
    "MPEG-2视频格式,DVD和数字电视使用的视频压缩标准.(MPEG-2视频编码)",
    "微软高级流格式,适合在网络上边下载边播放.(MPEG-4视频编码)",
    "手机上最常用的视频格式,体积小,适合在手机上播放.(MPEG-4视频编码)",
    "微软Windows媒体视频格式,Windows Media Player直接播放.(WMV2视频编码)",
    "可以在DVD机上直接播放的MPEG-2视频,PAL制式.(DVD标准)",
    "可以在SVCD机和大多数DVD机上播放的MPEG-2视频,PAL制式.(SVCD标准)",
    "可以在VCD机上直接播放,也可以在配置了光驱的电脑中播放。",
    "Real网络视频格式,压缩率高,适合在网上传播.(RealVideo编码)",
};
const char* const Category1Descriptions[] = {
    "最流行的音频格式,具有体积小,音质高的特点,几乎成为网上音乐的代名词",
    "微软Windows媒体音频格式,在较低的比特率下音质优于MP3.(WMA音频编码)",
    "微软的波形音频格式,未经压缩,音质最好,体积也最大.(PCM音频)",
    "高级音频编码格式,同样比特率下音质优于MP3.(AAC音频编码)",
    "MPEG-4音频格式,苹果iTunes和iPod使用的音频格式.(AAC音频编码)",
    "开放免费的Ogg Vorbis音频格式,音质好,体积小.(Vorbis音频编码)",
    "Real网络音频格式,适合在网上实时收听.(RealAudio音频编码)",
    "杜比数字AC-3音频格式,DVD和家庭影院使用的多声道音频.(AC-3音频编码)",
    "苹果电脑上的标准音频交换格式,未经压缩.(PCM音频)",
    "MPEG Layer-2音频格式,数字广播和VCD使用的音频.(MP2音频编码)",
    "自由无损音频压缩格式,压缩后音质与原始音频完全相同.(FLAC音频编码)",
    "ALAC是流行的Apple Lossless无损音频格,ALAC是一种无损压缩音频技术,具有完美的CD音质",
    "手机铃声和录音常用的音频格式,体积极小.(AMR-NB音频编码)",
};
const char* const Category2Descriptions[] = {
    "高清晰AVI视频格式(DivX视频编码)",
    "高清晰AVI视频格式(XviD视频编码)",
    "高清晰H264视频格式,同样画质下体积最小.(H264视频编码)",
    "高清MPEG-4视频格式)",
    "高清晰QuickTime视频格式,适合在苹果电脑上播放.(MPEG-4视频编码)",
    "高清晰微软高级流视频格式.(MPEG-4视频编码)",
    "高清晰Windows媒体视频格式.(WMV2视频编码)",
    "高清晰DVD视频格式,可刻录成高清DVD.(MPEG-2视频编码)",
    "高清晰MPEG-2视频格式,数字电视使用的高清标准.(MPEG-2视频编码)",
    "高清晰Matroska视频格式.(H264视频编码)",
};
const char* const Category3Descriptions[] = {
    "为iPod优化的MPEG-4视频预置方案.(320*240高质量)",
    "为iPod优化的MPEG-4视频预置方案.(320*240高压缩)",
    "为iPod优化的MPEG-4视频预置方案.(320*240标准)",
    "为iPod Video2连接电视输出优化的MPEG-4视频预置方案.(TV输出)",
    "为iPod Video2优化的MPEG-4视频预置方案.(640*480标准)",
    "为iPod Video2优化的MPEG-4视频预置方案.(640*480高质量)",
    "为iPod Video2优化的MPEG-4视频预置方案.(640*480高压缩)",
    "为iPod touch优化的MPEG-4视频预置方案.(标准)",
    "为iPod touch优化的MPEG-4视频预置方案.(480P)",
    "为iPod touch优化的MPEG-4视频预置方案.(480P高质量)",
    "为iPod touch优化的MPEG-4视频预置方案.(480P高压缩)",
    "为iPod touch优化的MPEG-4视频预置方案.(480P宽屏)",
    "为iPod touch优化的MPEG-4视频预置方案.(320*240)",
    "为iPod touch优化的MPEG-4视频预置方案.(480*320)",
};
const char* const Category4Descriptions[] = {
    "为iPhone优化的MPEG-4视频预置方案.(标准)",    "为iPhone优化的MPEG-4视频预置方案.(480P)",
    "为iPhone优化的MPEG-4视频预置方案.(宽屏)",    "为iPhone优化的MPEG-4视频预置方案.(高质量)",
    "为iPhone优化的MPEG-4视频预置方案.(320*240)", "为iPhone优化的MPEG-4视频预置方案.(480*320)",
};
const char* const Category5Descriptions[] = {
    "为PSP优化的MPEG-4视频预置方案.(标准)",   "为PSP优化的MPEG-4 AVC视频预置方案.(H264视频编码)",
    "为PSP优化的MPEG-4视频预置方案.(高质量)", "为PSP优化的MPEG-4视频预置方案.(高压缩)",
    "为PSP优化的MPEG-4视频预置方案.(480P)",
};
const char* const Category6Descriptions[] = {
    "第三代合作伙伴项目3GPP制定的多媒体格式，手机视频格式.(AMR音频)",
    "第三代合作伙伴项目3GPP制定的多媒体格式，手机视频格式.(AAC音频)",
    "第三代合作伙伴项目2 3GPP2制定的多媒体格式，CDMA手机视频格式.(AMR音频)",
    "第三代合作伙伴项目2 3GPP2制定的多媒体格式，CDMA手机视频格式.(AAC音频)",
    "为黑莓手机优化的3GP视频预置方案.(AMR音频)",
    "为黑莓手机优化的3GP视频预置方案.(AAC音频)",
    "为黑莓手机优化的AVI视频预置方案.(MPEG-4视频编码)",
    "为黑莓手机优化的MPEG-4视频预置方案.(MPEG-4视频编码)",
    "为黑莓手机优化的AMR音频预置方案,适合做铃声.(AMR音频)",
    "为Symbian智能平台手机优化的MP4视频预置方案.(MPEG-4视频编码)",
    "各种手机都能播放的MP4视频预置方案.(MPEG-4视频编码)",
    "各种手机都能播放的AVI视频预置方案.(MPEG-4视频编码)",
    "各种手机都能播放的MOV视频预置方案.(MPEG-4视频编码)",
    "各种手机都能播放的MP4视频预置方案.(H264视频编码)",
};
const char* const Category7Descriptions[] = {
    "为Apple TV优化的MPEG-4 H264视频预置方案.(320X240)",
    "为Apple TV优化的MPEG-4 H264视频预置方案.(480P)",
    "为Apple TV优化的MPEG-4 H264视频预置方案.(720P)",
    "为Apple TV优化的MPEG-4 H264视频预置方案.(480P高质量)",
    "为Apple TV优化的MPEG-4视频预置方案.(480P高压缩)",
};
const char* const Category8Descriptions[] = {
    "Xbox360支持AVC/H.264视频文件.",
    "为Xbox360媒体中心优化的MPEG-2高清视频预置方案.(标准)",
    "为Xbox360媒体中心优化的MPEG-2高清视频预置方案.(高质量)",
    "为Xbox360优化的MPEG-4视频预置方案.(标准)",
    "为Xbox360优化的MPEG-4视频预置方案.(高质量)",
    "为Xbox360优化的WMV视频预置方案.(标准)",
    "为Xbox360优化的WMV视频预置方案.(HDTV)",
    "为Xbox360优化的AVI视频预置方案.(DivX视频编码).",
    "为Xbox360优化的AVI视频预置方案.(微软编码1).",
    "为Xbox360优化的AVI视频预置方案.(XviD视频编码).",
};
const char* const Category9Descriptions[] = {
    "为爱可视AV500/GMini402优化的AVI视频预置方案.(MPEG-4视频编码)",
    "为爱可视AV700优化的AVI视频预置方案.(MPEG-4视频编码)",
    "为Creative Zen Vision优化的AVI视频预置方案.(MPEG-4视频编码)",
    "为Zune优化的MPEG-4 AVC视频预置方案.(标准)",
    "为Zune优化的MPEG-4 AVC视频预置方案.(高质量)",
    "为Zune优化的MPEG-4视频预置方案.(MPEG-4视频编码)",
    "为Zune优化的WMV视频预置方案.(WMV2视频编码)",
    "为iRiver PMP-100优化的AVI视频预置方案.(MPEG-4视频编码)",
};
const char* const Category10Descriptions[] = {
    "为各种MP4机优化的MPEG-4视频预置方案",      "为电脑上播放优化的MPEG-4视频预置方案.(MPEG-4视频编码)",
    "高清晰MPEG-4视频预置方案.(高质量)",        "MPEG-4 AVC视频预置方案,同样画质下体积更小.(H264视频编码)",
    "H264编码的MP4视频预置方案.(H264视频编码)",
};
const char* const Category11Descriptions[] = {
    "最常用的网络在线视频预置方案，视频网站通用的FLV文件",
    "最常用的FLASH动画视频预置方案，动画格式为SWF文件",
    "最常用的网络在线视频预置方案，视频网站通用的FLV文件(音频格式)",
    "最常用的FLASH动画视频预置方案，动画格式为SWF文件(音频格式)",
};

struct TDescriptionList {
  const char* const* Lines;
  Integer Count;
};

template <std::size_t N>
constexpr TDescriptionList list(const char* const (&Lines)[N]) {
  return {Lines, Integer(N)};
}

constexpr TDescriptionList Descriptions[SettingsCategoryCount] = {
    list(Category0Descriptions), list(Category1Descriptions),  list(Category2Descriptions),
    list(Category3Descriptions), list(Category4Descriptions),  list(Category5Descriptions),
    list(Category6Descriptions), list(Category7Descriptions),  list(Category8Descriptions),
    list(Category9Descriptions), list(Category10Descriptions), list(Category11Descriptions),
};

// Where this dialog's titles read otherwise than the main catalogue's.
struct TTitleOverride {
  Integer Category;
  Integer Position;
  const char* Title;
};
constexpr TTitleOverride TitleOverrides[] = {
    {1, 2, "WAV - 波形音频格式(*.wav) "},
    {1, 11, "ALAC-Apple Lossless无损音频格式(*.alac) "},
    {6, 2, "3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2))"},
};

}  // namespace

const char* const SettingsCategoryCaptions[SettingsCategoryCount] = {
    "常用视频", "常用音频",  "HD视频",   "iPod视频", "iPhone视频", "PSP视频",
    "3GP视频",  "APPLE视频", "XboX视频", "PMP视频",  "MP4视频",    "Flash视频",
};

Integer SettingsFormatCount(Integer Category) {
  if (Category < 0 || Category >= SettingsCategoryCount) return 0;
  return Descriptions[Category].Count;
}

const char* SettingsFormatTitle(Integer Category, Integer Position) {
  if (Position < 0 || Position >= SettingsFormatCount(Category)) return nullptr;
  for (const TTitleOverride& O : TitleOverrides)
    if (O.Category == Category && O.Position == Position) return O.Title;
  return FormatCaption(Category, Position);
}

const char* SettingsFormatDescription(Integer Category, Integer Position) {
  if (Position < 0 || Position >= SettingsFormatCount(Category)) return nullptr;
  return Descriptions[Category].Lines[Position];
}

// ---- preset rows ----------------------------------------------------------------------------

namespace {

constexpr Integer FirstSettingsCode = 100;
constexpr Integer LastSettingsCode = 100 * SettingsCategoryCount + 3;  // 1203

bool inSettingsRange(Integer Code) {
  return Code >= FirstSettingsCode && Code <= LastSettingsCode;
}

// The three formats pairing video with AMR audio take the whole-number list of code 109.
constexpr Integer WholeKbpsAmrCodes[] = {700, 702, 704};
constexpr Integer WholeKbpsListCode = 109;

}  // namespace

const TPresetRow* FindSettingsPresetRow(Integer Code) {
  if (!inSettingsRange(Code)) return nullptr;
  static const std::array<TPresetRow, std::size(WholeKbpsAmrCodes)> Replaced = [] {
    std::array<TPresetRow, std::size(WholeKbpsAmrCodes)> rows{};
    const TPresetRow* source = FindPresetRow(WholeKbpsListCode);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      rows[i] = *FindPresetRow(WholeKbpsAmrCodes[i]);
      rows[i].Choices[psAudioBitrate] = source->Choices[psAudioBitrate];
    }
    return rows;
  }();
  for (std::size_t i = 0; i < Replaced.size(); ++i)
    if (WholeKbpsAmrCodes[i] == Code) return &Replaced[i];
  return FindPresetRow(Code);
}

// ---- parameter rows -------------------------------------------------------------------------

namespace {

// This dialog's own values where they differ from the main table. A null text keeps the main
// value, as does an AudioBitrate of 0.
struct TParameterOverride {
  Integer Code;
  const char* OutputExt;
  const char* FileExt;
  const char* VideoCodec;
  const char* AudioCodec;
  Integer AudioBitrate;
};
constexpr TParameterOverride ParameterOverrides[] = {
    {211, nullptr, ".alac", nullptr, "alac", 0},
    {700, nullptr, nullptr, "h263", "libamr_nb", 12000},
    {702, ".3gp", ".3gp", nullptr, "libamr_nb", 12000},
    {704, nullptr, nullptr, nullptr, "libamr_nb", 0},
};

}  // namespace

const TFormatParameterRow* FindSettingsParameterRow(Integer Code) {
  if (!inSettingsRange(Code)) return nullptr;
  static const std::array<TFormatParameterRow, std::size(ParameterOverrides)> Replaced = [] {
    std::array<TFormatParameterRow, std::size(ParameterOverrides)> rows{};
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const TParameterOverride& O = ParameterOverrides[i];
      TFormatParameterRow& R = rows[i];
      R = *FindFormatParameterRow(O.Code);
      if (O.OutputExt) R.OutputExt = O.OutputExt;
      if (O.FileExt) R.FileExt = O.FileExt;
      if (O.VideoCodec) R.VideoCodec = O.VideoCodec;
      if (O.AudioCodec) R.AudioCodec = O.AudioCodec;
      if (O.AudioBitrate != 0) R.AudioBitrate = O.AudioBitrate;
    }
    return rows;
  }();
  for (std::size_t i = 0; i < Replaced.size(); ++i)
    if (ParameterOverrides[i].Code == Code) return &Replaced[i];
  return FindFormatParameterRow(Code);
}
