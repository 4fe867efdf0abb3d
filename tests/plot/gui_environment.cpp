// Every plot test measures or draws text, so the GUI application is made before the first.
#include <gtest/gtest.h>

#include "gui_application.h"

namespace {

class GuiEnvironment : public testing::Environment {
  public:
    void SetUp() override { EnsureGuiApplication(); }
};

[[maybe_unused]] testing::Environment* const kGui =
    testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
