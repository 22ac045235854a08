// The page keeps up with the user: a chord's picture shows whole wherever
// the chord is, "+" pressed faster than pages are made still counts, and a
// display that cannot be written leaves the song where the page shows it.
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSlider>
#include <QTest>
#include <QWindow>

#include "app/MainFrame.h"
#include "app/PercentProgressCtrl.h"
#include "dialogs/ControlIds.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/EventWait.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/PageScript.h"

class TestPageHabits final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pictureShowsWholeInsideTheView_data();
    void pictureShowsWholeInsideTheView();
    void pressesDuringALoadAllCount();
    void unwrittenDisplayLeavesTheSongAsShown_data();
    void unwrittenDisplayLeavesTheSongAsShown();

private:
    static QSlider* Slider(const CProgramFixture& program) {
        return program.Frame()->findChild<QSlider*>(ObjectNameOf(IDC_SHIFT_SLIDER));
    }
    static int Hardness(const CProgramFixture& program) {
        return program.Frame()->findChild<CPercentProgressCtrl*>(ObjectNameOf(IDC_HARDNESS_GAUGE))->GetPos();
    }
};

void TestPageHabits::pictureShowsWholeInsideTheView_data() {
    QTest::addColumn<QString>("chord");
    // The last line of a long, wide song, scrolled to the view's bottom edge.
    QTest::newRow("bottom left") << QStringLiteral("QV3Am");
    QTest::newRow("bottom right") << QStringLiteral("QV3G");
}

void TestPageHabits::pictureShowsWholeInsideTheView() {
    QFETCH(QString, chord);
    CProgramFixture program;
    const QString pictures = qEnvironmentVariable("QUAVERN_OUTPUT_DIR") + QStringLiteral("/Pics");
    QVERIFY(QFile::link(pictures, program.PathOf(QStringLiteral("Pics"))));
    QVERIFY(program.Start(1));
    QByteArray song;
    for (int i = 0; i < 80; ++i)
        song += "la la la\n";
    song += "Am" + QByteArray(250, ' ') + "G\n";
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("song.txt"), song)));
    QWebEnginePage* page = program.View()->page();
    QVERIFY(WaitUntil(
        [&] {
            return Run(page, QStringLiteral("Array.prototype.every.call(document.images, function (i) {"
                                            " return i.complete && i.naturalWidth > 0; })"))
                .toBool();
        },
        20000));

    const QJsonObject at =
        RunJson(page, QStringLiteral("var s = document.querySelector(\"span[onmouseover*='%1']\");"
                                     "s.scrollIntoView(false); var r = s.getBoundingClientRect();"
                                     "JSON.stringify({x: r.left + r.width / 2, y: r.top + r.height / 2})")
                          .arg(chord));
    QTest::mouseMove(
        program.Frame()->windowHandle(),
        program.View()->mapTo(program.Frame(), QPoint(qRound(at[u"x"].toDouble()), qRound(at[u"y"].toDouble()))));
    const QString placed =
        QStringLiteral("var b = document.getElementById('%1'), r = b.getBoundingClientRect(),"
                       " v = document.compatMode === 'BackCompat' ? document.body : document.documentElement;"
                       "JSON.stringify({shown: b.style.visibility === 'visible', left: r.left, top: r.top,"
                       " right: v.clientWidth - r.right, bottom: v.clientHeight - r.bottom})")
            .arg(chord);
    QJsonObject bubble;
    QVERIFY(WaitUntil([&] { return (bubble = RunJson(page, placed))[u"shown"].toBool(); }, 5000));
    for (const char16_t* edge : {u"left", u"top", u"right", u"bottom"})
        QVERIFY2(bubble[edge].toDouble() >= 0, QJsonDocument(bubble).toJson(QJsonDocument::Compact).constData());
}

void TestPageHabits::pressesDuringALoadAllCount() {
    CProgramFixture program;
    QVERIFY(program.Start());
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("song.txt"), "Am G\n")));
    // A hundred half-tones up, faster than pages are made: four up, once wrapped.
    for (int i = 0; i < 100; ++i)
        QTest::keyClick(program.Frame()->windowHandle(), Qt::Key_Plus);
    QVERIFY(WaitUntil([&] { return program.View()->IsReady() && program.Document()->Shift() == 4; }, 20000));
    QVERIFY(WaitForShownText(program.View(),
                             [](const QString& shown) { return shown.startsWith(QStringLiteral("C#m B\n")); }));
    QCOMPARE(Slider(program)->value(), 4);
}

void TestPageHabits::unwrittenDisplayLeavesTheSongAsShown_data() {
    QTest::addColumn<bool>("slider");
    QTest::newRow("+ key") << false;
    QTest::newRow("slider") << true;
}

void TestPageHabits::unwrittenDisplayLeavesTheSongAsShown() {
    QFETCH(bool, slider);
    CProgramFixture program;
    QVERIFY(program.Start());
    QByteArray song("Am G\n");
    while (song.size() < 64 * 1024)
        song += "la la la la la la la la la la la la la la la la la la la la\n";
    const QString path = program.WriteFile(QStringLiteral("song.txt"), song);
    QVERIFY(program.OpenSong(path));
    const QByteArray page = ReadFileBytes(program.Document()->DisplayPath());
    const int hardness = Hardness(program);
    QWindow* window = program.Frame()->windowHandle();
    if (slider)
        Slider(program)->setFocus();
    {
        // Any write past 8 KiB fails as on a full disk.
        CFileSizeLimit full(8 * 1024);
        QVERIFY(full.Ok());
        QTest::keyClick(window, slider ? Qt::Key_Right : Qt::Key_Plus);
    }
    QCOMPARE(program.sink.messages.size(), std::size_t(1));
    QCOMPARE(program.Document()->Shift(), 0);
    QCOMPARE(Slider(program)->value(), 0);
    QCOMPARE(Hardness(program), hardness);
    QVERIFY(!program.Document()->IsModified());
    QCOMPARE(ReadFileBytes(program.Document()->DisplayPath()), page);
    QVERIFY(WaitForShownText(program.View(),
                             [](const QString& shown) { return shown.startsWith(QStringLiteral("Am G\n")); }));
    // With room again, Save writes the song as the page shows it.
    QVERIFY(program.Run(ID_FILE_SAVE));
    QCOMPARE(ReadFileBytes(path), song);
}

QTEST_MAIN(TestPageHabits)
#include "TestPageHabits.moc"
