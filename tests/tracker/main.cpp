#include <QCoreApplication>

#include <gtest/gtest.h>

#include <ctime>

// Local sockets and the host process need an event loop; day keys and hours are Seoul's.
int main(int argc, char** argv)
{
    qputenv("TZ", "Asia/Seoul");
    tzset();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
