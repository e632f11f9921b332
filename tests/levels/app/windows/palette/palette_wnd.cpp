#include "app/session/shell_state.h"
#include "app/windows/zoom/zoom_wnd.h"
