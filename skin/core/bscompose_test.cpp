#include "skin/core/bscompose.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Every pixel of the element gets its own colour from its element-relative coordinates, so a composed
// image tells where each of its pixels came from. The element sits at (3, 2) in a larger picture whose
// other pixels are magenta.
constexpr Integer OffX = 3, OffY = 2;
TColor SourceColour(Integer X, Integer Y) {
  return TColor(RGB(Byte(X * 6), Byte(Y * 6), 100));
}

struct Element {
  TBitmap Picture;
  TRect SkinRect;
  Element(Integer W, Integer H) : Picture(W + 10, H + 8), SkinRect(Bounds(OffX, OffY, W, H)) {
    Picture.Canvas()->Brush()->SetColor(clFuchsia);
    Picture.Canvas()->FillRect(Rect(0, 0, W + 10, H + 8));
    for (Integer y = 0; y < H; ++y)
      for (Integer x = 0; x < W; ++x) Picture.Canvas()->SetPixels(OffX + x, OffY + y, SourceColour(x, y));
  }
};

// Each destination column and row maps to a source column and row; -1 means "left as the bitmap was".
using Map = std::function<Integer(Integer)>;

void ExpectImage(TBitmap& Dest, const Map& Col, const Map& Row, const char* What) {
  Integer wrong = 0;
  for (Integer y = 0; y < Dest.Height(); ++y)
    for (Integer x = 0; x < Dest.Width(); ++x) {
      const Integer sx = Col(x), sy = Row(y);
      const TColor expected = sx < 0 || sy < 0 ? clWhite : SourceColour(sx, sy);
      if (Dest.Canvas()->Pixels(x, y) != expected && wrong++ < 5)
        ADD_FAILURE() << What << ": pixel (" << x << ", " << y << ") expected source (" << sx << ", " << sy
                      << ")";
    }
  EXPECT_EQ(wrong, 0) << What;
}

// The platform's nearest-sample stretch of Src pixels into Dst pixels.
Integer Stretched(Integer I, Integer Src, Integer Dst) {
  return (2 * I + 1) * Src / (2 * Dst);
}

// Three bands: Lo fixed, a middle of length Src grown to Dst by stretching or tiling, Hi fixed.
Map ThreeBands(Integer Lo, Integer Src, Integer Dst, bool Stretch) {
  return [=](Integer I) {
    if (I < Lo) return I;
    if (I >= Lo + Dst) return I - Dst + Src;
    return Lo + (Stretch ? Stretched(I - Lo, Src, Dst) : (I - Lo) % Src);
  };
}

TEST(TileAcross, CopiesAreCutAtTheFarEnd) {
  Element e(10, 1);
  struct Case {
    Integer Span;
    Integer Copies;  // columns drawn
  } cases[] = {{25, 25}, {20, 20}, {7, 7}, {0, 0}, {-4, 0}};
  for (const Case& c : cases) {
    TBitmap dest(30, 1);
    TileAcross(dest.Canvas(), 2, 2 + c.Span, 0, 1, e.Picture.Canvas(), e.SkinRect);
    ExpectImage(
        dest, [&](Integer X) { return X >= 2 && X < 2 + c.Copies ? (X - 2) % 10 : -1; },
        [](Integer) { return 0; }, "tiles");
  }
  // A source without width draws nothing instead of dividing by zero.
  TBitmap dest(5, 1);
  TileAcross(dest.Canvas(), 0, 5, 0, 1, e.Picture.Canvas(), Rect(OffX, OffY, OffX, OffY + 1));
  ExpectImage(
      dest, [](Integer) { return -1; }, [](Integer) { return 0; }, "empty source");
}

TEST(ComposeStretchedSkinImage, KeepsCornersAndStretchesTheRest) {
  Element e(30, 20);
  TBitmap dest(60, 40);
  ComposeStretchedSkinImage(&dest, &e.Picture, e.SkinRect, Rect(5, 5, 25, 15), true);
  ExpectImage(dest, ThreeBands(5, 20, 50, true), ThreeBands(5, 10, 30, true), "stretched nine-slice");
  // Without the client the middle stays as the fresh bitmap had it.
  TBitmap frame(60, 40);
  ComposeStretchedSkinImage(&frame, &e.Picture, e.SkinRect, Rect(5, 5, 25, 15), false);
  EXPECT_EQ(frame.Canvas()->Pixels(30, 20), clWhite);
  EXPECT_EQ(frame.Canvas()->Pixels(30, 2), SourceColour(5 + Stretched(25, 20, 50), 2));
}

// The nine-slice with the corner points inside the borders: the fixed pieces around the corners are
// longer than the borders' thickness, and the client piece fills in one of four ways.
struct NineSliceFixture : testing::Test {
  Element E{30, 20};
  const TRect Cl = Rect(5, 4, 25, 16);
  const TPoint LT = Point(8, 6), RT = Point(22, 6), LB = Point(8, 14), RB = Point(22, 14);
  // 30 x 20 grown to 50 x 32: right and bottom points move by the difference.
  const Integer AW = 50, AH = 32;
  const TRect NewCl = Rect(5, 4, 45, 28);
  const TPoint NLT = Point(8, 6), NRT = Point(42, 6), NLB = Point(8, 26), NRB = Point(42, 26);

  std::unique_ptr<TBitmap> Compose(bool DrawClient, bool Stretch, bool StretchEffect, TbsStretchType Type) {
    auto dest = std::make_unique<TBitmap>();
    ComposeSkinImage(LT, RT, LB, RB, Cl, NLT, NRT, NLB, NRB, NewCl, dest.get(), &E.Picture, E.SkinRect, AW,
                     AH, DrawClient, Stretch, Stretch, Stretch, Stretch, StretchEffect, Type);
    return dest;
  }
};

// Borders only: the edges between the corner points grow, the eight pieces around them stay; the client
// part is left as the fresh bitmap had it.
TEST_F(NineSliceFixture, EveryPieceLandsInItsPlace) {
  for (bool stretch : {false, true}) {
    auto owned = Compose(false, stretch, false, bsstFull);
    TBitmap& dest = *owned;
    const Map across = ThreeBands(8, 14, 34, stretch), down = ThreeBands(6, 8, 20, stretch);
    Integer wrong = 0;
    for (Integer y = 0; y < AH; ++y)
      for (Integer x = 0; x < AW; ++x) {
        const bool inTop = y < 4, inBottom = y >= 28, inLeft = x < 5, inRight = x >= 45;
        Integer sx = -1, sy = -1;
        if (inTop || inBottom) {
          sx = across(x);
          sy = inTop ? y : y - 12;
        } else if (inLeft || inRight) {
          sx = inLeft ? x : x - 20;
          sy = down(y);
        }
        const TColor expected = sx < 0 ? clWhite : SourceColour(sx, sy);
        if (dest.Canvas()->Pixels(x, y) != expected && wrong++ < 5)
          ADD_FAILURE() << "stretch " << stretch << " pixel (" << x << ", " << y << ")";
      }
    EXPECT_EQ(wrong, 0);
  }
}

TEST_F(NineSliceFixture, ClientFillModes) {
  // The client piece is x 5..25, y 4..16 (20 x 12); the new client 40 x 24.
  struct Case {
    bool StretchEffect;
    TbsStretchType Type;
    bool StretchX, StretchY;
  } cases[] = {
      {false, bsstFull, false, false},
      {true, bsstFull, true, true},
      {true, bsstHorz, false, true},
      {true, bsstVert, true, false},
  };
  for (const Case& c : cases) {
    auto dest = Compose(true, false, c.StretchEffect, c.Type);
    TBitmap client(40, 24);
    client.Canvas()->CopyRect(Rect(0, 0, 40, 24), dest->Canvas(), NewCl);
    ExpectImage(
        client, [&](Integer X) { return 5 + (c.StretchX ? Stretched(X, 20, 40) : X % 20); },
        [&](Integer Y) { return 4 + (c.StretchY ? Stretched(Y, 12, 24) : Y % 12); }, "client");
  }
}

TEST(ComposeSkinImage, NothingDrawnForDegenerateGeometryOrEmptySource) {
  Element e(30, 20);
  TBitmap empty;
  const TRect cl = Rect(5, 5, 25, 15);
  struct Case {
    TPoint LT, RB;
    TBitmap* Source;
  } cases[] = {
      {Point(5, 5), Point(5, 15), &e.Picture},  // RBPt.X = LTPt.X
      {Point(5, 5), Point(25, 5), &e.Picture},  // RBPt.Y = LTPt.Y
      {Point(5, 5), Point(25, 15), &empty},
  };
  for (const Case& c : cases) {
    TBitmap dest;
    ComposeSkinImage(c.LT, Point(25, 5), Point(5, 15), c.RB, cl, c.LT, Point(45, 5), Point(5, 35), c.RB, cl,
                     &dest, c.Source, e.SkinRect, 50, 40, true, true, true, true, true, true, bsstFull);
    EXPECT_EQ(dest.Width(), 50);
    EXPECT_EQ(dest.Height(), 40);
    ExpectImage(
        dest, [](Integer) { return -1; }, [](Integer) { return -1; }, "undrawn");
  }
}

TEST(ComposeSkinImage, SizeSmallerThanTheFixedPartsDrawsNoMirroredPieces) {
  Element e(30, 20);
  TBitmap dest;
  // 30 x 20 shrunk to 8 x 6: the new right points lie left of the left ones.
  ComposeSkinImage(Point(5, 5), Point(25, 5), Point(5, 15), Point(25, 15), Rect(5, 5, 25, 15), Point(5, 5),
                   Point(3, 5), Point(5, 1), Point(3, 1), Rect(5, 5, 3, 1), &dest, &e.Picture, e.SkinRect, 8,
                   6, true, false, false, false, false, false, bsstFull);
  ASSERT_EQ(dest.Width(), 8);
  // The client span runs backwards (5 to 3, 5 to 1): no mirrored client over the bottom-right piece.
  EXPECT_EQ(dest.Canvas()->Pixels(5, 3), SourceColour(27, 17));
  EXPECT_EQ(dest.Canvas()->Pixels(4, 4), SourceColour(26, 18));
}

TEST(ComposeSkinImageNoRight, EdgesAndClientRunToTheRightEnd) {
  Element e(30, 20);
  TBitmap dest;
  ComposeSkinImageNoRight(Point(5, 5), Point(25, 5), Point(5, 15), Point(25, 15), Rect(5, 5, 25, 15),
                          Point(5, 5), Point(45, 5), Point(5, 25), Point(45, 25), Rect(5, 5, 45, 25), &dest,
                          &e.Picture, e.SkinRect, 50, 30, true, false, false, true, false, false, bsstFull);
  // Columns 45..49 hold the tiled top edge, the tiled client and the tiled bottom edge, no right border.
  const Map col = [](Integer X) { return X < 5 ? X : 5 + (X - 5) % 20; };
  const Map row = [](Integer Y) { return Y < 5 ? Y : Y >= 25 ? Y - 10 : 5 + (Y - 5) % 10; };
  ExpectImage(dest, col, row, "no right border");
}

struct ThreeSliceCase {
  const char* Name;
  void (*Compose)(Integer, Integer, TBitmap*, TBitmap*, const TRect&, Integer, Integer, bool);
  bool Stretch;
  Map Col;
};

TEST(ComposeSkinImageH, EndsAndMiddleForEachVariant) {
  // Skin 30 wide: left end 4, right end 6, middle x 4..24.
  Element e(30, 3);
  const ThreeSliceCase cases[] = {
      {"H tiled", ComposeSkinImageH, false, ThreeBands(4, 20, 40, false)},
      {"H stretched", ComposeSkinImageH, true, ThreeBands(4, 20, 40, true)},
      {"HNoRight", ComposeSkinImageHNoRight, false, [](Integer X) { return X < 4 ? X : 4 + (X - 4) % 20; }},
      {"HMiddle", ComposeSkinImageHMiddle, false, [](Integer X) { return 4 + X % 20; }},
      {"HMiddle stretched", ComposeSkinImageHMiddle, true,
       [](Integer X) { return 4 + Stretched(X, 20, 50); }},
  };
  for (const ThreeSliceCase& c : cases) {
    TBitmap dest;
    c.Compose(4, 6, &dest, &e.Picture, e.SkinRect, 50, 99, c.Stretch);
    ASSERT_EQ(dest.Height(), 3) << c.Name;
    ASSERT_EQ(dest.Width(), 50) << c.Name;
    ExpectImage(
        dest, c.Col, [](Integer Y) { return Y; }, c.Name);
  }
}

TEST(ComposeSkinImageH, MiddleOfNoWidthDrawsOnlyTheEnds) {
  Element e(10, 2);
  TBitmap dest;
  ComposeSkinImageH(4, 6, &dest, &e.Picture, e.SkinRect, 20, 0, false);
  ExpectImage(
      dest, [](Integer X) { return X < 4     ? X
                                   : X >= 14 ? X - 10
                                             : -1; }, [](Integer Y) { return Y; },
      "ends only");
}

TEST(ComposeSkinImageV, EndsAndMiddle) {
  Element e(3, 20);
  for (bool stretch : {false, true}) {
    TBitmap dest;
    ComposeSkinImageV(5, 3, &dest, &e.Picture, e.SkinRect, 99, 40, stretch);
    ASSERT_EQ(dest.Width(), 3);
    ASSERT_EQ(dest.Height(), 40);
    ExpectImage(
        dest, [](Integer X) { return X; }, ThreeBands(5, 12, 32, stretch), "vertical");
  }
  TBitmap flat;
  ComposeSkinImageV(10, 10, &flat, &e.Picture, e.SkinRect, 0, 30, false);
  ExpectImage(
      flat, [](Integer X) { return X; }, [](Integer Y) { return Y < 10    ? Y
                                                                : Y >= 20 ? Y - 10
                                                                          : -1; },
      "vertical ends only");
}

TEST(ComposeSkinBorders, FourStripsTiledFromTheirStart) {
  Element e(20, 16);
  // Borders: top 3, left 4, right 5 (x 15..20), bottom 4 (y 12..16). Edges: top x 7..12 (length 5),
  // bottom x 6..14, left y 5..10, right y 4..11.
  const TRect cl = Rect(4, 3, 15, 12);
  const TPoint lt = Point(7, 5), rt = Point(12, 4), lb = Point(6, 10), rb = Point(14, 11);
  const Integer aw = 40, ah = 30;
  const TRect ncl = Rect(4, 3, 35, 26);
  const TPoint nlt = Point(7, 5), nrt = Point(32, 4), nlb = Point(6, 24), nrb = Point(34, 25);
  TBitmap left, top, right, bottom;
  ComposeSkinBorders(lt, rt, lb, rb, cl, nlt, nrt, nlb, nrb, ncl, &left, &top, &right, &bottom, &e.Picture,
                     e.SkinRect, aw, ah, false, false, false, false);
  ASSERT_EQ(top.Width(), 40);
  ASSERT_EQ(top.Height(), 3);
  // Column 7 shows the edge's third column: the tiles start at column 0.
  EXPECT_EQ(top.Canvas()->Pixels(7, 0), SourceColour(9, 0));
  ExpectImage(
      top, [](Integer X) { return X < 7     ? X
                                  : X >= 32 ? X - 20
                                            : 7 + X % 5; }, [](Integer Y) { return Y; },
      "top");
  ASSERT_EQ(bottom.Height(), 4);
  ExpectImage(
      bottom, [](Integer X) { return X < 6     ? X
                                     : X >= 34 ? X - 20
                                               : 6 + X % 8; },
      [](Integer Y) { return 12 + Y; }, "bottom");
  // Side strips span 30 - 3 - 4 = 23 rows: the edge tiled from row 0, then the pieces between the
  // client's top and the edge (left: rows 3..5) and between the edge and the client's bottom.
  ASSERT_EQ(left.Width(), 4);
  ASSERT_EQ(left.Height(), 23);
  ExpectImage(
      left, [](Integer X) { return X; },
      [](Integer Y) { return Y < 2     ? 3 + Y
                             : Y >= 21 ? 10 + (Y - 21)
                                       : 5 + Y % 5; }, "left");
  ASSERT_EQ(right.Width(), 5);
  ExpectImage(
      right, [](Integer X) { return 15 + X; },
      [](Integer Y) { return Y < 1     ? 3 + Y
                             : Y >= 22 ? 11
                                       : 4 + Y % 7; }, "right");

  // Stretched sides: the edge fills the rows between the two fixed pieces.
  TBitmap sleft, stop, sright, sbottom;
  ComposeSkinBorders(lt, rt, lb, rb, cl, nlt, nrt, nlb, nrb, ncl, &sleft, &stop, &sright, &sbottom,
                     &e.Picture, e.SkinRect, aw, ah, true, true, true, true);
  ExpectImage(
      stop, [](Integer X) { return X < 7     ? X
                                   : X >= 32 ? X - 20
                                             : 7 + Stretched(X - 7, 5, 25); },
      [](Integer Y) { return Y; }, "stretched top");
  ExpectImage(
      sleft, [](Integer X) { return X; },
      [](Integer Y) { return Y < 2     ? 3 + Y
                             : Y >= 21 ? 10 + (Y - 21)
                                       : 5 + Stretched(Y - 2, 5, 19); },
      "stretched left");
}

TEST(ComposeSkinBorders, BorderWithoutThicknessIsLeftAlone) {
  Element e(20, 16);
  TBitmap left, top(3, 3), right, bottom;
  // No top border (client top 0) and no right border.
  ComposeSkinBorders(Point(4, 0), Point(15, 0), Point(4, 12), Point(20, 12), Rect(4, 0, 20, 12), Point(4, 0),
                     Point(35, 0), Point(4, 26), Point(40, 26), Rect(4, 0, 40, 26), &left, &top, &right,
                     &bottom, &e.Picture, e.SkinRect, 40, 30, false, false, false, false);
  EXPECT_EQ(top.Width(), 3);  // as it was
  EXPECT_EQ(right.Width(), 0);
  EXPECT_EQ(bottom.Height(), 4);
  // The side strip spans what the earlier strips leave: 30 - 3 (the untouched top) - 4.
  EXPECT_EQ(left.Height(), 23);
}

}  // namespace
