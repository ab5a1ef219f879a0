// The preview window of a conversion task: a small stay-on-top tool window that shows the pictures
// the transcoder hands to its preview post hook, captioned with their time; closed for good once the
// user closes it.
//
// The conversion thread never waits for the main thread here: it copies its picture into a slot
// under a short lock and queues one repaint; the main thread paints the latest picture of the slot.
// The slot and the window live in a record shared with the queued repaints, so freeing the
// previewer (on any thread) with a repaint still queued touches nothing freed.
#pragma once

#include <memory>

#include "platform/rtl/object.h"
#include "platform/ui/core/form.h"
#include "platform/ui/graphics/bitmap.h"

class TPreviewer : public TObject {
 public:
  TPreviewer();
  // Frees the window on the main thread: at once there, else through the main thread's queue.
  ~TPreviewer() override;
  String ClassName() const override { return "TPreviewer"; }

  // Hands a frame over for painting (any thread; never waits). False once the window has been
  // closed by the user: the frame is then ignored.
  bool PaintFrame(TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS);

  // Main thread: the window (nullptr until the first frame is painted), whether the user closed it,
  // and the number of the last frame the main thread took for painting (0 before the first).
  TForm* Form() const;
  bool Closed() const;
  Integer FrameNumber() const;

 private:
  struct TWindow;
  std::shared_ptr<TWindow> FWindow;
};
