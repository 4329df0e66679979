#include "render/MonaFont.h"
#include "render/Resources.h"

#include <gtest/gtest.h>

#include <QApplication>

// Widgets need an application; the offscreen platform gives one without a display. The windows
// are drawn in the bundled pixel font, as the application draws them.
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
