// The bottom panel of the main window: the two sliders, the three text fields, the
// selection box and the "Verder" button that programs take over. It shows the
// engine's model and reports what the user does with it.
#pragma once

#include <QWidget>
#include <array>

#include "engine/program_interface.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace app {

class InterfacePanel : public QWidget {
    Q_OBJECT

public:
    explicit InterfacePanel(QWidget* parent = nullptr);

    // Shows the model: what is visible, the texts, captions and places.
    void Show(const engine::ProgramInterface& model);
    QSlider& SliderAt(int index) { return *sliders_[static_cast<size_t>(index)]; }

signals:
    void SliderMoved(int index, int position);
    void FieldEdited(int index, const QString& text);
    void FieldEntered(int index);
    void SelectionChosen(const QString& text);
    void ContinuePressed();

private:
    void Arrange(const engine::ProgramInterface& model);

    std::array<QSlider*, 2> sliders_{};
    std::array<QLabel*, 2> sliderLabels_{};
    std::array<QLineEdit*, 3> fields_{};
    std::array<QLabel*, 3> fieldLabels_{};
    QComboBox* selection_ = nullptr;
    QPushButton* continue_ = nullptr;
};

}  // namespace app
