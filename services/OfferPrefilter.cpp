#include "services/OfferPrefilter.h"

#include "core/Database.h"

#include <QSqlQuery>
#include <QStringList>

namespace orvento::services {

namespace {
const QChar kSeparator = QLatin1Char(';');
}

bool prefilterContains(const QString& list, int number) {
    return (kSeparator + list + kSeparator)
        .contains(kSeparator + QString::number(number) + kSeparator);
}

QString prefilterWith(const QString& list, int number) {
    if (prefilterContains(list, number))
        return list;
    return list.isEmpty() ? QString::number(number) : list + kSeparator + QString::number(number);
}

std::vector<int> prefilterNumbers(const QString& list) {
    std::vector<int> numbers;
    for (const QString& part : list.split(kSeparator, Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (ok)
            numbers.push_back(n);
    }
    return numbers;
}

QString PrefilterChooser::caption() {
    return QStringLiteral("Prefiltr");
}

QString PrefilterChooser::heading() {
    return QStringLiteral("Zobrazovat pouze nabídky následujících uživatelů:");
}

QString PrefilterChooser::note() {
    return QStringLiteral(
        "Program zobrazí pouze nabídky, které vytvořil některý z označených uživatelů v seznamu "
        "výše (právě editovaný uživatel bude do této množiny přidán automaticky).\n\nPozn.: "
        "vlastníkem dané nabídky je vždy uživatel, který ji vytvořil jako první. Pokud jste v "
        "minulosti vytvářeli nabídky  bez uživatelů, vlastníkem těchto nabídek je [uživatel bez "
        "jména].");
}

QString PrefilterChooser::anonymousName() {
    return QStringLiteral("[uživatel bez jména]");
}

bool PrefilterChooser::load(core::Database& global, const QString& list) {
    m_entries.clear();
    m_entries.push_back({0, anonymousName(), prefilterContains(list, 0)});
    QSqlQuery query = global.select(QStringLiteral("SELECT * FROM Login ORDER BY ID"));
    if (!query.isActive())
        return false;
    while (query.next()) {
        const int number = query.value(QStringLiteral("UzivID")).toInt();
        m_entries.push_back({number, query.value(QStringLiteral("Jmeno")).toString(),
                             prefilterContains(list, number)});
    }
    return true;
}

void PrefilterChooser::setChecked(size_t index, bool checked) {
    if (index < m_entries.size())
        m_entries[index].checked = checked;
}

QString PrefilterChooser::result() const {
    QStringList numbers;
    for (const Entry& e : m_entries)
        if (e.checked)
            numbers << QString::number(e.number);
    return numbers.join(kSeparator);
}

} // namespace orvento::services
