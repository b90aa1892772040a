// SPDX-License-Identifier: MIT
#include "platform/IniFormat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QVariant>

namespace corvida {

namespace {

constexpr char kEscape = '\\';
constexpr char kSectionOpen = '[';
constexpr char kSectionClose = ']';
constexpr char kAssign = '=';
constexpr char kKeySeparator = '/';
constexpr QByteArrayView kByteOrderMark = "\xEF\xBB\xBF";

// The escaped characters and the letters that stand for them after a backslash. A space is
// escaped only at the end of a value, where reading would trim it.
constexpr char kEscapeLetters[] = {'\\', 'n', 'r', 't', 's'};
constexpr char kEscapedChars[] = {'\\', '\n', '\r', '\t', ' '};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView text) {
    while (!text.isEmpty() && isBlank(text.front())) {
        text = text.sliced(1);
    }
    while (!text.isEmpty() && isBlank(text.back())) {
        text.chop(1);
    }
    return text;
}

enum class LineKind { Skipped, Section, Entry };

LineKind lineKind(QByteArrayView line) {
    if (line.isEmpty() || line.front() == ';' || line.front() == '#') {
        return LineKind::Skipped;
    }
    if (line.front() == kSectionOpen) {
        return LineKind::Section;
    }
    const qsizetype assign = line.indexOf(kAssign);
    return assign > 0 && !trimmed(line.first(assign)).isEmpty() ? LineKind::Entry : LineKind::Skipped;
}

QByteArray decodedValue(QByteArrayView text) {
    if (text.isEmpty() || text.front() != kEscape) {
        return text.toByteArray();
    }
    QByteArray value;
    value.reserve(text.size());
    for (qsizetype i = 1; i < text.size(); ++i) {
        char c = text[i];
        if (c == kEscape && i + 1 < text.size()) {
            for (std::size_t k = 0; k < sizeof(kEscapeLetters); ++k) {
                if (text[i + 1] == kEscapeLetters[k]) {
                    c = kEscapedChars[k];
                    ++i;
                    break;
                }
            }
        }
        value += c;
    }
    return value;
}

bool needsEscape(const QByteArray& value) {
    return !value.isEmpty() && (value.front() == kEscape || isBlank(value.front()) || isBlank(value.back()) ||
                                value.contains('\n') || value.contains('\r'));
}

QByteArray encodedValue(const QByteArray& value) {
    if (!needsEscape(value)) {
        return value;
    }
    QByteArray text(1, kEscape);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const bool last = i + 1 == value.size();
        bool escaped = false;
        for (std::size_t k = 0; k < sizeof(kEscapedChars); ++k) {
            if (c == kEscapedChars[k] && (c != ' ' || last)) {
                text += kEscape;
                text += kEscapeLetters[k];
                escaped = true;
                break;
            }
        }
        if (!escaped) {
            text += c;
        }
    }
    return text;
}

QByteArray valueBytes(const QVariant& value) {
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : value.toString().toUtf8();
}

// A section or key name from the file. Unlike QString::fromUtf8, a byte order mark at the start
// of a name stays part of it, so every name that is written reads back the same.
QString decodedName(QByteArrayView bytes) {
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace

QSettings::Format IniFormat::format() {
    static const QSettings::Format registered =
        QSettings::registerFormat(QStringLiteral("conf"), &IniFormat::read, &IniFormat::write, Qt::CaseSensitive);
    return registered;
}

bool IniFormat::read(QIODevice& device, QSettings::SettingsMap& map) {
    const QByteArray content = device.readAll();
    QByteArrayView rest = content;
    if (rest.startsWith(kByteOrderMark)) {
        rest = rest.sliced(kByteOrderMark.size());
    }
    QString prefix;
    bool sectionUsable = true;
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf('\n');
        QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        line = trimmed(line);
        switch (lineKind(line)) {
        case LineKind::Skipped:
            break;
        case LineKind::Section: {
            const qsizetype close = line.lastIndexOf(kSectionClose);
            const QByteArrayView name = trimmed(line.sliced(1, (close < 0 ? line.size() : close) - 1));
            const QString decoded = decodedName(name);
            // QSettings joins section and key with '/', so a name holding one would not come
            // back as it was: such sections and keys are skipped.
            sectionUsable = !decoded.contains(kKeySeparator);
            prefix = decoded.isEmpty() ? QString() : decoded + kKeySeparator;
            break;
        }
        case LineKind::Entry: {
            const qsizetype assign = line.indexOf(kAssign);
            const QString key = decodedName(trimmed(line.first(assign)));
            if (sectionUsable && !key.isEmpty() && !key.contains(kKeySeparator)) {
                map.insert(prefix + key, decodedValue(trimmed(line.sliced(assign + 1))));
            }
            break;
        }
        }
    }
    return true;
}

bool IniFormat::write(QIODevice& device, const QSettings::SettingsMap& map) {
    // Sections in the order of their first key; entries with no section come first.
    QStringList sections{QString()};
    QList<QByteArray> bodies{QByteArray()};
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype separator = it.key().indexOf(kKeySeparator);
        const QString section = separator < 0 ? QString() : it.key().first(separator);
        qsizetype index = sections.indexOf(section);
        if (index < 0) {
            index = sections.size();
            sections.append(section);
            bodies.append(QByteArray());
        }
        bodies[index] +=
            it.key().sliced(separator + 1).toUtf8() + kAssign + encodedValue(valueBytes(it.value())) + '\n';
    }
    QByteArray text = bodies.front();
    for (qsizetype i = 1; i < sections.size(); ++i) {
        if (!text.isEmpty()) {
            text += '\n';
        }
        text += kSectionOpen + sections[i].toUtf8() + kSectionClose + '\n' + bodies[i];
    }
    if (text.startsWith(kByteOrderMark)) {
        // A first name that begins with the mark would lose it to the reader, which skips one
        // mark at the start of the file: one more mark keeps it.
        text.prepend(kByteOrderMark.toByteArray());
    }
    return device.write(text) == text.size();
}

} // namespace corvida
