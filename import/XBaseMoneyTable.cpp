#include "import/XBaseMoneyTable.h"

#include "core/PathUtil.h"
#include "core/sources/XbaseColumns.h"

#include <QSet>

#include <algorithm>
#include <numeric>

namespace orvento::import {

namespace {

using core::sources::Cell;

const QString kExtension = QStringLiteral(".dat");
const Cell kNoCell;
constexpr qsizetype kSharedTextLength = 4;

QString folded(const QString& name) {
    return name.trimmed().toCaseFolded();
}

// The table's file in its folder, found whatever the letter case of its name.
QString tableFile(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : path.left(slash + 1);
    return core::resolveInFolder(folder, path.mid(slash + 1) + kExtension);
}

template <typename T> int threeWay(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

MoneyTableFactory XBaseMoneyTable::factory() {
    return [] {
        return std::make_unique<XBaseMoneyTable>();
    };
}

int XBaseMoneyTable::open(const QString& path, const QStringList& fields) {
    close();
    const QString file = tableFile(path);
    QString error;
    const auto table = core::sources::openXbaseColumns(file, fields, error);
    if (!table) {
        m_why = error;
        return kFailed;
    }
    std::vector<qsizetype> sourceColumn;
    for (qsizetype at = 0; at < fields.size(); ++at) {
        if (!m_byName.contains(folded(fields[at]))) {
            m_byName.insert(folded(fields[at]), static_cast<qsizetype>(m_columns.size()));
            m_columns.emplace_back();
            sourceColumn.push_back(at);
        }
    }
    // Short codes ("S", "HL", "ks") repeat in every record: one copy of each is kept.
    QSet<QString> codes;
    const auto shared = [&codes](QString text) {
        if (text.size() > kSharedTextLength)
            return text;
        const auto known = codes.constFind(text);
        if (known != codes.constEnd())
            return *known;
        codes.insert(text);
        return text;
    };
    core::sources::Row row;
    std::size_t records = 0;
    while (table->next(row)) {
        for (std::size_t c = 0; c < m_columns.size(); ++c) {
            Column& column = m_columns[c];
            const auto at = static_cast<std::size_t>(sourceColumn[c]);
            const Cell& cell = at < row.size() ? row[at] : kNoCell;
            if (!cell.isEmpty() && !column.kindKnown) {
                column.kindKnown = true;
                column.numeric = cell.kind() == Cell::Kind::Number;
                if (column.numeric)
                    column.numbers.resize(records);
                else
                    column.texts.resize(records);
            }
            if (!column.kindKnown)
                continue;
            if (column.numeric)
                column.numbers.push_back(cell.isEmpty() ? 0.0 : cell.toNumber().value_or(0.0));
            else
                column.texts.push_back(shared(cell.toText()));
        }
        ++records;
    }
    if (!table->error().isEmpty()) {
        m_why = table->error();
        close();
        return kFailed;
    }
    m_order.resize(records);
    std::iota(m_order.begin(), m_order.end(), std::size_t{0});
    m_why.clear();
    return kOpened;
}

void XBaseMoneyTable::close() {
    m_columns.clear();
    m_byName.clear();
    m_order.clear();
    m_index.clear();
    m_at = 0;
}

int XBaseMoneyTable::next() {
    if (m_at + 1 >= m_order.size())
        return kNoFurtherRecord;
    ++m_at;
    return kMoved;
}

std::optional<qsizetype> XBaseMoneyTable::columnOf(const QString& field) const {
    const auto at = m_byName.constFind(folded(field));
    if (at == m_byName.constEnd())
        return std::nullopt;
    return *at;
}

int XBaseMoneyTable::compareToKey(const Column& column, std::size_t record,
                                  const QVariant& key) const {
    if (column.kindKnown && column.numeric) {
        bool ok = false;
        const double number = key.toDouble(&ok);
        // A key that is no number meets no record: every record sorts after it.
        return ok ? threeWay(column.numbers[record], number) : 1;
    }
    const QString keyText = key.typeId() == QMetaType::Double
                                ? Cell::number(key.toDouble()).toText()
                                : key.toString().trimmed();
    const QString recordText = column.kindKnown ? column.texts[record] : QString();
    return threeWay(recordText.compare(keyText), 0);
}

int XBaseMoneyTable::seekKeys(const QVariantList& keys) {
    const std::size_t used =
        std::min<std::size_t>(static_cast<std::size_t>(keys.size()), m_index.size());
    if (used == 0 || m_order.empty())
        return kNotFound;
    const auto compare = [&](std::size_t record) {
        for (std::size_t k = 0; k < used; ++k) {
            const Column& column = m_columns[static_cast<std::size_t>(m_index[k])];
            if (const int c = compareToKey(column, record, keys[static_cast<qsizetype>(k)]))
                return c;
        }
        return 0;
    };
    const auto at = std::partition_point(m_order.begin(), m_order.end(),
                                         [&](std::size_t record) { return compare(record) < 0; });
    if (at == m_order.end() || compare(*at) != 0)
        return kNotFound;
    m_at = static_cast<std::size_t>(at - m_order.begin());
    return kFound;
}

int XBaseMoneyTable::setIndex(const QString& name) {
    std::vector<qsizetype> index;
    for (const QString& field : name.split(QLatin1Char('+'), Qt::SkipEmptyParts)) {
        const auto column = columnOf(field);
        if (!column) {
            m_why = QStringLiteral("Index \"%1\" řadí podle pole \"%2\", které tabulka nemá.")
                        .arg(name, field.trimmed());
            return kFailed;
        }
        index.push_back(*column);
    }
    if (index.empty()) {
        m_why = QStringLiteral("Index \"%1\" neuvádí žádné pole.").arg(name);
        return kFailed;
    }
    m_index = std::move(index);
    std::iota(m_order.begin(), m_order.end(), std::size_t{0});
    std::stable_sort(m_order.begin(), m_order.end(), [this](std::size_t a, std::size_t b) {
        for (const qsizetype at : m_index) {
            const Column& column = m_columns[static_cast<std::size_t>(at)];
            if (!column.kindKnown)
                continue;
            const int c = column.numeric ? threeWay(column.numbers[a], column.numbers[b])
                                         : column.texts[a].compare(column.texts[b]);
            if (c != 0)
                return c < 0;
        }
        return false;
    });
    m_at = 0;
    return kIndexSet;
}

QVariant XBaseMoneyTable::value(const QString& field) const {
    const auto at = columnOf(field);
    if (!at || m_at >= m_order.size())
        return {};
    const Column& column = m_columns[static_cast<std::size_t>(*at)];
    if (!column.kindKnown)
        return {};
    const std::size_t record = m_order[m_at];
    if (column.numeric)
        return column.numbers[record];
    return column.texts[record];
}

} // namespace orvento::import
