// The "Calculator" group of the program window: an expression of x evaluated at
// x, its slope and its integral from a to b, each written into the window's
// result field; "F".."I" copy the main window's functions into the expression.
#pragma once

#include <QGroupBox>

#include "engine/calculator.h"

class QLineEdit;

namespace engine {
class Runner;
}

namespace app {

class GuiHost;

class CalculatorPanel : public QGroupBox {
public:
    CalculatorPanel(engine::Runner& runner, GuiHost& host, QLineEdit& result,
                    QWidget* parent = nullptr);

    QLineEdit& ExpressionField() { return *expression_; }
    QLineEdit& LowerBoundField() { return *lower_; }
    QLineEdit& UpperBoundField() { return *upper_; }

private:
    // Runs one button's computation; a rejected text shows the parser's message
    // and the result field keeps its old text.
    template <typename Compute>
    void Show(Compute compute);
    void FillEmptyX();

    engine::Runner& runner_;
    GuiHost& host_;
    engine::Calculator calculator_;
    QLineEdit& result_;
    QLineEdit* expression_ = nullptr;
    QLineEdit* x_ = nullptr;
    QLineEdit* lower_ = nullptr;
    QLineEdit* upper_ = nullptr;
};

}  // namespace app
