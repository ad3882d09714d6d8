#include "support/StringStore.h"

#include "support/LargePages.h"

#include <algorithm>

StringStore::StringStore(qsizetype expectedChars)
    : m_nextBlock(std::max(expectedChars, MinBlock))
{
}

QString StringStore::keep(QStringView text)
{
    if (text.isEmpty())
        return QString(0, Qt::Uninitialized);
    if (m_end - m_free < text.size()) {
        const qsizetype size = std::max(text.size(), m_nextBlock);
        m_nextBlock = std::min(size * 2, std::max(MaxGrownBlock, size));
        // Left uninitialised: only the characters written are ever read.
        m_blocks.emplace_back(new char16_t[size_t(size)]);
        m_free = m_blocks.back().get();
        m_end = m_free + size;
        preferHugePages(m_free, size_t(size) * sizeof(char16_t));
    }
    const char16_t *const place = m_free;
    m_free = std::copy(text.utf16(), text.utf16() + text.size(), m_free);
    return QString::fromRawData(reinterpret_cast<const QChar *>(place), text.size());
}
