#include <gtest/gtest.h>

#include <QGuiApplication>

#include <memory>

namespace {

// Pixmaps need a GUI application; one lives for the whole test program.
class GuiApplicationEnvironment : public testing::Environment {
  public:
    void SetUp() override { m_app = std::make_unique<QGuiApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

  private:
    int m_argc = 1;
    char m_name[16] = "vcp_test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QGuiApplication> m_app;
};

[[maybe_unused]] testing::Environment* const g_guiEnvironment =
    testing::AddGlobalTestEnvironment(new GuiApplicationEnvironment);

}  // namespace
