#include <QCoreApplication>
#include <gtest/gtest.h>

// Logic tests run without widgets: a core application gives them events, timers and processes.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
