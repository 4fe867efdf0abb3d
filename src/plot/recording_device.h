// RecordingDevice: a paint device of a given size whose painting goes into a vector
// picture, so the plot surface can draw on it as on its bitmap.
#pragma once

#include <QPaintDevice>
#include <memory>

#include "export/vector_picture.h"

namespace plot {

class RecordingEngine;

class RecordingDevice : public QPaintDevice {
public:
    // Takes the picture; its size is the device's size.
    explicit RecordingDevice(std::unique_ptr<exporter::VectorPicture> picture);
    ~RecordingDevice() override;

    exporter::VectorPicture& Picture() { return *picture_; }
    const exporter::VectorPicture& Picture() const { return *picture_; }
    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    std::unique_ptr<exporter::VectorPicture> picture_;
    std::unique_ptr<RecordingEngine> engine_;
};

}  // namespace plot
