// The Mirror Pen's pixel work: the stroke the program built, painted in the
// drawing colours, and painted again mirrored about the picture's vertical
// centre line. Portable; the DLL entry points only read the keyboard.
#pragma once

#include "addins/sdk/velmo_addin.h"

// Paints the stroke shape of block (stroke bits inside the stroke rectangle:
// 255 outside the shape, other values combined bit by bit as the Pen does)
// into the target plane at its place and at the column mirrored about the
// centre (x becomes width - 1 - x). Each painted pixel takes the tone mix
// of the left and right colours at its own position. Outside mask view the
// key colour is never written when keying is on, and the mask plane
// protects its 0 pixels when the mask is on or m_held; in mask view the
// mask plane is painted freely. Returns the box of both strokes (left, top,
// right + 1, bottom + 1), or an empty rectangle when nothing was in the
// picture.
RECT mirror_pen_paint(const PenCallBlock& block, bool m_held);
