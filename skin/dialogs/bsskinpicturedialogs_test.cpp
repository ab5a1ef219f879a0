#include "skin/dialogs/bsskinpicturedialogs.h"

#include <gtest/gtest.h>

#include "platform/rtl/files.h"
#include "platform/shell/testkit/tempfolder.h"
#include "platform/ui/core/application.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/graphics/pngimage.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/boxes/scroll/bsskinscrollbox.h"
#include "skin/controls/bars/bsskintoolbar.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/controls/buttons/bsskinspeedbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/panels/bsskinsplitter.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bspngimagelist.h"
#include "skin/dialogs/bsskinmessage.h"
#include "skin/shell/bsshelllistview.h"

namespace {

class PictureDialogTest : public shelltest::TTempFolderTestOf<TSkinControlTest> {
 protected:
  void SetUp() override {
    shelltest::TTempFolderTestOf<TSkinControlTest>::SetUp();
    SetTestFontMode(true);
    Dlg = std::make_unique<TbsSkinOpenPictureDialog>(nullptr);
    Dlg->SetInitialDir(Dir);
    Dlg->SetFilter("All|*.*");
  }
  void TearDown() override {
    Dlg.reset();
    SetTestFontMode(false);
    shelltest::TTempFolderTestOf<TSkinControlTest>::TearDown();
  }

  // A PNG of W x H in one colour.
  void MakePng(const String& Name, Integer W, Integer H, TColor Colour = TColor(0x2020E0)) const {
    TPngImage Png;
    Png.CreateBlank(2 /* true colour */, 8, Cardinal(W), Cardinal(H));
    for (Integer Y = 0; Y < H; ++Y)
      for (Integer X = 0; X < W; ++X) Png.SetPixels(X, Y, Colour);
    Png.SaveToFile(Path(Name));
  }
  void MakeBmp(const String& Name, Integer W, Integer H) const {
    TBitmap B;
    B.SetSize(W, H);
    B.SaveToFile(Path(Name));
  }

  TbsOpenPictureDlgForm* Form() const { return Dlg->PictureForm(); }
  TbsCustomShellListView* List() const { return Form()->FileListView; }
  void Select(const String& Name) const {
    for (Integer I = 0; I < List()->FolderCount(); ++I)
      if (List()->Folders(I)->DisplayName() == Name) return List()->SetItemIndex(I);
    ADD_FAILURE() << Name;
  }
  TPoint ImageSize() const { return TPoint{Form()->Image->Width(), Form()->Image->Height()}; }
  bool Run(std::function<void()> Step) {
    wintest::OnNextModalLoop([this, Step] {
      Step();
      if (Dlg->DlgFrm() != nullptr && Form()->ModalResult() == mrNone) Form()->SetModalResult(mrCancel);
    });
    return Dlg->Execute();
  }

  std::unique_ptr<TbsSkinOpenPictureDialog> Dlg;
};

TEST_F(PictureDialogTest, Defaults) {
  TbsSkinOpenPictureDialog Open(nullptr);
  EXPECT_EQ(Open.Title(), "Open picture");
  EXPECT_EQ(Open.Filter(),
            "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
            "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");
  EXPECT_EQ(Open.AlphaBlendValue(), 200);
  EXPECT_EQ(Open.CtrlAlphaBlendValue(), 225);
  EXPECT_FALSE(Open.StretchPicture());
  EXPECT_EQ(Open.ImagePanelWidth, 190);
  EXPECT_FALSE(Open.DialogStretch);
  EXPECT_TRUE(Open.CheckFileExists());
  TbsSkinSavePictureDialog Save(nullptr);
  EXPECT_EQ(Save.Title(), "Save file");
  // The file name is a plain field: no form to write into, nothing else changes.
  Save.SetFileName("a.bmp");
  EXPECT_EQ(Save.FileName(), "a.bmp");
}

TEST_F(PictureDialogTest, TheFormAddsThePreviewAndTheStretchButtonAndFixesTheBottomRow) {
  std::unique_ptr<TbsOpenPictureDlgForm> F(
      new TbsOpenPictureDlgForm(nullptr, false, nullptr, false, nullptr));
  F->HandleNeeded();
  EXPECT_EQ(F->PngImgList->Count(), 5);
  EXPECT_EQ(F->StretchButton->Hint(), "Stretch Picture");
  EXPECT_EQ(F->StretchButton->ImageIndex(), 4);
  EXPECT_EQ(F->StretchButton->GroupIndex(), 2);
  EXPECT_TRUE(F->StretchButton->AllowAllUp());
  EXPECT_EQ(F->StretchButton->BoundsRect().Right, F->ToolPanel->ClientWidth()) << "rightmost";
  EXPECT_EQ(F->StretchButton->Left(), F->StyleToolButton->BoundsRect().Right);
  EXPECT_EQ(F->ImagePanel->Width(), 200);
  EXPECT_EQ(F->ImagePanel->BoundsRect().Right, F->ClientWidth());
  EXPECT_EQ(F->ImagePanel->Top(), F->ToolPanel->Height());
  EXPECT_EQ(F->ImagePanel->BoundsRect().Bottom, F->BottomPanel->Top());
  EXPECT_EQ(F->Splitter->BoundsRect().Right, F->ImagePanel->Left());
  EXPECT_EQ(F->Splitter->Width(), 10);
  EXPECT_EQ(F->FileListViewPanel->BoundsRect().Right, F->Splitter->Left());
  EXPECT_EQ(F->ScrollBox->HScrollBar(), F->SBHScrollBar);
  EXPECT_EQ(F->ScrollBox->VScrollBar(), F->SBVScrollBar);
  const TRect Edit = F->FileNameEdit->BoundsRect(), Cancel = F->CancelButton->BoundsRect();
  // From 70 (or right of a wider label) to 350.
  EXPECT_GE(Edit.Left, 70);
  EXPECT_LT(F->OpenFileLabel->BoundsRect().Right, Edit.Left);
  EXPECT_EQ(Edit, Rect(Edit.Left, 10, 350, 10 + Edit.Height()));
  EXPECT_EQ(Cancel, Bounds(370, 45, 70, 25));
  F->SetClientWidth(F->ClientWidth() + 120);
  EXPECT_EQ(F->FileNameEdit->BoundsRect(), Edit) << "fixed places when the form grows";
  EXPECT_EQ(F->CancelButton->BoundsRect(), Cancel);
}

TEST_F(PictureDialogTest, ChoosingAFileShowsItAtItsOwnSizeAndAFolderEmptiesThePreview) {
  MakePng("red.png", 40, 30);
  MakeBmp("wide.bmp", 300, 20);
  MakeDir("sub");
  std::vector<TPoint> Sizes;
  std::vector<String> Edits;
  TPoint Client{};
  Integer PanelWidth = 0;
  Run([&] {
    Client = TPoint{Form()->ClientWidth(), Form()->ClientHeight()};
    PanelWidth = Form()->ImagePanel->Width();
    for (const char* N : {"red.png", "wide.bmp", "sub"}) {
      Select(N);
      Sizes.push_back(ImageSize());
      Edits.push_back(Form()->FileNameEdit->Text());
    }
    Dlg->SetFileName("not.written");
    Edits.push_back(Form()->FileNameEdit->Text());
  });
  EXPECT_EQ(Client, (TPoint{550, 290}));
  EXPECT_EQ(PanelWidth, 190);
  EXPECT_EQ(Sizes, (std::vector<TPoint>{{40, 30}, {300, 20}, {0, 0}}));
  EXPECT_EQ(Edits, (std::vector<String>{"red.png", "wide.bmp", "", ""})) << "no write-through of FileName";
}

TEST_F(PictureDialogTest, AnUnreadableFileSaysWhyAndKeepsThePreviousPicture) {
  MakePng("good.png", 40, 30);
  MakeFile("notes.txt", "plain text");
  MakeFile("broken.png", "not a picture at all");
  struct TCase {
    const char* Name;
    String Said;  // empty: any error text
  };
  const TCase Cases[] = {{"notes.txt", "Unknown picture file extension (.txt)"}, {"broken.png", ""}};
  for (const TCase& C : Cases) {
    String Said;
    TPoint Kept{};
    bool Usable = false;
    Run([&] {
      Select("good.png");
      try {
        Select(C.Name);
      } catch (const Exception& E) {
        Said = E.Message();
      }
      Kept = ImageSize();
      Select("good.png");
      Usable = Form()->FileNameEdit->Text() == "good.png" && ImageSize() == TPoint{40, 30};
    });
    if (C.Said.empty())
      EXPECT_FALSE(Said.empty()) << C.Name;
    else
      EXPECT_EQ(Said, C.Said);
    EXPECT_EQ(Kept, (TPoint{40, 30})) << C.Name;
    EXPECT_EQ(Form(), nullptr);
    EXPECT_TRUE(Usable) << C.Name;
  }
}

TEST_F(PictureDialogTest, AnUnreadableClickedFileGoesToTheErrorReporting) {
  MakeFile("clip.emf", "x");
  std::vector<String> Reported;
  Application->OnException = [&](TObject*, const Exception& E) { Reported.push_back(E.Message()); };
  bool StayedOpen = false;
  Run([&] {
    Integer I = 0;
    while (List()->Folders(I)->DisplayName() != "clip.emf") ++I;
    const TRect R = List()->Items()->Item(I)->DisplayRect(drLabel);
    wintest::Click(wintest::ScreenPoint(List()->Handle(), R.Left + 3, R.Top + 3));
    WinProcessMessages();
    StayedOpen = Form()->ModalResult() == mrNone;
  });
  Application->OnException = nullptr;
  EXPECT_EQ(Reported, (std::vector<String>{"Unknown picture file extension (.emf)"}));
  EXPECT_TRUE(StayedOpen);
}

TEST_F(PictureDialogTest, StretchFitsThePictureAndIsRememberedWithThePanelWidth) {
  MakePng("big.png", 400, 300);
  TPoint Stretched{}, Box{}, Own{};
  Run([&] {
    Select("big.png");
    Form()->StretchButton->SetDown(true);
    Form()->StretchButtonClick(Form()->StretchButton);
    Stretched = ImageSize();
    Box = TPoint{Form()->ScrollBox->ClientWidth(), Form()->ScrollBox->ClientHeight()};
    Form()->StretchButton->SetDown(false);
    Form()->StretchButtonClick(Form()->StretchButton);
    Own = ImageSize();
    // Closing stretched, with the preview widened by dragging the splitter 110 pixels to the left.
    Form()->StretchButton->SetDown(true);
    Form()->StretchButtonClick(Form()->StretchButton);
    TbsSkinSplitter* S = Form()->Splitter;
    const TPoint From = wintest::ScreenPoint(Form()->Handle(), S->Left() + 5, S->Top() + 40);
    wintest::MouseDown(From);
    WinProcessMessages();
    wintest::MouseMove(TPoint{From.X - 60, From.Y});
    WinProcessMessages();
    wintest::MouseMove(TPoint{From.X - 110, From.Y});
    WinProcessMessages();
    wintest::MouseUp(TPoint{From.X - 110, From.Y});
    WinProcessMessages();
  });
  EXPECT_EQ(Stretched, Box);
  EXPECT_EQ(Own, (TPoint{400, 300}));
  EXPECT_TRUE(Dlg->DialogStretch);
  EXPECT_EQ(Dlg->ImagePanelWidth, 300);

  bool StartsDown = false, Fills = false;
  Integer Width = 0;
  Run([&] {
    StartsDown = Form()->StretchButton->Down();
    Fills = Form()->Image->Stretch() && Form()->Image->Align() == alClient;
    Width = Form()->ImagePanel->Width();
  });
  EXPECT_TRUE(StartsDown);
  EXPECT_TRUE(Fills);
  EXPECT_EQ(Width, 300);
}

TEST_F(PictureDialogTest, StretchPictureStartsStretchedEvenWhenTheLastRunWasNot) {
  Dlg->SetStretchPicture(true);
  bool StartsDown = false;
  Run([&] { StartsDown = Form()->StretchButton->Down(); });
  EXPECT_TRUE(StartsDown);
  EXPECT_TRUE(Dlg->DialogStretch);
}

TEST_F(PictureDialogTest, TheProposedFileIsPreviewedAndABrokenOneFailsBeforeShowing) {
  MakePng("start.png", 25, 15);
  Dlg->SetFileName(Path("start.png"));
  TPoint Size{};
  String Edit;
  Run([&] {
    Size = ImageSize();
    Edit = Form()->FileNameEdit->Text();
  });
  EXPECT_EQ(Size, (TPoint{25, 15}));
  EXPECT_EQ(Edit, "start.png");

  MakeFile("broken.bmp", "BMnonsense");
  Dlg->SetFileName(Path("broken.bmp"));
  bool ClosedWithForm = false;
  Dlg->OnClose = [&](TObject*) { ClosedWithForm = Dlg->DlgFrm() != nullptr; };
  const Integer Before = Application->ComponentCount();
  EXPECT_THROW(Dlg->Execute(), Exception);  // no modal loop: it fails before showing
  EXPECT_TRUE(ClosedWithForm);
  EXPECT_EQ(Dlg->DlgFrm(), nullptr);
  EXPECT_EQ(Application->ComponentCount(), Before);
}

TEST_F(PictureDialogTest, SaveDialogCompletesWithTheFilterExtensionAndAsksBeforeOverwriting) {
  MakeBmp("x.bmp", 4, 4);
  auto Save = std::make_unique<TbsSkinSavePictureDialog>(nullptr);
  Save->SetInitialDir(Dir);
  Save->SetOverwritePromt(true);
  Dlg = std::move(Save);
  String Asked;
  const bool R = Run([&] {
    Form()->FileNameEdit->SetText("x");
    wintest::OnNextModalLoop([&] {
      auto* Box = dynamic_cast<TbsMessageForm*>(FindControl(GetActiveWindow()));
      if (Box == nullptr) return;
      Asked = Box->Message->Caption();
      Box->SetModalResult(mrOk);
    });
    Form()->OpenButtonClick(nullptr);
  });
  EXPECT_TRUE(R);
  EXPECT_EQ(Asked, "Do you want to overwrite old file?");
  EXPECT_EQ(Dlg->FileName(), Path("x.bmp"));
}

}  // namespace
