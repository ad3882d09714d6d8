#include "css/LineFeed.h"

#include "css/CSSTextRead.h"
#include "support/TextFile.h"

LineFeed::LineFeed(CSSTextRead &reader)
    : m_reader(reader)
{
    m_reader.readFileLines();
}

void LineFeed::Add(QStringView text)
{
    if (text.isEmpty())
        return;
    m_reader.AddData(text);
    m_lineOpen = text.back() != u'\n' && text.back() != u'\r';
}

void LineFeed::Finish()
{
    if (m_lineOpen)
        m_reader.AddData(u"\n");
    m_lineOpen = false;
}

void ReadStylesheet(CSSTextRead &reader, TextFile &file)
{
    LineFeed feed(reader);
    for (QStringView piece = file.ReadPiece(); !piece.isEmpty(); piece = file.ReadPiece())
        feed.Add(piece);
    feed.Finish();
}
