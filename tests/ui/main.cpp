// The UI tests need a QApplication before any widget exists, and no display: they always
// run on the offscreen platform (test discovery starts them without ctest's environment).
#include <gtest/gtest.h>

#include <QApplication>

#include "game/game_rules.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) qputenv("XDG_RUNTIME_DIR", "/tmp");
    QApplication app(argc, argv);
    morvath::InstallGameRules();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
