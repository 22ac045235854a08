// Printing the page shown: to the printer, without asking, and in a preview.
//
// The browser writes the whole song as a PDF in the page layout of the
// printer: text stays text, with its fonts embedded. A printer set to PDF
// output gets that PDF as its file; any other printer, and the preview, get
// its pages drawn one at a time at their own resolution.

#include <algorithm>
#include <string>

#include <QApplication>
#include <QBuffer>
#include <QEventLoop>
#include <QFile>
#include <QPageLayout>
#include <QPageRanges>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfDocument>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QTimer>

#include "base/FileWriter.h"
#include "base/Messages.h"
#include "document/DisplayPage.h"
#include "document/QuavernView.h"
#include "document/UserDialogs.h"

namespace {

constexpr const char* kNotPrintedMessage = "The page could not be printed.";
// A short song is ready before the progress would show and nothing flashes.
constexpr int kProgressDelayMs = 400;
// A preview is seen on a screen: finer pages would only cost time and memory.
constexpr int kPreviewDotsPerInch = 150;
// A page is drawn in bands of at most this many pixels: at a printer's 1200
// dots per inch one A4 page would be a picture of over half a gigabyte.
constexpr qint64 kBandPixels = 4 * 1024 * 1024;

// The printer is drawing the pages of a print preview, not printing.
bool IsPreview(QPrinter* printer) {
    const QPaintEngine* engine = printer->paintEngine();
    return engine && engine->type() == QPaintEngine::Picture;
}

// Draws one page of the PDF over the printer's whole paper, in bands.
void DrawPage(QPdfDocument& document, int page, QPainter& painter, const QRectF& paper, int dotsPerInch) {
    const QSizeF points = document.pagePointSize(page);
    const QSize pixels = (points * dotsPerInch / 72.0).toSize().expandedTo(QSize(1, 1));
    const int bandRows = static_cast<int>(std::max<qint64>(1, kBandPixels / pixels.width()));
    const double scaleY = paper.height() / pixels.height();
    for (int top = 0; top < pixels.height(); top += bandRows) {
        const int rows = std::min(bandRows, pixels.height() - top);
        QPdfDocumentRenderOptions options;
        options.setScaledSize(pixels);
        options.setScaledClipRect(QRect(0, top, pixels.width(), rows));
        const QImage band = document.render(page, QSize(pixels.width(), rows), options);
        painter.drawImage(QRectF(paper.left(), paper.top() + top * scaleY, paper.width(), rows * scaleY), band);
    }
}

} // namespace

// The progress of one print, over the window that asked for it; Cancel ends the print.
class CPrintProgress final {
public:
    explicit CPrintProgress(QWidget* parent)
        : m_dialog(QStringLiteral("Preparing the pages..."), QStringLiteral("Cancel"), 0, 0, parent) {
        m_dialog.setObjectName(QStringLiteral("printProgress"));
        m_dialog.setWindowTitle(QStringLiteral("Print"));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(kProgressDelayMs);
        m_dialog.setAutoReset(false);
        m_dialog.setAutoClose(false);
        // While the browser writes the PDF nothing else tells the dialog that time passes.
        QTimer::singleShot(kProgressDelayMs, &m_dialog, [this] {
            if (!Canceled())
                m_dialog.show();
        });
    }

    QProgressDialog& Dialog() { return m_dialog; }
    bool Canceled() const { return m_dialog.wasCanceled(); }

    // Shows the page being drawn; returns false once the user has canceled.
    bool Page(int page, int count) {
        m_dialog.setLabelText(QStringLiteral("Page %1 of %2...").arg(page + 1).arg(count));
        m_dialog.setMaximum(count);
        m_dialog.setValue(page);
        return !Canceled();
    }

private:
    QProgressDialog m_dialog;
};

// The browser's PDF of the page; it makes one at a time, so a PDF the user
// canceled is still waited for before the next one is asked for.
struct CQuavernView::PdfJob {
    bool done = false;
    QByteArray pdf;
    QPointer<QEventLoop> waiting;

    void Finish(const QByteArray& result) {
        pdf = result;
        done = true;
        if (waiting)
            waiting->quit();
    }
};

QPrinter& CQuavernView::Printer() {
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

bool CQuavernView::WaitForPdf(PdfJob& job, CPrintProgress& progress) {
    QEventLoop loop;
    job.waiting = &loop;
    connect(&progress.Dialog(), &QProgressDialog::canceled, &loop, &QEventLoop::quit);
    if (!job.done)
        loop.exec();
    return job.done && !progress.Canceled();
}

QByteArray CQuavernView::MakePdf(const QPageLayout& layout, const QPageRanges& ranges, CPrintProgress& progress) {
    // A print asked for right after a command gets the page that command asked for.
    if (!m_bReady) {
        QEventLoop loop;
        connect(this, &CQuavernView::PageLoaded, &loop, &QEventLoop::quit);
        connect(&progress.Dialog(), &QProgressDialog::canceled, &loop, &QEventLoop::quit);
        loop.exec();
        if (progress.Canceled())
            return {};
    }
    if (m_pdfJob && !WaitForPdf(*m_pdfJob, progress))
        return {};
    m_pdfJob = std::make_shared<PdfJob>();
    std::shared_ptr<PdfJob> job = m_pdfJob;
    // A page in parts holds only the parts the user has scrolled to; the
    // printer gets all of them.
    // A page that goes away answers with nothing, from inside its destructor.
    QPointer<CDisplayPage> shown = m_pPage;
    // The paper also says which capo the shapes are for, in a line at the
    // head of the page that is there only while the PDF is made.
    const QString capoLine = m_strPrintCapo;
    QString quoted = capoLine;
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\''), QStringLiteral("\\'"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"))
        .replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    shown->RunProgramScript(
        QStringLiteral("if (window.qvShowAll) window.qvShowAll();"
                       "if ('%1' && document.body) {"
                       "  var line = document.createElement('div');"
                       "  line.id = 'quavern-print-capo';"
                       "  line.textContent = '%1';"
                       "  line.style.cssText = 'font: bold 12pt sans-serif; margin-bottom: 1em';"
                       "  document.body.insertBefore(line, document.body.firstChild);"
                       "} true;")
            .arg(quoted),
        [shown, job, layout, ranges, capoLine](const QVariant& answer) {
            if (!shown || !answer.toBool()) {
                job->Finish({});
                return;
            }
            shown->printToPdf(
                [shown, job, capoLine](const QByteArray& pdf) {
                    if (shown && !capoLine.isEmpty())
                        shown->RunProgramScript(QStringLiteral(
                            "var line = document.getElementById('quavern-print-capo'); if (line) line.remove();"));
                    job->Finish(pdf);
                },
                layout, ranges);
        });
    if (!WaitForPdf(*job, progress))
        return {};
    m_pdfJob.reset();
    if (job->pdf.isEmpty())
        ShowMessage(kNotPrintedMessage);
    return job->pdf;
}

bool CQuavernView::PrintTo(QPrinter* printer) {
    const bool preview = IsPreview(printer);
    const bool toFile = !preview && printer->outputFormat() == QPrinter::PdfFormat;
    if (toFile && printer->outputFileName().isEmpty()) {
        ShowMessage(std::string(kNotPrintedMessage) + " No file was named to print to.");
        return false;
    }
    QWidget* modal = QApplication::activeModalWidget();
    CPrintProgress progress(modal && modal->isVisible() ? modal : window());
    const QByteArray pdf = MakePdf(printer->pageLayout(), preview ? QPageRanges() : printer->pageRanges(), progress);
    if (pdf.isEmpty())
        return false;

    if (toFile) {
        // Written whole or not at all: a file of that name stays as it was on any failure.
        const QString name = printer->outputFileName();
        const FileWriteResult written = WriteWholeFile(QFile::encodeName(name).toStdString(), pdf.toStdString());
        if (!written) {
            ShowMessage(std::string(kNotPrintedMessage) + " " + name.toStdString() + ": " + written.reason);
            return false;
        }
        return true;
    }

    QBuffer buffer;
    buffer.setData(pdf);
    buffer.open(QIODevice::ReadOnly);
    QPdfDocument document;
    document.load(&buffer);
    QPainter painter;
    if (document.status() != QPdfDocument::Status::Ready || document.pageCount() < 1 || !painter.begin(printer)) {
        ShowMessage(kNotPrintedMessage);
        return false;
    }
    // Each page of the PDF is a whole sheet, its margins included; the painter starts at the printable area.
    const QRectF paper = QRectF(printer->paperRect(QPrinter::DevicePixel))
                             .translated(-printer->pageRect(QPrinter::DevicePixel).topLeft());
    const int dotsPerInch = preview ? std::min(printer->resolution(), kPreviewDotsPerInch) : printer->resolution();
    // The preview's pages are scaled to its zoom: smoothly, or thin strokes of the letters vanish.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int count = document.pageCount();
    for (int page = 0; page < count; ++page) {
        if (!progress.Page(page, count) || (page > 0 && !printer->newPage())) {
            const bool canceled = progress.Canceled();
            if (!preview)
                printer->abort();
            painter.end();
            if (!canceled)
                ShowMessage(kNotPrintedMessage);
            return false;
        }
        DrawPage(document, page, painter, paper, dotsPerInch);
    }
    if (!painter.end()) {
        ShowMessage(kNotPrintedMessage);
        return false;
    }
    return true;
}

void CQuavernView::OnFilePrint() {
    if (UserDialogs().AskPrint(this, &Printer()))
        PrintTo(&Printer());
}

void CQuavernView::OnFilePrintDirect() {
    PrintTo(&Printer());
}

void CQuavernView::OnFilePrintPreview() {
    QPrintPreviewDialog preview(&Printer(), this);
    preview.setObjectName(QStringLiteral("printPreview"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this, &preview](QPrinter* printer) {
        // A preview whose pages were canceled or failed has nothing to show.
        if (!PrintTo(printer) && IsPreview(printer))
            QTimer::singleShot(0, &preview, &QDialog::reject);
    });
    preview.exec();
}
