#include "app/main/mainform/mainform.h"

void TForm1::createMenuControls() {}

void TForm1::bindMenuHandlers() {}
