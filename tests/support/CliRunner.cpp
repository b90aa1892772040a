// SPDX-License-Identifier: MIT
#include "support/CliRunner.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "support/TestPaths.h"

namespace corvida::test {

CliResult runCli(const QStringList& arguments) {
    // The person's own settings and projects never reach a test: each test program gives
    // corvida-cli a configuration and data home of its own.
    static const QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QString::fromStdString(cliPath()), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

} // namespace corvida::test
