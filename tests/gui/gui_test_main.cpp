// The window tests need one QApplication for the whole process; it is made
// here, before GoogleTest runs any test. The offscreen platform lets them run
// without a display server.
#include <QApplication>
#include <cstdlib>

#include <gtest/gtest.h>

// fontconfig keeps a little of its parsed configuration to the end of the
// process; the text stamps of the option pages' previews load it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
