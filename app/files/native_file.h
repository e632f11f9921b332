// The native picture file (.vlx): every layer with its pixels, mask plane,
// name and compositing settings, and the shared palette.
#pragma once

#include "app/document/picture.h"
#include "app/files/byte_source.h"

// Writes the whole document to a file opened for writing (through an
// io::SafeWriter). Returns 1 when every byte was written, else 0.
int write_native_file(HANDLE file, const PictureDocument& doc);

// Builds all layers of a native file into a document that has none yet
// (create_document). Returns 1, or 0 after showing the message; on 0 the
// caller frees the document. Files whose header cannot describe a picture are
// refused with "Unable to Create Image" before their planes are allocated; a
// file that ends before its last layer is complete is refused with "Error",
// like a file too short for its header.
int read_native_file(HANDLE file, PictureDocument& doc);
int read_native_file(ByteSource& source, PictureDocument& doc);
