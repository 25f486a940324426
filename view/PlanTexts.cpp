#include "view/PlanTexts.h"

#include "codeplug/Codecs.h"
#include "codeplug/ImageLayout.h"

namespace plantext {

namespace {

QString pick(bool chinese, const QString& english, const QString& chineseText)
{
    return chinese ? chineseText : english;
}

QString chineseReason(const channelplan::PlanError& error, const modelband::BandLimits& limits)
{
    using channelplan::Reason;
    const QString quoted = QStringLiteral("“") + error.value + QStringLiteral("”");
    switch (error.reason) {
    case Reason::NotText: return QStringLiteral("不是文本文件");
    case Reason::Empty: return QStringLiteral("文件是空的");
    case Reason::UnknownHeader: return QStringLiteral("第一行既不是信道 CSV 表头，也不是 CHIRP CSV 表头");
    case Reason::NoRows: return QStringLiteral("没有列出任何信道");
    case Reason::Unparsable: return QStringLiteral("引号没有闭合");
    case Reason::WrongCellCount:
        return QStringLiteral("有 %1 个单元格，最多应为 %2 个").arg(error.value).arg(ChannelTable::kCols);
    case Reason::BadChannel:
        return QStringLiteral("%1 不是 1 到 %2 的信道号").arg(quoted).arg(layout::kChannelCount);
    case Reason::DuplicateChannel:
        return QStringLiteral("信道 %1 已在第 %2 行列出").arg(error.value).arg(error.earlierLine);
    case Reason::NotANumber: return QStringLiteral("%1 不是以 MHz 为单位的频率").arg(quoted);
    case Reason::OutOfBand:
        return QStringLiteral("%1 MHz 超出频段 %2 至 %3 MHz")
            .arg(error.value, codec::formatFrequency(limits.low), codec::formatFrequency(limits.high));
    case Reason::OffStep: return QStringLiteral("%1 MHz 不在 5 kHz 或 6.25 kHz 步进上").arg(error.value);
    case Reason::TxWithoutRx: return QStringLiteral("没有接收频率的信道给出了 %1").arg(quoted);
    case Reason::BadTone: return QStringLiteral("%1 不是亚音列表中的亚音").arg(quoted);
    case Reason::BadBusyLock: return QStringLiteral("%1 既不是“开”也不是“关”").arg(quoted);
    case Reason::BadDuplex: return QStringLiteral("%1 不是双工方式（空白、+、- 或 split）").arg(quoted);
    case Reason::TransmitOff: return QStringLiteral("不能保存禁止发射：每个信道都有发射频率");
    case Reason::BadToneMode: return QStringLiteral("%1 不是亚音方式（空白、Tone、TSQL、DTCS 或 Cross）").arg(quoted);
    case Reason::BadCrossMode: return QStringLiteral("%1 不是交叉方式（例如 Tone->DTCS）").arg(quoted);
    case Reason::BadPolarity: return QStringLiteral("%1 不是两个极性字母 N 或 R").arg(quoted);
    case Reason::MissingColumns: return QStringLiteral("表头缺少以下列：%1").arg(error.value);
    case Reason::ShortRow: return QStringLiteral("该行缺少以下列：%1").arg(error.value);
    case Reason::BadMode: return QStringLiteral("%1 不是本机支持的模式（FM 或 NFM）").arg(quoted);
    case Reason::OffsetOutOfBand:
        return QStringLiteral("%1 %2 配合 Duplex %3 得到的发射频率 %4 MHz 超出频段 %5 至 %6 MHz")
            .arg(error.column, error.value, error.duplex, error.transmit, codec::formatFrequency(limits.low),
                 codec::formatFrequency(limits.high));
    case Reason::OffsetOffStep:
        return QStringLiteral("%1 %2 配合 Duplex %3 得到的发射频率 %4 MHz 不在 5 kHz 或 6.25 kHz 步进上")
            .arg(error.column, error.value, error.duplex, error.transmit);
    case Reason::NoFrequency: return QStringLiteral("没有频率，已跳过该行");
    case Reason::UnlistedTone: return QStringLiteral("“%1”不是亚音列表中的亚音").arg(error.value);
    case Reason::NoTransmit: return QStringLiteral("该信道没有发射频率");
    case Reason::NoReceive: return QStringLiteral("该信道没有接收频率");
    }
    return QString();
}

}  // namespace

QString errorText(const channelplan::PlanError& error, const modelband::BandLimits& limits, bool chinese)
{
    if (!chinese)
        return error.text(limits);
    // An offset message names its own cells in its sentence.
    const bool namesColumn = error.reason == channelplan::Reason::OffsetOutOfBand ||
                             error.reason == channelplan::Reason::OffsetOffStep;
    QString where;
    if (error.line > 0)
        where = error.column.isEmpty() || namesColumn
                    ? QStringLiteral("第 %1 行：").arg(error.line)
                    : QStringLiteral("第 %1 行，%2：").arg(QString::number(error.line), error.column);
    return where + chineseReason(error, limits);
}

QString leftOutList(const QList<channelplan::LeftOut>& leftOut, bool chinese)
{
    QStringList lines;
    for (const channelplan::LeftOut& channel : leftOut) {
        if (!chinese) {
            lines << channel.text();
            continue;
        }
        // The reason alone, as an import error without a line would read.
        channelplan::PlanError reason;
        reason.reason = channel.reason;
        reason.value = channel.value;
        lines << QStringLiteral("信道 %1，%2：%3；未写入 CHIRP 文件")
                     .arg(QString::number(channel.channel), ChannelTable::header(channel.column, true),
                          chineseReason(reason, {}));
    }
    return lines.join(QLatin1Char('\n'));
}

QString errorList(const QList<channelplan::PlanError>& errors, const modelband::BandLimits& limits, bool chinese)
{
    // A message box shows the first ones; a file of thousands of bad rows
    // would otherwise give a box taller than any screen.
    constexpr qsizetype kShown = 20;
    QStringList lines;
    for (qsizetype i = 0; i < errors.size() && i < kShown; ++i)
        lines << errorText(errors.at(i), limits, chinese);
    if (errors.size() > kShown)
        lines << pick(chinese, QStringLiteral("... and %1 more"), QStringLiteral("……另有 %1 处"))
                     .arg(errors.size() - kShown);
    return lines.join(QLatin1Char('\n'));
}

QString importTitle(bool chinese) { return pick(chinese, QStringLiteral("Import Channels"), QStringLiteral("导入信道")); }
QString exportTitle(bool chinese) { return pick(chinese, QStringLiteral("Export Channels"), QStringLiteral("导出信道")); }
QString compareTitle(bool chinese) { return pick(chinese, QStringLiteral("Compare With"), QStringLiteral("比较文件")); }

QString csvFilter(bool chinese)
{
    return pick(chinese, QStringLiteral("Channel CSV (*.csv)"), QStringLiteral("信道 CSV (*.csv)"));
}
QString chirpFilter(bool chinese)
{
    return pick(chinese, QStringLiteral("CHIRP CSV (*.csv)"), QStringLiteral("CHIRP CSV (*.csv)"));
}
QString datFilter(bool chinese)
{
    return pick(chinese, QStringLiteral("KQ_517 Document (*.dat)"), QStringLiteral("KQ_517 文档 (*.dat)"));
}

QString importRefused(const QString& path, const QString& errors, bool chinese)
{
    return pick(chinese, QStringLiteral("Nothing was imported from \"%1\":\n%2"),
                QStringLiteral("没有从“%1”导入任何信道：\n%2"))
        .arg(path, errors);
}
QString readFailed(const QString& path, const QString& reason, bool chinese)
{
    return pick(chinese, QStringLiteral("Cannot read \"%1\": %2"), QStringLiteral("无法读取“%1”：%2")).arg(path, reason);
}
QString tooLarge(const QString& path, bool chinese)
{
    return pick(chinese, QStringLiteral("\"%1\" is larger than 1 MiB: not a channel plan."),
                QStringLiteral("“%1”大于 1 MiB，不是信道文件。"))
        .arg(path);
}
QString noBand(bool chinese)
{
    return pick(chinese,
                QStringLiteral("The settings file names no band for this document's model and band: "
                               "no channel can be checked."),
                QStringLiteral("设置文件中没有本文档机型和频段的频率范围，无法检查信道。"));
}
QString exportFailed(const QString& path, const QString& reason, bool chinese)
{
    return pick(chinese, QStringLiteral("The channels were not exported to \"%1\": %2"),
                QStringLiteral("信道没有导出到“%1”：%2"))
        .arg(path, reason);
}
QString importSkipped(const QString& path, const QString& warnings, bool chinese)
{
    return pick(chinese, QStringLiteral("The channels were imported from \"%1\"; these rows were skipped:\n%2"),
                QStringLiteral("已从“%1”导入信道；以下各行已跳过：\n%2"))
        .arg(path, warnings);
}
QString exportIncomplete(const QString& path, const QString& leftOut, bool chinese)
{
    return pick(chinese,
                QStringLiteral("The channels were exported to \"%1\", but the file is incomplete: "
                               "CHIRP cannot hold these channels as they are:\n%2"),
                QStringLiteral("信道已导出到“%1”，但文件不完整：以下信道无法按原样写入 CHIRP 文件：\n%2"))
        .arg(path, leftOut);
}
QString pasteRefused(const QString& errors, bool chinese)
{
    return pick(chinese, QStringLiteral("Nothing was pasted:\n%1"), QStringLiteral("没有粘贴任何信道：\n%1")).arg(errors);
}
QString clipboardEmpty(bool chinese)
{
    return pick(chinese, QStringLiteral("Nothing was pasted: the clipboard holds no channel rows."),
                QStringLiteral("没有粘贴任何信道：剪贴板中没有信道行。"));
}
QString pastePastEnd(int rowCount, int firstChannel, bool chinese)
{
    return pick(chinese, QStringLiteral("Nothing was pasted: %1 rows from channel %2 would run past channel %3."),
                QStringLiteral("没有粘贴任何信道：从信道 %2 起的 %1 行会超出信道 %3。"))
        .arg(rowCount)
        .arg(firstChannel)
        .arg(layout::kChannelCount);
}
QString insertRefused(bool chinese)
{
    return pick(chinese,
                QStringLiteral("No row was inserted: channel %1 is in use and would be pushed off the table. "
                               "Delete or move it first."),
                QStringLiteral("没有插入行：信道 %1 正在使用，插入会把它挤出表格。请先删除或移动它。"))
        .arg(layout::kChannelCount);
}
QString compareAgree(const QString& path, bool chinese)
{
    return pick(chinese, QStringLiteral("The document and \"%1\" agree."), QStringLiteral("文档与“%1”相同。")).arg(path);
}
QString compareHeading(const QString& path, int count, bool chinese)
{
    return pick(chinese, QStringLiteral("%1 differences between the document and \"%2\":"),
                QStringLiteral("文档与“%2”有 %1 处不同："))
        .arg(count)
        .arg(path);
}

QString importStep(bool chinese) { return pick(chinese, QStringLiteral("Import Channels"), QStringLiteral("导入信道")); }
QString pasteStep(bool chinese) { return pick(chinese, QStringLiteral("Paste"), QStringLiteral("粘贴")); }
QString cutStep(bool chinese) { return pick(chinese, QStringLiteral("Cut"), QStringLiteral("剪切")); }
QString deleteStep(bool chinese) { return pick(chinese, QStringLiteral("Delete"), QStringLiteral("删除")); }
QString insertRowStep(bool chinese) { return pick(chinese, QStringLiteral("Insert Row"), QStringLiteral("插入行")); }
QString deleteRowStep(bool chinese) { return pick(chinese, QStringLiteral("Delete Row"), QStringLiteral("删除行")); }
QString moveUpStep(bool chinese) { return pick(chinese, QStringLiteral("Move Up"), QStringLiteral("上移")); }
QString moveDownStep(bool chinese) { return pick(chinese, QStringLiteral("Move Down"), QStringLiteral("下移")); }

}  // namespace plantext
