// The dialog-answering harness itself: a real message box is shown, read and
// answered, so other tests can rely on it.
#include "harness.h"

#include <gtest/gtest.h>

namespace {

TEST(Harness, AnswersAMessageBoxAndRecordsItsTexts) {
    DialogAnswerer answerer([](HWND box) { DialogAnswerer::press(box, IDNO); });
    const int result = MessageBoxA(nullptr, "Save changes?", "Velmo", MB_YESNOCANCEL);
    EXPECT_EQ(result, IDNO);
    ASSERT_EQ(answerer.captions().size(), 1u);
    EXPECT_EQ(answerer.captions()[0], "Velmo");
    EXPECT_EQ(answerer.texts()[0], "Save changes?");
}

TEST(Harness, LeavesDialogsWithOtherCaptionsToOthers) {
    DialogAnswerer outer([](HWND box) { DialogAnswerer::press(box, IDCANCEL); });
    {
        DialogAnswerer inner([](HWND box) { DialogAnswerer::press(box, IDOK); }, "Other");
        (void)inner;
    }
    EXPECT_EQ(MessageBoxA(nullptr, "text", "Caption", MB_OKCANCEL), IDCANCEL);
}

} // namespace
