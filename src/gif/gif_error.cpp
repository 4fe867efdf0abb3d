// One table of the error texts, in both languages.
#include "gif/gif_error.h"

#include <array>

namespace gif {

namespace {

struct ErrorTexts {
    const char* english;
    const char* dutch;
};

constexpr std::array<ErrorTexts, kErrorCount> kTexts{{
    {"None", "Geen"},
    {"Operation Cancelled", "operatie afgebroken"},
    {"Internal Error", "Interne fout"},
    {"Invalid File Format", "Ongeldig bestandsformaat"},
    {"Image contains too many Colors (>256)", "Afbeelding bevat teveel kleuren (>256)"},
    {"Index out of Bounds", "Index te groot"},
    {"Windows GDI Error", "Windows GDI-fout"},
    {"File not Found", "Bestand niet gevonden"},
    {"Resource not Found", "Resource niet gevonden"},
}};

const ErrorTexts& TextsOf(GifError error) {
    const auto index = static_cast<size_t>(error);
    return kTexts[index < kTexts.size() ? index : static_cast<size_t>(GifError::Internal)];
}

}  // namespace

const char* ErrorText(GifError error) {
    return TextsOf(error).english;
}

const char* DutchErrorText(GifError error) {
    return TextsOf(error).dutch;
}

std::string SaveFailedMessage(GifError error) {
    return "Opslaan als GIF Mislukt. Fout Code=" + std::to_string(static_cast<int>(error)) + " [" +
           DutchErrorText(error) + "]";
}

std::string MakerSaveFailedMessage(GifError error) {
    return "Save Failed. Error Code = " + std::to_string(static_cast<int>(error)) + " [" +
           ErrorText(error) + "]";
}

}  // namespace gif
