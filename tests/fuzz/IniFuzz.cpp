// SPDX-License-Identifier: MIT
// libFuzzer target: any bytes read as a settings profile, written back and read again. Traps
// when the second reading differs from the first, that is when a value or name that a file
// can hold does not survive a save.

#include <cstddef>
#include <cstdint>

#include <QBuffer>
#include <QByteArray>

#include "platform/IniFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer input(&bytes);
    input.open(QIODevice::ReadOnly);
    QSettings::SettingsMap first;
    corvida::IniFormat::read(input, first);

    QByteArray written;
    QBuffer output(&written);
    output.open(QIODevice::WriteOnly);
    if (!corvida::IniFormat::write(output, first)) {
        __builtin_trap();
    }
    output.close();

    QBuffer again(&written);
    again.open(QIODevice::ReadOnly);
    QSettings::SettingsMap second;
    corvida::IniFormat::read(again, second);
    if (second != first) {
        __builtin_trap();
    }
    return 0;
}
