// SPDX-License-Identifier: MIT
// The URL Properties window: a node's facts as plain text, PLAY and Stop over a fake player,
// no node once the document's contents go, and a picture of the bundled sample site. Hiding
// on deactivation is tested with the main window's command.

#include <fstream>
#include <memory>
#include <vector>

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/Settings.h"
#include "doc/CTamsoDoc.h"
#include "model/LocalNames.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "net/NetworkTransferFactory.h"
#include "support/CrawlToEnd.h"
#include "support/QuietUi.h"
#include "views/SoundPlayer.h"
#include "views/UrlPropertiesWindow.h"

using namespace corvida;

namespace {

struct Player {
    QStringList played;
    int stops = 0;
    bool stoppable = true;
};

// Records what it is asked to play; can end a sound as if it had run out.
class FakePlayer : public SoundPlayer {
public:
    explicit FakePlayer(Player& record) : m_record(record) {}
    bool play(const QString& file) override {
        m_record.played.append(file);
        return m_record.stoppable;
    }
    void stop() override { ++m_record.stops; }
    void runOut() { finished(); }

private:
    Player& m_record;
};

struct Project {
    Project() {
        settings.workingDirectory = folder.path().toStdString() + "/";
        document.newDocument();
    }

    WebNode* node(const std::string& url, std::uint32_t flags = kFlagProcessed) {
        nodes.push_back(std::make_unique<WebNode>(CUrl(url)));
        nodes.back()->setFlags(flags);
        nodes.back()->setNumber(static_cast<std::int32_t>(nodes.size()));
        return nodes.back().get();
    }

    QTemporaryDir folder;
    Settings settings;
    QuietUi ui;
    NetworkTransferFactory transfers;
    CTamsoDoc document{settings, ui, transfers, nullptr};
    std::vector<std::unique_ptr<WebNode>> nodes;
};

QString text(const UrlPropertiesWindow& window, const char* name) {
    return window.findChild<QLabel*>(QString::fromLatin1(name))->property("fullText").toString();
}

QPushButton* button(const UrlPropertiesWindow& window, const char* name) {
    return window.findChild<QPushButton*>(QString::fromLatin1(name));
}

void writeFile(const std::string& path) {
    std::ofstream(path) << "RIFF....WAVE";
}

} // namespace

class UrlPropertiesWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheFactsAsPlainTextUntilTheContentsGo() {
        Project project;
        UrlPropertiesWindow window;
        QVERIFY(window.isHidden());
        QCOMPARE(window.windowTitle(), QStringLiteral("URL Properties"));
        QCOMPARE(text(window, "UrlName"), QStringLiteral("Node is not selected"));

        WebNode* page = project.node("http://127.0.0.1/a.htm");
        page->setRequestUrl("http://127.0.0.1/<b>x</b>");
        page->setSize(512);
        page->setLevel(3);
        page->setExcerpt("Heading <b>bold</b> &amp; more");
        window.showNode(&project.document, page);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(text(window, "UrlName"), QStringLiteral("http://127.0.0.1/<b>x</b>"));
        QCOMPARE(text(window, "MimeType"), QStringLiteral("text/html"));
        QCOMPARE(text(window, "Size"), QStringLiteral("512"));
        QCOMPARE(text(window, "Depth"), QStringLiteral("3"));
        QCOMPARE(text(window, "InLinks"), QStringLiteral("0"));
        for (const QLabel* label : window.findChildren<QLabel*>()) {
            QCOMPARE(label->textFormat(), Qt::PlainText);
        }
        // Wide enough, the label shows the whole text, tags and all.
        window.resize(700, window.height());
        QTRY_COMPARE(window.findChild<QLabel*>(QStringLiteral("UrlName"))->text(),
                     QStringLiteral("http://127.0.0.1/<b>x</b>"));
        const auto* excerpt = window.findChild<QPlainTextEdit*>(QStringLiteral("Excerpt"));
        QVERIFY(excerpt->isVisible() && excerpt->isReadOnly());
        QCOMPARE(excerpt->toPlainText(), QStringLiteral("Heading <b>bold</b> &amp; more"));
        QVERIFY(!window.findChild<QLabel*>(QStringLiteral("ThumbNail"))->isVisible());
        QVERIFY(!button(window, "PlayButton")->isVisible());

        // Closing the project: the window lets go of the node and of the document.
        project.document.closeDocument();
        QCOMPARE(window.node(), nullptr);
        QCOMPARE(window.document(), nullptr);
        QCOMPARE(text(window, "UrlName"), QStringLiteral("Node is not selected"));
        QCOMPARE(text(window, "Size"), QString());
        QVERIFY(!window.findChild<QGroupBox*>(QStringLiteral("Preview"))->isVisible());
    }

    void playAndStopTakeTurnsAndAnotherNodeStopsTheSound() {
        Project project;
        Player record;
        auto player = std::make_unique<FakePlayer>(record);
        FakePlayer& fake = *player;
        UrlPropertiesWindow window(nullptr, std::move(player));
        window.show();
        QPushButton* play = button(window, "PlayButton");
        QPushButton* stop = button(window, "StopButton");

        WebNode* silent = project.node("http://127.0.0.1/gone.wav", kFlagAudio | kFlagProcessed);
        window.showNode(&project.document, silent);
        QVERIFY(window.findChild<QGroupBox*>(QStringLiteral("Preview"))->isVisible());
        QVERIFY(!play->isVisible());

        WebNode* sound = project.node("http://127.0.0.1/s.wav", kFlagAudio | kFlagProcessed);
        const std::string directory = project.document.workingDirectory();
        QVERIFY(QDir(QString::fromStdString(directory)).mkpath(QStringLiteral("mmedia")));
        const std::string file = directory + LocalNames::workingCopy(*sound);
        writeFile(file);
        window.showNode(&project.document, sound);
        QVERIFY(play->isVisible() && play->isEnabled());
        QVERIFY(stop->isVisible() && !stop->isEnabled());

        play->click();
        QCOMPARE(record.played, QStringList{QString::fromStdString(file)});
        QVERIFY(window.isPlaying());
        QVERIFY(!play->isEnabled() && stop->isEnabled());
        stop->click();
        QCOMPARE(record.stops, 1);
        QVERIFY(play->isEnabled() && !stop->isEnabled());

        // Refreshing the same node lets it play on; another node stops it.
        play->click();
        window.showNode(&project.document, sound);
        QVERIFY(window.isPlaying());
        window.showNode(&project.document, silent);
        QVERIFY(!window.isPlaying());
        QCOMPARE(record.stops, 2);

        // A sound that runs out gives PLAY back.
        window.showNode(&project.document, sound);
        play->click();
        fake.runOut();
        QVERIFY(play->isEnabled() && !stop->isEnabled());

        // The desktop's player cannot be stopped from here: PLAY stays, Stop stays disabled.
        record.stoppable = false;
        play->click();
        QCOMPARE(record.played.size(), 4);
        QVERIFY(play->isEnabled() && !stop->isEnabled());
        project.document.closeDocument();
    }

    void showsAPictureOfTheSampleSite() {
        Project project;
        project.document.options().getPictures = true;
        QVERIFY(project.document.startProcessing("file://" CORVIDA_EXAMPLES "/site/index.htm"));
        QVERIFY(test::crawlToEnd(project.document));
        WebNode* logo = project.document.web()->findNode(CUrl("file://" CORVIDA_EXAMPLES "/site/images/logo.gif"));
        QVERIFY(logo != nullptr);

        UrlPropertiesWindow window;
        window.showNode(&project.document, logo);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto* thumbnail = window.findChild<QLabel*>(QStringLiteral("ThumbNail"));
        QVERIFY(thumbnail->isVisible());
        const QImage picture = thumbnail->pixmap().toImage();
        const QColor face = window.palette().color(QPalette::Button);
        QVERIFY(picture.pixelColor(picture.width() / 2, picture.height() / 2) != face);
        QCOMPARE(text(window, "MimeType"), QStringLiteral("image/gif"));
        const auto* typeIcon = window.findChild<QLabel*>(QStringLiteral("TypeIcon"));
        QCOMPARE(typeIcon->pixmap().size(), QSize(16, 16));
        QVERIFY(window.grab().save(QStringLiteral(CORVIDA_ARTIFACTS "/url-properties.png")));
        project.document.closeDocument();
        QCOMPARE(window.node(), nullptr);
        QVERIFY(typeIcon->pixmap().isNull());
    }
};

QTEST_MAIN(UrlPropertiesWindowTest)
#include "UrlPropertiesWindowTest.moc"
