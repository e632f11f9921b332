// The hourglass cursor for the length of a scope, restored on every way out.
#pragma once

#include "platform/win.h"

class Hourglass {
  public:
    Hourglass() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~Hourglass() { SetCursor(previous_); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

  private:
    HCURSOR previous_;
};
