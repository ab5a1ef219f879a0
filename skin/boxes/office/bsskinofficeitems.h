// Two-line items of the office list and combo box (an optional bold title above a caption, an image,
// a check mark, group header rows) and the collection that holds them for one office list.
#pragma once

#include "platform/rtl/collection.h"
#include "platform/rtl/types.h"

class TbsSkinOfficeListBox;
class TbsSkinOfficeItems;

class TbsSkinOfficeItem : public TCollectionItem {
 public:
  explicit TbsSkinOfficeItem(TCollection* Collection);
  String ClassName() const override { return "TbsSkinOfficeItem"; }
  void Assign(TPersistent* Source) override;

  bool Header() const { return FHeader; }
  virtual void SetHeader(bool Value);
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  const String& Title() const { return FTitle; }
  virtual void SetTitle(const String& Value);
  const String& Caption() const { return FCaption; }
  virtual void SetCaption(const String& Value);
  Integer ImageIndex() const { return FImageIndex; }
  virtual void SetImageIndex(Integer Value);
  bool Checked() const { return FChecked; }
  virtual void SetChecked(bool Value);
  void* Data() const { return FData; }
  virtual void SetData(void* Value) { FData = Value; }

  TNotifyEvent OnClick;

  // Run-time state the owning list lays out and selects; not properties.
  TRect ItemRect{};
  bool IsVisible = false;
  bool Active = false;

 private:
  Integer FImageIndex = -1;
  String FTitle;
  String FCaption;
  bool FEnabled = true;
  void* FData = nullptr;
  bool FHeader = false;
  bool FChecked = false;
};

class TbsSkinOfficeItems : public TCollection {
 public:
  explicit TbsSkinOfficeItems(TbsSkinOfficeListBox* AListBox);
  String ClassName() const override { return "TbsSkinOfficeItems"; }

  TbsSkinOfficeItem* Add();
  TbsSkinOfficeItem* Insert(Integer Index);
  void Delete(Integer Index);
  void Clear();
  // The collection's own index check applies (EListError).
  TbsSkinOfficeItem* Items(Integer Index) const {
    return static_cast<TbsSkinOfficeItem*>(TCollection::Items(Index));
  }
  TbsSkinOfficeItem* operator[](Integer Index) const { return Items(Index); }

  TbsSkinOfficeListBox* OfficeListBox;

 protected:
  TPersistent* GetOwner() override;
  void Update(TCollectionItem* Item) override;
};
