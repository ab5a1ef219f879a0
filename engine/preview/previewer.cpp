// The conversion's preview window.
#include "engine/preview/previewer.h"

#include "engine/base/engineutils.h"
#include "engine/base/ffutils.h"

TPreviewer::~TPreviewer() {
  CallInMainThread([this] { FreeForm(); });
}

bool TPreviewer::PaintFrame(TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS) {
  if (FClosed) return false;
  FBitmap = ABitmap;
  FFrameNumber = AFrameNumber;
  FPTS = APTS;
  CallInMainThread([this] { Paint(); });
  return !FClosed;
}

void TPreviewer::Paint() {
  // Without the application object (a program or test without windows) there is nowhere to show.
  if (FClosed || !FBitmap || !Application) return;
  if (!FForm) {
    CreateForm();
    FForm->Show();
  }
  FForm->SetCaption(PTSToTimeText(FPTS));
  // A copy for the window's own repaints: the transcoder reuses its bitmap once this returns.
  FShown.Assign(FBitmap);
  FForm->Invalidate();
  FForm->Update();
}

void TPreviewer::FormPaint(TObject*) {
  FForm->Canvas()->Draw(0, 0, &FShown);
}

void TPreviewer::CreateForm() {
  FForm = new TForm(nullptr);
  FForm->SetFormStyle(fsStayOnTop);
  FForm->SetBorderStyle(bsToolWindow);
  FForm->SetBorderIcons(TBorderIcons{biSystemMenu});
  FForm->SetPosition(poScreenCenter);
  FForm->OnCloseQuery = [this](TObject*, bool& CanClose) {
    FClosed = true;
    CanClose = true;
  };
  FForm->OnPaint = [this](TObject* Sender) { FormPaint(Sender); };
  FForm->SetClientWidth(FBitmap->Width());
  FForm->SetClientHeight(FBitmap->Height());
  FFormHandle = FForm->Handle();
  FAppMessage = Application->OnMessage;
  Application->OnMessage = [this](MSG& Msg, bool& Handled) { AppMessage(Msg, Handled); };
  FHandlerInstalled = true;
}

void TPreviewer::AppMessage(MSG& Msg, bool& Handled) {
  if (Msg.message == WM_LBUTTONDOWN && Msg.hwnd == FFormHandle) {
    // A press anywhere in the picture drags the window like its caption.
    const DWORD pos = GetMessagePos();
    SendMessage(FFormHandle, WM_NCLBUTTONDOWN, HTCAPTION, LPARAM(pos));
    Handled = true;
    return;
  }
  if (FAppMessage) FAppMessage(Msg, Handled);
}

void TPreviewer::FreeForm() {
  if (!FForm) return;
  if (FHandlerInstalled && Application) Application->OnMessage = FAppMessage;
  FHandlerInstalled = false;
  delete FForm;
  FForm = nullptr;
  FFormHandle = nullptr;
}
