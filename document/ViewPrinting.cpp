// Printing the page shown: to the printer, without asking, and in a preview.

#include <QEventLoop>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "chords/Messages.h"
#include "document/QuavernView.h"

QPrinter& CQuavernView::Printer() {
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void CQuavernView::PrintTo(QPrinter* printer) {
    // The browser prints asynchronously; the printer must live until it is done.
    QEventLoop loop;
    bool printed = false;
    connect(this, &QWebEngineView::printFinished, &loop, [&loop, &printed](bool success) {
        printed = success;
        loop.quit();
    });
    // A page in parts holds only the parts the user has scrolled to; the
    // printer gets all of them.
    page()->runJavaScript(QStringLiteral("if (window.qvShowAll) window.qvShowAll();"),
                          [this, printer](const QVariant&) { print(printer); });
    loop.exec();
    if (!printed)
        ShowMessage("The page could not be printed.");
}

void CQuavernView::OnFilePrint() {
    QPrintDialog dialog(&Printer(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintTo(&Printer());
}

void CQuavernView::OnFilePrintDirect() {
    PrintTo(&Printer());
}

void CQuavernView::OnFilePrintPreview() {
    QPrintPreviewDialog preview(&Printer(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) { PrintTo(printer); });
    preview.exec();
}
