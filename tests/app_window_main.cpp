// The window tests need one QApplication for the whole run; they run under
// the offscreen platform (QT_QPA_PLATFORM=offscreen, set by the test list).

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
