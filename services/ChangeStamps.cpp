#include "services/ChangeStamps.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

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

// Takes the word that starts at `from` (0-based) and ends at the next blank; nothing when no
// blank follows it.
std::optional<QString> wordFrom(const QString& sql, int from) {
    const int blank = sql.indexOf(QLatin1Char(' '), from);
    if (blank < 0)
        return std::nullopt;
    return sql.mid(from, blank - from);
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

std::optional<QString> tableWrittenBy(const QString& sql) {
    if (sql.left(11).compare(QStringLiteral("INSERT INTO"), Qt::CaseInsensitive) == 0)
        return wordFrom(sql, 12);
    if (sql.left(6).compare(QStringLiteral("UPDATE"), Qt::CaseInsensitive) == 0)
        return wordFrom(sql, 7);
    if (sql.left(11).compare(QStringLiteral("DELETE FROM"), Qt::CaseInsensitive) == 0)
        return wordFrom(sql, 12);
    return std::nullopt;
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
    QSaveFile file(stampFilePath(table));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(encode(now));
        file.commit();
    }
    state.lastStamps[static_cast<size_t>(table)] = now;
}

void stampAfterStatement(const QString& sql) {
    const auto table = tableWrittenBy(sql);
    if (!table)
        return;
    if (const auto stamped = stampedTable(*table))
        stamp(*stamped);
}

double readStamp(StampedTable table) {
    const QString path = stampFilePath(table);
    const double now = toStampValue(QDateTime::currentDateTime());
    QFile file(path);
    if (!file.exists()) {
        QSaveFile created(path);
        if (created.open(QIODevice::WriteOnly)) {
            created.write(encode(now));
            created.commit();
        }
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
