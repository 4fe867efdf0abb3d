// opslaangif(bestandsnaam): the picture so far as a numbered GIF file, saved as
// "Opslaan als &Gif" saves it.
#include <algorithm>

#include "engine/gif_export.h"
#include "engine/runner.h"

namespace engine {

namespace {

void SaveGif(Runner& runner) {
    const std::string name = runner.TextArgument();
    if (name.find('.') != std::string::npos) {
        runner.EndRunWithMessage("Waarschuwing", "Bestandsnaam zonder extensie opgeven");
        return;
    }
    const auto fileName = runner.SavedPictures().NextFileName(name, ".gif");
    if (!fileName) return;  // 90 pictures a run at most
    if (const auto failure =
            SavePictureAsGif(runner.Surface(), *fileName, runner.Settings().transparentGifs)) {
        // Inside a film loop the same failure would come again on every pass.
        runner.EndRunWithMessage(kAppCaption, *failure);
        return;
    }
    const auto& loops = runner.Loops();
    const bool insideFilm = std::any_of(loops.begin(), loops.end(), [](const LoopRecord& loop) {
        return loop.kind == LoopKind::Animation;
    });
    runner.SavedPictures().PictureSaved(runner.Surface(), insideFilm);
}

}  // namespace

void RegisterGifCommands(Runner& runner) {
    runner.RegisterCommand("opslaangif", SaveGif);
}

}  // namespace engine
