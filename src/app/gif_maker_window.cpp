// The maker's window and its "GO!": load every file, write them as one GIF with
// the writer of the plot's "Opslaan als &Gif".
#include "app/gif_maker_window.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "app/gui_host.h"
#include "app/swatch.h"
#include "export/whole_file.h"
#include "gif/animation_frame.h"
#include "gif/gif_picture.h"
#include "gif/qimage_frames.h"

namespace app {

namespace {

constexpr const char* kOpenFilter = "Bitmap Files (*.bmp);;Gif Files (*.gif);;All Files (*)";
constexpr const char* kSaveFilter = "GIF Files (*.gif);;All Files (*)";

QPushButton* MakeButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

// A picture file as the maker reads it: a name containing ".gif" (exactly so) is a
// GIF, anything else a Windows bitmap.
std::optional<QImage> LoadPicture(const QString& fileName, gif::GifError& error) {
    if (fileName.contains(".gif")) {
        gif::TGifPicture picture;
        if (!picture.LoadFromFile(fileName.toStdString())) {
            error = picture.LastError();
            return std::nullopt;
        }
        // The transparent part shows the white of an empty plot.
        QImage opaque(picture.Picture().size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter(&opaque).drawImage(0, 0, picture.Picture());
        return opaque;
    }
    if (!QFileInfo(fileName).exists()) {
        error = gif::GifError::FileNotFound;
        return std::nullopt;
    }
    QImageReader reader(fileName, "bmp");
    reader.setAutoDetectImageFormat(false);
    QImage image;
    if (!QFileInfo(fileName).isFile() || !reader.read(&image) || image.isNull()) {
        error = gif::GifError::InvalidFileFormat;
        return std::nullopt;
    }
    return image;
}

}  // namespace

GifMakerWindow::GifMakerWindow(GuiHost& host, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint),
      host_(host),
      transparentColour_(plot::kWhite) {
    setObjectName("frmMain");
    setWindowTitle("Zorvat: geanimeerde GIF maken");
    auto* layout = new QVBoxLayout(this);

    auto* lblInput = new QLabel("Input Files (gif or bmp):", this);
    lblInput->setObjectName("lblInput");
    layout->addWidget(lblInput);
    auto* inputRow = new QHBoxLayout;
    lbInput_ = new QListWidget(this);
    lbInput_->setObjectName("lbInput");
    inputRow->addWidget(lbInput_, 1);
    auto* listButtons = new QVBoxLayout;
    auto* browseInput = MakeButton("&Toevoegen...", "btnBrowseInput", this);
    auto* remove = MakeButton("&Verwijderen", "btnRemove", this);
    auto* clear = MakeButton("&Wissen", "btnClear", this);
    auto* sort = MakeButton("&Sorteren", "Button1", this);
    for (QPushButton* button : {browseInput, remove, clear, sort}) listButtons->addWidget(button);
    listButtons->addStretch(1);
    inputRow->addLayout(listButtons);
    layout->addLayout(inputRow);

    auto* grid = new QGridLayout;
    auto* lblOutput = new QLabel("Output File:", this);
    lblOutput->setObjectName("lblOutput");
    editOutput_ = new QLineEdit(this);
    editOutput_->setObjectName("editOutput");
    auto* browseOutput = MakeButton("&Browse...", "btnBrowseOutput", this);
    grid->addWidget(lblOutput, 0, 0);
    grid->addWidget(editOutput_, 0, 1);
    grid->addWidget(browseOutput, 0, 2);
    auto* label2 = new QLabel("delay", this);
    label2->setObjectName("Label2");
    edit1_ = new QLineEdit("10", this);
    edit1_->setObjectName("Edit1");
    grid->addWidget(label2, 1, 0);
    grid->addWidget(edit1_, 1, 1);
    auto* label1 = new QLabel("Transparent", this);
    label1->setObjectName("Label1");
    checkBox1_ = new QCheckBox(this);
    checkBox1_->setObjectName("CheckBox1");
    checkBox1_->setChecked(true);
    grid->addWidget(label1, 2, 0);
    grid->addWidget(checkBox1_, 2, 1);
    auto* label3 = new QLabel("transparentcolor", this);
    label3->setObjectName("Label3");
    shape1_ = new Swatch(this);
    shape1_->setObjectName("Shape1");
    shape1_->SetColour(ToQColor(transparentColour_));
    grid->addWidget(label3, 3, 0);
    grid->addWidget(shape1_, 3, 1, Qt::AlignLeft);
    layout->addLayout(grid);

    auto* bottom = new QHBoxLayout;
    lblProgress_ = new QLabel("0% Compleet", this);
    lblProgress_->setObjectName("lblProgress");
    lblProgress_->hide();
    bottom->addWidget(lblProgress_);
    bottom->addStretch(1);
    auto* go = MakeButton("GO!", "btnGo", this);
    go->setDefault(true);
    auto* exit = MakeButton("Exit", "btnExit", this);
    bottom->addWidget(go);
    bottom->addWidget(exit);
    layout->addLayout(bottom);

    connect(browseInput, &QPushButton::clicked, this, &GifMakerWindow::BrowseInputClicked);
    connect(remove, &QPushButton::clicked, this, &GifMakerWindow::RemoveClicked);
    connect(clear, &QPushButton::clicked, this, &GifMakerWindow::ClearInputFiles);
    connect(sort, &QPushButton::clicked, this, &GifMakerWindow::SortClicked);
    connect(browseOutput, &QPushButton::clicked, this, &GifMakerWindow::BrowseOutputClicked);
    connect(shape1_, &Swatch::LeftClicked, this, &GifMakerWindow::ChooseTransparentColour);
    connect(shape1_, &Swatch::RightClicked, this, &GifMakerWindow::ChooseTransparentColour);
    connect(go, &QPushButton::clicked, this, &GifMakerWindow::GoClicked);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(sizeHint().expandedTo(QSize(460, 360)));
}

QStringList GifMakerWindow::InputFiles() const {
    QStringList files;
    for (int i = 0; i < lbInput_->count(); ++i) files << lbInput_->item(i)->text();
    return files;
}

void GifMakerWindow::AddInputFile(const QString& fileName) {
    lbInput_->addItem(fileName);
}

void GifMakerWindow::ClearInputFiles() {
    lbInput_->clear();
}

void GifMakerWindow::BrowseInputClicked() {
    if (const auto name = host_.OpenFileName("Toevoegen", kOpenFilter)) {
        AddInputFile(QString::fromStdString(*name));
    }
}

void GifMakerWindow::RemoveClicked() {
    delete lbInput_->takeItem(lbInput_->currentRow());
}

void GifMakerWindow::SortClicked() {
    lbInput_->sortItems();
}

void GifMakerWindow::BrowseOutputClicked() {
    const auto name =
        host_.SaveFileName("Output File", editOutput_->text().toStdString(), kSaveFilter);
    if (!name) return;
    QString fileName = QString::fromStdString(*name);
    if (QFileInfo(fileName).suffix().isEmpty()) fileName += ".gif";
    editOutput_->setText(fileName);
}

void GifMakerWindow::ChooseTransparentColour() {
    const auto colour = host_.ChooseColour(ToQColor(transparentColour_));
    if (!colour) return;
    transparentColour_ = FromQColor(*colour);
    shape1_->SetColour(*colour);
}

void GifMakerWindow::ShowProgress(int percentage) {
    if (percentage == 100) {
        lblProgress_->hide();
        return;
    }
    lblProgress_->setText(QString("%1% Complete").arg(percentage));
    lblProgress_->show();
    lblProgress_->repaint();
}

void GifMakerWindow::GoClicked() {
    bool isNumber = false;
    gif::AnimationSettings settings;
    settings.delay = edit1_->text().trimmed().toInt(&isNumber);
    if (!isNumber) {
        host_.ShowMessage(engine::kAppCaption,
                          "'" + edit1_->text().toStdString() + "' is geen geldig geheel getal",
                          engine::MessageIcon::Error);
        return;
    }
    settings.transparent = checkBox1_->isChecked();
    settings.transparentColour = transparentColour_;
    const QStringList files = InputFiles();
    const auto fail = [this](gif::GifError error, const QString& file) {
        std::string text = gif::MakerSaveFailedMessage(error);
        if (!file.isEmpty()) text += "\n" + file.toStdString();
        host_.ShowMessage(engine::kAppCaption, text, engine::MessageIcon::Error);
    };
    // The writer takes at most 256 frames; more are refused before anything is read.
    if (static_cast<size_t>(files.size()) > gif::kMaxFrames) {
        fail(gif::GifError::IndexOutOfBounds, "");
        return;
    }
    gif::TFrameList frames;
    for (int i = 0; i < files.size(); ++i) {
        gif::GifError error = gif::GifError::None;
        const auto image = LoadPicture(files[i], error);
        if (!image) {
            fail(error, files[i]);
            return;
        }
        auto picture = gif::ToRgbImage(*image);
        if (!picture) {
            fail(gif::GifError::PictureConversion, files[i]);
            return;
        }
        frames.frames.push_back(gif::AnimationFrame(std::move(*picture), i + 1, settings));
    }

    gif::TGifWriter writer;
    writer.SetProgressHandler([this](const gif::TGifWriter&, int64_t, int64_t, int percentage,
                                     bool&) { ShowProgress(percentage); });
    std::string bytes;
    const bool encoded = writer.WriteFrames(frames, bytes);
    lblProgress_->hide();
    if (!encoded) {
        fail(writer.LastError(), "");
        return;
    }
    const std::string output = editOutput_->text().toStdString();
    if (!exporter::WriteWholeFile(output, bytes)) {
        host_.ShowMessage(engine::kAppCaption, "Kan " + output + " niet opslaan",
                          engine::MessageIcon::Error);
        return;
    }
    host_.ShowMessage(engine::kAppCaption,
                      frames.globalPalette
                          ? "Animation saved using a global palette. Success!"
                          : "Animation saved using multiple local palettes. Success!",
                      engine::MessageIcon::Information);
}

}  // namespace app
