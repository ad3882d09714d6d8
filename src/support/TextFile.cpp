#include "support/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <uchardet/uchardet.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>
#include <utility>

namespace {

using Source = TextFormat::EncodingSource;

const char CharsetStart[] = "@charset \"";
const char NotOpenError[] = "文件没有打开。";
const char NotRegularError[] = "不是普通文件。";
const char TooLargeError[] = "文件超过 256 MiB。";
const char UnencodableErrorPattern[] = "文本含有 %1 编码无法存储的字符。";
const char KeptBytesEncoding[] = "ISO-8859-1";

struct Reading
{
    QString text;
    QByteArray encoding;
};

// The text of bytes under the named encoding, when writing that text again gives
// back exactly these bytes; a decoder's error flag alone is not enough, as
// GB18030 reads many invalid sequences without raising it.
std::optional<Reading> readExactly(const QByteArray &bytes, const QByteArray &name,
                                   bool byteOrderMark = false)
{
    QStringDecoder decoder(name.constData(), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    // Qt's UTF-8 decoder refuses every sequence it would not write back (overlong
    // forms, surrogates, cut characters), so its error flag already decides.
    const bool utf8 = QStringConverter::encodingForName(name.constData()) == QStringConverter::Utf8;
    if (!utf8) {
        QStringEncoder encoder(name.constData(), byteOrderMark ? QStringEncoder::Flag::WriteBom
                                                               : QStringEncoder::Flag::Default);
        const QByteArray written = encoder.encode(text);
        if (written != bytes || encoder.hasError())
            return std::nullopt;
    }
    // Some converters know a name without reporting one back; the given one still works.
    const QByteArray known = decoder.name();
    return Reading{std::move(text), known.isEmpty() ? name : known};
}

// The encoding a leading @charset rule names. A name of a 16- or 32-bit
// encoding cannot be true of a file whose first bytes read as ASCII.
QByteArray declaredEncoding(const QByteArray &bytes)
{
    if (!bytes.startsWith(CharsetStart))
        return QByteArray();
    const qsizetype nameStart = qsizetype(sizeof CharsetStart) - 1;
    const qsizetype nameEnd = bytes.indexOf('"', nameStart);
    if (nameEnd <= nameStart || bytes.mid(nameEnd + 1, 1) != ";")
        return QByteArray();
    const QByteArray name = bytes.mid(nameStart, nameEnd - nameStart);
    const QByteArray lowerName = name.toLower();
    if (lowerName.startsWith("utf-16") || lowerName.startsWith("utf-32"))
        return QByteArray();
    return name;
}

QByteArray guessedEncoding(const QByteArray &bytes)
{
    const std::unique_ptr<uchardet, decltype(&uchardet_delete)> detector(uchardet_new(),
                                                                        &uchardet_delete);
    if (uchardet_handle_data(detector.get(), bytes.constData(), size_t(bytes.size())) != 0)
        return QByteArray();
    uchardet_data_end(detector.get());
    return QByteArray(uchardet_get_charset(detector.get()));
}

// East Asian double-byte encodings other than GB's. GB18030 reads nearly all of
// their bytes as well, so only the detector's character statistics, which name
// one of these only on real evidence, can tell such a file apart.
bool isOtherDoubleByteEncoding(const QByteArray &name)
{
    static const QByteArray names[] = {"BIG5", "EUC-TW", "EUC-KR", "EUC-JP", "SHIFT_JIS"};
    return std::find(std::begin(names), std::end(names), name.toUpper()) != std::end(names);
}

// True when every byte above ASCII pairs up as a GB2312 character, as in nearly
// every Chinese file. Latin text that GB18030 happens to read pairs an accented
// letter with a plain one and fails here.
bool looksLikeGb2312(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar lead = uchar(bytes[i]);
        if (lead < 0x80)
            continue;
        if (lead < 0xA1 || lead > 0xF7 || ++i >= bytes.size())
            return false;
        const uchar trail = uchar(bytes[i]);
        if (trail < 0xA1 || trail == 0xFF)
            return false;
    }
    return true;
}

// Bytes that are not UTF-8: GB18030, the detector's guess or, when neither gives
// the bytes back, Latin-1, which maps every byte to one character and back.
QString decodeLegacy(const QByteArray &bytes, TextFormat *format)
{
    const QByteArray guess = guessedEncoding(bytes);
    const QByteArray upperGuess = guess.toUpper();
    const bool usableGuess = !guess.isEmpty() && !upperGuess.startsWith("GB")
        && upperGuess != "ASCII" && !upperGuess.startsWith("UTF");
    const bool guessFirst = usableGuess
        && (isOtherDoubleByteEncoding(guess) || !looksLikeGb2312(bytes));
    const std::pair<QByteArray, Source> candidates[] = {
        {guessFirst ? guess : QByteArray("GB18030"), guessFirst ? Source::Guessed : Source::Gb18030},
        {guessFirst ? QByteArray("GB18030") : guess, guessFirst ? Source::Gb18030 : Source::Guessed},
    };
    for (const auto &[name, source] : candidates) {
        if (source == Source::Guessed && !usableGuess)
            continue;
        if (auto reading = readExactly(bytes, name)) {
            format->encoding = reading->encoding;
            format->source = source;
            return std::move(reading->text);
        }
    }
    format->encoding = KeptBytesEncoding;
    format->source = Source::KeptBytes;
    return QString::fromLatin1(bytes);
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

QString decodeText(const QByteArray &bytes, TextFormat *format)
{
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        const QByteArray name = QStringConverter::nameForEncoding(*marked);
        if (auto reading = readExactly(bytes, name, true)) {
            format->encoding = reading->encoding;
            format->byteOrderMark = true;
            format->source = Source::ByteOrderMark;
            return std::move(reading->text);
        }
    }
    const QByteArray declared = declaredEncoding(bytes);
    if (!declared.isEmpty()) {
        if (auto reading = readExactly(bytes, declared)) {
            format->encoding = reading->encoding;
            format->source = Source::Declared;
            return std::move(reading->text);
        }
    }
    if (auto reading = readExactly(bytes, "UTF-8")) {
        format->source = Source::Utf8;
        return std::move(reading->text);
    }
    return decodeLegacy(bytes, format);
}

} // namespace

TextFile::TextFile() = default;

TextFile::~TextFile() = default;

QString TextFile::decode(const QByteArray &bytes, TextFormat *format)
{
    TextFormat found;
    QString text = decodeText(bytes, &found);
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
    // Checked before opening: opening a FIFO waits for a writer, and a device
    // such as /dev/zero never ends.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        m_error = QString::fromUtf8(NotRegularError);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    const qint64 size = file.size();
    if (size > MaxSize) {
        m_error = QString::fromUtf8(TooLargeError);
        return false;
    }
    QByteArray bytes(size, Qt::Uninitialized);
    const qint64 read = file.read(bytes.data(), size);
    if (read < 0 || file.error() != QFileDevice::NoError) {
        m_error = file.errorString();
        return false;
    }
    bytes.truncate(read);
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

bool TextFile::CanEncode(QStringView text, const TextFormat &format)
{
    QStringEncoder encoder(format.encoding.constData());
    if (!encoder.isValid())
        return false;
    const QByteArray bytes = encoder.encode(text); // encoding happens only on conversion
    return !encoder.hasError();
}

QString TextFile::UnencodableError(const QByteArray &encoding)
{
    return QString::fromUtf8(UnencodableErrorPattern).arg(QString::fromLatin1(encoding));
}
