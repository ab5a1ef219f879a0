#include "tools/skingen/skingen.h"

#include <memory>

#include "platform/rtl/files.h"
#include "skin/core/bsskincontainer.h"
#include "skin/core/bsskindata.h"

namespace {

struct TControlSpec {
  const char* Name;
  const char* TypeWord;
};

// What the windows and skinned controls look up, with the record kind that gives each its look.
const TControlSpec ControlSpecs[] = {
    {"button", "button"},
    {"resizebutton", "button"},
    {"toolbutton", "button"},
    {"bigtoolbutton", "button"},
    {"resizetoolbutton", "button"},
    {"header", "button"},
    {"editbutton", "button"},
    {"combobutton", "button"},
    {"officeribbonbutton", "button"},
    {"toolmenubutton", "menubutton"},
    {"officemenubutton", "menubutton"},
    {"panel", "panel"},
    {"groupbox", "panel"},
    {"toolpanel", "panel"},
    {"resizetoolpanel", "panel"},
    {"statusbar", "panel"},
    {"menupagepanel", "panel"},
    {"checkbox", "checkradio"},
    {"radiobox", "checkradio"},
    {"label", "label"},
    {"menuheader", "label"},
    {"stdlabel", "stdlabel"},
    {"edit", "edit"},
    {"buttonedit", "edit"},
    {"memo", "memo"},
    {"listbox", "listbox"},
    {"checklistbox", "checklistbox"},
    {"combobox", "combobox"},
    {"hscrollbar", "scrollbar"},
    {"vscrollbar", "scrollbar"},
    {"bothhscrollbar", "scrollbar"},
    {"slider", "slider"},
    {"trackbar", "trackbar"},
    {"gauge", "gauge"},
    {"listview", "listview"},
    {"treeview", "treeview"},
    {"tab", "tab"},
    {"officetab", "tab"},
    {"hupdown", "updown"},
    {"vupdown", "updown"},
    {"vsplitter", "splitter"},
    {"hsplitter", "splitter"},
    {"bevel", "bevel"},
    {"scrollbox", "scrollbox"},
    {"spinedit", "spinedit"},
    {"mainmenubar", "mainmenubar"},
    {"appmenu", "appmenu"},
};

struct TButtonSpec {
  const char* Name;
  const char* TypeWord;
  TbsStdCommand Command;
};

const TButtonSpec ObjectSpecs[] = {
    {"caption", "caption", cmDefault},
    {"menuitem", "menuitem", cmDefault},
    {"mainmenubaritem", "mainmenubaritem", cmDefault},
    {"closebutton", "stdbutton", cmClose},
    {"maxbutton", "stdbutton", cmMaximize},
    {"minbutton", "stdbutton", cmMinimize},
    {"rollupbutton", "stdbutton", cmRollUp},
    {"sysmenubutton", "stdbutton", cmSysMenu},
    {"traybutton", "stdbutton", cmMinimizeToTray},
    {"mainmenubarclosebutton", "mainmenubarbutton", cmClose},
    {"mainmenubarmaxbutton", "mainmenubarbutton", cmMaximize},
    {"mainmenubarminbutton", "mainmenubarbutton", cmMinimize},
    {"mainmenubarsysmenubutton", "mainmenubarbutton", cmSysMenu},
};

constexpr int ControlCount = int(sizeof ControlSpecs / sizeof ControlSpecs[0]);
constexpr int ObjectCount = int(sizeof ObjectSpecs / sizeof ObjectSpecs[0]);

// States drawn side by side for every element: normal, active (mouse over), down, disabled, focused.
constexpr int StateCount = 5;
// One element's image in the control sheet; corners are CornerSize square.
constexpr int CellW = 48;
constexpr int CellH = 24;
constexpr int CornerSize = 6;
// Caption buttons in their own sheet.
constexpr int ButtonSize = 16;
// The frame picture.
constexpr int FrameW = 200;
constexpr int FrameH = 120;

TRect cellRect(int Element, int State) {
  return Bounds(State * CellW, Element * CellH, CellW, CellH);
}

// A nine-slice image whose slices each have their own colour.
void drawSlices(TCanvas* Canvas, const TRect& R, int Element, int State, int Corner) {
  const int Xs[4] = {R.Left, R.Left + Corner, R.Right - Corner, R.Right};
  const int Ys[4] = {R.Top, R.Top + Corner, R.Bottom - Corner, R.Bottom};
  for (int Row = 0; Row < 3; ++Row)
    for (int Col = 0; Col < 3; ++Col) {
      const Cardinal C = GeneratedSkinSliceColor(Element, State, Row * 3 + Col);
      Canvas->Brush()->SetColor(TColor(C));
      Canvas->FillRect(Rect(Xs[Col], Ys[Row], Xs[Col + 1], Ys[Row + 1]));
    }
}

std::unique_ptr<TBitmap> newSheet(int W, int H) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  return B;
}

// The slice geometry shared by every custom control record: corners at the cell's corners, the
// client area inside them.
void setSlices(TbsDataSkinCustomControl* R) {
  R->LTPoint = TPoint{CornerSize, CornerSize};
  R->RTPoint = TPoint{CellW - CornerSize, CornerSize};
  R->LBPoint = TPoint{CornerSize, CellH - CornerSize};
  R->RBPoint = TPoint{CellW - CornerSize, CellH - CornerSize};
  R->ClRect = Rect(CornerSize, CornerSize, CellW - CornerSize, CellH - CornerSize);
  R->LeftStretch = R->TopStretch = R->RightStretch = R->BottomStretch = true;
  R->StretchEffect = true;
}

// The text area inside a combo box's item pictures (the stretch client of those pictures and where the
// item's text goes), like the list box's.
void setComboItemText(TbsDataSkinComboBox* R) {
  R->ItemTextRect = Rect(CornerSize, 0, CellW - CornerSize, CellH);
}

// The page border of a tab element: the nine slices of its normal cell, as the other framed elements.
void setTabSlices(TbsDataSkinTabControl* R) {
  R->LTPoint = TPoint{CornerSize, CornerSize};
  R->RTPoint = TPoint{CellW - CornerSize, CornerSize};
  R->LBPoint = TPoint{CornerSize, CellH - CornerSize};
  R->RBPoint = TPoint{CellW - CornerSize, CellH - CornerSize};
  R->LeftStretch = R->TopStretch = R->RightStretch = R->BottomStretch = true;
}

std::unique_ptr<TbsDataSkinControl> makeControl(int Element) {
  const TControlSpec& S = ControlSpecs[Element];
  auto Record = CreateSkinControlRecord(S.TypeWord, S.Name);
  Record->PictureIndex = 0;
  Record->SkinRect = cellRect(Element, 0);
  const TRect Active = cellRect(Element, 1), Down = cellRect(Element, 2), Disabled = cellRect(Element, 3),
              Focused = cellRect(Element, 4);
  // Small parts (arrows, thumbs, check marks) are the top-left corner slice of a state's cell.
  auto part = [&](int State) { return Bounds(State * CellW, Element * CellH, CornerSize, CornerSize); };
  // An up-down record keeps no slice geometry of its own (it writes the keys but does not read them).
  auto* Custom = dynamic_cast<TbsDataSkinCustomControl*>(Record.get());
  if (Custom && !dynamic_cast<TbsDataSkinUpDownControl*>(Custom)) setSlices(Custom);
  if (auto* R = dynamic_cast<TbsDataSkinButtonControl*>(Record.get())) {
    R->ActiveSkinRect = Active;
    R->DownSkinRect = Down;
    R->DisabledSkinRect = Disabled;
    R->FocusedSkinRect = Focused;
    R->FontColor = 0x202020;
    R->ActiveFontColor = 0x800000;
    R->DownFontColor = 0x000080;
    R->DisabledFontColor = 0x808080;
  }
  // The menu bar: items in a band as high as an item cell, between the element's corners.
  if (auto* R = dynamic_cast<TbsDataSkinMainMenuBar*>(Record.get())) {
    R->ItemsRect = Rect(CornerSize, (CellH - ButtonSize) / 2, CellW - CornerSize, (CellH + ButtonSize) / 2);
    R->MenuBarItem = "mainmenubaritem";
    R->CloseButton = "mainmenubarclosebutton";
    R->MaxButton = "mainmenubarmaxbutton";
    R->MinButton = "mainmenubarminbutton";
    R->SysMenuButton = "mainmenubarsysmenubutton";
    R->TrackMarkColor = 0x404040;
    R->TrackMarkActiveColor = 0x0000FF;
  }
  if (auto* R = dynamic_cast<TbsDataSkinMenuButtonControl*>(Record.get()))
    R->TrackButtonRect = Rect(CellW - CornerSize, 0, CellW, CellH);
  if (auto* R = dynamic_cast<TbsDataSkinCheckRadioControl*>(Record.get())) {
    R->ActiveSkinRect = Active;
    R->CheckImageArea = Rect(0, 0, CellH, CellH);
    R->TextArea = Rect(CellH, 0, CellW, CellH);
    R->CheckImageRect = part(2);
    R->UnCheckImageRect = part(0);
    R->ActiveCheckImageRect = part(4);
    R->ActiveUnCheckImageRect = part(1);
    R->UnEnabledCheckImageRect = part(3);
    R->UnEnabledUnCheckImageRect = part(3);
  }
  if (auto* R = dynamic_cast<TbsDataSkinPanelControl*>(Record.get()))
    R->CaptionRect = Rect(CornerSize, 0, CellW - CornerSize, CornerSize);
  if (auto* R = dynamic_cast<TbsDataSkinEditControl*>(Record.get())) {
    R->ActiveSkinRect = Active;
    R->ButtonRect = part(0);
    R->ActiveButtonRect = part(1);
    R->DownButtonRect = part(2);
    R->UnEnabledButtonRect = part(3);
  }
  if (auto* R = dynamic_cast<TbsDataSkinListBox*>(Record.get())) {
    R->SItemRect = Active;
    R->ActiveItemRect = Down;
    R->FocusItemRect = Focused;
    R->ItemTextRect = Rect(CornerSize, 0, CellW - CornerSize, CellH);
    R->HScrollBarName = "hscrollbar";
    R->VScrollBarName = "vscrollbar";
    R->BothScrollBarName = "bothhscrollbar";
  }
  if (auto* R = dynamic_cast<TbsDataSkinComboBox*>(Record.get())) {
    R->ActiveSkinRect = Active;
    R->SItemRect = Down;
    R->FocusItemRect = Focused;
    R->ButtonRect = Rect(CellW - CellH, 0, CellW, CellH);
    R->ActiveButtonRect = R->ButtonRect;
    R->DownButtonRect = R->ButtonRect;
    R->UnEnabledButtonRect = R->ButtonRect;
    R->ListBoxName = "listbox";
    setComboItemText(R);
  }
  if (auto* R = dynamic_cast<TbsDataSkinScrollBarControl*>(Record.get())) {
    // Places in the element: the up button at the far end (right, or bottom for the vertical bar), the
    // down button at the near end, the track between them.
    if (String(S.Name) == "vscrollbar") {
      R->TrackArea = Rect(0, CornerSize, CellW, CellH - CornerSize);
      R->UpButtonRect = Bounds(0, CellH - CornerSize, CellW, CornerSize);
      R->DownButtonRect = Bounds(0, 0, CellW, CornerSize);
    } else {
      R->TrackArea = Rect(CornerSize, 0, CellW - CornerSize, CellH);
      R->UpButtonRect = Bounds(CellW - CornerSize, 0, CornerSize, CellH);
      R->DownButtonRect = Bounds(0, 0, CornerSize, CellH);
    }
    R->ActiveUpButtonRect = part(1);
    R->DownUpButtonRect = part(2);
    R->ActiveDownButtonRect = part(1);
    R->DownDownButtonRect = part(2);
    R->ThumbRect = part(0);
    R->ActiveThumbRect = part(1);
    R->DownThumbRect = part(2);
  }
  if (auto* R = dynamic_cast<TbsDataSkinUpDownControl*>(Record.get())) {
    R->UpButtonRect = part(0);
    R->ActiveUpButtonRect = part(1);
    R->DownUpButtonRect = part(2);
    R->DownButtonRect = part(3);
    R->ActiveDownButtonRect = part(4);
    R->DownDownButtonRect = part(2);
  }
  if (auto* R = dynamic_cast<TbsDataSkinTabControl*>(Record.get())) {
    R->TabRect = Active;
    R->ActiveTabRect = Down;
    R->FocusTabRect = Focused;
    R->MouseInTabRect = Disabled;
    R->ClRect = Rect(CornerSize, CornerSize, CellW - CornerSize, CellH - CornerSize);
    setTabSlices(R);
  }
  if (auto* R = dynamic_cast<TbsDataSkinGaugeControl*>(Record.get())) {
    R->ProgressArea = Rect(CornerSize, CornerSize, CellW - CornerSize, CellH - CornerSize);
    R->ProgressRect = Active;
  }
  if (auto* R = dynamic_cast<TbsDataSkinTrackBarControl*>(Record.get())) {
    R->ActiveSkinRect = Active;
    R->TrackArea = Rect(CornerSize, CornerSize, CellW - CornerSize, CellH - CornerSize);
    R->ButtonRect = part(0);
    R->ActiveButtonRect = part(1);
  }
  if (auto* R = dynamic_cast<TbsDataSkinSlider*>(Record.get())) {
    R->HRulerRect = Rect(0, Element * CellH, CellW, Element * CellH + CornerSize);
    // Thumbs are drawn keyed by their bottom-left pixel: each half reaches from a corner slice into the
    // next row of slices, so its key colour lies below the part that shows.
    R->HThumbRect =
        Bounds(CellW + CornerSize / 2, Element * CellH + CornerSize / 2, 2 * CornerSize, CornerSize);
    R->VRulerRect = Bounds(2 * CellW, Element * CellH, CornerSize, CellH);
    R->VThumbRect =
        Bounds(3 * CellW + CornerSize / 2, Element * CellH + CornerSize / 2, 2 * CornerSize, CornerSize);
    R->EdgeSize = CornerSize;
  }
  if (auto* R = dynamic_cast<TbsDataSkinBevel*>(Record.get())) {
    R->LightColor = 0xFFFFFF;
    R->DarkColor = 0x404040;
  }
  return Record;
}

std::unique_ptr<TbsDataSkinObject> makeObject(int Element) {
  const TButtonSpec& S = ObjectSpecs[Element];
  auto Record = CreateSkinObjectRecord(S.TypeWord, S.Name);
  // Caption buttons: one row per button in picture 1, states normal, active, down, inactive.
  const TRect Normal = Bounds(0, Element * ButtonSize, ButtonSize, ButtonSize);
  auto state = [&](int State) {
    return Bounds(State * ButtonSize, Element * ButtonSize, ButtonSize, ButtonSize);
  };
  Record->ActivePictureIndex = 1;
  if (auto* R = dynamic_cast<TbsDataSkinButton*>(Record.get())) {
    R->SkinRectInAPicture = true;
    R->SkinRect = Rect(FrameW - 24 - 18 * Element, 4, FrameW - 8 - 18 * Element, 20);
    R->ActiveSkinRect = state(1);
    R->DownRect = state(2);
    R->InActiveSkinRect = state(3);
    R->Hint = S.Name;
  }
  if (auto* R = dynamic_cast<TbsDataSkinStdButton*>(Record.get())) {
    R->Command = S.Command;
    R->RestoreRect = Normal;
    R->RestoreActiveRect = state(1);
    R->RestoreDownRect = state(2);
  }
  if (auto* R = dynamic_cast<TbsDataSkinCaption*>(Record.get())) {
    R->SkinRect = Rect(CornerSize + 2, 0, FrameW - 80, 24);
    R->TextRct = Rect(4, 4, FrameW - 90, 20);
    R->FontName = "Tahoma";
    R->FontHeight = 14;
    R->FontColor = 0xFFFFFF;
    R->ActiveFontColor = 0xFFFF80;
    R->ActivePictureIndex = -1;
  }
  if (auto* R = dynamic_cast<TbsDataSkinMenuItem*>(Record.get())) {
    R->SkinRect = state(0);
    R->ActiveSkinRect = state(1);
    R->DividerRect = state(3);
    R->TextRct = Rect(20, 0, ButtonSize * 4, ButtonSize);
    R->FontName = "Tahoma";
    R->FontHeight = 13;
    R->ActiveFontColor = 0xFFFFFF;
  }
  if (auto* R = dynamic_cast<TbsDataSkinMainMenuItem*>(Record.get())) {
    R->SkinRect = state(0);
    R->ActiveSkinRect = state(1);
    R->DownRect = state(2);
    R->FontName = "Tahoma";
    R->FontHeight = 13;
    R->TextRct = Rect(4, 1, ButtonSize - 4, ButtonSize - 1);
    R->ItemLO = R->ItemRO = 4;
    R->ActiveFontColor = 0xFFFFFF;
  }
  return Record;
}

// ---- hint window ----

// The hint window's own small picture (element colour 48, which no control or caption button uses),
// so a hint's corners, edges and client part can be told apart on screen.
constexpr int HintW = 30;
constexpr int HintH = 24;
constexpr int HintCorner = 6;

static_assert(ControlCount <= GeneratedSkinHintElement, "the hint picture's colours must stay its own");

void addHintElements(TbsSkinData* SkinData) {
  auto Sheet = newSheet(HintW, HintH);
  drawSlices(Sheet->Canvas(), Rect(0, 0, HintW, HintH), GeneratedSkinHintElement, 0, HintCorner);
  const Integer Index = SkinData->PictureCount();
  SkinData->AddPicture(std::move(Sheet), "hint.bmp");
  TbsDataSkinHintWindow* H = SkinData->HintWindow.get();
  H->WindowPictureIndex = Index;
  H->MaskPictureIndex = -1;
  H->LTPoint = TPoint{HintCorner, HintCorner};
  H->RTPoint = TPoint{HintW - HintCorner, HintCorner};
  H->LBPoint = TPoint{HintCorner, HintH - HintCorner};
  H->RBPoint = TPoint{HintW - HintCorner, HintH - HintCorner};
  H->ClRect = Rect(HintCorner, HintCorner, HintW - HintCorner, HintH - HintCorner);
  H->LeftStretch = H->TopStretch = H->RightStretch = H->BottomStretch = true;
  H->FontColor = clBlack;
}

// Popup menus: the window picture and the menu-item element each in a picture of their own, coloured
// as states 1 to 4 of the frame's element (the frame itself uses only state 0), so a probe tells the
// window's slices, a normal and a highlighted entry and a divider apart from everything else.
constexpr int MenuElement = 63;
constexpr int MenuWindowState = 1, MenuItemState = 2, MenuActiveItemState = 3, MenuDividerState = 4;
constexpr int MenuWindowSize = 24, MenuCorner = 6, MenuItemW = 48, MenuItemH = 20, MenuDividerH = 6;

void addPopupMenuElements(TbsSkinData* SkinData) {
  auto Window = newSheet(MenuWindowSize, MenuWindowSize);
  drawSlices(Window->Canvas(), Rect(0, 0, MenuWindowSize, MenuWindowSize), MenuElement, MenuWindowState,
             MenuCorner);
  SkinData->AddPicture(std::move(Window), "popupwindow.bmp");
  TbsDataSkinPopupWindow* PW = SkinData->PopupWindow.get();
  PW->WindowPictureIndex = SkinData->PictureCount() - 1;
  PW->MaskPictureIndex = -1;
  PW->LTPoint = TPoint{MenuCorner, MenuCorner};
  PW->RTPoint = TPoint{MenuWindowSize - MenuCorner, MenuCorner};
  PW->LBPoint = TPoint{MenuCorner, MenuWindowSize - MenuCorner};
  PW->RBPoint = TPoint{MenuWindowSize - MenuCorner, MenuWindowSize - MenuCorner};
  PW->ItemsRect = Rect(MenuCorner, MenuCorner, MenuWindowSize - MenuCorner, MenuWindowSize - MenuCorner);
  PW->LeftStretch = PW->TopStretch = PW->RightStretch = PW->BottomStretch = true;
  PW->ScrollMarkerColor = 0x404040;
  PW->ScrollMarkerActiveColor = 0x0000FF;

  // Normal entry, highlighted entry and divider stacked in one picture.
  auto Items = newSheet(MenuItemW, 2 * MenuItemH + MenuDividerH);
  drawSlices(Items->Canvas(), Rect(0, 0, MenuItemW, MenuItemH), MenuElement, MenuItemState, MenuCorner);
  drawSlices(Items->Canvas(), Rect(0, MenuItemH, MenuItemW, 2 * MenuItemH), MenuElement, MenuActiveItemState,
             MenuCorner);
  drawSlices(Items->Canvas(), Rect(0, 2 * MenuItemH, MenuItemW, 2 * MenuItemH + MenuDividerH), MenuElement,
             MenuDividerState, 2);
  SkinData->AddPicture(std::move(Items), "menuitem.bmp");
  const Integer Index = SkinData->GetIndex("menuitem");
  auto* MI = Index == -1 ? nullptr : dynamic_cast<TbsDataSkinMenuItem*>(SkinData->Objects(Index));
  if (MI == nullptr) return;
  MI->ActivePictureIndex = SkinData->PictureCount() - 1;
  MI->SkinRect = Rect(0, 0, MenuItemW, MenuItemH);
  MI->ActiveSkinRect = Rect(0, MenuItemH, MenuItemW, 2 * MenuItemH);
  MI->DividerRect = Rect(0, 2 * MenuItemH, MenuItemW, 2 * MenuItemH + MenuDividerH);
  MI->ItemLO = MI->ItemRO = MenuCorner;
  MI->DividerLO = MI->DividerRO = 2;
  MI->StretchEffect = MI->InActiveStretchEffect = MI->DividerStretchEffect = true;
  MI->TextRct = Rect(MenuCorner, 0, MenuItemW - MenuCorner, MenuItemH);
  MI->ImageRct = TRect{};
  MI->FontName = "Tahoma";
  MI->FontHeight = 13;
  MI->FontColor = 0x000000;
  MI->ActiveFontColor = 0xFFFFFF;
  MI->UnEnabledFontColor = 0x808080;
}

}  // namespace

int GeneratedSkinControlCount() {
  return ControlCount;
}
const char* GeneratedSkinControlName(int Index) {
  return ControlSpecs[Index].Name;
}
int GeneratedSkinObjectCount() {
  return ObjectCount;
}
const char* GeneratedSkinObjectName(int Index) {
  return ObjectSpecs[Index].Name;
}

Cardinal GeneratedSkinSliceColor(int Element, int State, int Slice) {
  // Element in red (steps of 4 keep 64 elements apart: controls from 0, caption buttons down from 62,
  // the frame 63), state in green, slice in blue; none is the
  // skin key colour (red 0x7F, blue 0x7F with green 0) because green is never 0.
  const Cardinal R = Cardinal(Element * 4) & 0xFF;
  const Cardinal G = Cardinal(16 + State * 40);
  const Cardinal B = Cardinal(8 + Slice * 24);
  return R | (G << 8) | (B << 16);
}

// What a skinned form's frame needs beyond the frame picture: the sizing hot spots of the corners, the
// mask's inner area, and caption buttons whose normal image is their own cell of the button sheet
// (so each button's normal, hovered and pressed looks can be told apart on the frame).
void addFormFrameElements(TbsSkinData* SkinData) {
  SkinData->HitTestLTPoint = TPoint{10, 10};
  SkinData->HitTestRTPoint = TPoint{FrameW - 10, 10};
  SkinData->HitTestLBPoint = TPoint{10, FrameH - 10};
  SkinData->HitTestRBPoint = TPoint{FrameW - 10, FrameH - 10};
  SkinData->MaskRectArea = Rect(4, CornerSize, FrameW - 4, FrameH - 4);
  SkinData->ButtonsOffset = 2;
  for (int e = 0; e < ObjectCount; ++e) {
    auto* R = dynamic_cast<TbsDataSkinStdButton*>(SkinData->Objects(SkinData->GetIndex(ObjectSpecs[e].Name)));
    if (R == nullptr || dynamic_cast<TbsDataSkinMainMenuBarButton*>(R) != nullptr) continue;
    R->SkinRect = Bounds(0, e * ButtonSize, ButtonSize, ButtonSize);
  }
}

void BuildGeneratedSkin(TbsSkinData* SkinData) {
  SkinData->ClearAll();
  SkinData->SkinName = "Nerivo";
  SkinData->SkinAuthor = "Nerivo";
  SkinData->SkinComments = "Generated by skingen";

  // The frame: its own nine slices, as element 63 so no control or caption button shares its colours.
  SkinData->FPicture = newSheet(FrameW, FrameH);
  drawSlices(SkinData->FPicture->Canvas(), Rect(0, 0, FrameW, FrameH), 63, 0, 24);
  SkinData->FPictureName = "frame.bmp";
  SkinData->LTPoint = TPoint{24, 24};
  SkinData->RTPoint = TPoint{FrameW - 24, 24};
  SkinData->LBPoint = TPoint{24, FrameH - 24};
  SkinData->RBPoint = TPoint{FrameW - 24, FrameH - 24};
  SkinData->ClRect = Rect(4, 24, FrameW - 4, FrameH - 4);
  SkinData->CaptionRect = Rect(8, 2, FrameW - 80, 22);
  SkinData->ButtonsRect = Rect(FrameW - 80, 2, FrameW - 4, 22);
  SkinData->BorderW = 4;
  SkinData->TopStretch = SkinData->LeftStretch = SkinData->RightStretch = SkinData->BottomStretch = true;
  SkinData->FormMinWidth = 120;
  SkinData->FormMinHeight = 60;

  auto Controls = newSheet(StateCount * CellW, ControlCount * CellH);
  for (int e = 0; e < ControlCount; ++e)
    for (int s = 0; s < StateCount; ++s) drawSlices(Controls->Canvas(), cellRect(e, s), e, s, CornerSize);
  SkinData->AddPicture(std::move(Controls), "controls.bmp");

  auto Buttons = newSheet(4 * ButtonSize, ObjectCount * ButtonSize);
  for (int e = 0; e < ObjectCount; ++e)
    for (int s = 0; s < 4; ++s)
      drawSlices(Buttons->Canvas(), Bounds(s * ButtonSize, e * ButtonSize, ButtonSize, ButtonSize), 62 - e, s,
                 4);
  SkinData->AddPicture(std::move(Buttons), "buttons.bmp");

  // Popup menus and hints take the control sheet's panel cell.
  SkinData->PopupWindow->WindowPictureIndex = 0;
  SkinData->PopupWindow->LTPoint = TPoint{CornerSize, CornerSize};
  SkinData->PopupWindow->RTPoint = TPoint{CellW - CornerSize, CornerSize};
  SkinData->PopupWindow->LBPoint = TPoint{CornerSize, CellH - CornerSize};
  SkinData->PopupWindow->RBPoint = TPoint{CellW - CornerSize, CellH - CornerSize};
  SkinData->PopupWindow->ItemsRect = Rect(CornerSize, CornerSize, CellW - CornerSize, CellH - CornerSize);
  SkinData->HintWindow->WindowPictureIndex = 0;
  SkinData->HintWindow->ClRect = SkinData->PopupWindow->ItemsRect;
  SkinData->SkinColors()->SetColorsToDefault();

  for (int e = 0; e < ObjectCount; ++e) SkinData->AddObject(makeObject(e));
  for (int e = 0; e < ControlCount; ++e) SkinData->AddCtrl(makeControl(e));
  addHintElements(SkinData);
  addFormFrameElements(SkinData);
  addPopupMenuElements(SkinData);
  SkinData->Empty = false;
}

String WriteSkinFolder(const String& Folder, TSkinBuilder Build) {
  TbsSkinData Skin(nullptr);
  Build(&Skin);
  const String FileName = IncludeTrailingPathDelimiter(Folder) + "skin.ini";
  Skin.StoreToDisk(FileName);
  return FileName;
}

void WriteSkinContainer(const String& FileName, TSkinBuilder Build) {
  TbsSkinData Skin(nullptr);
  Build(&Skin);
  Skin.SaveToCompressedFile(FileName);
}

String WriteGeneratedSkinFolder(const String& Folder) {
  return WriteSkinFolder(Folder, BuildGeneratedSkin);
}

void WriteGeneratedSkinContainer(const String& FileName) {
  WriteSkinContainer(FileName, BuildGeneratedSkin);
}
