#include "app/main/mainform/mainform.h"

void TForm1::createJobControls() {}

void TForm1::bindJobHandlers() {}
