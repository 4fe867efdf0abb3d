// A paint device backed by a vector picture, at 96 pixels per inch like the screen.
#include "plot/recording_device.h"

#include "plot/recording_engine.h"

namespace plot {

namespace {
constexpr int kDpi = 96;
}

RecordingDevice::RecordingDevice(std::unique_ptr<exporter::VectorPicture> picture)
    : picture_(std::move(picture)), engine_(std::make_unique<RecordingEngine>(*picture_)) {}

RecordingDevice::~RecordingDevice() = default;

QPaintEngine* RecordingDevice::paintEngine() const {
    return engine_.get();
}

int RecordingDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
        case PdmWidth:
            return picture_->Width();
        case PdmHeight:
            return picture_->Height();
        case PdmWidthMM:
            return picture_->Width() * 254 / (kDpi * 10);
        case PdmHeightMM:
            return picture_->Height() * 254 / (kDpi * 10);
        case PdmNumColors:
            return 0x7fffffff;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return kDpi;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
    }
}

}  // namespace plot
