// Our product skin: the generated skin's elements, sheets and records, redrawn and re-measured in the
// product look (flat faces, 1-px lines, radius 3, one accent for what is active, selected or default).
#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>

#include "platform/rtl/files.h"
#include "skin/core/bsskindata.h"
#include "tools/skingen/productlook.h"
#include "tools/skingen/skingen.h"
#include "tools/skingen/vectorpaint.h"

namespace {

using namespace look;

constexpr float Pi = std::numbers::pi_v<float>;

// States of a control cell, in the order the generated sheet keeps them.
enum TCellState { csNormal, csActive, csDown, csDisabled, csFocused };
constexpr int StateCount = 5;

using TDraw = std::function<void(TVectorImage& V, float W, float H)>;

// Draws R of Sheet anew: the backdrop, then Draw's shapes over it.
void paintRect(TBitmap* Sheet, const TRect& R, Cardinal Backdrop, const TDraw& Draw) {
  TVectorImage V(RectWidth(R), RectHeight(R));
  V.Clear({Backdrop});
  Draw(V, float(RectWidth(R)), float(RectHeight(R)));
  V.CopyTo(Sheet, R.Left, R.Top, Backdrop);
}

// A rounded face with a 1-px border; Ring adds the focus ring inside the border.
void drawFace(TVectorImage& V, float L, float T, float R, float B, Cardinal Face, Cardinal Border,
              bool Ring = false, float Rad = float(Radius)) {
  V.Fill(RoundRectShape(L, T, R, B, Rad), {Border});
  V.Fill(RoundRectShape(L + 1, T + 1, R - 1, B - 1, Rad - 1), {Face});
  if (Ring) V.Fill(RoundRectRingShape(L + 1, T + 1, R - 1, B - 1, Rad - 1, 1), {Accent, 0.35f});
}

// A chevron of 1.5-px strokes centred at X, Y, pointing in Direction (0 up, 1 right, 2 down, 3 left).
TShape chevron(float X, float Y, float Size, int Direction, float Width = 1.5f) {
  std::vector<TPointF> P = {{-Size, Size / 2}, {0, -Size / 2}, {Size, Size / 2}};
  for (auto& Pt : P) {
    const float A = float(Direction) * Pi / 2, PX = Pt.X, PY = Pt.Y;
    Pt = {X + PX * std::cos(A) - PY * std::sin(A), Y + PX * std::sin(A) + PY * std::cos(A)};
  }
  return StrokeShape(P, Width);
}

// The look's text: DejaVu Sans (CJK falls back to WenQuanYi Micro Hei) at 12 px.
template <class T>
void setText(T* R, Cardinal RGB) {
  R->FontName = "DejaVu Sans";
  R->FontHeight = 12;
  R->FontColor = TColor(ColorOfRGB(RGB));
}

// ---- the five looks a control cell can take ----

struct TStateColours {
  Cardinal Face, Border;
  bool Ring;
};

// Push buttons: white face, hover and pressed shade steps, focus ring.
const TStateColours ButtonLook[StateCount] = {
    {Face, ControlBorder, false},
    {FaceHover, ControlBorder, false},
    {FacePressed, ControlBorderHover, false},
    {FaceDisabled, SurfaceBorder, false},
    {Face, Accent, true},
};
// The default button: the accent face, white text.
const TStateColours DefaultButtonLook[StateCount] = {
    {Accent, Accent, false},     {AccentHover, AccentHover, false}, {AccentPressed, AccentPressed, false},
    {0xA9C1EE, 0xA9C1EE, false}, {Accent, AccentPressed, false},
};
// Edits and combo boxes: the active picture is shown under the mouse and while focused.
const TStateColours FieldLook[StateCount] = {
    {Face, ControlBorder, false},         {Face, Accent, false}, {Face, Accent, false},
    {FaceDisabled, SurfaceBorder, false}, {Face, Accent, true},
};

void drawButtonCell(TVectorImage& V, float W, float H, const TStateColours& S) {
  drawFace(V, 0, 0, W, H, S.Face, S.Border, S.Ring);
}

// Tool buttons are flat until the mouse comes.
void drawToolCell(TVectorImage& V, float W, float H, int State) {
  if (State == csActive) V.Fill(RoundRectShape(1, 1, W - 1, H - 1, Radius), {FaceHover});
  if (State == csDown) V.Fill(RoundRectShape(1, 1, W - 1, H - 1, Radius), {FacePressed});
  if (State == csFocused) V.Fill(RoundRectRingShape(1, 1, W - 1, H - 1, Radius, 1), {Accent});
}

// The right end of a field that holds a button (combo boxes, button edits): no left border, so it
// continues the field's frame.
void drawFieldButtonCell(TVectorImage& V, float W, float H, int State) {
  const TStateColours& S = FieldLook[State == csDown ? csActive : State];
  V.Fill(RoundRectShape(-8, 0, W, H, Radius), {S.Border});
  V.Fill(RoundRectShape(-8, 1, W - 1, H - 1, Radius - 1), {State == csDown ? FacePressed : S.Face});
}

// The combo box's row: its frame at rest and hot with the drop-down arrow at the right end, the plain
// item picture, the disabled frame, and the pressed button as the right end of the last cell.
constexpr float ComboButtonWidth = 24;
void drawComboCell(TVectorImage& V, float W, float H, int State) {
  const float AX = W - ComboButtonWidth / 2, AY = H / 2 + 0.5f;
  switch (State) {
    case csNormal:
    case csActive:
    case csDisabled:
      drawButtonCell(V, W, H, FieldLook[State]);
      V.Fill(chevron(AX, AY, 3.5f, 2), {State == csDisabled ? DisabledText : SecondaryText});
      break;
    case csDown:
      V.Clear({Face});
      break;
    case csFocused:
      V.Clear({Face});
      drawFace(V, W - ComboButtonWidth - 8, 0, W, H, FacePressed, Accent);
      V.Fill(chevron(AX, AY, 3.5f, 2), {SecondaryText});
      break;
  }
}

void drawHeaderCell(TVectorImage& V, float W, float H, int State) {
  V.Clear({State == csActive ? FaceHover : State == csDown ? FacePressed : Surface});
  V.Fill(RoundRectShape(0, H - 1, W, H, 0), {SurfaceBorder});
  V.Fill(RoundRectShape(W - 1, 5, W, H - 5, 0), {SurfaceBorder});
}

// A list's rows: plain, selected without focus, selected with focus (the accent).
void drawRowCell(TVectorImage& V, float W, float H, int State) {
  if (State == csDown) V.Fill(RoundRectShape(2, 1, W - 2, H - 1, Radius), {SelectionUnfocused});
  if (State == csFocused) V.Fill(RoundRectShape(2, 1, W - 2, H - 1, Radius), {Accent});
}

void drawTabCell(TVectorImage& V, float W, float H, int State) {
  switch (State) {
    case csNormal:  // the page
      drawFace(V, 0, 0, W, H, Surface, SurfaceBorder);
      break;
    case csActive:  // a tab at rest
      break;
    case csDown:  // the selected tab: open at the bottom into its page, the accent along the top
    case csFocused:
      V.Fill(RoundRectShape(0, 0, W, H + 4, Radius), {SurfaceBorder});
      V.Fill(RoundRectShape(1, 1, W - 1, H + 4, Radius - 1), {Surface});
      V.Fill(RoundRectShape(1, 1, W - 1, 3, 1), {Accent});
      break;
    case csDisabled:  // the tab under the mouse
      V.Fill(RoundRectShape(1, 2, W - 1, H + 4, Radius), {FaceHover});
      break;
  }
}

// ---- which look each element takes ----

enum TFamily {
  fmButton,
  fmDefaultButton,
  fmTool,
  fmFieldButton,
  fmHeader,
  fmSurface,
  fmGroup,
  fmBar,
  fmStatus,
  fmPlain,
  fmField,
  fmList,
  fmCombo,
  fmTab,
  fmTrack,
  fmGauge,
  fmOther
};

struct TFamilyOf {
  const char* Name;
  TFamily Family;
};

const TFamilyOf Families[] = {
    {"button", fmButton},
    {"resizebutton", fmButton},
    {"officeribbonbutton", fmTool},
    {"toolbutton", fmTool},
    {"bigtoolbutton", fmTool},
    {"resizetoolbutton", fmTool},
    {"toolmenubutton", fmTool},
    {"officemenubutton", fmTool},
    {"header", fmHeader},
    {"editbutton", fmFieldButton},
    {"combobutton", fmFieldButton},
    {"panel", fmSurface},
    {"groupbox", fmGroup},
    {"toolpanel", fmBar},
    {"resizetoolpanel", fmBar},
    {"statusbar", fmStatus},
    {"menupagepanel", fmPlain},
    {"checkbox", fmPlain},
    {"radiobox", fmPlain},
    {"label", fmPlain},
    {"menuheader", fmPlain},
    {"edit", fmField},
    {"buttonedit", fmField},
    {"memo", fmField},
    {"spinedit", fmField},
    {"listbox", fmList},
    {"checklistbox", fmList},
    {"combobox", fmCombo},
    {"tab", fmTab},
    {"officetab", fmTab},
    {"trackbar", fmTrack},
    {"gauge", fmGauge},
    {"mainmenubar", fmPlain},
    {"appmenu", fmPlain},
    {"scrollbox", fmPlain},
    {"vsplitter", fmPlain},
    {"hsplitter", fmPlain},
};

TFamily familyOf(const String& Name) {
  if (Name == ProductDefaultButtonName) return fmDefaultButton;
  for (const auto& F : Families)
    if (Name == F.Name) return F.Family;
  return fmOther;
}

// The backdrop an element's cells stand on: what shows through its rounded corners.
Cardinal backdropOf(TFamily F) {
  switch (F) {
    case fmTool:
    case fmBar:
    case fmHeader:
    case fmGroup:
    case fmList:
    case fmTrack:
    case fmGauge:
    case fmTab:
      return Surface;
    case fmPlain:
      return Surface;
    default:
      return WindowBg;
  }
}

void drawCell(TVectorImage& V, float W, float H, TFamily F, int State) {
  switch (F) {
    case fmButton:
      drawButtonCell(V, W, H, ButtonLook[State]);
      break;
    case fmDefaultButton:
      drawButtonCell(V, W, H, DefaultButtonLook[State]);
      if (State == csFocused) V.Fill(RoundRectRingShape(2, 2, W - 2, H - 2, Radius - 1, 1), {Surface, 0.8f});
      break;
    case fmTool:
      drawToolCell(V, W, H, State);
      break;
    case fmFieldButton:
      drawFieldButtonCell(V, W, H, State);
      break;
    case fmHeader:
      drawHeaderCell(V, W, H, State);
      break;
    case fmSurface:
    case fmGroup:
      drawFace(V, 0, 0, W, H, Surface, SurfaceBorder);
      break;
    case fmBar:  // white, one line under it
      V.Fill(RoundRectShape(0, H - 1, W, H, 0), {SurfaceBorder});
      break;
    case fmStatus:
      V.Fill(RoundRectShape(0, 0, W, 1, 0), {SurfaceBorder});
      break;
    case fmField:
    case fmCombo:
      if (F == fmCombo) {
        drawComboCell(V, W, H, State);
        break;
      }
      drawButtonCell(V, W, H, FieldLook[State]);
      break;
    case fmList:
      if (State == csNormal || State == csDisabled)
        drawFace(V, 0, 0, W, H, State == csNormal ? Surface : FaceDisabled, ControlBorder);
      else
        drawRowCell(V, W, H, State);
      break;
    case fmTab:
      drawTabCell(V, W, H, State);
      break;
    case fmTrack:  // a 4-px rail across the middle
      V.Fill(RoundRectShape(6, H / 2 - 2, W - 6, H / 2 + 2, 2), {SurfaceBorder});
      break;
    case fmGauge:
      if (State == csActive)
        V.Fill(RoundRectShape(0, 0, W, H, Radius), {Accent});
      else
        V.Fill(RoundRectShape(0, 0, W, H, Radius), {0xE6E8EC});
      break;
    case fmPlain:
    case fmOther:
      break;
  }
}

Cardinal backdropFor(const String& Name, TFamily F) {
  if (Name == "label" || Name == "scrollbox" || Name == "vsplitter" || Name == "hsplitter" ||
      Name == "menuheader" || Name == "statusbar")
    return WindowBg;
  if (F == fmGauge) return Surface;
  return backdropOf(F);
}

// ---- the parts sheet: pictures with sizes of their own ----

class TPartsSheet {
 public:
  TPartsSheet(TbsSkinData* Skin) : FSkin(Skin) {
    FSheet = std::make_unique<TBitmap>();
    FSheet->SetPixelFormat(pf24bit);
    FSheet->SetSize(Width, Height);
    FSheet->Canvas()->Brush()->SetColor(TColor(ColorOfRGB(Surface)));
    FSheet->Canvas()->FillRect(Rect(0, 0, Width, Height));
  }
  // A place W x H in the sheet, drawn on Backdrop; rows fill left to right.
  TRect Add(Integer W, Integer H, Cardinal Backdrop, const TDraw& Draw) {
    if (FX + W > Width) {
      FX = 0;
      FY += FRowH;
      FRowH = 0;
    }
    const TRect R = Bounds(FX, FY, W, H);
    paintRect(FSheet.get(), R, Backdrop, Draw);
    FX += W;
    FRowH = std::max(FRowH, H);
    return R;
  }
  // Hands the sheet, cut to the rows used, to the skin; returns its picture index.
  Integer Finish() {
    const Integer Used = FY + FRowH;
    auto Cut = std::make_unique<TBitmap>();
    Cut->SetPixelFormat(pf24bit);
    Cut->SetSize(Width, Used);
    for (Integer y = 0; y < Used; ++y)
      std::memcpy(Cut->ScanLine(y), FSheet->ScanLine(y), size_t(FSheet->BytesPerScanLine()));
    FSkin->AddPicture(std::move(Cut), "parts.bmp");
    return FSkin->PictureCount() - 1;
  }
  Integer Index() const { return FSkin->PictureCount(); }

 private:
  static constexpr Integer Width = 512, Height = 512;
  TbsSkinData* FSkin;
  std::unique_ptr<TBitmap> FSheet;
  Integer FX = 0, FY = 0, FRowH = 0;
};

template <class T>
T* record(TbsSkinData* Skin, const char* Name) {
  const Integer i = Skin->GetControlIndex(Name);
  return i < 0 ? nullptr : dynamic_cast<T*>(Skin->Ctrls(i));
}
template <class T>
T* object(TbsSkinData* Skin, const char* Name) {
  const Integer i = Skin->GetIndex(Name);
  return i < 0 ? nullptr : dynamic_cast<T*>(Skin->Objects(i));
}

void setNineSlice(TbsDataSkinCustomControl* R, Integer W, Integer H, Integer Corner) {
  R->LTPoint = TPoint{Corner, Corner};
  R->RTPoint = TPoint{W - Corner, Corner};
  R->LBPoint = TPoint{Corner, H - Corner};
  R->RBPoint = TPoint{W - Corner, H - Corner};
  R->LeftStretch = R->TopStretch = R->RightStretch = R->BottomStretch = true;
  R->StretchEffect = true;
}

// ---- check boxes and radio buttons ----

void restyleCheckRadio(TPartsSheet& P, TbsDataSkinCheckRadioControl* R, bool Radio) {
  if (R == nullptr) return;
  constexpr Integer S = 18;  // a 16-px mark with a margin of the backdrop, whose corner is the key colour
  auto mark = [&](bool Checked, Cardinal Face, Cardinal Border, Cardinal Glyph, float GlyphAlpha) {
    return P.Add(S, S, Surface, [=](TVectorImage& V, float, float) {
      if (Radio) {
        V.Fill(CircleShape(9, 9, 8), {Border});
        V.Fill(CircleShape(9, 9, 7), {Face});
        if (Checked) V.Fill(CircleShape(9, 9, 3), {Glyph, GlyphAlpha});
      } else {
        drawFace(V, 1, 1, 17, 17, Face, Border);
        if (Checked) V.Fill(StrokeShape({{5, 9.2f}, {8, 12}, {13.2f, 6.2f}}, 1.6f), {Glyph, GlyphAlpha});
      }
    });
  };
  R->UnCheckImageRect = mark(false, Face, ControlBorder, 0, 0);
  R->ActiveUnCheckImageRect = mark(false, Face, Accent, 0, 0);
  R->UnEnabledUnCheckImageRect = mark(false, FaceDisabled, SurfaceBorder, 0, 0);
  R->CheckImageRect = mark(true, Accent, Accent, Surface, 1);
  R->ActiveCheckImageRect = mark(true, AccentHover, AccentHover, Surface, 1);
  R->UnEnabledCheckImageRect = mark(true, 0xA9C1EE, 0xA9C1EE, Surface, 1);
  R->GrayedCheckImageRect = P.Add(S, S, Surface, [=](TVectorImage& V, float, float) {
    drawFace(V, 1, 1, 17, 17, Accent, Accent);
    V.Fill(StrokeShape({{5.5f, 9}, {12.5f, 9}}, 1.6f), {Surface});
  });
  R->ActiveGrayedCheckImageRect = R->GrayedCheckImageRect;
  const Integer H = RectHeight(R->SkinRect), W = RectWidth(R->SkinRect);
  R->CheckImageArea = Rect(0, 0, 20, H);
  R->TextArea = Rect(24, 0, W, H);
  R->ClRect = Rect(24, 0, W, H);
}

// ---- scroll bars ----

// A bar of the look's thickness wherever it is put: the vertical element keeps its width and the
// horizontal one its height, and the length stretches. The track is the list's own white; what shows
// is the rounded thumb and two small arrows. With Corner, the horizontal bar ends in a blank square
// under the vertical bar beside it.
void restyleScrollBar(TPartsSheet& P, TbsDataSkinScrollBarControl* R, bool Vertical, bool Corner = false) {
  if (R == nullptr) return;
  constexpr Integer B = ScrollBarSize, Long = 60, ThumbLong = 24;
  constexpr Cardinal Track = Surface;
  const Integer End = Corner ? B : 0;  // the corner square after the far arrow
  const Integer W = Vertical ? B : Long + End, H = Vertical ? Long : B;
  // Direction of the arrow on the near and the far button.
  const int NearDir = Vertical ? 0 : 3, FarDir = Vertical ? 2 : 1;
  constexpr float ArrowSize = 2.0f;
  auto arrowCell = [&](int Dir, Cardinal Bg) {
    return P.Add(B, B, Track, [=](TVectorImage& V, float, float) {
      if (Bg != Track) V.Fill(RoundRectShape(1, 1, B - 1, B - 1, Radius), {Bg});
      V.Fill(chevron(B / 2.0f, B / 2.0f, ArrowSize, Dir, 1.2f), {SecondaryText});
    });
  };
  const TRect Cell = P.Add(W, H, Track, [=](TVectorImage& V, float, float) {
    const float FX = Vertical ? B / 2.0f : Long - B / 2.0f, FY = Vertical ? Long - B / 2.0f : B / 2.0f;
    V.Fill(chevron(B / 2.0f, B / 2.0f, ArrowSize, NearDir, 1.2f), {SecondaryText});
    V.Fill(chevron(FX, FY, ArrowSize, FarDir, 1.2f), {SecondaryText});
  });
  R->PictureIndex = P.Index();
  R->SkinRect = Cell;
  // The down button at the near end, the up button at the far end, the track between them; the
  // ends are fixed and only the track stretches (three slices along the bar).
  R->RBPoint = TPoint{0, 0};
  if (Vertical) {
    R->LTPoint = TPoint{0, B};
    R->RTPoint = TPoint{0, 0};
    R->LBPoint = TPoint{0, Long - B};
    R->TrackArea = Rect(0, B, B, Long - B);
    R->DownButtonRect = Rect(0, 0, B, B);
    R->UpButtonRect = Rect(0, Long - B, B, Long);
  } else {
    R->LTPoint = TPoint{B, 0};
    R->RTPoint = TPoint{Long - B, 0};
    R->LBPoint = TPoint{0, 0};
    R->TrackArea = Rect(B, 0, Long - B, B);
    R->DownButtonRect = Rect(0, 0, B, B);
    R->UpButtonRect = Rect(Long - B, 0, Long, B);
  }
  R->ClRect = R->TrackArea;
  R->LeftStretch = R->TopStretch = R->RightStretch = R->BottomStretch = true;
  R->StretchEffect = true;
  R->ActiveDownButtonRect = arrowCell(NearDir, FaceHover);
  R->DownDownButtonRect = arrowCell(NearDir, FacePressed);
  R->ActiveUpButtonRect = arrowCell(FarDir, FaceHover);
  R->DownUpButtonRect = arrowCell(FarDir, FacePressed);
  // The rounded thumb: a pill 2 px inside the bar whose round ends stay whole while its middle
  // stretches.
  auto thumb = [&](Cardinal C) {
    const Integer TW = Vertical ? B : ThumbLong, TH = Vertical ? ThumbLong : B;
    return P.Add(TW, TH, Track, [=](TVectorImage& V, float w, float h) {
      constexpr float Half = B / 2.0f - 2;
      if (Vertical)
        V.Fill(RoundRectShape(w / 2 - Half, 1, w / 2 + Half, h - 1, Half), {C});
      else
        V.Fill(RoundRectShape(1, h / 2 - Half, w - 1, h / 2 + Half, Half), {C});
    });
  };
  R->ThumbRect = thumb(Thumb);
  R->ActiveThumbRect = thumb(ThumbHover);
  R->DownThumbRect = thumb(ThumbPressed);
  R->ThumbOffset1 = R->ThumbOffset2 = 6;
  R->ThumbStretchEffect = true;
  R->ThumbMinSize = 0;
}

// ---- sliders, track bars, up-downs, gauges ----

TRect knob(TPartsSheet& P, Cardinal C) {
  return P.Add(16, 16, Surface, [=](TVectorImage& V, float, float) { V.Fill(CircleShape(8, 8, 7), {C}); });
}

void restyleTrackBar(TPartsSheet& P, TbsDataSkinTrackBarControl* R) {
  if (R == nullptr) return;
  const Integer W = RectWidth(R->SkinRect), H = RectHeight(R->SkinRect);
  R->TrackArea = Rect(8, 0, W - 8, H);
  R->ButtonRect = knob(P, Accent);
  R->ActiveButtonRect = knob(P, AccentHover);
  R->ButtonTransparent = true;
  R->ButtonTransparentColor = TColor(ColorOfRGB(Surface));
}

void restyleSlider(TPartsSheet& P, TbsDataSkinSlider* R) {
  if (R == nullptr) return;
  const Integer Index = P.Index();
  R->PictureIndex = Index;
  R->HRulerRect = P.Add(48, 6, Surface, [](TVectorImage& V, float w, float h) {
    V.Fill(RoundRectShape(0, h / 2 - 2, w, h / 2 + 2, 2), {SurfaceBorder});
  });
  R->VRulerRect = P.Add(6, 48, Surface, [](TVectorImage& V, float w, float h) {
    V.Fill(RoundRectShape(w / 2 - 2, 0, w / 2 + 2, h, 2), {SurfaceBorder});
  });
  // Thumbs hold their normal and their hot look side by side.
  auto thumbs = [&] {
    return P.Add(24, 12, Surface, [](TVectorImage& V, float, float) {
      V.Fill(CircleShape(6, 6, 5.5f), {Accent});
      V.Fill(CircleShape(18, 6, 5.5f), {AccentHover});
    });
  };
  R->HThumbRect = thumbs();
  R->VThumbRect = thumbs();
  R->SkinRect = R->HRulerRect;
  R->EdgeSize = 3;
  R->BGColor = TColor(ColorOfRGB(Surface));
  R->PointsColor = TColor(ColorOfRGB(ControlBorder));
}

void restyleUpDown(TPartsSheet& P, TbsDataSkinUpDownControl* R, bool Vertical) {
  if (R == nullptr) return;
  auto button = [&](int Dir, Cardinal Face, Cardinal Border) {
    return P.Add(16, 12, Surface, [=](TVectorImage& V, float w, float h) {
      drawFace(V, 0, 0, w, h, Face, Border, false, 2);
      V.Fill(chevron(w / 2, h / 2, 2.5f, Dir, 1.2f), {SecondaryText});
    });
  };
  const int Up = Vertical ? 0 : 1, Down = Vertical ? 2 : 3;
  R->UpButtonRect = button(Up, Face, ControlBorder);
  R->ActiveUpButtonRect = button(Up, FaceHover, ControlBorder);
  R->DownUpButtonRect = button(Up, FacePressed, ControlBorderHover);
  R->DownButtonRect = button(Down, Face, ControlBorder);
  R->ActiveDownButtonRect = button(Down, FaceHover, ControlBorder);
  R->DownDownButtonRect = button(Down, FacePressed, ControlBorderHover);
}

// The combo box: its item fills the frame inside the border up to the button, which is the frame's right
// end (the "combobutton" element draws it and the arrow).
void restyleComboBox(TbsDataSkinComboBox* R) {
  if (R == nullptr) return;
  const Integer W = RectWidth(R->SkinRect), H = RectHeight(R->SkinRect), BW = Integer(ComboButtonWidth);
  // The right end, where the arrow is, keeps its size as the box stretches.
  R->LTPoint = TPoint{6, 6};
  R->RTPoint = TPoint{W - BW, 6};
  R->LBPoint = TPoint{6, H - 6};
  R->RBPoint = TPoint{W - BW, H - 6};
  R->ButtonRect = Rect(W - BW, 0, W, H);
  auto rightEnd = [&](int State) {
    return Bounds(R->SkinRect.Left + State * W + W - BW, R->SkinRect.Top, BW, H);
  };
  R->ActiveButtonRect = rightEnd(csActive);
  R->DownButtonRect = rightEnd(csFocused);
  R->UnEnabledButtonRect = rightEnd(csDisabled);
  R->FocusItemRect = R->SItemRect;
  R->ClRect = Rect(1, 1, W - BW, H - 1);
  R->ItemTextRect = Rect(7, 0, W - 4, H);
  R->ItemLeftOffset = R->ItemRightOffset = 0;
}

void restyleGauge(TbsDataSkinGaugeControl* R) {
  if (R == nullptr) return;
  const Integer W = RectWidth(R->SkinRect), H = RectHeight(R->SkinRect);
  R->ProgressArea = Rect(0, 0, W, H);
  R->ProgressStretch = true;
  setText(R, Text);
}

// ---- fonts of the control records ----

void restyleFonts(TbsSkinData* Skin) {
  const TColor T = TColor(ColorOfRGB(Text)), Dis = TColor(ColorOfRGB(DisabledText)),
               Sec = TColor(ColorOfRGB(SecondaryText)), White = TColor(ColorOfRGB(Surface));
  for (Integer i = 0; i < Skin->CtrlCount(); ++i) {
    TbsDataSkinControl* C = Skin->Ctrls(i);
    const bool Default = C->IDName == ProductDefaultButtonName;
    if (auto* R = dynamic_cast<TbsDataSkinButtonControl*>(C)) {
      setText(R, Default ? Surface : Text);
      R->ActiveFontColor = R->DownFontColor = R->FontColor;
      R->DisabledFontColor = Default ? White : Dis;
      if (C->IDName == "combobutton" || C->IDName == "editbutton") R->FontColor = R->ActiveFontColor = Sec;
    }
    if (auto* R = dynamic_cast<TbsDataSkinCheckRadioControl*>(C)) {
      setText(R, Text);
      R->ActiveFontColor = R->FrameFontColor = T;
      R->UnEnabledFontColor = Dis;
    }
    if (auto* R = dynamic_cast<TbsDataSkinPanelControl*>(C); R != nullptr && C->IDName != "groupbox")
      setText(R, Text);
    if (auto* R = dynamic_cast<TbsDataSkinLabelControl*>(C))
      setText(R, C->IDName == "menuheader" ? SecondaryText : Text);
    if (auto* R = dynamic_cast<TbsDataSkinStdLabelControl*>(C)) {
      setText(R, Text);
      R->ActiveFontColor = TColor(ColorOfRGB(Accent));
    }
    if (auto* R = dynamic_cast<TbsDataSkinEditControl*>(C)) {
      setText(R, Text);
      R->ActiveFontColor = T;
      R->DisabledFontColor = Dis;
    }
    if (auto* R = dynamic_cast<TbsDataSkinMemoControl*>(C)) R->BGColor = R->ActiveBGColor = White;
    if (auto* R = dynamic_cast<TbsDataSkinSpinEditControl*>(C)) {
      setText(R, Text);
      R->ActiveFontColor = T;
      R->DisabledFontColor = Dis;
    }
    if (auto* R = dynamic_cast<TbsDataSkinListBox*>(C)) {
      setText(R, Text);
      R->CaptionFontName = R->FontName;
      R->CaptionFontHeight = R->FontHeight;
      R->ActiveFontColor = R->CaptionFontColor = T;
      R->FocusFontColor = White;
      R->ItemTextRect = Rect(8, 0, RectWidth(R->SItemRect) - 8, RectHeight(R->SItemRect));
      R->ItemLeftOffset = R->ItemRightOffset = 6;
    }
    if (auto* R = dynamic_cast<TbsDataSkinComboBox*>(C)) {
      setText(R, Text);
      R->ActiveFontColor = R->FocusFontColor = T;
    }
    if (auto* R = dynamic_cast<TbsDataSkinTabControl*>(C)) {
      setText(R, SecondaryText);
      R->ActiveFontColor = R->FocusFontColor = R->MouseInFontColor = T;
      R->TabLeftOffset = R->TabRightOffset = 6;
      R->TabStretchEffect = true;
    }
    if (auto* R = dynamic_cast<TbsDataSkinListView*>(C)) {
      setText(R, Text);
      R->BGColor = White;
    }
    if (auto* R = dynamic_cast<TbsDataSkinTreeView*>(C)) {
      setText(R, Text);
      R->BGColor = White;
    }
    if (auto* R = dynamic_cast<TbsDataSkinBevel*>(C)) {
      R->LightColor = White;
      R->DarkColor = TColor(ColorOfRGB(SurfaceBorder));
    }
    if (auto* R = dynamic_cast<TbsDataSkinMainMenuBar*>(C)) {
      R->TrackMarkColor = TColor(ColorOfRGB(SecondaryText));
      R->TrackMarkActiveColor = TColor(ColorOfRGB(Accent));
    }
  }
}

// Panel captions sit at the left of the top edge.
void restylePanels(TbsSkinData* Skin) {
  for (Integer i = 0; i < Skin->CtrlCount(); ++i)
    if (auto* R = dynamic_cast<TbsDataSkinPanelControl*>(Skin->Ctrls(i))) {
      if (R->IDName == "groupbox") continue;
      const Integer W = RectWidth(R->SkinRect);
      R->CaptionRect = Rect(8, 0, W - 8, 6);
      R->Alignment = taLeftJustify;
    }
}

// A group box: a white card with its title in a band along the top, the children below it.
constexpr Integer GroupTitleHeight = 28;
void restyleGroupBox(TPartsSheet& P, TbsDataSkinPanelControl* R) {
  if (R == nullptr) return;
  constexpr Integer W = 48, H = 48;
  R->PictureIndex = P.Index();
  R->SkinRect = P.Add(W, H, WindowBg, [](TVectorImage& V, float w, float h) {
    drawFace(V, 0, 0, w, h, Surface, SurfaceBorder);
  });
  // The title's place reaches into both top corners, so it widens with the box.
  R->LTPoint = TPoint{12, GroupTitleHeight + 2};
  R->RTPoint = TPoint{W - 12, GroupTitleHeight + 2};
  R->LBPoint = TPoint{12, H - 6};
  R->RBPoint = TPoint{W - 12, H - 6};
  R->LeftStretch = R->TopStretch = R->RightStretch = R->BottomStretch = true;
  R->StretchEffect = true;
  R->ClRect = Rect(12, GroupTitleHeight + 2, W - 12, H - 6);
  R->CaptionRect = Rect(10, 1, W - 10, GroupTitleHeight);
  R->Alignment = taLeftJustify;
  setText(R, Text);
  R->FontHeight = 13;  // a title
}

// ---- the frame, its caption and caption buttons ----

constexpr Integer FrameW = 400, FrameH = 200;
constexpr Integer CapButtonH = CaptionHeight - 1;

enum TGlyph { gClose, gMax, gRestore, gMin, gRollUp, gTray, gSysMenu };

TShape captionGlyph(TGlyph G, float CX, float CY) {
  const float S = 5;  // half size of the 10-px glyphs
  switch (G) {
    case gClose:
      return UnionShape({StrokeShape({{CX - S, CY - S}, {CX + S, CY + S}}, 1.1f),
                         StrokeShape({{CX + S, CY - S}, {CX - S, CY + S}}, 1.1f)});
    case gMax:
      return RoundRectRingShape(CX - S, CY - S, CX + S, CY + S, 1, 1);
    case gRestore:
      return UnionShape(
          {RoundRectRingShape(CX - S, CY - S + 2, CX + S - 2, CY + S, 1, 1),
           StrokeShape(
               {{CX - S + 2, CY - S + 0.5f}, {CX + S - 0.5f, CY - S + 0.5f}, {CX + S - 0.5f, CY + S - 2}},
               1)});
    case gMin:
      return StrokeShape({{CX - S, CY + 0.5f}, {CX + S, CY + 0.5f}}, 1);
    case gRollUp:
      return chevron(CX, CY, 4, 0, 1.1f);
    case gTray:
      return UnionShape({StrokeShape({{CX, CY - S}, {CX, CY + 2}}, 1.1f), chevron(CX, CY + 0.5f, 3, 2, 1.1f),
                         StrokeShape({{CX - S, CY + S}, {CX + S, CY + S}}, 1.1f)});
    case gSysMenu:
      return UnionShape({RoundRectRingShape(CX - S - 1, CY - S, CX + S + 1, CY + S, 1.5f, 1.2f),
                         PolygonShape({{CX - 2, CY - 3}, {CX + 3.5f, CY}, {CX - 2, CY + 3}})});
  }
  return CircleShape(CX, CY, 0);
}

struct TCapButton {
  const char* Name;
  TGlyph Glyph;
  Integer Width;
};

const TCapButton CapButtons[] = {
    {"closebutton", gClose, CaptionButtonWidth},
    {"maxbutton", gMax, CaptionButtonWidth},
    {"minbutton", gMin, CaptionButtonWidth},
    {"rollupbutton", gRollUp, CaptionButtonWidth},
    {"sysmenubutton", gSysMenu, 32},
    {"traybutton", gTray, CaptionButtonWidth},
    {"mainmenubarclosebutton", gClose, 20},
    {"mainmenubarmaxbutton", gMax, 20},
    {"mainmenubarminbutton", gMin, 20},
    {"mainmenubarsysmenubutton", gSysMenu, 20},
};

// Normal, hovered, pressed and inactive looks of one caption button, side by side in the sheet.
TRect captionButtonState(TPartsSheet& P, const TCapButton& B, TGlyph G, int State, Integer H) {
  const bool Close = B.Glyph == gClose;
  const Cardinal Bg = State == 1   ? (Close ? look::Close : CaptionHover)
                      : State == 2 ? (Close ? ClosePressed : CaptionPressed)
                      : State == 3 ? TitleInactive
                                   : TitleActive;
  const Cardinal Ink = Close && (State == 1 || State == 2) ? Surface
                       : State == 3                        ? TitleInactiveText
                                                           : CaptionGlyph;
  return P.Add(B.Width, H, Bg,
               [=](TVectorImage& V, float w, float h) { V.Fill(captionGlyph(G, w / 2, h / 2), {Ink}); });
}

void restyleCaptionButtons(TPartsSheet& P, TbsSkinData* Skin) {
  for (const auto& B : CapButtons) {
    auto* R = object<TbsDataSkinStdButton>(Skin, B.Name);
    if (R == nullptr) continue;
    const bool Bar = dynamic_cast<TbsDataSkinMainMenuBarButton*>(R) != nullptr;
    const Integer H = Bar ? 20 : CapButtonH;
    R->ActivePictureIndex = P.Index();
    R->SkinRect = captionButtonState(P, B, B.Glyph, 0, H);
    R->ActiveSkinRect = captionButtonState(P, B, B.Glyph, 1, H);
    R->DownRect = captionButtonState(P, B, B.Glyph, 2, H);
    R->InActiveSkinRect = captionButtonState(P, B, B.Glyph, 3, H);
    if (B.Glyph == gMax) {
      R->RestoreRect = captionButtonState(P, B, gRestore, 0, H);
      R->RestoreActiveRect = captionButtonState(P, B, gRestore, 1, H);
      R->RestoreDownRect = captionButtonState(P, B, gRestore, 2, H);
      R->RestoreInActiveRect = captionButtonState(P, B, gRestore, 3, H);
    } else {
      R->RestoreRect = R->SkinRect;
      R->RestoreActiveRect = R->ActiveSkinRect;
      R->RestoreDownRect = R->DownRect;
      R->RestoreInActiveRect = R->InActiveSkinRect;
    }
    R->Hint.clear();
  }
}

// The frame: a 1-px border round the window background, the caption bar white while the window is
// active and the window's grey while it is not.
void paintFrame(TBitmap* F, Cardinal Title) {
  F->SetPixelFormat(pf24bit);
  F->SetSize(FrameW, FrameH);
  paintRect(F, Rect(0, 0, FrameW, FrameH), WindowBg, [Title](TVectorImage& V, float w, float h) {
    V.Fill(RoundRectShape(0, 0, w, h, 0), {FrameBorder});
    V.Fill(RoundRectShape(1, 1, w - 1, h - 1, 0), {WindowBg});
    V.Fill(RoundRectShape(1, 1, w - 1, CaptionHeight, 0), {Title});
  });
}

void restyleFrame(TbsSkinData* Skin) {
  paintFrame(Skin->FPicture.get(), TitleActive);
  paintFrame(Skin->FInActivePicture.get(), TitleInactive);
  Skin->FInActivePictureName = "frameinactive.bmp";
  Skin->LTPoint = TPoint{8, CaptionHeight};
  Skin->RTPoint = TPoint{FrameW - 8, CaptionHeight};
  Skin->LBPoint = TPoint{8, FrameH - 8};
  Skin->RBPoint = TPoint{FrameW - 8, FrameH - 8};
  Skin->ClRect = Rect(1, CaptionHeight, FrameW - 1, FrameH - 1);
  Skin->BorderW = 1;
  // The caption buttons pack leftwards from the right end; a place in the right half of the picture
  // follows the window's right edge.
  Skin->ButtonsRect = Rect(FrameW / 2 + 1, 1, FrameW - 1, CaptionHeight);
  Skin->CaptionRect = Rect(8, 1, FrameW / 2 + 1, CaptionHeight);
  Skin->ButtonsOffset = 0;
  Skin->HitTestLTPoint = TPoint{6, 6};
  Skin->HitTestRTPoint = TPoint{FrameW - 6, 6};
  Skin->HitTestLBPoint = TPoint{6, FrameH - 6};
  Skin->HitTestRBPoint = TPoint{FrameW - 6, FrameH - 6};
  Skin->MaskRectArea = Rect(1, 1, FrameW - 1, FrameH - 1);
  Skin->FormMinWidth = 200;
  Skin->FormMinHeight = 100;
  if (auto* C = object<TbsDataSkinCaption>(Skin, "caption")) {
    C->SkinRect = Rect(10, 1, FrameW - 150, CaptionHeight);
    C->TextRct = Rect(0, 0, RectWidth(C->SkinRect), CaptionHeight - 1);
    C->FontName = "DejaVu Sans";
    C->FontHeight = 13;
    C->ActiveFontColor = TColor(ColorOfRGB(Text));
    C->FontColor = TColor(ColorOfRGB(TitleInactiveText));
    C->Alignment = taLeftJustify;
  }
}

// ---- menus ----

void restyleMenus(TPartsSheet& P, TbsSkinData* Skin) {
  // The popup window: a white surface, a 1-px border, radius 3.
  TBitmap* Window = Skin->Picture(Skin->PopupWindow->WindowPictureIndex);
  Window->SetSize(24, 24);
  paintRect(Window, Rect(0, 0, 24, 24), Surface,
            [](TVectorImage& V, float w, float h) { drawFace(V, 0, 0, w, h, Surface, SurfaceBorder); });
  TbsDataSkinPopupWindow* PW = Skin->PopupWindow.get();
  PW->LTPoint = TPoint{6, 6};
  PW->RTPoint = TPoint{18, 6};
  PW->LBPoint = TPoint{6, 18};
  PW->RBPoint = TPoint{18, 18};
  PW->ItemsRect = Rect(4, 4, 20, 20);
  PW->ScrollMarkerColor = TColor(ColorOfRGB(SecondaryText));
  PW->ScrollMarkerActiveColor = TColor(ColorOfRGB(Accent));

  // Menu items: normal, highlighted and the divider.
  constexpr Integer IW = 48, IH = MenuItemHeight, DH = 9;
  auto* MI = object<TbsDataSkinMenuItem>(Skin, "menuitem");
  if (MI != nullptr) {
    TBitmap* Items = Skin->Picture(MI->ActivePictureIndex);
    Items->SetSize(IW, 2 * IH + DH);
    paintRect(Items, Rect(0, 0, IW, IH), Surface, [](TVectorImage&, float, float) {});
    paintRect(Items, Rect(0, IH, IW, 2 * IH), Surface, [](TVectorImage& V, float w, float h) {
      V.Fill(RoundRectShape(0, 1, w, h - 1, Radius), {SelectionUnfocused});
    });
    paintRect(Items, Rect(0, 2 * IH, IW, 2 * IH + DH), Surface, [](TVectorImage& V, float w, float h) {
      V.Fill(RoundRectShape(0, h / 2 - 0.5f, w, h / 2 + 0.5f, 0), {SurfaceBorder});
    });
    MI->SkinRect = Rect(0, 0, IW, IH);
    MI->ActiveSkinRect = Rect(0, IH, IW, 2 * IH);
    MI->DividerRect = Rect(0, 2 * IH, IW, 2 * IH + DH);
    MI->ItemLO = MI->ItemRO = 6;
    MI->DividerLO = MI->DividerRO = 0;
    MI->TextRct = Rect(28, 0, IW - 6, IH);
    setText(MI, Text);
    MI->ActiveFontColor = MI->FontColor;
    MI->UnEnabledFontColor = TColor(ColorOfRGB(DisabledText));
  }

  // The menu bar: a white band with items that shade under the mouse.
  auto* Bar = record<TbsDataSkinMainMenuBar>(Skin, "mainmenubar");
  if (Bar != nullptr)
    Bar->ItemsRect = Rect(4, 2, RectWidth(Bar->SkinRect) - 4, RectHeight(Bar->SkinRect) - 2);
  if (auto* BI = object<TbsDataSkinMainMenuItem>(Skin, "mainmenubaritem")) {
    constexpr Integer W = 24, H = 20;
    BI->ActivePictureIndex = P.Index();
    BI->SkinRect = P.Add(W, H, Surface, [](TVectorImage&, float, float) {});
    BI->ActiveSkinRect = P.Add(W, H, Surface, [](TVectorImage& V, float w, float h) {
      V.Fill(RoundRectShape(0, 0, w, h, Radius), {FaceHover});
    });
    BI->DownRect = P.Add(W, H, Surface, [](TVectorImage& V, float w, float h) {
      V.Fill(RoundRectShape(0, 0, w, h, Radius), {FacePressed});
    });
    BI->ItemLO = BI->ItemRO = 4;
    BI->TextRct = Rect(4, 0, W - 4, H);
    setText(BI, Text);
    BI->ActiveFontColor = BI->DownFontColor = BI->FontColor;
    BI->UnEnabledFontColor = TColor(ColorOfRGB(DisabledText));
  }
}

void restyleHint(TbsSkinData* Skin) {
  TbsDataSkinHintWindow* H = Skin->HintWindow.get();
  TBitmap* B = Skin->Picture(H->WindowPictureIndex);
  B->SetSize(24, 24);
  paintRect(B, Rect(0, 0, 24, 24), Surface,
            [](TVectorImage& V, float w, float h) { drawFace(V, 0, 0, w, h, Surface, ControlBorder); });
  H->LTPoint = TPoint{6, 6};
  H->RTPoint = TPoint{18, 6};
  H->LBPoint = TPoint{6, 18};
  H->RBPoint = TPoint{18, 18};
  H->ClRect = Rect(6, 4, 18, 20);
  setText(H, Text);
}

void restyleTreeView(TPartsSheet& P, TbsSkinData* Skin) {
  auto* R = record<TbsDataSkinTreeView>(Skin, "treeview");
  if (R == nullptr) return;
  R->PictureIndex = P.Index();
  R->SkinRect =
      P.Add(RectWidth(R->SkinRect), RectHeight(R->SkinRect), Surface, [](TVectorImage&, float, float) {});
  // The tree draws the expand picture beside an open node: it points down; a closed one's points right.
  R->ExpandImageRect = P.Add(12, 12, Surface, [](TVectorImage& V, float w, float h) {
    V.Fill(chevron(w / 2, h / 2, 3, 2, 1.2f), {SecondaryText});
  });
  R->NoExpandImageRect = P.Add(12, 12, Surface, [](TVectorImage& V, float w, float h) {
    V.Fill(chevron(w / 2, h / 2, 3, 1, 1.2f), {SecondaryText});
  });
}

// The default button: the button element again, with the accent face.
void addDefaultButton(TbsSkinData* Skin, TPartsSheet& P) {
  const TbsDataSkinButtonControl* Base = record<TbsDataSkinButtonControl>(Skin, "button");
  auto R = std::make_unique<TbsDataSkinButtonControl>(ProductDefaultButtonName);
  const Integer W = RectWidth(Base->SkinRect), H = RectHeight(Base->SkinRect);
  R->PictureIndex = P.Index();
  TRect Cells[StateCount];
  for (int s = 0; s < StateCount; ++s)
    Cells[s] = P.Add(W, H, WindowBg,
                     [s](TVectorImage& V, float w, float h) { drawCell(V, w, h, fmDefaultButton, s); });
  R->SkinRect = Cells[csNormal];
  R->ActiveSkinRect = Cells[csActive];
  R->DownSkinRect = Cells[csDown];
  R->DisabledSkinRect = Cells[csDisabled];
  R->FocusedSkinRect = Cells[csFocused];
  setNineSlice(R.get(), W, H, 6);
  R->ClRect = Base->ClRect;
  Skin->AddCtrl(std::move(R));
}

// Every control cell of the shared sheet, redrawn in its family's look.
void repaintControlSheet(TbsSkinData* Skin) {
  for (int e = 0; e < GeneratedSkinControlCount(); ++e) {
    TbsDataSkinControl* R = Skin->Ctrls(Skin->GetControlIndex(GeneratedSkinControlName(e)));
    if (R->PictureIndex != 0 || IsEmptyRect(R->SkinRect)) continue;
    const TFamily F = familyOf(R->IDName);
    const Cardinal Backdrop = backdropFor(R->IDName, F);
    TBitmap* Sheet = Skin->Picture(0);
    for (int s = 0; s < StateCount; ++s) {
      TRect Cell = R->SkinRect;
      OffsetRect(&Cell, s * RectWidth(R->SkinRect), 0);
      paintRect(Sheet, Cell, Backdrop,
                [F, s](TVectorImage& V, float w, float h) { drawCell(V, w, h, F, s); });
    }
  }
}

void restyleColours(TbsSkinData* Skin) {
  TbsSkinColors* C = Skin->SkinColors();
  C->SetcBtnFace(TColor(ColorOfRGB(WindowBg)));
  C->SetcBtnText(TColor(ColorOfRGB(Text)));
  C->SetcWindow(TColor(ColorOfRGB(Surface)));
  C->SetcWindowText(TColor(ColorOfRGB(Text)));
  C->SetcHighLight(TColor(ColorOfRGB(Accent)));
  C->SetcHighLightText(TColor(ColorOfRGB(Surface)));
  C->SetcBtnHighLight(TColor(ColorOfRGB(Surface)));
  C->SetcBtnShadow(TColor(ColorOfRGB(ControlBorder)));
}

}  // namespace

void BuildProductSkin(TbsSkinData* SkinData) {
  // The same elements, records and sheets as the generated skin, so every window finds what it looks
  // up; then each picture is drawn in the product look and the parts that need sizes of their own
  // move to a sheet of their own.
  BuildGeneratedSkin(SkinData);
  SkinData->SkinName = "Nerivo";
  SkinData->SkinAuthor = "Nerivo";
  SkinData->SkinComments = "The Nerivo product skin";
  repaintControlSheet(SkinData);
  restyleFrame(SkinData);
  restyleHint(SkinData);

  TPartsSheet Parts(SkinData);
  const Integer PartsIndex = Parts.Index();
  restyleCheckRadio(Parts, record<TbsDataSkinCheckRadioControl>(SkinData, "checkbox"), false);
  restyleCheckRadio(Parts, record<TbsDataSkinCheckRadioControl>(SkinData, "radiobox"), true);
  restyleScrollBar(Parts, record<TbsDataSkinScrollBarControl>(SkinData, "vscrollbar"), true);
  restyleScrollBar(Parts, record<TbsDataSkinScrollBarControl>(SkinData, "hscrollbar"), false);
  restyleScrollBar(Parts, record<TbsDataSkinScrollBarControl>(SkinData, "bothhscrollbar"), false, true);
  restyleTrackBar(Parts, record<TbsDataSkinTrackBarControl>(SkinData, "trackbar"));
  restyleSlider(Parts, record<TbsDataSkinSlider>(SkinData, "slider"));
  restyleUpDown(Parts, record<TbsDataSkinUpDownControl>(SkinData, "vupdown"), true);
  restyleUpDown(Parts, record<TbsDataSkinUpDownControl>(SkinData, "hupdown"), false);
  restyleGauge(record<TbsDataSkinGaugeControl>(SkinData, "gauge"));
  restyleComboBox(record<TbsDataSkinComboBox>(SkinData, "combobox"));
  restyleGroupBox(Parts, record<TbsDataSkinPanelControl>(SkinData, "groupbox"));
  restyleTreeView(Parts, SkinData);
  restyleCaptionButtons(Parts, SkinData);
  restyleMenus(Parts, SkinData);
  addDefaultButton(SkinData, Parts);
  // The check pictures live in the parts sheet too, beside the boxes' own (control sheet) backgrounds:
  // a check element reads both from its one picture, so its body moves there as well.
  for (const char* Name : {"checkbox", "radiobox"})
    if (auto* R = record<TbsDataSkinCheckRadioControl>(SkinData, Name)) {
      const TRect Body = R->SkinRect;
      const Integer W = RectWidth(Body), H = RectHeight(Body);
      R->PictureIndex = PartsIndex;
      R->SkinRect = Parts.Add(W, H, Surface, [](TVectorImage&, float, float) {});
      R->ActiveSkinRect = R->SkinRect;
      setNineSlice(R, W, H, 6);
      R->ClRect = Rect(24, 0, W, H);
    }
  const Integer Index = Parts.Finish();
  (void)Index;
  restyleFonts(SkinData);
  restylePanels(SkinData);
  restyleColours(SkinData);
  SkinData->SetSkinStrData(ProductStringTable());
}

String WriteProductSkinFolder(const String& Folder) {
  return WriteSkinFolder(Folder, BuildProductSkin);
}

void WriteProductSkinContainer(const String& FileName) {
  WriteSkinContainer(FileName, BuildProductSkin);
}
