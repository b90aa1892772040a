// SPDX-License-Identifier: MIT
// The main of every test program: a QCoreApplication for the Qt edges, then GoogleTest.

#include <QCoreApplication>
#include <gmock/gmock.h>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
