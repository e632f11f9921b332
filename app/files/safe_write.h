// Writing a file without ever destroying the one it replaces: the bytes go to
// a temporary file in the target's folder, and only a complete, checked,
// flushed write is moved over the target. Every writer of the program (native
// pictures, BMP, GIF, palette and pen files) goes through SafeWriter.
#pragma once

#include "platform/win.h"

#include <cstddef>

// Writes all bytes or reports false (a short write counts as a failure).
bool write_all(HANDLE file, const void* data, std::size_t bytes);

class SafeWriter {
public:
    explicit SafeWriter(const char* target);
    // Removes the temporary file unless commit() succeeded.
    ~SafeWriter();
    SafeWriter(const SafeWriter&) = delete;
    SafeWriter& operator=(const SafeWriter&) = delete;

    // Creates the temporary file; false when the folder takes no new file.
    bool open();
    // The temporary file's handle for writers that take one; invalid until
    // open() succeeded.
    HANDLE handle() const { return file_; }
    // Checked write to the temporary file; after one failure every later
    // write and commit() fail too.
    bool write(const void* data, std::size_t bytes);
    // Marks the content as incomplete, so that commit() refuses it (for
    // writers that report their own failures through a return value).
    void fail() { failed_ = true; }
    // Flushes and closes the temporary file and moves it over the target.
    // false, with the target untouched and the temporary file removed, when
    // any step (or an earlier write) failed.
    bool commit();

private:
    void discard();

    char target_[MAX_PATH * 4] = {};
    char temporary_[MAX_PATH * 4] = {};
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool failed_ = false;
    bool committed_ = false;
};
