#include "framework/StepBase.h"

#include <QtTest>

namespace {

QStringList pairsOf(const VValues &list)
{
    QStringList pairs;
    for (const Pair &pair : list)
        pairs << pair.Key() + QStringLiteral(" = ") + (pair.IsList() ? QStringLiteral("[list]") : pair.Value());
    return pairs;
}

VValues listOf(std::initializer_list<std::pair<const char *, const char *>> pairs)
{
    VValues list;
    for (const auto &[key, value] : pairs)
        list.Add(QString::fromUtf8(value), QString::fromUtf8(key));
    return list;
}

} // namespace

class TestStepBase : public QObject
{
    Q_OBJECT

private slots:
    void entriesWithoutKeyAreNumbered();
    void keysAreUniqueIgnoringCase();
    void missingEntriesAreReported();
    void removingKeepsIndexFields();
    void mergeCopiesPairs_data();
    void mergeCopiesPairs();
    void mergeRecursesIntoNestedLists();
    void mergeStopsOnTypeClash();
    void datasCopyInTheirDirection();
};

void TestStepBase::entriesWithoutKeyAreNumbered()
{
    StepItems items;
    const StepItemPtr first = items.Add(QStringLiteral("字体"), QStringLiteral("Quillmere.StyleFont"));
    const StepItemPtr second = items.Add(QStringLiteral("段落"), QStringLiteral("Quillmere.StylePara"));
    QVERIFY(first && second);
    QCOMPARE(first->Index, 1);
    QCOMPARE(second->Index, 2);
    QCOMPARE(second->ctlName, QStringLiteral("Quillmere.StylePara"));
    QVERIFY(!items.Exist(QString()));
    QCOMPARE(items.Item(2), second);
}

void TestStepBase::keysAreUniqueIgnoringCase()
{
    StepItems items;
    QVERIFY(items.Add(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("font")));
    QCOMPARE(items.Add(QStringLiteral("B"), QStringLiteral("y"), QStringLiteral("FONT")), nullptr);
    QVERIFY(!items.AddObj(std::make_shared<StepItem>(), QStringLiteral("Font")));
    QVERIFY(!items.AddObj(nullptr));
    QCOMPARE(items.Count(), 1);
    QVERIFY(items.Exist(QStringLiteral("FoNt")));
    QCOMPARE(items.Item(QStringLiteral("FONT"))->Key, QStringLiteral("font"));

    auto made = std::make_shared<StepItem>();
    QVERIFY(items.AddObj(made, QStringLiteral("para")));
    QCOMPARE(made->Index, 2);
    QCOMPARE(made->Key, QStringLiteral("para"));
}

void TestStepBase::missingEntriesAreReported()
{
    StepItems items;
    items.Add(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("font"));
    QCOMPARE(items.Item(2), nullptr);
    QCOMPARE(items.Item(0), nullptr);
    QCOMPARE(items.Item(QStringLiteral("para")), nullptr);
    QVERIFY(!items.Remove(2));
    QVERIFY(!items.Remove(QStringLiteral("para")));
    QCOMPARE(items.Count(), 1);
}

void TestStepBase::removingKeepsIndexFields()
{
    StepItems items;
    items.Add(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("a"));
    const StepItemPtr second = items.Add(QStringLiteral("B"), QStringLiteral("y"), QStringLiteral("b"));
    QVERIFY(items.Remove(1));
    QCOMPARE(items.Item(1), second);
    QCOMPARE(second->Index, 2);
    QVERIFY(!items.Exist(QStringLiteral("a")));
    QVERIFY(items.Remove(QStringLiteral("B")));
    QCOMPARE(items.Count(), 0);
}

void TestStepBase::mergeCopiesPairs_data()
{
    QTest::addColumn<QStringList>("source");
    QTest::addColumn<QStringList>("destination");
    QTest::addColumn<QStringList>("merged");

    QTest::newRow("new keys appended, present keys replaced")
        << QStringList{"color", "red", "font-size", "12pt"}
        << QStringList{"font-size", "9pt", "margin", "0"}
        << QStringList{"font-size = 12pt", "margin = 0", "color = red"};
    QTest::newRow("empty source") << QStringList{} << QStringList{"margin", "0"}
                                  << QStringList{"margin = 0"};
    QTest::newRow("keys ignore case") << QStringList{"COLOR", "blue"} << QStringList{"color", "red"}
                                      << QStringList{"color = blue"};
    QTest::newRow("a chain copies whole, replacing the one there")
        << QStringList{"display", "box", "display", "flex"}
        << QStringList{"display", "block", "display", "grid", "margin", "0"}
        << QStringList{"display = box", "margin = 0", "display = flex"};
}

void TestStepBase::mergeCopiesPairs()
{
    QFETCH(QStringList, source);
    QFETCH(QStringList, destination);
    QFETCH(QStringList, merged);
    VValues from;
    VValues to;
    for (qsizetype i = 0; i + 1 < source.size(); i += 2)
        from.Append(source[i + 1], source[i]);
    for (qsizetype i = 0; i + 1 < destination.size(); i += 2)
        to.Append(destination[i + 1], destination[i]);
    QVERIFY(MergeValues(from, to));
    QCOMPARE(pairsOf(to), merged);
}

void TestStepBase::mergeRecursesIntoNestedLists()
{
    VValues source;
    source.Add(std::make_shared<VValues>(listOf({{"top", "1px"}})), QStringLiteral("border"));
    VValues destination;
    auto present = std::make_shared<VValues>(listOf({{"left", "2px"}}));
    destination.Add(present, QStringLiteral("border"));
    QVERIFY(MergeValues(source, destination));
    QCOMPARE(pairsOf(*present), (QStringList{"left = 2px", "top = 1px"}));

    VValues empty;
    QVERIFY(MergeValues(source, empty));
    QVERIFY(empty.Item(QStringLiteral("border")).IsList());
    QVERIFY(empty.Item(QStringLiteral("border")).List() != source.Item(QStringLiteral("border")).List());
    QCOMPARE(pairsOf(*empty.Item(QStringLiteral("border")).List()), QStringList{"top = 1px"});
}

void TestStepBase::mergeStopsOnTypeClash()
{
    VValues source = listOf({{"color", "red"}});
    source.Add(std::make_shared<VValues>(listOf({{"top", "1px"}})), QStringLiteral("border"));
    source.Add(QStringLiteral("0"), QStringLiteral("margin"));
    VValues destination = listOf({{"border", "none"}});
    QVERIFY(!MergeValues(source, destination));
    QCOMPARE(pairsOf(destination), (QStringList{"border = none", "color = red"}));
}

void TestStepBase::datasCopyInTheirDirection()
{
    StepBase model;
    model.Values().Add(QStringLiteral("red"), QStringLiteral("color"));
    VValues outside = listOf({{"margin", "0"}});
    QVERIFY(model.GetDatas(outside));
    QCOMPARE(pairsOf(outside), (QStringList{"margin = 0", "color = red"}));
    QVERIFY(model.SetDatas(listOf({{"COLOR", "blue"}})));
    QCOMPARE(pairsOf(model.Values()), QStringList{"color = blue"});
}

QTEST_APPLESS_MAIN(TestStepBase)
#include "tst_stepbase.moc"
