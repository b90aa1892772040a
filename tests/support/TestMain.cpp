// SPDX-License-Identifier: MIT
// The main of every test program: a QCoreApplication for the Qt edges, then GoogleTest. Every
// test starts from the MIME table as the tests before it found it: what one test adds (a
// server's type, a loaded project's scheme) is dropped when it ends.

#include <QCoreApplication>
#include <gmock/gmock.h>

#include "model/MimeTable.h"

namespace {

class MimeTableReset : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& /*test*/) override { m_mark = corvida::MimeTable::instance().mark(); }
    void OnTestEnd(const testing::TestInfo& /*test*/) override { corvida::MimeTable::instance().rollBack(m_mark); }

    corvida::MimeTable::Mark m_mark;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new MimeTableReset);
    return RUN_ALL_TESTS();
}
