// A ChordPro song in the program: shown with each chord over its syllable,
// moved with its key by "+", saved with only those changed.
#include <memory>

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include "app/MainFrame.h"
#include "dialogs/ControlIds.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/EventWait.h"
#include "tests/support/PageScript.h"

namespace {

// CRLF line ends and a Latin-1 letter, which Save must keep.
const QByteArray kSong = "{title: A Night}\r\n{key: Am}\r\n# A C\r\nA [Am]man [G/B]walks by the [C]riverside[D7]\r\n"
                         "{soc}\r\n[Em]Lo[Am]ng caf\xe9 [F]A\r\n{eoc}\r\n";

// For each chord on the page, the lyrics under the left edge of its name,
// up to the next blank: "Am:man G/B:walks ...". Found from where the
// browser drew them, character by character.
const char* const kChordsOverLyrics = R"((function () {
    var found = [];
    document.querySelectorAll('.cp-line').forEach(function (line) {
        var glyphs = [];
        line.querySelectorAll('.cp-lyrics').forEach(function (lyrics) {
            var node = lyrics.firstChild;
            for (var i = 0; node && i < node.length; ++i) {
                var range = document.createRange();
                range.setStart(node, i);
                range.setEnd(node, i + 1);
                glyphs.push({ c: node.data[i], box: range.getBoundingClientRect() });
            }
        });
        line.querySelectorAll('.cp-chord').forEach(function (chord) {
            if (!chord.textContent) return;
            var range = document.createRange();
            range.selectNodeContents(chord);
            var box = range.getBoundingClientRect();
            var under = '';
            var k = glyphs.findIndex(function (g) {
                return g.box.left <= box.left + 0.5 && box.left + 0.5 < g.box.right && g.box.top >= box.bottom - 1;
            });
            for (; k >= 0 && k < glyphs.length && glyphs[k].c !== ' '; ++k) under += glyphs[k].c;
            found.push(chord.textContent + ':' + under);
        });
    });
    return found.join(' ');
})())";

} // namespace

class TestChordPro final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void showsEachChordOverItsSyllable();
    void plusMovesChordsAndKeyAndSaveChangesOnlyThem();
    void exportWritesTheSongAsShownInTheOtherForm();

private:
    std::unique_ptr<CProgramFixture> m_program;
};

void TestChordPro::initTestCase() {
    m_program = std::make_unique<CProgramFixture>();
    QVERIFY(m_program->Start());
}

void TestChordPro::cleanupTestCase() {
    m_program.reset();
}

void TestChordPro::showsEachChordOverItsSyllable() {
    CProgramFixture& program = *m_program;
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("night.cho"), kSong)));
    CQuavernView* view = program.View();
    QVERIFY(WaitForShownText(view, [](const QString& text) { return text.contains(QStringLiteral("riverside")); }));
    QCOMPARE(Run(view->page(), QString::fromLatin1(kChordsOverLyrics)).toString(),
             QStringLiteral("Am:man G/B:walks C:riverside D7: Em:Long Am:ng F:A"));
    const QString shown = ShownText(view);
    QVERIFY2(shown.contains(QStringLiteral("A Night")) && shown.contains(QStringLiteral("Key: Am")), qPrintable(shown));
    QVERIFY2(!shown.contains(QStringLiteral("{")) && !shown.contains(QStringLiteral("# A C")), qPrintable(shown));
}

void TestChordPro::plusMovesChordsAndKeyAndSaveChangesOnlyThem() {
    CProgramFixture& program = *m_program;
    const QString path = program.WriteFile(QStringLiteral("night.cho"), kSong);
    QVERIFY(program.OpenSong(path));
    // "+" twice, as the user presses it on the window.
    QTest::keyClick(program.Frame()->windowHandle(), Qt::Key_Plus);
    QTest::keyClick(program.Frame()->windowHandle(), Qt::Key_Plus);
    CQuavernView* view = program.View();
    QVERIFY(WaitUntil([&] { return view->IsReady() && program.Document()->Shift() == 2; }, 20000));
    QVERIFY(WaitForShownText(view, [](const QString& text) { return text.contains(QStringLiteral("Key: Bm")); }));
    QCOMPARE(Run(view->page(), QString::fromLatin1(kChordsOverLyrics)).toString(),
             QStringLiteral("Bm:man A/C#:walks D:riverside E7: F#m:Long Bm:ng G:A"));
    QTest::keyClick(program.Frame()->windowHandle(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(ReadFileBytes(path), QByteArray("{title: A Night}\r\n{key: Bm}\r\n# A C\r\nA [Bm]man [A/C#]walks by the "
                                             "[D]riverside[E7]\r\n{soc}\r\n[F#m]Lo[Bm]ng caf\xe9 [G]A\r\n{eoc}\r\n"));
    QVERIFY(!program.Document()->IsModified());
    QVERIFY(program.sink.messages.empty());
}

void TestChordPro::exportWritesTheSongAsShownInTheOtherForm() {
    CProgramFixture& program = *m_program;
    const QString chordPro = program.WriteFile(QStringLiteral("export.cho"), kSong);
    QVERIFY(program.OpenSong(chordPro));
    program.dialogs.saveFiles.enqueue(program.PathOf(QStringLiteral("sheet")));
    QVERIFY(program.Run(ID_EXPORT_TEXT));
    QCOMPARE(ReadFileBytes(program.PathOf(QStringLiteral("sheet.txt"))),
             QByteArray("A Night\r\nKey: Am\r\n  Am  G/B          C        D7\r\nA man walks by the riverside\r\n"
                        "Chorus:\r\nEm Am     F\r\nLong caf\xe9 A\r\n"));
    // A text song, moved up a half-tone, as ChordPro; the song itself stays.
    const QString text = program.WriteFile(QStringLiteral("star.txt"), "Song\nC      G\nTwinkle little star\n");
    QVERIFY(program.OpenSong(text));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    program.dialogs.saveFiles.enqueue(program.PathOf(QStringLiteral("star.cho")));
    QVERIFY(program.Run(ID_EXPORT_CHORDPRO));
    QCOMPARE(ReadFileBytes(program.PathOf(QStringLiteral("star.cho"))),
             QByteArray("{title: Song}\n[C#]Twinkle [G#]little star\n"));
    QCOMPARE(program.Document()->FilePath(), text);
    QVERIFY(program.Document()->IsModified());
    QVERIFY(program.sink.messages.empty());
}

QTEST_MAIN(TestChordPro)
#include "TestChordPro.moc"
