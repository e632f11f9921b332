// Writing a file without ever destroying the one it replaces: the bytes go to
// a new temporary file in the target's folder, and only a complete, checked,
// flushed write is moved over the target. Every file writer of the engine,
// the program and the Add-Ins goes through SafeWriter.
#pragma once

#include "platform/win.h"

#include <cstddef>
#include <string>

namespace io {

// Writes all bytes or reports false (a short write counts as a failure).
bool write_all(HANDLE file, const void* data, std::size_t bytes);

// Length of the folder part of `path` with its final separator, or of a
// drive prefix without one ("C:x.gif" lies in drive C's current folder):
// "C:\x.gif" -> 3, "C:x.gif" -> 2, "a/b.gif" -> 2, "x.gif" -> 0. The temporary
// file's name is this part, a name of the writer's own and the target's
// extension (writers that go by name may look at it).
std::size_t folder_part_length(const char* path);

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
    // For writers that take a file name rather than a handle (Add-In
    // encoders): closes the temporary file, which keeps its name reserved,
    // and returns that name for the writer to fill. commit() then takes the
    // file only when it holds bytes. Null unless open() succeeded.
    const char* hand_over_by_name();
    // Flushes and closes the temporary file and moves it over the target.
    // false, with the target untouched and the temporary file removed, when
    // any step (or an earlier write) failed.
    bool commit();

  private:
    void discard();

    std::string target_;
    std::string temporary_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool failed_ = false;
    bool committed_ = false;
    bool handed_over_ = false;
};

// Saves `target` through a SafeWriter: `write(HANDLE)` fills the temporary
// file and returns false when it could not write everything.
template <typename Write> bool write_replacing(const char* target, Write&& write) {
    SafeWriter writer(target);
    if (!writer.open()) return false;
    if (!write(writer.handle())) writer.fail();
    return writer.commit();
}

} // namespace io
