#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "controls/Fonts.h"
#include "controls/ProgramLook.h"

// Widgets need one application object for the whole run of a test program, with the panel's
// font stand-ins and the program's look installed, so pictures show what users see. A test
// program registers it once:
//   [[maybe_unused]] auto* const g_app = AddWidgetApplication("vcp_test_controls");
class WidgetApplicationEnvironment : public ::testing::Environment {
  public:
    explicit WidgetApplicationEnvironment(const char* name) : m_name(name) {}
    void SetUp() override {
        m_argv[0] = const_cast<char*>(m_name);
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        InstallFontSubstitutions();
        ApplyProgramLook();
    }
    void TearDown() override { m_app.reset(); }

  private:
    const char* m_name;
    int m_argc = 1;
    char* m_argv[2] = {nullptr, nullptr};
    std::unique_ptr<QApplication> m_app;
};

inline ::testing::Environment* AddWidgetApplication(const char* name) {
    return ::testing::AddGlobalTestEnvironment(new WidgetApplicationEnvironment(name));
}
