#include "support/StringStore.h"

#include <QtTest>

#include <vector>

namespace {

QString sample(int i)
{
    return QString(i % 37, QChar(u'a' + i % 26)) + QString::number(i);
}

} // namespace

class TestStringStore : public QObject
{
    Q_OBJECT

private slots:
    // Texts kept over several blocks read back whole, and a kept text that is
    // changed gets its own buffer: neither its neighbours nor the store see it.
    void keptTextsStayApart()
    {
        StringStore store(64);
        std::vector<QString> kept;
        for (int i = 0; i < 3000; ++i)
            kept.push_back(store.keep(sample(i)));
        for (int i = 0; i < int(kept.size()); i += 2)
            kept[i].append(u'!');
        for (int i = 0; i < int(kept.size()); ++i)
            QCOMPARE(kept[i], i % 2 ? sample(i) : sample(i) + u'!');
        QVERIFY(!store.keep(QStringView()).isNull());
    }
};

QTEST_GUILESS_MAIN(TestStringStore)
#include "tst_StringStore.moc"
