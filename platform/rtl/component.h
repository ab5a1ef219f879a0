// TPersistent and TComponent: assignment between objects, ownership trees, names and the
// free-notification protocol that keeps references between components safe.
#pragma once

#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"
#include "platform/rtl/tset.h"
#include "platform/rtl/types.h"

class TPersistent : public TObject {
 public:
  String ClassName() const override { return "TPersistent"; }

  // Copies Source into this object. The default asks Source to assign itself (AssignTo); when
  // neither side knows the other, raises EConvertError "Cannot assign a <source> to a <dest>".
  virtual void Assign(TPersistent* Source);

  // The object that owns this one in the sense of the streaming system (a collection for its items,
  // the owner component for a collection); nullptr by default.
  virtual TPersistent* GetOwner() { return nullptr; }

 protected:
  virtual void AssignTo(TPersistent* Dest);
  void AssignError(TPersistent* Source);
};

class TComponent;

enum TOperation { opInsert, opRemove };

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance
};

using TComponentState = TSet<TComponentStateItem>;

// True when Ident is a Pascal identifier: a letter or '_' followed by letters, digits and '_'.
bool IsValidIdent(const String& Ident);

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  // Tells every component registered through FreeNotification, then frees the owned components
  // (last inserted first), then leaves the owner, which notifies its other components.
  ~TComponent() override;
  String ClassName() const override { return "TComponent"; }

  TComponent* Owner() const { return FOwner; }
  TPersistent* GetOwner() override { return FOwner; }

  const String& Name() const { return FName; }
  // Raises EComponentError for a name that is not an identifier or that another component of the
  // same owner already has (compared without regard to case). The empty name is always allowed.
  virtual void SetName(const String& NewName);

  Integer Tag() const { return FTag; }
  void SetTag(Integer Value) { FTag = Value; }

  Integer ComponentCount() const { return static_cast<Integer>(FComponents.size()); }
  // Raises EListError for an index out of range.
  TComponent* Components(Integer Index) const;
  // Index of this component in its owner's list; -1 without owner.
  Integer ComponentIndex() const;
  void SetComponentIndex(Integer Value);
  // Case-insensitive lookup among the owned components; nullptr when absent or AName is empty.
  TComponent* FindComponent(const String& AName) const;

  TComponentState ComponentState() const { return FComponentState; }

  // AComponent gets Notification(this, opRemove) when this component is destroyed, and the other
  // way round: the registration is mutual and both sides forget it when either goes.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  // Frees every owned component, last inserted first.
  void DestroyComponents();
  // Marks this component and everything it owns as csDestroying.
  void Destroying();

  // Builders of stored layouts: BeginLoading puts this component and those it owns into csLoading
  // and csReading; EndLoading clears csReading and calls Loaded on each of them, this one first.
  void BeginLoading();
  void EndLoading();
  // Clears csLoading; runs once the stored values of a layout are all set.
  virtual void Loaded();

  void SetDesigning(bool Value, bool SetChildren = true);

  // Receives opInsert/opRemove for components inserted into or removed from this owner, and opRemove
  // for components that registered with FreeNotification. Forwards to the owned components;
  // overrides clear their references to AComponent and call the inherited one.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

 protected:
  void ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName);
  void ChangeName(const String& NewName) { FName = NewName; }

 private:
  void insertOwned(TComponent* AComponent);
  void removeOwned(TComponent* AComponent);
  void removeNotification(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  String FName;
  Integer FTag = 0;
  TComponentState FComponentState;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};
