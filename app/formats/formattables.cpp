#include "app/formats/formattables.h"

#include <algorithm>

namespace {

template <typename Row>
const Row* findByCode(const Row* rows, Integer count, Integer code) {
  const Row* end = rows + count;
  const Row* it = std::lower_bound(rows, end, code, [](const Row& r, Integer c) { return r.Code < c; });
  return it != end && it->Code == code ? it : nullptr;
}

}  // namespace

Integer CategoryCodeOfPosition(Integer CategoryPosition) {
  if (CategoryPosition < 0 || CategoryPosition >= CategoryPositionCount) return -1;
  return CategoryPositionMap[CategoryPosition];
}

Integer FamilyFormatCount(Integer CategoryCode) {
  if (CategoryCode < 0 || CategoryCode >= FormatFamilyCount) return 0;
  return FormatFamilies[CategoryCode].Count;
}

const char* FormatCaption(Integer CategoryCode, Integer FormatPosition) {
  if (FormatPosition < 0 || FormatPosition >= FamilyFormatCount(CategoryCode)) return nullptr;
  return FormatFamilies[CategoryCode].Captions[FormatPosition];
}

Integer FormatCodeOf(Integer CategoryPosition, Integer FormatPosition) {
  Integer category = CategoryCodeOfPosition(CategoryPosition);
  if (category < 0) return 0;
  return 100 * (category + 1) + FormatPosition;
}

Integer FormatPositionCodeOf(Integer CategoryPosition, Integer FormatPosition) {
  return (CategoryPosition + 1) * 100 + FormatPosition;
}

const TPresetRow* FindPresetRow(Integer Code) {
  return findByCode(PresetRows, PresetRowCount, Code);
}

const TPresetList& PresetListOf(const TPresetRow& Row, TPresetSlot Slot) {
  return PresetLists[Row.Choices[Slot].List];
}

const TFormatParameterRow* FindFormatParameterRow(Integer Code) {
  return findByCode(FormatParameterRows, FormatParameterRowCount, Code);
}

bool IsNoVideoCode(Integer Code) {
  return std::binary_search(NoVideoCodes, NoVideoCodes + NoVideoCodeCount, Code);
}

String OpenDialogFilter() {
  String filter;
  for (Integer i = 0; i < OpenDialogFilterEntryCount; ++i) {
    filter += OpenDialogFilterEntries[i].Description;
    filter += '|';
    filter += OpenDialogFilterEntries[i].Mask;
    filter += '|';
  }
  return filter;
}
