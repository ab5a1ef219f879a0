// Row selection and the in-place rename, the menus with their own handlers, help, and the skin choice.
#include <algorithm>

#include "app/formats/jobrow.h"
#include "app/main/about/aboutbox.h"
#include "app/main/mainform/mainform.h"
#include "app/main/mainform/makecontrol.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/files.h"
#include "platform/rtl/strings.h"
#include "platform/shell/shellopen.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/picture.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/button.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/boxes/office/bsskinofficeitems.h"
#include "skin/controls/bars/bsskinslider.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/panels/bsskinsplitter.h"
#include "skin/controls/views/bsskinlistview.h"
#include "skin/core/bsskincontainer.h"
#include "skin/core/bsskindata.h"
#include "skin/dialogs/bsskinmessage.h"
#include "skin/dialogs/bsskinselectskindialog.h"

namespace {

// The tool bar: 选项 follows 清空 behind a divider.
constexpr Integer ToolBarH = 69;
constexpr Integer ToolButtonSize = 56;
constexpr Integer DividerLeft = 208;
constexpr Integer OptionsLeft = 218;
// Told to the rename box once the focus has settled after a refused name.
constexpr UINT WM_RENAMEREFUSED = WM_APP + 121;

// A column's width; a column the list does not have counts 0.
Integer ColumnWidth(TCustomListView* List, Integer Index) {
  return Index < List->Columns()->Count() ? List->Column(Index)->Width() : 0;
}

}  // namespace

void TForm1::createMenuControls() {
  bsSkinBevel1 = Make<TbsSkinBevel>(this, ToolBarPanel, "bsSkinBevel1");
  bsSkinButton19 = Make<TbsSkinButton>(this, ToolBarPanel, "bsSkinButton19");
  // On a hidden panel off the client area, as the layout keeps it.
  bsSkinButton9 =
      Make<TbsSkinButton>(this, dynamic_cast<TWinControl*>(FindComponent("Panel4")), "bsSkinButton9");
  edt = Make<TbsSkinEdit>(this, lvFiles, "edt");
  bsCompressedSkinList1 = new TbsCompressedSkinList(this);
  bsCompressedSkinList1->SetName("bsCompressedSkinList1");
  bsSelectSkinDialog1 = new TbsSelectSkinDialog(this);
  bsSelectSkinDialog1->SetName("bsSelectSkinDialog1");

  TbsSkinData* Skin = bsSkinData1;
  bsSkinBevel1->SetDividerMode(true);
  bsSkinBevel1->SetShape(bsLeftLine);
  bsSkinBevel1->SetSkinData(Skin);
  bsSkinBevel1->SetBounds(DividerLeft, 12, 2, ToolBarH - 24);
  bsSkinButton19->SetCaption("选项");
  bsSkinButton19->SetLayout(blGlyphTop);
  bsSkinButton19->SetSkinData(Skin);
  bsSkinButton19->SetBounds(OptionsLeft, (ToolBarH - ToolButtonSize) / 2, ToolButtonSize, ToolButtonSize);
  bsSkinButton9->SetCaption("皮肤");
  bsSkinButton9->SetSkinData(Skin);
  bsSkinButton9->SetBounds(0, 0, 75, 25);

  edt->SetVisible(false);
  edt->SetSkinData(Skin);
  TWndMethod EditProc = edt->WindowProc;
  edt->WindowProc = [this, EditProc](TMessage& Message) {
    if (Message.Msg == WM_RENAMEREFUSED) {
      bsSkinMessage1->MessageDlg2(FRenameRefusal, "提示", mtWarning, {mbOK}, 0);
      // Back to the box, so that the next keys correct the name instead of going nowhere; as the
      // window's own choice too, so an activation still to come from the box's going lands there.
      if (edt->Visible()) {
        focusInWindow(edt);
        edt->SelectAll();
      }
    } else
      EditProc(Message);
  };

  // The product skin is the one skin the chooser offers.
  TbsSkinListItem* Product = bsCompressedSkinList1->Skins()->Add();
  Product->SetDescription("Nerivo");
  try {
    if (FileExists(FSkinFile)) Product->Skin()->LoadFromCompressFile(FSkinFile);
  } catch (const Exception&) {
  }
  bsSelectSkinDialog1->SetTitle("Select skin");
  bsSelectSkinDialog1->SetSkinList(bsCompressedSkinList1);
  bsSelectSkinDialog1->SetSkinData(Skin);
  bsSelectSkinDialog1->SetCtrlSkinData(Skin);

  // A missing picture leaves the button with its caption only.
  try {
    const String Glyph = ExtractFilePath(FSkinFile) + "glyphs/options-24.png";
    if (FileExists(Glyph)) {
      TPicture P;
      P.LoadFromFile(Glyph);
      TBitmap B;
      B.Assign(P.Graphic());
      bsSkinButton19->SetGlyph(&B);
    }
  } catch (const Exception&) {
  }
}

void TForm1::bindMenuHandlers() {
  lvFiles->OnSelectItem = [this](TObject* Sender, TListItem* Item, bool Selected) {
    lvFilesSelectItem(Sender, Item, Selected);
  };
  lvFiles->OnDblClick = [this](TObject* Sender) { lvFilesDblClick(Sender); };
  lvFiles->OnClick = [this](TObject* Sender) { lvFilesClick(Sender); };
  bsSkinButton21->OnClick = [this](TObject* Sender) { bsSkinButton21Click(Sender); };
  edt->OnExit = [this](TObject* Sender) { edtExit(Sender); };
  edt->OnKeyDown = [this](TObject* Sender, Word& Key, TShiftState Shift) { edtKeyDown(Sender, Key, Shift); };
  Video_OutPut_Folder_Edit->OnClick = [this](TObject* Sender) { Video_OutPut_Folder_EditClick(Sender); };
  bsSkinButton19->OnClick = [this](TObject* Sender) { bsSkinButton19Click(Sender); };
  bsSkinButton9->OnClick = [this](TObject* Sender) { bsSkinButton9Click(Sender); };
  Button4->OnClick = [this](TObject* Sender) { Button4Click(Sender); };

  // Items that run another command run its routine button or skin button, so they do what the button
  // does, whoever binds it.
  auto runs = [](TMenuItem* Item, TControl* Button) {
    Item->OnClick = [Button](TObject*) { Button->Click(); };
  };
  runs(Item111, btnAdd);
  runs(Item121, Button8);
  runs(N11111, btnAdd);
  runs(N13, bsSkinButton7);
  runs(N14, bsSkinButton8);
  runs(N7, bsSkinButton2);
  runs(N8, bsSkinButton10);
  runs(N10, bsSkinButton11);
  runs(N11, bsSkinButton12);
  runs(N111, bsSkinButton3);
  runs(N2221, bsSkinButton4);

  struct TItemHandler {
    TMenuItem* Item;
    void (TForm1::*Handler)(TObject*);
  };
  for (const TItemHandler& H :
       {TItemHandler{N21, &TForm1::N21Click}, TItemHandler{N4, &TForm1::N4Click},
        TItemHandler{N26, &TForm1::N26Click}, TItemHandler{N24, &TForm1::N24Click},
        TItemHandler{N15, &TForm1::N15Click}, TItemHandler{N19, &TForm1::N19Click},
        TItemHandler{EMAIL1, &TForm1::EMAIL1Click}, TItemHandler{N5, &TForm1::N5Click},
        TItemHandler{N2222, &TForm1::N2222Click}, TItemHandler{N3331, &TForm1::N3331Click}})
    H.Item->OnClick = [this, Handler = H.Handler](TObject* Sender) { (this->*Handler)(Sender); };
}

// ---- row selection ----

void TForm1::lvFilesSelectItem(TObject*, TListItem*, bool) {
  const Integer Index = lvFiles->ItemIndex();
  if (Index < 0) return;
  TListItem* Row = lvFiles->Items()->Item(Index);
  // The choosers show the row's own choice; the row, its name and its slot stay as they are. A row
  // whose codes do not read ends the handler where it stands, without a message.
  if (!showRowChoices(Row)) return;
  bsSkinSlider1->SetValue(0);
  T_Movie_PLayer_FileName = Row->Caption();
  Button31->Click();
}

// ---- in-place rename ----

void TForm1::bsSkinButton21Click(TObject*) {
  if (lvFiles->ItemIndex() < 0) {
    bsSkinMessage1->MessageDlg2("请先选中您需要重命名的项目！", "提示", mtInformation, {mbOK}, 0);
    return;
  }
  startRename();
}

void TForm1::N26Click(TObject* Sender) {
  bsSkinButton21Click(Sender);
}

void TForm1::lvFilesClick(TObject*) {
  if (lvFiles->Selected() == nullptr) RIVodero->Stop(true);
}

void TForm1::lvFilesDblClick(TObject*) {
  if (lvFiles->ItemIndex() >= 0) startRename();
}

void TForm1::startRename() {
  FRenameRow = lvFiles->ItemIndex();
  TListItem* Row = lvFiles->Items()->Item(FRenameRow);
  Row->MakeVisible(false);
  edt->SetParent(lvFiles);
  const Integer Left = ColumnWidth(lvFiles, 0) + ColumnWidth(lvFiles, 1) + ColumnWidth(lvFiles, 2) + 3;
  // The box stays inside the list: a name column running past the list's right edge is cut there.
  const Integer Width = std::max(0, std::min(ColumnWidth(lvFiles, 3), lvFiles->ClientWidth() - Left));
  // The skinned edit keeps the height of its skin's edit, which is the product look's row height.
  edt->SetBounds(Left, Row->Top(), Width, edt->Height());
  edt->SetText(ChangeFileExt(JobCell(Row, colOutputFile), ""));
  edt->Show();
  edt->SetFocus();
}

String TForm1::refusedOutputName(const String& Name, Integer Row) const {
  return RefusedJobOutputName(lvFiles->Items(), lvFiles->Items()->Item(Row), Name, OutputFolder(),
                              OverwriteOutput());
}

void TForm1::edtKeyDown(TObject*, Word& Key, TShiftState) {
  if (Key != VK_RETURN && Key != VK_ESCAPE) return;
  FRenameCancelled = Key == VK_ESCAPE;
  Key = 0;
  lvFiles->SetFocus();
}

void TForm1::edtExit(TObject*) {
  const Integer Index = FRenameRow < lvFiles->Items()->Count() ? FRenameRow : -1;
  if (Index < 0 || FRenameCancelled) {
    // Cancelled, or the row went while the name was being edited: nothing to rename.
    FRenameCancelled = false;
    edt->Hide();
    return;
  }
  TListItem* Row = lvFiles->Items()->Item(Index);
  // The extension the row's format gave its name stays: the container is the format's.
  const String Extension = ExtractFileExt(JobCell(Row, colOutputFile));
  // A refused name leaves the row as it was and the box open for another try.
  const String Typed = edt->Text();
  const String NewName = Typed.empty() ? Typed : Typed + Extension;
  if (String Refusal = refusedOutputName(NewName, Index); !Refusal.empty()) {
    // Said once the focus has moved on: a box shown inside the move would take the focus back and
    // the box would lose it again, without end.
    FRenameRefusal = std::move(Refusal);
    PostMessage(edt->Handle(), WM_RENAMEREFUSED, 0, 0);
    return;
  }
  const bool Renamed = JobCell(Row, colOutputFile) != NewName;
  SetJobCell(Row, colOutputFile, NewName);
  edt->Hide();
  if (Index < OptionSlotCount) OO1[Index].FileName = OutputFolder() + "/" + NewName;
  if (Renamed) refreshTaskOutput(Row);
}

// ---- menus ----

void TForm1::N4Click(TObject*) {
  Close();
}

void TForm1::N21Click(TObject*) {
  Button12->Click();
}

void TForm1::N2222Click(TObject*) {
  Button8->Click();
}

void TForm1::N3331Click(TObject*) {
  Button12->Click();
}

void TForm1::N24Click(TObject* Sender) {
  bsSkinSpeedButton1Click(Sender);
}

void TForm1::bsSkinButton19Click(TObject* Sender) {
  bsSkinSpeedButton1Click(Sender);
}

void TForm1::N5Click(TObject*) {
  if (Form2 != nullptr) Form2->ShowModal();
}

void TForm1::N15Click(TObject*) {
  ShellOpen(ProductQuestionPage);
}

void TForm1::N19Click(TObject*) {
  ShellOpen(ProductHomePage);
}

void TForm1::EMAIL1Click(TObject*) {
  ShellOpen(String("mailto:") + ProductSupportMail);
}

void TForm1::Video_OutPut_Folder_EditClick(TObject*) {
  lvFiles->SetFocus();
}

// ---- skin choice ----

void TForm1::Button4Click(TObject*) {
  FOptionFile.Write(SkinSection, SetSkinKey, IntToStr(bsSkinData1->SkinIndex()));
}

void TForm1::bsSkinButton9Click(TObject*) {
  if (bsSelectSkinDialog1->Execute(bsSkinData1->SkinIndex())) {
    const Integer Chosen = bsSelectSkinDialog1->SelectedSkinIndex();
    TbsSkinListItems* Skins = bsCompressedSkinList1->Skins();
    // The same index changes nothing; an index the list lacks is ignored, as the skin data does.
    if (Chosen != bsSkinData1->SkinIndex() && Chosen >= 0 && Chosen < Skins->Count()) {
      try {
        bsSkinData1->LoadCompressedStoredSkin(Skins->GetItem(Chosen)->Skin());
        bsSkinData1->SetSkinIndex(Chosen);
      } catch (const Exception&) {
        // The chooser offers only skins it could read; one that still fails keeps the skin shown.
      }
    }
  }
  Button4->Click();
}

void TForm1::N23Click(TObject* Sender) {
  bsSkinButton9Click(Sender);
}
