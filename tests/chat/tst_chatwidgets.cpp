#include <QTest>
class TestChatWidgets : public QObject
{
    Q_OBJECT
};
QTEST_MAIN(TestChatWidgets)
#include "tst_chatwidgets.moc"
