// The parted page of a large text song in a real browser engine, against the
// whole page of the same song: the same text and chords once every part is
// shown, placeholders that keep the page as tall as the whole page, parts
// shown as the user scrolls, and chord pop-ups in a part shown late.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "engine/Tablature.h"
#include "render/Highlight.h"
#include "render/HighlightTags.h"
#include "render/PartedPage.h"
#include "render/SongPage.h"
#include "tests/support/EventWait.h"
#include "tests/support/PageScript.h"

using namespace Qt::StringLiterals;

namespace {

// Lines of a chord sheet with everything a part has to carry through the
// browser: sharp and flat chord names, chords inside the song's own tags,
// "%" and escaped-looking text, an entity, Latin-1 bytes, CRLF and LF.
const char* const kSongLines[] = {
    "   C#m7        Am         F#        Bbmaj7\r\n",
    "Walking 100% down the <b>bold</b> road &amp; the rest\r\n",
    "[G]  (Ebm7)  <b>Am</b>  D#7  Gbmaj7/Db\n",
    "caf\xe9 cr\xe8me \xe0 la fen\xeatre, na\xefve \xbfverdad?\n",
    "%41 %25 %3C %02 50%\n",
    "\n",
    "Em   C    G    D7   A#m\r\n",
    "  la la la,  singing on and on\n",
};

// The songs both pages are built from.
// Html: the mixed lines in the <pre> block of an HTML song.
// HtmlBody: the mixed lines ended by <br> in the body of an HTML song
// without a <pre> block.
enum class SongKind { Mixed, Utf8, EmptyFirstLine, CarriageReturns, Html, HtmlBody };

// Songs just over the size from which a page is parted: a few parts each,
// and whole pages that the browser lays out in a fraction of a second.
constexpr std::size_t kSongBytes = kPartedPageBytes;

// A text song of kSongBytes; every fifth line carries its number, so a part
// shown twice or out of place shows in the text.
std::string SongBytes(SongKind kind) {
    std::string song = kind == SongKind::EmptyFirstLine ? "\r\n" : "";
    for (int line = 0; song.size() < kSongBytes; ++line) {
        std::string text = kSongLines[line % std::size(kSongLines)];
        if (kind == SongKind::CarriageReturns) {
            // Line ends of old Mac files: a lone CR, a line break to the browser.
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
                text.pop_back();
            text += '\r';
        }
        if (line % 5 == 0)
            text.insert(0, "Verse " + std::to_string(line) + ": ");
        song += text;
    }
    song += "last line  Am";
    if (kind == SongKind::Utf8) {
        const QByteArray utf8 = QString::fromLatin1(song.data(), qsizetype(song.size())).toUtf8();
        return std::string(utf8.constData(), std::size_t(utf8.size()));
    }
    return song;
}

// The lines of the HtmlBody song.
std::string BodyBytes() {
    std::string body;
    for (int line = 0; body.size() < kSongBytes; ++line) {
        std::string text = kSongLines[line % std::size(kSongLines)];
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        if (line % 5 == 0)
            text.insert(0, "Verse " + std::to_string(line) + ": ");
        body += text + "<br>\n";
    }
    return body;
}

// The rows of the tests that compare a song's parted page with its whole
// page, in order; contentOnly rows are left out of the height test.
const struct PageRow {
    const char* name;
    SongKind kind;
    bool highlighted;
    bool contentOnly;
} kPageRows[] = {
    {"highlighted", SongKind::Mixed, true, false},
    {"plain", SongKind::Mixed, false, false},
    {"UTF-8, highlighted", SongKind::Utf8, true, true},
    // The parser drops a line end right after <pre> on the whole page.
    {"empty first line", SongKind::EmptyFirstLine, false, true},
    {"HTML song, highlighted", SongKind::Html, true, true},
    // Lines the browser breaks where the parts see none.
    {"CR line ends", SongKind::CarriageReturns, false, false},
};

// Lets the browser draw ten more frames: the observers that follow a load or
// a scroll report in the frame after it, and a part they show may move the
// others in the next. Counting frames rather than time keeps the wait short
// on an idle machine and long enough on a busy one.
bool Settle(QWebEnginePage* page) {
    Run(page, u"window.qvTestFrames = 0; (function count() {"
              u"  if (++window.qvTestFrames < 10) requestAnimationFrame(count); })(); true"_s);
    return WaitUntil([&] { return Run(page, u"window.qvTestFrames >= 10"_s).toBool(); }, 10000);
}

bool WriteFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

// What the browser makes of a page: the text of its preformatted block, the
// highlighted chord names in order and the tags around them, and its height.
const QString kContentScript = uR"js((function() {
    var pre = document.querySelector('pre');
    var spans = Array.from(document.querySelectorAll('span[onmouseover]'));
    var range = document.createRange();
    range.selectNodeContents(pre);
    var selection = window.getSelection();
    selection.removeAllRanges();
    selection.addRange(range);
    var selected = selection.toString();
    selection.removeAllRanges();
    return JSON.stringify({
        selected: selected,
        pres: document.querySelectorAll('pre').length,
        text: pre.innerText,
        partsText: Array.from(document.querySelectorAll('div.qvpart')).map(function(p) {
            return p.innerText; }).join(''),
        names: spans.map(function(s) { return s.textContent; }).join(' '),
        chords: spans.length,
        first: spans.slice(0, 12).map(function(s) {
            return s.getAttribute('onmouseover') + ' | ' + s.getAttribute('onmouseout') + ' | ' +
                s.parentNode.tagName + ' < ' + s.parentNode.parentNode.tagName + ' ' +
                s.parentNode.parentNode.getAttribute('color');
        }),
        fonts: pre.querySelectorAll('font').length,
        bolds: pre.querySelectorAll('b').length,
        preHeight: pre.getBoundingClientRect().height,
        scrollHeight: document.documentElement.scrollHeight });
})())js"_s;

// What the browser makes of the page of the HtmlBody song: its text, its
// chord names and its parts and height. Part edges are block edges, which
// innerText may mark with a line end more; runs of line ends are compared
// as one.
const QString kBodyContentScript = uR"js(JSON.stringify({
    text: document.body.innerText.replace(/\n+/g, '\n'),
    names: Array.from(document.querySelectorAll('span[onmouseover]')).map(function(s) {
        return s.textContent; }).join(' '),
    parts: document.querySelectorAll('div.qvpart').length,
    height: document.documentElement.scrollHeight }))js"_s;

// The state of the parts: how many are shown, the place and height of each,
// and the height of the page.
const QString kPartsScript = uR"js((function() {
    var parts = Array.from(document.querySelectorAll('div.qvpart'));
    return JSON.stringify({
        total: parts.length,
        shown: parts.map(function(p) { return p.innerHTML.length > 0; }),
        tops: parts.map(function(p) { return p.getBoundingClientRect().top; }),
        heights: parts.map(function(p) { return p.getBoundingClientRect().height; }),
        lines: parts.map(function(p) { return Number(p.getAttribute('data-lines')); }),
        viewHeight: window.innerHeight,
        scrollY: window.scrollY,
        preHeight: document.querySelector('pre').getBoundingClientRect().height,
        scrollHeight: document.documentElement.scrollHeight });
})())js"_s;

int ShownCount(const QJsonObject& parts) {
    int shown = 0;
    for (const QJsonValue value : parts.value(u"shown"_s).toArray())
        shown += value.toBool();
    return shown;
}

// Where two texts first differ, with a little of each around it.
QString FirstDifference(const QString& whole, const QString& parted) {
    qsizetype at = 0;
    while (at < whole.size() && at < parted.size() && whole.at(at) == parted.at(at))
        ++at;
    if (at == whole.size() && at == parted.size())
        return QString();
    auto around = [at](const QString& text) {
        QString piece = text.mid(qMax<qsizetype>(0, at - 40), 80);
        return piece.replace(u'\n', u"\\n"_s).replace(u'\r', u"\\r"_s);
    };
    return u"lengths %1 (whole) and %2 (parted), first difference at %3 (line %4):\n  whole:  \"%5\"\n  parted: \"%6\""_s
        .arg(whole.size())
        .arg(parted.size())
        .arg(at)
        .arg(whole.left(at).count(u'\n') + 1)
        .arg(around(whole), around(parted));
}

// The chord of a shown part in the visible area, away from the first part,
// and its pop-up, as the page lays them out. The chord is marked so later
// calls find the same span.
QString PopupState(bool mark) {
    return uR"js((function() {
        var span = document.querySelector('span[data-qvtest]');
        if (%1) {
            var parts = Array.from(document.querySelectorAll('div.qvpart'));
            var part = parts.find(function(p, i) {
                var r = p.getBoundingClientRect();
                return i > 0 && p.innerHTML.length > 0 && r.top < window.innerHeight && r.bottom > 0; });
            if (!part) return JSON.stringify({ error: 'no shown part in view' });
            span = Array.from(part.querySelectorAll('span[onmouseover]')).find(function(s) {
                var r = s.getBoundingClientRect();
                return r.top > 0 && r.bottom < window.innerHeight - 200; });
            if (!span) return JSON.stringify({ error: 'no chord in view' });
            span.setAttribute('data-qvtest', parts.indexOf(part));
        }
        var div = document.getElementById('QV3' + span.textContent);
        var sr = span.getBoundingClientRect();
        var dr = div.getBoundingClientRect();
        return JSON.stringify({ name: span.textContent, part: Number(span.getAttribute('data-qvtest')),
            visibility: getComputedStyle(div).visibility,
            spanLeft: sr.left, spanTop: sr.top, divLeft: dr.left, divTop: dr.top });
    })())js"_s.arg(mark ? u"true"_s : u"false"_s);
}

QString DispatchOnMarked(const QString& type) {
    return uR"js((function() {
        var span = document.querySelector('span[data-qvtest]');
        span.dispatchEvent(new MouseEvent('%1', { bubbles: true, view: window }));
        return true;
    })())js"_s.arg(type);
}

// A page loading in a view. Two views work at once, each in a renderer
// process of its own, so a row can have its whole page loaded and read
// while its parted page is.
class CPageLoad final {
public:
    CPageLoad(QWebEngineView* view, const QString& path) : m_view(view) {
        m_connection = QObject::connect(view, &QWebEngineView::loadFinished, [this](bool success) {
            m_loaded = true;
            m_ok = success;
        });
        view->load(QUrl::fromLocalFile(path));
    }
    ~CPageLoad() { QObject::disconnect(m_connection); }
    CPageLoad(const CPageLoad&) = delete;
    CPageLoad& operator=(const CPageLoad&) = delete;

    // Waits until the page has loaded and its pictures are in, so that it
    // has its final height.
    bool Wait() {
        return WaitUntil([this] { return m_loaded; }, 90000) && m_ok &&
               WaitUntil(
                   [this] {
                       return Run(m_view->page(),
                                  u"Array.from(document.images).every(function(i) { return i.complete; })"_s)
                           .toBool();
                   },
                   20000);
    }

private:
    QWebEngineView* m_view;
    QMetaObject::Connection m_connection;
    bool m_loaded = false;
    bool m_ok = false;
};

bool LoadIn(QWebEngineView* view, const QString& path) {
    return CPageLoad(view, path).Wait();
}

// A script started in a page, and the JSON object it returns as a string
// once it has run; the page goes on while the test does something else.
class CPageScript final {
public:
    CPageScript(QWebEnginePage* page, const QString& script) : m_result(std::make_shared<Result>()) {
        page->runJavaScript(script, [result = m_result](const QVariant& value) {
            result->value = value;
            result->done = true;
        });
    }

    QJsonObject Json() const {
        if (!WaitUntil([this] { return m_result->done; }, 30000))
            return {};
        return QJsonDocument::fromJson(m_result->value.toString().toUtf8()).object();
    }

private:
    // Shared with the callback, which may come after the object is gone.
    struct Result {
        QVariant value;
        bool done = false;
    };
    std::shared_ptr<Result> m_result;
};

} // namespace

class PartedPageBrowserTests final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void shownPartsGiveTheWholePage_data();
    void shownPartsGiveTheWholePage();
    void placeholdersKeepThePageHeight_data();
    void placeholdersKeepThePageHeight();
    void partsAreShownNearTheView_data();
    void partsAreShownNearTheView();
    void chordOfALatePartShowsItsPopup();
    void htmlSongWithoutBlockShowsTheWholePage();
    void cleanupTestCase();

private:
    // The whole and the parted page of one song; the parted page is empty
    // when the song is not shown in parts.
    struct SongPages {
        std::string whole;
        std::string parted;
    };
    // The two pages, written to files.
    struct PagePair {
        QString whole;
        QString parted;
    };
    SongPages Render(const QString& name, const char* type, const std::string& bytes, bool highlighted) const;
    const SongPages& PagesOf(SongKind kind, bool highlighted);
    PagePair WritePages(const QString& stem, const SongPages& pages);
    void StartWholeContent(SongKind kind, bool highlighted);
    QJsonObject WholeContent(SongKind kind, bool highlighted, const QString& script = kContentScript);
    bool Load(const QString& path) { return LoadIn(m_view.get(), path); }
    void AddPageRows(bool contentRows);

    QTemporaryDir m_folder;
    QString m_pictures;
    int m_pages = 0;
    std::unique_ptr<QWebEngineView> m_view;
    // Where the whole pages are loaded, as large as m_view.
    std::unique_ptr<QWebEngineView> m_reference;
    // Each song is rendered once, and its whole page, the reference of
    // every row of the song, is loaded and read once.
    std::map<std::pair<SongKind, bool>, SongPages> m_songs;
    std::map<std::pair<SongKind, bool>, QJsonObject> m_wholeContents;
    // The whole page loading in the reference view, and its song.
    std::unique_ptr<CPageLoad> m_wholeLoad;
    std::pair<SongKind, bool> m_wholeLoading;
};

void PartedPageBrowserTests::initTestCase() {
    QVERIFY(m_folder.isValid());
    m_pictures = QDir(QStringLiteral(QUAVERN_PICTURES_DIR)).absolutePath() + u'/';
    QVERIFY(QFile::exists(m_pictures + u"C#m7.gif"_s));
    m_view = std::make_unique<QWebEngineView>();
    m_view->resize(900, 700);
    m_view->show();
    m_reference = std::make_unique<QWebEngineView>();
    m_reference->resize(m_view->size());
    m_reference->show();
    StartWholeContent(kPageRows[0].kind, kPageRows[0].highlighted);
}

PartedPageBrowserTests::SongPages PartedPageBrowserTests::Render(const QString& name, const char* type,
                                                                 const std::string& bytes, bool highlighted) const {
    const SongPage page = BuildSongPage(QDir(m_folder.path()).filePath(name).toStdString(), type, bytes);
    if (!UsesPartedPage(page.text, page.added))
        return {};
    const HighlightSettings settings;
    CTablature working;
    working.text = page.text;
    const std::string pictures = m_pictures.toStdString();
    return {RenderDisplayPage(working, highlighted, settings, pictures),
            PartedDisplayPage(page.text, page.added, highlighted ? &settings : nullptr, pictures)};
}

const PartedPageBrowserTests::SongPages& PartedPageBrowserTests::PagesOf(SongKind kind, bool highlighted) {
    const auto key = std::make_pair(kind, highlighted);
    auto found = m_songs.find(key);
    if (found == m_songs.end()) {
        const std::string song = kind == SongKind::HtmlBody ? BodyBytes() : SongBytes(kind);
        const SongPages pages =
            kind == SongKind::HtmlBody
                ? Render(u"body.htm"_s, "HTM",
                         "<html><head><title>Book</title></head><body>\n" + song + "</body></html>", highlighted)
            : kind == SongKind::Html
                ? Render(u"song.htm"_s, "HTM",
                         "<html><head><title>Book</title></head><body><h1>Songbook</h1>\n<PRE class=\"tab\">" + song +
                             "</pre>\n<p>The end</p></body></html>",
                         highlighted)
                : Render(u"song.txt"_s, "TXT", song, highlighted);
        found = m_songs.emplace(key, pages).first;
    }
    return found->second;
}

// Every page gets a name of its own: loading the page already shown would
// be a reload, which keeps the scroll position.
PartedPageBrowserTests::PagePair PartedPageBrowserTests::WritePages(const QString& stem, const SongPages& pages) {
    if (pages.parted.empty())
        return {};
    const QDir folder(m_folder.path());
    const QString name = stem + QString::number(++m_pages);
    const PagePair paths{folder.filePath(name + u"-whole.htm"_s), folder.filePath(name + u"-parted.htm"_s)};
    if (!WriteFile(paths.whole, pages.whole) || !WriteFile(paths.parted, pages.parted))
        return {};
    return paths;
}

// Starts loading the whole page of a song in the reference view, unless it
// has been read or is loading. Another page still loading there finishes
// first, so that its end is not taken for the end of this one.
void PartedPageBrowserTests::StartWholeContent(SongKind kind, bool highlighted) {
    const auto key = std::make_pair(kind, highlighted);
    if (m_wholeContents.count(key) || (m_wholeLoad && m_wholeLoading == key))
        return;
    if (m_wholeLoad)
        m_wholeLoad->Wait();
    m_wholeLoad.reset();
    const PagePair paths = WritePages(u"whole"_s, PagesOf(kind, highlighted));
    if (paths.whole.isEmpty())
        return;
    m_wholeLoad = std::make_unique<CPageLoad>(m_reference.get(), paths.whole);
    m_wholeLoading = key;
}

// What the browser makes of the whole page of a song (the script's JSON),
// read once in the reference view; an empty object when it could not be
// loaded. The reference view then loads the whole page of the next row's
// song, and after the rows the HtmlBody song's, while the tests go on in
// the other view.
QJsonObject PartedPageBrowserTests::WholeContent(SongKind kind, bool highlighted, const QString& script) {
    const auto key = std::make_pair(kind, highlighted);
    StartWholeContent(kind, highlighted);
    auto found = m_wholeContents.find(key);
    if (found == m_wholeContents.end()) {
        const std::unique_ptr<CPageLoad> load = std::move(m_wholeLoad);
        if (!load || !load->Wait())
            return {};
        found = m_wholeContents.emplace(key, RunJson(m_reference->page(), script)).first;
        bool next = false;
        for (const PageRow& row : kPageRows) {
            if (!m_wholeContents.count(std::make_pair(row.kind, row.highlighted))) {
                StartWholeContent(row.kind, row.highlighted);
                next = true;
                break;
            }
        }
        if (!next)
            StartWholeContent(SongKind::HtmlBody, true);
    }
    return found->second;
}

void PartedPageBrowserTests::AddPageRows(bool contentRows) {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("highlighted");
    for (const PageRow& row : kPageRows) {
        if (contentRows || !row.contentOnly)
            QTest::newRow(row.name) << int(row.kind) << row.highlighted;
    }
}

void PartedPageBrowserTests::shownPartsGiveTheWholePage_data() {
    AddPageRows(true);
}

void PartedPageBrowserTests::shownPartsGiveTheWholePage() {
    QFETCH(int, kind);
    QFETCH(bool, highlighted);
    const PagePair paths = WritePages(u"same"_s, PagesOf(SongKind(kind), highlighted));
    QVERIFY(!paths.parted.isEmpty());
    StartWholeContent(SongKind(kind), highlighted);
    QVERIFY(Load(paths.parted));
    QVERIFY(Run(m_view->page(), u"window.qvShowAll(); true"_s).toBool());
    const CPageScript partsScript(m_view->page(), kPartsScript);
    const CPageScript contentScript(m_view->page(), kContentScript);
    const QJsonObject whole = WholeContent(SongKind(kind), highlighted);
    QVERIFY(!whole.isEmpty());
    const QJsonObject parts = partsScript.Json();
    const QJsonObject parted = contentScript.Json();

    QCOMPARE(ShownCount(parts), parts.value(u"total"_s).toInt());
    QVERIFY(parts.value(u"total"_s).toInt() >= 3);
    QCOMPARE(parted.value(u"pres"_s).toInt(), 1);
    QCOMPARE(whole.value(u"pres"_s).toInt(), 1);

    const QString wholeText = whole.value(u"text"_s).toString();
    // Each part is a block of its own, so the innerText of the parted <pre>
    // gets a line break at every part's edge that neither the layout nor
    // copying shows. The parts' own texts together are compared with the
    // whole page's <pre>, and the text a selection of the <pre> gives (what
    // copying gives) as it is.
    const QString partedText = parted.value(u"partsText"_s).toString();
    QVERIFY(wholeText.size() > qsizetype(kSongBytes * 5 / 6));
    QVERIFY(wholeText.contains(u"caf\u00e9 cr\u00e8me"_s));
    QVERIFY(wholeText.contains(u"the bold road & the rest"_s));
    QVERIFY(wholeText.contains(u"%41 %25 %3C %02 50%"_s));
    const QString wholeSelected = whole.value(u"selected"_s).toString();
    const QString partedSelected = parted.value(u"selected"_s).toString();
    QVERIFY2(wholeSelected == partedSelected, qPrintable(FirstDifference(wholeSelected, partedSelected)));
    QVERIFY2(wholeText == partedText, qPrintable(FirstDifference(wholeText, partedText)));

    if (highlighted) {
        QVERIFY(whole.value(u"chords"_s).toInt() > 10000);
        QVERIFY(whole.value(u"names"_s).toString().startsWith(u"C#m7 Am F# Bbmaj7 G Ebm7 Am D#7 Gbmaj7 Db"_s));
        QCOMPARE(whole.value(u"first"_s).toArray().at(0).toString(),
                 u"montreBulle('QV3C#m7', this) | cacheBulle('QV3C#m7') | B < FONT #"_s +
                     QString::fromStdString(ColorText(HighlightSettings().color)));
    } else {
        QCOMPARE(whole.value(u"chords"_s).toInt(), 0);
    }
    QCOMPARE(parted.value(u"chords"_s).toInt(), whole.value(u"chords"_s).toInt());
    const QString wholeNames = whole.value(u"names"_s).toString();
    const QString partedNames = parted.value(u"names"_s).toString();
    QVERIFY2(wholeNames == partedNames, qPrintable(FirstDifference(wholeNames, partedNames)));
    QCOMPARE(parted.value(u"first"_s).toArray(), whole.value(u"first"_s).toArray());
    QCOMPARE(parted.value(u"fonts"_s).toInt(), whole.value(u"fonts"_s).toInt());
    QCOMPARE(parted.value(u"bolds"_s).toInt(), whole.value(u"bolds"_s).toInt());

    // Every part shown, the page lays out as tall as the whole page.
    const double wholeHeight = whole.value(u"scrollHeight"_s).toDouble();
    const double partedHeight = parted.value(u"scrollHeight"_s).toDouble();
    QVERIFY2(qAbs(partedHeight - wholeHeight) <= 2,
             qPrintable(u"scrollHeight whole %1, parted %2; <pre> height whole %3, parted %4"_s.arg(wholeHeight)
                            .arg(partedHeight)
                            .arg(whole.value(u"preHeight"_s).toDouble())
                            .arg(parted.value(u"preHeight"_s).toDouble())));
}

void PartedPageBrowserTests::placeholdersKeepThePageHeight_data() {
    AddPageRows(false);
}

void PartedPageBrowserTests::placeholdersKeepThePageHeight() {
    QFETCH(int, kind);
    QFETCH(bool, highlighted);
    const double wholeHeight = WholeContent(SongKind(kind), highlighted).value(u"scrollHeight"_s).toDouble();
    QVERIFY(wholeHeight > 10000);
    const PagePair paths = WritePages(u"height"_s, PagesOf(SongKind(kind), highlighted));
    QVERIFY(!paths.parted.isEmpty());

    QVERIFY(Load(paths.parted));
    QWebEnginePage* page = m_view->page();
    QVERIFY(WaitUntil([&] { return ShownCount(RunJson(page, kPartsScript)) > 0; }, 10000));
    QVERIFY(Settle(page));
    const QJsonObject atLoad = RunJson(page, kPartsScript);
    const int total = atLoad.value(u"total"_s).toInt();
    QVERIFY(total >= 3);

    // Each placeholder is as tall as its part turns out to be.
    const double lineHeight = Run(page, uR"js((function() {
        var pre = document.querySelector('pre');
        var probe = document.createElement('div');
        probe.textContent = 'x\nx\nx\nx\nx\nx\nx\nx\nx\nx';
        pre.appendChild(probe);
        var height = probe.getBoundingClientRect().height / 10;
        pre.removeChild(probe);
        return height;
    })())js"_s)
                                  .toDouble();
    QVERIFY(lineHeight > 5);
    QVERIFY(Run(page, u"window.qvShowAll(); true"_s).toBool());
    const QJsonObject all = RunJson(page, kPartsScript);
    QCOMPARE(ShownCount(all), total);
    const QJsonArray heights = all.value(u"heights"_s).toArray();
    const QJsonArray lines = all.value(u"lines"_s).toArray();
    QString offParts;
    for (int i = 0; i < total; ++i) {
        const double placeholder = lines.at(i).toInt() * lineHeight;
        const double height = heights.at(i).toDouble();
        if (qAbs(placeholder - height) > 3)
            offParts += u"\n  part %1: data-lines %2, placeholder %3 px, shown %4 px (%5 lines of %6 px)"_s.arg(i)
                            .arg(lines.at(i).toInt())
                            .arg(placeholder)
                            .arg(height)
                            .arg(height / lineHeight)
                            .arg(lineHeight);
    }
    QVERIFY2(offParts.isEmpty(), qPrintable(offParts));

    // So the page is as tall as the whole page from the start.
    const double atLoadHeight = atLoad.value(u"scrollHeight"_s).toDouble();
    QVERIFY2(qAbs(atLoadHeight - wholeHeight) <= 3.0 * total,
             qPrintable(u"scrollHeight at load %1, whole page %2, %3 parts, %4 shown"_s.arg(atLoadHeight)
                            .arg(wholeHeight)
                            .arg(total)
                            .arg(ShownCount(atLoad))));
    QVERIFY2(qAbs(all.value(u"scrollHeight"_s).toDouble() - wholeHeight) <= 2,
             qPrintable(
                 u"scrollHeight with every part shown %1, whole page %2"_s.arg(all.value(u"scrollHeight"_s).toDouble())
                     .arg(wholeHeight)));
}

void PartedPageBrowserTests::partsAreShownNearTheView_data() {
    QTest::addColumn<bool>("highlighted");
    QTest::newRow("highlighted") << true;
    QTest::newRow("plain") << false;
}

void PartedPageBrowserTests::partsAreShownNearTheView() {
    QFETCH(bool, highlighted);
    const PagePair paths = WritePages(u"lazy"_s, PagesOf(SongKind::Mixed, highlighted));
    QVERIFY(!paths.parted.isEmpty());
    QVERIFY(Load(paths.parted));
    QWebEnginePage* page = m_view->page();
    QVERIFY(WaitUntil([&] { return ShownCount(RunJson(page, kPartsScript)) > 0; }, 10000));
    QVERIFY(Settle(page));
    const QJsonObject atLoad = RunJson(page, kPartsScript);
    const int total = atLoad.value(u"total"_s).toInt();
    const int shownAtLoad = ShownCount(atLoad);
    QVERIFY(total >= 3);
    QVERIFY2(shownAtLoad <= 2, qPrintable(u"%1 of %2 parts shown at load"_s.arg(shownAtLoad).arg(total)));
    QVERIFY(atLoad.value(u"shown"_s).toArray().at(0).toBool());

    // Scrolled to the middle, the parts there are shown, the far ones not.
    QVERIFY(Run(page, u"window.scrollTo(0, (document.documentElement.scrollHeight - window.innerHeight) / 2); "
                      u"window.scrollY"_s)
                .toDouble() > 0);
    auto visibleShown = [&](const QJsonObject& parts) {
        const QJsonArray tops = parts.value(u"tops"_s).toArray();
        const QJsonArray heights = parts.value(u"heights"_s).toArray();
        const QJsonArray shown = parts.value(u"shown"_s).toArray();
        const double view = parts.value(u"viewHeight"_s).toDouble();
        bool any = false;
        for (int i = 0; i < tops.size(); ++i) {
            const double top = tops.at(i).toDouble();
            if (top < view && top + heights.at(i).toDouble() > 0) {
                any = true;
                if (!shown.at(i).toBool())
                    return false;
            }
        }
        return any;
    };
    QVERIFY(WaitUntil([&] { return visibleShown(RunJson(page, kPartsScript)); }, 10000));
    QVERIFY(Settle(page));
    const QJsonObject middle = RunJson(page, kPartsScript);
    QVERIFY(visibleShown(middle));
    const QJsonArray shown = middle.value(u"shown"_s).toArray();
    QString shownList;
    for (int i = 0; i < shown.size(); ++i)
        shownList += shown.at(i).toBool() ? u'#' : u'.';
    const int middlePart = total / 2;
    QVERIFY2(shown.at(middlePart - 1).toBool() || shown.at(middlePart).toBool() || shown.at(middlePart + 1).toBool(),
             qPrintable(shownList));
    QVERIFY2(!shown.at(total - 1).toBool(), qPrintable(shownList));
    QVERIFY2(ShownCount(middle) <= shownAtLoad + 3, qPrintable(shownList));
}

void PartedPageBrowserTests::chordOfALatePartShowsItsPopup() {
    const PagePair paths = WritePages(u"popup"_s, PagesOf(SongKind::Mixed, true));
    QVERIFY(!paths.parted.isEmpty());
    QVERIFY(Load(paths.parted));
    QWebEnginePage* page = m_view->page();
    QVERIFY(Run(page, u"window.scrollTo(0, (document.documentElement.scrollHeight - window.innerHeight) / 2); "
                      u"window.scrollY"_s)
                .toDouble() > 0);
    QVERIFY(WaitUntil([&] { return RunJson(page, PopupState(true)).contains(u"name"_s); }, 10000));

    const QJsonObject hidden = RunJson(page, PopupState(false));
    const QString name = hidden.value(u"name"_s).toString();
    QVERIFY2(hidden.value(u"part"_s).toInt() > 0, qPrintable(name));
    QCOMPARE(hidden.value(u"visibility"_s).toString(), u"hidden"_s);

    QVERIFY(Run(page, DispatchOnMarked(u"mouseover"_s)).toBool());
    const QJsonObject shown = RunJson(page, PopupState(false));
    QCOMPARE(shown.value(u"name"_s).toString(), name);
    QCOMPARE(shown.value(u"visibility"_s).toString(), u"visible"_s);
    // The pop-up stands at the chord, deep down the page as it is.
    const double dx = shown.value(u"divLeft"_s).toDouble() - shown.value(u"spanLeft"_s).toDouble();
    const double dy = shown.value(u"divTop"_s).toDouble() - shown.value(u"spanTop"_s).toDouble();
    QVERIFY2(dx >= 0 && dx <= 30, qPrintable(u"%1: dx %2"_s.arg(name).arg(dx)));
    QVERIFY2(dy >= 10 && dy <= 50, qPrintable(u"%1: dy %2"_s.arg(name).arg(dy)));

    QVERIFY(Run(page, DispatchOnMarked(u"mouseout"_s)).toBool());
    QCOMPARE(RunJson(page, PopupState(false)).value(u"visibility"_s).toString(), u"hidden"_s);
}

// An HTML song with no <pre> block, its lines ended by <br>: parted in its
// body, it shows the same text and chords, and its placeholders keep the
// page about as tall as the whole page.
void PartedPageBrowserTests::htmlSongWithoutBlockShowsTheWholePage() {
    const PagePair paths = WritePages(u"body"_s, PagesOf(SongKind::HtmlBody, true));
    QVERIFY(!paths.parted.isEmpty());
    StartWholeContent(SongKind::HtmlBody, true);
    QVERIFY(Load(paths.parted));
    const QJsonObject atLoad = RunJson(m_view->page(), kBodyContentScript);
    QVERIFY(Run(m_view->page(), u"window.qvShowAll(); true"_s).toBool());
    const CPageScript shownScript(m_view->page(), kBodyContentScript);
    const QJsonObject wholeState = WholeContent(SongKind::HtmlBody, true, kBodyContentScript);
    QVERIFY(!wholeState.isEmpty());
    const QJsonObject shown = shownScript.Json();

    QVERIFY(atLoad.value(u"parts"_s).toInt() >= 3);
    const QString wholeText = wholeState.value(u"text"_s).toString();
    const QString partedText = shown.value(u"text"_s).toString();
    QVERIFY(wholeText.contains(u"the bold road & the rest"_s));
    QVERIFY2(wholeText == partedText, qPrintable(FirstDifference(wholeText, partedText)));
    QVERIFY(wholeState.value(u"names"_s).toString().size() > 20000);
    QCOMPARE(shown.value(u"names"_s).toString(), wholeState.value(u"names"_s).toString());
    const double wholeHeight = wholeState.value(u"height"_s).toDouble();
    QVERIFY2(qAbs(atLoad.value(u"height"_s).toDouble() - wholeHeight) <= wholeHeight * 0.05,
             qPrintable(u"at load %1, whole %2"_s.arg(atLoad.value(u"height"_s).toDouble()).arg(wholeHeight)));
    QVERIFY2(qAbs(shown.value(u"height"_s).toDouble() - wholeHeight) <= 2,
             qPrintable(u"all shown %1, whole %2"_s.arg(shown.value(u"height"_s).toDouble()).arg(wholeHeight)));
}

void PartedPageBrowserTests::cleanupTestCase() {
    m_wholeLoad.reset();
    m_reference.reset();
    m_view.reset();
}

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    PartedPageBrowserTests tests;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tests, argc, argv);
}

#include "PartedPageBrowserTests.moc"
