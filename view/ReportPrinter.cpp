#include "view/ReportPrinter.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QPrinter>

#include <algorithm>

#include "codeplug/ImageLayout.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "texts/TextTable.h"

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kUnitsAcross = 66;   // u = W / 66
constexpr int kLargeFontDivisor = 45;  // large character height = H / 45

// A font of the report: the character height and the average character width
// in twips. The face is asked for by name; where it is missing the platform's
// serif face stands in.
QFont reportFont(int height, int averageWidth, QPaintDevice* device)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(std::max(1, height));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    const int natural = QFontMetrics(font, device).averageCharWidth();
    if (natural > 0 && averageWidth > 0)
        font.setStretch(std::clamp(int((100LL * averageWidth + natural / 2) / natural), 1, 4000));
    return font;
}

// Height plus external leading, as the device measures the font.
int lineHeight(const QFont& font, QPaintDevice* device)
{
    const QFontMetrics metrics(font, device);
    return metrics.height() + std::max(0, metrics.leading());
}

ReportItem text(int x, int y, const QString& s, bool large = false)
{
    ReportItem item;
    item.kind = ReportItem::Text;
    item.x = x;
    item.y = y;
    item.text = s;
    item.largeFont = large;
    return item;
}

ReportItem line(int x1, int x2, int y)
{
    ReportItem item;
    item.kind = ReportItem::Line;
    item.x = x1;
    item.x2 = x2;
    item.y = y;
    return item;
}

}  // namespace

ReportPagination ReportPagination::paginate(const ChannelTable& table)
{
    ReportPagination result;
    result.bound[3] = layout::kChannelCount;
    result.bound[4] = layout::kChannelCount;
    for (int c = 1; c <= layout::kChannelCount; ++c) {
        if (table.cell(c, ChannelTable::ColRx).isEmpty())
            continue;
        ++result.channelCount;
        // The 8th channel closes page 2 (bound[3]), the 16th page 3 (bound[4]).
        if (result.channelCount % kChannelsPerPage == 0)
            result.bound[2 + result.channelCount / kChannelsPerPage] = c;
    }
    return result;
}

ReportMeasures ReportMeasures::forDevice(QPaintDevice* device)
{
    const int dpiX = std::max(1, device->logicalDpiX());
    const int dpiY = std::max(1, device->logicalDpiY());
    const int w = int(qint64(device->width()) * kTwipsPerInch / dpiX);
    const int h = int(qint64(device->height()) * kTwipsPerInch / dpiY);
    return forArea(w, h, device);
}

ReportMeasures ReportMeasures::forArea(int widthTwips, int heightTwips, QPaintDevice* device)
{
    ReportMeasures m;
    m.width = widthTwips;
    m.height = heightTwips;
    m.unit = widthTwips / kUnitsAcross;
    const int largeHeight = heightTwips / kLargeFontDivisor;
    const int largeWidth = m.unit;
    m.large = reportFont(largeHeight, largeWidth, device);
    // The small font is the large one times 0.8, height and width each cut to
    // whole twips.
    m.small = reportFont(largeHeight * 4 / 5, largeWidth * 4 / 5, device);
    m.line1 = lineHeight(m.large, device);
    m.line2 = lineHeight(m.small, device);
    return m;
}

ReportPrinter::Texts ReportPrinter::Texts::fromActiveTable()
{
    using texts::text;
    Texts t;
    t.option = text(62050);
    t.function = text(62051);
    t.timeOut = text(62052);
    t.off = text(62053);
    t.warning = text(62054);
    t.enable = text(62055);
    t.disable = text(62056);
    t.squelch = text(62057);
    t.txPower = text(62058);
    t.channel = text(62059);
    t.channelHeading = text(62060);
    t.receive = text(62061);
    t.transmit = text(62062);
    t.decode = text(62063);
    t.encode = text(62064);
    t.busyLock = text(62065);
    return t;
}

ReportPrinter::Texts ReportPrinter::textsFromSettings()
{
    Texts texts = Texts::fromActiveTable();
    texts.copyrightsOwner = g_settings.GetText(g_strLanguage.toUtf8(), "Copyrights Owner");
    return texts;
}

ReportPrinter::ReportPrinter(const ChannelTable& table, const MemoryImage& image, const Texts& texts)
    : m_table(table), m_image(image), m_texts(texts)
{
}

QList<ReportItem> ReportPrinter::pageItems(int page, int pageCount, const ReportMeasures& m) const
{
    const int u = m.unit;
    const int l1 = m.line1;
    QList<ReportItem> items;
    items << line(5 * u, 60 * u, -(2 * l1 + 50)) << line(5 * u, 60 * u, -(2 * l1 + 120))
          << line(5 * u, 60 * u, l1 / 2 - 36 * l1);

    if (page == 1)
        addOptionsBody(items, m);
    else
        addChannelBody(items, page, m);

    // The footer is drawn in the small font the body left selected.
    items << text(10 * u, -36 * l1, m_texts.copyrightsOwner)
          << text(45 * u, -36 * l1, QStringLiteral("Page %1 of %2").arg(page).arg(pageCount));
    return items;
}

void ReportPrinter::addOptionsBody(QList<ReportItem>& items, const ReportMeasures& m) const
{
    const int u = m.unit;
    const int l2 = m.line2;
    items << text(6 * u, -m.line1, m_texts.option, true);
    items << text(6 * u, -4 * l2, m_texts.function);

    const int timeOut = m_image.at(layout::kTimeOutTimer);
    items << text(9 * u, -5 * l2, m_texts.timeOut)
          << text(35 * u, -5 * l2, timeOut == 0 ? m_texts.off : QString::number(timeOut * 30));

    const bool beep = (m_image.at(layout::kBeep) & 0x01) != 0;
    items << text(9 * u, -6 * l2, m_texts.warning)
          << text(35 * u, -6 * l2, beep ? m_texts.enable : m_texts.disable);

    items << text(9 * u, -7 * l2, m_texts.squelch)
          << text(35 * u, -7 * l2, QString::number(m_image.at(layout::kSquelchLevel)));

    items << text(9 * u, -8 * l2, m_texts.txPower)
          << text(35 * u, -8 * l2, QString::number(m_image.at(layout::kTxPower) / 3));
}

void ReportPrinter::addChannelBody(QList<ReportItem>& items, int page, const ReportMeasures& m) const
{
    const int u = m.unit;
    const int l2 = m.line2;
    const ReportPagination pages = paginate();
    items << text(6 * u, -m.line1, m_texts.channel, true);
    // Only pages 2 and 3 hold channels; a page number beyond the bounds has none.
    if (page < 2 || page + 1 >= int(std::size(pages.bound)))
        return;

    int k = -1;
    for (int c = pages.bound[page] + 1; c <= pages.bound[page + 1]; ++c) {
        if (m_table.cell(c, ChannelTable::ColRx).isEmpty())
            continue;  // takes no slot
        ++k;
        const int d = k % ReportPagination::kChannelsPerPage;
        const int y0 = -(5 * d + 4) * l2;
        const int y1 = -(5 * d + 5) * l2;
        const int y2 = -(5 * d + 6) * l2;
        const int y3 = -(5 * d + 7) * l2;
        const QString number = QString::number(c);
        items << text(4 * u, y0, m_texts.channelHeading.arg(number));
        items << text(5 * u, y1, m_texts.receive)
              << text(22 * u, y1, m_table.cell(c, ChannelTable::ColRx))
              << text(36 * u, y1, m_texts.transmit)
              << text(55 * u, y1, m_table.cell(c, ChannelTable::ColTx));
        items << text(5 * u, y2, m_texts.decode)
              << text(22 * u, y2, m_table.cell(c, ChannelTable::ColDecode))
              << text(36 * u, y2, m_texts.encode)
              << text(55 * u, y2, m_table.cell(c, ChannelTable::ColEncode));
        items << text(5 * u, y3, m_texts.busyLock)
              << text(22 * u, y3, m_table.cell(c, ChannelTable::ColBusy));
    }
}

void ReportPrinter::paintPage(QPainter& painter, int page, int pageCount) const
{
    QPaintDevice* device = painter.device();
    const ReportMeasures m = ReportMeasures::forDevice(device);

    painter.save();
    // One logical unit is one twip; the report's y grows upward from the top
    // of the printable area, so a report point (x, y) is painted at (x, -y).
    painter.scale(double(device->logicalDpiX()) / kTwipsPerInch,
                  double(device->logicalDpiY()) / kTwipsPerInch);
    painter.setPen(QPen(Qt::black, 0));
    for (const ReportItem& item : pageItems(page, pageCount, m)) {
        if (item.kind == ReportItem::Line) {
            painter.drawLine(QPointF(item.x, -item.y), QPointF(item.x2, -item.y));
            continue;
        }
        painter.setFont(item.largeFont ? m.large : m.small);
        // The point is the text's top-left corner; QPainter places the baseline.
        const int ascent = QFontMetrics(painter.font(), device).ascent();
        painter.drawText(QPointF(item.x, -item.y + ascent), item.text);
    }
    painter.restore();
}

bool ReportPrinter::print(QPrinter& printer, int pageCount, int fromPage, int toPage) const
{
    const int first = std::max(1, fromPage > 0 ? fromPage : 1);
    const int last = std::min(pageCount, toPage > 0 ? toPage : pageCount);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int page = first; page <= last; ++page) {
        if (page > first && !printer.newPage()) {
            painter.end();
            return false;
        }
        paintPage(painter, page, pageCount);
    }
    return painter.end();
}
