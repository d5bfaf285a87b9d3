#pragma once
// Little-endian reading and writing of the program's own binary files. The
// reader never passes the end of its bytes: after the first short read every
// further read fails too.
#include "document/StoredText.h"

#include <QByteArray>
#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <cstring>

class ByteWriter {
public:
    QByteArray bytes;
    void raw(const void* data, qsizetype n) { bytes.append(static_cast<const char*>(data), n); }
    void u8(std::uint8_t v) { bytes.append(char(v)); }
    void u16(std::uint16_t v)
    {
        char b[2];
        qToLittleEndian(v, b);
        raw(b, 2);
    }
    void u32(std::uint32_t v)
    {
        char b[4];
        qToLittleEndian(v, b);
        raw(b, 4);
    }
    void i32(std::int32_t v)
    {
        char b[4];
        qToLittleEndian(v, b);
        raw(b, 4);
    }
    void f64(double v)
    {
        char b[8];
        qToLittleEndian(v, b);
        raw(b, 8);
    }
    void string(const QString& s)
    {
        const QByteArray utf8 = s.toUtf8();
        i32(std::int32_t(utf8.size()));
        bytes.append(utf8);
    }
};

// Reads from a byte array without ever passing its end; after the first
// short read every further read fails too.
class ByteReader {
public:
    explicit ByteReader(const QByteArray& b)
        : bytes(b)
    {
    }
    qsizetype remaining() const { return bytes.size() - pos; }
    qsizetype position() const { return pos; }
    void seek(qsizetype to) { pos = std::clamp<qsizetype>(to, 0, bytes.size()); }
    bool ok() const { return good; }
    bool take(void* out, qsizetype n)
    {
        if (!good || n < 0 || n > remaining())
            return good = false;
        std::memcpy(out, bytes.constData() + pos, std::size_t(n));
        pos += n;
        return true;
    }
    std::uint8_t u8()
    {
        std::uint8_t v = 0;
        take(&v, 1);
        return v;
    }
    std::uint16_t u16()
    {
        char b[2] = {};
        take(b, 2);
        return good ? qFromLittleEndian<std::uint16_t>(b) : 0;
    }
    std::uint32_t u32() { return std::uint32_t(i32()); }
    std::int32_t i32()
    {
        char b[4] = {};
        take(b, 4);
        return good ? qFromLittleEndian<std::int32_t>(b) : 0;
    }
    double f64()
    {
        char b[8] = {};
        take(b, 8);
        return good ? qFromLittleEndian<double>(b) : 0.0;
    }
    QByteArray chars(std::int64_t n)
    {
        if (!good || n < 0 || n > remaining()) {
            good = false;
            return {};
        }
        QByteArray out = bytes.mid(pos, qsizetype(n));
        pos += qsizetype(n);
        return out;
    }
    QString string() { return DecodeStoredText(chars(i32())); }
    void fail() { good = false; }

private:
    const QByteArray& bytes;
    qsizetype pos = 0;
    bool good = true;
};
