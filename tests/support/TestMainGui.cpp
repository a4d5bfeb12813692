#include <QGuiApplication>
#include <gtest/gtest.h>

// Logic tests that paint (reports into PDF) need fonts, hence a GUI application, but no widgets.
int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
