// The preview window of a conversion task: a small stay-on-top tool window that shows the pictures
// the transcoder hands to its preview post hook, captioned with their time; painted on the main
// thread while the conversion thread waits; closed for good once the user closes it.
#pragma once

#include <atomic>

#include "platform/rtl/object.h"
#include "platform/ui/core/application.h"
#include "platform/ui/core/form.h"
#include "platform/ui/graphics/bitmap.h"

class TPreviewer : public TObject {
 public:
  TPreviewer() = default;
  ~TPreviewer() override;
  String ClassName() const override { return "TPreviewer"; }

  // Shows a frame (any thread; the caller waits until it is painted). False once the window has
  // been closed by the user: the frame is then ignored.
  bool PaintFrame(TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS);

  // The window (nullptr until the first frame) and whether the user closed it.
  TForm* Form() const { return FForm; }
  bool Closed() const { return FClosed; }

 private:
  void Paint();
  void CreateForm();
  void FreeForm();
  void AppMessage(MSG& Msg, bool& Handled);
  void FormPaint(TObject* Sender);

  TMessageEvent FAppMessage;
  HWND FFormHandle = nullptr;
  TForm* FForm = nullptr;
  std::atomic<bool> FClosed{false};
  TBitmap* FBitmap = nullptr;
  Integer FFrameNumber = 0;
  Int64 FPTS = 0;
  TBitmap FShown;  // the last frame painted
  bool FHandlerInstalled = false;
};
