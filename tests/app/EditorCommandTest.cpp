// SPDX-License-Identifier: MIT
#include "app/EditorCommand.h"

#include <fstream>
#include <string>
#include <vector>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace corvida {
namespace {

using Args = std::vector<std::string>;

TEST(EditorCommandTest, SubstitutesInsideArgumentsSplitFromTheTemplate) {
    struct Case {
        const char* argumentTemplate;
        const char* url;
        Args expected;
        bool notLocal;
    };
    const Case cases[] = {
        {"$URL $URL", "http://a/", {"http://a/", "$URL"}, false},
        {"-o $LOCALFILE", "http://a/b.htm", {"-o", ""}, true},
        {"$LOCALFILE", "file:///home/u/a%20b.htm", {"/home/u/a b.htm"}, false},
        {"--open=$LOCALFILE --line 1", "file:///home/u/a b.htm", {"--open=/home/u/a b.htm", "--line", "1"}, false},
        {"\"x $URL y\" $URL", "http://a/\"q\" b;rm -rf ~", {"x http://a/\"q\" b;rm -rf ~ y", "$URL"}, false},
        // The URL put in is not taken for the other placeholder.
        {"$URL $LOCALFILE", "http://a/$LOCALFILE", {"http://a/$LOCALFILE", ""}, true},
        {"$LOCALFILE:$URL", "file:///t/x.htm", {"/t/x.htm:file:///t/x.htm"}, false},
    };
    for (const Case& c : cases) {
        const EditorCommand::Prepared prepared = EditorCommand::prepare("ed", c.argumentTemplate, c.url);
        EXPECT_EQ(prepared.program, "ed");
        EXPECT_EQ(prepared.arguments, c.expected) << c.argumentTemplate;
        EXPECT_EQ(prepared.message, c.notLocal ? EditorCommand::kNotLocalFile : "") << c.argumentTemplate;
    }

    // A working copy is used as it is, for any URL; a long path is not cut.
    const std::string longPath = "/w/" + std::string(400, 'd') + "/a.htm";
    EXPECT_EQ(EditorCommand::prepare("ed", "$LOCALFILE", "http://a/", longPath).arguments, Args{longPath});
    EXPECT_EQ(EditorCommand::prepare("ed", "$LOCALFILE", "file://" + longPath).arguments, Args{longPath});
}

TEST(EditorCommandTest, ClassifiesTheProgramBeforeStartingIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string root = dir.path().toStdString();
    const std::string plain = root + "/notes.txt";
    const std::string script = root + "/editor.sh";
    const std::string marker = root + "/started";
    std::ofstream(plain) << "text\n";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" << marker << "\"\n";
    QFile::setPermissions(QString::fromStdString(script), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    EXPECT_EQ(EditorCommand::check(root + "/missing"), EditorCommand::Error::FileNotFound);
    EXPECT_EQ(EditorCommand::check(root + "/nodir/editor"), EditorCommand::Error::PathNotFound);
    EXPECT_EQ(EditorCommand::check("corvida-no-such-editor"), EditorCommand::Error::FileNotFound);
    EXPECT_EQ(EditorCommand::check(""), EditorCommand::Error::FileNotFound);
    EXPECT_EQ(EditorCommand::check(plain), EditorCommand::Error::FileCorrupted);
    EXPECT_EQ(EditorCommand::check(root), EditorCommand::Error::FileCorrupted);
    EXPECT_EQ(EditorCommand::check(script), EditorCommand::Error::None);
    EXPECT_EQ(EditorCommand::check("sh"), EditorCommand::Error::None);
    EXPECT_EQ(EditorCommand::errorText(EditorCommand::Error::PathNotFound), "Path not found");

    EXPECT_EQ(EditorCommand::start({plain, {}, {}}), EditorCommand::Error::FileCorrupted);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(marker)));
    const EditorCommand::Prepared prepared = EditorCommand::prepare(script, "-a $URL", "http://h/a b;c");
    ASSERT_EQ(EditorCommand::start(prepared), EditorCommand::Error::None);
    std::string written;
    for (int i = 0; i < 500 && written.empty(); ++i) {
        std::ifstream in(marker);
        written.assign(std::istreambuf_iterator<char>(in), {});
        if (written.empty()) {
            QThread::msleep(10);
        }
    }
    EXPECT_EQ(written, "-a\nhttp://h/a b;c\n");
}

} // namespace
} // namespace corvida
