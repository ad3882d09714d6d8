#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <memory>
#include <optional>

class QSaveFile;

// How a text file was stored on disk, so a later save writes it back the same way.
struct TextFormat
{
    // How the encoding was found, for telling the user; not part of the format.
    enum class EncodingSource { Default, ByteOrderMark, Declared, Utf8, Gb18030, Guessed, KeptBytes };

    QByteArray encoding = "UTF-8"; // a name QStringConverter/QStringEncoder knows
    bool byteOrderMark = false;
    QString lineEnd = QStringLiteral("\n");
    EncodingSource source = EncodingSource::Default;
    // Whether the last line is saved with a line end: not in a file kept as
    // bytes whose last line had none, which saves as it was read.
    bool lastLineEnd = true;

    bool operator==(const TextFormat &other) const
    {
        return encoding == other.encoding && byteOrderMark == other.byteOrderMark
            && lineEnd == other.lineEnd && lastLineEnd == other.lastLineEnd;
    }
};

// A text file opened for reading (its encoding found at open, its text then read
// in pieces or by lines) or for writing (lines collected and committed
// atomically).
//
// Reading: only regular files up to MaxSize open. LF, CR LF and a lone CR all end
// a line; ReadLine never returns a line break, and the file's line end is the one
// most of its lines use. Every encoding is tried only as far as it gives back the
// file's exact bytes when written again, so an unedited file saves unchanged: a
// byte-order mark, else an @charset rule at the very start, else UTF-16 or UTF-32
// when the zero bytes show it, else UTF-8, else GB18030 or the encoding uchardet
// guesses, else Latin-1, which keeps any byte.
//
// Writing: CreateFile starts a QSaveFile; nothing reaches the target until Commit
// succeeds, so a failed save leaves the old file untouched.
class TextFile
{
public:
    TextFile();
    ~TextFile();
    TextFile(const TextFile &) = delete;
    TextFile &operator=(const TextFile &) = delete;

    static constexpr qint64 MaxSize = 256 * 1024 * 1024;

    // False with a short reason in ErrorString when the file cannot be read.
    bool OpenFile(const QString &path);
    // The opened file's text in consecutive pieces of up to PieceSize characters,
    // line breaks as they stood; empty at the end. Decoding a piece at a time
    // spares a large file's text ever existing whole, and a UTF-8 file's bytes
    // too. A piece stays valid until the next call. Not to be mixed with ReadLine.
    QStringView ReadPiece();

    // True, with ErrorString, when the file changed or could not be read
    // while its pieces were: what was read is then not the file.
    bool ReadFailed() const { return m_readFailed; }

    bool Eof();
    QString ReadLine();
    // The next line as a view into the decoded text; valid while this object lives.
    QStringView ReadLineView();
    // What the opened file turned out to be.
    const TextFormat &Format() const { return m_format; }

    bool CreateFile(const QString &path, const TextFormat &format = TextFormat());
    bool WriteLine(const QString &text);
    // Writes everything to the target. False (with ErrorString) when any step failed.
    bool Commit();

    QString ErrorString() const { return m_error; }
    // Why a save fails when the text holds characters the encoding cannot store.
    static QString UnencodableError(const QByteArray &encoding);
    // True when format's encoding can store every character of text.
    static bool CanEncode(QStringView text, const TextFormat &format);

    // Decoding used by OpenFile, exposed for callers holding bytes already.
    static QString decode(const QByteArray &bytes, TextFormat *format);

private:
    static constexpr qsizetype PieceSize = 32 * 1024;
    static constexpr qsizetype PieceSlack = 16; // room for what a decoder holds back

    static constexpr qsizetype ChunkSize = 64 * 1024; // bytes checked at a time

    static bool writeAll(QSaveFile &out, QByteArrayView bytes);
    bool openAsUtf8();
    bool readWhole();
    void closeFile();
    // The next at most count bytes to decode, from the file or from m_bytes;
    // empty at the end.
    QByteArrayView nextBytes(qsizetype count);
    void failReading();
    void checkDecoded();
    // The text for reading by lines, decoded at the first need.
    const QString &wholeText();

    // Read from piece by piece when open; else m_bytes holds the whole file.
    int m_file = -1;
    qint64 m_size = 0;
    // The file's bytes, or the buffer they are read through.
    QByteArray m_bytes;
    qint64 m_bytePos = 0; // bytes handed to the decoder
    bool m_readFailed = false;
    QStringDecoder m_decoder;
    std::unique_ptr<char16_t[]> m_piece;
    // Set when finding the encoding meant decoding the text, or by wholeText.
    std::optional<QString> m_text;
    qsizetype m_textPos = 0;
    qsizetype m_pos = 0;
    TextFormat m_format;
    std::unique_ptr<QSaveFile> m_out;
    QStringEncoder m_encoder;
    QByteArray m_buffer;
    bool m_writeFailed = false;
    QString m_error;
};
