#pragma once

#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

// Keeps many short texts together in a few large blocks, and hands them back
// as strings that refer to their block without owning it (as
// QString::fromRawData does): a hundred thousand rule texts then cost no
// allocation apiece, and lie together in memory.
//
// A string from the store is valid only while the store lives. Changing it, or
// a copy of it, gives that string a buffer of its own; copying it with
// QString(text.constData(), text.size()) makes one that outlives the store.
class StringStore
{
public:
    // The first block holds about this many characters.
    explicit StringStore(qsizetype expectedChars = 0);
    StringStore(const StringStore &) = delete;
    StringStore &operator=(const StringStore &) = delete;

    [[nodiscard]] QString keep(QStringView text);

private:
    static constexpr qsizetype MinBlock = 4 * 1024;
    static constexpr qsizetype MaxGrownBlock = 4 * 1024 * 1024;

    std::vector<std::unique_ptr<char16_t[]>> m_blocks;
    char16_t *m_free = nullptr; // where the next text goes
    char16_t *m_end = nullptr;
    qsizetype m_nextBlock;
};
