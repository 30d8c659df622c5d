// SPDX-License-Identifier: GPL-3.0-or-later
// The UI tests' entry point: one QApplication for every test, on Qt's offscreen platform unless the
// caller chose another, so that the windows open without a display.
#include <QApplication>
#include <QByteArray>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
