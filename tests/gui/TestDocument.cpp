#include <QTest>

#include "app/MainFrame.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "tests/gui/GuiTestSupport.h"

class TestDocument final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startsWithStartPage();
};

void TestDocument::startsWithStartPage() {
    CProgramFixture program;
    QVERIFY(program.Start());
    QCOMPARE(program.View()->m_nShift, 0);
}

QTEST_MAIN(TestDocument)
#include "TestDocument.moc"
