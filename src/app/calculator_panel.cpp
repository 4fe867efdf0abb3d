// The calculator group of the program window.
#include "app/calculator_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/gui_host.h"
#include "engine/runner.h"

namespace app {

namespace {

// Narrow buttons and fields keep the group beside the editor small.
constexpr int kButtonWidth = 28;
constexpr int kNumberWidth = 64;

QPushButton* Button(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setFixedWidth(kButtonWidth);
    return button;
}

QLineEdit* Field(const char* name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    return field;
}

}  // namespace

CalculatorPanel::CalculatorPanel(engine::Runner& runner, GuiHost& host, QLineEdit& result,
                                 QWidget* parent)
    : QGroupBox("Calculator", parent),
      runner_(runner),
      host_(host),
      calculator_(runner),
      result_(result) {
    setObjectName("calculator");
    auto* grid = new QGridLayout(this);
    expression_ = Field("expressie", this);
    x_ = Field("xwaarde", this);
    lower_ = Field("ondergrens", this);
    upper_ = Field("bovengrens", this);
    for (QLineEdit* number : {x_, lower_, upper_}) number->setFixedWidth(kNumberWidth);
    expression_->setMinimumWidth(2 * kNumberWidth);
    auto* value = Button("=", "waardeBerekenen", this);
    auto* slope = Button("=", "hellingBerekenen", this);
    auto* integral = Button("=", "integraalBerekenen", this);

    grid->addWidget(new QLabel("Expressie", this), 0, 0);
    grid->addWidget(expression_, 0, 1, 1, 4);
    grid->addWidget(new QLabel("x", this), 1, 0);
    grid->addWidget(x_, 1, 1);
    grid->addWidget(value, 1, 4);
    auto* functions = new QHBoxLayout;
    static const char* const kLetters[] = {"F", "G", "H", "I"};
    for (size_t i = 0; i < 4; ++i) {
        const QString letter = kLetters[i];
        auto* copy = Button(letter, "", this);
        copy->setObjectName("kopieer" + letter);
        connect(copy, &QPushButton::clicked, this, [this, i] {
            expression_->setText(QString::fromStdString(runner_.Settings().functions[i]));
        });
        functions->addWidget(copy);
    }
    grid->addLayout(functions, 2, 0, 1, 5);
    grid->addWidget(new QLabel("helling", this), 3, 0, 1, 4);
    grid->addWidget(slope, 3, 4);
    grid->addWidget(new QLabel("a", this), 4, 0);
    grid->addWidget(lower_, 4, 1);
    grid->addWidget(new QLabel("b", this), 4, 2);
    grid->addWidget(upper_, 4, 3);
    grid->addWidget(new QLabel("Integraal", this), 5, 0, 1, 4);
    grid->addWidget(integral, 5, 4);

    connect(value, &QPushButton::clicked, this, [this] {
        FillEmptyX();
        Show([this] {
            return calculator_.Value(expression_->text().toStdString(), x_->text().toStdString());
        });
    });
    connect(slope, &QPushButton::clicked, this, [this] {
        FillEmptyX();
        Show([this] {
            return calculator_.Slope(expression_->text().toStdString(), x_->text().toStdString());
        });
    });
    connect(integral, &QPushButton::clicked, this, [this] {
        Show([this] {
            return calculator_.Integral(expression_->text().toStdString(),
                                        lower_->text().toStdString(), upper_->text().toStdString());
        });
    });
}

void CalculatorPanel::FillEmptyX() {
    if (x_->text().isEmpty()) x_->setText("0");
}

template <typename Compute>
void CalculatorPanel::Show(Compute compute) {
    try {
        result_.setText(QString::fromStdString(compute()));
    } catch (const std::exception& error) {
        QString message = QString::fromStdString(error.what());
        message.replace('\r', '\n');
        host_.ShowMessage(engine::kAppCaption, message.toStdString(), engine::MessageIcon::Error);
    }
}

}  // namespace app
