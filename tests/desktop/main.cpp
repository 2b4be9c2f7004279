// The desktop tests drive the real program on X servers of their own; this process only needs an
// event loop (D-Bus, waiting).
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
