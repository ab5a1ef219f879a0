#include "app/main/mainform/mainform.h"

void TForm1::createBatchControls() {}

void TForm1::bindBatchHandlers() {}
