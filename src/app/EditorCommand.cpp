// SPDX-License-Identifier: MIT
#include "app/EditorCommand.h"

#include <cstddef>
#include <limits>

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include "base/Ascii.h"
#include "model/CUrl.h"

namespace corvida {

namespace {

constexpr std::string_view kUrlMark = "$URL";
constexpr std::string_view kLocalFileMark = "$LOCALFILE";

struct Place {
    std::size_t argument = 0;
    std::size_t offset = std::string::npos;
    bool found() const { return offset != std::string::npos; }
};

Place findFirst(const std::vector<std::string>& arguments, std::string_view mark) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (const std::size_t at = arguments[i].find(mark); at != std::string::npos) {
            return {i, at};
        }
    }
    return {};
}

} // namespace

EditorCommand::Prepared EditorCommand::prepare(const std::string& program, const std::string& argumentTemplate,
                                               const std::string& url, const std::string& localFile) {
    Prepared prepared;
    prepared.program = program;
    for (const QString& argument : QProcess::splitCommand(QString::fromStdString(argumentTemplate))) {
        prepared.arguments.push_back(argument.toStdString());
    }

    // Both places are found in the template before either is filled, so a URL holding
    // "$LOCALFILE" is not taken for the placeholder.
    const Place urlPlace = findFirst(prepared.arguments, kUrlMark);
    const Place filePlace = findFirst(prepared.arguments, kLocalFileMark);
    std::string fileText;
    if (filePlace.found()) {
        if (!localFile.empty()) {
            fileText = localFile;
        } else if (startsWithIgnoreCase(url, "file:")) {
            fileText = CUrl(url).localPath(std::numeric_limits<std::size_t>::max());
        } else {
            prepared.message = std::string(kNotLocalFile);
        }
    }
    // The later place is filled first so that the earlier one's offset stays right.
    const bool fileFirst = filePlace.found() && urlPlace.found() && urlPlace.argument == filePlace.argument &&
                           urlPlace.offset < filePlace.offset;
    const auto fillFile = [&] {
        if (filePlace.found()) {
            prepared.arguments[filePlace.argument].replace(filePlace.offset, kLocalFileMark.size(), fileText);
        }
    };
    if (fileFirst) {
        fillFile();
    }
    if (urlPlace.found()) {
        prepared.arguments[urlPlace.argument].replace(urlPlace.offset, kUrlMark.size(), url);
    }
    if (!fileFirst) {
        fillFile();
    }
    return prepared;
}

EditorCommand::Error EditorCommand::check(const std::string& program) {
    if (program.empty()) {
        return Error::FileNotFound;
    }
    const QString name = QString::fromStdString(program);
    if (program.find('/') == std::string::npos) {
        return QStandardPaths::findExecutable(name).isEmpty() ? Error::FileNotFound : Error::None;
    }
    const QFileInfo file(name);
    if (!QFileInfo(file.absolutePath()).isDir()) {
        return Error::PathNotFound;
    }
    if (!file.exists()) {
        return Error::FileNotFound;
    }
    return file.isFile() && file.isExecutable() ? Error::None : Error::FileCorrupted;
}

std::string_view EditorCommand::errorText(Error error) {
    switch (error) {
    case Error::None:
        return {};
    case Error::FileNotFound:
        return "File not found";
    case Error::PathNotFound:
        return "Path not found";
    case Error::FileCorrupted:
        return "File is corrupted";
    }
    return {};
}

EditorCommand::Error EditorCommand::start(const Prepared& prepared) {
    if (const Error error = check(prepared.program); error != Error::None) {
        return error;
    }
    QStringList arguments;
    for (const std::string& argument : prepared.arguments) {
        arguments.append(QString::fromStdString(argument));
    }
    return QProcess::startDetached(QString::fromStdString(prepared.program), arguments) ? Error::None
                                                                                        : Error::FileCorrupted;
}

} // namespace corvida
