// SPDX-License-Identifier: MIT
#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QtTest>

#include "WidgetDriver.h"
#include "app/Settings.h"
#include "gui/CustomizeSheet.h"
#include "gui/WorkspacePage.h"
#include "support/MemoryProfile.h"

using namespace corvida;

namespace {

Settings sample() {
    Settings settings;
    settings.browser = BrowserKind::NetscapeNavigator;
    settings.proxyServer = "proxy.example:8080";
    settings.maximumLevel = 3;
    settings.networkBufferSize = 8192;
    settings.workingDirectory = QDir::tempPath().toStdString();
    settings.emailAddress = "me@example.org";
    return settings;
}

// A shown sheet whose messages go to a list instead of a message box.
struct Sheet {
    explicit Sheet(Settings& settings) : sheet(settings, profile) {
        sheet.setMessageSink([this](const QString& text) { messages << text; });
        sheet.show();
        if (!QTest::qWaitForWindowExposed(&sheet)) {
            qFatal("the sheet did not show");
        }
    }
    MemoryProfile profile;
    QStringList messages;
    CustomizeSheet sheet;
};

} // namespace

class CustomizeSheetTest : public QObject {
    Q_OBJECT

private slots:
    void okWithoutEditsOrCancelAfterEditsWritesNothingAndTheSheetHoldsIdleWork() {
        Settings settings = sample();
        {
            Sheet run(settings);
            QVERIFY(IdleDriver::isHeld());
            // The one misspelt caption is the program's own and stays as it is.
            QCOMPARE(child<QCheckBox>(run.sheet, "useRobotExclusionCheck").text(), "Use Robot Exclusion Protocal");
            QDir().mkpath(QStringLiteral(CORVIDA_ARTIFACTS));
            run.sheet.grab().save(QStringLiteral(CORVIDA_ARTIFACTS "/customize-sheet.png"));
            child<QTabWidget>(run.sheet, "customizeTabs").setCurrentIndex(3);
            run.sheet.grab().save(QStringLiteral(CORVIDA_ARTIFACTS "/customize-connection.png"));
            click(run.sheet, "okButton");
            QCOMPARE(run.sheet.result(), QDialog::Accepted);
            QCOMPARE(run.profile.writes + run.profile.syncs, 0);
        }
        QVERIFY(settings == sample());
        QVERIFY(!IdleDriver::isHeld());

        Sheet run(settings);
        run.sheet.setFileChooser([] { return QStringLiteral("/opt/editor"); });
        click(run.sheet, "editorBrowseButton");
        QCOMPARE(child<QLineEdit>(run.sheet, "editorProgramEdit").text(), "/opt/editor");
        click(run.sheet, "useSoundCheck");
        click(run.sheet, "cancelButton");
        QVERIFY(settings == sample());
        QCOMPARE(run.profile.writes + run.profile.syncs, 0);
    }

    void okTakesEveryPagesControls() {
        Settings settings = sample();
        QTemporaryDir directory;
        Sheet run(settings);
        run.sheet.setFileChooser([] { return QStringLiteral("/opt/editor"); });
        run.sheet.setDirectoryChooser([&] { return directory.path(); });
        for (const char* name : {"autoReportCheck", "autoSiteImageCheck", "checkExternalCheck", "picturesCheck",
                                 "audioCheck", "videoCheck", "htmlCheck", "useSoundCheck", "checkLowDiskSpaceCheck",
                                 "useProxyCheck", "useRobotExclusionCheck", "askForPasswordCheck", "insecureTlsCheck",
                                 "editorBrowseButton", "workingDirectoryBrowseButton"}) {
            click(run.sheet, name);
        }
        type(run.sheet, "editorArgumentsEdit", "$LOCALFILE");
        type(run.sheet, "emailAddressEdit", "you@example.org");
        type(run.sheet, "proxyHostEdit", "cache.local");
        child<QSpinBox>(run.sheet, "proxyPortSpin").setValue(3128);
        child<QSpinBox>(run.sheet, "bufferSizeSpin").setValue(16);
        child<QSpinBox>(run.sheet, "connectionsSpin").setValue(8);
        child<QSpinBox>(run.sheet, "perHostSpin").setValue(2);
        child<QSpinBox>(run.sheet, "hostDelaySpin").setValue(250);
        type(run.sheet, "caFileEdit", "/etc/corvida/ca.pem");
        child<QSpinBox>(run.sheet, "diskSpaceLimitSpin").setValue(500);
        child<QComboBox>(run.sheet, "browserCombo").setCurrentIndex(1);
        QVERIFY(settings == sample()); // nothing reaches the record before OK
        click(run.sheet, "okButton");

        Settings expected = sample();
        expected.autoReport = expected.autoSiteImage = expected.checkExternal = expected.downloadPictures = true;
        expected.downloadAudio = expected.downloadVideo = expected.downloadHtml = expected.useSound = true;
        expected.checkLowDiskSpace = expected.useProxy = expected.useRobotExclusion = expected.askForPassword = true;
        expected.editorProgram = "/opt/editor";
        expected.editorArguments = "$LOCALFILE";
        expected.emailAddress = "you@example.org";
        expected.proxyServer = "cache.local:3128";
        expected.networkBufferSize = 16 * 1024;
        expected.numberOfConnections = 8;
        expected.connectionsPerHost = 2;
        expected.hostDelay = 250;
        expected.caFile = "/etc/corvida/ca.pem";
        expected.insecureTls = true;
        expected.diskSpaceLimit = 500;
        expected.workingDirectory = directory.path().toStdString();
        expected.browser = BrowserKind::InternetExplorer;
        QVERIFY(settings == expected);
        QCOMPARE(run.profile.syncs, 1);
    }

    void listsTakeTheirChoicesAndNoSelectionKeepsTheValue() {
        struct Case {
            std::int32_t level;
            QString chosenLevel; // empty: none
            std::int32_t takenLevel;
            BrowserKind kind;
            int shownKind; // -1: none
        };
        for (const Case& c :
             {Case{3, "NONE", 0, BrowserKind::NetscapeNavigator, 0}, Case{0, "3", 3, BrowserKind::InternetExplorer, 1},
              Case{12, "", 12, BrowserKind::NcsaMosaic, -1}, Case{0, "", 0, BrowserKind::LumbraMosaic, -1},
              Case{0, "", 0, BrowserKind::QuarterdeckMosaic, -1}}) {
            Settings settings = sample();
            settings.maximumLevel = c.level;
            settings.browser = c.kind;
            Sheet run(settings);
            auto& level = child<QComboBox>(run.sheet, "maximumLevelCombo");
            level.setCurrentIndex(level.findText(c.chosenLevel));
            QCOMPARE(child<QComboBox>(run.sheet, "browserCombo").currentIndex(), c.shownKind);
            click(run.sheet, "okButton");
            QCOMPARE(settings.maximumLevel, c.takenLevel);
            QCOMPARE(settings.browser, c.kind);
        }
    }

    void proxyIsSplitAnEmptyHostKeepsItAndPortZeroKeepsTheSheetOpen() {
        Settings settings = sample();
        {
            Sheet run(settings);
            QCOMPARE(child<QLineEdit>(run.sheet, "proxyHostEdit").text(), "proxy.example");
            QCOMPARE(child<QSpinBox>(run.sheet, "proxyPortSpin").value(), 8080);
            type(run.sheet, "proxyHostEdit", "");
            click(run.sheet, "okButton");
            QCOMPARE(settings.proxyServer, "proxy.example:8080");
        }

        settings.proxyServer.clear();
        Sheet run(settings);
        type(run.sheet, "proxyHostEdit", "cache.local");
        click(run.sheet, "okButton");
        QCOMPARE(run.messages, QStringList{"Please enter an integer between 1 and 65535."});
        QVERIFY(run.sheet.isVisible());
        QCOMPARE(run.profile.syncs, 0);
        child<QSpinBox>(run.sheet, "proxyPortSpin").setValue(65535);
        click(run.sheet, "okButton");
        QCOMPARE(settings.proxyServer, "cache.local:65535");
    }

    void workspaceCountsOnlyWhenChangedAndChecksOnlyAnEditedDirectory() {
        Settings settings = sample();
        settings.diskSpaceLimit = 0; // below what the page can show
        settings.workingDirectory = "/no/such/directory";
        Sheet untouched(settings);
        click(untouched.sheet, "autoReportCheck");
        click(untouched.sheet, "okButton");
        QVERIFY(settings.autoReport);
        QCOMPARE(settings.diskSpaceLimit, 0);

        Sheet touched(settings);
        click(touched.sheet, "useSoundCheck");
        click(touched.sheet, "okButton");
        QVERIFY(settings.useSound);
        QCOMPARE(settings.diskSpaceLimit, WorkspacePage::kMinimumDiskLimit);
        QCOMPARE(settings.workingDirectory, "/no/such/directory");
        QVERIFY(untouched.messages.isEmpty() && touched.messages.isEmpty());
    }

    void unusableDirectoryIsRefusedWhileTheOtherWorkspaceValuesAreTaken() {
        QTemporaryFile file;
        QVERIFY(file.open());
        for (const QString& path : {QStringLiteral("/no/such/directory"), file.fileName()}) {
            Settings settings = sample();
            Sheet run(settings);
            click(run.sheet, "useSoundCheck");
            type(run.sheet, "workingDirectoryEdit", path);
            click(run.sheet, "okButton");
            QCOMPARE(run.messages, QStringList{"Error of the selected directory."});
            QCOMPARE(settings.workingDirectory, sample().workingDirectory);
            QVERIFY(settings.useSound);
        }
    }

    void failedSaveIsReportedAndTheRecordStaysChanged() {
        Settings settings = sample();
        Sheet run(settings);
        run.profile.failure = "cannot write /home/me/.config/corvida.ini";
        click(run.sheet, "autoReportCheck");
        click(run.sheet, "okButton");
        QCOMPARE(run.messages, QStringList{"cannot write /home/me/.config/corvida.ini"});
        QVERIFY(settings.autoReport && settings.changed);
        QCOMPARE(run.sheet.result(), QDialog::Accepted);
    }
};

QTEST_MAIN(CustomizeSheetTest)
#include "CustomizeSheetTest.moc"
