// The "symbolisch" group of the program window: derivative, antiderivative and
// definite integral of the calculator's expression by the symbolic library, and
// "=>expressie", which takes the result back as the expression.
#pragma once

#include <QGroupBox>

#include "engine/calculator.h"

class QComboBox;
class QLineEdit;

namespace engine {
class Runner;
}

namespace app {

class CalculatorPanel;
class GuiHost;

class SymbolicPanel : public QGroupBox {
public:
    SymbolicPanel(engine::Runner& runner, GuiHost& host, CalculatorPanel& calculator,
                  QLineEdit& result, QWidget* parent = nullptr);

private:
    template <typename Ask>
    void Show(Ask ask);

    GuiHost& host_;
    engine::Calculator calculator_;
    CalculatorPanel& calculatorPanel_;
    QLineEdit& result_;
    QLineEdit* variable_ = nullptr;
    QComboBox* order_ = nullptr;
};

}  // namespace app
