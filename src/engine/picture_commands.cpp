// opslaanbmp(bestandsnaam) and opslaanjpg(bestandsnaam): the picture so far as a numbered
// Windows bitmap or JPEG file. The bitmaps also go to the animated-GIF maker's list.
#include <algorithm>

#include "engine/runner.h"

namespace engine {

namespace {

void SavePicture(Runner& runner, const char* extension, const char* format) {
    const std::string name = runner.TextArgument();
    if (name.find('.') != std::string::npos) {
        runner.EndRunWithMessage("Waarschuwing", "Bestandsnaam zonder extensie opgeven");
        return;
    }
    PictureSaves& saves = runner.SavedPictures();
    const bool firstOfRun = saves.AtFirstNumber();
    const auto fileName = saves.NextFileName(name, extension);
    if (!fileName) return;  // 90 pictures a run at most
    if (!runner.Surface().SaveImage(*fileName, format)) {
        // Inside a film loop the same failure would come again on every pass.
        runner.EndRunWithMessage(kAppCaption, "Kan " + *fileName + " niet opslaan");
        return;
    }
    if (std::string(format) == "BMP") saves.BitmapSaved(*fileName, firstOfRun);
    const auto& loops = runner.Loops();
    const bool insideFilm = std::any_of(loops.begin(), loops.end(), [](const LoopRecord& loop) {
        return loop.kind == LoopKind::Animation;
    });
    saves.PictureSaved(runner.Surface(), insideFilm);
}

void SaveBitmap(Runner& runner) {
    SavePicture(runner, ".bmp", "BMP");
}

// The JPEG library's default quality.
void SaveJpeg(Runner& runner) {
    SavePicture(runner, ".jpg", "JPG");
}

}  // namespace

void RegisterPictureCommands(Runner& runner) {
    runner.RegisterCommand("opslaanbmp", SaveBitmap);
    runner.RegisterCommand("opslaanjpg", SaveJpeg);
}

}  // namespace engine
