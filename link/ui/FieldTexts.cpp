#include "link/ui/FieldTexts.h"

#include "link/PortNames.h"

#include <QMap>
#include <QRegularExpression>
#include <QStringList>

#include "codeplug/ImageCheck.h"
#include "link/PortNames.h"
#include "link/ProtocolEngine.h"

namespace fieldtext {

QString stepName(FieldStep step, bool chinese)
{
    if (!chinese)
        return FieldSession::stepName(step);
    switch (step) {
    case FieldStep::Backup:
        return QStringLiteral("备份");
    case FieldStep::Write:
        return QStringLiteral("写入");
    case FieldStep::Verify:
        return QStringLiteral("校验");
    case FieldStep::Read:
        break;
    }
    return QStringLiteral("读取");
}

QString stepProgress(FieldStep step, bool chinese)
{
    switch (step) {
    case FieldStep::Backup:
        return chinese ? QStringLiteral("正在备份") : QStringLiteral("Backing up");
    case FieldStep::Write:
        return chinese ? QStringLiteral("正在写入") : QStringLiteral("Writing");
    case FieldStep::Verify:
        return chinese ? QStringLiteral("正在校验") : QStringLiteral("Verifying");
    case FieldStep::Read:
        break;
    }
    return chinese ? QStringLiteral("正在读取") : QStringLiteral("Reading");
}

QString problem(const ImageProblem& problem, bool chinese)
{
    if (!chinese)
        return problem.text;
    static const QMap<QString, QString> kNames = {
        {QStringLiteral("squelch level"), QStringLiteral("静噪等级")},
        {QStringLiteral("time-out timer"), QStringLiteral("发射限时")},
        {QStringLiteral("model index"), QStringLiteral("机型序号")},
        {QStringLiteral("band index"), QStringLiteral("频段序号")},
        {QStringLiteral("receive frequency"), QStringLiteral("接收频率")},
        {QStringLiteral("transmit frequency"), QStringLiteral("发射频率")},
        {QStringLiteral("decode tone"), QStringLiteral("解码亚音")},
        {QStringLiteral("encode tone"), QStringLiteral("编码亚音")},
    };
    static const QRegularExpression option(
        QStringLiteral("^(.+) \\(byte (0x[0-9a-f]+)\\) is (\\d+), the radio takes 0 to (\\d+)$"));
    static const QRegularExpression notDecimal(
        QStringLiteral("^channel (\\d+): (.+) \\(bytes (0x[0-9a-f]+)\\) is not a decimal number$"));
    static const QRegularExpression outside(
        QStringLiteral("^channel (\\d+): (.+) (\\S+) MHz is outside the band (.*)$"));
    static const QRegularExpression tone(
        QStringLiteral("^channel (\\d+): (.+) \\(bytes (0x[0-9a-f]+): (\\S+ \\S+)\\) is not a listed tone$"));
    const auto name = [](const QString& english) { return kNames.value(english, english); };
    if (const auto m = option.match(problem.text); m.hasMatch())
        return QStringLiteral("%1（字节 %2）为 %3，对讲机只接受 0 至 %4")
            .arg(name(m.captured(1)), m.captured(2), m.captured(3), m.captured(4));
    if (const auto m = notDecimal.match(problem.text); m.hasMatch())
        return QStringLiteral("信道 %1：%2（字节 %3）不是十进制数").arg(m.captured(1), name(m.captured(2)), m.captured(3));
    if (const auto m = outside.match(problem.text); m.hasMatch())
        return QStringLiteral("信道 %1：%2 %3 MHz 超出频段 %4")
            .arg(m.captured(1), name(m.captured(2)), m.captured(3), m.captured(4));
    if (const auto m = tone.match(problem.text); m.hasMatch())
        return QStringLiteral("信道 %1：%2（字节 %3：%4）不是列表中的亚音")
            .arg(m.captured(1), name(m.captured(2)), m.captured(3), m.captured(4));
    return problem.text;
}

QString place(const BlockDifference& difference, bool chinese)
{
    if (!chinese)
        return difference.place;
    static const QRegularExpression channel(QStringLiteral("^channel (\\d+)$"));
    static const QRegularExpression row(QStringLiteral("^row (\\d+)$"));
    if (const auto m = channel.match(difference.place); m.hasMatch())
        return QStringLiteral("信道 %1").arg(m.captured(1));
    if (const auto m = row.match(difference.place); m.hasMatch())
        return QStringLiteral("第 %1 行").arg(m.captured(1));
    if (difference.place == QLatin1String("settings row"))
        return QStringLiteral("设置行");
    return difference.place;
}

QString verifyFailure(const QList<BlockDifference>& differences, bool chinese)
{
    if (!chinese)
        return FieldSession::verifyFailureText(differences);
    QStringList blocks;
    for (const BlockDifference& d : differences)
        blocks.append(QStringLiteral("0x%1（%2）").arg(d.address, 3, 16, QLatin1Char('0')).arg(place(d, true)));
    return QStringLiteral("校验：%1 个数据块读回的内容与写入的不同：%2")
        .arg(differences.size())
        .arg(blocks.join(QStringLiteral("、")));
}

QString openReason(const QString& english, bool chinese)
{
    if (!chinese || english.isEmpty())
        return english;
    struct Pattern {
        const char* english;
        const char* chinese;
    };
    static const Pattern kPatterns[] = {
        {"^(.*): no such device$", "%1：没有这个设备"},
        {"^(.*): no permission to use the device \\(add the user to the (\\S+) group: (.*), then log in again\\)$",
         "%1：没有使用该设备的权限（请把用户加入 %2 组：%3，然后重新登录）"},
        {"^(.*): the port is busy, held by another program$", "%1：串口正被其他程序占用"},
        {"^(.*): the port is busy, held by (.*)$", "%1：串口正被 %2 占用"},
        {"^there is no port named '(.*)' \\(use COM1 to COM4 or a device path\\)$",
         "没有名为“%1”的串口（请使用 COM1 至 COM4 或设备路径）"},
        {"^no such device$", "没有这个设备"},
        {"^no permission to use the device \\(add the user to the (\\S+) group: (.*), then log in again\\)$",
         "没有使用该设备的权限（请把用户加入 %1 组：%2，然后重新登录）"},
        {"^the port is busy, held by another program$", "串口正被其他程序占用"},
        {"^the port is busy, held by (.*)$", "串口正被 %1 占用"},
    };
    for (const Pattern& p : kPatterns) {
        const QRegularExpression re(QString::fromUtf8(p.english));
        const QRegularExpressionMatch m = re.match(english);
        if (!m.hasMatch())
            continue;
        QString text = QString::fromUtf8(p.chinese);
        for (int i = 1; i <= re.captureCount(); ++i)
            text = text.arg(m.captured(i));
        return text;
    }
    return english;  // a system's own message stays as the system gave it
}

namespace {

QString chineseMessage(TransferResult result)
{
    switch (result) {
    case TransferResult::PortOpenFailed:
        return QStringLiteral("无法打开串口，请检查串口是否被占用或设备是否正常");
    case TransferResult::CommunicationError:
        return QStringLiteral("通讯错误，请检查所有连接和对讲机电源");
    case TransferResult::BlockFailure:
        return QStringLiteral("编程中断，请重启对讲机后再试");
    case TransferResult::ModelMismatch:
        return ProtocolEngine::modelMismatchText(true).replace(QLatin1Char('\n'), QString());
    case TransferResult::Cancelled:
        return QStringLiteral("已中断，传输没有完成");
    case TransferResult::Done:
        break;
    }
    return QString();
}

}  // namespace

QString result(const FieldResult& result, bool chinese)
{
    if (result.succeeded())
        return chinese ? QStringLiteral("完成") : QStringLiteral("done");
    if (!result.differences.isEmpty())
        return verifyFailure(result.differences, chinese);
    if (!chinese)
        return result.reason;  // ends with the open error when there was one
    if (result.reason.startsWith(QLatin1String("trace: ")))
        return QStringLiteral("无法写入串口记录文件：") + result.reason.mid(7);
    const QString prefix = stepName(result.step, true) + QStringLiteral("：");
    if (result.transfer == TransferResult::Done) {
        // A backup that could not be saved: the folder, or the file's own error.
        static const QRegularExpression folder(QStringLiteral("^backup: cannot create the folder (.*)$"));
        if (const auto m = folder.match(result.reason); m.hasMatch())
            return prefix + QStringLiteral("无法创建文件夹 %1").arg(m.captured(1));
        const QString english = result.reason;
        const qsizetype colon = english.indexOf(QStringLiteral(": "));
        return prefix + QStringLiteral("无法保存备份：") + (colon >= 0 ? english.mid(colon + 2) : english);
    }
    QString text = prefix + chineseMessage(result.transfer);
    if (!result.openError.isEmpty())
        text += QStringLiteral("：") + openReason(result.openError, true);
    return text;
}

QString imageQuestion(const QList<ImageProblem>& problems, bool chinese)
{
    QStringList lines;
    for (const ImageProblem& problem : problems)
        lines.append(QStringLiteral("- ") + fieldtext::problem(problem, chinese));
    if (chinese)
        return QStringLiteral("对讲机不会接受以下内容：\n%1\n\n仍要写入吗？").arg(lines.join(QLatin1Char('\n')));
    return QStringLiteral("The radio would not accept this:\n%1\n\nWrite anyway?").arg(lines.join(QLatin1Char('\n')));
}

QString writeAnyway(bool chinese)
{
    return chinese ? QStringLiteral("仍然写入") : QStringLiteral("Write anyway");
}

QString portLine(const QString& comName, const QString& device, bool chinese)
{
    QString shown = device.isEmpty() || device == comName ? comName : QStringLiteral("%1: %2").arg(comName, device);
    if (PortNames::environmentDecides(comName) && !device.isEmpty())
        shown = QStringLiteral("%1 → %2").arg(comName, environmentNote(comName, device, chinese));
    return (chinese ? QStringLiteral("串口：") : QStringLiteral("Port: ")) + shown;
}

QString environmentNote(const QString& comName, const QString& device, bool chinese)
{
    const QString variable = QString::fromLatin1(PortNames::environmentName(PortNames::comNumber(comName)));
    return chinese ? QStringLiteral("%1，本次运行由 %2 指定").arg(device, variable)
                   : QStringLiteral("%1, from %2 for this run").arg(device, variable);
}

}  // namespace fieldtext
