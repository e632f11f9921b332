#include "app/document/picture.h"
#include "app/tools/stroke.h"
#include "app/shell/frame_wnd.h"
