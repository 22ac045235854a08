// Printing through the browser's PDF: the PDF file holds the song's chord
// names as text in the order shown, in the page layout chosen, the preview
// draws its pages, and Cancel or a failure leaves no file behind.
#include <algorithm>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/MainFrame.h"
#include "dialogs/CapoDlg.h"
#include "dialogs/ControlIds.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/EventWait.h"
#include "tests/support/PageScript.h"
#include "tests/support/TestFiles.h"

namespace {

// The highlighted chord names of the page shown, in order.
QStringList ShownChordNames(CQuavernView* view) {
    return Run(view->page(), QStringLiteral("Array.from(document.querySelectorAll('span[onmouseover]'))"
                                            ".map(function(s) { return s.textContent; }).join(' ')"))
        .toString()
        .split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

struct PdfText {
    int pages = 0;
    QString text;
};

PdfText TextOfPdf(const QByteArray& pdf) {
    QBuffer buffer;
    buffer.setData(pdf);
    buffer.open(QIODevice::ReadOnly);
    QPdfDocument document;
    document.load(&buffer);
    PdfText result;
    result.pages = document.status() == QPdfDocument::Status::Ready ? document.pageCount() : 0;
    for (int page = 0; page < result.pages; ++page)
        result.text += document.getAllText(page).text() + QLatin1Char('\n');
    return result;
}

bool IsNamePart(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('#');
}

// The first name not found in the text as a whole word after the one before it, or an empty string.
QString FirstNameOutOfOrder(const QString& text, const QStringList& names) {
    qsizetype from = 0;
    for (const QString& name : names) {
        qsizetype at = text.indexOf(name, from);
        while (at >= 0 && ((at > 0 && IsNamePart(text.at(at - 1))) ||
                           (at + name.size() < text.size() && IsNamePart(text.at(at + name.size())))))
            at = text.indexOf(name, at + 1);
        if (at < 0)
            return QStringLiteral("%1 after offset %2").arg(name).arg(from);
        from = at + name.size();
    }
    return {};
}

// Copies the corpus songs into the folder (never beside the corpus, where the
// display file would go); returns their paths.
QStringList CopyCorpus(const QString& folder) {
    QStringList copies;
    for (const std::string& path : CorpusSongPaths()) {
        const QString source = QString::fromStdString(path);
        const QString copy = QDir(folder).filePath(QFileInfo(source).fileName());
        if (QFile::copy(source, copy))
            copies << copy;
    }
    return copies;
}

} // namespace

class TestPrinting final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void corpusSongsPrintTheirChordsAsText();
    void pdfTakesTheChosenPageLayout_data();
    void pdfTakesTheChosenPageLayout();
    void previewDrawsEveryPage();
    void cancelLeavesNoFile();
    void failureIsToldAndLeavesNoFile();
    void chosenCapoHeadsThePage();

private:
    // Prints the song shown to a PDF file through the Print command; the PDF, or empty.
    static QByteArray PrintToFile(CProgramFixture& program, const QString& name) {
        const QString path = program.PathOf(name);
        program.dialogs.printFiles.enqueue(path);
        program.Action(ID_FILE_PRINT)->trigger();
        return ReadFileBytes(path);
    }
};

// Each corpus song moved up (so the PDF must show the page's names, not the
// file's), then a songbook of 60 KB made of them.
void TestPrinting::corpusSongsPrintTheirChordsAsText() {
    CProgramFixture program;
    const QStringList songs = CopyCorpus(program.Folder());
    if (songs.isEmpty())
        QSKIP("the corpus of chord sheets is not here");
    QByteArray book;
    for (const QString& song : songs)
        if (song.endsWith(QStringLiteral(".txt")) && book.size() < 60 * 1024)
            book += ReadFileBytes(song) + "\n\n";
    QVERIFY(program.Start(1));
    int withChords = 0;
    for (const QString& song : songs + QStringList{program.WriteFile(QStringLiteral("book.txt"), book)}) {
        // Printed at once: the print waits for the page "+" asked for.
        QVERIFY2(program.OpenSong(song), qPrintable(song));
        program.Action(ID_TRANSPOSE_UP)->trigger();
        const QByteArray pdf = PrintToFile(program, QStringLiteral("song.pdf"));
        QVERIFY(program.WaitReady());
        const QStringList names = ShownChordNames(program.View());
        const PdfText printed = TextOfPdf(pdf);
        const QString outOfOrder = FirstNameOutOfOrder(printed.text, names);
        QVERIFY2(printed.pages > 0 && outOfOrder.isEmpty(), qPrintable(song + QStringLiteral(": ") + outOfOrder));
        // Text with its fonts, not a picture of it.
        QVERIFY2(pdf.contains("/FontFile") && !pdf.contains("/Subtype /Image"), qPrintable(song));
        withChords += names.isEmpty() ? 0 : 1;
        if (song.endsWith(QStringLiteral("book.txt")))
            QVERIFY2(names.size() > 500 && printed.pages > 10 && pdf.size() < 200 * 1024,
                     qPrintable(QStringLiteral("%1 pages, %2 bytes").arg(printed.pages).arg(pdf.size())));
    }
    QVERIFY(withChords >= songs.size() * 3 / 4);
    QCOMPARE(program.sink.messages.size(), std::size_t(0));
}

void TestPrinting::pdfTakesTheChosenPageLayout_data() {
    QTest::addColumn<QPageLayout>("layout");
    QTest::newRow("A4 portrait") << QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                                QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    QTest::newRow("Letter landscape") << QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                                     QMarginsF(0.5, 0.75, 0.5, 0.75), QPageLayout::Inch);
    QTest::newRow("A5, wide margins") << QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait,
                                                     QMarginsF(40, 30, 20, 25), QPageLayout::Millimeter);
}

// The sheet's size and orientation, and the song inside the margins.
void TestPrinting::pdfTakesTheChosenPageLayout() {
    QFETCH(QPageLayout, layout);
    CProgramFixture program;
    QVERIFY(program.Start());
    QByteArray song;
    for (int line = 0; line < 200; ++line)
        song += "Am    G    C    F    " + QByteArray(120, 'x') + "\n";
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("song.txt"), song)));
    program.dialogs.printLayout = layout;
    QBuffer buffer;
    buffer.setData(PrintToFile(program, QStringLiteral("song.pdf")));
    buffer.open(QIODevice::ReadOnly);
    QPdfDocument pdf;
    pdf.load(&buffer);
    QVERIFY(pdf.pageCount() > 1);
    const QRectF sheet = layout.fullRectPoints();
    const QRectF inside = layout.paintRectPoints();
    for (int page : {0, pdf.pageCount() - 1}) {
        const QSizeF size = pdf.pagePointSize(page);
        QVERIFY2(qAbs(size.width() - sheet.width()) < 1 && qAbs(size.height() - sheet.height()) < 1,
                 qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
        const QRectF text = pdf.getAllText(page).boundingRectangle();
        // Glyph boxes stand out of the letters a little.
        QVERIFY2(
            inside.adjusted(-3, -3, 3, 3).contains(text),
            qPrintable(
                QStringLiteral("text %1,%2 %3 x %4").arg(text.x()).arg(text.y()).arg(text.width()).arg(text.height())));
    }
}

// The preview draws the browser's pages: as many as the PDF has, the first one not blank.
void TestPrinting::previewDrawsEveryPage() {
    CProgramFixture program;
    QVERIFY(program.Start(1));
    QByteArray song;
    for (int verse = 0; verse < 60; ++verse)
        song += "G        D        Em       C\nWalking down the valley road, singing as I go\n\n";
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("song.txt"), song)));
    const int pdfPages = TextOfPdf(PrintToFile(program, QStringLiteral("song.pdf"))).pages;
    QVERIFY(pdfPages > 1);

    int previewPages = 0;
    QImage first;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        auto* pages = dialog ? dialog->findChild<QPrintPreviewWidget*>() : nullptr;
        if (!pages || !dialog->isVisible() || pages->pageCount() < 1)
            return;
        poll.stop();
        previewPages = pages->pageCount();
        pages->setCurrentPage(1);
        pages->fitInView();
        first = pages->grab().toImage();
        QTest::keyClick(dialog->windowHandle(), Qt::Key_Escape);
    });
    poll.start(5);
    program.Action(ID_FILE_PRINT_PREVIEW)->trigger();
    QCOMPARE(previewPages, pdfPages);
    // The chords are drawn in the highlight's blue.
    int blue = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x)
            blue += first.pixelColor(x, y).blue() - first.pixelColor(x, y).red() > 100 ? 1 : 0;
    QVERIFY2(blue > 50, qPrintable(QString::number(blue)));
    QCOMPARE(program.sink.messages.size(), std::size_t(0));
}

// Cancel while the browser writes a long songbook: no file, and the next print works.
void TestPrinting::cancelLeavesNoFile() {
    CProgramFixture program;
    QVERIFY(program.Start());
    QByteArray book;
    while (book.size() < 600 * 1024)
        book += "G            D          Em         C\n  Walking down the valley road, singing as I go,\n";
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("book.txt"), book)));
    const QStringList before = QDir(program.Folder()).entryList(QDir::Files);
    bool clicked = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* progress = program.Frame()->findChild<QProgressDialog*>(QStringLiteral("printProgress"));
        if (!progress || !progress->isVisible())
            return;
        poll.stop();
        auto* cancel = progress->findChild<QPushButton*>();
        QTest::mouseClick(progress->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          cancel->mapTo(progress, cancel->rect().center()));
        clicked = true;
    });
    poll.start(5);
    QVERIFY(PrintToFile(program, QStringLiteral("book.pdf")).isEmpty());
    QVERIFY(clicked);
    QCOMPARE(QDir(program.Folder()).entryList(QDir::Files), before);
    QCOMPARE(program.sink.messages.size(), std::size_t(0));

    // The browser may still be writing the canceled PDF: the next print works all the same.
    QVERIFY(TextOfPdf(PrintToFile(program, QStringLiteral("again.pdf"))).pages > 100);
    QVERIFY(!QFile::exists(program.PathOf(QStringLiteral("book.pdf"))));
    QCOMPARE(program.sink.messages.size(), std::size_t(0));
}

void TestPrinting::failureIsToldAndLeavesNoFile() {
    CProgramFixture program;
    QVERIFY(program.Start());
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("a.txt"), "Am G\n")));
    QVERIFY(PrintToFile(program, QStringLiteral("no-such-folder/a.pdf")).isEmpty());
    QCOMPARE(program.sink.messages.size(), std::size_t(1));
    QVERIFY(QString::fromStdString(program.sink.messages.front())
                .startsWith(QStringLiteral("The page could not be printed.")));
    QVERIFY(!QDir(program.PathOf(QStringLiteral("no-such-folder"))).exists());
}

void TestPrinting::chosenCapoHeadsThePage() {
    CProgramFixture program;
    QVERIFY(program.Start());
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("a.txt"), "F Bb C F\n")));
    const int best = BestCapo(CapoChoices(program.Document()->Loaded()));
    QTimer::singleShot(0, this, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
    });
    program.Action(ID_SUGGEST_CAPO)->trigger();
    QVERIFY(program.WaitReady());
    QCOMPARE(best, 3);
    QVERIFY(TextOfPdf(PrintToFile(program, QStringLiteral("a.pdf")))
                .text.startsWith(QStringLiteral("Capo 3: play in D shapes, sounds in F")));
    // The line is the paper's only.
    QVERIFY(WaitUntil([&program] { return !ShownText(program.View()).contains(u"Capo"); }, 10000));
}

QTEST_MAIN(TestPrinting)
#include "TestPrinting.moc"
