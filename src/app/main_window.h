// The main window: the plot, the right panel with ranges, functions and axis
// options, the menus, and the start-up with the preferences file. It shows the
// runner's settings and writes edits back; the runner does the drawing.
#pragma once

#include <QMainWindow>
#include <array>
#include <memory>

#include "app/gui_host.h"
#include "engine/rich_text.h"
#include "engine/runner.h"
#include "plot/plot_surface.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTextEdit;
class QPushButton;
class QRadioButton;

namespace app {

class BigIntegerWindow;
class InterfacePanel;
class FlipbookWindow;
class GifMakerWindow;
class OutputView;
class PlotWidget;
class ProgramWindow;
class Swatch;

// The word ending in ".rtf" on a line of a presentation page, or empty.
QString PageLinkIn(const QString& line);

// "breedte 12.7 cm (480 pix)": centimetres at 96 pixels an inch, to whole millimetres.
QString PlotSizeText(const QString& word, int pixels);

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(GuiHost& host, QWidget* parent = nullptr);
    ~MainWindow() override;

    engine::Runner& Runner() { return *runner_; }
    plot::TPlotSurface& Surface() { return surface_; }
    ProgramWindow& Programs() { return *programWindow_; }
    OutputView& Output() { return *outputView_; }
    BigIntegerWindow& BigIntegers() { return *bigIntegerWindow_; }
    PlotWidget& Plot() { return *plot_; }
    InterfacePanel& Controls() { return *interfacePanel_; }

    // "Weer Tekenen": one run, then the window shows what the run changed.
    void Redraw();
    // A run from the event loop, for window events (show, resize, mouse moves) whose
    // handlers must not open message boxes. At most one run waits.
    void RequestRun();
    // Loads the program into the program window, compiles it and draws it.
    bool OpenProgram(const QString& path);
    // What the window does once it is on the screen: the program file or presentation
    // page (.rtf), if any, is opened and drawn, otherwise the picture of the settings.
    void StartWith(const QString& program);
    // voorkeuren.txt in the start-up folder when there is one, else in the user's
    // configuration folder.
    QString PreferencesPath() const;
    // Opens a presentation page: its text beside the plot, its program compiled and run.
    // A page that cannot be read gives a message and changes nothing.
    bool OpenPresentation(const QString& path);
    // True once the work of StartWith is done.
    bool StartedUp() const { return startedUp_; }
    void LoadPreferences();
    bool SavePreferences();
    // Shows the settings model in the controls.
    void ShowSettings();
    // The fill swatch: colour and pattern of the right-button flood fill.
    plot::Brush FillBrush() const { return fillBrush_; }

    // GIF: the picture as one GIF ("Opslaan als &Gif", also opslaangif's way), and
    // the animated-GIF maker, made when first asked for.
    void SaveGif();
    GifMakerWindow& GifMaker();
    // The other picture files ("Opslaan als &Metafile", "&JPG", SVG, TikZ), the
    // clipboard ("&Kopieren als Bitmap") and the flip-book page generator "Flipzet".
    void SaveMetafile();
    void SaveJpeg();
    void SaveSvg();
    void SaveTikz();
    void CopyBitmap();
    FlipbookWindow& Flipbook();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildPanel();
    void BuildMenus();
    void StartUp();
    void ConnectEdits();
    void OnPlotResized(QSize size);
    void OnLeftDragged(QPoint pixel);
    // A drag starts and ends with no free point taken (vrijpunt).
    void OnLeftPressed();
    void OnLeftReleased();
    void OnRightReleased(QPoint pixel);
    void ChooseGraphColour(int index);
    void AskGraphWidth(int index);
    std::optional<int> AskLineWidth(int current);
    void StepFillPattern();
    void ChooseFillColour();
    void ChooseAxesColour();
    void AskAxesWidth();
    void ChooseGridColour();
    void ChoosePlotFont();
    void ShowFunctionHelp();
    void SaveEepic();
    void SavePdf();
    void SaveBitmap();
    void ShowProgramWindow();
    void OpenHelp(const QString& anchor);
    void AskFrequentQuestions();
    void ShowInfo();
    void UpdateAxisControls();
    void UpdateSizeLabels();
    void ShowRunResults();
    void ShowTextPanel();
    void ChoosePresentation();
    void FollowPageLink(const QPoint& position);
    void ConnectInterface();
    void ShowInterface();
    // Runs `work` (a run or an export) with the windows showing that a program runs.
    template <typename Work>
    void RunBusy(Work&& work);
    void SetBusy(bool busy);
    void ResetForExample();
    void OpenWebPage(const char* address, const char* what);

    GuiHost& host_;
    plot::TPlotSurface surface_;
    std::unique_ptr<engine::Runner> runner_;
    PlotWidget* plot_ = nullptr;
    InterfacePanel* interfacePanel_ = nullptr;
    QAction* slidersAction_ = nullptr;
    QAction* transparentGifsAction_ = nullptr;
    QTextEdit* textPanel_ = nullptr;
    std::optional<engine::RichText> page_;  // the open presentation page
    QString pagePath_;
    QString pendingPage_;  // opened once the running program has stopped
    QPushButton* redraw_ = nullptr;
    QPushButton* stop_ = nullptr;
    std::array<QLineEdit*, 4> ranges_{};  // xmin, xmax, ymin, ymax
    std::array<QLineEdit*, 4> functions_{};
    std::array<Swatch*, 4> graphSwatches_{};
    Swatch* fillSwatch_ = nullptr;
    Swatch* axesSwatch_ = nullptr;
    Swatch* gridSwatch_ = nullptr;
    QRadioButton* sides_ = nullptr;
    QRadioButton* middle_ = nullptr;
    QRadioButton* noAxes_ = nullptr;
    QCheckBox* grid_ = nullptr;
    QCheckBox* ticks_ = nullptr;
    QCheckBox* numbers_ = nullptr;
    QLineEdit* xLabel_ = nullptr;
    QLineEdit* yLabel_ = nullptr;
    QCheckBox* showXLabel_ = nullptr;
    QCheckBox* showYLabel_ = nullptr;
    QLabel* widthLabel_ = nullptr;
    QLabel* heightLabel_ = nullptr;
    std::unique_ptr<ProgramWindow> programWindow_;
    std::unique_ptr<OutputView> outputView_;
    std::unique_ptr<BigIntegerWindow> bigIntegerWindow_;
    std::unique_ptr<GifMakerWindow> gifMaker_;
    std::unique_ptr<FlipbookWindow> flipbook_;
    // The metafile at double the picture's size (ticked) or at its size.
    QAction* metafileDoubleAction_ = nullptr;
    plot::Brush fillBrush_{255, plot::BrushStyle::ForwardDiagonal};
    QSize acceptedSize_;
    QSize drawnSize_;  // the surface's size at the last run
    bool restorePending_ = false;
    // Set once the start-up is done; resizes redraw only then.
    bool ready_ = false;
    bool runQueued_ = false;
    bool rerunAfterRun_ = false;
    bool plotResizePending_ = false;
    bool startedUp_ = false;
    // The window was closed during a run: it closes when the run has stopped.
    bool closeAfterRun_ = false;
    QString startUpFolder_;
};

}  // namespace app
