// The chord pop-ups of the display page in a real browser engine: the page
// the program writes, loaded from a file with the generated pictures.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

#include "chords/ChordCatalog.h"
#include "engine/Tablature.h"
#include "render/Highlight.h"
#include "render/SongPage.h"
#include "tests/support/EventWait.h"
#include "tests/support/PageScript.h"

using namespace Qt::StringLiterals;

namespace {

const char kSong[] = "Intro:  C#m7  Am  Bb  F#\n"
                     "\n"
                     "   C#m7          Am\n"
                     "Walking down the road\n"
                     "   Bb            Ebmaj7\n"
                     "Under a paper sky\n";

// The pop-up of a chord and the chord's first highlighted occurrence, as
// the page lays them out.
QString PopupState(const QString& name) {
    return uR"js((function() {
        var span = Array.from(document.querySelectorAll('span')).find(function(s) {
            return s.getAttribute('onmouseover') == "montreBulle('QV3%1', this)"; });
        var div = document.getElementById('QV3%1');
        var img = div.querySelector('img');
        var sr = span.getBoundingClientRect();
        var dr = div.getBoundingClientRect();
        return JSON.stringify({ visibility: getComputedStyle(div).visibility,
            spanLeft: sr.left, spanTop: sr.top, spanBottom: sr.bottom, spanX: sr.left + sr.width / 2,
            spanY: sr.top + sr.height / 2, divLeft: dr.left, divTop: dr.top, divWidth: dr.width,
            imgComplete: img.complete, imgWidth: img.naturalWidth, imgSrc: img.src });
    })())js"_s.arg(name);
}

QString Dispatch(const QString& name, const QString& type) {
    return uR"js((function() {
        var span = Array.from(document.querySelectorAll('span')).find(function(s) {
            return s.getAttribute('onmouseover') == "montreBulle('QV3%1', this)"; });
        span.dispatchEvent(new MouseEvent('%2', { bubbles: true, view: window }));
        return true;
    })())js"_s.arg(name, type);
}

void SendMouseMove(QWebEngineView& view, const QPoint& point) {
    QWidget* target = view.focusProxy() ? view.focusProxy() : &view;
    QMouseEvent event(QEvent::MouseMove, QPointF(point), QPointF(target->mapToGlobal(point)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

class ChordPopupBrowserTests final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyPictureLoads();
    void hoverShowsThePopupNextToTheChord_data();
    void hoverShowsThePopupNextToTheChord();
    void realMouseMoveShowsAndHidesThePopup();
    void cleanupTestCase();

private:
    QTemporaryDir m_folder;
    std::unique_ptr<QWebEngineView> m_view;
};

void ChordPopupBrowserTests::initTestCase() {
    QVERIFY(m_folder.isValid());
    const QString pictures = QDir(QStringLiteral(QUAVERN_PICTURES_DIR)).absolutePath() + u'/';
    QVERIFY(QFile::exists(pictures + u"C#m7.gif"_s));

    // The page as the program writes it for an opened text song.
    const std::string songPath = QDir(m_folder.path()).filePath(u"song.txt"_s).toStdString();
    const SongPage page = BuildSongPage(songPath, "TXT", kSong);
    CTablature working;
    working.Detect(page.text);
    QVERIFY(working.GetDistinctCount() >= 5);
    const std::string display = RenderDisplayPage(working, true, HighlightSettings{}, pictures.toStdString());

    const QString displayPath = QDir(m_folder.path()).filePath(u"QuavernFile.htm"_s);
    QFile file(displayPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(display.data(), qint64(display.size()));
    file.close();

    m_view = std::make_unique<QWebEngineView>();
    m_view->resize(900, 700);
    m_view->show();
    bool loaded = false;
    bool ok = false;
    connect(m_view.get(), &QWebEngineView::loadFinished, this, [&](bool success) {
        loaded = true;
        ok = success;
    });
    m_view->load(QUrl::fromLocalFile(displayPath));
    QVERIFY(WaitUntil([&] { return loaded; }, 60000));
    QVERIFY(ok);
    QVERIFY(WaitUntil(
        [&] {
            return Run(m_view->page(), u"Array.from(document.images).every(function(i) { return i.complete; })"_s)
                .toBool();
        },
        20000));
}

void ChordPopupBrowserTests::everyPictureLoads() {
    const QJsonObject result = RunJson(m_view->page(), uR"js(JSON.stringify({ images:
        Array.from(document.querySelectorAll('div.infobulle img')).map(function(i) {
            return { id: i.parentNode.id, src: i.getAttribute('src'), width: i.naturalWidth, height: i.naturalHeight };
        }) }))js"_s);
    const QJsonArray images = result.value(u"images"_s).toArray();
    QCOMPARE(images.size(), CChordCatalog::kSize);
    const CChordCatalog catalog;
    for (int i = 0; i < images.size(); ++i) {
        const QJsonObject image = images.at(i).toObject();
        const QString name = QString::fromStdString(catalog.GetAt(i).GetName());
        QCOMPARE(image.value(u"id"_s).toString(), u"QV3"_s + name);
        QVERIFY2(image.value(u"width"_s).toInt() > 0, qPrintable(image.value(u"src"_s).toString()));
        QVERIFY(image.value(u"height"_s).toInt() > 0);
    }
    // A sharp name reaches its file through an escaped "#".
    QVERIFY(images.at(52).toObject().value(u"src"_s).toString().endsWith(u"/C%23m7.gif"_s));
}

void ChordPopupBrowserTests::hoverShowsThePopupNextToTheChord_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("C#m7") << u"C#m7"_s;
    QTest::newRow("Am") << u"Am"_s;
    QTest::newRow("Bb") << u"Bb"_s;
    QTest::newRow("Ebmaj7") << u"Ebmaj7"_s;
}

void ChordPopupBrowserTests::hoverShowsThePopupNextToTheChord() {
    QFETCH(QString, name);
    QWebEnginePage* page = m_view->page();
    QCOMPARE(RunJson(page, PopupState(name)).value(u"visibility"_s).toString(), u"hidden"_s);

    QVERIFY(Run(page, Dispatch(name, u"mouseover"_s)).toBool());
    const QJsonObject shown = RunJson(page, PopupState(name));
    QCOMPARE(shown.value(u"visibility"_s).toString(), u"visible"_s);
    // The pop-up stands at the chord: its left edge a margin right of the
    // chord's, its top just under the chord's top.
    const double dx = shown.value(u"divLeft"_s).toDouble() - shown.value(u"spanLeft"_s).toDouble();
    const double dy = shown.value(u"divTop"_s).toDouble() - shown.value(u"spanTop"_s).toDouble();
    QVERIFY2(dx >= 0 && dx <= 30, qPrintable(QString::number(dx)));
    QVERIFY2(dy >= 10 && dy <= 50, qPrintable(QString::number(dy)));
    QVERIFY(shown.value(u"imgComplete"_s).toBool());
    QVERIFY(shown.value(u"imgWidth"_s).toInt() > 0);
    QVERIFY(shown.value(u"imgSrc"_s).toString().startsWith(u"file:///"_s));

    QVERIFY(Run(page, Dispatch(name, u"mouseout"_s)).toBool());
    QCOMPARE(RunJson(page, PopupState(name)).value(u"visibility"_s).toString(), u"hidden"_s);
}

void ChordPopupBrowserTests::realMouseMoveShowsAndHidesThePopup() {
    QWebEnginePage* page = m_view->page();
    const QJsonObject state = RunJson(page, PopupState(u"Am"_s));
    const QPoint chord(int(state.value(u"spanX"_s).toDouble()), int(state.value(u"spanY"_s).toDouble()));
    // The pointer goes from an empty place onto the chord, as the user moves it.
    SendMouseMove(*m_view, QPoint(600, 650));
    SendMouseMove(*m_view, chord);
    QVERIFY(WaitUntil(
        [&] { return RunJson(page, PopupState(u"Am"_s)).value(u"visibility"_s).toString() == u"visible"_s; }, 5000));
    QCOMPARE(RunJson(page, PopupState(u"Am"_s)).value(u"visibility"_s).toString(), u"visible"_s);
    SendMouseMove(*m_view, QPoint(600, 650));
    QVERIFY(WaitUntil(
        [&] { return RunJson(page, PopupState(u"Am"_s)).value(u"visibility"_s).toString() == u"hidden"_s; }, 5000));
    QCOMPARE(RunJson(page, PopupState(u"Am"_s)).value(u"visibility"_s).toString(), u"hidden"_s);
}

void ChordPopupBrowserTests::cleanupTestCase() {
    m_view.reset();
}

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ChordPopupBrowserTests tests;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tests, argc, argv);
}

#include "ChordPopupBrowserTests.moc"
