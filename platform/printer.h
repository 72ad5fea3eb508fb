// The printer: one page on the system's current printer, or wherever the installed
// destination sends print jobs (tests send them to a PDF file). The page is painted on a
// page image with exact colours, since the painting reads pixels back (flood fills) and a
// printer device cannot; the image goes to the printer whole when the document ends.
#pragma once

#include <QImage>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/canvas.h"

class QPainter;
class QPrinter;

namespace tarvek {

enum class TPageOrientation { Landscape, Portrait };
// B4 and B5 are the Japanese sizes (257 x 364 and 182 x 257 mm), as Windows names them.
enum class TPaperSize { A3, B4, A4, B5 };
enum class TPrintColour { Colour, Monochrome };

// What a job asks of the printer; an empty field leaves the printer's own setting.
struct TPrintSettings {
    std::optional<TPageOrientation> Orientation;
    std::optional<TPaperSize> Paper;
    std::optional<TPrintColour> Colour;
};

// Where print jobs go.
class TPrintDestination {
public:
    virtual ~TPrintDestination() = default;
    // Points printer at the place the job goes; false when there is none.
    virtual bool Prepare(QPrinter& printer) = 0;
};

// Jobs become a PDF file, with margins of the given size round the printable area.
class TPdfDestination : public TPrintDestination {
public:
    explicit TPdfDestination(std::string path, double marginPoints = 0) : Path(std::move(path)), MarginPoints(marginPoints) {}
    bool Prepare(QPrinter& printer) override;

    std::string Path;
    double MarginPoints;
};

// The queues of the print system.
struct TPrintQueues {
    std::string Default;             // its default destination; empty when none is set
    std::vector<std::string> Names;  // every queue, in the order the system lists them
};

// The system's current printer: the default destination, else the only or first queue
// listed (a queue an administrator added or one found on the network is often nobody's
// default). Empty when the system has no queue.
std::string CurrentPrinterName(const TPrintQueues& queues);

// Jobs go to the system's current printer. Tests override where the names come from and
// where the chosen queue's job goes.
class TSystemPrinter : public TPrintDestination {
public:
    bool Prepare(QPrinter& printer) override;

protected:
    // What the print system lists now.
    virtual TPrintQueues Queues();
    // Points printer at the named queue; false when the print system does not take it.
    virtual bool Open(QPrinter& printer, const std::string& queue);
};

// The destination every job uses from now on; nullptr puts the system's current printer
// back. It is not owned and must outlive its use.
void SetPrintDestination(TPrintDestination* destination);

// A canvas that paints a page: IsPrinter() is true, so the map is laid out for paper.
class TPrinterCanvas final : public TImageCanvas {
public:
    using TImageCanvas::TImageCanvas;
    bool IsPrinter() const override { return true; }
};

enum class TPrintError {
    None,
    NoPrinter,     // the system has no current printer
    CannotStart,   // the job could not be started (the printer or file refused it)
    NoMemory,      // the page image could not be made
    CannotFinish,  // the page could not be handed over
};

class TPrinter {
public:
    // Pixels per inch of the page image.
    static constexpr int PageDpi = 300;

    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // Starts a document of one page with these settings.
    TPrintError BeginDoc(const TPrintSettings& settings);
    // The page, between BeginDoc and EndDoc: the printable area at PageDpi.
    TCanvas& Canvas();
    int PageWidth() const { return Page.width(); }
    int PageHeight() const { return Page.height(); }
    // Hands the page to the printer and ends the document.
    TPrintError EndDoc();

private:
    void Abandon();

    std::unique_ptr<QPrinter> Printer;
    std::unique_ptr<QPainter> Painter;
    QImage Page;
    std::unique_ptr<TPrinterCanvas> PageCanvas;
    bool Monochrome = false;
};

}  // namespace tarvek
