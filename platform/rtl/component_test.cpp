#include "platform/rtl/component.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/lists.h"

namespace {

// Records its destruction and every notification it receives; holds one weak reference.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* AOwner, const String& AName, std::vector<String>* ALog)
      : TComponent(AOwner), FLog(ALog) {
    SetName(AName);
  }
  ~TProbe() override {
    FLog->push_back("free " + Name() + (ComponentState().Contains(csDestroying) ? " destroying" : ""));
  }
  String ClassName() const override { return "TProbe"; }

  void Notification(TComponent* AComponent, TOperation Operation) override {
    if (Operation == opRemove && AComponent == Ref) Ref = nullptr;
    FLog->push_back(Name() + (Operation == opInsert ? " +" : " -") + AComponent->Name());
    TComponent::Notification(AComponent, Operation);
  }
  void Loaded() override {
    FLog->push_back("loaded " + Name() + (ComponentState().Contains(csReading) ? " reading" : ""));
    TComponent::Loaded();
  }

  TComponent* Ref = nullptr;

 private:
  std::vector<String>* FLog;
};

TEST(Component, OwnerFreesOwnedLastInsertedFirstWhileTheyAreDestroying) {
  std::vector<String> Log;
  auto* Form = new TProbe(nullptr, "Form", &Log);
  new TProbe(Form, "A", &Log);
  auto* B = new TProbe(Form, "B", &Log);
  new TProbe(B, "B1", &Log);
  new TProbe(Form, "C", &Log);
  ASSERT_EQ(Form->ComponentCount(), 3);
  Log.clear();
  delete Form;
  EXPECT_EQ(Log, (std::vector<String>{"free Form", "free C destroying", "free B destroying",
                                      "free B1 destroying", "free A destroying"}));
}

TEST(Component, OwnerIsToldOfInsertAndRemoveAndForwardsToItsComponents) {
  std::vector<String> Log;
  TProbe Form(nullptr, "Form", &Log);
  auto* A = new TProbe(&Form, "A", &Log);
  auto* B = new TProbe(&Form, "B", &Log);
  B->Ref = A;  // a sibling reference, cleared through the owner's forwarding
  Log.clear();
  delete A;
  EXPECT_EQ(B->Ref, nullptr);
  EXPECT_EQ(Form.ComponentCount(), 1);
  EXPECT_EQ(Log, (std::vector<String>{"free A", "Form -A", "B -A"}));
}

TEST(Component, FreeNotificationClearsWeakReferenceAcrossOwners) {
  std::vector<String> Log;
  TProbe FormA(nullptr, "FormA", &Log);
  TProbe FormB(nullptr, "FormB", &Log);
  auto* Data = new TProbe(&FormA, "Data", &Log);
  auto* User = new TProbe(&FormB, "User", &Log);
  User->Ref = Data;
  Data->FreeNotification(User);
  delete Data;
  EXPECT_EQ(User->Ref, nullptr);

  // The registration is mutual: a referrer that goes first is forgotten, not called.
  auto* Data2 = new TProbe(&FormA, "Data2", &Log);
  auto* User2 = new TProbe(&FormB, "User2", &Log);
  User2->Ref = Data2;
  Data2->FreeNotification(User2);
  delete User2;
  Log.clear();
  delete Data2;
  EXPECT_EQ(Log, (std::vector<String>{"free Data2", "FormA -Data2"}));
}

TEST(Component, RemoveFreeNotificationStopsTheCall) {
  std::vector<String> Log;
  auto* Data = new TProbe(nullptr, "Data", &Log);
  TProbe User(nullptr, "User", &Log);
  User.Ref = Data;
  Data->FreeNotification(&User);
  Data->RemoveFreeNotification(&User);
  delete Data;
  EXPECT_EQ(User.Ref, Data);  // not told; the pointer is stale and never used
}

TEST(Component, NamesAreIdentifiersUniqueAmongTheOwnersComponents) {
  std::vector<String> Log;
  TProbe Form(nullptr, "Form", &Log);
  auto* A = new TProbe(&Form, "Button1", &Log);
  auto* B = new TProbe(&Form, "", &Log);
  EXPECT_EQ(Form.FindComponent("BUTTON1"), A);
  EXPECT_EQ(Form.FindComponent(""), nullptr);
  EXPECT_EQ(Form.FindComponent("Button2"), nullptr);

  struct Case {
    String Name;
    const char* Message;  // nullptr: accepted
  };
  const Case Cases[] = {
      {"button1", "A component named button1 already exists"},
      {"1Button", "'1Button' is not a valid component name"},
      {"Bad Name", "'Bad Name' is not a valid component name"},
      {"_Ok9", nullptr},
      {"", nullptr},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    if (C.Message == nullptr) {
      B->SetName(C.Name);
      EXPECT_EQ(B->Name(), C.Name);
    } else {
      try {
        B->SetName(C.Name);
        ADD_FAILURE() << "no exception";
      } catch (const EComponentError& E) {
        EXPECT_EQ(E.Message(), C.Message);
      }
    }
  }
  A->SetName("BUTTON1");  // its own name in another case
  EXPECT_EQ(A->Name(), "BUTTON1");

  // Two components without owner may share a name.
  TProbe Other(nullptr, "Form", &Log);
  EXPECT_EQ(Other.Name(), Form.Name());
}

TEST(Component, InsertComponentMovesOwnershipAndRefusesDuplicateNames) {
  std::vector<String> Log;
  TProbe FormA(nullptr, "FormA", &Log);
  TProbe FormB(nullptr, "FormB", &Log);
  auto* X = new TProbe(&FormA, "X", &Log);
  new TProbe(&FormB, "x", &Log);
  EXPECT_THROW(FormB.InsertComponent(X), EComponentError);
  EXPECT_EQ(X->Owner(), &FormA);
  X->SetName("Y");
  FormB.InsertComponent(X);
  EXPECT_EQ(X->Owner(), &FormB);
  EXPECT_EQ(FormA.ComponentCount(), 0);
  EXPECT_EQ(FormB.Components(1), X);
  EXPECT_THROW(FormB.Components(2), EListError);
}

TEST(Component, EndLoadingRunsLoadedOwnerFirstAndClearsTheLoadingState) {
  std::vector<String> Log;
  TProbe Form(nullptr, "Form", &Log);
  auto* A = new TProbe(&Form, "A", &Log);
  auto* B = new TProbe(&Form, "B", &Log);
  Form.BeginLoading();
  EXPECT_TRUE(A->ComponentState().Contains(csLoading));
  EXPECT_TRUE(B->ComponentState().Contains(csReading));
  Log.clear();
  Form.EndLoading();
  EXPECT_EQ(Log, (std::vector<String>{"loaded Form", "loaded A", "loaded B"}));
  for (TComponent* C :
       {static_cast<TComponent*>(&Form), static_cast<TComponent*>(A), static_cast<TComponent*>(B)})
    EXPECT_TRUE(C->ComponentState().Empty());
}

TEST(Persistent, AssignWithoutAConversionNamesBothClasses) {
  TStringList List;
  TComponent Comp(nullptr);
  struct Case {
    TPersistent* Dest;
    TPersistent* Source;
    const char* Message;
  };
  const Case Cases[] = {
      {&List, &Comp, "Cannot assign a TComponent to a TStringList"},
      {&Comp, &List, "Cannot assign a TStringList to a TComponent"},
      {&List, nullptr, "Cannot assign a nil to a TStringList"},
  };
  for (const Case& C : Cases) {
    try {
      C.Dest->Assign(C.Source);
      ADD_FAILURE() << C.Message;
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), C.Message);
    }
  }
}

}  // namespace
