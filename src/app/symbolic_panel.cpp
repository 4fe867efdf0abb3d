// The symbolic group of the program window.
#include "app/symbolic_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/calculator_panel.h"
#include "app/gui_host.h"
#include "engine/runner.h"

namespace app {

namespace {

QPushButton* Button(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

std::string Std(const QLineEdit& field) {
    return field.text().toStdString();
}

}  // namespace

SymbolicPanel::SymbolicPanel(engine::Runner& runner, GuiHost& host, CalculatorPanel& calculator,
                             QLineEdit& result, QWidget* parent)
    : QGroupBox("symbolisch", parent),
      host_(host),
      calculator_(runner),
      calculatorPanel_(calculator),
      result_(result) {
    setObjectName("symbolisch");
    auto* grid = new QGridLayout(this);
    variable_ = new QLineEdit("x", this);
    variable_->setObjectName("variabele");
    variable_->setFixedWidth(64);
    order_ = new QComboBox(this);
    order_->setObjectName("orde");
    order_->addItems({"1e", "2e", "3e", "4e", "5e"});
    auto* derivative = Button("Afgeleide", "afgeleide", this);
    auto* antiderivative = Button("Primitieve", "primitieve", this);
    auto* definite = Button("Bep. Int.", "bepaaldeIntegraal", this);
    auto* toExpression = Button("=>expressie", "naarExpressie", this);
    grid->addWidget(new QLabel("variabele", this), 0, 0);
    grid->addWidget(variable_, 0, 1);
    grid->addWidget(order_, 0, 2);
    grid->addWidget(derivative, 1, 0);
    grid->addWidget(antiderivative, 1, 1);
    grid->addWidget(definite, 2, 0);
    grid->addWidget(toExpression, 2, 1);

    connect(derivative, &QPushButton::clicked, this, [this] {
        Show([this] {
            return calculator_.Derivative(Std(calculatorPanel_.ExpressionField()), Std(*variable_),
                                          order_->currentText().toStdString());
        });
    });
    connect(antiderivative, &QPushButton::clicked, this, [this] {
        Show([this] {
            return calculator_.Antiderivative(Std(calculatorPanel_.ExpressionField()),
                                              Std(*variable_));
        });
    });
    connect(definite, &QPushButton::clicked, this, [this] {
        Show([this] {
            return calculator_.DefiniteIntegral(
                Std(calculatorPanel_.ExpressionField()), Std(*variable_),
                Std(calculatorPanel_.LowerBoundField()), Std(calculatorPanel_.UpperBoundField()));
        });
    });
    connect(toExpression, &QPushButton::clicked, this,
            [this] { calculatorPanel_.ExpressionField().setText(result_.text()); });
}

template <typename Ask>
void SymbolicPanel::Show(Ask ask) {
    try {
        result_.setText(QString::fromStdString(ask()));
    } catch (const std::exception& error) {
        host_.ShowMessage(engine::kAppCaption, error.what(), engine::MessageIcon::Error);
    }
}

}  // namespace app
