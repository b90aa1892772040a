// SPDX-License-Identifier: MIT
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "MemoryProfile.h"
#include "WidgetDriver.h"
#include "app/Settings.h"
#include "gui/CustomizeSheet.h"

using namespace corvida;

namespace {

Settings sample() {
    Settings settings;
    settings.browser = BrowserKind::NetscapeNavigator;
    settings.proxyServer = "proxy.example:8080";
    settings.maximumLevel = 3;
    settings.networkBufferSize = 8192;
    settings.numberOfConnections = 4;
    settings.workingDirectory = QDir::tempPath().toStdString();
    settings.editorProgram = "/usr/bin/vi";
    settings.emailAddress = "me@example.org";
    return settings;
}

// A sheet whose messages go to a list instead of a message box.
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
    void showsFivePagesWithTheirFixedTexts() {
        Settings settings = sample();
        Sheet run(settings);
        QCOMPARE(run.sheet.windowTitle(), QStringLiteral("Customize Tools"));
        auto& tabs = child<QTabWidget>(run.sheet, "customizeTabs");
        QStringList titles;
        for (int i = 0; i < tabs.count(); ++i) {
            titles << tabs.tabText(i);
        }
        QCOMPARE(titles, (QStringList{"Project Properties", "Programs", "Workspace", "Connection", "Access"}));
        QCOMPARE(child<QCheckBox>(run.sheet, "useRobotExclusionCheck").text(), "Use Robot Exclusion Protocal");
        auto& browser = child<QComboBox>(run.sheet, "browserCombo");
        QCOMPARE(browser.itemText(0), "Desktop default browser");
        QCOMPARE(browser.itemText(1), "Chromium-family browser (reads the current page)");
        QDir().mkpath(QStringLiteral(CORVIDA_ARTIFACTS));
        run.sheet.grab().save(QStringLiteral(CORVIDA_ARTIFACTS "/customize-sheet.png"));
    }

    void okWithoutEditsKeepsTheRecordAndWritesNothing() {
        Settings settings = sample();
        Sheet run(settings);
        click(run.sheet, "okButton");
        QCOMPARE(run.sheet.result(), QDialog::Accepted);
        QVERIFY(settings == sample());
        QCOMPARE(run.profile.writes + run.profile.syncs, 0);
        QVERIFY(run.messages.isEmpty());
    }

    void okTakesEveryPagesControls() {
        Settings settings = sample();
        QTemporaryDir directory;
        Sheet run(settings);
        run.sheet.setFileChooser([] { return QStringLiteral("/opt/editor"); });
        run.sheet.setDirectoryChooser([&] { return directory.path(); });
        for (const char* name :
             {"autoReportCheck", "autoSiteImageCheck", "checkExternalCheck", "picturesCheck", "audioCheck",
              "videoCheck", "htmlCheck", "useSoundCheck", "checkLowDiskSpaceCheck", "useProxyCheck",
              "useRobotExclusionCheck", "askForPasswordCheck", "editorBrowseButton", "workingDirectoryBrowseButton"}) {
            click(run.sheet, name);
        }
        QCOMPARE(child<QLineEdit>(run.sheet, "editorProgramEdit").text(), "/opt/editor");
        type(run.sheet, "editorArgumentsEdit", "$LOCALFILE");
        type(run.sheet, "emailAddressEdit", "you@example.org");
        type(run.sheet, "proxyHostEdit", "cache.local");
        child<QSpinBox>(run.sheet, "proxyPortSpin").setValue(3128);
        child<QSpinBox>(run.sheet, "bufferSizeSpin").setValue(16);
        child<QSpinBox>(run.sheet, "connectionsSpin").setValue(8);
        child<QSpinBox>(run.sheet, "diskSpaceLimitSpin").setValue(500);
        child<QComboBox>(run.sheet, "browserCombo").setCurrentIndex(1);
        QVERIFY(settings == sample()); // nothing reaches the record before OK
        click(run.sheet, "okButton");

        Settings expected = sample();
        expected.autoReport = expected.autoSiteImage = expected.checkExternal = true;
        expected.downloadPictures = expected.downloadAudio = expected.downloadVideo = expected.downloadHtml = true;
        expected.useSound = expected.checkLowDiskSpace = expected.useProxy = true;
        expected.useRobotExclusion = expected.askForPassword = true;
        expected.editorProgram = "/opt/editor";
        expected.editorArguments = "$LOCALFILE";
        expected.emailAddress = "you@example.org";
        expected.proxyServer = "cache.local:3128";
        expected.networkBufferSize = 16 * 1024;
        expected.numberOfConnections = 8;
        expected.diskSpaceLimit = 500;
        expected.workingDirectory = directory.path().toStdString();
        expected.browser = BrowserKind::InternetExplorer;
        QVERIFY(settings == expected);
        QCOMPARE(run.profile.syncs, 1);
        QCOMPARE(run.profile.value("Application", "ProxyServer"), "cache.local:3128");
    }

    void maximumLevelListTakesNoneAndNumbers() {
        struct Case {
            std::int32_t stored;
            QString shown;
            QString chosen;
            std::int32_t taken;
        };
        // A level the list does not hold shows no selection and survives OK.
        for (const Case& c : {Case{3, "3", "NONE", 0}, Case{0, "NONE", "3", 3}, Case{12, "", "", 12}}) {
            Settings settings = sample();
            settings.maximumLevel = c.stored;
            Sheet run(settings);
            auto& level = child<QComboBox>(run.sheet, "maximumLevelCombo");
            QCOMPARE(level.currentText(), c.shown);
            level.setCurrentIndex(level.findText(c.chosen));
            click(run.sheet, "okButton");
            QCOMPARE(settings.maximumLevel, c.taken);
        }
    }

    void proxyIsSplitAndAnEmptyHostKeepsTheStoredProxy() {
        Settings settings = sample();
        Sheet run(settings);
        QCOMPARE(child<QLineEdit>(run.sheet, "proxyHostEdit").text(), "proxy.example");
        QCOMPARE(child<QSpinBox>(run.sheet, "proxyPortSpin").value(), 8080);
        type(run.sheet, "proxyHostEdit", "");
        click(run.sheet, "okButton");
        QCOMPARE(settings.proxyServer, "proxy.example:8080");
    }

    void browserListShowsKindsThreeAndFourAndNoSelectionKeepsOthers() {
        for (const auto& [kind, shown] :
             {std::pair{BrowserKind::NetscapeNavigator, 0}, std::pair{BrowserKind::InternetExplorer, 1},
              std::pair{BrowserKind::None, -1}, std::pair{BrowserKind::NcsaMosaic, -1},
              std::pair{BrowserKind::LumbraMosaic, -1}, std::pair{BrowserKind::QuarterdeckMosaic, -1}}) {
            Settings settings = sample();
            settings.browser = kind;
            Sheet run(settings);
            QCOMPARE(child<QComboBox>(run.sheet, "browserCombo").currentIndex(), shown);
            click(run.sheet, "okButton");
            QCOMPARE(settings.browser, kind);
        }
    }

    void cancelAfterEditsLeavesRecordAndProfile() {
        Settings settings = sample();
        Sheet run(settings);
        run.sheet.setFileChooser([] { return QStringLiteral("/opt/editor"); });
        click(run.sheet, "editorBrowseButton");
        click(run.sheet, "useSoundCheck");
        type(run.sheet, "emailAddressEdit", "other@example.org");
        click(run.sheet, "cancelButton");
        QCOMPARE(run.sheet.result(), QDialog::Rejected);
        QVERIFY(settings == sample());
        QCOMPARE(run.profile.writes + run.profile.syncs, 0);
    }

    void untouchedWorkspaceValuesAreNotTaken() {
        Settings settings = sample();
        settings.diskSpaceLimit = 0; // below what the page can show
        settings.workingDirectory = "/no/such/directory";
        Sheet run(settings);
        click(run.sheet, "autoReportCheck");
        click(run.sheet, "okButton");
        QVERIFY(settings.autoReport);
        QCOMPARE(settings.diskSpaceLimit, 0);
        QCOMPARE(settings.workingDirectory, "/no/such/directory");
        QVERIFY(run.messages.isEmpty());
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
            QCOMPARE(run.profile.syncs, 1);
        }
    }

    void proxyHostWithPortZeroKeepsTheSheetOpen() {
        Settings settings = sample();
        settings.proxyServer.clear();
        Sheet run(settings);
        type(run.sheet, "proxyHostEdit", "cache.local");
        click(run.sheet, "okButton");
        QCOMPARE(run.messages, QStringList{"Please enter an integer between 1 and 65535."});
        QVERIFY(run.sheet.isVisible());
        QCOMPARE(run.profile.syncs, 0);
        child<QSpinBox>(run.sheet, "proxyPortSpin").setValue(65535);
        click(run.sheet, "okButton");
        QVERIFY(!run.sheet.isVisible());
        QCOMPARE(settings.proxyServer, "cache.local:65535");
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

    void holdsIdleWorkWhileItExists() {
        Settings settings = sample();
        QVERIFY(!IdleDriver::isHeld());
        {
            Sheet run(settings);
            QVERIFY(IdleDriver::isHeld());
        }
        QVERIFY(!IdleDriver::isHeld());
    }
};

QTEST_MAIN(CustomizeSheetTest)
#include "CustomizeSheetTest.moc"
