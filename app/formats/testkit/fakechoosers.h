// Test doubles of the choosers that keep the skinned controls' event contract and write every
// event into a shared log, so a test can check the order in which a cascade runs.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "app/formats/choosers.h"
#include "platform/rtl/consts.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"

using TChooserLog = std::vector<String>;

class TFakePresetChooser : public IPresetChooser {
 public:
  TFakePresetChooser(String Name, TChooserLog& Log) : FName(std::move(Name)), FLog(Log) {}

  void ClearItems() override {
    FItems.clear();
    FItemIndex = -1;
  }
  void AddItem(const String& Text) override { FItems.push_back(Text); }
  Integer ItemIndex() const override { return FItemIndex; }
  void SetItemIndex(Integer Index) override {
    FItemIndex = Index >= 0 && Index < Integer(FItems.size()) ? Index : -1;
    if (FItemIndex >= 0 && FItems[FItemIndex] != FText) {
      FText = FItems[FItemIndex];
      FLog.push_back(FName + ".OnChange");
      if (OnChange) OnChange();
    }
    if (Loading) return;
    FLog.push_back(FName + ".OnClick");
    FLog.push_back(FName + ".Change");
  }
  String Text() const override { return FText; }
  void SetEnabled(bool Value) override {
    FEnabled = Value;
    FLog.push_back(FName + (Value ? ".Enable" : ".Disable"));
  }

  bool Enabled() const { return FEnabled; }
  const std::vector<String>& Items() const { return FItems; }

  std::function<void()> OnChange;
  bool Loading = false;  // the window is being built: no OnClick and no Change

 private:
  String FName;
  TChooserLog& FLog;
  std::vector<String> FItems;
  Integer FItemIndex = -1;
  String FText;
  bool FEnabled = true;
};

class TFakeFormatChooser : public IFormatChooser {
 public:
  TFakeFormatChooser(String Name, TChooserLog& Log) : FName(std::move(Name)), FLog(Log) {}

  void ClearItems() override {
    FItems.clear();
    FItemIndex = -1;
    FLog.push_back(FName + ".Clear");
  }
  void AddItem(const String& Caption, Integer ImageIndex) override {
    FItems.emplace_back(Caption, ImageIndex);
  }
  void Refresh() override { FLog.push_back(FName + ".Refresh"); }
  void Repaint() override { FLog.push_back(FName + ".Repaint"); }
  Integer ItemCount() const override { return Integer(FItems.size()); }
  String ItemCaption(Integer Index) const override {
    if (Index < 0 || Index >= ItemCount()) throw EListError(Format(SListIndexError, {Index}));
    return FItems[Index].first;
  }
  Integer ItemIndex() const override { return FItemIndex; }
  void SetItemIndex(Integer Index) override {
    FItemIndex = Index >= 0 && Index < ItemCount() ? Index : -1;
    FLog.push_back(FName + ".OnClick");
    FLog.push_back(FName + ".OnChange");
    if (OnChange) OnChange();
  }

  Integer ImageIndex(Integer Index) const { return FItems.at(Index).second; }

  std::function<void()> OnChange;

 private:
  String FName;
  TChooserLog& FLog;
  std::vector<std::pair<String, Integer>> FItems;
  Integer FItemIndex = -1;
};

// The six preset doubles of a window, named after the window's controls.
struct TFakePresetChoosers {
  explicit TFakePresetChoosers(TChooserLog& Log)
      : FrameSize("bsSkinComboBox1", Log),
        VideoBitrate("bsSkinComboBox2", Log),
        AudioBitrate("bsSkinComboBox3", Log),
        Aspect("bsSkinComboBox4", Log),
        FrameRate("bsSkinComboBox9", Log),
        SampleRate("bsSkinComboBox10", Log) {}

  TFakePresetChooser& operator[](TPresetSlot Slot) { return *All()[Slot]; }
  std::array<TFakePresetChooser*, PresetSlotCount> All() {
    return {&FrameSize, &VideoBitrate, &AudioBitrate, &Aspect, &FrameRate, &SampleRate};
  }
  TPresetChoosers Choosers() {
    auto all = All();
    TPresetChoosers c;
    for (int i = 0; i < PresetSlotCount; ++i) c[i] = all[i];
    return c;
  }

  TFakePresetChooser FrameSize, VideoBitrate, AudioBitrate, Aspect, FrameRate, SampleRate;
};
