#pragma once
// One QApplication for the whole test program, made before the first test and destroyed
// after the last one, while Qt's own globals are still alive.
#include <QApplication>
#include <QStandardPaths>

#include <memory>

#include <gtest/gtest.h>

namespace pwtest {

class QtAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[8] = "pwtest";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

// Registers the environment when the test program starts (gtest_main runs the tests).
inline ::testing::Environment* const kQtAppEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

}  // namespace pwtest
