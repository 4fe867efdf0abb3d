// The three picture slots of a program: pictures loaded from files and drawn on the
// plot surface so that their white parts let the picture below show through.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "plot/plot_surface.h"

namespace plot {

class PictureSlots {
public:
    static constexpr int kSlots = 3;
    // Larger pictures are not loaded: 16 million pixels take 64 MB already.
    static constexpr long long kMaxPixels = 16'000'000;

    PictureSlots();
    ~PictureSlots();

    // Loads a BMP, PNG, JPEG or GIF file into slot 1..3; a slot that holds the same
    // file name already is not loaded again. False, with the slot as it was, when the
    // slot number is wrong or the file is missing, unreadable or too large.
    bool Load(int slot, const std::string& path);
    // Draws the slot's picture centred on (x, y), combined with the surface by AND;
    // an empty slot draws nothing.
    void Show(TPlotSurface& surface, int slot, Real x, Real y) const;
    // Paints white where the picture would stand.
    void Erase(TPlotSurface& surface, int slot, Real x, Real y) const;
    bool Empty(int slot) const;
    // Forgets the file names, so the next load reads the files again.
    void ForgetNames();

private:
    struct Slot;
    std::array<std::unique_ptr<Slot>, kSlots> slots_;
    const Slot* Find(int slot) const;
};

}  // namespace plot
