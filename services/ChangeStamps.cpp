#include "services/ChangeStamps.h"

#include <QCoreApplication>
#include <QFile>
#include <QtEndian>

#include <cstdio>
#include <cstring>

namespace orvento::services {

using core::StampedTable;

namespace {

const QDateTime& stampEpoch() {
    static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
    return epoch;
}

QByteArray encode(double value) {
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    QByteArray bytes(8, '\0');
    qToLittleEndian(bits, bytes.data());
    return bytes;
}

std::optional<double> decode(const QByteArray& bytes) {
    if (bytes.size() != 8)
        return std::nullopt;
    const quint64 bits = qFromLittleEndian<quint64>(bytes.constData());
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Replaces the file whole, so that a reader never sees half a value. It is not forced to the disk:
// a stamp lost in a power cut only makes a list miss one reload, and waiting for the disk after
// every unit of work would cost more than many writes.
void writeStampFile(const QString& path, double value) {
    const QString temporary =
        path + QStringLiteral(".%1.tmp").arg(QCoreApplication::applicationPid());
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    const bool written = file.write(encode(value)) == 8;
    file.close();
    if (!written || std::rename(QFile::encodeName(temporary).constData(),
                                QFile::encodeName(path).constData()) != 0)
        QFile::remove(temporary);
}

} // namespace

double toStampValue(const QDateTime& time) {
    const qint64 ms = stampEpoch().msecsTo(time);
    return static_cast<double>(ms) / 86400000.0;
}

QDateTime fromStampValue(double value) {
    return stampEpoch().addMSecs(
        static_cast<qint64>(value * 86400000.0 + (value >= 0 ? 0.5 : -0.5)));
}

std::optional<StampedTable> stampedTable(const QString& table) {
    const QString upper = table.toUpper();
    if (upper == QLatin1String("ADRESAR"))
        return StampedTable::Adresar;
    if (upper == QLatin1String("ZASOBY"))
        return StampedTable::Zasoby;
    if (upper == QLatin1String("SKUPINY"))
        return StampedTable::Skupiny;
    return std::nullopt;
}

QString stampFilePath(StampedTable table) {
    const core::ProgramState& state = core::programState();
    return state.folders.lock + QStringLiteral("0%1").arg(static_cast<int>(table) + 1) +
           state.agenda + QStringLiteral(".tsf");
}

void stamp(StampedTable table) {
    core::ProgramState& state = core::programState();
    if (state.suppressStamps)
        return;
    const double now = toStampValue(QDateTime::currentDateTime());
    writeStampFile(stampFilePath(table), now);
    state.lastStamps[static_cast<size_t>(table)] = now;
}

void stampAfterWrite(const QString& table) {
    if (const auto stamped = stampedTable(table))
        stamp(*stamped);
}

double readStamp(StampedTable table) {
    const QString path = stampFilePath(table);
    const double now = toStampValue(QDateTime::currentDateTime());
    QFile file(path);
    if (!file.exists()) {
        writeStampFile(path, now);
        return now;
    }
    if (!file.open(QIODevice::ReadOnly))
        return now;
    return decode(file.read(8)).value_or(now);
}

bool changedSinceLastSeen(StampedTable table) {
    core::ProgramState& state = core::programState();
    const double current = readStamp(table);
    double& seen = state.lastStamps[static_cast<size_t>(table)];
    if (current > seen) {
        seen = current;
        return true;
    }
    return false;
}

void rememberCurrentStamp(StampedTable table) {
    core::programState().lastStamps[static_cast<size_t>(table)] = readStamp(table);
}

void clearStamps() {
    for (StampedTable t : {StampedTable::Adresar, StampedTable::Zasoby, StampedTable::Skupiny})
        QFile::remove(stampFilePath(t));
}

SuppressedStamps::SuppressedStamps(std::initializer_list<StampedTable> tables)
    : m_tables(tables) {
    for (StampedTable t : m_tables)
        stamp(t);
    core::programState().suppressStamps = true;
}

SuppressedStamps::~SuppressedStamps() {
    core::programState().suppressStamps = false;
    for (StampedTable t : m_tables)
        stamp(t);
}

} // namespace orvento::services
