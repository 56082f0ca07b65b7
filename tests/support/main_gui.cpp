#include "support/private_config.h"
#include "ui/application.h"
#include "ui/window_style.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    ::testing::InitGoogleTest(&argc, argv);
    vandorelle::test::usePrivateConfigHome();
    vandorelle::Application app(argc, argv);
    // Layouts are tested with the font the window ships with.
    vandorelle::applyWindowFont();
    return RUN_ALL_TESTS();
}
