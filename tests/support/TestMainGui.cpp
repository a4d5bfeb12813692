#include <QGuiApplication>
#include <gtest/gtest.h>

// Logic tests that paint (reports into PDF) need fonts, hence a GUI application, but no widgets;
// they run on the offscreen platform unless told otherwise.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
