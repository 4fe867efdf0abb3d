// The numbered pictures of one run (opslaangif and its kin share one counter) and
// the frames an animation takes from the run.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "plot/plot_surface.h"

namespace engine {

class PictureSaves {
public:
    // Numbers run from 10 to 99: at most 90 pictures a run.
    static constexpr int kFirstNumber = 10;
    static constexpr int kEndNumber = 100;

    void StartRun() {
        counter_ = kFirstNumber;
        savedThisPass_ = false;
    }
    // "plaatje" and ".gif" give "plaatje10.gif", then "plaatje11.gif"; nothing once
    // the counter reached 100.
    std::optional<std::string> NextFileName(const std::string& base, const std::string& extension);
    // True while no numbered picture of this run has been named yet.
    bool AtFirstNumber() const { return counter_ == kFirstNumber; }

    // Gets every bitmap opslaanbmp saves (the animated-GIF maker lists them); the first
    // picture number of a run comes with `firstOfRun`, so the list can start afresh.
    using BitmapListener = std::function<void(const std::string& fileName, bool firstOfRun)>;
    void SetBitmapListener(BitmapListener listener) { bitmapListener_ = std::move(listener); }
    void BitmapSaved(const std::string& fileName, bool firstOfRun) {
        if (bitmapListener_) bitmapListener_(fileName, firstOfRun);
    }

    // Gets every frame of an animation; empty when nobody records.
    using FrameRecorder = std::function<void(const plot::TPlotSurface&)>;
    void SetFrameRecorder(FrameRecorder recorder) { recorder_ = std::move(recorder); }
    // The picture at the end of a film pass. A pass that saved its own picture is not
    // recorded twice.
    void FilmPassEnded(const plot::TPlotSurface& surface);
    // A numbered picture was saved; `insideFilm` when a film loop is open.
    void PictureSaved(const plot::TPlotSurface& surface, bool insideFilm);

private:
    int counter_ = kFirstNumber;
    FrameRecorder recorder_;
    BitmapListener bitmapListener_;
    bool savedThisPass_ = false;
};

}  // namespace engine
