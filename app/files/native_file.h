// The native picture file (.vlx): every layer with its pixels, mask plane,
// name and compositing settings, and the shared palette.
#pragma once

#include "app/document/picture.h"
#include "app/files/byte_source.h"

// Writes the whole document to a file opened for writing (through an
// io::SafeWriter). Returns 1 when every byte was written, else 0.
int write_native_file(HANDLE file, const PictureDocument& doc);

// How reading a native file ended, and what the user is to be told about
// it: the reader's message text and caption, null when it read everything.
enum class NativeRead { Complete, CutShort, Refused };
struct NativeReadResult {
    NativeRead outcome;
    LPCSTR text;
    LPCSTR caption;
};

// Builds all layers of a native file into a document that has none yet
// (create_document) and shows nothing. Refused: the header cannot be read,
// is not a native file's, is of a newer version (told before anything else
// of it is judged), cannot describe a picture or holds a layer record that
// cannot be one; the caller frees the document. CutShort: the file ends
// early; every layer whose record is there was made, and what is missing of
// it keeps what the layer was created with.
NativeReadResult read_native_picture(ByteSource& source, PictureDocument& doc);

// read_native_picture on an open file, telling the user the reader's message
// with the file's path. Returns 1 when the document was built (also when the
// file was cut short), 0 when it was refused.
int read_native_file(HANDLE file, LPCSTR path, PictureDocument& doc);
