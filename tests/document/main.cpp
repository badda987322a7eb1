// The document tests' entry point: a QCoreApplication only. The document layer has no
// widget, so neither a display nor Qt's offscreen platform is needed.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
