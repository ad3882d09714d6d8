#include "support/TextFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <optional>
#include <utility>

namespace {

const char CharsetStart[] = "@charset \"";
const char NotOpenError[] = "文件没有打开。";
const char UnencodableErrorPattern[] = "文本含有 %1 编码无法存储的字符。";

// The encoding a leading @charset rule names, when the decoder knows it. A name
// of a 16- or 32-bit encoding cannot be true of a file whose first bytes read
// as ASCII, so it is ignored like an unknown one.
std::optional<QStringDecoder> decoderFromCharset(const QByteArray &bytes)
{
    if (!bytes.startsWith(CharsetStart))
        return std::nullopt;
    const qsizetype nameStart = qsizetype(sizeof CharsetStart) - 1;
    const qsizetype nameEnd = bytes.indexOf('"', nameStart);
    if (nameEnd <= nameStart || bytes.mid(nameEnd + 1, 1) != ";")
        return std::nullopt;
    const QByteArray name = bytes.mid(nameStart, nameEnd - nameStart);
    const QByteArray lowerName = name.toLower();
    if (lowerName.startsWith("utf-16") || lowerName.startsWith("utf-32"))
        return std::nullopt;
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid())
        return std::nullopt;
    return decoder;
}

QString lineEndOf(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n')
            return QStringLiteral("\n");
        if (text[i] == u'\r')
            return i + 1 < text.size() && text[i + 1] == u'\n' ? QStringLiteral("\r\n")
                                                                : QStringLiteral("\r");
    }
    return QStringLiteral("\n");
}

// Decodes bytes that carry neither a byte-order mark nor a usable @charset.
QString decodeUnmarked(const QByteArray &bytes, TextFormat *format)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder gb18030("GB18030");
    if (gb18030.isValid()) {
        QString legacy = gb18030.decode(bytes);
        if (!gb18030.hasError()) {
            format->encoding = "GB18030";
            return legacy;
        }
    }
    // Invalid in every candidate: keep the UTF-8 reading, damaged bytes shown as
    // replacement characters, rather than refuse the file.
    return text;
}

} // namespace

TextFile::TextFile() = default;

TextFile::~TextFile() = default;

QString TextFile::decode(const QByteArray &bytes, TextFormat *format)
{
    TextFormat found;
    QString text;
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);
        text = decoder.decode(bytes);
        found.encoding = QStringConverter::nameForEncoding(*marked);
        found.byteOrderMark = true;
    } else if (auto declared = decoderFromCharset(bytes)) {
        text = declared->decode(bytes);
        found.encoding = declared->name();
    } else {
        text = decodeUnmarked(bytes, &found);
    }
    found.lineEnd = lineEndOf(text);
    if (format)
        *format = found;
    return text;
}

bool TextFile::OpenFile(const QString &path)
{
    m_text.clear();
    m_pos = 0;
    m_format = TextFormat();
    m_error.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_error = file.errorString();
        return false;
    }
    m_text = decode(bytes, &m_format);
    return true;
}

bool TextFile::Eof() const
{
    return m_pos >= m_text.size();
}

QStringView TextFile::ReadLineView()
{
    const qsizetype start = m_pos;
    qsizetype end = start;
    const QChar *chars = m_text.constData();
    while (end < m_text.size() && chars[end] != u'\n' && chars[end] != u'\r')
        ++end;
    m_pos = end;
    if (m_pos < m_text.size()) {
        const bool crLf = chars[m_pos] == u'\r' && m_pos + 1 < m_text.size()
            && chars[m_pos + 1] == u'\n';
        m_pos += crLf ? 2 : 1;
    }
    return QStringView(m_text).sliced(start, end - start);
}

QString TextFile::ReadLine()
{
    return ReadLineView().toString();
}

bool TextFile::CreateFile(const QString &path, const TextFormat &format)
{
    m_format = format;
    m_buffer.clear();
    m_writeFailed = false;
    m_error.clear();
    m_out = std::make_unique<QSaveFile>(path);
    if (!m_out->open(QIODevice::WriteOnly)) {
        m_error = m_out->errorString();
        m_out.reset();
        return false;
    }
    m_encoder = QStringEncoder(format.encoding.constData(),
                               format.byteOrderMark ? QStringEncoder::Flag::WriteBom
                                                    : QStringEncoder::Flag::Default);
    if (!m_encoder.isValid()) {
        m_error = UnencodableError(format.encoding);
        m_out.reset();
        return false;
    }
    // Encoding nothing yields just the byte-order mark, so even an empty save keeps it.
    m_buffer = m_encoder.encode(QStringView());
    return true;
}

bool TextFile::WriteLine(const QString &text)
{
    if (!m_out) {
        m_error = QString::fromUtf8(NotOpenError);
        return false;
    }
    if (m_writeFailed)
        return false;
    m_buffer += m_encoder.encode(text);
    m_buffer += m_encoder.encode(m_format.lineEnd);
    if (m_encoder.hasError()) {
        // A replacement character written in place of the user's text would be
        // silent data loss, so the whole save is refused instead.
        m_error = UnencodableError(m_format.encoding);
        m_writeFailed = true;
        return false;
    }
    return true;
}

bool TextFile::Commit()
{
    if (!m_out) {
        m_error = QString::fromUtf8(NotOpenError);
        return false;
    }
    const std::unique_ptr<QSaveFile> out = std::move(m_out);
    const QByteArray bytes = std::exchange(m_buffer, QByteArray());
    // An uncommitted QSaveFile discards its temporary file when destroyed, so
    // every early return leaves the target as it was.
    if (m_writeFailed)
        return false;
    if (out->write(bytes) != bytes.size() || !out->commit()) {
        m_error = out->errorString();
        return false;
    }
    return true;
}

QString TextFile::UnencodableError(const QByteArray &encoding)
{
    return QString::fromUtf8(UnencodableErrorPattern).arg(QString::fromLatin1(encoding));
}
