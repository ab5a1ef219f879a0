#pragma once
// The list view's in-place caption editor: a borderless-looking edit over the item's label.
// Enter or leaving the edit accepts the text, Escape gives it up; the list view frees the editor
// after the call that ended it has returned.

#include <memory>

#include "platform/ui/comctrls/listview.h"
#include "platform/ui/stdctrls/edit.h"

class TListLabelEditor : public ILabelEditor {
 public:
  TListLabelEditor();
  ~TListLabelEditor() override;
  void Start(TCustomListView* Owner, const TRect& Bounds, const String& Text,
             std::function<void(bool Accept, const String& NewText)> Finish) override;
  void Cancel() override;
  TCustomEdit* Edit() const { return FEdit.get(); }

 private:
  void finish(bool Accept);
  std::unique_ptr<TCustomEdit> FEdit;
  std::function<void(bool, const String&)> FFinish;
  bool FDone = false;
};
