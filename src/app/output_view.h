// The output window "uitvoervenster": the lines programs write with schrijf and
// schrijfregel, kept between runs until "Wissen".
#pragma once

#include <QMainWindow>

#include "engine/text_output.h"

class QPlainTextEdit;

namespace app {

class GuiHost;

class OutputView : public QMainWindow {
    Q_OBJECT

public:
    OutputView(engine::OutputWindow& output, GuiHost& host, QWidget* parent = nullptr);

    // Shows the window with the model's lines.
    void ShowLines();
    QString Text() const;
    void Clear();
    bool SaveTo(const std::string& path);

private:
    void Save();
    void ScrollToNewest();

    engine::OutputWindow& output_;
    GuiHost& host_;
    QPlainTextEdit* text_ = nullptr;
};

}  // namespace app
