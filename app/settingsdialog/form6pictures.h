// The settings dialog's pictures, drawn in code: one 32 x 32 icon per category for the category
// chooser, and the folder with a clapperboard and a disc on the procedure panel.
#pragma once

#include "platform/rtl/types.h"

class TImageList;
class TPicture;

// Appends Count icons, one colour per category, each with a film strip (video) or a note (audio,
// category 1).
void AddCategoryIcons(TImageList* List, Integer Count);
// A 128 x 128 PNG picture with alpha: transparent around the drawing.
void DrawFolderPicture(TPicture* Picture);
