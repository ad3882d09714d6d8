#pragma once

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

#include <memory>

class QSaveFile;

// How a text file was stored on disk, so a later save writes it back the same way.
struct TextFormat
{
    QByteArray encoding = "UTF-8"; // a name QStringConverter/QStringEncoder knows
    bool byteOrderMark = false;
    QString lineEnd = QStringLiteral("\n");
    // How the encoding was found; not part of how the file is written.
    enum class EncodingSource { Default, ByteOrderMark, Declared, Utf8, Gb18030, Guessed, KeptBytes };
    EncodingSource source = EncodingSource::Default;

    bool operator==(const TextFormat &other) const
    {
        return encoding == other.encoding && byteOrderMark == other.byteOrderMark
            && lineEnd == other.lineEnd;
    }
};

// A text file opened for reading (whole file decoded at open, then read line by
// line) or for writing (lines collected and committed atomically).
//
// Reading: LF, CR LF and a lone CR all end a line; ReadLine never returns a line
// break. The encoding is detected from a byte-order mark, else from an @charset
// rule at the very start, else UTF-8 when the bytes are valid UTF-8, else GB18030.
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

    bool OpenFile(const QString &path);
    bool Eof() const;
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

    // Decoding used by OpenFile, exposed for callers holding bytes already.
    static QString decode(const QByteArray &bytes, TextFormat *format);

private:
    QString m_text;
    qsizetype m_pos = 0;
    TextFormat m_format;
    std::unique_ptr<QSaveFile> m_out;
    QStringEncoder m_encoder;
    QByteArray m_buffer;
    bool m_writeFailed = false;
    QString m_error;
};
