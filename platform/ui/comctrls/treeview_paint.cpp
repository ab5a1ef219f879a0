// The tree view's own look when nobody draws the nodes: the product palette, dotted tree lines,
// boxed expand buttons with a minus or a plus, state image and image, and the label with the
// selection highlight (accent while the tree has the focus, a pale tint otherwise) and focus frame.
#include <algorithm>

#include "platform/gdi/text.h"
#include "platform/ui/comctrls/treeview.h"
#include "platform/ui/stdctrls/stdlook.h"

namespace {

constexpr UINT LabelText = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
constexpr TColor LineColor = stdlook::rgb(0xA0, 0xA6, 0xB0);

void fill(TCanvas* C, const TRect& R, TColor Color) {
  if (R.Right <= R.Left || R.Bottom <= R.Top) return;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}

// Every other pixel, as the platform draws tree lines.
void dottedH(TCanvas* C, Integer X1, Integer X2, Integer Y) {
  for (Integer x = X1; x < X2; ++x)
    if (((x + Y) & 1) == 0) C->SetPixels(x, Y, LineColor);
}

void dottedV(TCanvas* C, Integer X, Integer Y1, Integer Y2) {
  for (Integer y = Y1; y < Y2; ++y)
    if (((X + y) & 1) == 0) C->SetPixels(X, y, LineColor);
}

}  // namespace

TCustomDrawState TCustomTreeView::stateFor(const TTreeNode* Node) {
  TCustomDrawState S;
  if (Node == FSelected) {
    S.Include(cdsSelected);
    if (Focused()) S.Include(cdsFocused);
  }
  if (!Enabled()) S.Include(cdsDisabled);
  return S;
}

bool TCustomTreeView::IsCustomDrawn(bool ForItems) const {
  return ForItems ? (OnCustomDrawItem || OnAdvancedCustomDrawItem) : (OnCustomDraw || OnAdvancedCustomDraw);
}

bool TCustomTreeView::CustomDraw(const TRect& ARect, TCustomDrawStage Stage) {
  bool DefaultDraw = true;
  if (Stage == cdPrePaint && OnCustomDraw) OnCustomDraw(this, ARect, DefaultDraw);
  if (OnAdvancedCustomDraw) OnAdvancedCustomDraw(this, ARect, Stage, DefaultDraw);
  return DefaultDraw;
}

bool TCustomTreeView::CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                                     bool& PaintImages) {
  bool DefaultDraw = true;
  if (Stage == cdPrePaint && OnCustomDrawItem) OnCustomDrawItem(this, Node, State, DefaultDraw);
  if (OnAdvancedCustomDrawItem) OnAdvancedCustomDrawItem(this, Node, State, Stage, PaintImages, DefaultDraw);
  return DefaultDraw;
}

void TCustomTreeView::Paint() {
  TCanvas* C = Canvas();
  RECT Client;
  ::GetClientRect(Handle(), &Client);
  C->Font()->Assign(Font());
  fill(C, Client, Color());
  std::weak_ptr<bool> Alive = FAlive;
  if (!CustomDraw(Client, cdPrePaint) || Alive.expired()) return;
  const Integer H = ItemHeight();
  const TRect Clip = C->ClipRect();
  const Integer First = FTopRow + std::max(0, Clip.Top / H);
  const Integer Last = FTopRow + std::max(0, (Clip.Bottom + H - 1) / H);
  for (Integer Row = First; Row <= Last && Row < Integer(rows().size()); ++Row) {
    TTreeNode* Node = rows()[size_t(Row)];
    // The image queries may change the node's images for this paint (the shell's icons).
    {
      struct TPaintingScope {
        bool& Flag;
        std::weak_ptr<bool> Alive;
        ~TPaintingScope() {
          if (!Alive.expired()) Flag = false;
        }
      };
      FPainting = true;
      TPaintingScope Scope{FPainting, Alive};  // cleared also when a query raises
      GetImageIndex(Node);
      if (Node == FSelected && !Alive.expired()) GetSelectedIndex(Node);
    }
    if (Alive.expired() || !FRowsValid) return;
    const TCustomDrawState State = stateFor(Node);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->Font()->Assign(Font());
    bool PaintImages = true;
    const bool Default = CustomDrawItem(Node, State, cdPrePaint, PaintImages);
    if (Alive.expired() || !FRowsValid) return;
    if (Default) paintNode(Node, Row, State, PaintImages);
    if (OnAdvancedCustomDrawItem) {
      CustomDrawItem(Node, State, cdPostPaint, PaintImages);
      if (Alive.expired() || !FRowsValid) return;
    }
  }
  if (OnAdvancedCustomDraw) CustomDraw(Client, cdPostPaint);
}

void TCustomTreeView::paintLines(TTreeNode* Node, Integer Row) {
  TCanvas* C = Canvas();
  const TRect R = rowRect(Row);
  const Integer CY = (R.Top + R.Bottom) / 2;
  const bool Rooted = FShowRoot || Node->Parent() != nullptr;
  if (Rooted) {
    const Integer X0 = nodeLeft(Node) - FIndent / 2;
    dottedH(C, X0, nodeLeft(Node) - 1, CY);
    // Up to the node above on this level (or the parent), down to the next sibling.
    const bool FirstOfAll = Node->Parent() == nullptr && Node->getPrevSibling() == nullptr;
    dottedV(C, X0, FirstOfAll ? CY : R.Top, Node->getNextSibling() ? R.Bottom : CY + 1);
  }
  // The ancestors' lines that pass this row.
  Integer X = nodeLeft(Node) - FIndent / 2;
  for (TTreeNode* P = Node->Parent(); P; P = P->Parent()) {
    X -= FIndent;
    if ((FShowRoot || P->Parent() != nullptr) && P->getNextSibling()) dottedV(C, X, R.Top, R.Bottom);
  }
}

void TCustomTreeView::paintNode(TTreeNode* Node, Integer Row, TCustomDrawState State, bool PaintImages) {
  TCanvas* C = Canvas();
  const TRect R = rowRect(Row);
  const Integer CY = (R.Top + R.Bottom) / 2;
  const bool HasFocus = Focused();
  const bool ShowSel = State.Contains(cdsSelected) && (HasFocus || !FHideSelection);
  if (FShowLines) paintLines(Node, Row);
  if (FShowButtons && Node->HasChildren() && (FShowRoot || Node->Parent() != nullptr)) {
    const TRect B = buttonRect(Node, Row);
    fill(C, B, stdlook::Surface);
    C->Brush()->SetColor(stdlook::FaceBorder);
    C->FrameRect(B);
    const Integer BX = (B.Left + B.Right) / 2, BY = (B.Top + B.Bottom) / 2;
    fill(C, Rect(B.Left + 2, BY, B.Right - 2, BY + 1), stdlook::Text);
    if (!Node->Expanded()) fill(C, Rect(BX, B.Top + 2, BX + 1, B.Bottom - 2), stdlook::Text);
  }
  Integer X = nodeLeft(Node);
  if (FStateImages) {
    if (PaintImages && Node->StateIndex() >= 0 && Node->StateIndex() < FStateImages->Count())
      FStateImages->Draw(C, X, CY - FStateImages->Height() / 2, Node->StateIndex(), Enabled());
    X += FStateImages->Width();
  }
  if (FImages) {
    const Integer Index = State.Contains(cdsSelected) ? Node->SelectedIndex() : Node->ImageIndex();
    if (PaintImages && Index >= 0 && Index < FImages->Count())
      FImages->Draw(C, X, CY - FImages->Height() / 2, Index, Enabled());
  }
  TRect Label = labelRect(Node, Row);
  if (FRowSelect) Label.Right = R.Right;
  // A name longer than the tree's width ends in the ellipsis where the tree ends.
  Label.Right = std::min(Label.Right, R.Right - 1);
  const TColor Text = Enabled() ? Font()->Color() : stdlook::TextDisabled;
  if (ShowSel) fill(C, Label, HasFocus ? stdlook::Accent : stdlook::SelectionUnfocused);
  stdlook::DrawTextIn(C, Node->Text(), Rect(Label.Left + 2, R.Top, Label.Right, R.Bottom), LabelText,
                      ShowSel && HasFocus ? TColor(clHighlightText) : Text);
  if (HasFocus && State.Contains(cdsSelected)) {
    C->Brush()->SetColor(stdlook::AccentPressed);
    C->FrameRect(Label);
  }
}
