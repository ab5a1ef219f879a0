// The product's pictures and sound, drawn in code: the application icon, the command glyphs (each
// with its disabled twin), the two placeholders, the chooser pictures and the end-of-batch chime.
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/rtl/files.h"
#include "platform/rtl/streams.h"
#include "tools/skingen/productlook.h"
#include "tools/skingen/skingen.h"
#include "tools/skingen/vectorpaint.h"

namespace {

constexpr float Pi = std::numbers::pi_v<float>;

// ---- the command glyphs: 1.5-px lines on a 24-px grid, rounded joins ----

// A glyph on the 24-px grid; Scale maps it onto the size drawn.
struct TGlyphPen {
  TVectorImage& V;
  float Scale;
  TPaint Ink;
  TPointF at(float X, float Y) const { return {X * Scale, Y * Scale}; }
  void line(std::vector<TPointF> P, bool Closed = false) const {
    for (auto& Pt : P) Pt = at(Pt.X, Pt.Y);
    V.Fill(StrokeShape(std::move(P), 1.5f * Scale, Closed), Ink);
  }
  void fill(std::vector<TPointF> P) const {
    for (auto& Pt : P) Pt = at(Pt.X, Pt.Y);
    V.Fill(PolygonShape(P), Ink);
    V.Fill(StrokeShape(std::move(P), 1.5f * Scale, true), Ink);
  }
  void box(float L, float T, float R, float B, float Rad) const {
    V.Fill(RoundRectRingShape((L - 0.75f) * Scale, (T - 0.75f) * Scale, (R + 0.75f) * Scale,
                              (B + 0.75f) * Scale, (Rad + 0.75f) * Scale, 1.5f * Scale),
           Ink);
  }
  void circle(float X, float Y, float R) const {
    V.Fill(CircleRingShape(X * Scale, Y * Scale, R * Scale, 1.5f * Scale), Ink);
  }
};

using TGlyphDraw = void (*)(const TGlyphPen& P);

void drawAdd(const TGlyphPen& P) {
  P.line({{12, 5}, {12, 19}});
  P.line({{5, 12}, {19, 12}});
}
void drawRemove(const TGlyphPen& P) {
  P.line({{5, 12}, {19, 12}});
}
void drawRename(const TGlyphPen& P) {
  P.line({{4.5f, 19.5f}, {5.5f, 15}, {15, 5.5f}, {18.5f, 9}, {9, 18.5f}}, true);
  P.line({{13, 7.5f}, {16.5f, 11}});
}
void drawClear(const TGlyphPen& P) {
  P.line({{4, 7}, {20, 7}});
  P.line({{9, 7}, {9.5f, 4}, {14.5f, 4}, {15, 7}});
  P.line({{6, 7}, {7, 20}, {17, 20}, {18, 7}});
  P.line({{10, 11}, {10, 16}});
  P.line({{14, 11}, {14, 16}});
}
void drawPlayOutline(const TGlyphPen& P) {
  P.line({{8, 5}, {19, 12}, {8, 19}}, true);
}
void drawStart(const TGlyphPen& P) {
  P.fill({{8, 5}, {19, 12}, {8, 19}});
}
void drawStop(const TGlyphPen& P) {
  P.box(6, 6, 18, 18, 2);
}
void drawPause(const TGlyphPen& P) {
  P.box(7, 5.5f, 10, 18.5f, 1);
  P.box(14, 5.5f, 17, 18.5f, 1);
}
void drawResume(const TGlyphPen& P) {
  P.line({{6, 5.5f}, {6, 18.5f}});
  P.line({{10, 5.5f}, {19.5f, 12}, {10, 18.5f}}, true);
}
void drawMoveUp(const TGlyphPen& P) {
  P.line({{12, 19}, {12, 5}});
  P.line({{6, 11}, {12, 5}, {18, 11}});
}
void drawMoveDown(const TGlyphPen& P) {
  P.line({{12, 5}, {12, 19}});
  P.line({{6, 13}, {12, 19}, {18, 13}});
}
// Three rails with their knobs.
void drawOptions(const TGlyphPen& P) {
  const float Knob[3] = {15, 8, 13}, Y[3] = {6, 12, 18};
  for (int i = 0; i < 3; ++i) {
    P.line({{4, Y[i]}, {Knob[i] - 2.25f, Y[i]}});
    P.line({{Knob[i] + 2.25f, Y[i]}, {20, Y[i]}});
    P.circle(Knob[i], Y[i], 2.25f);
  }
}
void drawSpeaker(const TGlyphPen& P) {
  P.line({{4, 9}, {8, 9}, {13, 5}, {13, 19}, {8, 15}, {4, 15}}, true);
}
// An arc of the sound waves around the speaker's mouth at (13, 12), Radius from it.
std::vector<TPointF> wave(float Radius) {
  std::vector<TPointF> Arc;
  for (int i = -4; i <= 4; ++i) {
    const float A = float(i) * Pi / 16;
    Arc.push_back({13 + Radius * std::cos(A), 12 + Radius * std::sin(A)});
  }
  return Arc;
}
// Sound on: the speaker with two waves.
void drawVolume(const TGlyphPen& P) {
  drawSpeaker(P);
  P.line(wave(4));
  P.line(wave(7.5f));
}
// Muted: the speaker with a cross where the waves would be.
void drawMute(const TGlyphPen& P) {
  drawSpeaker(P);
  P.line({{16, 9.5f}, {21, 14.5f}});
  P.line({{21, 9.5f}, {16, 14.5f}});
}
void drawSnapshot(const TGlyphPen& P) {
  P.line({{5, 7},
          {8, 7},
          {9.5f, 4.5f},
          {14.5f, 4.5f},
          {16, 7},
          {19, 7},
          {21, 9},
          {21, 18},
          {19, 20},
          {5, 20},
          {3, 18},
          {3, 9}},
         true);
  P.circle(12, 13, 3.5f);
}
// A gear of eight teeth around a hole.
void drawSettings(const TGlyphPen& P) {
  std::vector<TPointF> Outline;
  for (int t = 0; t < 8; ++t) {
    const float A = float(t) * Pi / 4;
    for (auto [Da, R] : {std::pair{-0.30f, 6.6f}, {-0.17f, 8.8f}, {0.17f, 8.8f}, {0.30f, 6.6f}})
      Outline.push_back({12 + R * std::cos(A + Da), 12 + R * std::sin(A + Da)});
  }
  P.line(Outline, true);
  P.circle(12, 12, 2.75f);
}

struct TGlyphSpec {
  const char* Name;
  TGlyphDraw Draw;
  bool Primary;
};

// The main window's job commands and the preview's, by the names their pictures are saved under.
const TGlyphSpec Glyphs[] = {
    {"add", drawAdd, false},           {"remove", drawRemove, false},   {"rename", drawRename, false},
    {"clear", drawClear, false},       {"start", drawStart, true},      {"stop", drawStop, false},
    {"pause", drawPause, false},       {"resume", drawResume, false},   {"moveup", drawMoveUp, false},
    {"movedown", drawMoveDown, false}, {"options", drawOptions, false}, {"play", drawPlayOutline, false},
    {"volume", drawVolume, false},     {"mute", drawMute, false},       {"snapshot", drawSnapshot, false},
    {"settings", drawSettings, false},
};

// ---- the application icon: a play triangle inside a film frame, the accent on white ----

TVectorImage drawAppIcon(Integer Size) {
  const float S = float(Size);
  TVectorImage V(Size, Size);
  const bool Small = Size < 32;
  const float Edge = std::max(1.0f, S / 96);
  V.Fill(RoundRectShape(0, 0, S, S, S * 0.19f), {look::SurfaceBorder});
  V.Fill(RoundRectShape(Edge, Edge, S - Edge, S - Edge, S * 0.19f - Edge), {look::Surface});
  // The film: an accent band whose middle is the white frame, sprocket holes in its edges.
  const float L = S * 0.13f, R = S * 0.87f, T = S * 0.19f, B = S * 0.81f;
  V.Fill(RoundRectShape(L, T, R, B, S * 0.07f), {look::Accent});
  const float Band = Small ? S * 0.11f : S * 0.13f;
  V.Fill(RoundRectShape(L + S * 0.06f, T + Band, R - S * 0.06f, B - Band, S * 0.03f), {look::Surface});
  if (!Small) {
    const float Hole = S * 0.055f;
    for (int i = 0; i < 6; ++i) {
      const float X = L + S * 0.075f + float(i) * (R - L - S * 0.15f - Hole) / 5;
      for (float Y : {T + Band / 2, B - Band / 2})
        V.Fill(RoundRectShape(X, Y - Hole / 2, X + Hole, Y + Hole / 2, Hole * 0.25f), {look::Surface});
    }
  }
  // The play triangle, its corners rounded by a stroke of its own colour.
  const float CY = S / 2, H = (B - T - 2 * Band) * 0.62f;
  const float X0 = S / 2 - H * 0.38f, X1 = S / 2 + H * 0.52f;
  std::vector<TPointF> Tri = {{X0, CY - H / 2}, {X1, CY}, {X0, CY + H / 2}};
  V.Fill(PolygonShape(Tri), {look::Accent});
  V.Fill(StrokeShape(Tri, std::max(1.0f, S * 0.03f), true), {look::Accent});
  return V;
}

// ---- the placeholders: light line drawings ----

constexpr Cardinal PlaceholderInk = 0xB4BAC4;

// A film frame in outline: its border, the two sprocket bands with Holes holes each, and a play mark
// in the middle.
void drawFilmFrame(TVectorImage& V, float L, float T, float R, float B, int Holes, TPaint Ink) {
  constexpr float W = 1.5f, Band = 9, Hole = 4;
  V.Fill(RoundRectRingShape(L, T, R, B, 3, W), Ink);
  V.Fill(StrokeShape({{L, T + Band}, {R, T + Band}}, W), Ink);
  V.Fill(StrokeShape({{L, B - Band}, {R, B - Band}}, W), Ink);
  const float Step = (R - L - 10 - Hole) / float(Holes - 1);
  for (int i = 0; i < Holes; ++i) {
    const float X = L + 5 + float(i) * Step;
    V.Fill(RoundRectRingShape(X, T + 2.5f, X + Hole, T + 2.5f + Hole, 1, 1.2f), Ink);
    V.Fill(RoundRectRingShape(X, B - 2.5f - Hole, X + Hole, B - 2.5f, 1, 1.2f), Ink);
  }
  const float CX = (L + R) / 2, CY = (T + B) / 2, H = (B - T - 2 * Band) * 0.5f;
  V.Fill(
      StrokeShape({{CX - H * 0.4f, CY - H / 2}, {CX + H * 0.6f, CY}, {CX - H * 0.4f, CY + H / 2}}, W, true),
      Ink);
}

// The empty job list: a film frame dropping into an open tray.
TVectorImage drawEmptyListPlaceholder() {
  TVectorImage V(160, 120);
  const TPaint Ink{PlaceholderInk};
  const float W = 1.5f;
  V.Fill(StrokeShape({{30, 74}, {30, 104}, {130, 104}, {130, 74}}, W), Ink);
  V.Fill(StrokeShape({{30, 84}, {58, 84}, {64, 92}, {96, 92}, {102, 84}, {130, 84}}, W), Ink);
  drawFilmFrame(V, 50, 12, 110, 60, 5, Ink);
  // The way down.
  V.Fill(StrokeShape({{80, 64}, {80, 80}}, W), Ink);
  V.Fill(StrokeShape({{75, 75}, {80, 80}, {85, 75}}, W), Ink);
  return V;
}

// The stopped preview: a screen with a film frame and a play mark in it, on its stand.
TVectorImage drawStoppedPreviewPlaceholder() {
  TVectorImage V(84, 87);
  const TPaint Ink{PlaceholderInk};
  const float W = 1.5f;
  drawFilmFrame(V, 8, 14, 76, 64, 6, Ink);
  V.Fill(StrokeShape({{42, 64}, {42, 72}}, W), Ink);
  V.Fill(StrokeShape({{30, 73}, {54, 73}}, W), Ink);
  return V;
}

// ---- the chooser pictures ----

// One hue per family, cycling: calm, of one saturation, each distinct from its neighbours.
constexpr Cardinal FamilyHues[] = {0x2F6FDE, 0x0E9F6E, 0xD9822B, 0x8B5CF6,
                                   0xD64545, 0x0891B2, 0x65A30D, 0xDB2777};
constexpr Integer SoundFamily = 1;

// A tile of the family's hue with a white screen and play mark, or a note for sound.
TVectorImage drawCategoryPicture(Integer Family) {
  const float S = float(ProductChooserPictureSize);
  TVectorImage V(ProductChooserPictureSize, ProductChooserPictureSize);
  V.Fill(RoundRectShape(0.5f, 0.5f, S - 0.5f, S - 0.5f, 4.5f), TPaint{FamilyHues[Family % 8]});
  const TPaint White{0xFFFFFF};
  if (Family == SoundFamily) {
    V.Fill(CircleShape(7.5f, 14, 2.6f), White);
    V.Fill(CircleShape(13.5f, 12.5f, 2.6f), White);
    V.Fill(StrokeShape({{9.6f, 14}, {9.6f, 5.5f}, {15.6f, 4.2f}, {15.6f, 12.5f}}, 1.6f), White);
  } else {
    V.Fill(RoundRectRingShape(4, 5, S - 4, S - 5, 1.5f, 1.4f), White);
    V.Fill(PolygonShape({{8.5f, 7.6f}, {13, 10}, {8.5f, 12.4f}}), White);
  }
  return V;
}

// A small film frame, in the accent or in the secondary text colour.
TVectorImage drawFormatPicture(Integer Which) {
  const float S = float(ProductChooserPictureSize);
  TVectorImage V(ProductChooserPictureSize, ProductChooserPictureSize);
  const TPaint Ink{Which == 0 ? look::Accent : look::SecondaryText};
  V.Fill(RoundRectRingShape(2.5f, 3.5f, S - 2.5f, S - 3.5f, 2, 1.4f), Ink);
  for (float X : {5.5f, 9.0f, 12.5f}) {
    V.Fill(RoundRectShape(X, 5.2f, X + 2, 6.8f, 0.5f), Ink);
    V.Fill(RoundRectShape(X, S - 6.8f, X + 2, S - 5.2f, 0.5f), Ink);
  }
  V.Fill(PolygonShape({{8.5f, 8}, {12.5f, 10}, {8.5f, 12}}), Ink);
  return V;
}

// ---- the end-of-batch chime ----

void putLE(std::vector<Byte>& Out, Cardinal V, int Bytes) {
  for (int i = 0; i < Bytes; ++i) Out.push_back(Byte(V >> (8 * i)));
}

}  // namespace

std::vector<Byte> ProductChimeWav() {
  constexpr int Rate = 44100;
  constexpr float Length = 0.8f;
  const int Count = int(Rate * Length);
  // Two soft bell notes a fifth apart (A5, then E6), each with a short attack and a long decay and a
  // faint octave partial.
  struct TNote {
    float Start, Freq;
  };
  const TNote Notes[] = {{0.0f, 880.0f}, {0.16f, 1318.51f}};
  std::vector<Byte> Pcm;
  Pcm.reserve(size_t(Count) * 2);
  for (int i = 0; i < Count; ++i) {
    const float T = float(i) / Rate;
    float S = 0;
    for (const TNote& N : Notes) {
      const float t = T - N.Start;
      if (t < 0) continue;
      const float Attack = std::min(1.0f, t / 0.006f);
      const float Env = Attack * std::exp(-t * 6.0f);
      S += Env * (std::sin(2 * Pi * N.Freq * t) + 0.18f * std::sin(4 * Pi * N.Freq * t));
    }
    // The last 40 ms fade to silence so the file ends without a click.
    const float Tail = std::min(1.0f, (Length - T) / 0.04f);
    const int V = int(std::lround(S * Tail * 0.28f * 32767));
    putLE(Pcm, Cardinal(std::clamp(V, -32767, 32767)) & 0xFFFF, 2);
  }
  std::vector<Byte> Wav;
  const Cardinal DataSize = Cardinal(Pcm.size());
  Wav.insert(Wav.end(), {'R', 'I', 'F', 'F'});
  putLE(Wav, 36 + DataSize, 4);
  Wav.insert(Wav.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  putLE(Wav, 16, 4);
  putLE(Wav, 1, 2);  // PCM
  putLE(Wav, 1, 2);  // mono
  putLE(Wav, Rate, 4);
  putLE(Wav, Rate * 2, 4);
  putLE(Wav, 2, 2);
  putLE(Wav, 16, 2);
  Wav.insert(Wav.end(), {'d', 'a', 't', 'a'});
  putLE(Wav, DataSize, 4);
  Wav.insert(Wav.end(), Pcm.begin(), Pcm.end());
  return Wav;
}

TVectorImage ProductAppIcon(Integer Size) {
  return drawAppIcon(Size);
}

TVectorImage ProductGlyph(const String& Name, Integer Size, bool Disabled) {
  TVectorImage V(Size, Size);
  for (const auto& G : Glyphs)
    if (Name == G.Name) {
      G.Draw(TGlyphPen{V, float(Size) / 24, {G.Primary ? look::Accent : look::Text}});
      if (Disabled) V.Fade(0.4f);
    }
  return V;
}

int ProductGlyphCount() {
  return int(sizeof Glyphs / sizeof Glyphs[0]);
}
const char* ProductGlyphName(int Index) {
  return Glyphs[Index].Name;
}

TVectorImage ProductPlaceholder(TProductPlaceholder Which) {
  return Which == ppEmptyList ? drawEmptyListPlaceholder() : drawStoppedPreviewPlaceholder();
}

TVectorImage ProductCategoryPicture(Integer Family) {
  return drawCategoryPicture(Family);
}
TVectorImage ProductFormatPicture(Integer Which) {
  return drawFormatPicture(Which);
}
String ProductCategoryFile(Integer Family) {
  return "pictures/category-" + std::to_string(Family) + ".png";
}
String ProductFormatFile(Integer Which) {
  return "pictures/format-" + std::to_string(Which) + ".png";
}

void WriteProductPictures(const String& Folder) {
  const String Root = IncludeTrailingPathDelimiter(Folder);
  ForceDirectories(Root + "icons");
  ForceDirectories(Root + "glyphs");
  ForceDirectories(Root + "pictures");
  ForceDirectories(Root + "sounds");
  for (Integer Size : ProductIconSizes) SavePng(drawAppIcon(Size), Root + ProductIconFile(Size));
  for (int i = 0; i < ProductGlyphCount(); ++i)
    for (Integer Size : ProductGlyphSizes)
      for (bool Disabled : {false, true})
        SavePng(ProductGlyph(Glyphs[i].Name, Size, Disabled),
                Root + ProductGlyphFile(Glyphs[i].Name, Size, Disabled));
  SavePng(drawEmptyListPlaceholder(), Root + ProductPlaceholderFile(ppEmptyList));
  SavePng(drawStoppedPreviewPlaceholder(), Root + ProductPlaceholderFile(ppStoppedPreview));
  for (Integer Family = 0; Family < ProductCategoryCount; ++Family)
    SavePng(drawCategoryPicture(Family), Root + ProductCategoryFile(Family));
  for (Integer Which = 0; Which < 2; ++Which)
    SavePng(drawFormatPicture(Which), Root + ProductFormatFile(Which));
  const std::vector<Byte> Wav = ProductChimeWav();
  TFileStream F(Root + ProductChimeFile, fmCreate);
  F.WriteBuffer(Wav.data(), Int64(Wav.size()));
}

String ProductIconFile(Integer Size) {
  return "icons/nerivo-" + std::to_string(Size) + ".png";
}
String ProductGlyphFile(const String& Name, Integer Size, bool Disabled) {
  return "glyphs/" + Name + "-" + std::to_string(Size) + (Disabled ? "-disabled" : "") + ".png";
}
String ProductPlaceholderFile(TProductPlaceholder Which) {
  return Which == ppEmptyList ? "pictures/emptylist.png" : "pictures/previewstopped.png";
}
