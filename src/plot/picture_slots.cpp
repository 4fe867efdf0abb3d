// Picture slots: Qt's image reader in, AND composition out.
#include "plot/picture_slots.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>

namespace plot {

struct PictureSlots::Slot {
    std::string name;
    QImage image;  // RGB32: transparency already turned into white
};

PictureSlots::PictureSlots() {
    for (auto& slot : slots_) slot = std::make_unique<Slot>();
}

PictureSlots::~PictureSlots() = default;

const PictureSlots::Slot* PictureSlots::Find(int slot) const {
    if (slot < 1 || slot > kSlots) return nullptr;
    return slots_[static_cast<size_t>(slot - 1)].get();
}

bool PictureSlots::Load(int slot, const std::string& path) {
    if (slot < 1 || slot > kSlots) return false;
    Slot& target = *slots_[static_cast<size_t>(slot - 1)];
    if (!target.name.empty() && target.name == path) return true;
    QImageReader reader(QString::fromStdString(path));
    const QSize size = reader.size();
    if (!size.isValid() || static_cast<long long>(size.width()) * size.height() > kMaxPixels) {
        return false;
    }
    const QImage read = reader.read();
    if (read.isNull()) return false;
    // A transparent pixel counts as white: under AND it leaves the picture below.
    QImage image(read.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter(&image).drawImage(0, 0, read);
    target.name = path;
    target.image = std::move(image);
    return true;
}

bool PictureSlots::Empty(int slot) const {
    const Slot* found = Find(slot);
    return found == nullptr || found->image.isNull();
}

void PictureSlots::Show(TPlotSurface& surface, int slot, Real x, Real y) const {
    if (Empty(slot)) return;
    const QImage& image = Find(slot)->image;
    surface.CombineImageAnd(image, surface.WindowX(x) - image.width() / 2,
                            surface.WindowY(y) - image.height() / 2);
}

void PictureSlots::Erase(TPlotSurface& surface, int slot, Real x, Real y) const {
    if (Empty(slot)) return;
    const QImage& image = Find(slot)->image;
    surface.FillPixels(surface.WindowX(x) - image.width() / 2,
                       surface.WindowY(y) - image.height() / 2, image.width(), image.height(),
                       kWhite);
}

void PictureSlots::ForgetNames() {
    for (auto& slot : slots_) slot->name.clear();
}

}  // namespace plot
