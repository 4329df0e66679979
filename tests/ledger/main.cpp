#include <QCoreApplication>

#include <gtest/gtest.h>

// Qt SQL finds its SQLite driver through the application's plugin paths.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
