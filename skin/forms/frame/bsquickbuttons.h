// The quick buttons of a skinned form's caption: small image buttons defined on the form's engine.
// The caption object lays them out, draws them and handles their mouse through the run-time fields.
#pragma once

#include "platform/rtl/collection.h"
#include "platform/rtl/types.h"

class IbsFormObjectHost;
class TbsSkinPopupMenu;

class TbsQuickButtonItem : public TCollectionItem {
 public:
  explicit TbsQuickButtonItem(TCollection* Collection);
  String ClassName() const override { return "TbsQuickButtonItem"; }
  // Copies ImageIndex, Hint, Enabled and Visible from another quick button; never the handlers.
  void Assign(TPersistent* Source) override;

  Integer ImageIndex() const { return FImageIndex; }
  virtual void SetImageIndex(Integer Value);
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);

  String Hint;
  TNotifyEvent OnClick;
  TbsSkinPopupMenu* PopupMenu = nullptr;
  // Run time, written by the caption object: caption coordinates, hovered, pressed.
  TRect ItemRect;
  bool Active = false;
  bool Down = false;

 private:
  Integer FImageIndex = -1;
  bool FEnabled = true;
  bool FVisible = true;
};

class TbsQuickButtonItems : public TCollection {
 public:
  explicit TbsQuickButtonItems(IbsFormObjectHost* ABSF);
  String ClassName() const override { return "TbsQuickButtonItems"; }

  TbsQuickButtonItem* Add() { return static_cast<TbsQuickButtonItem*>(TCollection::Add()); }
  TbsQuickButtonItem* Insert(Integer Index) {
    return static_cast<TbsQuickButtonItem*>(TCollection::Insert(Index));
  }
  TbsQuickButtonItem* Items(Integer Index) const {
    return static_cast<TbsQuickButtonItem*>(TCollection::Items(Index));
  }
  TPersistent* GetOwner() override;

  IbsFormObjectHost* BSF = nullptr;

 protected:
  // Repaints the form's frame, unless the engine is being designed or loaded.
  void Update(TCollectionItem* Item) override;
};
