#include "platform/ui/extctrls/splitter.h"

#include "platform/ui/core/form.h"
#include "platform/ui/testkit/stdcontrolstest.h"

namespace {

// A 300 x 100 parent: a neighbour of 100 aligned against a 3-pixel splitter, the rest filled.
class SplitterTest : public TStdControlsTest {
 protected:
  void Build(TAlign Align) {
    Form = NewForm();
    Parent = NewControl<TCustomControl>(Form, Bounds(0, 0, 300, 100));
    Parent->DisableAlign();
    Rest = NewControl<TCustomControl>(Parent, Bounds(0, 0, 10, 10));
    Rest->SetAlign(alClient);
    const bool Horz = Align == alTop || Align == alBottom;
    // The neighbour first, then the splitter beyond it, as a builder places them.
    Neighbour = NewControl<TCustomControl>(Parent, Horz ? Bounds(0, Align == alTop ? 0 : 60, 300, 40)
                                                        : Bounds(Align == alLeft ? 0 : 200, 0, 100, 100));
    Neighbour->SetAlign(Align);
    Split = new TSplitter(Parent);
    Split->SetAlign(Align);
    Split->SetBounds(Align == alLeft    ? 100
                     : Align == alRight ? 197
                                        : 0,
                     Align == alTop      ? 40
                     : Align == alBottom ? 57
                                         : 0,
                     Horz ? 300 : 3, Horz ? 3 : 100);
    Split->SetParent(Parent);
    Parent->EnableAlign();
    Split->OnMoved = [this](TObject*) { ++Moved; };
  }
  Integer Size() const {
    return Neighbour->Align() == alTop || Neighbour->Align() == alBottom ? Neighbour->Height()
                                                                         : Neighbour->Width();
  }
  // Drags the splitter by Delta along its axis in four steps; Release lets go at the end point.
  void Drag(Integer Delta, bool Release = true) {
    const bool Horz = Split->Align() == alTop || Split->Align() == alBottom;
    TPoint Start = Middle(Split);
    wintest::MouseDown(Start);
    for (Integer Step = 1; Step <= 4; ++Step) {
      Integer D = Delta * Step / 4;
      wintest::MouseMove(Horz ? TPoint{Start.X, Start.Y + D} : TPoint{Start.X + D, Start.Y});
    }
    End = Horz ? TPoint{Start.X, Start.Y + Delta} : TPoint{Start.X + Delta, Start.Y};
    if (Release) wintest::MouseUp(End);
  }
  TPoint End;
  TForm* Form = nullptr;
  TCustomControl *Parent = nullptr, *Neighbour = nullptr, *Rest = nullptr;
  TSplitter* Split = nullptr;
  Integer Moved = 0;
};

TEST_F(SplitterTest, StartsBesideItsNeighbour) {
  Build(alLeft);
  EXPECT_EQ(Neighbour->BoundsRect(), Bounds(0, 0, 100, 100));
  EXPECT_EQ(Split->BoundsRect(), Bounds(100, 0, 3, 100));
  EXPECT_EQ(Rest->BoundsRect(), Bounds(103, 0, 197, 100));
  EXPECT_EQ(Split->Cursor(), crHSplit);
}

struct TDragCase {
  const char* Name;
  TAlign Align;
  Integer Delta;
  Integer MinSize;
  bool AutoSnap;
  Integer Expected;
};

class SplitterDragTest : public SplitterTest, public ::testing::WithParamInterface<TDragCase> {};

TEST_P(SplitterDragTest, ResizesTheNeighbourWithinTheMinimumSizes) {
  const TDragCase& C = GetParam();
  Build(C.Align);
  Split->SetMinSize(C.MinSize);
  Split->SetAutoSnap(C.AutoSnap);
  Drag(C.Delta);
  EXPECT_EQ(Size(), C.Expected);
  EXPECT_EQ(Moved, C.Expected != (C.Align == alTop || C.Align == alBottom ? 40 : 100) ? 1 : 0);
  // The splitter sits against the neighbour's new edge, and the rest fills what is left.
  switch (C.Align) {
    case alLeft:
      EXPECT_EQ(Split->Left(), C.Expected);
      EXPECT_EQ(Rest->Width(), 300 - 3 - C.Expected);
      break;
    case alRight:
      EXPECT_EQ(Split->Left() + 3, 300 - C.Expected);
      EXPECT_EQ(Rest->Width(), 300 - 3 - C.Expected);
      break;
    case alTop:
      EXPECT_EQ(Split->Top(), C.Expected);
      EXPECT_EQ(Rest->Height(), 100 - 3 - C.Expected);
      break;
    default:
      EXPECT_EQ(Split->Top() + 3, 100 - C.Expected);
      EXPECT_EQ(Rest->Height(), 100 - 3 - C.Expected);
      break;
  }
}

// The room: 300 wide less the splitter (3) and the far side's minimum; 100 high the same way.
INSTANTIATE_TEST_SUITE_P(
    Cases, SplitterDragTest,
    ::testing::Values(TDragCase{"LeftWider", alLeft, 50, 30, true, 150},
                      TDragCase{"LeftNarrowerToTheMinimum", alLeft, -80, 30, true, 30},
                      TDragCase{"LeftSnapsShutBelowHalfTheMinimum", alLeft, -90, 30, true, 0},
                      TDragCase{"LeftNoSnapStopsAtTheMinimum", alLeft, -90, 30, false, 30},
                      TDragCase{"LeftLeavesTheMinimumBeyond", alLeft, 250, 30, true, 267},
                      TDragCase{"LeftLargerMinimumBeyond", alLeft, 250, 50, true, 247},
                      TDragCase{"RightWiderTowardsTheLeft", alRight, -50, 30, true, 150},
                      TDragCase{"RightNarrower", alRight, 40, 30, true, 60},
                      TDragCase{"TopTaller", alTop, 20, 30, true, 60},
                      TDragCase{"TopLeavesTheMinimumBelow", alTop, 80, 30, true, 67},
                      TDragCase{"BottomTallerUpwards", alBottom, -10, 30, true, 50}),
    [](const auto& Info) { return String(Info.param.Name); });

TEST_F(SplitterTest, UpdateStyleResizesWhileDraggingOthersAtTheRelease) {
  for (TResizeStyle Style : {rsUpdate, rsPattern, rsLine, rsNone}) {
    Build(alLeft);
    Split->SetResizeStyle(Style);
    Drag(40, false);
    EXPECT_EQ(Size(), Style == rsUpdate ? 140 : 100) << "style " << Style;
    wintest::MouseUp(End);
    EXPECT_EQ(Size(), 140) << "style " << Style;
    EXPECT_EQ(Moved, 1);
    delete Form;
    Moved = 0;
  }
}

TEST_F(SplitterTest, TheBarShowsWhereTheEdgeWillGoAndLeavesNoTrace) {
  Build(alLeft);
  Rest->SetColor(clWhite);
  const COLORREF Before = PixelOf(Parent, 150, 50);
  Drag(50, false);
  // While dragging, the inverted bar lies over the rest at the new place; the release removes it.
  HDC DC = GetDC(Parent->Handle());
  COLORREF During = GetPixel(DC, 151, 50);
  ReleaseDC(Parent->Handle(), DC);
  EXPECT_NE(During, Before);
  wintest::MouseUp(End);
  EXPECT_EQ(Size(), 150);
  EXPECT_EQ(PixelOf(Parent, 200, 50), Rgb(clWhite));
}

TEST_F(SplitterTest, AVetoOrACancelledDragLeavesTheSize) {
  Build(alLeft);
  // Steps of 12 or 13 pixels: 112, 125, 137, 150; the last one accepted stays.
  Split->OnCanResize = [](TObject*, Integer& NewSize, bool& Accept) { Accept = NewSize <= 125; };
  Drag(50);
  EXPECT_EQ(Size(), 125);
  Split->OnCanResize = nullptr;
  Drag(30, false);
  Split->Perform(WM_CANCELMODE, 0, 0);
  wintest::MouseUp(End);
  EXPECT_EQ(Size(), 125);
  // Without a neighbour the splitter does nothing.
  Build(alLeft);
  Neighbour->SetVisible(false);
  Drag(50);
  EXPECT_EQ(Neighbour->Width(), 100);
}

}  // namespace
