// SPDX-License-Identifier: MIT
#pragma once

// IniFormat is the plain INI format of the settings profile, registered with QSettings so that
// the profile goes through QSettings while its file stays what people expect when they edit it
// by hand. Entries are keyed "Section/Key" in the QSettings map; a key with no section is just
// "Key". Values are held as QByteArray, so a value that is not valid UTF-8 is written back byte
// for byte; section and key names are UTF-8.
//
// Reading (never fails; every line it cannot use is skipped):
// - Lines end at LF; a CR before the LF is dropped, so CRLF files read alike. A UTF-8 byte
//   order mark at the start of the file is skipped. Blanks are spaces and tabs.
// - Blank lines are skipped, and so are comment lines, whose first non-blank character is ';'
//   or '#'. There are no comments at the end of a line.
// - A line whose first non-blank character is '[' starts a section. Its name is the text up to
//   the last ']' of the line (the line end when there is none), trimmed of blanks, taken as it
//   stands: spaces are part of it and nothing is decoded. Text after that ']' is ignored.
//   Entries before the first section, or in a section named "", have no section.
// - Any other line holding '=' is an entry: the key is the text before the first '=' and the
//   value the text after it, both trimmed of blanks. The value is otherwise taken exactly as it
//   stands: ';', '#', ',', quotes and further '=' belong to it. A line without '=' or with an
//   empty key is skipped. A key given again replaces the earlier value; a section given again
//   adds to the first. Keys holding '/', and the entries of sections whose name holds one, are
//   skipped: QSettings joins section and key with '/'.
//
// Writing: entries with no section first, then each section as "[name]" and its "key=value"
// lines, in the order of the map, a blank line between sections, LF line ends. A QByteArray
// value is written as its bytes, any other value as the UTF-8 of its text. Names are written as
// they are, so they must be one line, without ']' in a section name, without '=' in a key and
// without blanks at either end.
//
// Escaped values: a value is written as it stands unless it would not read back the same,
// which is when it holds a CR or LF, begins or ends with a blank, or begins with a backslash.
// Such a value is written as a backslash followed by the value with each backslash, LF, CR and
// tab written as "\\", "\n", "\r" and "\t", and a space at its end as "\s". A value read from
// the file that begins with a backslash is decoded the same way, where a backslash before any
// other character, or at the end, stands for itself. Every other value reads exactly as it
// stands in the file.

#include <QSettings>

class QIODevice;

namespace corvida {

class IniFormat {
public:
    // The QSettings format of this class, registered on the first call.
    static QSettings::Format format();

    // Adds the entries of the INI text in device to map. Always returns true.
    static bool read(QIODevice& device, QSettings::SettingsMap& map);

    // Writes map to device as INI text. Returns false when the device takes less than all of it.
    static bool write(QIODevice& device, const QSettings::SettingsMap& map);
};

} // namespace corvida
