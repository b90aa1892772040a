// SPDX-License-Identifier: MIT
// Two processes of the desktop program: a second start hands its command line to the first
// and exits 0, a refused hand-over changes nothing, and a socket left by a killed first
// instance is taken over by the next one. Each process runs offscreen with a private runtime
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

        QProcess first;
        startFirst(first, environment, dir);

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

        // A killed first instance leaves its socket behind; the next first instance takes it over.
        first.kill();
        QVERIFY(first.waitForFinished(5000));
        QProcess next;
        startFirst(next, environment, dir);
        QProcess third;
        third.setProcessEnvironment(environment);
        third.start(CORVIDA_GUI_PATH, {dir.filePath("sample.zpj")});
        QVERIFY(third.waitForFinished(5000));
        QCOMPARE(third.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(events(dir).count("opened "), 2, 10000);
        next.kill();
        QVERIFY(next.waitForFinished(5000));
    }

private:
    static QString events(const QTemporaryDir& dir) {
        QFile log(dir.filePath("events.log"));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    // Starts a first instance and waits until it listens (its socket appears).
    static void startFirst(QProcess& process, const QProcessEnvironment& environment, const QTemporaryDir& dir) {
        const QStringList before =
            QDir(dir.filePath("run")).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
        process.setProcessEnvironment(environment);
        process.start(CORVIDA_GUI_PATH, {});
        QVERIFY(process.waitForStarted(5000));
        // The socket's file may stay from a killed instance: wait until the new one answers.
        QTest::qWait(before.isEmpty() ? 0 : 1500);
        QTRY_VERIFY_WITH_TIMEOUT(
            !QDir(dir.filePath("run")).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot).isEmpty(), 10000);
        QTest::qWait(300);
    }
};

QTEST_MAIN(SingleInstanceProcessTest)
#include "SingleInstanceProcessTest.moc"
