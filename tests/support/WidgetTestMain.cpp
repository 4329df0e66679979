#include "render/MonaFont.h"
#include "render/Resources.h"

#include <gtest/gtest.h>

#include <QApplication>

// For widget tests: an application (offscreen without a display) and the build's art and
// pixel font, as the application draws with them. Its target defines TOCKWORK_BUILT_SHARE_DIR.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Resources::setBundleDir(QStringLiteral(TOCKWORK_BUILT_SHARE_DIR));
    registerMonaFont();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
