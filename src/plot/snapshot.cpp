// Snapshot: a copy of the screen picture (eepic and PDF output are not affected).
#include "plot/snapshot.h"

#include <QImage>

namespace plot {

Snapshot::Snapshot() = default;
Snapshot::~Snapshot() = default;

void Snapshot::Take(const TPlotSurface& surface) {
    image_ = std::make_unique<QImage>(surface.Bitmap().copy());
}

void Snapshot::ShowOn(TPlotSurface& surface) const {
    if (image_) surface.SetBitmap(*image_);
}

}  // namespace plot
