// A runner on a small surface with a recording host: runs program source text.
#pragma once

#include <gtest/gtest.h>

#include "engine/runner.h"
#include "gui_application.h"
#include "recording_host.h"

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() : surface(200, 200), runner((EnsureGuiApplication(), host), surface) {}

    void Run(const std::vector<std::string>& source) {
        runner.Program() = engine::CompileProgram(source);
        host.messages.clear();
        runner.Run();
    }
    bool DarkAt(expr::Real x, expr::Real y) {
        const int column = surface.WindowX(x), row = surface.WindowY(y);
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                const plot::Colour c = surface.PixelColour(column + dx, row + dy);
                if ((c & 0xFF) < 128 && ((c >> 8) & 0xFF) < 128) return true;
            }
        }
        return false;
    }
    expr::Real Variable(const char* name, int parser = 1) {
        return runner.Parser(parser).ReadVariable(name);
    }
    std::string String(const char* name) { return runner.Strings().Get(name); }
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const auto& m : host.messages) texts.push_back(m.text);
        return texts;
    }

    RecordingHost host;
    plot::TPlotSurface surface;
    engine::Runner runner;
};
