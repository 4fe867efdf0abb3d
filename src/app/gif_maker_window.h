// The animated-GIF maker: a list of BMP and GIF files becomes one animated GIF,
// every frame with the same delay and transparent colour.
#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace app {

class GuiHost;
class Swatch;

// A dialog for its default button (Enter is "GO!") and Escape ("Exit"); shown modeless.
class GifMakerWindow : public QDialog {
    Q_OBJECT

public:
    explicit GifMakerWindow(GuiHost& host, QWidget* parent = nullptr);

    // The input files in frame order; opslaanbmp fills the list during a run.
    QStringList InputFiles() const;
    void AddInputFile(const QString& fileName);
    void ClearInputFiles();

private:
    void BrowseInputClicked();
    void RemoveClicked();
    void SortClicked();
    void BrowseOutputClicked();
    void ChooseTransparentColour();
    void GoClicked();
    void ShowProgress(int percentage);

    GuiHost& host_;
    QListWidget* lbInput_ = nullptr;
    QLineEdit* editOutput_ = nullptr;
    QLineEdit* edit1_ = nullptr;  // delay in milliseconds
    QCheckBox* checkBox1_ = nullptr;
    Swatch* shape1_ = nullptr;
    QLabel* lblProgress_ = nullptr;
    uint32_t transparentColour_;
};

}  // namespace app
