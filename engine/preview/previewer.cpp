// The conversion's preview window.
#include "engine/preview/previewer.h"

#include <atomic>
#include <mutex>

#include "engine/base/ffutils.h"
#include "platform/rtl/threads.h"
#include "platform/ui/core/application.h"

struct TPreviewer::TWindow : std::enable_shared_from_this<TWindow> {
  // The slot: the latest picture not yet painted, with its number and time. Guarded by Lock, which
  // is only held to move pointers and numbers.
  std::mutex Lock;
  std::unique_ptr<TBitmap> FBitmap;
  Integer FFrameNumber = 0;
  Int64 FPTS = 0;
  bool RepaintQueued = false;
  bool Released = false;  // the previewer is gone: queued repaints do nothing

  std::atomic<bool> FClosed{false};

  // Main thread only.
  TMessageEvent FAppMessage;
  HWND FFormHandle = nullptr;
  TForm* FForm = nullptr;
  std::unique_ptr<TBitmap> Shown;  // the picture on screen, for the window's own repaints
  Integer ShownFrameNumber = 0;
  bool HandlerInstalled = false;

  void Paint();
  void CreateForm(Integer AWidth, Integer AHeight);
  void FreeForm();
  void AppMessage(MSG& Msg, bool& Handled);
};

TPreviewer::TPreviewer() : FWindow(std::make_shared<TWindow>()) {}

TPreviewer::~TPreviewer() {
  {
    std::lock_guard<std::mutex> hold(FWindow->Lock);
    FWindow->Released = true;
    FWindow->FBitmap.reset();
  }
  std::shared_ptr<TWindow> window = FWindow;
  TThread::Queue(window.get(), [window] { window->FreeForm(); });
}

bool TPreviewer::PaintFrame(TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS) {
  TWindow& w = *FWindow;
  if (w.FClosed) return false;
  if (!ABitmap) return true;
  // A copy made outside the lock: the transcoder reuses its bitmap once this returns.
  auto picture = std::make_unique<TBitmap>();
  picture->Assign(ABitmap);
  bool queue;
  {
    std::lock_guard<std::mutex> hold(w.Lock);
    std::swap(w.FBitmap, picture);  // a picture not yet painted is dropped for the newer one
    w.FFrameNumber = AFrameNumber;
    w.FPTS = APTS;
    queue = !w.RepaintQueued;
    w.RepaintQueued = true;
  }
  if (queue) {
    std::shared_ptr<TWindow> window = FWindow;
    TThread::Queue(window.get(), [window] { window->Paint(); });
  }
  return !w.FClosed;
}

TForm* TPreviewer::Form() const {
  return FWindow->FForm;
}

bool TPreviewer::Closed() const {
  return FWindow->FClosed;
}

Integer TPreviewer::FrameNumber() const {
  return FWindow->ShownFrameNumber;
}

void TPreviewer::TWindow::Paint() {
  std::unique_ptr<TBitmap> picture;
  Int64 pts;
  Integer frame;
  {
    std::lock_guard<std::mutex> hold(Lock);
    RepaintQueued = false;
    if (Released) return;
    picture = std::move(FBitmap);
    frame = FFrameNumber;
    pts = FPTS;
  }
  if (FClosed || !picture) return;
  ShownFrameNumber = frame;
  // Without the application object (a program or test without windows) there is nowhere to show.
  if (!Application) return;
  if (!FForm) {
    CreateForm(picture->Width(), picture->Height());
    FForm->Show();
  }
  FForm->SetCaption(PTSToTimeText(pts));
  Shown = std::move(picture);
  FForm->Invalidate();
  FForm->Update();
}

void TPreviewer::TWindow::CreateForm(Integer AWidth, Integer AHeight) {
  FForm = new TForm(nullptr);
  FForm->SetFormStyle(fsStayOnTop);
  FForm->SetBorderStyle(bsToolWindow);
  FForm->SetBorderIcons(TBorderIcons{biSystemMenu});
  FForm->SetPosition(poScreenCenter);
  FForm->OnCloseQuery = [this](TObject*, bool& CanClose) {
    FClosed = true;
    CanClose = true;
  };
  FForm->OnPaint = [this](TObject*) {
    if (Shown) FForm->Canvas()->Draw(0, 0, Shown.get());
  };
  FForm->SetClientWidth(AWidth);
  FForm->SetClientHeight(AHeight);
  FFormHandle = FForm->Handle();
  FAppMessage = Application->OnMessage;
  // The handler holds the record: when previewers go in another order than they came, a handler
  // chained behind a later one stays valid and, its window gone, only passes messages on.
  Application->OnMessage = [self = shared_from_this()](MSG& Msg, bool& Handled) {
    self->AppMessage(Msg, Handled);
  };
  HandlerInstalled = true;
}

void TPreviewer::TWindow::AppMessage(MSG& Msg, bool& Handled) {
  if (FFormHandle && Msg.message == WM_LBUTTONDOWN && Msg.hwnd == FFormHandle) {
    // A press anywhere in the picture drags the window like its caption.
    const DWORD pos = GetMessagePos();
    SendMessage(FFormHandle, WM_NCLBUTTONDOWN, HTCAPTION, LPARAM(pos));
    Handled = true;
    return;
  }
  if (FAppMessage) FAppMessage(Msg, Handled);
}

void TPreviewer::TWindow::FreeForm() {
  Shown.reset();
  if (!FForm) return;
  if (HandlerInstalled && Application) Application->OnMessage = FAppMessage;
  HandlerInstalled = false;
  delete FForm;
  FForm = nullptr;
  FFormHandle = nullptr;
}
