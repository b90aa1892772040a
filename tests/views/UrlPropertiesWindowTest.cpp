// SPDX-License-Identifier: MIT
// The URL Properties window: a node's facts as plain text, PLAY and Stop over a fake player,
// no node once the document's contents go, and a picture of the bundled sample site. Hiding
// on deactivation is tested with the main window's command.

#include <fstream>
#include <memory>

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "model/LocalNames.h"
#include "support/CrawlToEnd.h"
#include "views/SoundPlayer.h"
#include "views/UrlPropertiesWindow.h"
#include "views/ViewTestSupport.h"

using namespace corvida;

namespace {

// Records what it is asked to play; can end a sound as if it had run out.
struct FakePlayer : SoundPlayer {
    bool play(const QString& file) override {
        played.append(file);
        return stoppable;
    }
    void stop() override { ++stops; }
    void runOut() { finished(); }

    QStringList played;
    int stops = 0;
    bool stoppable = true;
};

struct Project : test::ViewProject {
    WebNode* node(const std::string& url, std::uint32_t flags = kFlagProcessed) {
        return ViewProject::node(url, flags);
    }
};

QString text(const UrlPropertiesWindow& window, const char* name) {
    return window.findChild<QLabel*>(QString::fromLatin1(name))->property("fullText").toString();
}

} // namespace

class UrlPropertiesWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheFactsAsPlainTextUntilTheContentsGo() {
        Project project;
        UrlPropertiesWindow window;
        WebNode* page = project.node("http://127.0.0.1/a.htm");
        page->setRequestUrl("http://127.0.0.1/<b>x</b>");
        page->setSize(512);
        page->setLevel(3);
        page->setExcerpt("Heading <b>bold</b> &amp; more");
        window.showNode(&project.document, page);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(text(window, "Size"), QStringLiteral("512"));
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

        // Closing the project: the window lets go of the node and of the document.
        project.document.closeDocument();
        QCOMPARE(window.node(), nullptr);
        QCOMPARE(window.document(), nullptr);
        QCOMPARE(text(window, "Size"), QString());
        QVERIFY(!window.findChild<QGroupBox*>(QStringLiteral("Preview"))->isVisible());
    }

    void playAndStopTakeTurnsAndAnotherNodeStopsTheSound() {
        Project project;
        auto player = std::make_unique<FakePlayer>();
        FakePlayer& fake = *player;
        UrlPropertiesWindow window(nullptr, std::move(player));
        window.show();
        auto* play = window.findChild<QPushButton*>(QStringLiteral("PlayButton"));
        auto* stop = window.findChild<QPushButton*>(QStringLiteral("StopButton"));

        WebNode* silent = project.node("http://127.0.0.1/gone.wav", kFlagAudio | kFlagProcessed);
        window.showNode(&project.document, silent); // its working copy is missing
        QVERIFY(window.findChild<QGroupBox*>(QStringLiteral("Preview"))->isVisible() && !play->isVisible());

        WebNode* sound = project.node("http://127.0.0.1/s.wav", kFlagAudio | kFlagProcessed);
        const std::string directory = project.document.workingDirectory();
        QVERIFY(QDir(QString::fromStdString(directory)).mkpath(QStringLiteral("mmedia")));
        const std::string file = directory + LocalNames::workingCopy(*sound);
        std::ofstream(file) << "RIFF....WAVE";
        window.showNode(&project.document, sound);
        QVERIFY(play->isEnabled() && stop->isVisible() && !stop->isEnabled());

        play->click();
        QCOMPARE(fake.played, QStringList{QString::fromStdString(file)});
        QVERIFY(window.isPlaying());
        stop->click();
        QCOMPARE(fake.stops, 1);
        QVERIFY(play->isEnabled() && !stop->isEnabled());

        // Refreshing the same node lets it play on; another node stops it.
        play->click();
        window.showNode(&project.document, sound);
        QVERIFY(window.isPlaying());
        window.showNode(&project.document, silent);
        QVERIFY(!window.isPlaying());
        QCOMPARE(fake.stops, 2);

        // A sound that runs out gives PLAY back.
        window.showNode(&project.document, sound);
        play->click();
        fake.runOut();
        QVERIFY(play->isEnabled() && !stop->isEnabled());

        // The desktop's player cannot be stopped from here: PLAY stays, Stop stays disabled.
        fake.stoppable = false;
        play->click();
        QCOMPARE(fake.played.size(), 4);
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
        const auto* typeIcon = window.findChild<QLabel*>(QStringLiteral("TypeIcon"));
        QVERIFY(!typeIcon->pixmap().isNull());
        QVERIFY(window.grab().save(QStringLiteral(CORVIDA_ARTIFACTS "/url-properties.png")));
        project.document.closeDocument();
        QVERIFY(typeIcon->pixmap().isNull());
    }
};

QTEST_MAIN(UrlPropertiesWindowTest)
#include "UrlPropertiesWindowTest.moc"
