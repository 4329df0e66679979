#include <QCoreApplication>

#include <gtest/gtest.h>

#include <ctime>

// The analytics worker, its flush timer and the test server need a Qt application object.
int main(int argc, char** argv)
{
    // Day keys, hours and weekdays in the cases are Seoul's, wherever the tests run.
    qputenv("TZ", "Asia/Seoul");
    tzset();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
