// The game's byte strings (Windows-1252) to and from Qt text, for every Qt window.
#pragma once

#include <QList>
#include <QString>

#include <cstddef>
#include <string>

#include "util/text_encoding.h"

namespace lumera {

inline QString FromCp1252(const std::string& bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (unsigned char byte : bytes) text.append(QChar(static_cast<char16_t>(util::Cp1252ToUnicode(byte))));
    return text;
}

// A character Windows-1252 cannot hold becomes "?"; the result is cut to maxBytes.
inline std::string ToCp1252Bytes(const QString& text, std::size_t maxBytes = 255) {
    const QList<uint> codePoints = text.toUcs4();
    return util::ToCp1252(std::u32string(codePoints.begin(), codePoints.end()), maxBytes);
}

}  // namespace lumera
