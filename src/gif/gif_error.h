// The writer's and loader's error codes with their English texts and the Dutch
// ones the main window shows.
#pragma once

#include <cstdint>
#include <string>

namespace gif {

enum class GifError : uint8_t {
    None = 0,
    Cancelled = 1,
    Internal = 2,
    InvalidFileFormat = 3,
    TooManyColours = 4,
    IndexOutOfBounds = 5,
    PictureConversion = 6,
    FileNotFound = 7,
    ResourceNotFound = 8,
};

inline constexpr int kErrorCount = 9;

// "Image contains too many Colors (>256)" and so on; "Internal Error" for an unknown code.
const char* ErrorText(GifError error);
// "Afbeelding bevat teveel kleuren (>256)" and so on.
const char* DutchErrorText(GifError error);

// "Opslaan als GIF Mislukt. Fout Code=4 [Afbeelding bevat teveel kleuren (>256)]"
std::string SaveFailedMessage(GifError error);
// "Save Failed. Error Code = 4 [Image contains too many Colors (>256)]", as the
// animation maker says it.
std::string MakerSaveFailedMessage(GifError error);

}  // namespace gif
