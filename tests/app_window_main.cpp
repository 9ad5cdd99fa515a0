// SPDX-License-Identifier: MIT
// The window tests need one QApplication for the whole run; they run under
// the offscreen platform (QT_QPA_PLATFORM=offscreen, set by the test list).
// HOME and the XDG folders point at a folder of the run's own, so that what
// Qt keeps for the user (the file dialog's settings, for one) never reaches
// the user's files.

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    QTemporaryDir home;
    if (!home.isValid()) return 1;
    qputenv("HOME", home.path().toLocal8Bit());
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR"})
        qputenv(name, (home.path() + QLatin1Char('/') + QLatin1String(name)).toLocal8Bit());
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
