// SPDX-License-Identifier: MIT
#include "app/DesktopBrowserClient.h"

#include <utility>

#include <QDesktopServices>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>

namespace corvida {

namespace {

// Replaces each "%u", "%U" and "%1" of argument by url; returns whether there was one.
bool substituteUrl(std::string& argument, const std::string& url) {
    std::string result;
    bool replaced = false;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        const char next = i + 1 < argument.size() ? argument[i + 1] : '\0';
        if (argument[i] == '%' && (next == 'u' || next == 'U' || next == '1')) {
            result += url;
            replaced = true;
            ++i;
        } else {
            result += argument[i];
        }
    }
    argument = std::move(result);
    return replaced;
}

} // namespace

DesktopBrowserClient::DesktopBrowserClient(std::string command) : m_command(std::move(command)) {}

std::vector<std::string> DesktopBrowserClient::commandLine(const std::string& command, const std::string& url) {
    std::vector<std::string> line;
    for (const QString& part : QProcess::splitCommand(QString::fromStdString(command))) {
        line.push_back(part.toStdString());
    }
    if (line.empty()) {
        return line;
    }
    bool placed = false;
    for (std::size_t i = 1; i < line.size(); ++i) {
        placed = substituteUrl(line[i], url) || placed;
    }
    if (!placed) {
        line.push_back(url);
    }
    return line;
}

bool DesktopBrowserClient::openUrl(const std::string& url) {
    const std::optional<std::string> accepted = acceptedUrl(url);
    if (!accepted) {
        return false;
    }
    const std::vector<std::string> line = commandLine(m_command, *accepted);
    if (line.empty()) {
        return QDesktopServices::openUrl(QUrl(QString::fromStdString(*accepted)));
    }
    QStringList arguments;
    for (std::size_t i = 1; i < line.size(); ++i) {
        arguments.append(QString::fromStdString(line[i]));
    }
    return QProcess::startDetached(QString::fromStdString(line.front()), arguments);
}

void DesktopBrowserClient::currentPage(PageCallback done) {
    QTimer::singleShot(0, [done = std::move(done)] { done(std::nullopt); });
}

} // namespace corvida
