// A command that changes only the song's content replaces it in the page
// shown, and what the user sees is what a fresh load of the written page
// would show.
#include <utility>

#include <QFileInfo>
#include <QFile>
#include <QTest>
#include <QWindow>

#include "app/MainFrame.h"
#include "dialogs/ControlIds.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/EventWait.h"
#include "tests/support/PageScript.h"

namespace {

// What a user sees of the page, and what its scripts see of it.
QString Snapshot(QWebEnginePage* page) {
    return Run(page, QStringLiteral("JSON.stringify([document.documentElement.outerHTML, document.body.innerText,"
                                    " document.documentElement.scrollHeight, document.compatMode,"
                                    " document.characterSet])"))
        .toString();
}

bool LoadAfresh(CQuavernView* view, const QString& path) {
    bool loaded = false;
    const QMetaObject::Connection connection =
        QObject::connect(view, &QWebEngineView::loadFinished, [&loaded] { loaded = true; });
    view->load(QUrl::fromLocalFile(path));
    const bool done = WaitUntil([&loaded] { return loaded; }, 20000);
    QObject::disconnect(connection);
    return done;
}

} // namespace

class TestPageUpdates final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void swappedPageEqualsAFreshLoad_data();
    void swappedPageEqualsAFreshLoad();
    void songsOwnScriptNeverRuns();
};

void TestPageUpdates::swappedPageEqualsAFreshLoad_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("highlighted");
    const QString source = qEnvironmentVariable("QUAVERN_SOURCE_DIR");
    const QString corpus = source + QStringLiteral("/../shared/corpus/");
    QStringList songs = {source + QStringLiteral("/data/example/mill-road.txt")};
    // Latin-1 and UTF-8 text, CRLF and LF, and HTML pages by other people.
    for (const char* name : {"Danny boy.txt", "Ej_padá_padá_rosenka.txt", "Whiskey In The Jar.txt",
                             "amazing-grace.html", "be-thou-my-vision.lyrics.html"}) {
        if (QFile::exists(corpus + QString::fromUtf8(name)))
            songs.append(corpus + QString::fromUtf8(name));
    }
    QList<std::pair<QString, QByteArray>> files;
    for (const QString& song : songs)
        files.append({QFileInfo(song).fileName(), ReadFileBytes(song)});
    files.append({QStringLiteral("standards.html"),
                  "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\"><title>Caf\xc3\xa9</title>"
                  "<style>pre { font-size: 20px }</style></head><body><h1>Caf\xc3\xa9</h1><pre>\n"
                  "Am   G/B   C\r\nsing \xc3\xa9t\xc3\xa9</pre><p><a href=\"other.htm\">D</a> (Em)</p></body></html>"});
    for (const auto& [name, bytes] : files) {
        for (const int highlighted : {0, 1})
            QTest::addRow("%s %s", qPrintable(name), highlighted ? "highlighted" : "plain")
                << name << bytes << highlighted;
    }
}

void TestPageUpdates::swappedPageEqualsAFreshLoad() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, highlighted);
    CProgramFixture program;
    const QString pictures = qEnvironmentVariable("QUAVERN_OUTPUT_DIR") + QStringLiteral("/Pics");
    QVERIFY(QFile::link(pictures, program.PathOf(QStringLiteral("Pics"))));
    QVERIFY(program.Start(highlighted));
    QVERIFY(program.OpenSong(program.WriteFile(name, bytes)));
    QWebEnginePage* page = program.View()->page();
    // A mark the page keeps only when it is not loaded again.
    Run(page, QStringLiteral("window.qvKept = true"));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    // A page with scripts of its own is loaded again.
    QCOMPARE(Run(page, QStringLiteral("window.qvKept === true")).toBool(), !bytes.contains("<script"));
    const QString swapped = Snapshot(page);
    if (highlighted && Run(page, QStringLiteral("!!document.querySelector('span[onmouseover]')")).toBool()) {
        // Pointing at the first chord shows its fingering.
        const QJsonObject chord = RunJson(
            page, QStringLiteral("var s = document.querySelector('span[onmouseover]'); s.scrollIntoView();"
                                 "var r = s.getBoundingClientRect(); JSON.stringify({x: r.left + 2, y: r.top + 2,"
                                 " id: s.getAttribute('onmouseover').split(\"'\")[1]})"));
        const QPoint at = program.View()->mapTo(program.Frame(),
                                                QPoint(qRound(chord[u"x"].toDouble()), qRound(chord[u"y"].toDouble())));
        QTest::mouseMove(program.Frame()->windowHandle(), at);
        const QString visible =
            QStringLiteral("document.getElementById('%1').style.visibility").arg(chord[u"id"].toString());
        QVERIFY(WaitUntil([&] { return Run(page, visible).toString() == QStringLiteral("visible"); }, 5000));
    }
    QVERIFY(LoadAfresh(program.View(), program.Document()->DisplayPath()));
    QCOMPARE(Snapshot(page), swapped);
}

void TestPageUpdates::songsOwnScriptNeverRuns() {
    // The song's own script would write into the page when it loads: it
    // runs neither when the song is opened nor after "+".
    CProgramFixture program;
    QVERIFY(program.Start());
    QVERIFY(program.OpenSong(program.WriteFile(
        QStringLiteral("shaped.htm"),
        "<p>Am G</p><p id=\"made\"></p><script>document.getElementById('made').textContent = 'made'</script>")));
    QWebEnginePage* page = program.View()->page();
    Run(page, QStringLiteral("window.qvKept = true"));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QVERIFY(!Run(page, QStringLiteral("window.qvKept === true")).toBool());
    QVERIFY(WaitForShownText(program.View(),
                             [&](const QString& shown) { return shown.startsWith(QStringLiteral("A#m G#")); }));
    QCOMPARE(Run(page, QStringLiteral("document.getElementById('made').textContent")).toString(), QString());
}

QTEST_MAIN(TestPageUpdates)
#include "TestPageUpdates.moc"
