// TPageControl and TTabSheet: a tab control whose tabs are its sheets. Each sheet with a visible tab has
// one tab, in page order; the active page is shown over the page rectangle and the others are hidden.
#pragma once

#include <vector>

#include "platform/ui/comctrls/tabcontrol.h"

class TPageControl;

class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  String ClassName() const override { return "TTabSheet"; }

  TPageControl* PageControl() const { return FPageControl; }
  // Moves the sheet to another page control (nullptr: none); it becomes that control's last page.
  void SetPageControl(TPageControl* Value);
  // Position among the page control's pages; -1 without one. Out-of-range values are clamped.
  Integer PageIndex() const;
  void SetPageIndex(Integer Value);
  // Position among the visible tabs; -1 when the tab is hidden or there is no page control.
  Integer TabIndex() const;
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);

 protected:
  void CMTextChanged(TMessage& Message) override;

 private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
  Integer FImageIndex = -1;
};

class TPageControl : public TCustomTabControl {
 public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  String ClassName() const override { return "TPageControl"; }

  Integer PageCount() const { return Integer(FPages.size()); }
  // EListError "List index out of bounds (N)" outside the pages.
  TTabSheet* Pages(Integer Index) const;
  // Showing a page by code fires neither OnChanging nor OnChange; a page of another control is ignored.
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* Page);
  Integer ActivePageIndex() const;
  void SetActivePageIndex(Integer Value);

  // The page after (before) CurPage, wrapping round; with CheckTabVisible only pages with a visible tab.
  // nullptr when there is none.
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible);
  // As a user's pick of the next page: OnChanging may refuse it, then OnChange.
  void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

 protected:
  friend class TTabSheet;
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void MovePage(TTabSheet* Page, Integer NewIndex);
  // Rebuilds the tabs from the pages and selects the active page's tab.
  void UpdateTabs();
  void Change() override;
  void CMDialogKey(TMessage& Message) override;
  void ShowControl(TTabSheet* Page);

 private:
  void changeActivePage(TTabSheet* Page);
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
};
