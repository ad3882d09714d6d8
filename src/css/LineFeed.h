#pragma once

#include <QStringView>

class CSSTextRead;
class TextFile;

// Feeds a reader a file's text, which may arrive in pieces cut anywhere: the
// reader reads every line break of a file, CR LF, LF or a lone CR, as one
// blank, and carries everything unfinished from one piece to the next, so the
// text goes to it as it stands.
class LineFeed
{
public:
    explicit LineFeed(CSSTextRead &reader);

    void Add(QStringView text);
    // The last line gets its line break even without one of its own.
    void Finish();

private:
    CSSTextRead &m_reader;
    bool m_lineOpen = false;
};

// Clears nothing: feeds reader the whole text of an opened file, as above.
void ReadStylesheet(CSSTextRead &reader, TextFile &file);
