#include "skin/shell/bsskinfiltercombobox.h"

#include "platform/rtl/strings.h"
#include "skin/shell/bsskinfilelists.h"

TbsSkinFilterComboBox::TbsSkinFilterComboBox(TComponent* AOwner)
    : TbsSkinComboBox(AOwner), FFilter(SbsDefaultFilter), MaskList(std::make_unique<TStringList>()) {}

TbsSkinFilterComboBox::~TbsSkinFilterComboBox() = default;

void TbsSkinFilterComboBox::CreateWnd() {
  TbsSkinComboBox::CreateWnd();
  BuildFilterLists();
}

void TbsSkinFilterComboBox::SetFilter(const String& Value) {
  // File names compare without regard to letter case here.
  if (AnsiCompareText(Value, FFilter) == 0) return;
  FFilter = Value;
  if (HandleAllocated()) BuildFilterLists();
  Change();
}

void TbsSkinFilterComboBox::BuildFilterLists() {
  Items()->Clear();
  MaskList->Clear();
  String S = FFilter;
  for (size_t Bar = S.find('|'); Bar != String::npos; Bar = S.find('|')) {
    const String Description = S.substr(0, Bar);
    S.erase(0, Bar + 1);
    const size_t Next = S.find('|');
    const String MaskText = S.substr(0, Next);
    S.erase(0, Next == String::npos ? S.size() : Next + 1);
    Items()->Add(Description);
    MaskList->Add(MaskText);
  }
  SetItemIndex(0);
}

void TbsSkinFilterComboBox::SetFileList(TbsSkinFileListBox* Value) {
  if (FFileList != nullptr) FFileList->FFilterCombo = nullptr;
  FFileList = Value;
  if (Value == nullptr) return;
  Value->FreeNotification(this);
  Value->FFilterCombo = this;
}

String TbsSkinFilterComboBox::GetMask() {
  // Only with items to choose from: choosing -1 would run Change, which asks for the mask again.
  if (ItemIndex() < 0 && Items()->Count() > 0) SetItemIndex(Items()->Count() - 1);
  const Integer I = ItemIndex();
  if (I < 0 || I >= MaskList->Count()) return "*.*";
  return MaskList->Strings(I);
}

void TbsSkinFilterComboBox::Change() {
  if (FFileList != nullptr) FFileList->SetMask(GetMask());
  TbsSkinComboBox::Change();
}

void TbsSkinFilterComboBox::Click() {
  TbsSkinComboBox::Click();
  Change();
}

void TbsSkinFilterComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinComboBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFileList) FFileList = nullptr;
}
