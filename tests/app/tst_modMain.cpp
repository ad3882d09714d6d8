#include "app/modMain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestModMain : public QObject
{
    Q_OBJECT

private slots:
    void ensureTrailingBackslash_data();
    void ensureTrailingBackslash();
    void commandLineText_data();
    void commandLineText();
    void programFolder_data();
    void programFolder();
    void commandLineReply_data();
    void commandLineReply();
    void versionNeedsNoDisplay();
    void engineSandboxForRoot_data();
    void engineSandboxForRoot();
};

void TestModMain::ensureTrailingBackslash_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");

    QTest::newRow("appended") << "/opt/quillmere" << "/opt/quillmere/";
    QTest::newRow("kept") << "/opt/quillmere/" << "/opt/quillmere/";
    QTest::newRow("root") << "/" << "/";
    QTest::newRow("empty") << "" << "/";
    QTest::newRow("backslash is a name character") << "/opt/a\\" << "/opt/a\\/";
}

void TestModMain::ensureTrailingBackslash()
{
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QCOMPARE(EnsureTrailingBackslash(path), folder);
}

void TestModMain::commandLineText_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("text");

    QTest::newRow("one") << QStringList{"quillmere", "/a/x.css"} << "/a/x.css";
    QTest::newRow("split path joined") << QStringList{"quillmere", "/a", "b/x.css"} << "/a b/x.css";
    QTest::newRow("quotes stay for start") << QStringList{"quillmere", "\"/a b.css\""}
                                           << "\"/a b.css\"";
}

void TestModMain::commandLineText()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, text);
    QCOMPARE(CommandLineText(arguments), text);
}

void TestModMain::programFolder_data()
{
    QTest::addColumn<QString>("beside"); // what the executable's folder holds
    QTest::addColumn<QString>("folder"); // relative to the scratch root

    QTest::newRow("build tree") << "Model/" << "bin/";
    QTest::newRow("installed") << "" << "share/quillmere/";
    QTest::newRow("a file named Model") << "Model" << "share/quillmere/";
}

void TestModMain::programFolder()
{
    QFETCH(QString, beside);
    QFETCH(QString, folder);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QDir bin(root.path());
    QVERIFY(bin.mkpath(QStringLiteral("bin")) && bin.cd(QStringLiteral("bin")));
    if (beside.endsWith(QLatin1Char('/')))
        QVERIFY(bin.mkdir(beside));
    else if (!beside.isEmpty())
        QVERIFY(QFile(bin.filePath(beside)).open(QIODevice::WriteOnly));

    QCOMPARE(ProgramFolder(bin.path()), root.path() + QLatin1Char('/') + folder);
}

void TestModMain::commandLineReply_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("replyStart");

    const QString version = QStringLiteral("澜石层叠样式表编辑器 3.6.0\n");
    QTest::newRow("version") << QStringList{"quillmere", "--version"} << version;
    QTest::newRow("help") << QStringList{"quillmere", "--help"}
                          << version + QStringLiteral("用法：quillmere [样式表文件]\n");
    QTest::newRow("a path") << QStringList{"quillmere", "x.css"} << QString();
    QTest::newRow("not alone") << QStringList{"quillmere", "--version", "x.css"} << QString();
}

void TestModMain::commandLineReply()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, replyStart);
    const QString reply = CommandLineReply(arguments);
    QVERIFY2(reply.startsWith(replyStart), qPrintable(reply));
    QCOMPARE(reply.isEmpty(), replyStart.isEmpty());
}

void TestModMain::versionNeedsNoDisplay()
{
    // A console without a display: had the program opened its window system
    // first, it would abort here.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess editor;
    editor.setProcessEnvironment(environment);
    editor.start(QStringLiteral(QUILLMERE_EDITOR), {QStringLiteral("--version")});
    QVERIFY(editor.waitForFinished());
    QCOMPARE(editor.exitStatus(), QProcess::NormalExit);
    QCOMPARE(editor.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(editor.readAllStandardOutput()),
             QStringLiteral("澜石层叠样式表编辑器 3.6.0\n"));
}

void TestModMain::engineSandboxForRoot_data()
{
    QTest::addColumn<bool>("root");
    QTest::addColumn<QByteArray>("before"); // null: the variable is not set
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("said");      // by two calls, as by two start-ups in one process

    const QString note = QStringLiteral("quillmere: 以 root 身份运行，预览组件的沙箱已关闭。\n");
    QTest::newRow("root") << true << QByteArray() << QByteArray("1") << note;
    QTest::newRow("root, already off") << true << QByteArray("1") << QByteArray("1") << QString();
    QTest::newRow("user") << false << QByteArray() << QByteArray() << QString();
}

void TestModMain::engineSandboxForRoot()
{
    QFETCH(bool, root);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QString, said);
    const char *variable = "QTWEBENGINE_DISABLE_SANDBOX";
    if (before.isNull())
        qunsetenv(variable);
    else
        qputenv(variable, before);

    QString notes = SwitchEngineSandboxForRoot(root);
    notes += SwitchEngineSandboxForRoot(root);

    QCOMPARE(notes, said);
    QCOMPARE(qEnvironmentVariableIsSet(variable), !after.isNull());
    QCOMPARE(qgetenv(variable), after);
}

QTEST_GUILESS_MAIN(TestModMain)
#include "tst_modMain.moc"
