// SPDX-License-Identifier: MIT
#include "support/CliRunner.h"

#include <QProcess>

#include "support/TestPaths.h"

namespace corvida::test {

CliResult runCli(const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromStdString(cliPath()), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

} // namespace corvida::test
