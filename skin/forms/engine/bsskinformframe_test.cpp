// The engine across a skin's life: the skin-change announcements over a form and its controls, the
// window shape from the skin's mask, the frame as painted, the show fade-in and the inactive client
// panel.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsskinchangeable.h"
#include "skin/forms/engine/bsclientinactivepanel.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/frame/bsskinbuttonobjects.h"
#include "skin/forms/testkit/skinformtestaccess.h"

using namespace wintest;

namespace {

// A windowed control that writes what the skin-change walk tells it into a shared log.
class TLoggingSkinControl : public TCustomControl, public IbsSkinChangeable {
 public:
  TLoggingSkinControl(TComponent* AOwner, std::vector<String>* ALog, String AName)
      : TCustomControl(AOwner), Log(ALog), Tag(std::move(AName)) {}
  TbsSkinData* SkinData() const override { return Skin; }
  void BeforeChangeSkinData() override { Log->push_back(Tag + ".before"); }
  void ChangeSkinData() override { Log->push_back(Tag + ".change"); }
  TbsSkinData* Skin = nullptr;
  std::vector<String>* Log;
  String Tag;
};

// A plain box filled with one colour.
class TColourBox : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  TColor Fill = clRed;

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(ClientRect());
  }
};

class SkinFormFrameTest : public TSkinControlTest {
 protected:
  TbsSkinForm* MakeForm(TRect Bounds, TbsSkinData* S) {
    Form = NewForm(Bounds);
    Engine = new TbsSkinForm(Form);
    if (S != nullptr) Engine->SetSkinData(S);
    Pump();
    return Engine;
  }
  TLoggingSkinControl* Logger(TWinControl* Parent, const String& Name, TbsSkinData* S) {
    auto* C = new TLoggingSkinControl(Parent, &Log, Name);
    C->SetBounds(0, 0, 10, 10);
    C->SetParent(Parent);
    C->Skin = S;
    return C;
  }
  void LogEngine(TbsSkinForm* E, const String& Name) {
    E->OnBeforeChangeSkinData = [this, Name](TObject*) { Log.push_back(Name + ".OnBeforeChangeSkinData"); };
    E->OnChangeSkinData = [this, Name](TObject*) { Log.push_back(Name + ".OnChangeSkinData"); };
    E->OnAfterChangeSkinData = [this, Name](TObject*) { Log.push_back(Name + ".OnAfterChangeSkinData"); };
  }
  // The generated skin, stored as a container and loaded again (with its announcements).
  void ReloadSkin(TbsSkinData* S) {
    // One file per process: the tests of this program run side by side.
    const String File = (std::filesystem::temp_directory_path() /
                         ("nerivo_skinform_test_" + std::to_string(getpid()) + ".skn"))
                            .string();
    WriteGeneratedSkinContainer(File);
    S->LoadFromCompressedFile(File);
    std::filesystem::remove(File);
  }
  std::vector<TRect> Shape() { return Env.Backend().Native(Form->Handle())->Shape; }

  TForm* Form = nullptr;
  TbsSkinForm* Engine = nullptr;
  std::vector<String> Log;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Skin change

TEST_F(SkinFormFrameTest, SkinChangeReachesFrameAndControlsInOrder) {
  MakeForm(Rect(100, 100, 400, 300), Skin.get());
  LogEngine(Engine, "form");
  auto* Panel = NewControl<TColourBox>(Form, Bounds(0, 0, 100, 100));
  Logger(Panel, "inner", Skin.get());
  Logger(Form, "outer", Skin.get());
  Logger(Form, "otherskin", nullptr);
  ReloadSkin(Skin.get());
  const std::vector<String> Want = {
      // Controls: parents before children, children in Controls order (the panel came first).
      "inner.before", "outer.before", "form.OnBeforeChangeSkinData",
      // The frame is rebuilt before the controls take the new look.
      "form.OnChangeSkinData", "inner.change", "outer.change", "form.OnAfterChangeSkinData"};
  EXPECT_EQ(Log, Want);
  EXPECT_TRUE(Engine->Mode().SkinSupport);
  EXPECT_GT(Engine->ObjectCount(), 0);
}

TEST_F(SkinFormFrameTest, AnotherSkinsChangeOnlyReachesItsControls) {
  TbsSkinData Other(nullptr);
  BuildGeneratedSkin(&Other);
  MakeForm(Rect(100, 100, 400, 300), &Other);
  LogEngine(Engine, "form");
  Logger(Form, "mine", &Other);
  Logger(Form, "changed", Skin.get());
  const Integer Objects = Engine->ObjectCount();
  ReloadSkin(Skin.get());
  EXPECT_EQ(Log, (std::vector<String>{"changed.change", "form.OnAfterChangeSkinData"}));
  EXPECT_EQ(Engine->ObjectCount(), Objects) << "its own frame is left alone";
}

TEST_F(SkinFormFrameTest, ClearedSkinFallsBackToTheDefaultLook) {
  MakeForm(Rect(100, 100, 400, 300), Skin.get());
  EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 292, 172));
  Skin->ClearSkin();
  Pump();
  EXPECT_FALSE(Engine->Mode().SkinSupport);
  EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 294, 175));
  EXPECT_EQ(PaintedPixel(Form->Handle(), 0, 100), ColorToRGB(cl3DDkShadow));
}

TEST_F(SkinFormFrameTest, ClientSizePropertiesSurviveAThickerFrame) {
  Form = NewForm(Rect(100, 100, 400, 300));
  Engine = new TbsSkinForm(Form);
  Engine->SetClientWidth(350);
  Engine->SetClientHeight(230);
  Engine->SetSkinData(Skin.get());
  EXPECT_EQ(Form->ClientWidth(), 350);
  EXPECT_EQ(Form->ClientHeight(), 230);
}

TEST_F(SkinFormFrameTest, SkinThatDoesNotSkinFormsLeavesTheSystemFrame) {
  Skin->SetSkinnableForm(false);
  MakeForm(Rect(100, 100, 400, 300), Skin.get());
  EXPECT_FALSE(Engine->GetSkinnableForm());
  EXPECT_EQ(Engine->ObjectCount(), 0);
  EXPECT_TRUE(Form->BorderIcons().Contains(::biSystemMenu)) << "the system frame shows its own buttons";
  EXPECT_EQ(SendMessage(Form->Handle(), CM_QUERYSKINNEDFRAME, 0, 0), SkinnedFrameBySystem);
}

// ---------------------------------------------------------------------------------------------
// Window shape

TEST_F(SkinFormFrameTest, RegionFromTheMaskCutsTheCorners) {
  // The mask: black (inside) everywhere except a two-pixel step at the top corners.
  auto Mask = std::make_unique<TBitmap>();
  Mask->SetPixelFormat(pf24bit);
  Mask->SetSize(200, 120);
  Mask->Canvas()->Brush()->SetColor(clBlack);
  Mask->Canvas()->FillRect(Rect(0, 0, 200, 120));
  for (TPoint P : {TPoint{0, 0}, TPoint{1, 0}, TPoint{0, 1}, TPoint{199, 0}, TPoint{198, 0}, TPoint{199, 1}})
    Mask->Canvas()->SetPixels(P.X, P.Y, clWhite);
  Skin->FMask = std::move(Mask);
  MakeForm(Rect(100, 100, 400, 300), Skin.get());
  EXPECT_EQ(Shape(), (std::vector<TRect>{Rect(2, 0, 298, 1), Rect(1, 1, 299, 2), Rect(0, 2, 300, 200)}));
  // The shape follows a new size.
  Form->SetBounds(100, 100, 250, 150);
  Pump();
  EXPECT_EQ(Shape(), (std::vector<TRect>{Rect(2, 0, 248, 1), Rect(1, 1, 249, 2), Rect(0, 2, 250, 150)}));
}

TEST_F(SkinFormFrameTest, MasklessOrMisfitMaskGivesARectangle) {
  MakeForm(Rect(100, 100, 400, 300), Skin.get());
  EXPECT_EQ(Shape(), (std::vector<TRect>{Rect(0, 0, 300, 200)}));
  delete Form;
  auto Mask = std::make_unique<TBitmap>();
  Mask->SetSize(50, 50);
  Mask->Canvas()->Brush()->SetColor(clWhite);
  Mask->Canvas()->FillRect(Rect(0, 0, 50, 50));
  Skin->FMask = std::move(Mask);
  MakeForm(Rect(100, 100, 400, 300), Skin.get());
  EXPECT_EQ(Shape(), (std::vector<TRect>{Rect(0, 0, 300, 200)}));
}

// ---------------------------------------------------------------------------------------------
// Painted frame

TEST_F(SkinFormFrameTest, SkinnedFrameShowsTheFramePictureAndTheCaptionButtons) {
  MakeForm(Rect(100, 100, 400, 300), Skin.get());
  HWND H = Form->Handle();
  auto frame = [](int Slice) { return COLORREF(GeneratedSkinSliceColor(63, 0, Slice)); };
  EXPECT_EQ(PaintedPixel(H, 1, 1), frame(0));      // top-left corner
  EXPECT_EQ(PaintedPixel(H, 298, 198), frame(8));  // bottom-right corner
  EXPECT_EQ(PaintedPixel(H, 150, 199), frame(7));  // bottom edge, stretched
  EXPECT_EQ(PaintedPixel(H, 1, 100), frame(3));    // left edge
  // The close button in its own cell's colour, packed at the right of the buttons area.
  TbsActiveSkinObject* Close = Engine->Objects(Engine->GetIndex("closebutton"));
  const TRect R = Close->ObjectRect;
  EXPECT_EQ(R, Rect(280, 2, 296, 18));
  const int Row = 3;  // closebutton's row in the generated button sheet
  const TPoint Mid{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  EXPECT_EQ(PaintedPixel(H, Mid.X, Mid.Y), COLORREF(GeneratedSkinSliceColor(62 - Row, 0, 4)));
  // Another form takes the activation: the frame repaints with the inactive button picture, and
  // back again when this form is active once more.
  TForm* Other = NewForm(Rect(500, 100, 700, 300));
  Pump();
  ASSERT_FALSE(Form->Active());
  EXPECT_EQ(PaintedPixel(H, Mid.X, Mid.Y), COLORREF(GeneratedSkinSliceColor(62 - Row, 3, 4)));
  Form->SetFocus();
  Pump();
  EXPECT_EQ(PaintedPixel(H, Mid.X, Mid.Y), COLORREF(GeneratedSkinSliceColor(62 - Row, 0, 4)));
  delete Other;
}

TEST_F(SkinFormFrameTest, DefaultFrameRingsAndCaption) {
  MakeForm(Rect(100, 100, 400, 300), nullptr);
  Form->SetCaption("WWWW");
  Pump();
  HWND H = Form->Handle();
  EXPECT_EQ(PaintedPixel(H, 0, 50), ColorToRGB(cl3DDkShadow));
  EXPECT_EQ(PaintedPixel(H, 1, 50), ColorToRGB(clBtnFace));
  EXPECT_EQ(PaintedPixel(H, 2, 50), ColorToRGB(clBtnFace));
  // Some caption text pixel differs from the face in the caption's middle.
  bool Text = false;
  for (Integer X = 100; X < 200 && !Text; ++X)
    for (Integer Y = 5; Y < 20 && !Text; ++Y) Text = PaintedPixel(H, X, Y) != ColorToRGB(clBtnFace);
  EXPECT_TRUE(Text);
}

TEST_F(SkinFormFrameTest, FrameTooSmallForTheSkinIsNotPainted) {
  MakeForm(Rect(100, 100, 400, 300), Skin.get());
  TbsSkinFormTestAccess::Geometry(Engine).FormWidth = 50;  // a frame narrower than the skin's minimum
  TBitmap B;
  B.SetSize(300, 200);
  B.Canvas()->Brush()->SetColor(clWhite);
  B.Canvas()->FillRect(Rect(0, 0, 300, 200));
  Engine->PaintNCSkin(B.Canvas()->Handle(), true);
  EXPECT_EQ(B.Canvas()->Pixels(1, 1), clWhite);
}

// ---------------------------------------------------------------------------------------------
// Fade-in

TEST_F(SkinFormFrameTest, ShowFadeInTargets) {
  const struct {
    bool Blend, Animation;
    Byte Value;
    Byte FinalAlpha;
    bool StaysLayered;
  } Cases[] = {
      {false, true, 200, 255, false},  // animation alone fades to opaque
      {true, true, 10, 10, true},      // both: to the blend value
      {true, false, 255, 255, false},  // blend at 255: layering dropped
      {true, false, 120, 120, true},
  };
  for (const auto& C : Cases) {
    TForm* F;
    Application->CreateForm(F);
    F->SetBounds(100, 100, 300, 200);
    auto* E = new TbsSkinForm(F);
    E->SetAlphaBlendValue(C.Value);
    E->SetAlphaBlendAnimation(C.Animation);
    E->BeginLoading();  // as a stored layout sets it: takes effect at the first show
    E->SetAlphaBlend(C.Blend);
    E->EndLoading();
    F->Show();
    Pump();
    EXPECT_TRUE(GetWindowLong(F->Handle(), GWL_EXSTYLE) & LONG(WS_EX_LAYERED))
        << "transparent until the timer";
    AdvanceTime(Clock(), 20);
    Pump();
    Byte Alpha = 255;
    DWORD Flags = 0;
    const bool Layered = (GetWindowLong(F->Handle(), GWL_EXSTYLE) & LONG(WS_EX_LAYERED)) != 0;
    EXPECT_EQ(Layered, C.StaysLayered) << int(C.Value);
    if (Layered) {
      GetLayeredWindowAttributes(F->Handle(), nullptr, &Alpha, &Flags);
      EXPECT_EQ(Alpha, C.FinalAlpha) << int(C.Value);
    }
    delete F;
  }
}

// ---------------------------------------------------------------------------------------------
// Inactive client panel

TEST_F(SkinFormFrameTest, InactivePanelFreezesTheClientArea) {
  MakeForm(Rect(100, 100, 400, 300), nullptr);
  NewControl<TColourBox>(Form, Bounds(0, 0, 60, 60));
  Pump();
  const COLORREF Face = ColorToRGB(clBtnFace);
  for (TbsClientInActiveEffect Effect : {bsieSemiTransparent, bsieBlur}) {
    TbsClientInActivePanel Panel(nullptr);
    Panel.ShowPanel(Form, Effect);
    ASSERT_NE(Panel.Buffer(), nullptr);
    EXPECT_TRUE(Panel.Visible());
    EXPECT_EQ(Panel.BoundsRect(), Rect(0, 0, Form->ClientWidth(), Form->ClientHeight()));
    const COLORREF Inside = ColorToRGB(Panel.Buffer()->Canvas()->Pixels(20, 20));
    if (Effect == bsieBlur) {
      EXPECT_EQ(Inside, COLORREF(0x0000FF)) << "well inside the red area the blur keeps red";
      const COLORREF Edge = ColorToRGB(Panel.Buffer()->Canvas()->Pixels(60, 30));
      EXPECT_NE(Edge, COLORREF(0x0000FF));
      EXPECT_NE(Edge, Face);
    } else {
      // Red under the face at 170/255: a third of red, two thirds of the face.
      EXPECT_NEAR(int(Inside & 0xFF), (255 * 85 + int(Face & 0xFF) * 170) / 255, 2);
      EXPECT_NEAR(int((Inside >> 8) & 0xFF), (int((Face >> 8) & 0xFF) * 170) / 255, 2);
    }
    Panel.HidePanel();
    EXPECT_EQ(Panel.Buffer(), nullptr);
    EXPECT_FALSE(Panel.Visible());
    Panel.SetParent(nullptr);
  }
  Form->Hide();
  TbsClientInActivePanel Hidden(nullptr);
  Hidden.ShowPanel(Form, bsieBlur);
  EXPECT_EQ(Hidden.Buffer(), nullptr) << "an invisible form gets no picture";
  EXPECT_FALSE(Hidden.Visible());
}

TEST_F(SkinFormFrameTest, DeactivationCoversTheClientWhenAsked) {
  MakeForm(Rect(100, 100, 400, 300), nullptr);
  Engine->SetClientInActiveEffect(true);
  SendMessage(Form->Handle(), WM_NCACTIVATE, 0, 0);
  auto panelOf = [&]() -> TbsClientInActivePanel* {
    for (Integer i = 0; i < Engine->ComponentCount(); ++i)
      if (auto* P = dynamic_cast<TbsClientInActivePanel*>(Engine->Components(i))) return P;
    return nullptr;
  };
  ASSERT_NE(panelOf(), nullptr);
  EXPECT_TRUE(panelOf()->Visible());
  SendMessage(Form->Handle(), WM_NCACTIVATE, 1, 0);
  EXPECT_EQ(panelOf(), nullptr);
}

// ---------------------------------------------------------------------------------------------
// References that go

TEST_F(SkinFormFrameTest, FreedSkinLeavesTheDefaultFrame) {
  auto* Own = new TbsSkinData(nullptr);
  BuildGeneratedSkin(Own);
  MakeForm(Rect(100, 100, 400, 300), Own);
  ASSERT_GT(Engine->ObjectCount(), 0);
  delete Own;  // freed without announcing anything
  EXPECT_EQ(Engine->SkinData(), nullptr);
  SendMessage(Form->Handle(), WM_NCPAINT, 0, 0);
  EXPECT_EQ(PaintedPixel(Form->Handle(), 0, 100), ColorToRGB(cl3DDkShadow));
  EXPECT_EQ(SendMessage(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(200, 110)), LRESULT(HTCAPTION));
}

// ---------------------------------------------------------------------------------------------
// Menu mode and activation events

TEST_F(SkinFormFrameTest, MenuModeEndsWhenTheChainCloses) {
  MakeForm(Rect(100, 100, 400, 300), Skin.get());
  Engine->OnSkinMenuOpen = [&](TObject*) { Log.push_back("open"); };
  Engine->OnSkinMenuClose = [&](TObject*) { Log.push_back("close"); };
  Engine->SkinMenuOpen();
  Engine->SkinMenuOpen();  // already open: nothing
  EXPECT_TRUE(Engine->Mode().InMenu);
  // The frame button that opened a menu is held down until the menu closes.
  auto* B = dynamic_cast<TbsSkinButtonObject*>(Engine->Objects(Engine->GetIndex("closebutton")));
  ASSERT_NE(B, nullptr);
  TMenuItem Items(nullptr);
  B->MenuItem = &Items;
  B->FDown = true;
  SendMessage(Form->Handle(), WM_CLOSESKINMENU, 0, 0);
  EXPECT_FALSE(Engine->Mode().InMenu);
  EXPECT_FALSE(B->FDown);
  EXPECT_EQ(Log, (std::vector<String>{"open", "close"}));
  B->MenuItem = nullptr;
}

TEST_F(SkinFormFrameTest, ActivationLogFollowTheForm) {
  MakeForm(Rect(100, 100, 400, 300), Skin.get());
  Engine->OnActivate = [&](TObject*) { Log.push_back("activate"); };
  Engine->OnDeActivate = [&](TObject*) { Log.push_back("deactivate"); };
  TForm* Other = NewForm(Rect(500, 100, 700, 300));
  Pump();
  ASSERT_FALSE(Log.empty());
  EXPECT_EQ(Log.back(), "deactivate");
  Log.clear();
  Form->SetFocus();
  Pump();
  ASSERT_FALSE(Log.empty());
  EXPECT_EQ(Log.back(), "activate");
  delete Other;
}

TEST_F(SkinFormFrameTest, ShadowGoesIntoTheWindowClass) {
  MakeForm(Rect(100, 100, 400, 300), nullptr);
  Engine->EnableShadow(true, true);
  EXPECT_TRUE(GetClassLongPtr(Form->Handle(), GCL_STYLE) & CS_DROPSHADOW);
  EXPECT_TRUE(Form->Visible());
  Engine->EnableShadow(false, false);
  EXPECT_FALSE(GetClassLongPtr(Form->Handle(), GCL_STYLE) & CS_DROPSHADOW);
}
