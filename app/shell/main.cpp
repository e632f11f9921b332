#include "app/shell/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int show) {
    if (start_velmo(instance, command_line, show)) {
        run_message_loop();
        shut_down_velmo();
    }
    return 0;
}
