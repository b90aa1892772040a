// SPDX-License-Identifier: MIT
// Two processes of the desktop program: a second start hands its command line to the first
// and exits 0, and a refused hand-over changes nothing. (A socket left by a crashed first
// instance is SingleInstance's to recover.) Each process runs offscreen with a private runtime
// directory, so the test never meets a real session's instance.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class SingleInstanceProcessTest : public QObject {
    Q_OBJECT

private slots:
    void secondStartsHandOverToTheFirst() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("run"));
        QVERIFY(QFile::setPermissions(dir.filePath("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", dir.filePath("run"));
        environment.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        environment.insert("XDG_DATA_HOME", dir.filePath("data"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("CORVIDA_TEST_EVENTS", dir.filePath("events.log"));

        // A project to hand over, made by the command-line program.
        QProcess cli;
        cli.setProcessEnvironment(environment);
        cli.start(CORVIDA_CLI_PATH,
                  {"--config", dir.filePath("cli.conf"), "crawl", CORVIDA_EXAMPLES "/site/index.htm", "--dir",
                   dir.filePath("work"), "--project", dir.filePath("sample.zpj"), "--quiet"});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);

        // The first instance listens once its socket appears.
        QProcess first;
        first.setProcessEnvironment(environment);
        first.start(CORVIDA_GUI_PATH, {});
        QVERIFY(first.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(
            !QDir(dir.filePath("run")).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot).isEmpty(), 10000);
        QTest::qWait(300);

        // A relative path is resolved where the second start ran.
        QProcess second;
        second.setProcessEnvironment(environment);
        second.setWorkingDirectory(dir.path());
        second.start(CORVIDA_GUI_PATH, {"sample.zpj"});
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(events(dir).contains("opened " + dir.filePath("sample.zpj")), 10000);

        // A command line too long for the channel is refused and reaches nobody.
        QProcess tooLong;
        tooLong.setProcessEnvironment(environment);
        tooLong.start(CORVIDA_GUI_PATH, {QString(70 * 1024, QLatin1Char('x')) + ".zpj"});
        QVERIFY(tooLong.waitForFinished(5000));
        QVERIFY(tooLong.exitCode() != 0);
        QVERIFY(!tooLong.readAllStandardError().isEmpty());
        QCOMPARE(events(dir).count("opened "), 1);
    }

private:
    static QString events(const QTemporaryDir& dir) {
        QFile log(dir.filePath("events.log"));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }
};

QTEST_MAIN(SingleInstanceProcessTest)
#include "SingleInstanceProcessTest.moc"
