#include "platform/printer.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace tarvek {

namespace {

TSystemPrinter SystemPrinter;
TPrintDestination* CurrentDestination = &SystemPrinter;

QPageSize::PageSizeId PageSizeId(TPaperSize paper) {
    switch (paper) {
        case TPaperSize::A3: return QPageSize::A3;
        case TPaperSize::B4: return QPageSize::JisB4;
        case TPaperSize::A4: return QPageSize::A4;
        case TPaperSize::B5: return QPageSize::JisB5;
    }
    return QPageSize::A4;
}

}  // namespace

std::string CurrentPrinterName(const TPrintQueues& queues) {
    if (!queues.Default.empty()) return queues.Default;
    return queues.Names.empty() ? std::string() : queues.Names.front();
}

bool TSystemPrinter::Prepare(QPrinter& printer) {
    const std::string name = CurrentPrinterName(Queues());
    return !name.empty() && Open(printer, name);
}

TPrintQueues TSystemPrinter::Queues() {
    TPrintQueues queues;
    queues.Default = QPrinterInfo::defaultPrinterName().toStdString();
    for (const QString& name : QPrinterInfo::availablePrinterNames()) queues.Names.push_back(name.toStdString());
    return queues;
}

bool TSystemPrinter::Open(QPrinter& printer, const std::string& queue) {
    const QString name = QString::fromStdString(queue);
    printer.setPrinterName(name);
    // A name the print system does not know leaves Qt's fallback, a PDF file of no name.
    return printer.outputFormat() == QPrinter::NativeFormat && printer.printerName() == name;
}

bool TPdfDestination::Prepare(QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(Path));
    printer.setPageMargins(QMarginsF(MarginPoints, MarginPoints, MarginPoints, MarginPoints), QPageLayout::Point);
    return true;
}

void SetPrintDestination(TPrintDestination* destination) {
    CurrentDestination = destination ? destination : &SystemPrinter;
}

TPrinter::TPrinter() = default;

TPrinter::~TPrinter() { Abandon(); }

void TPrinter::Abandon() {
    PageCanvas.reset();
    if (Painter && Painter->isActive()) {
        // A job given up is cancelled where the printer allows it, rather than printed blank.
        Printer->abort();
        Painter->end();
    }
    Painter.reset();
    Printer.reset();
    Page = QImage();
}

TPrintError TPrinter::BeginDoc(const TPrintSettings& settings) {
    Abandon();
    Printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!CurrentDestination->Prepare(*Printer)) {
        Abandon();
        return TPrintError::NoPrinter;
    }
    if (settings.Orientation)
        Printer->setPageOrientation(*settings.Orientation == TPageOrientation::Landscape ? QPageLayout::Landscape
                                                                                          : QPageLayout::Portrait);
    // A size the printer does not offer leaves its own paper.
    if (settings.Paper) Printer->setPageSize(QPageSize(PageSizeId(*settings.Paper)));
    if (settings.Colour) Printer->setColorMode(*settings.Colour == TPrintColour::Colour ? QPrinter::Color : QPrinter::GrayScale);
    // Device pixels are page-image pixels, so the page is drawn unscaled.
    Printer->setResolution(PageDpi);
    Monochrome = Printer->colorMode() == QPrinter::GrayScale;

    Painter = std::make_unique<QPainter>();
    if (!Painter->begin(Printer.get())) {
        Abandon();
        return TPrintError::CannotStart;
    }
    const QRect area = Printer->pageLayout().paintRectPixels(PageDpi);
    if (area.width() < 1 || area.height() < 1) {
        Abandon();
        return TPrintError::CannotStart;
    }
    Page = QImage(area.size(), QImage::Format_RGB32);
    if (Page.isNull()) {
        Abandon();
        return TPrintError::NoMemory;
    }
    Page.fill(Qt::white);
    PageCanvas = std::make_unique<TPrinterCanvas>(Page);
    return TPrintError::None;
}

TCanvas& TPrinter::Canvas() { return *PageCanvas; }

TPrintError TPrinter::EndDoc() {
    if (!Painter || !Painter->isActive()) return TPrintError::CannotFinish;
    PageCanvas.reset();
    // Grey on the page itself: a driver that prints colour anyway still prints grey.
    if (Monochrome) Page = Page.convertToFormat(QImage::Format_Grayscale8);
    if (Page.isNull()) {
        Abandon();
        return TPrintError::NoMemory;
    }
    // Lossless, or the PDF engine keeps the page as JPEG and blurs every line.
    Painter->setRenderHint(QPainter::LosslessImageRendering);
    Painter->drawImage(QRectF(0, 0, Printer->width(), Printer->height()), Page);
    const bool ended = Painter->end();
    const bool failed = !ended || Printer->printerState() == QPrinter::Error || Printer->printerState() == QPrinter::Aborted;
    Abandon();
    return failed ? TPrintError::CannotFinish : TPrintError::None;
}

}  // namespace tarvek
