#pragma once

// The fixture of the tests that run the real program's window: one private
// Xvfb for the test suite, a fresh home on a free loopback port for each test,
// and the build folder's screenshots/ for pictures of what the window shows.

#include "console_program.h"
#include "x_session.h"

#include <QDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace vantorel::testing {

inline const QString screenshotDir = QStringLiteral(VANTOREL_SCREENSHOT_DIR);

class WindowE2e : public ::testing::Test {
protected:
    static void SetUpTestSuite() { x_ = std::make_unique<XSession>(); }
    static void TearDownTestSuite() { x_.reset(); }

    // Skips the test when Xvfb could not start; a fixture that adds to this
    // returns at once when IsSkipped().
    void SetUp() override
    {
        if (!x_->ok())
            GTEST_SKIP() << "Xvfb could not be started";
        QDir().mkpath(screenshotDir);
        port_ = freePort();
        home_.setting(settings::files::prtIni, "PrtIni", "Port", std::to_string(port_));
    }

    inline static std::unique_ptr<XSession> x_;
    ConsoleHome home_;
    int port_ = 0;
};

}  // namespace vantorel::testing
