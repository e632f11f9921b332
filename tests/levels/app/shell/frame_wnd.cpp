#include "app/windows/palette/palette_wnd.h"
#include "app/windows/zoom/zoom_wnd.h"
