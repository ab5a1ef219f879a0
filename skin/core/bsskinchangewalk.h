// The skin-change walk over a control tree: every skinned control that uses the changed skin (or
// every skinned control, for a null skin) is told before the skin is replaced and after the new one
// is in place. Parents come before their children, children in Controls order; only the control
// tree is walked, so a skinned control outside it is left alone.
#pragma once

class TbsSkinData;
class TWinControl;

// Each control forgets the element it took from the old skin.
void BeforeChangeSkinDataControls(TbsSkinData* ASkinData, TWinControl* AControl);
// Each control takes its element again from the new skin.
void ChangeSkinDataControls(TbsSkinData* ASkinData, TWinControl* AControl);
