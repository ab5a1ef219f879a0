// TCustomTreeView / TTreeView: nodes with text, images, state images and data in a tree; children
// may come lazily (a node says it has children before any exist; OnExpanding adds them), nodes
// expand and collapse, one node is selected, the keyboard and mouse move through the tree, the view
// scrolls through the window's scroll-info state, labels are edited in place through an editor the
// edit controls' library installs, and the custom-draw hooks may replace the drawing of a node.
//
// Messages with the platform's numbers (TVM_*) answer what a derived class asks of the window; the
// notification numbers (TVN_*) are named for the classes above that speak of them. Painting lives in
// treeview_paint.cpp.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/comctrls/listview.h"
#include "platform/ui/comctrls/typeahead.h"
#include "platform/ui/core/customcontrol.h"
#include "platform/ui/graphics/imagelist.h"

class TCustomTreeView;
class TTreeNodes;
class TTreeNode;
using HTREEITEM = TTreeNode*;

// ---- messages (the platform's numbers) ----
constexpr UINT TV_FIRST = 0x1100;
constexpr UINT TVM_DELETEITEM = TV_FIRST + 1;
constexpr UINT TVM_EXPAND = TV_FIRST + 2;
constexpr UINT TVM_GETITEMRECT = TV_FIRST + 4;  // lParam: RECT* holding the node; wParam: text only
constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
constexpr UINT TVM_GETINDENT = TV_FIRST + 6;
constexpr UINT TVM_SETINDENT = TV_FIRST + 7;
constexpr UINT TVM_GETIMAGELIST = TV_FIRST + 8;  // result: TCustomImageList*
constexpr UINT TVM_SETIMAGELIST = TV_FIRST + 9;  // lParam: TCustomImageList*; result: the previous
constexpr UINT TVM_GETNEXTITEM = TV_FIRST + 10;
constexpr UINT TVM_SELECTITEM = TV_FIRST + 11;
constexpr UINT TVM_GETVISIBLECOUNT = TV_FIRST + 16;
constexpr UINT TVM_HITTEST = TV_FIRST + 17;
constexpr UINT TVM_ENSUREVISIBLE = TV_FIRST + 20;
constexpr UINT TVM_ENDEDITLABELNOW = TV_FIRST + 22;
constexpr UINT TVM_GETITEMHEIGHT = TV_FIRST + 28;
constexpr UINT TVM_EDITLABELW = TV_FIRST + 65;

constexpr WPARAM TVSIL_NORMAL = 0;
constexpr WPARAM TVSIL_STATE = 2;
constexpr WPARAM TVE_COLLAPSE = 1;
constexpr WPARAM TVE_EXPAND = 2;
constexpr WPARAM TVE_TOGGLE = 3;
constexpr WPARAM TVGN_ROOT = 0;
constexpr WPARAM TVGN_NEXT = 1;
constexpr WPARAM TVGN_PREVIOUS = 2;
constexpr WPARAM TVGN_PARENT = 3;
constexpr WPARAM TVGN_CHILD = 4;
constexpr WPARAM TVGN_FIRSTVISIBLE = 5;
constexpr WPARAM TVGN_NEXTVISIBLE = 6;
constexpr WPARAM TVGN_PREVIOUSVISIBLE = 7;
constexpr WPARAM TVGN_CARET = 9;

constexpr UINT TVHT_NOWHERE = 0x1;
constexpr UINT TVHT_ONITEMICON = 0x2;
constexpr UINT TVHT_ONITEMLABEL = 0x4;
constexpr UINT TVHT_ONITEMINDENT = 0x8;
constexpr UINT TVHT_ONITEMBUTTON = 0x10;
constexpr UINT TVHT_ONITEMRIGHT = 0x20;
constexpr UINT TVHT_ONITEMSTATEICON = 0x40;
constexpr UINT TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON;
constexpr UINT TVHT_ABOVE = 0x100;
constexpr UINT TVHT_BELOW = 0x200;
constexpr UINT TVHT_TORIGHT = 0x400;
constexpr UINT TVHT_TOLEFT = 0x800;

struct TVHITTESTINFO {
  POINT pt;
  UINT flags = 0;
  HTREEITEM hItem = nullptr;
};

// Notification codes (NM_FIRST-based negatives, the wide forms).
constexpr Integer TVN_FIRST = -400;
constexpr Integer TVN_SELCHANGINGW = TVN_FIRST - 50;
constexpr Integer TVN_SELCHANGEDW = TVN_FIRST - 51;
constexpr Integer TVN_GETDISPINFOW = TVN_FIRST - 52;
constexpr Integer TVN_ITEMEXPANDINGW = TVN_FIRST - 54;
constexpr Integer TVN_ITEMEXPANDEDW = TVN_FIRST - 55;
constexpr Integer TVN_DELETEITEMW = TVN_FIRST - 58;
constexpr Integer TVN_BEGINLABELEDITW = TVN_FIRST - 59;
constexpr Integer TVN_ENDLABELEDITW = TVN_FIRST - 60;

enum TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
enum THitTest {
  htAbove,
  htBelow,
  htNowhere,
  htOnItem,
  htOnButton,
  htOnIcon,
  htOnIndent,
  htOnLabel,
  htOnRight,
  htOnStateIcon,
  htToLeft,
  htToRight
};
using THitTests = TSet<THitTest>;

using TTVCompare = std::function<Integer(TTreeNode* Node1, TTreeNode* Node2, Integer Data)>;

class TTreeNode {
 public:
  TTreeNode(TTreeNodes* AOwner, TTreeNode* AParent);
  ~TTreeNode();
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  TTreeNodes* Owner() const { return FOwner; }
  TCustomTreeView* TreeView() const;
  TTreeNode* Parent() const;  // nullptr for a top-level node
  Integer Level() const;      // 0 for a top-level node
  Integer Index() const;      // among its siblings
  Integer AbsoluteIndex() const;
  Integer Count() const { return Integer(FChildren.size()); }
  // EListError "List index out of bounds (%d)" outside 0..Count-1.
  TTreeNode* Item(Integer Index) const;
  Integer IndexOf(const TTreeNode* Child) const;
  bool HasAsParent(const TTreeNode* Value) const;

  const String& Text() const { return FText; }
  void SetText(const String& Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  Integer SelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(Integer Value);
  Integer StateIndex() const { return FStateIndex; }
  void SetStateIndex(Integer Value);
  void* Data() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  // Whether the node shows an expand button: true with children, or set before they are known.
  bool HasChildren() const { return FHasChildren || !FChildren.empty(); }
  void SetHasChildren(bool Value);
  bool Expanded() const { return FExpanded; }
  void SetExpanded(bool Value);
  bool Selected() const;
  void SetSelected(bool Value);
  bool Focused() const { return Selected(); }
  // Every ancestor is expanded.
  bool IsVisible() const;

  TTreeNode* getFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front().get(); }
  TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back().get(); }
  TTreeNode* getNextSibling() const;
  TTreeNode* getPrevSibling() const;
  // In tree order, through collapsed nodes too.
  TTreeNode* GetNext() const;
  TTreeNode* GetPrev() const;
  TTreeNode* GetNextVisible() const;
  TTreeNode* GetPrevVisible() const;

  // Expanding asks CanExpand (OnExpanding), which may add the children; a node that still has none
  // then loses its button.
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  bool MakeVisible();
  // Client rectangle of the row, or of the label only.
  TRect DisplayRect(bool TextOnly) const;
  bool EditText();
  void EndEdit(bool Cancel);
  void Delete();
  void DeleteChildren();
  bool AlphaSort(bool Recurse = false);
  bool CustomSort(const TTVCompare& SortProc, Integer Data, bool Recurse = false);

 private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  void changed();

  TTreeNodes* FOwner;
  TTreeNode* FParent;  // the owner's hidden root for top-level nodes
  std::vector<std::unique_ptr<TTreeNode>> FChildren;
  String FText;
  Integer FImageIndex = -1;
  Integer FSelectedIndex = -1;
  Integer FStateIndex = -1;
  void* FData = nullptr;
  bool FHasChildren = false;
  bool FExpanded = false;
  bool FDeleting = false;
};

class TTreeNodes {
 public:
  explicit TTreeNodes(TCustomTreeView* AOwner);
  ~TTreeNodes();
  TCustomTreeView* Owner() const { return FOwner; }

  // A node after the last sibling of Sibling (top level for nullptr).
  TTreeNode* Add(TTreeNode* Sibling, const String& S);
  TTreeNode* AddObject(TTreeNode* Sibling, const String& S, void* Ptr);
  TTreeNode* AddFirst(TTreeNode* Sibling, const String& S);
  TTreeNode* AddChild(TTreeNode* Parent, const String& S);
  TTreeNode* AddChildObject(TTreeNode* Parent, const String& S, void* Ptr);
  TTreeNode* AddChildFirst(TTreeNode* Parent, const String& S);
  // A node just before Sibling (at the end of the top level for nullptr).
  TTreeNode* Insert(TTreeNode* Sibling, const String& S);
  void Delete(TTreeNode* Node);
  void Clear();
  // Every node, in tree order.
  Integer Count() const { return FCount; }
  TTreeNode* Item(Integer Index) const;
  TTreeNode* operator[](Integer Index) const { return Item(Index); }
  TTreeNode* GetFirstNode() const { return FRoot->getFirstChild(); }
  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }
  bool AlphaSort(bool Recurse = false) { return FRoot->AlphaSort(Recurse); }
  bool CustomSort(const TTVCompare& SortProc, Integer Data, bool Recurse = false) {
    return FRoot->CustomSort(SortProc, Data, Recurse);
  }

 private:
  friend class TTreeNode;
  friend class TCustomTreeView;
  TTreeNode* insertAt(TTreeNode* Parent, Integer Index, const String& S, void* Ptr);
  void removeNode(TTreeNode* Node);

  TCustomTreeView* FOwner;
  std::unique_ptr<TTreeNode> FRoot;
  Integer FCount = 0;
  Integer FUpdateCount = 0;
};

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, String& S)>;
using TTVCompareEvent =
    std::function<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, Integer Data, Integer& Compare)>;
using TTVCustomDrawEvent =
    std::function<void(TCustomTreeView* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TTVCustomDrawItemEvent =
    std::function<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, bool& DefaultDraw)>;
using TTVAdvancedCustomDrawEvent = std::function<void(TCustomTreeView* Sender, const TRect& ARect,
                                                      TCustomDrawStage Stage, bool& DefaultDraw)>;
using TTVAdvancedCustomDrawItemEvent =
    std::function<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State,
                       TCustomDrawStage Stage, bool& PaintImages, bool& DefaultDraw)>;

// An in-place editor for node labels, as the list view's: Start shows it over Bounds (client
// coordinates) with Text and calls Finish once when the user is done; Cancel ends it silently.
class ITreeLabelEditor {
 public:
  virtual ~ITreeLabelEditor() = default;
  virtual void Start(TCustomTreeView* Owner, const TRect& Bounds, const String& Text,
                     std::function<void(bool Accept, const String& NewText)> Finish) = 0;
  virtual void Cancel() = 0;
};

class TCustomTreeView : public TCustomControl {
 public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;
  String ClassName() const override { return "TCustomTreeView"; }

  TTreeNodes* Items() const { return FItems.get(); }
  TTreeNode* Selected() const { return FSelected; }
  // Selects Value (nullptr clears) through CanChange and Change, as a click would.
  void SetSelected(TTreeNode* Value);
  TTreeNode* TopItem() const;
  void SetTopItem(TTreeNode* Value);

  // ---- look and behaviour ----
  Integer Indent() const { return FIndent; }
  void SetIndent(Integer Value);
  bool ShowLines() const { return FShowLines; }
  void SetShowLines(bool Value);
  bool ShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value);
  // Lines and buttons also for the top-level nodes.
  bool ShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  bool RowSelect() const { return FRowSelect; }
  void SetRowSelect(bool Value);
  // A right click selects the node under the pointer.
  bool RightClickSelect() const { return FRightClickSelect; }
  void SetRightClickSelect(bool Value) { FRightClickSelect = Value; }
  bool AutoExpand() const { return FAutoExpand; }
  void SetAutoExpand(bool Value) { FAutoExpand = Value; }
  // Stored; OnChange runs at once.
  Integer ChangeDelay() const { return FChangeDelay; }
  void SetChangeDelay(Integer Value) { FChangeDelay = Value; }
  TSortType SortType() const { return FSortType; }
  void SetSortType(TSortType Value);
  // Typed characters select the next visible node whose text begins with them; a pause this long
  // starts a new prefix.
  static constexpr Cardinal IncrementalSearchPause = TTypeAheadSearch::Pause;
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* StateImages() const { return FStateImages; }
  void SetStateImages(TCustomImageList* Value);
  bool BorderVisible() const { return FBorderVisible; }
  void SetBorderVisible(bool Value);

  // ---- geometry ----
  Integer ItemHeight() const;
  // Whole rows that fit in the client area.
  Integer VisibleCount() const;
  TTreeNode* GetNodeAt(Integer X, Integer Y) const;
  THitTests GetHitTestInfoAt(Integer X, Integer Y) const;
  Integer HorzScrollPos() const { return FScrollX; }
  void FullExpand();
  void FullCollapse();
  bool AlphaSort(bool Recurse = true);
  bool CustomSort(const TTVCompare& SortProc, Integer Data, bool Recurse = true);

  // ---- label editing ----
  static inline std::function<std::unique_ptr<ITreeLabelEditor>()> LabelEditorFactory;
  bool IsEditing() const { return FEditor != nullptr; }

  // ---- events ----
  TTVChangingEvent OnChanging;
  TTVChangedEvent OnChange;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;
  TTVExpandedEvent OnDeletion;
  TTVExpandedEvent OnAddition;
  TTVExpandedEvent OnGetImageIndex;
  TTVExpandedEvent OnGetSelectedIndex;
  TTVCompareEvent OnCompare;
  TTVCustomDrawEvent OnCustomDraw;
  TTVCustomDrawItemEvent OnCustomDrawItem;
  TTVAdvancedCustomDrawEvent OnAdvancedCustomDraw;
  TTVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;

 protected:
  friend class TTreeNode;
  friend class TTreeNodes;

  void CreateParams(TCreateParams& Params) override;
  void CreateWindowCreated() override;
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void DblClick() override;
  void CMFontChanged(TMessage& Message) override;
  // The class library's overridable steps; each fires its event.
  virtual bool CanChange(TTreeNode* Node);
  virtual void Change(TTreeNode* Node);
  virtual bool CanExpand(TTreeNode* Node);
  virtual void Expand(TTreeNode* Node);
  virtual bool CanCollapse(TTreeNode* Node);
  virtual void Collapse(TTreeNode* Node);
  virtual bool CanEdit(TTreeNode* Node);
  virtual void Edit(TTreeNode* Node, String& S);
  // Called for every node that goes, children before their parent.
  virtual void Delete(TTreeNode* Node);
  virtual void Added(TTreeNode* Node);
  virtual void GetImageIndex(TTreeNode* Node);
  virtual void GetSelectedIndex(TTreeNode* Node);
  // Drawing steps (treeview_paint.cpp).
  virtual bool CustomDraw(const TRect& ARect, TCustomDrawStage Stage);
  virtual bool CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                              bool& PaintImages);
  bool IsCustomDrawn(bool ForItems) const;

 private:
  // ---- structure ----
  void structureChanged();
  void nodeChanged(TTreeNode* Node);
  void nodeRemoving(TTreeNode* Node);
  void sortChildren(TTreeNode* Parent);
  // ---- rows and geometry ----
  const std::vector<TTreeNode*>& rows() const;
  Integer rowOf(const TTreeNode* Node) const;
  Integer nodeLeft(const TTreeNode* Node) const;  // where the node's images begin, scrolled
  TRect rowRect(Integer Row) const;
  TRect labelRect(const TTreeNode* Node, Integer Row) const;
  TRect buttonRect(const TTreeNode* Node, Integer Row) const;
  Integer imageWidth() const;
  Integer stateImageWidth() const;
  Integer contentWidth() const;
  UINT hitTest(Integer X, Integer Y, TTreeNode** Node) const;
  Integer maxTopRow() const;
  void setTopRow(Integer Value);
  void setScrollX(Integer Value);
  void updateScrollInfo();
  void scrollMessage(bool Vertical, Word Code);
  bool treeViewMessage(TMessage& Message);
  bool ensureVisible(TTreeNode* Node);
  void selectNode(TTreeNode* Node);
  bool toggle(TTreeNode* Node);
  bool expandNode(TTreeNode* Node, bool Recurse);
  bool collapseNode(TTreeNode* Node, bool Recurse);
  void startLabelEdit(TTreeNode* Node);
  void finishLabelEdit(TTreeNode* Node, bool Accept, const String& Text);
  void cancelLabelEdit();
  // ---- painting (treeview_paint.cpp) ----
  void paintNode(TTreeNode* Node, Integer Row, TCustomDrawState State, bool PaintImages);
  void paintLines(TTreeNode* Node, Integer Row);
  TCustomDrawState stateFor(const TTreeNode* Node);

  std::unique_ptr<TTreeNodes> FItems;
  TTreeNode* FSelected = nullptr;
  Integer FIndent = 19;
  bool FShowLines = true;
  bool FShowButtons = true;
  bool FShowRoot = true;
  bool FHideSelection = true;
  bool FReadOnly = false;
  bool FRowSelect = false;
  bool FRightClickSelect = false;
  bool FAutoExpand = false;
  bool FBorderVisible = true;
  Integer FChangeDelay = 0;
  TSortType FSortType = stNone;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FStateImages = nullptr;
  Integer FTopRow = 0;
  Integer FScrollX = 0;
  mutable Integer FItemHeight = 0;
  mutable std::vector<TTreeNode*> FRows;
  mutable bool FRowsValid = false;
  bool FPainting = false;
  bool FDestroying = false;  // node changes made by the paint's own queries need no second paint
  std::unique_ptr<ITreeLabelEditor> FEditor;
  TTypeAheadSearch FTypeAhead;
  bool FCommandCharPending = false;  // the numpad + or - just expanded or collapsed
  TTreeNode* FEditNode = nullptr;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

class TTreeView : public TCustomTreeView {
 public:
  explicit TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}
  String ClassName() const override { return "TTreeView"; }
};
