// The object counts a long run watches for leaks: each kind of object the
// program makes shows in them while it lives and leaves them when it is
// destroyed, and the frame answers them through its message.
#include "app/session/messages.h"
#include "app/shell/object_counts.h"
#include "shell_fixture.h"

namespace {

struct Made {
    HGDIOBJ gdi = nullptr;
    HMENU menu = nullptr;
    HWND wnd = nullptr;
};

struct CountCase {
    const char* what;
    Made (*make)();
    unsigned gdi;
    unsigned user;
};

const CountCase kCountCases[] = {
    {"brush", [] { return Made{CreateSolidBrush(RGB(1, 2, 3))}; }, 1, 0},
    {"memory DC", [] { return Made{CreateCompatibleDC(nullptr)}; }, 1, 0},
    {"popup menu",
     [] {
         return Made{nullptr, CreatePopupMenu()};
     },
     0, 1},
    {"window with a child",
     [] {
         HWND top = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                    nullptr, nullptr);
         CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, top, nullptr, nullptr, nullptr);
         return Made{nullptr, nullptr, top};
     },
     0, 2},
};

void destroy(const Made& made) {
    if (made.wnd) DestroyWindow(made.wnd);
    if (made.menu) DestroyMenu(made.menu);
    if (made.gdi) {
        if (GetObjectType(made.gdi) == OBJ_MEMDC)
            DeleteDC(static_cast<HDC>(made.gdi));
        else
            DeleteObject(made.gdi);
    }
}

TEST(ObjectCounts, EachObjectCountsWhileItLives) {
    // A thread's first window brings the system's IME window along; one kept
    // open through the cases keeps that out of them.
    HWND keeper =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    for (const CountCase& c : kCountCases) {
        SCOPED_TRACE(c.what);
        ObjectCounts before = count_objects();
        Made made = c.make();
        ObjectCounts during = count_objects();
        destroy(made);
        ObjectCounts after = count_objects();
        EXPECT_EQ(during.gdi, before.gdi + c.gdi);
        EXPECT_EQ(during.user, before.user + c.user);
        EXPECT_EQ(after.gdi, before.gdi);
        EXPECT_EQ(after.user, before.user);
    }
    DestroyWindow(keeper);
}

TEST_F(Shell, TheFrameAnswersTheObjectCounts) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    ObjectCounts counts = count_objects();
    LRESULT answer = SendMessageA(frame, kMsgCountObjects, 0, 0);
    EXPECT_EQ(LOWORD(answer), counts.gdi);
    EXPECT_EQ(HIWORD(answer), counts.user);
    EXPECT_GT(counts.user, 0u);
}

} // namespace
