// Nearest-colour search over a colour table (not exported). Distance is
// |dr| + |dg| + |db|; among equally near entries the lowest index wins, which
// is what a scan from entry 0 that keeps only strictly nearer entries finds.
#pragma once

#include "platform/win.h"

namespace rasko {

// Index of the entry of table[0..count) nearest to (red, green, blue);
// count 1 to 256. The reserved bytes are ignored.
int nearest_entry(const RGBQUAD* table, int count, BYTE red, BYTE green, BYTE blue);

// The plain scan, the reference for the vector search above.
int nearest_entry_scalar(const RGBQUAD* table, int count, BYTE red, BYTE green, BYTE blue);

} // namespace rasko
