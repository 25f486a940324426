#pragma once
// ReportPrinter: pagination and page painting of the printed report of one
// document. Page 1 lists the radio-wide options of the image's settings row;
// each further page lists up to eight channels from the channel table's cells.
// Works on any QPaintDevice (printer, PDF, preview), without a view.
//
// The layout is computed in twips (1/1440 inch) from the printable area, with
// y growing upward from the top of the printable area as the report has always
// been specified: text further down has a more negative y. Painting maps this to
// QPainter coordinates (y down) with one scale transform.

#include <QFont>
#include <QList>
#include <QString>

#include "codeplug/ChannelTable.h"
#include "codeplug/MemoryImage.h"

class QPaintDevice;
class QPainter;
class QPrinter;

// Channel pages by receive frequency. Page p (2 or more) covers the channels
// after bound[p] up to and including bound[p + 1].
struct ReportPagination {
    static constexpr int kChannelsPerPage = 8;
    int bound[5] = {0, 0, 0, 16, 16};
    int channelCount = 0;  // channels whose receive frequency cell is not empty

    int channelPages() const { return (channelCount + kChannelsPerPage - 1) / kChannelsPerPage; }
    int pageCount() const { return channelPages() + 1; }

    static ReportPagination paginate(const ChannelTable& table);
};

// The measures of one printed page, all in twips.
struct ReportMeasures {
    int width = 0;   // W: printable width
    int height = 0;  // H: printable height
    int unit = 0;    // u = W / 66: every x is a multiple of it
    int line1 = 0;   // L1: height + external leading of the large font
    int line2 = 0;   // L2: the same of the small font
    QFont large;     // sized in twips (pixel size in the twips coordinate system)
    QFont small;

    // Measures of device's printable area (its width() and height()).
    static ReportMeasures forDevice(QPaintDevice* device);
    // Measures of a printable area of widthTwips x heightTwips, fonts measured on device.
    static ReportMeasures forArea(int widthTwips, int heightTwips, QPaintDevice* device);
};

// One drawing operation of a page, in the report's twips coordinates.
struct ReportItem {
    enum Kind { Text, Line };
    Kind kind = Text;
    int x = 0;       // text: left edge; line: start
    int y = 0;       // text: top edge; line: its y (negative below the top)
    int x2 = 0;      // line: end
    bool largeFont = false;
    QString text;
};

class ReportPrinter {
public:
    // The texts the report takes from outside the document: its labels, from
    // the active string table, and the footer's owner from the settings file.
    struct Texts {
        QString option, function, timeOut, off, warning, enable, disable, squelch, txPower;
        QString channel, channelHeading /* "Channel %1:" */, receive, transmit, decode, encode, busyLock;
        QString copyrightsOwner;  // footer, "Copyrights Owner" of the language section

        // The labels of the active string table, no owner.
        static Texts fromActiveTable();
    };
    // The labels of the active string table and "Copyrights Owner" of the
    // section named by g_strLanguage.
    static Texts textsFromSettings();

    ReportPrinter(const ChannelTable& table, const MemoryImage& image, const Texts& texts);

    ReportPagination paginate() const { return ReportPagination::paginate(m_table); }

    // The operations of page `page` (1-based) of pageCount: lines, body, footer.
    QList<ReportItem> pageItems(int page, int pageCount, const ReportMeasures& measures) const;

    // Paints one page on a painter whose device is the page's printable area.
    void paintPage(QPainter& painter, int page, int pageCount) const;

    // Prints pages fromPage..toPage (0, 0: all) of pageCount on printer, a new
    // sheet between pages. False when the printer cannot be painted on.
    bool print(QPrinter& printer, int pageCount, int fromPage = 0, int toPage = 0) const;

private:
    void addOptionsBody(QList<ReportItem>& items, const ReportMeasures& m) const;
    void addChannelBody(QList<ReportItem>& items, int page, const ReportMeasures& m) const;

    ChannelTable m_table;
    MemoryImage m_image;
    Texts m_texts;
};
