#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

/// The fuzzer's bytes as a QByteArray that owns its copy, so that a read past
/// the end is caught by the address sanitizer at the true end of the input.
inline QByteArray fuzzBytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

/// The code pages a station may be configured with; the first input byte picks one.
inline QString fuzzCodepage(const QByteArray &bytes)
{
    static const char *const pages[] = {"windows-1256", "UTF-8", "ISO-8859-1", "windows-1252"};
    const unsigned pick = bytes.isEmpty() ? 0u : static_cast<unsigned char>(bytes.at(0)) % 4u;
    return QString::fromLatin1(pages[pick]);
}
