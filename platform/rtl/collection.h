// TCollection and TCollectionItem: an owned, ordered list of items of one class, each knowing its
// collection, index and a unique ID, with change notification to the collection's owner.
#pragma once

#include <functional>
#include <vector>

#include "platform/rtl/component.h"
#include "platform/rtl/types.h"

class TCollection;
class TCollectionItem;

// The item class of a collection: makes a new item that joins the given collection.
using TCollectionItemClass = std::function<TCollectionItem*(TCollection* Collection)>;

template <typename TItem>
TCollectionItemClass CollectionItemClass() {
  return [](TCollection* Collection) -> TCollectionItem* { return new TItem(Collection); };
}

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
 public:
  // Joins Collection at the end when it is not nullptr.
  explicit TCollectionItem(TCollection* Collection);
  // Leaves the collection.
  ~TCollectionItem() override;
  String ClassName() const override { return "TCollectionItem"; }

  TCollection* Collection() const { return FCollection; }
  // Moves the item to another collection (or out of any, with nullptr).
  virtual void SetCollection(TCollection* Value);
  TPersistent* GetOwner() override;

  Integer ID() const { return FID; }
  // Position in the collection; -1 outside one. Setting moves the item.
  Integer Index() const;
  virtual void SetIndex(Integer Value);

  // ClassName() unless overridden.
  String DisplayName() { return GetDisplayName(); }
  void SetDisplayName(const String& Value) { SetDisplayNameImpl(Value); }

 protected:
  // Tells the collection (unless it is updating): Update(this), or Update(nullptr) with AllItems.
  void Changed(bool AllItems);
  virtual String GetDisplayName() { return ClassName(); }
  virtual void SetDisplayNameImpl(const String&) { Changed(false); }

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  Integer FID = 0;
};

class TCollection : public TPersistent {
 public:
  explicit TCollection(TCollectionItemClass ItemClass);
  // Frees every item without running Update.
  ~TCollection() override;
  String ClassName() const override { return "TCollection"; }

  // A new item of the item class at the end; Notify(cnAdded) and Update(nullptr) run once it is built.
  TCollectionItem* Add();
  // Add, then move the new item to Index.
  TCollectionItem* Insert(Integer Index);
  // Frees the item at Index (EListError when out of range).
  void Delete(Integer Index);
  void Clear();
  // Copies another collection item by item (each new item assigned from its source item).
  void Assign(TPersistent* Source) override;
  void BeginUpdate();
  // The outermost EndUpdate runs Update(nullptr).
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }
  TCollectionItem* FindItemID(Integer ID) const;

  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  Integer Capacity() const { return static_cast<Integer>(FItems.capacity()); }
  void SetCapacity(Integer Value);
  // EListError "List index out of bounds (%d)" for an index out of range.
  TCollectionItem* Items(Integer Index) const;
  // Assigns Value to the item at Index.
  void SetItems(Integer Index, TCollectionItem* Value);
  const TCollectionItemClass& ItemClass() const { return FItemClass; }
  TPersistent* Owner() { return GetOwner(); }

 protected:
  // Update(nullptr) unless updating.
  void Changed();
  // Called after a change of Item, or of the whole collection when Item is nullptr.
  virtual void Update(TCollectionItem* Item);
  // cnExtracting also comes from an item's destructor, when only its TCollectionItem part is left.
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);

 private:
  friend class TCollectionItem;
  void insertItem(TCollectionItem* Item);
  void removeItem(TCollectionItem* Item);
  void moveItem(Integer CurIndex, Integer NewIndex);

  TCollectionItemClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  Integer FUpdateCount = 0;
  Integer FNextID = 0;
  // Set while Add builds an item, so the added notifications wait until the item is complete.
  TCollectionItem* FBuilding = nullptr;
  bool FAdding = false;
};
