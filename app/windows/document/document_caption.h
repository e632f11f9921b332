// The caption of a document window: "<file name> (<width> x <height>)".
#pragma once

#include "platform/win.h"

void set_document_caption(HWND document_window);
