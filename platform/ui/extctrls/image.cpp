#include "platform/ui/extctrls/image.h"

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csReplicatable);
  FPicture = std::make_unique<TPicture>();
  FPicture->OnChange = [this](TObject* Sender) { pictureChanged(Sender); };
  FWidth = 105;
  FHeight = 105;
}

TImage::~TImage() {
  FPicture->OnChange = nullptr;
}

void TImage::SetStretch(bool Value) {
  if (FStretch == Value) return;
  FStretch = Value;
  pictureChanged(this);
}

void TImage::SetCenter(bool Value) {
  if (FCenter == Value) return;
  FCenter = Value;
  pictureChanged(this);
}

void TImage::SetProportional(bool Value) {
  if (FProportional == Value) return;
  FProportional = Value;
  pictureChanged(this);
}

void TImage::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  pictureChanged(this);
}

bool TImage::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
  if (FPicture->Width() <= 0 || FPicture->Height() <= 0) return false;
  NewWidth = FPicture->Width();
  NewHeight = FPicture->Height();
  return true;
}

TRect TImage::DestRect() {
  Integer W = FPicture->Width(), H = FPicture->Height();
  const Integer CW = std::max(ClientWidth(), 0), CH = std::max(ClientHeight(), 0);
  if (FStretch || (FProportional && (W > CW || H > CH))) {
    if (FProportional && W > 0 && H > 0) {
      // Fit the longer side, then the other within the client area, keeping W : H.
      const double Aspect = double(W) / H;
      if (W > H) {
        W = CW;
        H = Integer(CW / Aspect);
        if (H > CH) {
          H = CH;
          W = Integer(CH * Aspect);
        }
      } else {
        H = CH;
        W = Integer(CH * Aspect);
        if (W > CW) {
          W = CW;
          H = Integer(CW / Aspect);
        }
      }
    } else {
      W = CW;
      H = CH;
    }
  }
  TRect R = Rect(0, 0, W, H);
  if (FCenter) OffsetRect(&R, (CW - W) / 2, (CH - H) / 2);
  return R;
}

void TImage::updateOpaque() {
  // Opaque only when a picture without transparent parts covers the whole client area.
  TGraphic* G = FPicture->Graphic();
  bool Opaque = false;
  if (!FTransparent && G != nullptr && !G->Empty() && !G->Transparent()) {
    TRect D = DestRect();
    Opaque = D.Left <= 0 && D.Top <= 0 && D.Right >= ClientWidth() && D.Bottom >= ClientHeight();
  }
  if (Opaque)
    FControlStyle.Include(csOpaque);
  else
    FControlStyle.Exclude(csOpaque);
}

void TImage::pictureChanged(TObject*) {
  TGraphic* G = FPicture->Graphic();
  AdjustSize();
  if (G != nullptr && FTransparent && !G->Transparent()) {
    // Setting the graphic's transparency changes the picture again; this call finishes the work.
    auto Saved = FPicture->OnChange;
    FPicture->OnChange = nullptr;
    G->SetTransparent(true);
    FPicture->OnChange = Saved;
  }
  updateOpaque();
  Invalidate();
}

void TImage::Paint() {
  TGraphic* G = FPicture->Graphic();
  if (ComponentState().Contains(csDesigning)) {
    TCanvas* C = Canvas();
    C->Pen()->SetStyle(psDash);
    C->Brush()->SetStyle(bsClear);
    C->Rectangle(0, 0, Width(), Height());
  }
  if (G == nullptr || G->Empty() || Width() <= 0 || Height() <= 0) return;
  Canvas()->StretchDraw(DestRect(), G);
}
