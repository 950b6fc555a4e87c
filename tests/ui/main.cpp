// The UI tests need a QApplication before any widget exists, and no display: they always
// run on the offscreen platform (test discovery starts them without ctest's environment).
#include <gtest/gtest.h>

#include <QApplication>

#include "../private_folders.h"
#include "game/game_rules.h"
#include "platform/clock.h"

int main(int argc, char** argv) {
    // Qt's runtime folder, the sound system's and the tests' own files stay in here.
    morvath::PrivateFolders folders;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    morvath::InstallGameRules();
    // An ordinary Monday: no test meets the calendar's luck of the day it runs on.
    morvath::PinClock(2026, 12, 7);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
