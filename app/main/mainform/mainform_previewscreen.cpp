// The preview's plain platform controls: the picture panel Panel6 with its stopped-preview picture,
// and the player's hidden options and reports beside the screen choices. Kept apart from the skinned
// controls, whose bevel names clash with the platform panel's.
#include "app/main/mainform/mainform.h"
#include "app/main/mainform/makecontrol.h"
#include "app/main/mainform/previewlayout.h"
#include "platform/ui/comctrls/trackbar.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/extctrls/panel.h"
#include "platform/ui/graphics/colors.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/stdctrls/checkbox.h"
#include "platform/ui/stdctrls/combobox.h"
#include "platform/ui/stdctrls/label.h"

using namespace previewlayout;

namespace {

constexpr Integer HiddenRow = 24;

}  // namespace

void TForm1::createPreviewScreen() {
  // A direct child of the window over the group: the screen choice finds it by its name.
  Panel6 = Make<TPanel>(this, this, "Panel6");
  Image18 = Make<TImage>(this, Panel6, "Image18");

  // The player's options and reports, on the hidden panel beside the screen choices.
  Integer Top = HiddenRow;
  auto hidden = [&](auto* C, Integer W) {
    C->SetBounds(0, Top, W, HiddenRow);
    Top += HiddenRow;
    return C;
  };
  cboVideoDriver = hidden(Make<TComboBox>(this, Panel4, "cboVideoDriver"), 120);
  cboAudioDriver = hidden(Make<TComboBox>(this, Panel4, "cboAudioDriver"), 120);
  chkOpenPaused = hidden(Make<TCheckBox>(this, Panel4, "chkOpenPaused"), 120);
  chkStayOnTop = hidden(Make<TCheckBox>(this, Panel4, "chkStayOnTop"), 120);
  chkPreview = hidden(Make<TCheckBox>(this, Panel4, "chkPreview"), 120);
  TrackBar2 = hidden(Make<TTrackBar>(this, Panel4, "TrackBar2"), 120);
  cboVideo = hidden(Make<TComboBox>(this, Panel4, "cboVideo"), 120);
  cboAudio = hidden(Make<TComboBox>(this, Panel4, "cboAudio"), 120);
  cboSubtitle = hidden(Make<TComboBox>(this, Panel4, "cboSubtitle"), 120);
  Label2 = hidden(Make<TLabel>(this, Panel4, "Label2"), 120);
  Label3 = hidden(Make<TLabel>(this, Panel4, "Label3"), 120);
  btnCapture = hidden(Make<TButton>(this, Panel4, "btnCapture"), 120);

  for (const char* D : {"Default", "DDraw", "GDI"}) cboVideoDriver->Items()->Add(D);
  cboVideoDriver->SetItemIndex(0);
  for (const char* D : {"Default", "DSound", "waveOut"}) cboAudioDriver->Items()->Add(D);
  cboAudioDriver->SetItemIndex(0);
  chkOpenPaused->SetCaption("Open Paused");
  chkOpenPaused->SetChecked(true);
  chkStayOnTop->SetCaption("Stay On Top");
  chkStayOnTop->SetChecked(false);
  chkPreview->SetCaption("Preview");
  TrackBar2->SetMax(128);
  TrackBar2->SetMin(0);
  TrackBar2->SetPosition(128);
  Label2->SetCaption("N/A");
  Label3->SetCaption("N/A");
  btnCapture->SetCaption("Capture");
}

void TForm1::layOutPreviewScreen() {
  Panel6->SetBevelOuter(bvNone);
  Panel6->SetCaption("");
  Panel6->SetColor(clBtnText);
  Panel6->SetBounds(ScreenBounds.Left, ScreenBounds.Top, ScreenBounds.Width(), ScreenBounds.Height());
  Panel6->BringToFront();
  Image18->SetBounds((ScreenBounds.Width() - PlaceholderW) / 2, (ScreenBounds.Height() - PlaceholderH) / 2,
                     PlaceholderW, PlaceholderH);
  Image18->SetCenter(true);
  Image18->SetTransparent(true);
}

HWND TForm1::previewScreenHandle() {
  return Panel6->Handle();
}
