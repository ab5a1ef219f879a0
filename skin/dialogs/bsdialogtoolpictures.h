// The file dialogs' own tool pictures, drawn in code in the product's colours: one drawing of each
// serves every dialog that shows it.
#pragma once

class TbsPngImageList;

// Adds to List the open dialogs' tool pictures it lacks, 16 x 16 with alpha, in this order: back, up,
// new folder ("BS_NEWFOLDER_PNG"), view menu and, when asked, stretch.
void AddOpenDlgToolImages(TbsPngImageList* List, bool WithStretch);
// Adds the new-folder picture "BS_NEWFOLDER_PNG" to the end of List.
void AddNewFolderPicture(TbsPngImageList* List);
