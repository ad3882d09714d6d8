#pragma once

#include <QStringView>

#include <memory>
#include <vector>

class CSSTextRead;
class TextFile;

// Feeds a reader a file's text, which may arrive in pieces cut anywhere, with
// the reader's results for every line followed by CR LF, whether the line ended
// in CR LF, LF, a lone CR or the end of the text. The reader gets long pieces
// instead of one per line, each cut where no token can be split.
class LineFeed
{
public:
    explicit LineFeed(CSSTextRead &reader);

    void Add(QStringView text);
    // The last line gets its CR LF even without a line break of its own.
    void Finish();

private:
    // Feeds text[0, end) with its line breaks written as CR LF.
    void feed(QStringView text, qsizetype end);
    void feedSafely(QStringView text);
    void feedHeld();

    CSSTextRead &m_reader;
    std::unique_ptr<char16_t[]> m_out;
    qsizetype m_outCapacity = 0;
    // The end of the text so far, held back until the next character is known:
    // a CR that may pair with an LF, a "/" or "*" that may start a token.
    std::vector<char16_t> m_held;
    bool m_lineOpen = false;
};

// Clears nothing: feeds reader the whole text of an opened file, as above.
void ReadStylesheet(CSSTextRead &reader, TextFile &file);
