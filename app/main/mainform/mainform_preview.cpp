#include "app/main/mainform/mainform.h"

void TForm1::createPreviewControls() {}

void TForm1::bindPreviewHandlers() {}
