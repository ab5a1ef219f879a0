#include "platform/ui/comctrls/listlabeleditor.h"

#include <algorithm>

#include "platform/ui/stdctrls/edit.h"

namespace {

// Takes Enter and Escape itself: a form's default or cancel button must not steal them while a
// caption is being edited.
class TLabelEdit : public TEdit {
 public:
  using TEdit::TEdit;
  ~TLabelEdit() override {
    if (OnGone) OnGone();
  }
  std::function<void(bool Accept)> OnEnd;
  // Told when the edit goes with its list view before the editor that holds it.
  std::function<void()> OnGone;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_GETDLGCODE) {
      TEdit::WndProc(Message);
      Message.Result |= DLGC_WANTALLKEYS;
      return;
    }
    TEdit::WndProc(Message);
  }
  void KeyDown(Word& Key, TShiftState Shift) override {
    if ((Key == VK_RETURN || Key == VK_ESCAPE) && OnEnd) {
      const bool Accept = Key == VK_RETURN;
      Key = 0;
      OnEnd(Accept);
      return;
    }
    TEdit::KeyDown(Key, Shift);
  }
  void DoExit() override {
    TEdit::DoExit();
    if (OnEnd) OnEnd(true);
  }
};

}  // namespace

std::function<std::unique_ptr<ILabelEditor>()> TCustomListView::LabelEditorFactory = [] {
  return std::make_unique<TListLabelEditor>();
};

TListLabelEditor::TListLabelEditor() = default;

TListLabelEditor::~TListLabelEditor() {
  FDone = true;  // focus leaving a dying edit ends nothing
  if (FEdit) static_cast<TLabelEdit*>(FEdit.get())->OnGone = nullptr;
}

void TListLabelEditor::Start(TCustomListView* Owner, const TRect& Bounds, const String& Text,
                             std::function<void(bool Accept, const String& NewText)> Finish) {
  FFinish = std::move(Finish);
  auto* Edit = new TLabelEdit(nullptr);
  FEdit.reset(Edit);
  Edit->OnEnd = [this](bool Accept) { finish(Accept); };
  Edit->OnGone = [this] { (void)FEdit.release(); };
  Edit->SetFont(Owner->Font());
  // One pixel of room around the label so the caret and the frame do not sit on the text.
  Edit->SetBounds(Bounds.Left - 1, Bounds.Top - 1, std::max(Bounds.Width() + 2, 24), Bounds.Height() + 2);
  Edit->SetParent(Owner);
  Edit->SetText(Text);
  Edit->SelectAll();
  FEdit->SetFocus();
}

void TListLabelEditor::Cancel() {
  FDone = true;
  if (FEdit) FEdit->SetVisible(false);
}

void TListLabelEditor::finish(bool Accept) {
  if (FDone) return;
  FDone = true;
  const String Text = FEdit->Text();
  // Hidden at once; freed with the editor after this call returns.
  FEdit->SetVisible(false);
  if (FFinish) FFinish(Accept, Text);
}
