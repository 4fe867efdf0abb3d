// TGifWriter: one picture or a sequence of pictures as a GIF89a file, with one
// colour table for all frames or one per frame, graphic control, looping and
// comment extensions, and LZW image data. Plain C++: frames are 24-bit buffers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gif/gif_error.h"
#include "gif/rgb_image.h"

namespace gif {


struct TFrameInfo {
    RgbImage picture;
    int left = 0;
    int top = 0;
    int32_t delay = 0;  // milliseconds; written in hundredths
    bool interlaced = false;
    bool transparent = false;
    Colour transparentColour = 0;
    uint8_t disposal = 0;  // 0..3
    std::string comment;
};

inline constexpr size_t kMaxFrames = 256;

struct TFrameList {
    std::vector<TFrameInfo> frames;
    uint16_t loopCount = 0;  // 0: for ever
    // Asks for one colour table shared by all frames; the writer clears it when the
    // frames together have more than 256 colours and it used one table per frame.
    bool globalPalette = true;
};

class TGifWriter;

// Progress of the coding of a large frame: its pixels done and in all, and the
// percentage over all frames (100 once at the end). Setting `keepOnProcessing`
// false cancels the coding (error 1).
using TProgressEvent =
    std::function<void(const TGifWriter& sender, int64_t bytesProcessed, int64_t bytesToProcess,
                       int percentageProcessed, bool& keepOnProcessing)>;

class TGifWriter {
public:
    // Encodes into memory and writes the file (WriteFileReplacing) only when that
    // succeeded. A file that cannot be written is error 2 and leaves any old file.
    bool SaveFramesToFile(const std::string& fileName, TFrameList& frameList);
    // One frame at (0,0), delay 0, disposal 0, no comment, loop count 0, global palette.
    bool SaveBitmapToFile(const std::string& fileName, RgbImage picture, bool interlaced,
                          Colour transparentColour, bool transparent);
    // Appends the GIF to `stream`. On failure `stream` is as it was.
    bool WriteFrames(TFrameList& frameList, std::string& stream);

    GifError LastError() const { return lastError_; }
    void SetProgressHandler(TProgressEvent handler) { progress_ = std::move(handler); }

    // The four lines of the comment that ends every file.
    static const char* const kCredit;

private:
    bool Encode(TFrameList& frameList, std::string& out);
    void WriteComment(const std::string& text, std::string& out) const;
    bool WriteImageData(const std::vector<uint8_t>& indices, int colourCount, int width,
                        size_t frame, size_t frameCount, std::string& out);

    GifError lastError_ = GifError::None;
    TProgressEvent progress_;
};

// A temporary file in the target's folder, then one rename.
bool WriteFileReplacing(const std::string& path, const std::string& bytes);

}  // namespace gif
