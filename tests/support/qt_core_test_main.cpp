// The main of the tests of the core (link, parameters, firmware, speed mode):
// a QCoreApplication, as a console program has, so that anything in the core
// that needs a display or widgets fails here.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
