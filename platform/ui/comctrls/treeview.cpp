#include "platform/ui/comctrls/treeview.h"

#include <algorithm>

#include "platform/gdi/font.h"
#include "platform/gdi/text.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/sysutils.h"

namespace {

Integer subtreeSize(const TTreeNode* Node) {
  Integer N = 1;
  for (Integer i = 0; i < Node->Count(); ++i) N += subtreeSize(Node->Item(i));
  return N;
}

}  // namespace

// =====================================================================================================
// TTreeNode
// =====================================================================================================
TTreeNode::TTreeNode(TTreeNodes* AOwner, TTreeNode* AParent) : FOwner(AOwner), FParent(AParent) {}

TTreeNode::~TTreeNode() = default;

TCustomTreeView* TTreeNode::TreeView() const {
  return FOwner->Owner();
}

TTreeNode* TTreeNode::Parent() const {
  return FParent == FOwner->FRoot.get() ? nullptr : FParent;
}

Integer TTreeNode::Level() const {
  Integer L = 0;
  for (const TTreeNode* P = Parent(); P; P = P->Parent()) ++L;
  return L;
}

Integer TTreeNode::Index() const {
  return FParent ? FParent->IndexOf(this) : -1;
}

Integer TTreeNode::IndexOf(const TTreeNode* Child) const {
  for (size_t i = 0; i < FChildren.size(); ++i)
    if (FChildren[i].get() == Child) return Integer(i);
  return -1;
}

Integer TTreeNode::AbsoluteIndex() const {
  Integer N = -1;
  for (const TTreeNode* P = this; P; P = P->GetPrev()) ++N;
  return N;
}

TTreeNode* TTreeNode::Item(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FChildren[size_t(Index)].get();
}

bool TTreeNode::HasAsParent(const TTreeNode* Value) const {
  for (const TTreeNode* P = Parent(); P; P = P->Parent())
    if (P == Value) return true;
  return false;
}

void TTreeNode::changed() {
  if (TCustomTreeView* TV = TreeView()) TV->nodeChanged(this);
}

void TTreeNode::SetText(const String& Value) {
  if (FText == Value) return;
  FText = Value;
  if (TreeView()->FSortType == stText || TreeView()->FSortType == stBoth) TreeView()->sortChildren(FParent);
  changed();
}

void TTreeNode::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;  // the image queries set it on every paint
  FImageIndex = Value;
  changed();
}

void TTreeNode::SetSelectedIndex(Integer Value) {
  if (FSelectedIndex == Value) return;  // the image queries set it on every paint
  FSelectedIndex = Value;
  changed();
}

void TTreeNode::SetStateIndex(Integer Value) {
  if (FStateIndex == Value) return;  // the image queries set it on every paint
  FStateIndex = Value;
  changed();
}

void TTreeNode::SetHasChildren(bool Value) {
  if (FHasChildren == Value) return;
  FHasChildren = Value;
  changed();
}

void TTreeNode::SetExpanded(bool Value) {
  if (Value)
    Expand(false);
  else
    Collapse(false);
}

bool TTreeNode::Selected() const {
  return TreeView()->FSelected == this;
}

void TTreeNode::SetSelected(bool Value) {
  if (Value)
    TreeView()->selectNode(this);
  else if (Selected())
    TreeView()->selectNode(nullptr);
}

bool TTreeNode::IsVisible() const {
  for (const TTreeNode* P = Parent(); P; P = P->Parent())
    if (!P->FExpanded) return false;
  return true;
}

TTreeNode* TTreeNode::getNextSibling() const {
  const Integer I = Index();
  return I >= 0 && I + 1 < FParent->Count() ? FParent->FChildren[size_t(I + 1)].get() : nullptr;
}

TTreeNode* TTreeNode::getPrevSibling() const {
  const Integer I = Index();
  return I > 0 ? FParent->FChildren[size_t(I - 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!FChildren.empty()) return FChildren.front().get();
  for (const TTreeNode* N = this; N; N = N->Parent())
    if (TTreeNode* S = N->getNextSibling()) return S;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
  TTreeNode* S = getPrevSibling();
  if (!S) return Parent();
  while (S->Count() > 0) S = S->GetLastChild();
  return S;
}

TTreeNode* TTreeNode::GetNextVisible() const {
  if (!IsVisible()) return nullptr;
  if (FExpanded && !FChildren.empty()) return FChildren.front().get();
  for (const TTreeNode* N = this; N; N = N->Parent())
    if (TTreeNode* S = N->getNextSibling()) return S;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const {
  if (!IsVisible()) return nullptr;
  TTreeNode* S = getPrevSibling();
  if (!S) return Parent();
  while (S->FExpanded && S->Count() > 0) S = S->GetLastChild();
  return S;
}

void TTreeNode::Expand(bool Recurse) {
  TreeView()->expandNode(this, Recurse);
}

void TTreeNode::Collapse(bool Recurse) {
  TreeView()->collapseNode(this, Recurse);
}

bool TTreeNode::MakeVisible() {
  return TreeView()->ensureVisible(this);
}

TRect TTreeNode::DisplayRect(bool TextOnly) const {
  TCustomTreeView* TV = TreeView();
  const Integer Row = TV->rowOf(this);
  if (Row < 0) return TRect{};
  return TextOnly ? TV->labelRect(this, Row) : TV->rowRect(Row);
}

bool TTreeNode::EditText() {
  TreeView()->startLabelEdit(this);
  return TreeView()->IsEditing();
}

void TTreeNode::EndEdit(bool Cancel) {
  TCustomTreeView* TV = TreeView();
  if (!TV->FEditor || TV->FEditNode != this) return;
  if (Cancel) TV->cancelLabelEdit();
  // Accepting happens through the editor, which holds the text the user typed.
}

void TTreeNode::Delete() {
  FOwner->removeNode(this);
}

void TTreeNode::DeleteChildren() {
  while (!FChildren.empty()) FOwner->removeNode(FChildren.back().get());
  FHasChildren = false;
  changed();
}

bool TTreeNode::AlphaSort(bool Recurse) {
  TCustomTreeView* TV = TreeView();
  return CustomSort(
      [TV](TTreeNode* A, TTreeNode* B, Integer Data) {
        Integer C = 0;
        if (TV->OnCompare)
          TV->OnCompare(TV, A, B, Data, C);
        else
          C = AnsiCompareText(A->Text(), B->Text());
        return C;
      },
      0, Recurse);
}

bool TTreeNode::CustomSort(const TTVCompare& SortProc, Integer Data, bool Recurse) {
  std::stable_sort(FChildren.begin(), FChildren.end(),
                   [&](const std::unique_ptr<TTreeNode>& A, const std::unique_ptr<TTreeNode>& B) {
                     return SortProc(A.get(), B.get(), Data) < 0;
                   });
  if (Recurse)
    for (auto& C : FChildren) C->CustomSort(SortProc, Data, true);
  TreeView()->structureChanged();
  return true;
}

// =====================================================================================================
// TTreeNodes
// =====================================================================================================
TTreeNodes::TTreeNodes(TCustomTreeView* AOwner)
    : FOwner(AOwner), FRoot(std::make_unique<TTreeNode>(this, nullptr)) {
  FRoot->FExpanded = true;
}

TTreeNodes::~TTreeNodes() = default;

TTreeNode* TTreeNodes::insertAt(TTreeNode* Parent, Integer Index, const String& S, void* Ptr) {
  auto Node = std::make_unique<TTreeNode>(this, Parent);
  TTreeNode* N = Node.get();
  N->FText = S;
  N->FData = Ptr;
  Index = std::clamp(Index, 0, Parent->Count());
  Parent->FChildren.insert(Parent->FChildren.begin() + Index, std::move(Node));
  ++FCount;
  if (FOwner->FSortType == stText || FOwner->FSortType == stBoth) FOwner->sortChildren(Parent);
  FOwner->Added(N);
  FOwner->structureChanged();
  return N;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const String& S) {
  return AddObject(Sibling, S, nullptr);
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const String& S, void* Ptr) {
  TTreeNode* P = Sibling ? Sibling->FParent : FRoot.get();
  return insertAt(P, P->Count(), S, Ptr);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const String& S) {
  return insertAt(Sibling ? Sibling->FParent : FRoot.get(), 0, S, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const String& S) {
  return AddChildObject(Parent, S, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const String& S, void* Ptr) {
  TTreeNode* P = Parent ? Parent : FRoot.get();
  return insertAt(P, P->Count(), S, Ptr);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const String& S) {
  return insertAt(Parent ? Parent : FRoot.get(), 0, S, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const String& S) {
  if (!Sibling) return Add(nullptr, S);
  return insertAt(Sibling->FParent, Sibling->Index(), S, nullptr);
}

void TTreeNodes::Delete(TTreeNode* Node) {
  if (Node) removeNode(Node);
}

void TTreeNodes::Clear() {
  BeginUpdate();
  while (FRoot->Count() > 0) removeNode(FRoot->FChildren.back().get());
  EndUpdate();
}

void TTreeNodes::removeNode(TTreeNode* Node) {
  if (Node->FDeleting) return;
  Node->FDeleting = true;
  // Children go first, each through the view's Delete.
  while (!Node->FChildren.empty()) removeNode(Node->FChildren.back().get());
  FOwner->nodeRemoving(Node);
  FOwner->Delete(Node);
  TTreeNode* Parent = Node->FParent;
  const Integer I = Parent->IndexOf(Node);
  if (I >= 0) Parent->FChildren.erase(Parent->FChildren.begin() + I);
  --FCount;
  FOwner->structureChanged();
}

TTreeNode* TTreeNodes::Item(Integer Index) const {
  if (Index < 0 || Index >= FCount) throw EListError(Format("List index out of bounds (%d)", {Index}));
  TTreeNode* N = GetFirstNode();
  for (Integer i = 0; i < Index && N; ++i) N = N->GetNext();
  return N;
}

void TTreeNodes::BeginUpdate() {
  ++FUpdateCount;
}

void TTreeNodes::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) FOwner->structureChanged();
}

// =====================================================================================================
// TCustomTreeView: set-up and properties
// =====================================================================================================
TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TCustomControl(AOwner), FItems(std::make_unique<TTreeNodes>(this)) {
  FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  FWidth = 121;
  FHeight = 97;
  FTabStop = true;
  FParentColor = false;
  FColor = clWindow;
}

TCustomTreeView::~TCustomTreeView() {
  *FAlive = false;
  if (FEditor) FEditor->Cancel();
  FEditor.reset();
  // Every node still goes through OnDeletion, so that data hung on nodes is not lost; the
  // selection ends without OnChange.
  FDestroying = true;
  OnChange = nullptr;
  OnChanging = nullptr;
  FItems->Clear();
}

void TCustomTreeView::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_HSCROLL | WS_VSCROLL;
  if (FBorderVisible) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::CreateWindowCreated() {
  TCustomControl::CreateWindowCreated();
  updateScrollInfo();
}

void TCustomTreeView::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  FItemHeight = 0;
  updateScrollInfo();
}

#define TV_SETTER(Name, Field)                  \
  void TCustomTreeView::Set##Name(bool Value) { \
    if (Field == Value) return;                 \
    Field = Value;                              \
    structureChanged();                         \
  }
TV_SETTER(ShowLines, FShowLines)
TV_SETTER(ShowButtons, FShowButtons)
TV_SETTER(ShowRoot, FShowRoot)
TV_SETTER(HideSelection, FHideSelection)
TV_SETTER(RowSelect, FRowSelect)
#undef TV_SETTER

void TCustomTreeView::SetBorderVisible(bool Value) {
  if (Value == FBorderVisible) return;
  FBorderVisible = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomTreeView::SetIndent(Integer Value) {
  Value = std::max(0, Value);
  if (FIndent == Value) return;
  FIndent = Value;
  structureChanged();
}

void TCustomTreeView::SetSortType(TSortType Value) {
  if (FSortType == Value) return;
  FSortType = Value;
  if (Value == stText || Value == stBoth) AlphaSort(true);
}

void TCustomTreeView::SetImages(TCustomImageList* Value) {
  FImages = Value;
  FItemHeight = 0;
  structureChanged();
}

void TCustomTreeView::SetStateImages(TCustomImageList* Value) {
  FStateImages = Value;
  FItemHeight = 0;
  structureChanged();
}

// =====================================================================================================
// Structure changes and the overridable steps
// =====================================================================================================
void TCustomTreeView::structureChanged() {
  FRowsValid = false;
  if (FItems->FUpdateCount > 0 || FDestroying) return;
  updateScrollInfo();
  if (HandleAllocated()) Invalidate();
}

void TCustomTreeView::nodeChanged(TTreeNode*) {
  if (FItems->FUpdateCount == 0 && HandleAllocated() && !FPainting && !FDestroying) {
    updateScrollInfo();
    Invalidate();
  }
}

void TCustomTreeView::nodeRemoving(TTreeNode* Node) {
  if (FEditNode == Node) cancelLabelEdit();
  // The selection does not move to another node: a deleted selection simply ends.
  if (FSelected == Node) FSelected = nullptr;
}

void TCustomTreeView::sortChildren(TTreeNode* Parent) {
  if (Parent) Parent->AlphaSort(false);
}

bool TCustomTreeView::CanChange(TTreeNode* Node) {
  bool Allow = true;
  if (OnChanging) OnChanging(this, Node, Allow);
  return Allow;
}

void TCustomTreeView::Change(TTreeNode* Node) {
  if (OnChange) OnChange(this, Node);
}

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
  bool Allow = true;
  if (OnExpanding) OnExpanding(this, Node, Allow);
  return Allow;
}

void TCustomTreeView::Expand(TTreeNode* Node) {
  if (OnExpanded) OnExpanded(this, Node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
  bool Allow = true;
  if (OnCollapsing) OnCollapsing(this, Node, Allow);
  return Allow;
}

void TCustomTreeView::Collapse(TTreeNode* Node) {
  if (OnCollapsed) OnCollapsed(this, Node);
}

bool TCustomTreeView::CanEdit(TTreeNode* Node) {
  bool Allow = true;
  if (OnEditing) OnEditing(this, Node, Allow);
  return Allow;
}

void TCustomTreeView::Edit(TTreeNode* Node, String& S) {
  if (OnEdited) OnEdited(this, Node, S);
}

void TCustomTreeView::Delete(TTreeNode* Node) {
  if (OnDeletion) OnDeletion(this, Node);
}

void TCustomTreeView::Added(TTreeNode* Node) {
  if (OnAddition) OnAddition(this, Node);
}

void TCustomTreeView::GetImageIndex(TTreeNode* Node) {
  if (OnGetImageIndex) OnGetImageIndex(this, Node);
}

void TCustomTreeView::GetSelectedIndex(TTreeNode* Node) {
  if (OnGetSelectedIndex) OnGetSelectedIndex(this, Node);
}

// =====================================================================================================
// Selection, expansion
// =====================================================================================================
void TCustomTreeView::selectNode(TTreeNode* Node) {
  if (Node == FSelected) return;
  if (!CanChange(Node)) return;
  FSelected = Node;
  if (Node) ensureVisible(Node);
  if (HandleAllocated()) Invalidate();
  std::weak_ptr<bool> Alive = FAlive;
  Change(Node);
  if (!Alive.expired() && FAutoExpand && FSelected == Node && Node) expandNode(Node, false);
}

void TCustomTreeView::SetSelected(TTreeNode* Value) {
  selectNode(Value);
}

bool TCustomTreeView::expandNode(TTreeNode* Node, bool Recurse) {
  if (!Node->FExpanded) {
    if (!Node->HasChildren()) return false;
    std::weak_ptr<bool> Alive = FAlive;
    if (!CanExpand(Node) || Alive.expired()) return false;
    if (Node->FChildren.empty()) {
      // Lazy children that turned out not to exist: the button goes.
      Node->FHasChildren = false;
      nodeChanged(Node);
      return false;
    }
    Node->FExpanded = true;
    structureChanged();
    Expand(Node);
  }
  if (Recurse)
    for (size_t i = 0; i < Node->FChildren.size(); ++i) expandNode(Node->FChildren[i].get(), true);
  return true;
}

bool TCustomTreeView::collapseNode(TTreeNode* Node, bool Recurse) {
  bool Done = false;
  if (Node->FExpanded && CanCollapse(Node)) {
    Node->FExpanded = false;
    // A selection that the collapse hides moves up to the collapsed node.
    if (FSelected && FSelected->HasAsParent(Node)) selectNode(Node);
    structureChanged();
    Collapse(Node);
    Done = true;
  }
  if (Recurse)
    for (auto& C : Node->FChildren) collapseNode(C.get(), true);
  return Done;
}

bool TCustomTreeView::toggle(TTreeNode* Node) {
  return Node->FExpanded ? collapseNode(Node, false) : expandNode(Node, false);
}

void TCustomTreeView::FullExpand() {
  for (TTreeNode* N = FItems->GetFirstNode(); N; N = N->getNextSibling()) expandNode(N, true);
}

void TCustomTreeView::FullCollapse() {
  for (TTreeNode* N = FItems->GetFirstNode(); N; N = N->getNextSibling()) collapseNode(N, true);
}

bool TCustomTreeView::AlphaSort(bool Recurse) {
  return FItems->FRoot->AlphaSort(Recurse);
}

bool TCustomTreeView::CustomSort(const TTVCompare& SortProc, Integer Data, bool Recurse) {
  return FItems->FRoot->CustomSort(SortProc, Data, Recurse);
}

bool TCustomTreeView::ensureVisible(TTreeNode* Node) {
  bool Expanded = false;
  for (TTreeNode* P = Node->Parent(); P; P = P->Parent())
    if (!P->FExpanded) Expanded = expandNode(P, false) || Expanded;
  const Integer Row = rowOf(Node);
  if (Row < 0) return false;
  const Integer Page = std::max(1, VisibleCount());
  if (Row < FTopRow)
    setTopRow(Row);
  else if (Row >= FTopRow + Page)
    setTopRow(Row - Page + 1);
  return Expanded;
}

// =====================================================================================================
// Label editing
// =====================================================================================================
void TCustomTreeView::startLabelEdit(TTreeNode* Node) {
  if (FReadOnly || !Node || FEditor || !LabelEditorFactory) return;
  if (!CanEdit(Node)) return;
  ensureVisible(Node);
  FEditor = LabelEditorFactory();
  if (!FEditor) return;
  FEditNode = Node;
  std::weak_ptr<bool> Alive = FAlive;
  FEditor->Start(this, Node->DisplayRect(true), Node->Text(), [this, Alive](bool Accept, const String& Text) {
    if (Alive.expired()) return;
    finishLabelEdit(FEditNode, Accept, Text);
  });
}

void TCustomTreeView::cancelLabelEdit() {
  if (!FEditor) return;
  FEditor->Cancel();
  FEditor.reset();
  FEditNode = nullptr;
}

void TCustomTreeView::finishLabelEdit(TTreeNode* Node, bool Accept, const String& Text) {
  // The editor is freed after its own call has returned.
  if (FEditor) WinDeferAction([Editor = std::shared_ptr<ITreeLabelEditor>(std::move(FEditor))] {});
  FEditNode = nullptr;
  if (!Accept || !Node) return;
  String S = Text;
  std::weak_ptr<bool> Alive = FAlive;
  Edit(Node, S);
  if (Alive.expired()) return;
  // The handler may have deleted the node: only a node still in the tree takes the text.
  for (TTreeNode* N = FItems->GetFirstNode(); N; N = N->GetNext())
    if (N == Node) {
      Node->SetText(S);
      break;
    }
}
