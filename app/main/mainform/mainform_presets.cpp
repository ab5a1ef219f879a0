#include "app/main/mainform/mainform.h"

void TForm1::createPresetControls() {}

void TForm1::bindPresetHandlers() {}
