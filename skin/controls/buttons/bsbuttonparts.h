// What the skinned buttons share in their painting and their drop-down menus: the face drawn without
// a skin, the drop-down marker picture, and the menu buttons' drop-down part and menus.
#pragma once

#include <functional>
#include <memory>

#include "skin/controls/base/bsskingeometry.h"
#include "skin/core/bsdraw.h"

class TbsSkinData;
class TbsSkinPopupMenu;
class TbsSkinImagesMenu;

// The face without a skin: pressed and hot faces are tinted inside a blue frame; a push button's
// normal face has a shadow frame, a tool button's a lighter one and a flat one none.
enum TbsButtonFace { bfNormal, bfTool, bfFlat, bfHover, bfDown };
void DrawButtonFace(TCanvas* C, const TRect& R, TbsButtonFace Face);

// The part M of Picture, its TransparentColor see-through, centred in R.
void DrawMarkerPicture(TCanvas* C, const TRect& R, TBitmap* Picture, const TRect& M, TColor TransparentColor);

// ---- the menu buttons' drop-down part ----

// The drop-down strip of a button whose element draws no arrow of its own.
constexpr Integer MenuTrackWidth = 15;
// The elements whose pictures carry no drop-down arrow: the button draws one in its own strip.
bool IsArrowlessMenuElement(const String& SkinDataName);
// The element's drop-down part; empty when the element is not a menu button's.
TRect ElementTrackButtonRect(TbsSkinData* SkinData, Integer Index);
// The element's drop-down part moved with a AWidth x AHeight button along the way its element stretches.
TRect PlacedTrackButtonRect(const TbsSkinGeometry& G, const TRect& TrackButtonRect, Integer AWidth,
                            Integer AHeight);
// Src of the element's picture drawn over Part: nine-sliced and grown with the part (Resize), or
// stretched around the client rectangle. The caller has checked that Src can be composed.
void DrawMenuButtonPart(const TbsSkinGeometry& G, TCanvas* C, const TRect& Part, const TRect& Src,
                        bool Resize);

// Drops the button's menus below it: the popup menu (which tells the button when it closes), then the
// images menu (whose closing calls MenuClosed). OnShow runs before each; BeforeShow, when given, before
// that. The menus and the handler are read as they are after each handler, which may also free the
// button (Alive turns false).
void TrackButtonMenus(TControl* Button, const std::shared_ptr<bool>& Alive,
                      TbsSkinPopupMenu* const& PopupMenu, TbsSkinImagesMenu* const& ImagesMenu,
                      const TNotifyEvent& OnShow, const std::function<void()>& BeforeShow,
                      std::function<void(TObject*)> MenuClosed);

// Field set to Value, the free notification moved along, and Repaint hooked to the menu's every new
// selection.
void LinkSkinImagesMenu(TComponent* Button, TbsSkinImagesMenu*& Field, TbsSkinImagesMenu* Value,
                        std::function<void()> Repaint);
