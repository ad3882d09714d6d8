#include "support/TextFile.h"

#include "support/LargePages.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <uchardet/uchardet.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using Source = TextFormat::EncodingSource;

const char CharsetStart[] = "@charset \"";
const char NotOpenError[] = "文件没有打开。";
const char NotRegularError[] = "不是普通文件。";
const char TooLargeError[] = "文件超过 256 MiB。";
const char ChangedWhileReadError[] = "文件在读入时被改动或不能读完。";
const char UnencodableErrorPattern[] = "文本含有 %1 编码无法存储的字符。";
const char KeptBytesEncoding[] = "ISO-8859-1";

// Enough of a 16- or 32-bit file to show its pattern of zero bytes.
constexpr qsizetype ZeroPatternSample = 4 * 1024;
// What the guesser is shown: it takes about half a second a megabyte, and its
// statistics settle within some tens of kilobytes.
constexpr qsizetype GuessSample = 64 * 1024;

// An encoding that reads a file exactly, with the text when finding that out
// meant decoding it; UTF-8 is only validated, and decoded piece by piece later.
struct Reading
{
    QByteArray encoding;
    std::optional<QString> text;
};

bool isUtf8(const QByteArray &name)
{
    return QStringConverter::encodingForName(name.constData()) == QStringConverter::Utf8;
}

// The byte-order mark in the named encoding. Qt's encoders write theirs only
// ahead of some text, so a file holding nothing else would lose it.
QByteArray byteOrderMarkFor(const QByteArray &name)
{
    QStringEncoder encoder(name.constData());
    return encoder.encode(QStringView(u"\uFEFF"));
}

// How bytes read under the named encoding, when writing that text again gives
// back exactly these bytes; a decoder's error flag alone is not enough, as
// GB18030 reads many invalid sequences without raising it. Qt's UTF-8 check
// refuses every sequence its encoder would not write back (overlong forms,
// surrogates, cut characters), so UTF-8 needs no trial write.
std::optional<Reading> readExactly(const QByteArray &bytes, const QByteArray &name,
                                   bool byteOrderMark = false)
{
    if (isUtf8(name)) {
        if (!QByteArrayView(bytes).isValidUtf8())
            return std::nullopt;
        return Reading{"UTF-8", std::nullopt};
    }
    QStringDecoder decoder(name.constData(), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    QStringEncoder encoder(name.constData());
    const QByteArray written = (byteOrderMark ? byteOrderMarkFor(name) : QByteArray())
        + QByteArray(encoder.encode(text));
    if (written != bytes || encoder.hasError())
        return std::nullopt;
    // The converter's own spelling of the name, unless it knows the encoding
    // by another name altogether ("windows-949" as "KSC_5601") or by none.
    const QByteArray known = decoder.name();
    return Reading{known.compare(name, Qt::CaseInsensitive) == 0 ? known : name, std::move(text)};
}

// The encoding a leading @charset rule names. A name of a 16- or 32-bit
// encoding cannot be true of a file whose first bytes read as ASCII.
QByteArray declaredEncoding(QByteArrayView bytes)
{
    if (!bytes.startsWith(CharsetStart))
        return QByteArray();
    const qsizetype nameStart = qsizetype(sizeof CharsetStart) - 1;
    const qsizetype nameEnd = bytes.indexOf('"', nameStart);
    if (nameEnd <= nameStart || nameEnd + 1 >= bytes.size() || bytes[nameEnd + 1] != ';')
        return QByteArray();
    const QByteArray name = bytes.sliced(nameStart, nameEnd - nameStart).toByteArray();
    const QByteArray lowerName = name.toLower();
    if (lowerName.startsWith("utf-16") || lowerName.startsWith("utf-32"))
        return QByteArray();
    return name;
}

// The 16- or 32-bit Unicode encoding whose zero bytes the start of a file
// shows, if any. Without a byte-order mark nothing else tells: such a file's
// bytes are valid UTF-8 as long as its text is ASCII. A stylesheet is mostly
// ASCII, whose characters have every byte zero but the lowest.
QByteArray unmarkedUnicode(QByteArrayView bytes)
{
    struct Form
    {
        const char *name;
        qsizetype width;
        qsizetype low; // where the lowest byte of a character stands
    };
    // UTF-32 first: read as UTF-16 its ASCII shows in just half the characters.
    static const Form forms[] = {
        {"UTF-32LE", 4, 0}, {"UTF-32BE", 4, 3}, {"UTF-16LE", 2, 0}, {"UTF-16BE", 2, 1}};
    const QByteArrayView sample = bytes.first(std::min(bytes.size(), ZeroPatternSample));
    if (!sample.contains('\0'))
        return QByteArray();
    for (const Form &form : forms) {
        const qsizetype units = sample.size() / form.width;
        qsizetype ascii = 0;
        for (qsizetype i = 0; i < units; ++i) {
            const QByteArrayView unit = sample.sliced(i * form.width, form.width);
            ascii += unit[form.low] != 0 && std::count(unit.begin(), unit.end(), 0) == form.width - 1;
        }
        if (ascii * 2 > units)
            return form.name;
    }
    return QByteArray();
}

// The part of a file shown to the guesser, from the line of its first byte
// above ASCII: plain ASCII before it tells nothing.
QByteArrayView guessSample(QByteArrayView bytes)
{
    const auto high = std::find_if(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; });
    const qsizetype lineStart = bytes.first(high - bytes.begin()).lastIndexOf('\n') + 1;
    const QByteArrayView rest = bytes.sliced(lineStart);
    return rest.first(std::min(rest.size(), GuessSample));
}

// uchardet's guess under a name Qt's converters know: they lack "UHC", Korean
// Windows' extension of EUC-KR, and ICU's "CP949" is IBM's EUC-KR instead.
QByteArray guessedEncoding(QByteArrayView sample)
{
    const std::unique_ptr<uchardet, decltype(&uchardet_delete)> detector(uchardet_new(),
                                                                        &uchardet_delete);
    if (uchardet_handle_data(detector.get(), sample.data(), size_t(sample.size())) != 0)
        return QByteArray();
    uchardet_data_end(detector.get());
    const QByteArray guess(uchardet_get_charset(detector.get()));
    return guess.compare("UHC", Qt::CaseInsensitive) == 0 ? QByteArray("windows-949") : guess;
}

// A guess worth trying: one Qt can write, and not one tried before the guess.
bool isUsableGuess(const QByteArray &guess)
{
    const QByteArray upper = guess.toUpper();
    return !guess.isEmpty() && !upper.startsWith("GB") && upper != "ASCII"
        && !upper.startsWith("UTF") && QStringEncoder(guess.constData()).isValid();
}

// East Asian double-byte encodings other than GB's. GB18030 reads nearly all of
// their bytes as well, so only the detector's character statistics, which name
// one of these only on real evidence, can tell such a file apart.
bool isOtherDoubleByteEncoding(const QByteArray &name)
{
    static const QByteArray names[] = {"BIG5", "EUC-TW", "EUC-KR", "WINDOWS-949", "EUC-JP",
                                       "SHIFT_JIS"};
    return std::find(std::begin(names), std::end(names), name.toUpper()) != std::end(names);
}

// Whether a guess rests on evidence enough to outweigh the GB2312 check. A
// single-byte one does when it reads every character above ASCII as a letter
// of one alphabet other than Latin: such alphabets write whole words in high
// bytes, which pair up as GB2312 as often as not, while Chinese read that way
// mixes letters with symbols. Latin text the GB2312 check tells apart itself.
bool isConfidentGuess(const QByteArray &guess, QByteArrayView sample)
{
    if (isOtherDoubleByteEncoding(guess))
        return true;
    QStringDecoder decoder(guess.constData(), QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(sample);
    std::optional<QChar::Script> script;
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            continue;
        if (!c.isLetter() || c.script() == QChar::Script_Latin || (script && c.script() != *script))
            return false;
        script = c.script();
    }
    return script.has_value();
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

// Latin-1 maps every byte to one character and back, so bytes no encoding
// explains are saved as they were read.
Reading keepBytes(const QByteArray &bytes, TextFormat *format)
{
    format->source = Source::KeptBytes;
    format->lastLineEnd = bytes.isEmpty() || bytes.endsWith('\n') || bytes.endsWith('\r');
    return Reading{KeptBytesEncoding, QString::fromLatin1(bytes)};
}

// Bytes that are not UTF-8: GB18030 or the detector's guess, whichever is more
// likely first, else the bytes kept.
Reading readLegacy(const QByteArray &bytes, TextFormat *format)
{
    const QByteArrayView sample = guessSample(bytes);
    const QByteArray guess = guessedEncoding(sample);
    std::vector<std::pair<QByteArray, Source>> candidates{{"GB18030", Source::Gb18030}};
    if (isUsableGuess(guess)) {
        const bool guessFirst = isConfidentGuess(guess, sample) || !looksLikeGb2312(bytes);
        candidates.insert(guessFirst ? candidates.begin() : candidates.end(), {guess, Source::Guessed});
    }
    for (const auto &[name, source] : candidates) {
        if (auto reading = readExactly(bytes, name)) {
            format->source = source;
            return std::move(*reading);
        }
    }
    return keepBytes(bytes, format);
}

// Counts a file's line breaks, as many pieces as its bytes or text come in, for
// the line end most of its lines use.
class LineEndCounter
{
public:
    // Bytes of UTF-8 (where a CR or LF byte is always that character) or text,
    // counted in one pass: looking line by line for the next break would cost a
    // call per line.
    template<typename View>
    void look(View text)
    {
        if (text.isEmpty())
            return;
        m_crLf += m_afterCr && text.front() == u'\n';
        m_afterCr = text.back() == u'\r';
        qsizetype i = 0;
#if defined(__SSE2__)
        if constexpr (sizeof(*text.data()) == 1)
            i = countBytes(reinterpret_cast<const char *>(text.data()), text.size());
#endif
        for (; i < text.size(); ++i) {
            const auto c = text[i];
            m_lf += c == u'\n';
            m_cr += c == u'\r';
            m_crLf += c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        }
    }
    // A tie goes to LF, a new file's line end, then to CR LF.
    QString lineEnd() const
    {
        const qint64 lf = m_lf - m_crLf, cr = m_cr - m_crLf;
        if (lf >= m_crLf && lf >= cr)
            return QStringLiteral("\n");
        return m_crLf >= cr ? QStringLiteral("\r\n") : QStringLiteral("\r");
    }

private:
#if defined(__SSE2__)
    // Counts in the bytes sixteen at a time, each byte lane summing up to 255
    // matches before the lanes are added up; returns how far it got.
    qsizetype countBytes(const char *bytes, qsizetype size)
    {
        const __m128i zero = _mm_setzero_si128();
        const __m128i lf = _mm_set1_epi8('\n');
        const __m128i cr = _mm_set1_epi8('\r');
        __m128i lfs = zero, crs = zero, pairs = zero;
        const auto addUp = [&] {
            const auto sum = [&zero](__m128i lanes) {
                const __m128i sums = _mm_sad_epu8(lanes, zero);
                return _mm_cvtsi128_si64(sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums));
            };
            m_lf += sum(lfs);
            m_cr += sum(crs);
            m_crLf += sum(pairs);
            lfs = crs = pairs = zero;
        };
        qsizetype i = 0;
        for (int rounds = 0; i + 17 <= size; i += 16) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i + 1));
            const __m128i isCr = _mm_cmpeq_epi8(here, cr);
            // A match is all ones, minus one: subtracting it adds one.
            lfs = _mm_sub_epi8(lfs, _mm_cmpeq_epi8(here, lf));
            crs = _mm_sub_epi8(crs, isCr);
            pairs = _mm_sub_epi8(pairs, _mm_and_si128(isCr, _mm_cmpeq_epi8(next, lf)));
            if (++rounds == 255) {
                addUp();
                rounds = 0;
            }
        }
        addUp();
        return i;
    }
#endif

    qint64 m_lf = 0;
    qint64 m_cr = 0;
    qint64 m_crLf = 0;
    bool m_afterCr = false;
};

// Finds how bytes are stored. The text comes back too when finding out meant
// decoding it.
std::optional<QString> detect(const QByteArray &bytes, TextFormat *format)
{
    std::optional<Reading> reading;
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        reading = readExactly(bytes, QStringConverter::nameForEncoding(*marked), true);
        if (reading) {
            format->byteOrderMark = true;
            format->source = Source::ByteOrderMark;
        }
    }
    if (!reading) {
        const QByteArray declared = declaredEncoding(bytes);
        if (!declared.isEmpty() && (reading = readExactly(bytes, declared)))
            format->source = Source::Declared;
    }
    if (!reading) {
        // Zero bytes rule out every other encoding: the file is this one or
        // nothing understood.
        if (const QByteArray unicode = unmarkedUnicode(bytes); !unicode.isEmpty()) {
            format->source = Source::Guessed;
            reading = readExactly(bytes, unicode);
            if (!reading)
                reading = keepBytes(bytes, format);
        }
    }
    if (!reading && (reading = readExactly(bytes, "UTF-8")))
        format->source = Source::Utf8;
    if (!reading)
        reading = readLegacy(bytes, format);
    format->encoding = reading->encoding;
    LineEndCounter lineEnd;
    if (reading->text)
        lineEnd.look(QStringView(*reading->text));
    else
        lineEnd.look(QByteArrayView(bytes));
    format->lineEnd = lineEnd.lineEnd();
    return std::move(reading->text);
}

// A regular file of at most MaxSize bytes opened for reading, with its size;
// anything else, such as /dev/zero, could be read for ever. Opening does not
// wait, so a FIFO cannot block it, and the check is made on the opened
// descriptor, so the file cannot be swapped between check and read. Plain
// system calls: Qt's file classes stat a file three times, which costs more
// than reading a small stylesheet.
int openRegularFile(const QString &path, qint64 *size, QString *error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = qt_error_string(errno);
        return -1;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0)
        *error = qt_error_string(errno);
    else if (!S_ISREG(status.st_mode))
        *error = QString::fromUtf8(NotRegularError);
    else if (status.st_size > TextFile::MaxSize)
        *error = QString::fromUtf8(TooLargeError);
    else {
        *size = status.st_size;
        return fd;
    }
    ::close(fd);
    return -1;
}

// Fills buffer from the file's current position as far as the file goes; how
// many bytes came, or -1 on an error.
qsizetype readFully(int fd, char *buffer, qsizetype size)
{
    qsizetype done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, buffer + done, size_t(size - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

// How far bytes hold whole UTF-8 sequences: a sequence cut at the end, whose
// rest is still to be read, is left out.
qsizetype wholeSequencesEnd(QByteArrayView bytes)
{
    for (qsizetype back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const uchar c = uchar(bytes[bytes.size() - back]);
        if ((c & 0xC0) == 0x80)
            continue; // a continuation byte: its lead is further back
        const qsizetype length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return length > back ? bytes.size() - back : bytes.size();
    }
    return bytes.size();
}

} // namespace

TextFile::TextFile() = default;

TextFile::~TextFile()
{
    closeFile();
}

void TextFile::closeFile()
{
    if (m_file >= 0)
        ::close(m_file);
    m_file = -1;
}

QString TextFile::decode(const QByteArray &bytes, TextFormat *format)
{
    TextFormat found;
    std::optional<QString> text = detect(bytes, &found);
    if (format)
        *format = found;
    if (text)
        return std::move(*text);
    return QStringDecoder(found.encoding.constData()).decode(bytes);
}

bool TextFile::OpenFile(const QString &path)
{
    closeFile();
    m_bytes.clear();
    m_size = 0;
    m_bytePos = 0;
    m_text.reset();
    m_textPos = 0;
    m_pos = 0;
    m_format = TextFormat();
    m_readFailed = false;
    m_error.clear();
    m_file = openRegularFile(path, &m_size, &m_error);
    if (m_file < 0)
        return false;
    if (!openAsUtf8()) {
        const bool read = readWhole();
        closeFile();
        if (!read)
            return false;
        m_text = detect(m_bytes, &m_format);
    }
    m_decoder = QStringDecoder(m_format.encoding.constData());
    return true;
}

// Most stylesheets are UTF-8. Their bytes are checked here a chunk at a time
// and decoded later a piece at a time, so a large file's bytes are never held
// whole. False, for reading the file whole, when it is not plainly UTF-8 or a
// read failed; the format is then found as decode finds it.
bool TextFile::openAsUtf8()
{
    m_bytes.resize(qsizetype(std::min<qint64>(ChunkSize, m_size)));
    qsizetype filled = readFully(m_file, m_bytes.data(), m_bytes.size());
    if (filled < 0)
        return false;
    TextFormat format;
    const QByteArrayView head(m_bytes.constData(), filled);
    // An @charset rule longer than the first chunk is left to the whole read.
    if (filled < m_size && head.startsWith(CharsetStart) && declaredEncoding(head).isEmpty())
        return false;
    if (const auto marked = QStringConverter::encodingForData(head)) {
        if (*marked != QStringConverter::Utf8)
            return false;
        format.byteOrderMark = true;
        format.source = Source::ByteOrderMark;
    } else if (const QByteArray declared = declaredEncoding(head); !declared.isEmpty()) {
        if (!isUtf8(declared))
            return false;
        format.source = Source::Declared;
    } else if (!unmarkedUnicode(head).isEmpty()) {
        return false;
    } else {
        format.source = Source::Utf8;
    }

    LineEndCounter lineEnd;
    const qsizetype headSize = filled;
    qint64 seen = filled;
    qsizetype carry = 0; // the start of a sequence cut at the end of the last chunk
    for (;;) {
        const QByteArrayView chunk(m_bytes.constData(), carry + filled);
        lineEnd.look(chunk.sliced(carry));
        // A file that grows meanwhile is read as far as it reached at the check.
        const bool atEnd = filled == 0 || seen == m_size;
        const qsizetype whole = atEnd ? chunk.size() : wholeSequencesEnd(chunk);
        if (!chunk.first(whole).isValidUtf8())
            return false;
        if (atEnd)
            break;
        carry = chunk.size() - whole;
        std::memmove(m_bytes.data(), m_bytes.data() + whole, size_t(carry));
        filled = readFully(m_file, m_bytes.data() + carry,
                           qsizetype(std::min<qint64>(ChunkSize - carry, m_size - seen)));
        if (filled < 0)
            return false;
        seen += filled;
    }
    if (seen == headSize) {
        // A small file is in hand whole already.
        m_bytes.truncate(headSize);
        closeFile();
    } else if (::lseek(m_file, 0, SEEK_SET) != 0) {
        return false;
    }
    format.encoding = "UTF-8";
    format.lineEnd = lineEnd.lineEnd();
    m_format = format;
    m_size = seen;
    return true;
}

bool TextFile::readWhole()
{
    if (::lseek(m_file, 0, SEEK_SET) != 0) {
        m_error = qt_error_string(errno);
        return false;
    }
    m_bytes = QByteArray(qsizetype(m_size), Qt::Uninitialized);
    preferHugePages(m_bytes.data(), size_t(m_bytes.size()));
    const qsizetype read = readFully(m_file, m_bytes.data(), m_bytes.size());
    if (read < 0) {
        m_error = qt_error_string(errno);
        return false;
    }
    m_bytes.truncate(read);
    m_size = read;
    return true;
}

QByteArrayView TextFile::nextBytes(qsizetype count)
{
    count = qsizetype(std::min<qint64>(count, m_size - m_bytePos));
    if (count <= 0)
        return QByteArrayView();
    if (m_file < 0) {
        // The whole file is in m_bytes.
        const QByteArrayView bytes = QByteArrayView(m_bytes).sliced(qsizetype(m_bytePos), count);
        m_bytePos += count;
        return bytes;
    }
    if (m_bytes.size() < count)
        m_bytes.resize(count);
    const qsizetype read = readFully(m_file, m_bytes.data(), count);
    m_bytePos += count;
    if (read != count) {
        failReading();
        m_bytePos = m_size; // what comes after a failed read is not the file
    }
    if (m_bytePos == m_size)
        closeFile();
    return QByteArrayView(m_bytes.constData(), std::max<qsizetype>(read, 0));
}

void TextFile::failReading()
{
    m_readFailed = true;
    m_error = QString::fromUtf8(ChangedWhileReadError);
}

// The bytes were found to read exactly when the file was opened: any that do
// not came in since.
void TextFile::checkDecoded()
{
    if (m_decoder.hasError())
        failReading();
}

QStringView TextFile::ReadPiece()
{
    if (m_text) {
        const QStringView piece = QStringView(*m_text).sliced(m_textPos).first(
            std::min(PieceSize, m_text->size() - m_textPos));
        m_textPos += piece.size();
        return piece;
    }
    // Left uninitialised and no larger than the file needs: a small file opens
    // in microseconds, and clearing a buffer would cost a good part of that.
    const qsizetype capacity = qsizetype(std::min<qint64>(PieceSize, m_size)) + PieceSlack;
    if (!m_piece)
        m_piece.reset(new char16_t[size_t(capacity)]);
    QChar *const piece = reinterpret_cast<QChar *>(m_piece.get());
    // A character cut between two pieces of bytes waits in the decoder, so a
    // piece may come out empty; the next bytes complete it.
    for (;;) {
        qsizetype take = PieceSize;
        while (m_decoder.requiredSpace(take) > capacity)
            take /= 2;
        const QByteArrayView bytes = nextBytes(take);
        if (bytes.isEmpty()) {
            checkDecoded();
            return QStringView();
        }
        const QChar *end = m_decoder.appendToBuffer(piece, bytes);
        if (end != piece)
            return QStringView(piece, end);
    }
}

const QString &TextFile::wholeText()
{
    if (!m_text) {
        const QByteArrayView rest = nextBytes(qsizetype(m_size - m_bytePos));
        m_text = rest.isEmpty() ? QString() : QString(m_decoder.decode(rest));
        checkDecoded();
    }
    return *m_text;
}

bool TextFile::Eof()
{
    return m_pos >= wholeText().size();
}

QStringView TextFile::ReadLineView()
{
    const QString &text = wholeText();
    const qsizetype start = m_pos;
    qsizetype end = start;
    const QChar *chars = text.constData();
    while (end < text.size() && chars[end] != u'\n' && chars[end] != u'\r')
        ++end;
    m_pos = end;
    if (m_pos < text.size()) {
        const bool crLf = chars[m_pos] == u'\r' && m_pos + 1 < text.size()
            && chars[m_pos + 1] == u'\n';
        m_pos += crLf ? 2 : 1;
    }
    return QStringView(text).sliced(start, end - start);
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
    // Unbuffered: a short write must show here, not in a flush inside commit(),
    // which would report a cut file as written.
    if (!m_out->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_error = m_out->errorString();
        m_out.reset();
        return false;
    }
    m_encoder = QStringEncoder(format.encoding.constData());
    if (!m_encoder.isValid()) {
        m_error = UnencodableError(format.encoding);
        m_out.reset();
        return false;
    }
    if (format.byteOrderMark)
        m_buffer = byteOrderMarkFor(format.encoding);
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
    QByteArray bytes = std::exchange(m_buffer, QByteArray());
    if (!m_format.lastLineEnd && bytes.endsWith(m_format.lineEnd.toLatin1()))
        bytes.chop(m_format.lineEnd.size()); // kept bytes: one byte a character
    // An uncommitted QSaveFile discards its temporary file when destroyed, so
    // every early return leaves the target as it was.
    if (m_writeFailed)
        return false;
    if (!writeAll(*out, bytes) || !out->commit()) {
        m_error = out->errorString();
        return false;
    }
    return true;
}

// A full disk shows first as a short write that sets no error; writing what is
// left then fails with the system's reason.
bool TextFile::writeAll(QSaveFile &out, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const qint64 written = out.write(bytes.data(), bytes.size());
        if (written <= 0)
            return false;
        bytes = bytes.sliced(written);
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
