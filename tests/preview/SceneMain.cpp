#include <gtest/gtest.h>

#include <QApplication>

#include "render/MonaFont.h"
#include "render/Resources.h"

// The scenes draw with the build's art and pixel font; widgets need an application object.
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
