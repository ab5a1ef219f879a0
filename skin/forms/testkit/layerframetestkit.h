// Test support for the layered form border: a layer frame record around a 60 x 50 picture whose
// form area is (10, 20, 50, 40), so that the frame reaches 10 pixels left, right and below the form
// and 20 above it, and takes the mouse 5 pixels beyond the form on every side.
#pragma once

#include <functional>
#include <memory>

#include "skin/core/bsskinrecordsform.h"

constexpr Integer TestLayerFrameW = 60, TestLayerFrameH = 50;

// Pixel gives each picture pixel (straight alpha, 0xAARRGGBB).
inline std::unique_ptr<TbsDataSkinLayerFrame> MakeTestLayerFrame(
    const std::function<TbsColor(Integer, Integer)>& Pixel) {
  auto LF = std::make_unique<TbsDataSkinLayerFrame>();
  LF->PictureIndex = 0;
  LF->LTPoint = Point(15, 20);
  LF->RTPoint = Point(45, 20);
  LF->LBPoint = Point(15, 40);
  LF->RBPoint = Point(45, 40);
  LF->ClRect = Rect(10, 20, 50, 40);
  LF->BorderRect = Rect(5, 15, 55, 45);
  LF->HitTestEnable = true;
  LF->HitTestSize = 3;
  LF->HitTestLTPoint = Point(12, 22);
  LF->HitTestRTPoint = Point(48, 22);
  LF->HitTestLBPoint = Point(12, 38);
  LF->HitTestRBPoint = Point(48, 38);
  LF->CaptionRect = Rect(12, 2, 48, 18);
  LF->FSourceBitmap = std::make_unique<TbsBitmap>();
  LF->FSourceBitmap->SetSize(TestLayerFrameW, TestLayerFrameH);
  for (Integer Y = 0; Y < TestLayerFrameH; ++Y)
    for (Integer X = 0; X < TestLayerFrameW; ++X) LF->FSourceBitmap->SetPixel(X, Y, Pixel(X, Y));
  return LF;
}
