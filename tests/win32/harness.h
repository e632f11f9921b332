// Answering modal dialogs and message boxes from a test, so that the code that
// opens them runs for real: create a DialogAnswerer before the call; when a
// dialog of this thread becomes active, the answer function runs inside the
// dialog's own modal loop and may set controls and press a button.
#pragma once

#include "platform/win.h"

#include <functional>
#include <string>
#include <vector>

class DialogAnswerer {
  public:
    using Answer = std::function<void(HWND dialog)>;

    // Answers every dialog with `answer`, or only those whose caption is
    // `caption` when one is given.
    explicit DialogAnswerer(Answer answer, std::string caption = {});
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Captions and texts of the dialogs answered so far, in order.
    const std::vector<std::string>& captions() const { return captions_; }
    const std::vector<std::string>& texts() const { return texts_; }

    // Presses a button of a dialog or message box, as a click would.
    static void press(HWND dialog, int button_id);
    // Answers a common open or save dialog: types path as the file name,
    // chooses the file type at 0-based position `type` of its list when
    // type is not -1, and presses OK.
    static void choose_file(HWND dialog, const std::string& path, int type = -1);

  private:
    static LRESULT CALLBACK cbt_hook(int code, WPARAM wp, LPARAM lp);
    static void CALLBACK on_timer(HWND, UINT, UINT_PTR id, DWORD);

    Answer answer_;
    std::string caption_;
    DialogAnswerer* previous_ = nullptr; // the answerer this one stands in for
    HHOOK hook_ = nullptr;
    HWND pending_ = nullptr;
    UINT_PTR timer_ = 0;
    std::vector<std::string> captions_;
    std::vector<std::string> texts_;
};
