// Fonts and painting need a QGuiApplication; tests create one on first use.
#pragma once

#include <QGuiApplication>
#include <cstdlib>

inline void EnsureGuiApplication() {
    if (QGuiApplication::instance() != nullptr) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);  // tests never need a display
    static int argc = 1;
    static char name[] = "zorvat-test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
}
