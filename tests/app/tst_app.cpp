#include "tchat.h"
#include "tdictn.h"

#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

class TestApp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mainWindowOwnsAnOpenDictionary();
    void missingWordListIsReportedWithoutBlocking();
};

void TestApp::mainWindowOwnsAnOpenDictionary()
{
    QTemporaryDir dir;
    Tchat chat(dir.path());
    QCOMPARE(chat.windowTitle(), QStringLiteral("Wendlewick"));
    QVERIFY(chat.spell && chat.spell->isOpen());
    QVERIFY(chat.spell->isword(QStringLiteral("cat")));
    QVERIFY(!chat.findChild<QMessageBox *>(QStringLiteral("dictionaryMissingBox")));
}

void TestApp::missingWordListIsReportedWithoutBlocking()
{
    QTemporaryDir dir;
    Tchat chat(dir.path(), QStringLiteral(":/missing"));
    chat.show();
    auto *box = chat.findChild<QMessageBox *>(QStringLiteral("dictionaryMissingBox"));
    QVERIFY(box);
    QCOMPARE(box->text(), QStringLiteral("English.dic dictionary not found!"));
    QVERIFY(box->isModal());
    QVERIFY(!chat.spell->isword(QStringLiteral("cat")));
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
