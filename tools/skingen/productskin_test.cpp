#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/rtl/files.h"
#include "skin/core/bsskindata.h"
#include "skin/core/testkit/bsskintestkit.h"
#include "tools/skingen/productlook.h"
#include "tools/skingen/skingen.h"

namespace {

// The colour a sheet shows at X, Y (0x00BBGGRR).
Cardinal pixelOf(TBitmap* B, Integer X, Integer Y) {
  return Cardinal(B->Canvas()->Pixels(X, Y)) & 0xFFFFFF;
}

Cardinal middleOf(TbsSkinData& Skin, Integer Picture, const TRect& R) {
  return pixelOf(Skin.Picture(Picture), (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

bool insidePicture(TbsSkinData& Skin, Integer Picture, const TRect& R) {
  if (Picture < 0 || Picture >= Skin.PictureCount() || IsEmptyRect(R)) return false;
  TBitmap* B = Skin.Picture(Picture);
  return R.Left >= 0 && R.Top >= 0 && R.Right <= B->Width() && R.Bottom <= B->Height();
}

constexpr Cardinal accent() {
  return ColorOfRGB(look::Accent);
}

class ProductSkin : public ::testing::Test {
 protected:
  // The product skin as the program takes it: the compressed container through the skin loader.
  void SetUp() override {
    WriteProductSkinContainer(Dir / "nerivo.skn");
    Skin.LoadFromCompressedFile(Dir / "nerivo.skn");
    ASSERT_FALSE(Skin.Empty);
  }
  TTempFolder Dir;
  TbsSkinData Skin{nullptr};
};

}  // namespace

TEST_F(ProductSkin, HoldsEveryElementOfTheGeneratedSkinWithAPictureOfItsOwn) {
  TbsSkinData Generated(nullptr);
  BuildGeneratedSkin(&Generated);
  for (int e = 0; e < GeneratedSkinControlCount(); ++e) {
    const char* Name = GeneratedSkinControlName(e);
    SCOPED_TRACE(Name);
    const Integer i = Skin.GetControlIndex(Name);
    ASSERT_GE(i, 0);
    const TbsDataSkinControl* R = Skin.Ctrls(i);
    EXPECT_EQ(R->ClassName(), Generated.Ctrls(Generated.GetControlIndex(Name))->ClassName());
    // Elements whose record carries a picture point at a place inside it.
    if (R->PictureIndex >= 0 && !IsEmptyRect(R->SkinRect)) {
      EXPECT_TRUE(insidePicture(Skin, R->PictureIndex, R->SkinRect));
    }
  }
  for (int e = 0; e < GeneratedSkinObjectCount(); ++e) {
    const char* Name = GeneratedSkinObjectName(e);
    SCOPED_TRACE(Name);
    const Integer i = Skin.GetIndex(Name);
    ASSERT_GE(i, 0);
    EXPECT_EQ(Skin.Objects(i)->ClassName(), Generated.Objects(Generated.GetIndex(Name))->ClassName());
    if (auto* B = dynamic_cast<TbsDataSkinStdButton*>(Skin.Objects(i))) {
      EXPECT_TRUE(insidePicture(Skin, B->ActivePictureIndex, B->SkinRect));
      EXPECT_TRUE(insidePicture(Skin, B->ActivePictureIndex, B->ActiveSkinRect));
      EXPECT_TRUE(insidePicture(Skin, B->ActivePictureIndex, B->DownRect));
    }
  }
  EXPECT_GE(Skin.GetControlIndex(ProductDefaultButtonName), 0);
  EXPECT_EQ(Skin.FPicture->Width(), 400);
}

TEST_F(ProductSkin, TheAccentMarksTheDefaultTheSelectionAndTheFocus) {
  auto button = [&](const char* Name) {
    return static_cast<TbsDataSkinButtonControl*>(Skin.Ctrls(Skin.GetControlIndex(Name)));
  };
  auto* List = static_cast<TbsDataSkinListBox*>(Skin.Ctrls(Skin.GetControlIndex("listbox")));
  auto* Checks = static_cast<TbsDataSkinListBox*>(Skin.Ctrls(Skin.GetControlIndex("checklistbox")));
  auto* Default = button(ProductDefaultButtonName);
  auto* Plain = button("button");
  struct {
    const char* What;
    Integer Picture;
    TRect Place;
    Cardinal Want;
  } Cases[] = {
      // The default button's face, at rest, hovered and pressed.
      {"default", Default->PictureIndex, Default->SkinRect, accent()},
      {"default hovered", Default->PictureIndex, Default->ActiveSkinRect, ColorOfRGB(look::AccentHover)},
      {"default pressed", Default->PictureIndex, Default->DownSkinRect, ColorOfRGB(look::AccentPressed)},
      // A focused list's selected row; a selected row without the focus in the quiet selection colour.
      {"focused row", List->PictureIndex, List->FocusItemRect, accent()},
      {"selected row", List->PictureIndex, List->ActiveItemRect, ColorOfRGB(look::SelectionUnfocused)},
      {"row", List->PictureIndex, List->SItemRect, ColorOfRGB(look::Surface)},
      {"focused check row", Checks->PictureIndex, Checks->FocusItemRect, accent()},
      // Plain faces stay neutral.
      {"button", Plain->PictureIndex, Plain->SkinRect, ColorOfRGB(look::Face)},
      {"button hovered", Plain->PictureIndex, Plain->ActiveSkinRect, ColorOfRGB(look::FaceHover)},
      {"button pressed", Plain->PictureIndex, Plain->DownSkinRect, ColorOfRGB(look::FacePressed)},
  };
  for (const auto& C : Cases) EXPECT_EQ(middleOf(Skin, C.Picture, C.Place), C.Want) << C.What;
  // Focus: the hot edit and combo box and the focused button carry an accent border.
  auto* Edit = static_cast<TbsDataSkinEditControl*>(Skin.Ctrls(Skin.GetControlIndex("edit")));
  auto* Combo = static_cast<TbsDataSkinComboBox*>(Skin.Ctrls(Skin.GetControlIndex("combobox")));
  const std::pair<Integer, TRect> Rings[] = {
      {Edit->PictureIndex, Edit->ActiveSkinRect},
      {Combo->PictureIndex, Combo->ActiveSkinRect},
      {Plain->PictureIndex, Plain->FocusedSkinRect},
  };
  for (const auto& [Picture, R] : Rings)
    EXPECT_EQ(pixelOf(Skin.Picture(Picture), R.Left + 20, R.Top), accent());
  // Checked boxes and the progress bar are the accent; the list's row is as tall as the look's rows.
  auto* Check = static_cast<TbsDataSkinCheckRadioControl*>(Skin.Ctrls(Skin.GetControlIndex("checkbox")));
  EXPECT_EQ(middleOf(Skin, Check->PictureIndex, Check->UnCheckImageRect), ColorOfRGB(look::Face));
  EXPECT_EQ(pixelOf(Skin.Picture(Check->PictureIndex), Check->CheckImageRect.Left + 4,
                    Check->CheckImageRect.Top + 4),
            accent());
  auto* Gauge = static_cast<TbsDataSkinGaugeControl*>(Skin.Ctrls(Skin.GetControlIndex("gauge")));
  EXPECT_EQ(middleOf(Skin, Gauge->PictureIndex, Gauge->ProgressRect), accent());
  EXPECT_EQ(RectHeight(List->SItemRect), look::ListRowHeight);
  EXPECT_EQ(List->FocusFontColor, TColor(ColorOfRGB(look::Surface)));
  EXPECT_EQ(Skin.SkinColors()->cHighLight(), TColor(accent()));
}

TEST_F(ProductSkin, FrameHasAOnePixelBorderAndAWhiteCaptionBar) {
  TBitmap* F = Skin.FPicture.get();
  EXPECT_EQ(pixelOf(F, 0, 100), ColorOfRGB(look::FrameBorder));
  EXPECT_EQ(pixelOf(F, 200, 0), ColorOfRGB(look::FrameBorder));
  EXPECT_EQ(pixelOf(F, 200, 15), ColorOfRGB(look::TitleActive));
  EXPECT_EQ(pixelOf(F, 200, look::CaptionHeight + 5), ColorOfRGB(look::WindowBg));
  EXPECT_EQ(pixelOf(Skin.FInActivePicture.get(), 200, 15), ColorOfRGB(look::TitleInactive));
  EXPECT_EQ(pixelOf(Skin.FInActivePicture.get(), 0, 100), ColorOfRGB(look::FrameBorder));
  EXPECT_EQ(Skin.ClRect.Top, look::CaptionHeight);
  EXPECT_EQ(Skin.ClRect.Left, 1);
  // The close button turns red under the mouse; its glyph at rest is the caption glyph colour.
  auto* Close = static_cast<TbsDataSkinStdButton*>(Skin.Objects(Skin.GetIndex("closebutton")));
  TBitmap* P = Skin.Picture(Close->ActivePictureIndex);
  EXPECT_EQ(pixelOf(P, Close->ActiveSkinRect.Left + 2, Close->ActiveSkinRect.Top + 2),
            ColorOfRGB(look::Close));
  EXPECT_EQ(RectHeight(Close->SkinRect), look::CaptionHeight - 1);
  EXPECT_EQ(RectWidth(Close->SkinRect), look::CaptionButtonWidth);
}

// The skin library's own texts in the product's language: every key of the library's table has a
// Chinese text in the loaded product skin, so no box or menu falls back to its English built-in text.
TEST_F(ProductSkin, CarriesAChineseTextForEveryKeyOfTheLibrarysTable) {
  TbsResourceStrData* Strings = Skin.ResourceStrData();
  ASSERT_NE(Strings, nullptr);
  EXPECT_EQ(Strings->CharSet(), 134);  // GB2312
  for (const char* Default : SkinDefaultResourceStrings) {
    const String Line = Default, Key = Line.substr(0, Line.find('='));
    SCOPED_TRACE(Key);
    const String Text = Strings->GetResStr(Key);
    EXPECT_NE(Text, Line.substr(Key.size() + 1));
    EXPECT_TRUE(std::any_of(Text.begin(), Text.end(), [](char c) { return Byte(c) >= 0x80; })) << Text;
  }
  const struct {
    const char* Key;
    const char* Text;
  } Buttons[] = {{"MSG_BTN_OK", "确定"},
                 {"MSG_BTN_CANCEL", "取消"},
                 {"MSG_BTN_YES", "是(&Y)"},
                 {"MSG_BTN_NO", "否(&N)"}};
  for (const auto& B : Buttons) EXPECT_EQ(Strings->GetResStr(B.Key), B.Text);
}

// The preview's mute button and its unmute twin stand in one place: sound on shows the speaker with
// its waves, muted the same speaker with a cross, so the two states never look alike.
TEST(ProductPictures, TheSoundAndTheMutedStateHaveGlyphsOfTheirOwn) {
  for (Integer Size : ProductGlyphSizes) {
    SCOPED_TRACE(Size);
    const TVectorImage Sound = ProductGlyph("volume", Size, false), Muted = ProductGlyph("mute", Size, false);
    const float S = float(Size) / 24;
    auto alpha = [&](const TVectorImage& V, float X, float Y) {
      return V.Pixel(Integer(X * S), Integer(Y * S)) >> 24;
    };
    // The cross's middle lies between the two waves; the outer wave passes below the cross's ends.
    EXPECT_GT(alpha(Muted, 18.5f, 12), 128u);
    EXPECT_LT(alpha(Sound, 18.5f, 12), 32u);
    EXPECT_GT(alpha(Sound, 19.24f, 16.17f), 96u);
    EXPECT_LT(alpha(Muted, 19.24f, 16.17f), 32u);
    // The same speaker in both.
    for (Integer y = 0; y < Size; ++y)
      for (Integer x = 0; x < Size * 14 / 24; ++x)
        ASSERT_EQ(Sound.Pixel(x, y), Muted.Pixel(x, y)) << x << "," << y;
  }
}

TEST(ProductPictures, EveryPictureAndTheChimeAreWrittenBesideTheSkin) {
  TTempFolder Dir;
  WriteProductPictures(Dir.Root());
  for (Integer Size : ProductIconSizes) {
    const TVectorImage Icon = ProductAppIcon(Size);
    // The accent film and its white frame: the accent triangle in the middle row, white left of it.
    bool Triangle = false;
    for (Integer x = Size * 40 / 100; x < Size * 60 / 100; ++x)
      Triangle = Triangle || Icon.Pixel(x, Size / 2) == (0xFF000000u | look::Accent);
    EXPECT_TRUE(Triangle) << Size;
    EXPECT_EQ(Icon.Pixel(Size * 27 / 100, Size / 2), 0xFF000000u | look::Surface) << Size;
    EXPECT_TRUE(FileExists(Dir / ProductIconFile(Size))) << Size;
  }
  for (int g = 0; g < ProductGlyphCount(); ++g)
    for (Integer Size : ProductGlyphSizes) {
      const String Name = ProductGlyphName(g);
      SCOPED_TRACE(Name + " " + std::to_string(Size));
      const TVectorImage On = ProductGlyph(Name, Size, false), Off = ProductGlyph(Name, Size, true);
      // Ink on a clear background; the disabled twin is the same drawing at 40 % opacity.
      double Ink = 0;
      for (Integer y = 0; y < Size; ++y)
        for (Integer x = 0; x < Size; ++x) {
          const Cardinal A = On.Pixel(x, y) >> 24, B = Off.Pixel(x, y) >> 24;
          Ink += A / 255.0;
          EXPECT_NEAR(double(B), A * 0.4, 1.0);
        }
      EXPECT_GT(Ink, Size / 2);
      EXPECT_EQ(On.Pixel(0, 0), 0u);
      EXPECT_TRUE(FileExists(Dir / ProductGlyphFile(Name, Size, false)));
      EXPECT_TRUE(FileExists(Dir / ProductGlyphFile(Name, Size, true)));
    }
  const TVectorImage Preview = ProductPlaceholder(ppStoppedPreview);
  EXPECT_EQ(Preview.Width(), 84);
  EXPECT_EQ(Preview.Height(), 87);
  EXPECT_TRUE(FileExists(Dir / ProductPlaceholderFile(ppEmptyList)));
  EXPECT_TRUE(FileExists(Dir / ProductPlaceholderFile(ppStoppedPreview)));

  // The chime: a RIFF WAVE of 16-bit mono PCM, under a second, starting and ending in silence.
  const std::vector<Byte> Wav = ProductChimeWav();
  ASSERT_GT(Wav.size(), 44u);
  EXPECT_EQ(std::memcmp(Wav.data(), "RIFF", 4), 0);
  EXPECT_EQ(std::memcmp(Wav.data() + 8, "WAVEfmt ", 8), 0);
  auto word = [&](size_t At) { return Integer(Wav[At] | (Wav[At + 1] << 8)); };
  auto dword = [&](size_t At) { return Cardinal(word(At)) | (Cardinal(word(At + 2)) << 16); };
  EXPECT_EQ(word(20), 1);
  EXPECT_EQ(word(22), 1);
  EXPECT_EQ(word(34), 16);
  const Cardinal Rate = dword(24), Data = dword(40);
  EXPECT_EQ(Data + 44, Wav.size());
  EXPECT_LT(double(Data) / 2 / Rate, 1.0);
  auto sample = [&](size_t i) { return int16_t(word(44 + 2 * i)); };
  const size_t Count = Data / 2;
  EXPECT_EQ(sample(0), 0);
  EXPECT_EQ(sample(Count - 1), 0);
  int Peak = 0;
  for (size_t i = 0; i < Count; ++i) Peak = std::max(Peak, std::abs(int(sample(i))));
  EXPECT_GT(Peak, 4000);
  EXPECT_LT(Peak, 20000);  // soft, never clipped
  EXPECT_TRUE(FileExists(Dir / ProductChimeFile));
}
