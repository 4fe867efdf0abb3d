// EmfWriter: an Enhanced Metafile (EMF) of the figures a recording receives, written
// record by record as the format's published description lays them out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/vector_picture.h"

namespace exporter {

// Logical units are device pixels at 96 per inch (mapping mode MM_TEXT); points are
// stored in 16 bits, so coordinates are kept within +-32767.
class EmfWriter : public VectorPicture {
public:
    EmfWriter(int width, int height);

    void Reset() override;
    void Fill(const VectorPath& path, const VectorBrush& brush) override;
    void Stroke(const VectorPath& path, const VectorPen& pen) override;
    void Text(const VectorText& text) override;
    void Image(const VectorImage& image) override;
    std::string Bytes() const override;

    // Record type numbers, for readers and tests.
    static constexpr uint32_t kHeader = 1;
    static constexpr uint32_t kPolyBezier16 = 85;
    static constexpr uint32_t kPolygon16 = 86;
    static constexpr uint32_t kPolyline16 = 87;
    static constexpr uint32_t kPolyPolyline16 = 90;
    static constexpr uint32_t kPolyPolygon16 = 91;
    static constexpr uint32_t kSetPixelV = 15;
    static constexpr uint32_t kEof = 14;
    static constexpr uint32_t kExtTextOutW = 84;
    static constexpr uint32_t kExtCreateFontIndirectW = 82;
    static constexpr uint32_t kStretchDiBits = 81;
    static constexpr uint32_t kFillPath = 62;
    static constexpr uint32_t kStrokePath = 64;

private:
    class Record;
    void Add(const Record& record);
    void Preamble();
    uint32_t NewHandle();
    void SelectObject(uint32_t handle);
    void DeleteObject(uint32_t handle);
    uint32_t CreateBrush(const VectorBrush& brush);
    uint32_t CreatePen(const VectorPen& pen);
    // The subpaths with curves, as a path bracket; polylines as 16-bit poly records.
    void PathBracket(const VectorPath& path);
    void Polys(const VectorPath& path, bool closed);

    std::string records_;
    uint32_t recordCount_ = 0;
    std::vector<uint32_t> freeHandles_;
    uint32_t handleCount_ = 1;  // index 0 is the metafile itself
};

}  // namespace exporter
