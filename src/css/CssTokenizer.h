#pragma once

#include <QStringView>
#include <QVarLengthArray>

#include <cstdint>

// Walks stylesheet text as a CSS engine tokenizes it, fed in pieces of any
// size: comments, strings with their escapes, backslash escapes and unquoted
// url() tokens are stepped over, "(" and "[" blocks are matched, and only the
// characters that give the text its structure outside all of them are
// reported. Any token may span pieces; the state carries over.
class CssTokenizer
{
public:
    enum class Stop : std::uint8_t {
        None,         // the piece ended first
        BlockOpen,    // "{"
        BlockClose,   // "}"
        Semicolon,    // ";"
        Colon,        // ":"
        CommentOpen,  // at the "/" of "/*"; -1 when it ended the last piece
        CommentClose, // just after the "/" of "*/"
    };
    // Which stops are reported; "{", "}" and comments always are, outside
    // "(" and "[" blocks.
    enum Report : std::uint8_t { Braces = 0, Semicolons = 1, Colons = 2 };

    struct Found
    {
        qsizetype pos = -1;
        Stop stop = Stop::None;

        // Where reading goes on: past the stop's characters.
        qsizetype after() const
        {
            return stop == Stop::CommentOpen ? pos + 2 : stop == Stop::CommentClose ? pos : pos + 1;
        }
    };

    explicit CssTokenizer(int report = Braces, bool bracesNest = false);

    void reset();
    // Which stops the following calls report (a Report combination).
    void setReport(int report) { m_report = report & (Semicolons | Colons); }
    // The next reported stop at or after from in piece.
    Found next(QStringView piece, qsizetype from);
    // Hands onStop every reported stop of piece, in order.
    template<typename OnStop>
    void walk(QStringView piece, OnStop onStop)
    {
        for (Found found = next(piece, 0); found.stop != Stop::None; found = next(piece, found.after()))
            onStop(found);
    }
    // Outside any string, comment, escape, url token and "(" or "[" block.
    bool atTopLevel() const { return m_state == State::Normal && m_closers.isEmpty(); }
    bool inComment() const { return m_state == State::Comment; }
    bool inString() const { return m_state == State::String; }
    // How many strings a line break has ended so far: text holding one reads
    // differently once its line breaks are gone.
    int brokenStrings() const { return m_brokenStrings; }

private:
    enum class State : std::uint8_t {
        Normal,
        Comment,
        String,      // m_quote tells which
        UrlStart,    // after "url(", blanks so far
        Url,         // inside an unquoted url token
    };

    // Whether "url" stands right before text[at] as a whole word.
    bool urlBefore(QStringView text, qsizetype at) const;
    qsizetype afterEscaped(QStringView text, qsizetype at);
    qsizetype skipComment(QStringView text, qsizetype from);
    qsizetype skipString(QStringView text, qsizetype from);
    qsizetype skipUrl(QStringView text, qsizetype from);
    void rememberTail(QStringView text);

    int m_report;
    bool m_bracesNest; // "{" opens a matched block instead of being reported
    State m_state = State::Normal;
    char16_t m_quote = 0;
    bool m_escape = false;      // the last piece ended in a backslash
    bool m_escapedCr = false;   // the last piece ended in an escaped CR
    bool m_slash = false;       // the last piece ended in a "/" outside comments
    bool m_star = false;        // the last piece ended in a "*" inside a comment
    int m_brokenStrings = 0;
    QVarLengthArray<char16_t, 16> m_closers; // what closes each open "(", "[" or nested "{"
    // The last characters read, for "url(" at the start of a piece: "url" and
    // the character in front of it.
    static constexpr int TailSize = 4;
    char16_t m_tail[TailSize] = {};
};
