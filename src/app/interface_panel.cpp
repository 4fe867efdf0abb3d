// The bottom panel with the program's controls.
#include "app/interface_panel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

namespace app {

namespace {

constexpr int kGap = 10;
constexpr int kLabelHeight = 18;
constexpr int kControlTop = 20;
constexpr int kControlHeight = 26;
constexpr int kSliderWidth = 170;
constexpr int kFieldWidth = 130;
constexpr int kSelectionWidth = 150;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

InterfacePanel::InterfacePanel(QWidget* parent) : QWidget(parent) {
    setObjectName("onderpaneel");
    setFixedHeight(kControlTop + kControlHeight + 6);
    for (int i = 0; i < 2; ++i) {
        QSlider* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(QString("schuifbalk%1").arg(i + 1));
        slider->setRange(engine::Slider::kMinimum, engine::Slider::kMaximum);
        slider->setPageStep(10);
        slider->hide();
        sliderLabels_[i] = new QLabel(this);
        sliderLabels_[i]->setObjectName(QString("schuifbalklabel%1").arg(i + 1));
        sliderLabels_[i]->hide();
        connect(slider, &QSlider::valueChanged, this,
                [this, i](int position) { emit SliderMoved(i, position); });
        sliders_[i] = slider;
    }
    for (int i = 0; i < 3; ++i) {
        fields_[i] = new QLineEdit(this);
        fields_[i]->setObjectName(QString("tekstveld%1").arg(i + 1));
        fields_[i]->hide();
        fieldLabels_[i] = new QLabel(this);
        fieldLabels_[i]->setObjectName(QString("tekstveldlabel%1").arg(i + 1));
        fieldLabels_[i]->hide();
        connect(fields_[i], &QLineEdit::textEdited, this,
                [this, i](const QString& text) { emit FieldEdited(i, text); });
        connect(fields_[i], &QLineEdit::returnPressed, this, [this, i] { emit FieldEntered(i); });
    }
    selection_ = new QComboBox(this);
    selection_->setObjectName("selectievak");
    selection_->hide();
    connect(selection_, &QComboBox::textActivated, this, &InterfacePanel::SelectionChosen);
    continue_ = new QPushButton(engine::ProgramInterface::kContinueCaption, this);
    continue_->setObjectName("verder");
    continue_->setToolTip("Klik mij");
    continue_->hide();
    connect(continue_, &QPushButton::clicked, this, &InterfacePanel::ContinuePressed);
}

void InterfacePanel::Show(const engine::ProgramInterface& model) {
    for (size_t i = 0; i < sliders_.size(); ++i) {
        const engine::Slider& slider = model.sliders[i];
        const bool visible = slider.visible || model.slidersShown;
        if (sliders_[i]->value() != slider.position) {
            const QSignalBlocker block(sliders_[i]);
            sliders_[i]->setValue(slider.position);
        }
        sliders_[i]->setVisible(visible);
        sliderLabels_[i]->setText(Q(slider.label));
        sliderLabels_[i]->setVisible(visible);
    }
    for (size_t i = 0; i < fields_.size(); ++i) {
        const engine::TextField& field = model.fields[i];
        if (fields_[i]->text() != Q(field.text)) fields_[i]->setText(Q(field.text));
        fields_[i]->setVisible(field.visible);
        fieldLabels_[i]->setText(Q(field.caption));
        fieldLabels_[i]->setVisible(field.visible);
    }
    {
        const QSignalBlocker block(selection_);
        QStringList items;
        for (const auto& item : model.selection.items) items << Q(item);
        QStringList shown;
        for (int i = 0; i < selection_->count(); ++i) shown << selection_->itemText(i);
        if (shown != items) {
            selection_->clear();
            selection_->addItems(items);
        }
        selection_->setCurrentIndex(selection_->findText(Q(model.selection.text)));
        selection_->setVisible(model.selection.visible);
    }
    continue_->setText(Q(model.continueCaption));
    continue_->setVisible(model.continueVisible);
    Arrange(model);
    const bool any = std::any_of(sliders_.begin(), sliders_.end(),
                                 [](const QWidget* w) { return !w->isHidden(); }) ||
                     std::any_of(fields_.begin(), fields_.end(),
                                 [](const QWidget* w) { return !w->isHidden(); }) ||
                     !selection_->isHidden() || !continue_->isHidden();
    setVisible(any);
}

// Elements stand left to right in their order, or at the column a program gave them;
// each caption above its control.
void InterfacePanel::Arrange(const engine::ProgramInterface& model) {
    int next = kGap;
    const auto place = [&](QWidget* control, QLabel* label, int width, std::optional<int> left) {
        if (control->isHidden()) return;
        const int x = left.value_or(next);
        control->setGeometry(x, kControlTop, width, kControlHeight);
        if (label != nullptr) label->setGeometry(x, 0, width, kLabelHeight);
        if (!left) next = x + width + kGap;
    };
    for (size_t i = 0; i < sliders_.size(); ++i) {
        place(sliders_[i], sliderLabels_[i], kSliderWidth, model.sliders[i].left);
    }
    for (size_t i = 0; i < fields_.size(); ++i) {
        place(fields_[i], fieldLabels_[i], kFieldWidth, model.fields[i].left);
    }
    place(selection_, nullptr, kSelectionWidth, model.selection.left);
    place(continue_, nullptr, std::max(90, continue_->sizeHint().width()), std::nullopt);
}

}  // namespace app
