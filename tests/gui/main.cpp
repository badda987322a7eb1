// The GUI tests' entry point: one QApplication for every test, on Qt's offscreen platform
// unless a platform is chosen (the test discovery runs this binary without the tests'
// environment).
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("rkedit"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
