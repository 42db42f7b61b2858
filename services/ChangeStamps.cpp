#include "services/ChangeStamps.h"

namespace orvento::services {

using core::StampedTable;

namespace {

const QDateTime& stampEpoch() {
    static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
    return epoch;
}

core::DataStore& store() {
    return *core::programState().store;
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

void stamp(StampedTable table) {
    core::ProgramState& state = core::programState();
    if (state.suppressStamps)
        return;
    // What the store kept, which may be by another clock than this workstation's.
    state.lastStamps[static_cast<size_t>(table)] =
        store().writeStamp(state.agenda, table, toStampValue(QDateTime::currentDateTime()));
}

void stampAfterWrite(const QString& table) {
    if (const auto stamped = stampedTable(table))
        stamp(*stamped);
}

double readStamp(StampedTable table) {
    const QString& agenda = core::programState().agenda;
    const double now = toStampValue(QDateTime::currentDateTime());
    if (!store().stampExists(agenda, table))
        return store().writeStamp(agenda, table, now);
    return store().readStamp(agenda, table).value_or(now);
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
    store().removeStamps(core::programState().agenda);
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
