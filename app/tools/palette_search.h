// Exact nearest-colour search over a 256-entry colour table for targets
// outside the displayable range (-255 .. 510 per channel, as the soft pens
// compute them): distance |dr| + |dg| + |db|, the lowest index among equally
// near entries. The answer is always the plain scan's; the table is laid out
// as 16-bit lanes so that all 256 distances are taken a vector at a time,
// and answers are remembered per target, so a stroke passing over the same
// colours again (every move of a pen overlaps the last) does not search.
#pragma once

#include "platform/win.h"

#include <cstdint>
#include <vector>

struct Nearest {
    int index;
    int distance;
};

class PaletteSearch {
  public:
    PaletteSearch() = default;
    explicit PaletteSearch(const RGBQUAD* table) { use(table); }
    // Searches table from now on; what was remembered is forgotten only when
    // the table's colours differ from the last ones.
    void use(const RGBQUAD* table);
    // Targets from -1024 to 1023 per channel.
    Nearest nearest(int red, int green, int blue);

  private:
    Nearest search(int red, int green, int blue) const;

    static constexpr int kEntries = 256;
    RGBQUAD table_[kEntries] = {};
    alignas(32) short red_[kEntries] = {};
    alignas(32) short green_[kEntries] = {};
    alignas(32) short blue_[kEntries] = {};
    // Direct-mapped: a target's slot holds its key (never 0) and answer.
    struct Remembered {
        std::uint64_t key;
        short index;
        short distance;
    };
    std::vector<Remembered> remembered_;
};

// The reference: entry by entry from 0, keeping only strictly nearer ones and
// stopping at distance 0.
Nearest nearest_by_scan(const RGBQUAD* table, int red, int green, int blue);
