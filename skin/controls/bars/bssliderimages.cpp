#include "skin/controls/bars/bssliderimages.h"

namespace {

void fill(TBitmap* B, const TRect& R, TColor Color) {
  B->Canvas()->Brush()->SetColor(Color);
  B->Canvas()->FillRect(R);
}

void start(TBitmap* B, Integer W, Integer H) {
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  fill(B, Rect(0, 0, W, H), SliderImageKey);
}

// A thumb state: a framed face with a point (down for horizontal thumbs, right for vertical ones).
void thumb(TBitmap* B, const TRect& Face, TColor FaceColor, bool PointDown) {
  fill(B, Face, SliderThumbFrame);
  fill(B, Rect(Face.Left + 1, Face.Top + 1, Face.Right - 1, Face.Bottom - 1), FaceColor);
  if (PointDown) {
    fill(B, Rect(Face.Left + 1, Face.Bottom, Face.Right - 1, Face.Bottom + 1), SliderThumbFrame);
    fill(B, Rect(Face.Left + 2, Face.Bottom + 1, Face.Right - 2, Face.Bottom + 2), SliderThumbFrame);
  } else {
    fill(B, Rect(Face.Right, Face.Top + 1, Face.Right + 1, Face.Bottom - 1), SliderThumbFrame);
    fill(B, Rect(Face.Right + 1, Face.Top + 2, Face.Right + 2, Face.Bottom - 2), SliderThumbFrame);
  }
}

}  // namespace

bool LoadSliderImage(TBitmap* Bitmap, const String& ResourceName) {
  if (ResourceName == "BS_HTB") {
    start(Bitmap, 10, 15);
    thumb(Bitmap, Rect(0, 0, 5, 13), SliderThumbFace, true);
    thumb(Bitmap, Rect(5, 0, 10, 13), SliderThumbHotFace, true);
  } else if (ResourceName == "BS_HRL") {
    start(Bitmap, 10, 7);
    fill(Bitmap, Rect(0, 2, 10, 3), SliderGrooveDark);
    fill(Bitmap, Rect(0, 3, 10, 5), SliderGrooveLight);
  } else if (ResourceName == "BS_VTB") {
    start(Bitmap, 31, 7);
    thumb(Bitmap, Rect(0, 0, 13, 6), SliderThumbFace, false);
    thumb(Bitmap, Rect(15, 0, 28, 6), SliderThumbHotFace, false);
  } else if (ResourceName == "BS_VRL") {
    start(Bitmap, 7, 10);
    fill(Bitmap, Rect(2, 0, 3, 10), SliderGrooveDark);
    fill(Bitmap, Rect(3, 0, 5, 10), SliderGrooveLight);
  } else {
    return false;
  }
  return true;
}
