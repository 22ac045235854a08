// A song's page is untrusted: its scripts may not read the user's files nor
// send anything anywhere, and its links open in the user's own programs.
#include <memory>
#include <utility>

#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <QWebEngineSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include "app/MainFrame.h"
#include "dialogs/ControlIds.h"
#include "document/PageGuard.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/EventWait.h"
#include "tests/support/PageScript.h"

namespace {

/// A server on the loopback that counts whoever connects to it, by TCP or
/// by UDP on the same port number.
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
        m_udp.bind(QHostAddress::LocalHost, m_server.serverPort());
        QObject::connect(&m_udp, &QUdpSocket::readyRead, [this] {
            while (m_udp.hasPendingDatagrams()) {
                ++datagrams;
                received += m_udp.receiveDatagram().data();
            }
        });
    }
    quint16 Port() const { return m_server.serverPort(); }
    QString Url(const char* path) const {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(Port()).arg(QLatin1String(path));
    }
    bool HeardNothing() const { return connections == 0 && datagrams == 0 && received.isEmpty(); }
    int connections = 0;
    int datagrams = 0;
    QByteArray received;

private:
    QTcpServer m_server;
    QUdpSocket m_udp;
};

/// Stands in for the user's browser and mail program while it lives.
class CDesktopRecorder final : public QObject {
    Q_OBJECT

public:
    CDesktopRecorder() {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "Open");
    }
    ~CDesktopRecorder() override {
        for (const char* scheme : {"http", "https", "mailto"})
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

// What each script of a hostile song would send out, to a listener on the
// loopback (@PORT), if it ran. The WebRTC and WebTransport ways pass no
// request guard.
const char* const kTurnScript =
    "var pc = new RTCPeerConnection({iceServers: [{urls: ['turn:127.0.0.1:@PORT?transport=udp',"
    " 'turn:127.0.0.1:@PORT?transport=tcp'], username: 'secret-turn', credential: 'x'}]});"
    "pc.createDataChannel('d'); pc.onicegatheringstatechange = function () {"
    " if (pc.iceGatheringState === 'complete') done('turn'); }; setTimeout(function () { done('turn'); }, 3000);"
    "pc.createOffer().then(function (o) { return pc.setLocalDescription(o); });";
const char* const kIceScript =
    "var a = new RTCPeerConnection(), b = new RTCPeerConnection(); a.createDataChannel('d');"
    "a.createOffer().then(function (o) {"
    " var sdp = o.sdp.replace(/a=ice-ufrag:.*/, 'a=ice-ufrag:secretufrag');"
    " return b.setRemoteDescription({type: 'offer', sdp: sdp}); })"
    ".then(function () { return b.createAnswer(); }).then(function (o) { return b.setLocalDescription(o); })"
    ".then(function () { return b.addIceCandidate({sdpMid: '0', candidate:"
    " 'candidate:1 1 udp 2122260223 127.0.0.1 @PORT typ host'}); })"
    ".then(function () { setTimeout(function () { done('ice'); }, 1500); }, function (e) { done('ice ' + e); });";
const char* const kWebTransportScript =
    "try { var t = new WebTransport('https://127.0.0.1:@PORT/secret');"
    " t.ready.then(function () { done('open'); }, function () { done('refused'); }); }"
    " catch (e) { done('no WebTransport'); }";

class TestPageSafety final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void guardLetsThroughOnlyTheReadableFolders();
    void hostileSongRunsNothingAndReachesNothing();
    void engineSendsNothingEvenIfAScriptRan_data();
    void engineSendsNothingEvenIfAScriptRan();
    void linksOpenInTheUsersOwnPrograms();
    void namesOutsideTheTableShowTheirPictures();
};

void TestPageSafety::guardLetsThroughOnlyTheReadableFolders() {
    QTemporaryDir root;
    const QString songs = root.filePath(QStringLiteral("songs"));
    QVERIFY(QDir().mkpath(songs + QStringLiteral("/pictures")));
    // The decoy: a file named as a percent-encoded byte that is no UTF-8
    // would be read back as U+FFFD, beside the link that byte names.
    for (const QString& name : {QStringLiteral("songs/a.htm"), QStringLiteral("songs/pictures/p.png"),
                                QStringLiteral("other.txt"), QStringLiteral("songs/\uFFFD")}) {
        QFile file(root.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::link(root.path(), songs + QStringLiteral("/way-out")));
    QVERIFY(::symlink(root.path().toUtf8().constData(), QByteArray(songs.toUtf8() + "/\xff").constData()) == 0);
    CPageGuard guard;
    guard.SetReadableFolders({songs});
    const auto file = [&](const QString& path) { return QUrl::fromLocalFile(root.filePath(path)); };
    const QByteArray encodedSongs = QUrl::fromLocalFile(songs).toEncoded();
    const QList<std::pair<QUrl, bool>> cases = {
        {file(QStringLiteral("songs/a.htm")), true},
        {file(QStringLiteral("songs/pictures/p.png")), true},
        {QUrl(QStringLiteral("data:text/plain,x")), true},
        {file(QStringLiteral("songs/\uFFFD")), true},
        {file(QStringLiteral("other.txt")), false},
        {file(QStringLiteral("songs/../other.txt")), false},
        {file(QStringLiteral("songs/way-out/other.txt")), false},
        {QUrl::fromEncoded(encodedSongs + "/%FF/other.txt"), false},
        {QUrl::fromEncoded(encodedSongs + "/%FF"), false},
        {QUrl::fromEncoded(encodedSongs + "/a.htm%00"), false},
        {file(QStringLiteral("songs/missing.htm")), false},
        {QUrl(QStringLiteral("file://host") + root.filePath(QStringLiteral("songs/a.htm"))), false},
        {QUrl(QStringLiteral("http://127.0.0.1/")), false},
        {QUrl(QStringLiteral("ws://127.0.0.1/")), false},
    };
    for (const auto& [url, allowed] : cases)
        QVERIFY2(guard.Allows(url) == allowed, url.toEncoded().constData());
    QCOMPARE(::unlink(QByteArray(songs.toUtf8() + "/\xff").constData()), 0);
}

void TestPageSafety::hostileSongRunsNothingAndReachesNothing() {
    CProgramFixture program;
    if (!LinkPictures(program.Folder()))
        QSKIP("the chord pictures are not built");
    QTemporaryDir elsewhere;
    const QString secret = elsewhere.filePath(QStringLiteral("secret.txt"));
    QFile file(secret);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("kept-from-the-page") > 0);
    file.close();
    QVERIFY(
        QFile::copy(program.PathOf(QStringLiteral("Pics/Am.gif")), elsewhere.filePath(QStringLiteral("secret.gif"))));
    CListeningServer server;
    CDesktopRecorder desktop;
    QGuiApplication::clipboard()->setText(QStringLiteral("the user's own"));
    // Every way a song's code could run, each leaving a mark in #out, and
    // every way out it has: files outside the song's folder (also through a
    // link named by a byte that is no UTF-8), requests of every kind, WebRTC,
    // WebTransport, navigation on a click, the clipboard, dialogs, a loop
    // that never ends.
    QString song = QStringLiteral(
        "<html><head><title>Hostile</title>"
        "<link rel=\"stylesheet\" href=\"@/style.css\">"
        "<meta http-equiv=\"refresh\" content=\"0;url=@/refresh\"></head>"
        "<body onload=\"mark('onload')\">"
        "<pre>Am   G   C\nla la la</pre><pre id=\"out\"></pre>"
        "<img src=\"@/image.png\"><iframe src=\"@/frame\"></iframe><iframe src=\"SECRET\"></iframe>"
        "<img id=\"out-of-folder\" src=\"%FF/secret.gif\">"
        "<iframe srcdoc=\"&lt;script&gt;parent.mark('srcdoc')&lt;/script&gt;\"></iframe>"
        "<svg><script>mark('svg')</script></svg>"
        "<img src=\"missing.png\" onerror=\"mark('onerror')\">"
        "<form id=\"form\" action=\"@/form\" method=\"post\"><input name=\"a\" value=\"b\"></form>"
        "<script>"
        "function mark(s) { document.getElementById('out').textContent += s + '\\n'; }"
        "function done(s) { mark(s); }"
        "mark('inline');"
        "try { var x = new XMLHttpRequest(); x.open('GET', 'SECRET', false); x.send(); mark(x.responseText); }"
        " catch (e) {}"
        "try { new WebSocket('ws://@HOST/socket'); } catch (e) {}"
        "navigator.sendBeacon('@/beacon', 'data');"
        "TURN ICE WEBTRANSPORT"
        "document.addEventListener('mousedown', function () {"
        " location.href = '@/' + '\\u0141\\u0142'; document.execCommand('copy'); });"
        "document.addEventListener('copy', function (e) {"
        " e.clipboardData.setData('text/plain', 'from the page'); e.preventDefault(); });"
        "setTimeout(function () { for (var i = 0; i < 50; ++i) alert('x'); prompt('name?'); for (;;) {} }, 300);"
        "</script><p id=\"js\"><a href=\"javascript:mark('javascript-url')\">js</a></p></body></html>");
    song.replace(QStringLiteral("TURN"), QLatin1String(kTurnScript));
    song.replace(QStringLiteral("ICE"), QLatin1String(kIceScript));
    song.replace(QStringLiteral("WEBTRANSPORT"), QLatin1String(kWebTransportScript));
    song.replace(QStringLiteral("@PORT"), QString::number(server.Port()));
    song.replace(QStringLiteral("@HOST"), server.Url("").mid(7).chopped(1));
    song.replace(QStringLiteral("@"), server.Url("").chopped(1));
    song.replace(QStringLiteral("SECRET"), QUrl::fromLocalFile(secret).toString());
    QVERIFY(program.Start(1));
    QVERIFY(QDir(program.Folder()).mkdir(QStringLiteral("songs")));
    QVERIFY(::symlink(elsewhere.path().toUtf8().constData(),
                      QByteArray(QFile::encodeName(program.Folder()) + "/songs/\xff").constData()) == 0);
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("songs/hostile.htm"), song.toUtf8())));
    QVERIFY(ShowsDisplayPage(program));
    QWebEnginePage* page = program.View()->page();

    // The chord pictures load, and pointing at a chord through the window
    // shows its fingering: the program's own work goes on.
    const QString loadedPictures = QStringLiteral("Array.prototype.filter.call(document.images, function (i) { return "
                                                  "i.complete && i.naturalWidth > 0; }).length");
    QVERIFY(WaitUntil([&] { return Run(page, loadedPictures).toInt() == 85; }, 20000));
    QWindow* window = program.Frame()->windowHandle();
    QTest::mouseMove(window, CentreOf(program, QStringLiteral("span[onmouseover]")));
    QVERIFY(WaitUntil(
        [&] {
            return Run(page, QStringLiteral("document.getElementById('QV3Am').style.visibility")).toString() ==
                   QStringLiteral("visible");
        },
        5000));
    // A click in the page and one on the javascript: link: no navigation,
    // no copy.
    QTest::mouseClick(window, Qt::LeftButton, {}, CentreOf(program, QStringLiteral("#out")));
    QTest::mouseClick(window, Qt::LeftButton, {}, CentreOf(program, QStringLiteral("#js a")));
    // "+" through the window moves the page: no loop holds it.
    QTest::keyClick(window, Qt::Key_Plus);
    QVERIFY(
        WaitForShownText(program.View(), [&](const QString& shown) { return shown.contains(QStringLiteral("A#m")); }));

    QCOMPARE(Run(page, QStringLiteral("document.getElementById('out').textContent")).toString(), QString());
    QCOMPARE(Run(page, QStringLiteral("document.getElementById('out-of-folder').complete")).toBool(), true);
    QCOMPARE(Run(page, QStringLiteral("document.getElementById('out-of-folder').naturalWidth")).toInt(), 0);
    QVERIFY(ShowsDisplayPage(program));
    QVERIFY(server.HeardNothing());
    QVERIFY(desktop.opened.isEmpty());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("the user's own"));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    // (A name that is no UTF-8 is one the temporary folder cannot remove.)
    QCOMPARE(::unlink(QByteArray(QFile::encodeName(program.Folder()) + "/songs/\xff").constData()), 0);
}

void TestPageSafety::engineSendsNothingEvenIfAScriptRan_data() {
    QTest::addColumn<QString>("script");
    QTest::newRow("WebRTC TURN, UDP and TCP") << QString::fromLatin1(kTurnScript);
    QTest::newRow("WebRTC ICE user name") << QString::fromLatin1(kIceScript);
    QTest::newRow("WebTransport") << QString::fromLatin1(kWebTransportScript);
}

void TestPageSafety::engineSendsNothingEvenIfAScriptRan() {
    QFETCH(QString, script);
    // A page of the program's kind whose scripts were let run: the engine's
    // own switches still keep these ways off the network.
    CProgramFixture program;
    QVERIFY(program.Start());
    CListeningServer server;
    QWebEnginePage* page = program.View()->page();
    page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("channel.htm"), "<p>Am</p><pre id=\"out\"></pre>")));
    script.replace(QStringLiteral("@PORT"), QString::number(server.Port()));
    Run(page, QStringLiteral("window.done = function (s) { document.title = 'done: ' + s; };") + script);
    QVERIFY(WaitUntil([&] { return page->title().startsWith(QStringLiteral("done")); }, 20000));
    // Checks and allocations go out at once; a moment more for any late one.
    QTest::qWait(500);
    QVERIFY2(server.HeardNothing(),
             qPrintable(QStringLiteral("%1 connections, %2 datagrams").arg(server.connections).arg(server.datagrams)));
    qInfo("%s", qPrintable(page->title()));
}

void TestPageSafety::linksOpenInTheUsersOwnPrograms() {
    CProgramFixture program;
    CListeningServer server;
    CDesktopRecorder desktop;
    const QString link = server.Url("song-notes");
    // Addresses written outside Latin-1 go to the desktop as written,
    // percent-encoded; a handler that would change an address runs not.
    const QString far = QStringLiteral("https://127.0.0.1:%1/\u0141\u00e9?q=\u4e00").arg(server.Port());
    QVERIFY(program.Start());
    QVERIFY(program.OpenSong(program.WriteFile(
        QStringLiteral("links.htm"),
        QStringLiteral("<p>Am G</p><p><a id=\"web\" href=\"%1\">notes</a></p><p><a id=\"tab\" target=\"_blank\" "
                       "href=\"%1\">notes</a></p><p><a id=\"mail\" href=\"mailto:band@example.org\">mail</a></p>"
                       "<p><a id=\"file\" href=\"/etc/hostname\">file</a></p><p><a id=\"made\" href=\"%1\" "
                       "onmousedown=\"this.href += '?read=' + document.title\">made up</a></p>"
                       "<p><a id=\"far\" href=\"%2\">far</a></p><p><a id=\"verse\" href=\"#v2\">v2</a></p>"
                       "<p style=\"margin-top: 3000px\" id=\"v2\">Verse 2</p>")
            .arg(link, far)
            .toUtf8())));
    QWindow* window = program.Frame()->windowHandle();
    const QList<QUrl> expected = {QUrl(link), QUrl(link), QUrl(QStringLiteral("mailto:band@example.org")), QUrl(link),
                                  QUrl::fromEncoded(QUrl(far).toEncoded())};
    for (const char* id : {"#web", "#tab", "#mail", "#file", "#made", "#far"})
        QTest::mouseClick(window, Qt::LeftButton, {}, CentreOf(program, QLatin1String(id)));
    QVERIFY(WaitUntil([&] { return desktop.opened.size() >= expected.size(); }, 5000));
    QTest::qWait(300);
    QCOMPARE(desktop.opened, expected);
    QCOMPARE(desktop.opened.last().toEncoded(), QUrl(far).toEncoded());
    QVERIFY(ShowsDisplayPage(program));
    // A link within the song still moves through it.
    QTest::mouseClick(window, Qt::LeftButton, {}, CentreOf(program, QStringLiteral("#verse")));
    QVERIFY(WaitUntil([&] { return program.View()->page()->scrollPosition().y() > 1000; }, 5000));
    // The scroll bar takes clicks too; they open nothing.
    QTest::mouseClick(window, Qt::LeftButton, {},
                      program.View()->mapTo(program.Frame(), QPoint(program.View()->width() - 5, 100)));
    QTest::qWait(300);
    QCOMPARE(desktop.opened.size(), expected.size());
    QVERIFY(server.HeardNothing());
}

// With every chord name on, a name the table lacks gets a picture drawn
// in the user's cache; pointing at it shows it as the 85 are shown.
void TestPageSafety::namesOutsideTheTableShowTheirPictures() {
    CProgramFixture program;
    QVERIFY(LinkPictures(program.Folder()));
    QVERIFY(program.Start(1));
    QVERIFY(program.Run(ID_ALL_CHORDS));
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("song.txt"), "Asus4  Bm7b5  D/F#\n")));
    QWebEnginePage* page = program.View()->page();
    QWindow* window = program.Frame()->windowHandle();
    const QString picture = QStringLiteral("(function () { var b = document.getElementById('QV3%1');"
                                           " var i = b && b.querySelector('img'); return b && i.complete &&"
                                           " b.style.visibility === 'visible' ? i.naturalWidth : 0; })()");
    // The chords in the order of the song; D, one of the 85, first.
    const QStringList names = {QStringLiteral("Asus4"), QStringLiteral("Bm7b5"), QStringLiteral("D"),
                               QStringLiteral("F#")};
    int width = 0;
    for (const int place : {3, 1, 2, 4}) {
        const QString& name = names[place - 1];
        QTest::mouseMove(window, CentreOf(program, QStringLiteral("pre > font:nth-of-type(%1) span").arg(place)));
        QVERIFY2(WaitUntil([&] { return Run(page, picture.arg(name)).toInt() > 0; }, 10000), qPrintable(name));
        // Drawn in the size of the 85.
        width = width ? width : Run(page, picture.arg(name)).toInt();
        QCOMPARE(Run(page, picture.arg(name)).toInt(), width);
    }
    QVERIFY(QFile::exists(qEnvironmentVariable("XDG_CACHE_HOME") + QStringLiteral("/quavern/Pics/Bm7b5.gif")));
}

QTEST_MAIN(TestPageSafety)
#include "TestPageSafety.moc"
